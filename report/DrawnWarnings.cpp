#include "DrawnWarnings.h"

#include "DrawnElements.h"
#include "PrintImage.h"
#include "PrinterRanges.h"
#include "ProjectError.h"
#include "SheetDocument.h"

#include <cmath>

namespace {

// A sheet is checked at a laser printer's resolution.
constexpr int SheetDpi = 600;

QString codeName(const CellElement &e)
{
    return (e.kind == CellElement::Kind::QrCode ? QStringLiteral("Código QR ") : QStringLiteral("DataMatrix ")) + partsStatement(e.parts);
}

QString mm(double value)
{
    return brNumber(std::ceil(value * 10) / 10);
}

QString matrixWarning(const CellElement &e, const QString &text, double perMm, bool zpl)
{
    const MatrixSymbology symbology = e.kind == CellElement::Kind::DataMatrix ? MatrixSymbology::DataMatrix : MatrixSymbology::QrCode;
    const std::optional<MatrixCode> code = encodeMatrixCode(symbology, text, e.qrLevel);
    if (!code)
        return QStringLiteral("%1: \"%2\" não cabe em nenhum tamanho deste código").arg(codeName(e), text.left(40));
    const int width = int(std::lround(e.box.width() * perMm));
    const int height = int(std::lround(e.box.height() * perMm));
    const int readable = int(std::ceil(MinMatrixModuleMm * perMm - 1e-6));
    const int asked = e.moduleMm > 0 ? std::max(1, int(std::lround(e.moduleMm * perMm))) : 0;
    const int module = matrixModule(*code, symbology, width, height, asked);
    // The module asked for, or without one the smallest a reader reliably reads.
    const int wanted = asked > 0 ? asked : readable;
    if (module < wanted) {
        return QStringLiteral("%1 não cabe na caixa de %2 × %3 mm com módulo de %4 mm: precisa de %5 × %5 mm (%6 × %6 módulos com as margens)")
            .arg(codeName(e), brNumber(e.box.width()), brNumber(e.box.height()), brNumber(std::round(wanted / perMm * 100) / 100),
                 mm(matrixSide(*code, symbology, wanted) / perMm))
            .arg(matrixSide(*code, symbology, 1));
    }
    if (zpl && symbology == MatrixSymbology::QrCode && module > ZplQrMagnification.high) {
        return QStringLiteral("%1: o QR foi reduzido para %2 pontos por módulo; a caixa comporta %3 (o ZPL aceita de %4 a %2)")
            .arg(codeName(e)).arg(ZplQrMagnification.high).arg(module).arg(ZplQrMagnification.low);
    }
    if (module / perMm + 1e-6 < MinMatrixModuleMm) {
        return QStringLiteral("%1 com módulo de %2 mm, abaixo de %3 mm: leitores podem não ler")
            .arg(codeName(e), brNumber(std::floor(module / perMm * 100) / 100), brNumber(MinMatrixModuleMm));
    }
    return {};
}

} // namespace

QStringList drawnElementWarnings(const SheetReport &report, const QList<LabelRecord> &records)
{
    const double perMm = report.thermal ? dotsPerMm(report.thermal->dpi) : SheetDpi / 25.4;
    const bool zpl = report.thermal && report.thermal->language == PrinterLanguage::Zpl;
    QStringList warnings;
    for (const CellElement &e : report.elements) {
        QString fault;
        if (e.kind == CellElement::Kind::Image && loadElementImage(report, e, &fault).isNull()) {
            fault[0] = fault[0].toUpper();
            warnings << fault;
        }
        if (!e.isMatrixCode())
            continue;
        for (const LabelRecord &record : records) {
            const QString text = SheetDocument::textOf(e, record);
            const QString warning = text.isEmpty() ? QString() : matrixWarning(e, text, perMm, zpl);
            if (!warning.isEmpty()) {
                warnings << warning;
                break; // one warning an element
            }
        }
    }
    return warnings;
}
