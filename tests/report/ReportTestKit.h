#pragma once

#include "LabelRecord.h"

#include <QImage>
#include <QList>
#include <QRectF>
#include <QString>

// What the report tests read back from real output: the words pdftotext finds
// on a page and where, the page as pdftoppm rasterises it, and the barcode
// zxing-cpp reads in one label cell.
namespace ReportTestKit {

struct PdfWord
{
    int page = 0;    // 0-based
    QString text;
    QPointF centre;  // millimetres from the paper's top-left corner
};

QList<PdfWord> pdfWords(const QString &pdfFile);
int pdfPageCount(const QString &pdfFile);
QSizeF pdfPageSizeMm(const QString &pdfFile); // of the first page, rounded to whole millimetres
QImage pdfPage(const QString &pdfFile, int page, int dpi);
// Only the part `mm` of the page, for resolutions a whole page would be too big at.
QImage pdfRegion(const QString &pdfFile, int page, int dpi, const QRectF &mm);

// The text of the barcode inside `cellMm` of a page image made at `dpi`; empty when none reads.
QString decodeCell(const QImage &page, const QRectF &cellMm, int dpi);
QString decodeImage(const QImage &image);
// The QR Code or DataMatrix zxing-cpp reads in the image; empty when none reads.
QString decodeMatrixImage(const QImage &image);

// A TABREV2-like row; an empty `codigo` with no name and EAN is a skipped position.
LabelRecord labelRow(const QString &codigo, const QString &componente, const QString &ean, const QString &preco);
QStringList tabRevFields();

// A project of one A4 report, 3 columns x 3 rows of 60 x 40 mm labels from
// (15, 20), pitch 65 x 45, each label with the name, a fixed text, the price and
// an EAN-13; `extra` goes into the report before its "fim".
QString smallProject(const QString &extra = {});

} // namespace ReportTestKit
