// selvar-barcode: prints the module string the barcode control draws for a
// symbology and a text, and optionally saves the control's drawing as a PNG,
// so an installer can check a printer and a script can check a code without
// opening the program.

#include "BarCodeTipo.h"
#include "CommandLineInfo.h"
#include "CommandManual.h"
#include "TZetaDBBarcode.h"
#include "TextFile.h"

#include <QApplication>
#include <QBuffer>
#include <QCommandLineParser>
#include <QImage>
#include <QImageWriter>
#include <QMetaEnum>
#include <QTextStream>

namespace {

constexpr int ExitUsage = 2;
constexpr int ExitFailure = 1;
// Wider modules than this make pictures of hundreds of megabytes and sizes
// that no longer fit an int; no printer check needs them.
constexpr int MaxPen = 100;

QString knownTipos()
{
    const QMetaEnum names = QMetaEnum::fromType<TBarCodeTipo>();
    QStringList list;
    for (int i = 0; i < names.keyCount(); ++i)
        list << QStringLiteral("%1 (%2)").arg(QString::fromLatin1(names.key(i))).arg(names.value(i));
    return list.join(QStringLiteral(", "));
}

int fail(const QString &message, int code)
{
    QTextStream(stderr) << "selvar-barcode: " << message << '\n';
    return code;
}

// Empty when saved; else why not, as the system tells it.
QString savePng(TZetaDBBarcode &control, const QString &fileName)
{
    control.resize(control.Plan().width(), control.height());
    QImage image(control.size(), QImage::Format_RGB32);
    if (image.isNull())
        return QStringLiteral("sem memória para uma imagem de %1 × %2 pixels").arg(control.width()).arg(control.height());
    image.fill(Qt::white);
    control.render(&image);
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    QImageWriter writer(&png, "png");
    if (!writer.write(image))
        return writer.errorString();
    return TextFile::writeWhole(fileName, png.data());
}

} // namespace

int main(int argc, char **argv)
{
    // A tool for scripts and installers: it must run without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("selvar-barcode"));

    QCommandLineParser parser;
    const CommandManual &manual = commandManual(QStringLiteral("selvar-barcode"));
    parser.addOptions(manual.commandLineOptions());
    const QCommandLineOption typeOption = manual.option(QStringLiteral("type"));
    const QCommandLineOption pngOption = manual.option(QStringLiteral("png"));
    const QCommandLineOption penOption = manual.option(QStringLiteral("pen"));
    const QCommandLineOption legendOption = manual.option(QStringLiteral("legend"));
    parser.addPositionalArgument(QStringLiteral("TEXT"), QStringLiteral("Texto a codificar."));

    if (!parser.parse(app.arguments()))
        return fail(parser.errorText(), ExitUsage);
    if (parser.isSet(QStringLiteral("version"))) {
        QTextStream(stdout) << versionLine(QStringLiteral("selvar-barcode")) << '\n';
        return 0;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        QTextStream(stdout) << manual.helpText();
        return 0;
    }
    if (!parser.isSet(typeOption))
        return fail(QStringLiteral("falta --type (%1)").arg(knownTipos()), ExitUsage);
    const std::optional<TBarCodeTipo> tipo = TipoFromText(parser.value(typeOption));
    if (!tipo)
        return fail(QStringLiteral("tipo desconhecido '%1'; use um de: %2").arg(parser.value(typeOption), knownTipos()), ExitUsage);
    if (parser.positionalArguments().size() != 1)
        return fail(QStringLiteral("informe exatamente um TEXT (entre aspas se tiver espaços)"), ExitUsage);
    bool penOk = false;
    const int pen = parser.value(penOption).toInt(&penOk);
    if (!penOk || pen < 1 || pen > MaxPen)
        return fail(QStringLiteral("--pen espera um inteiro de 1 a %1, não '%2'").arg(MaxPen).arg(parser.value(penOption)), ExitUsage);

    TZetaDBBarcode control;
    control.setTexto(parser.positionalArguments().first());
    control.setTipo(*tipo);
    control.setPen(QPen(Qt::black, pen));
    control.setLegenda(parser.isSet(legendOption));

    QTextStream(stdout) << control.Plan().modules << '\n';

    if (parser.isSet(pngOption)) {
        const QString why = savePng(control, parser.value(pngOption));
        if (!why.isEmpty())
            return fail(QStringLiteral("não foi possível gravar '%1': %2").arg(parser.value(pngOption), why), ExitFailure);
    }
    return 0;
}
