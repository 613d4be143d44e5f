#pragma once

#include <QString>

class ClientDataSet;
class JobProgress;
class TDM;

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

    // Empties TABREV2 and writes the job; returns the number of label rows
    // (skipped positions not counted). The "Etiq. Inicial" text is checked
    // before anything changes, so a bad one leaves the previous job in place.
    // TabRev2 stays open on the new job for the outputs.
    qint64 run(const QString &etiqInicial, JobProgress &progress);

private:
    void emptyJobTable();
    void appendSkippedPositions(qint64 count);
    qint64 appendLabels(JobProgress &progress);
    void appendLabel(ClientDataSet &list, qint64 number);

    TDM &m_dm;
};
