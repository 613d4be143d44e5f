// selvar-setup-station: sets up one counter of a pharmacy for Selvar — its work
// folder InterfacNN with ImprEtiq.bat, the suite's rpt/Selvar.rav when there is
// none, its ESTACOES row and, when asked, a raw CUPS queue for its thermal
// printer. --dry-run says what it would do and changes nothing.

#include "CommandLineInfo.h"
#include "SelvarError.h"
#include "StationSetup.h"
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

    const QCommandLineOption suiteOption(QStringLiteral("suite"),
        QStringLiteral("Pasta da suíte, onde ficam BOTICON.INI e as pastas InterfacNN (padrão: BOTICON_ROOT ou /opt/boticon/)."),
        QStringLiteral("PASTA"));
    const QCommandLineOption stationOption(QStringLiteral("station"), QStringLiteral("Código da estação, dois caracteres (ex.: 01)."),
                                           QStringLiteral("NN"));
    const QCommandLineOption userOption(QStringLiteral("user"), QStringLiteral("Usuário da estação (o login de quem usa o Selvar)."),
                                        QStringLiteral("NOME"));
    const QCommandLineOption printerOption(QStringLiteral("printer"),
        QStringLiteral("Impressora térmica (ROTULO1): dispositivo, arquivo ou nome de fila CUPS (padrão: a fila de --cups-raw-queue)."),
        QStringLiteral("CAMINHO"));
    const QCommandLineOption serverOption(QStringLiteral("server"),
        QStringLiteral("Servidor Firebird da suíte, como em \"IP DO SERVIDOR CENTRAL\" do BOTICON.INI (vazio: banco local)."),
        QStringLiteral("IP"));
    const QCommandLineOption databaseOption(QStringLiteral("database"),
        QStringLiteral("Banco da suíte por inteiro (padrão: IP:C:\\boticon\\dados\\boticon.bd)."), QStringLiteral("BANCO"));
    const QCommandLineOption queueOption(QStringLiteral("cups-raw-queue"),
        QStringLiteral("Cria também uma fila CUPS crua com este nome (requer --device-uri)."), QStringLiteral("FILA"));
    const QCommandLineOption uriOption(QStringLiteral("device-uri"),
        QStringLiteral("Endereço da impressora para a fila (ex.: usb://Zebra/LP2844, socket://192.168.0.50:9100)."),
        QStringLiteral("URI"));
    const QCommandLineOption dryRunOption(QStringLiteral("dry-run"), QStringLiteral("Só diz o que faria; não muda nada."));
    const QList<QCommandLineOption> options{helpOption(), versionOption(), suiteOption, stationOption, userOption,
                                            printerOption, serverOption, databaseOption, queueOption, uriOption, dryRunOption};

    QCommandLineParser parser;
    parser.addOptions(options);
    if (!parser.parse(app.arguments()))
        return fail(parser.errorText(), ExitUsage);
    QTextStream out(stdout);
    if (parser.isSet(QStringLiteral("version"))) {
        out << versionLine(QStringLiteral("selvar-setup-station")) << '\n';
        return 0;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        out << helpText(QStringLiteral("selvar-setup-station --station NN --user NOME --printer CAMINHO [opções]"),
                        QStringLiteral("Prepara uma estação (balcão) para o Selvar: a pasta InterfacNN com ImprEtiq.bat,\n"
                                       "rpt/Selvar.rav quando não houver, a linha da estação em ESTACOES e, se pedido,\n"
                                       "uma fila CUPS crua para a impressora térmica. Recusa sem mudar nada quando algo\n"
                                       "está errado."),
                        options);
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
                           : parser.value(serverOption) + QStringLiteral(":C:\\boticon\\dados\\boticon.bd");
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
        setup.apply();
        out << "estação " << request.stationCode << " pronta\n";
    } catch (const DatabaseError &error) {
        return fail(QStringLiteral("Não foi possível usar o banco da suíte %1: %2 Nada foi mudado.").arg(request.database, error.message()), ExitRefused);
    } catch (const SelvarError &error) {
        return fail(error.message() + QStringLiteral(" Nada foi mudado."), ExitRefused);
    }
    return 0;
}
