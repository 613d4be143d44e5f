#pragma once

#include <QObject>
#include <QString>

class BackgroundWrite;
class TDM;

// The quantities typed into the list, stored off the window's thread: a
// post leaves the change pending in the list shown, this sends it on an
// attachment of its own, and once it is stored the list is read back. A
// server that does not answer holds up nobody but what waits for the rows.
class ListWrites : public QObject
{
    Q_OBJECT
public:
    explicit ListWrites(TDM &dm, QObject *parent = nullptr);
    ~ListWrites() override;

    // The list's pending changes go; one posted while others are on their
    // way goes after them.
    void store();
    bool writing() const { return m_writing; }
    // The last write did not store everything (refused, or the server away).
    bool lastFailed() const { return m_lastFailed; }

signals:
    void writingChanged(bool writing);
    // The database refused the quantity: another station built the list again.
    void refused(const QString &codigo, const QString &produto, const QString &quantidade);
    // The server was away or lost the commit's answer: said in Portuguese.
    void failed(const QString &message);

private:
    void written(int count, bool refused, bool connectionLost, bool commitUnknown);

    TDM &m_dm;
    BackgroundWrite *m_writer;
    bool m_writing = false;
    bool m_again = false;
    bool m_lastFailed = false;
    QString m_codigo, m_produto, m_quantidade; // the row posted last, for what is told
};
