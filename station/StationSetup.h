#pragma once

#include "CupsQueue.h"
#include "StartingModels.h"
#include "SqlConnection.h"
#include "StationFiles.h"
#include "StationRequest.h"
#include "StationRow.h"

#include <optional>

// Sets up one counter: the work folder and its files, the ESTACOES row, the
// starting label models of a suite that has none and, when asked, the CUPS queue. It looks first and changes afterwards: a request
// it refuses, or a database it cannot reach, leaves everything as it was, and
// a step that fails midway undoes the steps before it.
class StationSetup
{
public:
    explicit StationSetup(const StationRequest &request);

    // Checks the request, opens the database and reads the row; the steps to
    // take, one line each. Throws SelvarError or DatabaseError (a refusal).
    QStringList plan();
    // Carries out the plan and says what it found done by another station;
    // throws after undoing what it did.
    QStringList apply();

private:
    StationRequest m_request;
    SqlConnection m_connection;
    StationFiles m_files;
    StationRow m_row;
    StartingModels m_models;
    std::optional<CupsQueue> m_queue;
    bool m_planned = false;
};
