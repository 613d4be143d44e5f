// What was printed: "Preços alterados" and "Histórico de etiquetas" on the
// list panel, and the panel over the list while the history works. The work
// itself is the history flow's.
#include "TFormSelvarra.h"

#include "Counter.h"
#include "HistoryFlow.h"
#include "HistoryWindow.h"
#include "JobWaitPanel.h"
#include "ReportModal.h"

#include <QComboBox>
#include <QPushButton>

void TFormSelvarra::createHistory()
{
    m_historyFlow = new HistoryFlow(*this, *m_counter, *printHandOver, this);
    connect(this, &TFormSelvarra::jobCancelClicked, m_historyFlow, &HistoryFlow::cancel);

    connect(BotPrecosAlterados, &QPushButton::clicked, this, &TFormSelvarra::BotPrecosAlteradosClick);
    connect(BotHistorico, &QPushButton::clicked, this, &TFormSelvarra::BotHistoricoClick);
}

HistoryWork *TFormSelvarra::historyWork() const
{
    return m_historyFlow ? &m_historyFlow->work() : nullptr;
}

void TFormSelvarra::jobWritten(const QString &modelDescription)
{
    m_historyFlow->jobWritten(modelDescription);
}

QString TFormSelvarra::afterOutput(OutputKind output)
{
    m_historyFlow->afterOutput(output, RvSystem2);
    return QString();
}

void TFormSelvarra::BotPrecosAlteradosClick()
{
    if (m_counter->admit(Counter::Input::HistoryAction, [this] { BotPrecosAlteradosClick(); }))
        m_historyFlow->pricesChanged();
}

void TFormSelvarra::BotHistoricoClick()
{
    if (m_counter->admit(Counter::Input::HistoryAction, [this] { BotHistoricoClick(); }))
        m_historyFlow->chooseToRepeat();
}

void TFormSelvarra::waitShowing(const QString &text)
{
    if (!m_wait)
        m_wait = std::make_unique<JobWaitPanel>(*this);
    m_wait->showing(text);
}

void TFormSelvarra::waitEnded()
{
    m_wait.reset();
}

void TFormSelvarra::holdListOpen(bool hold)
{
    for (QWidget *control : {static_cast<QWidget *>(BotSairMontEtiq), static_cast<QWidget *>(btnEtiqSemPreco),
                             static_cast<QWidget *>(DBLCB1)})
        control->setEnabled(!hold);
}

qint64 TFormSelvarra::chooseHistoryJob(HistoryWork &work, const QString &database)
{
    HistoryWindow window(work, database, this);
    return ReportModal::exec(window) == QDialog::Accepted ? window.chosenJob() : 0;
}
