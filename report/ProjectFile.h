#pragma once

#include "ReportProject.h"

// Loads a report project from disk, every time it is asked: a project edited
// between two prints takes effect at the next one. `projectFile` is the path as
// the program names it ("c:\boticon\rpt\Selvar.rav"); it is mapped into the
// suite folder only to touch the file.
//
// A missing file throws the engine's error "The following reporting project
// does not exist:" CR "<path>"; an unreadable or malformed one a ProjectError.
ReportProject loadReportProject(const QString &projectFile);

// The file's text: UTF-8 when the bytes are valid UTF-8 (a byte-order mark is
// dropped), else Windows-1252, the code page Notepad writes on these machines.
QString decodeProjectText(const QByteArray &bytes);
