// Sheet labels through the report project. The engine comes with the report
// work; until then a sheet model says plainly that it is not installed.
#include "TFormSelvarra.h"

#include "Messages.h"

void TFormSelvarra::createReportComponents()
{
}

void TFormSelvarra::runReportProject()
{
    Messages::show(QStringLiteral("A impressão em folhas (A4, A5, Carta) ainda não está instalada nesta versão."));
}
