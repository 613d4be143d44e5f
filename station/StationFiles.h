#pragma once

#include <QString>
#include <QStringList>

struct StationRequest;

// The station's files: the work folder InterfacNN with ImprEtiq.bat, and the
// suite's report project rpt/Selvar.rav. Files already there are the
// installer's or the suite's and are kept as they are.
class StationFiles
{
public:
    explicit StationFiles(const StationRequest &request);

    // One line per step, in Portuguese: what will be made and what is kept.
    QStringList plan() const;

    // Makes what is missing; throws SelvarError after removing what it made.
    void make();
    // Removes what make() created (a later step failed).
    void undo();

    // The ImprEtiq.bat this program carries, written into an existing work
    // folder (the label designer's test print offers it); false when it
    // cannot be written.
    static bool writeBatchFile(const QString &workFolder);

private:
    struct Sample {
        QString resource; // the copy this program carries
        QString target;   // native path in the suite folder
    };

    QString m_workFolder;
    QString m_suiteFolder;
    QString m_userName;
    QList<Sample> m_samples;
    QStringList m_madeFiles;
    QStringList m_madeFolders; // deepest last
};
