#pragma once

#include <QList>
#include <QMetaType>
#include <QString>

// How the hand-over of one thermal job ended, file by file: what really went to
// the printer (a print history records this, not what was asked for).
struct HandOverResult
{
    enum class End {
        Whole,   // every file went out
        Failed,  // a file could not be written or its run failed or ran past its time limit
        Stopped, // "Parar envio": stopped after the file being sent
    };
    End end = End::Whole;
    // The number, within its job, of the first file this hand-over had: 1, or
    // 6 for "Continuar envio (arquivos 6 a 10)".
    int firstFileNumber = 1;
    // One entry per file handed over successfully, in order from
    // firstFileNumber on: the labels that file held.
    QList<int> labelsPerFile;
    int filesLeft = 0;  // files not handed over; they stay on the job's record
    QString message;    // for the user, when the job failed
    // "Parar envio": jobs queued behind this one, kept on record for "Continuar envio".
    int jobsKept = 0;
    // What recording the job in the print history said: empty when recorded.
    QString historyNote = QString();
    // A new job that never started and left no record: its blank positions
    // were never used, so its "Etiq. Inicial" (startPosition) is still good.
    bool dropped = false;
    QString startPosition = QString();
    // Labels of the file whose run the time limit ended: they may be on the
    // printer or not, and are counted in neither labelsPerFile nor the history
    // until "Continuar envio" has asked about them.
    int labelsCutOff = 0;

    int labels() const
    {
        int sum = 0;
        for (int labels : labelsPerFile)
            sum += labels;
        return sum;
    }
};

Q_DECLARE_METATYPE(HandOverResult)
