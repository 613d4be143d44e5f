#pragma once

#include <QString>

#include <ibase.h>

// The embedded engine runs inside this program and takes its settings for a
// database from the attachment that opens it first; later attachments share
// them until the last one leaves. Qt's driver cannot pass settings, so while
// the driver attaches, an attachment of our own holds the database open with
// them.
//
// The one setting is garbage collection by the statement that meets old row
// versions ("cooperative", what Firebird's Classic engine always does). Under
// the default of an engine in one process ("combined") a background thread
// cleans up after a job's delete, and the next job's delete, meeting the same
// rows, races that thread for the same pages: on two cores deleting a
// 10,000-row job took 120 to 370 ms instead of 20, and grew faster than the job.
// A Firebird server takes the same setting from its databases.conf (README).
class EmbeddedEngineSettings
{
public:
    // A file that cannot be opened is left to the driver's open, which says why.
    explicit EmbeddedEngineSettings(const QString &file);
    ~EmbeddedEngineSettings();
    EmbeddedEngineSettings(const EmbeddedEngineSettings &) = delete;
    EmbeddedEngineSettings &operator=(const EmbeddedEngineSettings &) = delete;

private:
    isc_db_handle m_attachment = 0;
};
