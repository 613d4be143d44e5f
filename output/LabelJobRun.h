#pragma once

#include "ClientDataSet.h"
#include "Decimal.h"
#include "WrittenJob.h"

#include <QString>
#include <QVector>

class JobProgress;
class JobWait;
class TDM;

// "Etiquetas com preços" from the wait in line to the job read back, on the
// data module of the thread that runs it, so the window's thread never waits
// for it. Nobody is asked anything here: the questions (a wrong EAN, a large
// job) are asked before, about the list the station shows, and the job
// prints that list only. Under the lock the list is read from TABREV1 and
// held against it; when another station has changed it since the station
// read it, nothing is written and the caller reads it again and says so.
class LabelJobRun
{
public:
    // A product of the list that prints labels, as the job prints it.
    struct Row
    {
        QString codigo;
        QString componente;
        QString ean;
        Decimal preco; // an empty price prints as 0.00
        qint64 labels = 0;
        bool operator==(const Row &other) const
        {
            return codigo == other.codigo && componente == other.componente && ean == other.ean
                   && preco == other.preco && labels == other.labels;
        }
    };
    // The rows of a list that print labels, by CODIGO: two reads of one list
    // may give products of the same name in either order.
    static QVector<Row> labelledRows(ClientDataSet &list);

    struct Request
    {
        QString station;
        QString listStatement; // the station's select of TABREV1: the job follows its order
        QString etiqInicial;
        QVector<Row> shown;    // labelledRows of the list the station shows
    };
    struct Outcome
    {
        bool listChanged = false;     // nothing written: TABREV1 is no longer the list shown
        qint64 labels = 0;            // label rows written, skipped positions not counted
        ClientDataSet::ReadyRows job; // the job read back under the lock, in its order
        WrittenJob written;           // what was committed
    };

    // Waits its turn, reads the list, writes the job and reads it back. A
    // connection lost before the commit (the job undone whole) is made again
    // and the job written once more; a job committed and not read back is
    // JobNotReadBack, with the lock let go.
    static Outcome write(TDM &dm, const Request &request, JobWait &wait, JobProgress &progress);

    // A job written and not read back, read under the lock once more: it must
    // still be the job written, row for row, or another station's job
    // replaced it and nothing of it is this station's to print.
    static ClientDataSet::ReadyRows readAgain(TDM &dm, const QString &station, const WrittenJob &written, qint64 labels,
                                              JobWait &wait);

    // What the clerk is told when the list changed under the station.
    static QString listChangedText();
};
