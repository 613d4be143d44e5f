// selvar-setup-station: sets up one counter of a pharmacy for Selvar — its work
// folder InterfacNN with ImprEtiq.bat, the suite's rpt/Selvar.rav when there is
// none, its ESTACOES row, the starting label models when ETIQPAR has none and,
// when asked, a raw CUPS queue for its thermal printer. --dry-run says what it would do and changes nothing.

#include "CommandLineInfo.h"
#include "CommandManual.h"
#include "SelvarError.h"
#include "StationSetup.h"
#include "SuiteIni.h"
#include "SuitePaths.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

namespace {

constexpr int ExitRefused = 1;
constexpr int ExitUsage = 2;

int fail(const QString &message, int code)
{
    QTextStream(stderr) << "selvar-setup-station: " << message << '\n';
    return code;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("selvar-setup-station"));

    const CommandManual &manual = commandManual(QStringLiteral("selvar-setup-station"));
    const QCommandLineOption suiteOption = manual.option(QStringLiteral("suite"));
    const QCommandLineOption stationOption = manual.option(QStringLiteral("station"));
    const QCommandLineOption userOption = manual.option(QStringLiteral("user"));
    const QCommandLineOption printerOption = manual.option(QStringLiteral("printer"));
    const QCommandLineOption serverOption = manual.option(QStringLiteral("server"));
    const QCommandLineOption databaseOption = manual.option(QStringLiteral("database"));
    const QCommandLineOption queueOption = manual.option(QStringLiteral("cups-raw-queue"));
    const QCommandLineOption uriOption = manual.option(QStringLiteral("device-uri"));
    const QCommandLineOption dryRunOption = manual.option(QStringLiteral("dry-run"));

    QCommandLineParser parser;
    parser.addOptions(manual.commandLineOptions());
    if (!parser.parse(app.arguments()))
        return fail(parser.errorText(), ExitUsage);
    QTextStream out(stdout);
    if (parser.isSet(QStringLiteral("version"))) {
        out << versionLine(QStringLiteral("selvar-setup-station")) << '\n';
        return 0;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        out << manual.helpText();
        return 0;
    }
    if (!parser.positionalArguments().isEmpty())
        return fail(QStringLiteral("argumento inesperado \"%1\"; veja --help").arg(parser.positionalArguments().first()), ExitUsage);

    StationRequest request;
    request.suiteFolder = parser.isSet(suiteOption) ? parser.value(suiteOption) : SuitePaths::suiteRoot();
    request.stationCode = parser.value(stationOption);
    request.userName = parser.value(userOption);
    request.cupsQueue = parser.value(queueOption);
    request.deviceUri = parser.value(uriOption);
    request.printerPath = parser.isSet(printerOption) ? parser.value(printerOption) : request.cupsQueue;
    request.database = parser.isSet(databaseOption)
                           ? parser.value(databaseOption)
                           : SuiteIni::mainDatabase(parser.value(serverOption));
    request.dryRun = parser.isSet(dryRunOption);
    // An embedded database named "C:\boticon\..." lies in the suite folder given here.
    qputenv("BOTICON_ROOT", request.suiteFolderText().toLocal8Bit());

    StationSetup setup(request);
    try {
        const QStringList steps = setup.plan();
        for (const QString &step : steps)
            out << (request.dryRun ? QStringLiteral("faria: ") : QString()) << step << '\n';
        out.flush();
        if (request.dryRun)
            return 0;
        for (const QString &note : setup.apply())
            out << note << '\n';
        out << "estação " << request.stationCode << " pronta\n";
    } catch (const DatabaseError &error) {
        return fail(QStringLiteral("Não foi possível usar o banco da suíte %1: %2 Nada foi mudado.").arg(request.database, error.message()), ExitRefused);
    } catch (const SelvarError &error) {
        return fail(error.message() + QStringLiteral(" Nada foi mudado."), ExitRefused);
    }
    return 0;
}
