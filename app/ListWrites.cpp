#include "ListWrites.h"

#include "BackgroundWrite.h"
#include "TDM.h"

#include <utility>

ListWrites::ListWrites(TDM &dm, QObject *parent) : QObject(parent), m_dm(dm), m_writer(new BackgroundWrite(this))
{
    connect(m_writer, &BackgroundWrite::finished, this, [this](const BackgroundWrite::Result &result) {
        written(result.written, result.refused, result.connectionLost, result.commitUnknown);
    });
}

ListWrites::~ListWrites() = default;

void ListWrites::store()
{
    ClientDataSet &list = *m_dm.TabRev1;
    if (!list.Active() || list.ChangeCount() == 0)
        return;
    if (list.RecNo() > 0) {
        m_codigo = list.FieldByName(QStringLiteral("CODIGO")).AsString();
        m_produto = list.FieldByName(QStringLiteral("COMPONENTE")).AsString();
        m_quantidade = list.FieldByName(QStringLiteral("QDE")).AsString();
    }
    if (m_writing) {
        m_again = true;
        return;
    }
    m_writing = true;
    m_writer->write(m_dm.SQLConnection1->DataBase(), list.pendingWrites());
    emit writingChanged(true);
}

void ListWrites::written(int count, bool refused, bool connectionLost, bool commitUnknown)
{
    ClientDataSet &list = *m_dm.TabRev1;
    if (list.Active())
        list.pendingWritten(count);
    m_writing = false;
    m_lastFailed = refused || connectionLost || commitUnknown;
    if (std::exchange(m_again, false) && !m_lastFailed && list.Active() && list.ChangeCount() > 0) {
        store();
        return;
    }
    // The list is read back before anything that waited for the write goes on.
    // What waited for the write goes once the clerk has been told.
    if (!m_lastFailed && m_dm.TabRev1Reread && list.Active())
        m_dm.TabRev1Reread();
    if (refused)
        emit this->refused(m_codigo, m_produto, m_quantidade);
    else if (commitUnknown)
        emit failed(TDM::quantityCommitUnknownText(m_quantidade, m_produto));
    else if (connectionLost)
        emit failed(TDM::quantityNotStoredText(m_quantidade, m_produto));
    emit writingChanged(false);
}
