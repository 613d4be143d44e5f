#include "DesignerCommandLine.h"

#include "CommandLineInfo.h"
#include "CommandManual.h"
#include "LabelPicture.h"
#include "LayoutWarnings.h"
#include "ModelTies.h"
#include "ProjectError.h"
#include "ProjectFile.h"
#include "ProjectParser.h"
#include "SampleProducts.h"
#include "SuitePaths.h"

#include <QCommandLineParser>
#include <QFile>

namespace {

const CommandManual &manual()
{
    return commandManual(QStringLiteral("selvar-designer"));
}

// Reads and parses; on a fault tells it and returns nothing.
std::optional<ReportProject> readProject(const QString &path, QTextStream &err)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        err << QStringLiteral("Não foi possível ler \"%1\" (%2)").arg(path, file.errorString()) << Qt::endl;
        return std::nullopt;
    }
    try {
        return parseReportProject(decodeProjectText(file.readAll()), path);
    } catch (const SelvarError &fault) {
        err << fault.message() << Qt::endl;
        return std::nullopt;
    }
}

int check(const QString &path, QTextStream &out, QTextStream &err)
{
    const auto project = readProject(path, err);
    if (!project)
        return 1;
    for (const SheetReport &report : project->reports) {
        const QList<LabelRecord> records = sampleProducts();
        const LabelPicture picture = labelPicture(report, records, 300);
        const QStringList warnings = layoutWarnings(report, records, picture);
        if (warnings.isEmpty())
            out << QStringLiteral("Relatório \"%1\": sem falhas.").arg(report.name) << Qt::endl;
        for (const QString &warning : warnings)
            out << QStringLiteral("Relatório \"%1\": aviso: %2").arg(report.name, warning) << Qt::endl;
    }
    for (const ModelTie &tie : modelTies(project->reports))
        out << QStringLiteral("Projeto: aviso: ") << tieWarning(tie) << Qt::endl;
    return 0;
}

int render(const QStringList &positional, const QString &output, const QString &dpiText, QTextStream &err)
{
    if (positional.size() != 2 || output.isEmpty()) {
        err << QStringLiteral("Uso: ") << manual().usage << Qt::endl;
        return 1;
    }
    int dpi = 0;
    if (!dpiText.isEmpty()) {
        bool ok = false;
        dpi = dpiText.toInt(&ok);
        if (!ok || dpi < 25 || dpi > 2400) {
            err << QStringLiteral("--dpi deve ser um número de 25 a 2400, não '%1'").arg(dpiText) << Qt::endl;
            return 1;
        }
    }
    const auto project = readProject(positional[0], err);
    if (!project)
        return 1;
    const SheetReport *report = project->findReport(positional[1]);
    if (!report) {
        QStringList names;
        for (const SheetReport &r : project->reports)
            names << QLatin1Char('"') + r.name + QLatin1Char('"');
        err << QStringLiteral("Não há relatório \"%1\" em \"%2\" (há %3)").arg(positional[1], positional[0], names.join(QStringLiteral(", ")))
            << Qt::endl;
        return 1;
    }
    const LabelPicture picture = labelPicture(*report, sampleProducts(), dpi ? dpi : 300);
    QImage image = picture.image;
    // A thermal picture is one pixel a printer dot; another resolution keeps every dot square.
    if (report->thermal && dpi && dpi != report->thermal->dpi) {
        image = image.scaled(qRound(image.width() * double(dpi) / report->thermal->dpi),
                             qRound(image.height() * double(dpi) / report->thermal->dpi), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    }
    const int shownDpi = report->thermal && !dpi ? report->thermal->dpi : (dpi ? dpi : 300);
    image.setDotsPerMeterX(qRound(shownDpi / 0.0254));
    image.setDotsPerMeterY(qRound(shownDpi / 0.0254));
    if (!image.save(output, "PNG")) {
        err << QStringLiteral("Não foi possível gravar \"%1\"").arg(output) << Qt::endl;
        return 1;
    }
    return 0;
}

} // namespace

bool isCommandLineRun(const QStringList &arguments)
{
    for (const QString &argument : arguments.mid(1)) {
        if (argument == QLatin1String("--render") || argument == QLatin1String("--check") || argument == QLatin1String("--help") ||
            argument == QLatin1String("-h") || argument == QLatin1String("--version") || argument == QLatin1String("-v"))
            return true;
    }
    return false;
}

int runCommandLine(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    QCommandLineParser parser;
    parser.addOptions(manual().commandLineOptions());
    parser.addPositionalArgument(QStringLiteral("projeto"), QStringLiteral("O projeto de relatório (Selvar.rav)."));
    if (!parser.parse(arguments)) {
        err << parser.errorText() << Qt::endl;
        return 1;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        out << versionLine(QStringLiteral("selvar-designer")) << Qt::endl;
        return 0;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        out << manual().helpText();
        return 0;
    }
    const QStringList positional = parser.positionalArguments();
    if (parser.isSet(QStringLiteral("check"))) {
        if (positional.size() != 1) {
            err << QStringLiteral("Uso: ") << manual().usage << Qt::endl;
            return 1;
        }
        return check(positional.first(), out, err);
    }
    return render(positional, parser.value(QStringLiteral("output")), parser.value(QStringLiteral("dpi")), err);
}

QString projectToOpen(const QStringList &arguments)
{
    for (const QString &argument : arguments.mid(1)) {
        if (!argument.startsWith(QLatin1Char('-')))
            return argument;
    }
    return SuitePaths::toNative(QStringLiteral("c:\\boticon\\rpt\\Selvar.rav"));
}
