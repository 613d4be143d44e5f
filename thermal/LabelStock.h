#pragma once

#include "PrintImage.h"

#include <QImage>
#include <QList>
#include <QSizeF>
#include <QString>

#include <optional>

// The labels under the print head: their size and where each column of a
// roll several across begins, in dots of the printer's resolution.
struct LabelStock
{
    QSize label;
    QList<int> columnStarts;
    double dotsPerMm = 8;

    QRect labelRect(int column) const { return QRect(columnStarts.value(column), 0, label.width(), label.height()); }
    static LabelStock fromMillimetres(QSizeF labelMm, const QList<int> &columnStarts, int dpi);
};

// "Zebra - 3,0 x 1,7 - 3 colunas": the first "W x H" of a model description,
// read as centimetres as the suite's descriptions write them; in millimetres.
std::optional<QSizeF> labelSizeFromDescription(const QString &description);

// Where the labels begin across, as the file draws them: the leftmost element
// starts column 1, and an element a label's width or more to the right of a
// column's start begins the next one.
QList<int> columnStartsOf(const PrintImage &image, int labelWidth);

// What falls outside its label, or keeps a barcode's quiet zone outside it.
struct StockNote
{
    int element = 0;       // index in the image
    int column = 1;        // from 1
    bool outside = false;  // ink outside the label (false: only the quiet zone)
    QString message;       // "Código de barras 0,8 mm além da etiqueta na coluna 3"
};

QList<StockNote> checkAgainstStock(const PrintImage &image, const LabelStock &stock);

// The image at one dot a pixel on its stock: label outlines, whatever lies
// outside a label tinted red.
QImage paintOnStock(const PrintImage &image, const LabelStock &stock);
