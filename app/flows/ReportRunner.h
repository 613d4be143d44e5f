#pragma once

#include "PrintOutcome.h"

#include <QObject>
#include <QPointer>

class ClientDataSet;
class ThermalJobOutput;
class ThermalOutput;
class TRvDataSetConnection;
class TRvProject;
class TRvSystem;

// Labels through the report project: sheets (A4, A5, Carta) and the thermal
// reports that serve other models. rvprjct1, RvSystem2 and
// RvDataSetConnection1 are children of `owner` (the window, whose dialogs
// they open over), or of the runner without one.
class ReportRunner
{
public:
    ReportRunner(ClientDataSet &labelJob, QObject *owner);
    ~ReportRunner();
    ReportRunner(const ReportRunner &) = delete;
    ReportRunner &operator=(const ReportRunner &) = delete;

    // The job in TABREV2 through the project's report for the model.
    PrintOutcome runReportProject(qint64 labels, const QString &modelDescription);
    // A model no fixed rule serves may be served by a thermal report of the
    // project; its command files then go the way of the fixed layout's.
    bool servedByThermalReport(const QString &modelDescription) const;
    PrintOutcome runThermalReport(const ThermalOutput &thermal, const QString &modelDescription, ThermalJobOutput &output);

    // RvSystem2: where the last sheet run sent its pages.
    TRvSystem *engine() const;

private:
    ClientDataSet &m_labelJob;
    QObject m_ownHome;
    QPointer<TRvProject> m_project;
    QPointer<TRvSystem> m_engine;
    QPointer<TRvDataSetConnection> m_connection;
};
