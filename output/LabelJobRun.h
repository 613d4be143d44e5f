#pragma once

#include "ClientDataSet.h"
#include "WrittenJob.h"

#include <QString>
#include <QVector>

#include <vector>

class JobProgress;
class JobWait;
class TDM;

// "Etiquetas com preços" from the wait in line to the job read back, on the
// data module of the thread that runs it, so the window's thread never waits
// for it. Nobody is asked anything here: the questions (a wrong EAN, a large
// job) are asked before, about the list the station shows, and the job
// prints that list: the rows the clerk sees, in the order they are shown,
// handed over as they stand. TABREV1 is shared, and another counter storing
// its own quantities meanwhile changes nothing of this station's job.
class LabelJobRun
{
public:
    // Every row of the list as the station shows it, copied for the worker's
    // data set of the same columns.
    static std::vector<QVector<QVariant>> shownRows(ClientDataSet &list);

    struct Request
    {
        QString station;
        QString etiqInicial;
        std::vector<QVector<QVariant>> shown; // shownRows of the list the station shows
    };
    struct Outcome
    {
        qint64 labels = 0;            // label rows written, skipped positions not counted
        ClientDataSet::ReadyRows job; // the job read back under the lock, in its order
        WrittenJob written;           // what was committed
    };

    // Waits its turn, expands the rows shown, writes the job and reads it back. A
    // connection lost before the commit (the job undone whole) is made again
    // and the job written once more; a job committed and not read back is
    // JobNotReadBack, with the lock let go.
    static Outcome write(TDM &dm, const Request &request, JobWait &wait, JobProgress &progress);

    // A job written and not read back, read under the lock once more: it must
    // still be the job written, row for row, or another station's job
    // replaced it and nothing of it is this station's to print.
    static ClientDataSet::ReadyRows readAgain(TDM &dm, const QString &station, const WrittenJob &written, qint64 labels,
                                              JobWait &wait);
};
