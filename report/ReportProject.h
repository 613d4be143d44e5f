#pragma once

#include "BarCodeTipo.h"
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

struct CellElement
{
    enum class Kind { Field, Text, Price, Barcode };

    Kind kind = Kind::Text;
    QString value;        // the field name (Field, Price, Barcode) or the fixed text (Text)
    QRectF box;           // inside the label cell
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
    int line = 0;
    // Who the element is while a designer edits it, whatever its place in the
    // list; 0 as read from a file (the file itself names elements by line).
    int id = 0;

    bool readsField() const { return kind != Kind::Text; }
    bool operator==(const CellElement &other) const = default;
};

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
