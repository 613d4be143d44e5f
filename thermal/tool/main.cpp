// selvar-label-preview: command files of a label printer (EPL2 or ZPL, told
// apart by their bytes) imaged into one PNG, one printed image under the
// other, for installers checking a layout and for tests.
//
//   selvar-label-preview Etiq001.txt Etiq002.txt -o etiquetas.png
//                        [--dpi 203|300] [--label 30x17] [--columns 0,285,570]
//   selvar-label-preview --check Etiq001.txt Etiq002.txt [--dpi 203|300]
//
// The files are read as one job, in order: a graphic one stores, the later
// ones recall. --label gives the stock (millimetres); its columns start where the files
// draw them unless --columns (dots) says otherwise. Everything outside a label
// is then tinted red and listed. Exit status: 0 rendered, 2 rendered with
// commands it could not image, 1 nothing rendered. --check only lists, on
// standard output, every command or parameter the printer language does not
// take (or that this program does not read): 0 none, 2 some, 1 unreadable.
#include "CommandLineInfo.h"
#include "CommandManual.h"
#include "LabelStock.h"
#include "ThermalRenderer.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QTextStream>

#include <optional>

namespace {

struct Options
{
    QStringList files;
    QString output;
    int dpi = 203;
    std::optional<QSizeF> label;
    QList<int> columns;
    bool check = false;
};

std::optional<QSizeF> parseSize(const QString &text)
{
    const QStringList parts = QString(text).replace(QLatin1Char(','), QLatin1Char('.')).split(QLatin1Char('x'), Qt::KeepEmptyParts, Qt::CaseInsensitive);
    bool okW = false, okH = false;
    const double w = parts.value(0).toDouble(&okW);
    const double h = parts.value(1).toDouble(&okH);
    if (parts.size() != 2 || !okW || !okH || w <= 0 || h <= 0)
        return std::nullopt;
    return QSizeF(w, h);
}

enum class Parsed { Run, Told, Failed };

Parsed parseOptions(const QStringList &arguments, Options *options, QString *error)
{
    QCommandLineParser parser;
    const CommandManual &manual = commandManual(QStringLiteral("selvar-label-preview"));
    parser.addOptions(manual.commandLineOptions());
    parser.addPositionalArgument(QStringLiteral("arquivos"), QStringLiteral("Arquivos de comandos EPL2 ou ZPL."));
    if (!parser.parse(arguments)) {
        *error = parser.errorText();
        return Parsed::Failed;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        QTextStream(stdout) << versionLine(QStringLiteral("selvar-label-preview")) << '\n';
        return Parsed::Told;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        QTextStream(stdout) << manual.helpText();
        return Parsed::Told;
    }
    options->files = parser.positionalArguments();
    options->output = parser.value(QStringLiteral("output"));
    options->dpi = parser.value(QStringLiteral("dpi")).toInt();
    options->check = parser.isSet(QStringLiteral("check"));
    if (options->files.isEmpty() || (options->output.isEmpty() && !options->check)) {
        *error = QStringLiteral("Uso: ") + manual.usage;
        return Parsed::Failed;
    }
    if (options->dpi != 203 && options->dpi != 300) {
        *error = QStringLiteral("--dpi deve ser 203 ou 300, não '%1'").arg(parser.value(QStringLiteral("dpi")));
        return Parsed::Failed;
    }
    if (parser.isSet(QStringLiteral("label"))) {
        options->label = parseSize(parser.value(QStringLiteral("label")));
        if (!options->label) {
            *error = QStringLiteral("--label deve ser LARGURAxALTURA em mm, como 30x17, não '%1'").arg(parser.value(QStringLiteral("label")));
            return Parsed::Failed;
        }
    }
    for (const QString &column : parser.value(QStringLiteral("columns")).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        options->columns.append(column.trimmed().toInt(&ok));
        if (!ok) {
            *error = QStringLiteral("--columns deve listar pontos inteiros, como 0,285,570, não '%1'").arg(column);
            return Parsed::Failed;
        }
    }
    return Parsed::Run;
}

// The files read in the order given, as one job sent to one printer: a
// graphic stored by an earlier file is there for the later ones. Empty, with
// the reason on `err`, when a file cannot be read.
std::optional<QList<std::pair<QString, RenderedFile>>> readJob(const Options &options, QTextStream &err)
{
    QList<std::pair<QString, RenderedFile>> files;
    PrinterMemory printer;
    for (const QString &path : options.files) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            err << QStringLiteral("%1: não foi possível ler (%2)").arg(path, file.errorString()) << Qt::endl;
            return std::nullopt;
        }
        files.append({QFileInfo(path).fileName(), readCommandFile(file.readAll(), options.dpi, &printer)});
    }
    return files;
}

// Every fault of a file, "FILE, linha N: what", on `to`; true when there was one.
bool tellFaults(const QString &name, const RenderedFile &rendered, QTextStream &to)
{
    for (const RenderFault &fault : rendered.faults)
        to << QStringLiteral("%1, linha %2: %3").arg(name).arg(fault.line).arg(fault.message) << Qt::endl;
    return !rendered.faults.isEmpty();
}

// Every fault of every file on standard output.
int check(const Options &options, QTextStream &out, QTextStream &err)
{
    const auto job = readJob(options, err);
    if (!job)
        return 1;
    bool faults = false;
    for (const auto &[name, rendered] : *job)
        faults = tellFaults(name, rendered, out) || faults;
    return faults ? 2 : 0;
}

QImage stacked(const QList<QImage> &pictures)
{
    const int gap = 6;
    int width = 1, height = 0;
    for (const QImage &picture : pictures) {
        width = std::max(width, picture.width());
        height += picture.height() + gap;
    }
    QImage sheet(width, std::max(1, height - gap), QImage::Format_RGB32);
    sheet.fill(QColor(160, 160, 160));
    QPainter painter(&sheet);
    int y = 0;
    for (const QImage &picture : pictures) {
        painter.drawImage(0, y, picture);
        y += picture.height() + gap;
    }
    return sheet;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("selvar-label-preview"));
    QTextStream out(stdout);
    QTextStream err(stderr);

    Options options;
    QString error;
    switch (parseOptions(app.arguments(), &options, &error)) {
    case Parsed::Failed:
        err << error << Qt::endl;
        return 1;
    case Parsed::Told:
        return 0;
    case Parsed::Run:
        break;
    }
    if (options.check)
        return check(options, out, err);

    const auto job = readJob(options, err);
    if (!job)
        return 1;
    QList<QImage> pictures;
    bool faults = false;
    for (const auto &[name, rendered] : *job) {
        faults = tellFaults(name, rendered, err) || faults;
        for (const PrintImage &image : rendered.images) {
            if (!options.label) {
                pictures.append(paintPrintImage(image, printArea(image)));
                continue;
            }
            const double perMm = dotsPerMm(options.dpi);
            const QList<int> columns =
                options.columns.isEmpty() ? columnStartsOf(image, int(std::lround(options.label->width() * perMm))) : options.columns;
            const LabelStock stock = LabelStock::fromMillimetres(*options.label, columns, options.dpi);
            for (const StockNote &note : checkAgainstStock(image, stock))
                out << name << ": " << note.message << Qt::endl;
            pictures.append(paintOnStock(image, stock));
        }
    }
    if (pictures.isEmpty()) {
        err << "nenhuma imagem para imprimir nos arquivos" << Qt::endl;
        return 1;
    }
    if (!stacked(pictures).save(options.output, "PNG")) {
        err << QStringLiteral("não foi possível gravar '%1'").arg(options.output) << Qt::endl;
        return 1;
    }
    return faults ? 2 : 0;
}
