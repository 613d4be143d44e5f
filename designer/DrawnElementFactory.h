#pragma once

#include "ReportProject.h"

#include <QString>

// The designer's toolbar buttons for what a label draws besides texts and
// linear barcodes, and the element each one puts on the label: a logo, a
// line, a frame round the label, a QR code of the product's page, the date.
struct DrawnElementButton
{
    CellElement::Kind kind;
    QString text;       // "Logo", "Linha", ...
    QString objectName; // "ActNovoLogo", ...
    QString toolTip;    // what the button puts on the label, in a manager's words
};

const QList<DrawnElementButton> &drawnElementButtons();

// A new element of `kind` for `report`, at the label's top-left corner and
// sized to fit it (the window then moves it where the label has room).
CellElement newDrawnElement(CellElement::Kind kind, const SheetReport &report);
