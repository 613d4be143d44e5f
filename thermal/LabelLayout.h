#pragma once

#include "PrintImage.h"
#include "MatrixCode.h"
#include "MonoPicture.h"
#include "PrinterBarcode.h"

#include <QByteArray>
#include <QList>

// A roll of labels several across and what each label carries, in printer
// dots, as a layout file describes it once its values are known. The writers
// turn one row of labels across into one command file; they fit texts and
// barcodes with the renderer's own measures, so what the preview shows is
// what the layout asked for.

struct RollSetup
{
    PrinterLanguage language = PrinterLanguage::Zpl;
    int dpi = 203;
    QSize label;        // dots
    int across = 1;
    int gap = 0;        // dots between two labels across

    int columnStart(int column) const { return column * (label.width() + gap); }
    int width() const { return columnStart(across - 1) + label.width(); }
};

struct ThermalElement
{
    enum class Kind { Text, Barcode, Line, Frame, MatrixCode, Graphic };

    Kind kind = Kind::Text;
    QRect box;                        // dots, inside the label
    QString value;
    // Texts: the character height in dots, cut to the box's width or wrapped
    // over its lines.
    int fontHeight = 0;
    bool wrap = false;
    Qt::Alignment alignment = Qt::AlignLeft;
    // Barcodes: the widest module with which symbol and quiet zones fit the box.
    PrinterSymbology symbology = PrinterSymbology::Ean13;
    bool legend = true;
    // Texts and barcodes: quarter turns clockwise, written with the printer's
    // own rotation; the box stays where it is and the element turns inside it.
    int quarterTurns = 0;
    // Frames: the border's thickness (a line is its box).
    int thickness = 1;
    // 2D codes: the module asked for (0: the largest that fits), centred in the box.
    MatrixSymbology matrix = MatrixSymbology::QrCode;
    QrLevel qrLevel = QrLevel::M;
    int module = 0;
    // Graphics: the 1-bit picture (monoPicture), centred in the box; sent
    // inside the label, or recalled by the name the job stored it under
    // (storePictures) when `storedAs` is set.
    QImage picture;
    QString storedAs;
};

using LabelContent = QList<ThermalElement>; // an empty list leaves the label blank

// One command file: the set-up, the labels of one row (at most `across`), print.
QByteArray writeCommandFile(const RollSetup &roll, const QList<LabelContent> &row);

// Pictures a job stores in the printer once, before its first label, to be
// recalled by name in every label: ZPL ~DG (to the printer's memory R:),
// EPL2 GM (a PCX image; GK first, as a name is stored once).
struct StoredPicture
{
    QString name;       // 1 to 8 letters and digits
    QImage picture;     // 1 bit a dot (monoPicture)
};
QByteArray storePictures(const RollSetup &roll, const QList<StoredPicture> &pictures);

// Whether the language's writer has the symbology (EPL2: all; ZPL: EAN-13,
// Code 128 and Code 39).
bool languageHasSymbology(PrinterLanguage language, PrinterSymbology symbology);

// Dots a barcode of these modules needs with its quiet zones at one dot a module.
int minimumBarcodeWidth(PrinterSymbology symbology, const QString &sampleData);

// The module (dots) a barcode element is written with: the widest with which
// symbol and quiet zones fit its box, at most 10; 0 when not even one dot does.
int barcodeModule(const ThermalElement &element);

// A 2D code element's symbol and the module it is written with in the
// language (0 when its box cannot hold it; a ZPL QR at most 10 dots a
// module); nothing when the symbology cannot hold the value.
struct PlacedMatrix
{
    MatrixCode code;
    int module = 0;
    QRect symbol;       // dots, inside the label: the symbol without its quiet zones
};
std::optional<PlacedMatrix> placedMatrix(const ThermalElement &element, PrinterLanguage language);

// Whether a text element prints less than its whole value (cut at its box's
// width, or more lines than its box holds).
bool textIsCut(const RollSetup &roll, const ThermalElement &element);
