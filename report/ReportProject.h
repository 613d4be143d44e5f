#pragma once

#include "BarCodeTipo.h"
#include "MatrixCode.h"
#include "PrinterBarcode.h"
#include "SheetGrid.h"

#include <QList>
#include <QPageLayout>
#include <QPageSize>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <optional>

// A report project as read from its file: several sheet reports, one of them
// marked active. Everything is in millimetres; line numbers are kept so that a
// fault found only at run time (a field the connection lacks) can still point at
// the line that caused it.

// A piece of what a 2D code carries: a fixed text or a field of the row.
struct ValuePart
{
    QString text;
    bool field = false;

    bool operator==(const ValuePart &other) const = default;
};

struct CellElement
{
    enum class Kind { Field, Text, Price, Barcode, Line, Frame, QrCode, DataMatrix, Date, Image };

    Kind kind = Kind::Text;
    QString value;        // the field name (Field, Price, Barcode), the fixed text (Text) or the picture's file (Image)
    QRectF box;           // inside the label cell; a line's box is the line itself
    QString fontFamily = QStringLiteral("Arial");
    double fontSize = 0;  // points; 0 for a barcode means "fit the legend to the symbol"
    bool bold = false;
    bool italic = false;
    bool wrap = false;
    Qt::Alignment alignment = Qt::AlignLeft;
    QString priceFormat = QStringLiteral("#,##0.00");
    TBarCodeTipo symbology = btCodeEAN13;
    PrinterSymbology printerSymbology = PrinterSymbology::Ean13; // thermal reports: CODE128 lets the printer pick subsets
    bool legend = true;
    int rotation = 0;     // degrees clockwise: 0, 90, 180 or 270 (texts, fields, prices, barcodes, dates)
    double thickness = 0; // mm, frames (lines keep theirs in the box)
    QList<ValuePart> parts; // 2D codes: what they carry, texts and fields joined
    QrLevel qrLevel = QrLevel::M;
    double moduleMm = 0;  // 2D codes: the module asked for; 0 takes the largest that fits
    QString dateFormat = QStringLiteral("dd/mm/aaaa");
    int dayOffset = 0;    // dates: days and months after the day of printing
    int monthOffset = 0;
    int threshold = 50;   // images on thermal labels: percent of brightness under which a dot prints
    bool dither = false;  // images on thermal labels: Floyd–Steinberg instead of the threshold
    int line = 0;
    // Who the element is while a designer edits it, whatever its place in the
    // list; 0 as read from a file (the file itself names elements by line).
    int id = 0;

    bool readsField() const { return kind == Kind::Field || kind == Kind::Price || kind == Kind::Barcode; }
    bool isTextLike() const { return kind == Kind::Field || kind == Kind::Text || kind == Kind::Price || kind == Kind::Date; }
    bool isMatrixCode() const { return kind == Kind::QrCode || kind == Kind::DataMatrix; }
    // Every field the element reads, for the check against the connection.
    QStringList fieldsRead() const;
    bool operator==(const CellElement &other) const = default;
};

// Every kind of element by the keyword that starts its line in a project
// file: the one table by which the parser reads an element's statement and
// the writer finds the element's line again to rewrite or drop it.
struct ElementKindName
{
    CellElement::Kind kind;
    QString keyword;
};
const QList<ElementKindName> &elementKinds();
// The kind a statement's keyword starts; none for a keyword of anything else.
std::optional<CellElement::Kind> elementKindFor(const QString &keyword);
// The keyword that starts the element's line in a project file.
QString elementKeyword(CellElement::Kind kind);

// A report for a label printer instead of a sheet: the printer's language
// and resolution, and the labels across its roll.
struct ThermalSetup
{
    PrinterLanguage language = PrinterLanguage::Zpl;
    int dpi = 203;
    int across = 1;
    double gap = 0;            // mm between two labels across
};

struct SheetReport
{
    QString name;
    QStringList modelPrefixes; // descriptions of label models this report serves
    QString connection = QStringLiteral("RvDataSetConnection1");
    QPageSize pageSize = QPageSize(QPageSize::A4);
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    SheetGrid grid;
    QPointF offset;            // calibration, added to the project's
    QList<CellElement> elements;
    std::optional<ThermalSetup> thermal; // set: a thermal report, grid.cellWidth/Height its label
    QString folder;            // where the project file is: images are found from it
    int line = 0;              // of its 'relatorio'
    int endLine = 0;           // of its 'fim': the block a designer rewrites in place

    // The paper as it lies in the printer, in millimetres.
    QSizeF paperSize() const;
};

struct ReportProject
{
    QString fileName;          // as the program names it, for messages
    QString name;
    QString activeReport;
    QPointF offset;            // calibration for every report of the project
    int offsetLine = 0;        // of the project's 'deslocamento', 0 when it has none
    int activeLine = 0;        // of 'ativo'
    QList<SheetReport> reports;

    const SheetReport *findReport(const QString &reportName) const;

    // The sheet report for a label model: the one whose model prefix is the
    // longest beginning of the description, else the active report.
    const SheetReport &reportFor(const QString &modelDescription) const;

    // The thermal report that lists the longest beginning of the description;
    // none when no thermal report lists one.
    const SheetReport *thermalReportFor(const QString &modelDescription) const;
};
