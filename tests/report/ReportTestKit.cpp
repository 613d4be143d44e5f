#include "ReportTestKit.h"

#include <ReadBarcode.h>

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace ReportTestKit {

namespace {

QByteArray run(const QString &program, const QStringList &args)
{
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        qFatal("%s failed: %s", qPrintable(program), process.readAllStandardError().constData());
    return process.readAllStandardOutput();
}

constexpr double MmPerPoint = 25.4 / 72.0;

} // namespace

QList<PdfWord> pdfWords(const QString &pdfFile)
{
    const QString html = QString::fromUtf8(run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdfFile, QStringLiteral("-")}));
    static const QRegularExpression pageTag(QStringLiteral("<page "));
    static const QRegularExpression word(
        QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    QList<PdfWord> words;
    const QStringList pages = html.split(pageTag);
    for (int p = 1; p < pages.size(); ++p) {
        for (auto it = word.globalMatch(pages[p]); it.hasNext();) {
            const auto m = it.next();
            const double x = (m.captured(1).toDouble() + m.captured(3).toDouble()) / 2 * MmPerPoint;
            const double y = (m.captured(2).toDouble() + m.captured(4).toDouble()) / 2 * MmPerPoint;
            QString text = m.captured(5);
            text.replace(QStringLiteral("&amp;"), QStringLiteral("&")).replace(QStringLiteral("&quot;"), QStringLiteral("\""));
            words.append({p - 1, text, QPointF(x, y)});
        }
    }
    return words;
}

int pdfPageCount(const QString &pdfFile)
{
    const QString info = QString::fromUtf8(run(QStringLiteral("pdfinfo"), {pdfFile}));
    static const QRegularExpression pages(QStringLiteral("Pages:\\s+(\\d+)"));
    return pages.match(info).captured(1).toInt();
}

QSizeF pdfPageSizeMm(const QString &pdfFile)
{
    const QString info = QString::fromUtf8(run(QStringLiteral("pdfinfo"), {pdfFile}));
    static const QRegularExpression size(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+) pts"));
    const auto m = size.match(info);
    return QSizeF(qRound(m.captured(1).toDouble() * MmPerPoint), qRound(m.captured(2).toDouble() * MmPerPoint));
}

QImage pdfRegion(const QString &pdfFile, int page, int dpi, const QRectF &mm)
{
    QTemporaryDir dir;
    const QString prefix = dir.filePath(QStringLiteral("page"));
    QStringList args = {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-f"), QString::number(page + 1),
                        QStringLiteral("-l"), QString::number(page + 1), QStringLiteral("-gray"), QStringLiteral("-singlefile")};
    if (!mm.isNull()) {
        const double k = dpi / 25.4;
        args << QStringLiteral("-x") << QString::number(qRound(mm.left() * k)) << QStringLiteral("-y")
             << QString::number(qRound(mm.top() * k)) << QStringLiteral("-W") << QString::number(qRound(mm.width() * k))
             << QStringLiteral("-H") << QString::number(qRound(mm.height() * k));
    }
    run(QStringLiteral("pdftoppm"), args << pdfFile << prefix);
    return QImage(prefix + QStringLiteral(".pgm"));
}

QImage pdfPage(const QString &pdfFile, int page, int dpi)
{
    return pdfRegion(pdfFile, page, dpi, QRectF());
}

QString decodeImage(const QImage &image)
{
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    const ZXing::ImageView view(grey.constBits(), grey.width(), grey.height(), ZXing::ImageFormat::Lum, int(grey.bytesPerLine()));
    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::LinearCodes);
    hints.setTryHarder(true);
    const ZXing::Result result = ZXing::ReadBarcode(view, hints);
    return result.isValid() ? QString::fromStdString(result.text()) : QString();
}

QString decodeMatrixImage(const QImage &image)
{
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    const ZXing::ImageView view(grey.constBits(), grey.width(), grey.height(), ZXing::ImageFormat::Lum, int(grey.bytesPerLine()));
    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::QRCode | ZXing::BarcodeFormat::DataMatrix);
    hints.setTryHarder(true);
    const ZXing::Result result = ZXing::ReadBarcode(view, hints);
    return result.isValid() ? QString::fromStdString(result.text()) : QString();
}

QString decodeCell(const QImage &page, const QRectF &cellMm, int dpi)
{
    const double k = dpi / 25.4;
    return decodeImage(page.copy(QRect(qRound(cellMm.left() * k), qRound(cellMm.top() * k), qRound(cellMm.width() * k),
                                       qRound(cellMm.height() * k))));
}

LabelRecord labelRow(const QString &codigo, const QString &componente, const QString &ean, const QString &preco)
{
    LabelRecord r;
    r.set(QStringLiteral("CODIGO"), {codigo, codigo});
    r.set(QStringLiteral("COMPONENTE"), {componente, componente});
    r.set(QStringLiteral("CODIGOEAN"), {ean, ean});
    QString display = preco;
    r.set(QStringLiteral("PRECO1"), {display.replace(QLatin1Char('.'), QLatin1Char(',')), preco});
    return r;
}

QStringList tabRevFields()
{
    return {QStringLiteral("CODIGO"), QStringLiteral("COMPONENTE"), QStringLiteral("QDE"), QStringLiteral("CODIGOEAN"),
            QStringLiteral("PRECO1")};
}

QString smallProject(const QString &extra)
{
    return QStringLiteral("projeto \"Teste\"\n"
                          "ativo \"Grande\"\n"
                          "relatorio \"Grande\"\n"
                          "  papel A4\n"
                          "  grade colunas=3 linhas=3\n"
                          "  margens esquerda=15 topo=20\n"
                          "  etiqueta largura=60 altura=40\n"
                          "  passo horizontal=65 vertical=45\n"
                          "  campo COMPONENTE x=2 y=2 largura=56 altura=6 tamanho=10\n"
                          "  texto \"Preço R$:\" x=2 y=9 largura=20 altura=5 tamanho=9\n"
                          "  preco PRECO1 x=24 y=9 largura=34 altura=5 tamanho=10 negrito=sim alinhamento=direita\n"
                          "  barras CODIGOEAN x=2 y=16 largura=56 altura=22 simbologia=EAN13\n")
        + extra + QStringLiteral("fim\n");
}

} // namespace ReportTestKit
