#include "LayoutWarnings.h"

#include "DrawnWarnings.h"
#include "LabelLayout.h"
#include "LabelStock.h"
#include "ProjectError.h"
#include "SheetDocument.h"
#include "SheetText.h"
#include "ThermalReportFiles.h"
#include "ThermalRenderer.h"

#include <QImage>

namespace {

QString moduleWarning(const CellElement &element, double moduleMm)
{
    return QStringLiteral("Código de barras %1 com módulo de %2 mm, abaixo de %3 mm: leitores podem não ler")
        .arg(element.value, brNumber(std::floor(moduleMm * 100) / 100), brNumber(MinModuleMm));
}

QString cutWarning(const CellElement &element, const QString &text)
{
    const QString shown = element.kind == CellElement::Kind::Text ? QStringLiteral("\"%1\"").arg(element.value) : element.value;
    return QStringLiteral("Texto cortado: %1 não cabe inteiro na caixa (%2)").arg(shown, text.simplified().left(40));
}

void thermalWarnings(const SheetReport &report, const QList<LabelRecord> &records, const LabelPicture &picture,
                     QStringList *warnings)
{
    const RollSetup roll = rollOf(report);
    const double perMm = dotsPerMm(roll.dpi);
    for (const StockNote &note : checkAgainstStock(picture.printed, stockOf(report)))
        *warnings << note.message;
    for (const QByteArray &file : picture.files) {
        for (const RenderFault &fault : readCommandFile(file, roll.dpi).faults)
            *warnings << QStringLiteral("Linha %1 do arquivo de comandos: %2").arg(fault.line).arg(fault.message);
    }
    // Every label of the row shown: a long name on the second label is cut as surely as on the first.
    QList<LabelContent> contents;
    for (const LabelRecord &record : records.mid(0, roll.across))
        contents << labelContent(report, record, QPoint(), perMm);
    for (int i = 0; i < report.elements.size(); ++i) {
        for (const LabelContent &content : std::as_const(contents)) {
            const ThermalElement e = content.value(i);
            if (e.value.trimmed().isEmpty())
                continue;
            QString warning;
            if (e.kind == ThermalElement::Kind::Barcode) {
                const double moduleMm = barcodeModule(e) / perMm;
                if (moduleMm > 0 && moduleMm + 1e-6 < MinModuleMm)
                    warning = moduleWarning(report.elements[i], moduleMm);
            } else if (e.kind == ThermalElement::Kind::Text && textIsCut(roll, e)) {
                warning = cutWarning(report.elements[i], e.value);
            }
            if (!warning.isEmpty()) {
                *warnings << warning;
                break; // one warning an element
            }
        }
    }
}

// Sheet printers print at 203, 300 or 600 dpi, and a text's lines break by
// the font's metrics at that resolution: a name whole at 600 dpi can leave a
// line over at 203. The text is warned when it is cut at any of them.
// The box stands where the first label of the page puts it, so that the
// glyphs fall on the printer's dots as they do there.
bool sheetTextCutOnSomePrinter(const SheetReport &report, const CellElement &element, const QString &text)
{
    // A turned text is laid out along its box's height.
    const QSizeF laid = element.rotation % 180 ? element.box.size().transposed() : element.box.size();
    const QPointF cell = report.grid.cellRect(0).topLeft();
    for (const double dpi : {203.0, 300.0, 600.0}) {
        QImage device(1, 1, QImage::Format_RGB32);
        device.setDotsPerMeterX(qRound(dpi / 0.0254));
        device.setDotsPerMeterY(qRound(dpi / 0.0254));
        const double perMm = dpi / 25.4;
        const QPointF at = (cell + element.box.topLeft()) * perMm;
        const QRectF box(at - QPointF(std::floor(cell.x() * perMm), std::floor(cell.y() * perMm)), laid * perMm);
        if (sheetTextIsCut(box, element, text, &device))
            return true;
    }
    return false;
}

void sheetWarnings(const SheetReport &report, const LabelRecord &record, QStringList *warnings)
{
    for (const CellElement &element : report.elements) {
        const QString text = SheetDocument::textOf(element, record);
        if (text.trimmed().isEmpty())
            continue;
        if (element.kind == CellElement::Kind::Barcode) {
            const double moduleMm = element.box.width() / std::max(1, minimumBarcodeWidth(element.printerSymbology, text));
            if (moduleMm + 1e-6 < MinModuleMm)
                *warnings << moduleWarning(element, moduleMm);
        } else if (element.isTextLike() && sheetTextCutOnSomePrinter(report, element, text)) {
            *warnings << cutWarning(element, text);
        }
    }
}

} // namespace

QStringList layoutWarnings(const SheetReport &report, const QList<LabelRecord> &records, const LabelPicture &picture)
{
    QStringList warnings;
    if (report.thermal)
        thermalWarnings(report, records, picture, &warnings);
    else
        sheetWarnings(report, records.value(0), &warnings);
    warnings += drawnElementWarnings(report, records);
    warnings.removeDuplicates();
    return warnings;
}
