#include "DrawnElementFactory.h"

const QList<DrawnElementButton> &drawnElementButtons()
{
    static const QList<DrawnElementButton> buttons = {
        {CellElement::Kind::Image, QStringLiteral("Logo"), QStringLiteral("ActNovoLogo"),
         QStringLiteral("Uma imagem na etiqueta, como o logotipo da farmácia (PNG, JPEG ou BMP)")},
        {CellElement::Kind::Line, QStringLiteral("Linha"), QStringLiteral("ActNovoLinha"), QStringLiteral("Uma linha reta, para separar partes da etiqueta")},
        {CellElement::Kind::Frame, QStringLiteral("Quadro"), QStringLiteral("ActNovoQuadro"), QStringLiteral("Um quadro em volta da etiqueta")},
        {CellElement::Kind::QrCode, QStringLiteral("QR"), QStringLiteral("ActNovoQR"),
         QStringLiteral("Um código QR: um endereço, o EAN do produto, ou os dois juntos")},
        {CellElement::Kind::Date, QStringLiteral("Data"), QStringLiteral("ActNovoData"),
         QStringLiteral("A data da impressão, ou uma data adiante, como a validade")},
    };
    return buttons;
}

CellElement newDrawnElement(CellElement::Kind kind, const SheetReport &report)
{
    const double width = report.grid.cellWidth;
    const double height = report.grid.cellHeight;
    CellElement e;
    e.kind = kind;
    switch (kind) {
    case CellElement::Kind::Image:
        // The pharmacy puts its logo beside the project file under this name.
        e.value = QStringLiteral("logo.png");
        e.box = QRectF(0, 0, std::min(20.0, width), std::min(8.0, height));
        break;
    case CellElement::Kind::Line:
        e.box = QRectF(0, 0, width, 0.3);
        break;
    case CellElement::Kind::Frame:
        e.box = QRectF(0, 0, width, height);
        e.thickness = 0.3;
        break;
    case CellElement::Kind::QrCode:
    case CellElement::Kind::DataMatrix:
        e.parts = {{QStringLiteral("https://"), false}, {QStringLiteral("CODIGOEAN"), true}};
        e.box = QRectF(0, 0, std::min({15.0, width, height}), std::min({15.0, width, height}));
        break;
    default:
        e.fontSize = 8;
        e.box = QRectF(0, 0, std::min(18.0, width), std::min(4.0, height));
        break;
    }
    return e;
}
