#include "SheetLayout.h"

namespace {

struct Paper
{
    const char *name;
    double widthMm, lengthMm;
};
const Paper kLetter{"Letter", 215.9, 279.4};
const Paper kA4{"A4", 210, 297};

SheetLayout sheet(const char *windowClass, const char *title, const Paper &paper, int columns,
                  double top, double bottom, double left, double right, double columnSpace,
                  double cellHeight, double cellWidth)
{
    SheetLayout layout;
    layout.windowClass = QString::fromLatin1(windowClass);
    layout.title = QString::fromUtf8(title);
    layout.paper = QString::fromLatin1(paper.name);
    layout.paperWidthMm = paper.widthMm;
    layout.paperLengthMm = paper.lengthMm;
    layout.columns = columns;
    layout.topMm = top;
    layout.bottomMm = bottom;
    layout.leftMm = left;
    layout.rightMm = right;
    layout.columnSpaceMm = columnSpace;
    layout.cellHeightMm = cellHeight;
    layout.cellWidthMm = cellWidth;
    return layout;
}

LayoutElement element(const char *name, LayoutElement::Kind kind, const QString &content, const char *font,
                      double points, double left, double top)
{
    return {QString::fromLatin1(name), kind, content, QString::fromLatin1(font), points, left, top};
}

LayoutElement dbText(const char *name, const char *column, const char *font, double points, double left, double top)
{
    return element(name, LayoutElement::Kind::DbText, QString::fromLatin1(column), font, points, left, top);
}

SheetLayout &boundToJobTable(SheetLayout &layout)
{
    layout.dataSetName = QStringLiteral("TabRev2");
    layout.dataSourceName = QStringLiteral("dsTAbRev2");
    return layout;
}

SheetLayout relatorio()
{
    // Its title says A4; its paper has always been Letter.
    SheetLayout l = sheet("TFormRelatorio", " Formulário de 4 colunas x 15 linhas - 60 etiquetas - A4", kLetter, 4,
                          13, 11, 15, 13, 2, 16.98, 45.42);
    // "Preco" is a column the label job does not have.
    l.elements = {dbText("QRDBText2", "Componente", "Arial Narrow", 6, 0.22, 0.22),
                  dbText("QRDBText3", "Preco", "Arial", 8, 0.66, 11.91)};
    return l;
}

SheetLayout relat2()
{
    SheetLayout l = sheet("TFormRelat2", " Formulário de 6 colunas x 20 linhas - 120 etiquetas - A4", kA4, 6,
                          14, 10, 8, 7, 3, 19.84, 29.77);
    l.firstPageHeader = l.lastPageFooter = l.compression = true;
    l.elements = {dbText("QRDBText2", "Componente", "MS Sans Serif", 8, 0, 0.66),
                  element("qrlbl1", LayoutElement::Kind::Label, QStringLiteral("Preço R$:"), "MS Sans Serif", 8, 0, 3.53),
                  dbText("qrdbtxtPreco1", "Preco1", "Arial", 7, 15.88, 3.53)};
    l.hasBarcode = true;
    return boundToJobTable(l);
}

SheetLayout relCodBarra()
{
    SheetLayout l = sheet("TFormRelCodBarra", "  Formulário de 4 colunas x 15 linhas - 60 etiquetas - A4", kA4, 4,
                          0, 0, 8, 0, 4, 16.76, 47.40);
    l.elements = {dbText("QRDBText2", "Componente", "Arial Narrow", 6, 1.32, 0.66)};
    return boundToJobTable(l);
}

SheetLayout relCodBarra2()
{
    SheetLayout l = sheet("TFormRelCodBarra2", "  Formulário de 6 colunas x 20 linhas - 120 etiquetas - A4", kA4, 6,
                          10, 10, 10, 8, 3, 13.67, 29.32);
    return boundToJobTable(l);
}

// Built on the 6 x 20 layout: the same cell elements and barcode, with its own
// page and cell, and the product name moved and made smaller.
SheetLayout etiqAlca()
{
    const SheetLayout base = relat2();
    SheetLayout l = sheet("TFormEtiqAlca", "FormEtiqAlca", kLetter, 2, 1.5, 4, 28, 22, 2, 12.79, 81.80);
    l.firstPageHeader = base.firstPageHeader;
    l.lastPageFooter = base.lastPageFooter;
    l.compression = base.compression;
    l.elements = base.elements;
    l.elements[0].fontPoints = 6;
    l.elements[0].leftMm = 28.00;
    l.elements[0].topMm = 1.32;
    l.hasBarcode = base.hasBarcode;
    return boundToJobTable(l);
}

SheetLayout relat4()
{
    SheetLayout l = sheet("TFormRelat4", " Etiquetas - 4 colunas x 20 linhas - 80 etiquetas - Carta", kLetter, 4,
                          10, 10, 8, 7, 3, 12.57, 47.85);
    l.elements = {dbText("QRDBText1", "Componente", "Arial", 6, 0.22, 0.66)};
    return l;
}

SheetLayout relCodBarra4()
{
    SheetLayout l = sheet("TFormRelCodBarra4", "FormRelCodBarra4", kLetter, 4, 30, 10, 30, 10, 0, 12.57, 43.88);
    return boundToJobTable(l);
}

} // namespace

const QList<SheetLayout> &fixedSheetLayouts()
{
    static const QList<SheetLayout> layouts{relatorio(), relat2(),  relCodBarra(), relCodBarra2(),
                                            etiqAlca(),  relat4(),  relCodBarra4()};
    return layouts;
}
