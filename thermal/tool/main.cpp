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

// Every fault of every file, "FILE, linha N: what", on standard output.
int check(const Options &options, QTextStream &out, QTextStream &err)
{
    bool faults = false;
    PrinterMemory printer;
    for (const QString &path : options.files) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            err << QStringLiteral("%1: não foi possível ler (%2)").arg(path, file.errorString()) << Qt::endl;
            return 1;
        }
        for (const RenderFault &fault : readCommandFile(file.readAll(), options.dpi, &printer).faults) {
            out << QStringLiteral("%1, linha %2: %3").arg(QFileInfo(path).fileName()).arg(fault.line).arg(fault.message) << Qt::endl;
            faults = true;
        }
    }
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

    QList<QImage> pictures;
    bool faults = false;
    // The files are one job sent to one printer, in the order given.
    PrinterMemory printer;
    for (const QString &path : options.files) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            err << QStringLiteral("%1: não foi possível ler (%2)").arg(path, file.errorString()) << Qt::endl;
            return 1;
        }
        const QString name = QFileInfo(path).fileName();
        const RenderedFile rendered = readCommandFile(file.readAll(), options.dpi, &printer);
        for (const RenderFault &fault : rendered.faults) {
            err << QStringLiteral("%1, linha %2: %3").arg(name).arg(fault.line).arg(fault.message) << Qt::endl;
            faults = true;
        }
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
