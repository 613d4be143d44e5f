#include "LayoutWarnings.h"

#include "DrawnWarnings.h"
#include "ElementPlacement.h"
#include "PrintableText.h"
#include "LabelLayout.h"
#include "LabelStock.h"
#include "ProjectError.h"
#include "SheetDocument.h"
#include "SheetText.h"
#include "ThermalReportFiles.h"
#include "ThermalRenderer.h"

#include <QImage>

#include <algorithm>

namespace {

QString moduleWarning(const CellElement &element, double moduleMm)
{
    return QStringLiteral("Código de barras %1 com módulo de %2 mm, abaixo de %3 mm: leitores podem não ler")
        .arg(element.value, brNumber(std::floor(moduleMm * 100) / 100), brNumber(MinModuleMm));
}

// What of `whole` did not show, from the first character `shown` lacks: a
// word cut in the middle is marked so.
QString cutPart(const QString &whole, const QString &shown)
{
    const QString all = whole.simplified();
    const QString seen = shown.simplified();
    qsizetype same = 0;
    while (same < all.size() && same < seen.size() && all[same] == seen[same])
        ++same;
    const QString rest = all.mid(same).trimmed();
    if (rest.isEmpty())
        return rest;
    return same > 0 && all[same - 1] != QLatin1Char(' ') && all[same] != QLatin1Char(' ') ? QStringLiteral("…") + rest : rest;
}

QString cutWarning(const CellElement &element, const QString &text, const QString &shown)
{
    const QString part = cutPart(text, shown);
    if (part.isEmpty())
        return QStringLiteral("Texto cortado: %1 não cabe inteiro na caixa").arg(elementName(element));
    return QStringLiteral("Texto cortado: %1 não cabe inteiro na caixa: fica de fora \"%2\"").arg(elementName(element), part);
}

// The texts the printer printed whose field starts inside `box` (dots of the row's image), in reading order.
QString printedInside(const QList<PrintImage> &images, const QRect &box)
{
    QList<std::pair<QPoint, QString>> found;
    for (const PrintImage &image : images) {
        for (const PrintedElement &element : image.elements) {
            for (const PrintedText &text : element.texts) {
                const QPoint at = element.placement.map(text.topLeft);
                if (box.adjusted(-1, -1, 1, 1).contains(at))
                    found.append({at, text.text});
            }
        }
    }
    std::sort(found.begin(), found.end(), [](const auto &a, const auto &b) {
        return a.first.y() != b.first.y() ? a.first.y() < b.first.y() : a.first.x() < b.first.x();
    });
    QStringList texts;
    for (const auto &[at, text] : std::as_const(found))
        texts << text;
    return texts.join(QLatin1Char(' '));
}

void thermalWarnings(const SheetReport &report, const QList<LabelRecord> &records, const LabelPicture &picture,
                     QStringList *warnings)
{
    const RollSetup roll = rollOf(report);
    const double perMm = dotsPerMm(roll.dpi);
    for (const StockNote &note : checkAgainstStock(picture.printed, stockOf(report)))
        *warnings << note.message;
    QList<PrintImage> printed;
    for (const QByteArray &file : picture.files) {
        const RenderedFile rendered = readCommandFile(file, roll.dpi);
        for (const RenderFault &fault : rendered.faults)
            *warnings << QStringLiteral("Linha %1 do arquivo de comandos: %2").arg(fault.line).arg(fault.message);
        if (printed.isEmpty())
            printed = rendered.images;
    }
    // Every label of the row shown: a long name on the second label is cut as surely as on the first.
    QList<LabelContent> contents;
    for (const LabelRecord &record : records.mid(0, roll.across))
        contents << labelContent(report, record, QPoint(), perMm);
    for (int i = 0; i < report.elements.size(); ++i) {
        for (int column = 0; column < contents.size(); ++column) {
            const ThermalElement e = contents[column].value(i);
            if (e.value.trimmed().isEmpty())
                continue;
            QString warning;
            if (e.kind == ThermalElement::Kind::Barcode) {
                const double moduleMm = barcodeModule(e) / perMm;
                if (moduleMm > 0 && moduleMm + 1e-6 < MinModuleMm)
                    warning = moduleWarning(report.elements[i], moduleMm);
            } else if (e.kind == ThermalElement::Kind::Text && textIsCut(roll, e)) {
                warning = cutWarning(report.elements[i], e.value, printedInside(printed, e.box.translated(roll.columnStart(column), 0)));
            } else if (e.kind == ThermalElement::Kind::Text) {
                warning = unprintableWarning(report.elements[i], e.value);
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
bool sheetTextCutOnSomePrinter(const SheetReport &report, const CellElement &element, const QString &text, QString *shown)
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
        if (sheetTextIsCut(box, element, text, &device, shown))
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
        } else if (QString shown; element.isTextLike() && sheetTextCutOnSomePrinter(report, element, text, &shown)) {
            *warnings << cutWarning(element, text, shown);
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
    warnings += overlapWarnings(report);
    warnings.removeDuplicates();
    return warnings;
}
