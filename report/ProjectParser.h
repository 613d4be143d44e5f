#pragma once

#include "ReportProject.h"

// Reads the text of a report project. Every fault throws a ProjectError that
// names `fileName`, the line and what is wrong, so a project is either taken
// whole or not at all.
ReportProject parseReportProject(const QString &text, const QString &fileName);
