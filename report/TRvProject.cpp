#include "TRvProject.h"

#include "DrawnElements.h"
#include "ProjectError.h"
#include "ProjectFile.h"
#include "SheetDocument.h"
#include "TRvDataSetConnection.h"

TRvProject::TRvProject(const QString &objectName, QObject *parent) : QObject(parent)
{
    setObjectName(objectName);
}

TRvDataSetConnection *TRvProject::findConnection(const QString &name) const
{
    QObject *owner = parent() ? parent() : const_cast<TRvProject *>(this);
    return owner->findChild<TRvDataSetConnection *>(name);
}

void TRvProject::checkFields(const SheetReport &report, const TRvDataSetConnection &connection) const
{
    const QStringList fields = connection.fieldNames();
    for (const CellElement &element : report.elements) {
        for (const QString &field : element.fieldsRead()) {
            if (!fields.contains(field.toUpper())) {
                throw ProjectError::at(m_projectFile, element.line, {},
                                       QStringLiteral("a conexão %1 não tem o campo '%2' (campos: %3)")
                                           .arg(connection.objectName(), field, fields.join(QStringLiteral(", "))));
            }
        }
    }
}

// A picture gone or spoilt stops the print before anything is written, rather
// than labels printing without the pharmacy's logo.
void TRvProject::checkImages(const SheetReport &report) const
{
    for (const CellElement &element : report.elements) {
        QString fault;
        if (element.kind == CellElement::Kind::Image && loadElementImage(report, element, &fault).isNull())
            throw ProjectError::at(m_projectFile, element.line, elementKeyword(element.kind), fault);
    }
}

TRvDataSetConnection &TRvProject::connectionFor(const SheetReport &report) const
{
    TRvDataSetConnection *connection = findConnection(report.connection);
    if (!connection) {
        throw ProjectError::at(m_projectFile, report.line, QStringLiteral("relatorio"),
                               QStringLiteral("o relatório \"%1\" lê a conexão '%2', que o programa não oferece (use RvDataSetConnection1)")
                                   .arg(report.name, report.connection));
    }
    checkFields(report, *connection);
    checkImages(report);
    return *connection;
}

TRvSystem::Outcome TRvProject::Execute()
{
    if (!m_engine)
        throw SelvarError(QStringLiteral("O projeto de relatório %1 não tem um motor de relatórios.").arg(objectName()));
    m_project = loadReportProject(m_projectFile);
    const SheetReport &report = m_project->reportFor(m_modelDescription);
    const TRvDataSetConnection &connection = connectionFor(report);
    const SheetDocument document(report, connection.rows(), m_project->offset + report.offset);
    return m_engine->Execute(document);
}
