#pragma once

#include "ReportProject.h"
#include "TRvSystem.h"

#include <QObject>
#include <QPointer>

#include <optional>

class TRvDataSetConnection;

// A report project file and the engine that runs it. Execute loads the file
// from disk every time, picks the report (see ReportProject::reportFor), finds
// the data connection it names among the owner's components and runs it.
class TRvProject : public QObject
{
    Q_OBJECT
public:
    explicit TRvProject(const QString &objectName, QObject *parent = nullptr);

    TRvSystem *Engine() const { return m_engine; }
    void setEngine(TRvSystem *engine) { m_engine = engine; }

    const QString &ProjectFile() const { return m_projectFile; }
    void setProjectFile(const QString &projectFile) { m_projectFile = projectFile; }

    // The description of the label model being printed; chooses among the
    // project's reports. Empty: the active report.
    void setModelDescription(const QString &description) { m_modelDescription = description; }

    // Drops the project an earlier run loaded.
    void Close() { m_project.reset(); }
    bool Active() const { return m_project.has_value(); }
    const ReportProject *project() const { return m_project ? &*m_project : nullptr; }

    // Loads the project file and runs its report on the engine.
    TRvSystem::Outcome Execute();

    // The connection a report reads: a component of the owner with that name.
    TRvDataSetConnection *findConnection(const QString &name) const;

    // The report's connection, once it is known to exist and to hold every
    // field the report reads and every image it draws can be read; a
    // ProjectError naming the line otherwise.
    TRvDataSetConnection &connectionFor(const SheetReport &report) const;

private:
    void checkFields(const SheetReport &report, const TRvDataSetConnection &connection) const;
    void checkImages(const SheetReport &report) const;

    QPointer<TRvSystem> m_engine;
    QString m_projectFile;
    QString m_modelDescription;
    std::optional<ReportProject> m_project;
};
