#pragma once

#include <QString>

#include "SelvarError.h"
#include "WrittenJob.h"

class ClientDataSet;
class JobProgress;
class SuiteJob;
class TDM;

// The job was committed (it replaced the previous one in TABREV2) but could not
// be read back for its output, even after a second try: nothing was printed.
// The text says so, in Portuguese, with the reason.
class JobNotReadBack : public SelvarError
{
public:
    JobNotReadBack(qint64 labels, const WrittenJob &written, const std::exception &error);
    qint64 labels() const { return m_labels; }
    // What was committed: the job read again later must be this one.
    const WrittenJob &written() const { return m_written; }

private:
    qint64 m_labels;
    WrittenJob m_written;
};

// "Etiquetas com preços", first half: turns the product list TABREV1 into the
// label job TABREV2, one row per physical label, after the positions already
// used on the label stock. Every output reads the job from TABREV2 alone.
class LabelJobExpansion
{
public:
    explicit LabelJobExpansion(TDM &dm) : m_dm(dm) {}

    // How many positions the "Etiq. Inicial" text skips: N - 1 for a first
    // label N, none for an empty text, 1, 0 or a negative number. A text that
    // is not an integer raises "'x' is not a valid integer value".
    static qint64 skippedPositions(const QString &etiqInicial);

    // How many rows the job will have: the skipped positions and the labels of
    // every product of the list, counted before anything is written.
    static qint64 rowsToWrite(TDM &dm, const QString &etiqInicial);

    // Within `job` (whose lock the caller holds): empties TABREV2, writes the
    // job and commits it; returns the number of label rows (skipped positions
    // not counted). The "Etiq. Inicial" text is checked before anything
    // changes. Whatever stops the expansion (an error, the server, a cancel)
    // rolls it back: the previous job stays exactly as it was, and the error's
    // text ends in "Nenhuma etiqueta foi gerada; o trabalho anterior foi
    // mantido.". TabRev2 stays open on the new job for the outputs. Once
    // committed, the job is read back (twice, should the first read fail);
    // failing that, JobNotReadBack.
    qint64 run(const QString &etiqInicial, JobProgress &progress, SuiteJob &job);

    // Reads TABREV2 again, in the order the job was written (after run, which
    // sets that order), and stands on its first row.
    void readBack();

    // The select of TABREV2 in the order its job was written.
    static QString jobStatement();

    // What run wrote, row by row.
    const WrittenJob &written() const { return m_written; }

private:
    qint64 expand(qint64 skipped, JobProgress &progress);
    void emptyJobTable();
    void appendSkippedPositions(qint64 count, JobProgress &progress);
    qint64 appendLabels(JobProgress &progress);
    void appendLabel(ClientDataSet &list, qint64 number);
    void checkCancel(JobProgress &progress);

    TDM &m_dm;
    WrittenJob m_written;
};
