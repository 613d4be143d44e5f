#pragma once

#include "ListWindow.h"
#include "SqlConnection.h"
#include "TDM.h"

#include <QDir>
#include <QFile>

// The window started on a suite database of a server (one of the test's own):
// three products in the list (ALFA, BRAVO, CHARLIE, with prices and EANs),
// the three label models with the thermal one current, and a batch file for
// its prints in the station's work folder, whose path is returned; empty when
// the folder could not be made.
inline QString startOnServer(ListWindow &w, const QString &database)
{
    SqlConnection &connection = *w.dm()->SQLConnection1;
    connection.setDataBase(database);
    for (const char *row : {"('P1', 'ALFA', 13.90, '7891000100103')", "('P2', 'BRAVO', 5, '7891000315507')",
                            "('P3', 'CHARLIE', 8, '7891000055120')"})
        connection.ExecuteDirect(
            QStringLiteral("insert into TABREV1 (CODIGO, COMPONENTE, PRECO1, CODIGOEAN) values %1").arg(QLatin1String(row)));
    for (int i = 0; i < ListWindow::modelDescriptions().size(); ++i)
        connection.ExecuteDirect(QStringLiteral("insert into ETIQPAR (MODELO, DESCRICAO, QDECOL) values ('0%1', '%2', 3)")
                                     .arg(i + 1)
                                     .arg(ListWindow::modelDescriptions()[i]));
    connection.ExecuteDirect(QStringLiteral("insert into ETIQCORR (MODELOCORRENTE) values ('02')"));
    if (!QDir(w.app.suite.root()).mkpath(QStringLiteral("Interfac01")))
        return QString();
    const QString workFolder = w.app.suite.path(QStringLiteral("Interfac01"));
    QFile batch(QDir(workFolder).filePath(QStringLiteral("ImprEtiq.bat")));
    if (!batch.open(QIODevice::WriteOnly))
        return QString();
    return workFolder;
}
