// The barcode control: its defaults, the Tipo rule for LegendaPos, where the
// legend pieces land (recorded from the real Paint), the pixels its modules
// cover, the width it takes, and its click events.

#include "BarcodeText.h"
#include "TZetaDBBarcode.h"

#include <QPaintEngine>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

Q_DECLARE_METATYPE(QList<LegendPiece>)

namespace {

// Lets the test call the control's own Paint on any painter.
struct PaintProbe : TZetaDBBarcode {
    using TZetaDBBarcode::Paint;
};

// A paint device that keeps each text drawn on it with its top-left corner.
class TextRecorder : public QPaintDevice
{
public:
    QList<LegendPiece> pieces;
    QList<int> tops;

    QPaintEngine *paintEngine() const override { return &m_engine; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth: return 2000;
        case PdmHeight: return 200;
        case PdmDpiX: case PdmDpiY: case PdmPhysicalDpiX: case PdmPhysicalDpiY: return 96;
        case PdmDepth: return 32;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return int(devicePixelRatioFScale());
        default: return 1000;
        }
    }

private:
    class Engine : public QPaintEngine
    {
    public:
        explicit Engine(TextRecorder *owner) : QPaintEngine(AllFeatures), m_owner(owner) {}
        bool begin(QPaintDevice *) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState &) override {}
        void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
        void drawRects(const QRectF *, int) override {}
        void drawRects(const QRect *, int) override {}
        void drawPolygon(const QPointF *, int, PolygonDrawMode) override {}
        void drawPath(const QPainterPath &) override {}
        void drawTextItem(const QPointF &baseline, const QTextItem &item) override
        {
            const int ascent = QFontMetrics(item.font(), m_owner).ascent();
            m_owner->pieces.append({item.text(), qRound(baseline.x())});
            m_owner->tops.append(qRound(baseline.y()) - ascent);
        }
        Type type() const override { return User; }

    private:
        TextRecorder *m_owner;
    };
    mutable Engine m_engine{this};
};

QImage render(TZetaDBBarcode &control)
{
    QImage image(control.size(), QImage::Format_RGB32);
    image.fill(Qt::gray);
    control.render(&image);
    return image;
}

bool isBlack(const QImage &image, int x, int y)
{
    return image.pixelColor(x, y) == QColor(Qt::black);
}

} // namespace

class TstZetaDBBarcode : public QObject
{
    Q_OBJECT
private slots:
    void defaults();
    void tipoMovesLegendaPos_data();
    void tipoMovesLegendaPos();
    void storedLegendaPosSurvivesTipo();
    void legendPieces_data();
    void legendPieces();
    void ean13Pixels();
    void moduleColumns_data();
    void moduleColumns();
    void clicksRepaintAndNotify();
};

void TstZetaDBBarcode::defaults()
{
    PaintProbe control;
    QCOMPARE(control.texto(), QStringLiteral("789786260021"));
    QCOMPARE(control.tipo(), btCode128A);
    QCOMPARE(control.esquerda(), 10);
    QCOMPARE(control.superior(), 10);
    QCOMPARE(control.altura(), 60);
    QCOMPARE(control.legenda(), false);
    QCOMPARE(control.legendaPos(), 11);
    QCOMPARE(control.pen().width(), 1);
    QCOMPARE(control.dataField(), QString());
    QVERIFY(!control.dataSource());
    QCOMPARE(control.size(), QSize(260, 75));
    QVERIFY(!control.testAttribute(Qt::WA_NativeWindow));

    // Code 128 A of the default text: 12 characters, start, check and stop.
    TextRecorder recorder;
    QPainter painter(&recorder);
    control.Paint(painter);
    QCOMPARE(control.width(), 2 * 10 + 11 * 14 + 13);
    QCOMPARE(control.height(), 75);
    QVERIFY(recorder.pieces.isEmpty());

    // A second paint finds the width right and leaves it so.
    render(control);
    QCOMPARE(control.width(), 187);
}

void TstZetaDBBarcode::tipoMovesLegendaPos_data()
{
    QTest::addColumn<QList<int>>("tipos");
    QTest::addColumn<int>("legendaPos");

    QTest::newRow("EAN-13") << QList<int>{btCodeEAN13} << 2;
    QTest::newRow("UPC-A") << QList<int>{btCodeUPCA} << 2;
    QTest::newRow("EAN-13 then Code 39") << QList<int>{btCodeEAN13, btCode39} << 17;
    QTest::newRow("EAN-8") << QList<int>{btCodeEAN8} << 17;
    QTest::newRow("back to 128 A") << QList<int>{btCodeUPCA, btCode128A} << 17;
}

void TstZetaDBBarcode::tipoMovesLegendaPos()
{
    QFETCH(QList<int>, tipos);
    QFETCH(int, legendaPos);
    TZetaDBBarcode control;
    control.setEsquerda(17);
    control.setLegendaPos(40);
    for (const int tipo : tipos)
        control.setProperty("Tipo", QVariant::fromValue(TBarCodeTipo(tipo)));
    QCOMPARE(control.legendaPos(), legendaPos);
}

// A form applies its stored values in the declared property order, so a stored
// LegendaPos comes after Tipo and is what remains.
void TstZetaDBBarcode::storedLegendaPosSurvivesTipo()
{
    const QStringList stored{"Texto", "Tipo", "Esquerda", "Superior", "Altura", "Legenda",
                             "LegendaFont", "LegendaPos", "Pen", "DataField", "DataSource"};
    const QMetaObject &meta = TZetaDBBarcode::staticMetaObject;
    for (int i = 0; i < stored.size(); ++i)
        QCOMPARE(QString::fromLatin1(meta.property(meta.propertyOffset() + i).name()), stored[i]);

    TZetaDBBarcode control;
    const QVariantMap form{{"Tipo", QVariant::fromValue(btCodeEAN13)}, {"LegendaPos", 30}};
    for (const QString &name : stored) {
        if (form.contains(name))
            control.setProperty(qPrintable(name), form[name]);
    }
    QCOMPARE(control.tipo(), btCodeEAN13);
    QCOMPARE(control.legendaPos(), 30);
}

void TstZetaDBBarcode::legendPieces_data()
{
    QTest::addColumn<int>("tipo");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<int>("pen");
    QTest::addColumn<bool>("legenda");
    QTest::addColumn<QList<LegendPiece>>("pieces");

    // Esquerda 10: L = 10 + 2w + 3, R = 10 + 49w + 2 (EAN-13, UPC-A) or 10 + 35w + 2 (EAN-8).
    QTest::newRow("EAN-13") << int(btCodeEAN13) << "789786260021" << 1 << true
                            << QList<LegendPiece>{{"7", 2}, {"897862", 15}, {"600218", 61}};
    QTest::newRow("EAN-13 pen 2") << int(btCodeEAN13) << "789786260021" << 2 << true
                                  << QList<LegendPiece>{{"7", 2}, {"897862", 17}, {"600218", 110}};
    QTest::newRow("EAN-8 ignores LegendaPos") << int(btCodeEAN8) << "1234567" << 1 << true
                                              << QList<LegendPiece>{{"1234", 15}, {"5670", 47}};
    QTest::newRow("UPC-A check digit right of the bars") << int(btCodeUPCA) << "03600029145" << 1 << true
        << QList<LegendPiece>{{"0", 2}, {"36000", 15}, {"29145", 61}, {"2", 106}};
    QTest::newRow("2 of 5 without the added zero") << int(btCode2e5I) << "12a3" << 1 << true
                                                  << QList<LegendPiece>{{"123", 11}};
    QTest::newRow("128 C digits only") << int(btCode128C) << "12-34" << 1 << true
                                       << QList<LegendPiece>{{"1234", 10}};
    QTest::newRow("Code 39 text as is") << int(btCode39) << "a1" << 1 << true
                                        << QList<LegendPiece>{{"a1", 10}};
    QTest::newRow("no legend") << int(btCodeEAN13) << "789786260021" << 1 << false << QList<LegendPiece>{};
}

void TstZetaDBBarcode::legendPieces()
{
    QFETCH(int, tipo);
    QFETCH(QString, texto);
    QFETCH(int, pen);
    QFETCH(bool, legenda);
    QFETCH(QList<LegendPiece>, pieces);

    PaintProbe control;
    control.setTexto(texto);
    control.setTipo(TBarCodeTipo(tipo));
    control.setPen(QPen(Qt::black, pen));
    control.setLegenda(legenda);

    TextRecorder recorder;
    QPainter painter(&recorder);
    control.Paint(painter);
    QCOMPARE(recorder.pieces, pieces);
    for (const int top : recorder.tops)
        QCOMPARE(top, control.altura());
    // Written or not, the control takes the symbol's width.
    QCOMPARE(control.width(), 2 * 10 + int(control.Plan().modules.size()) * pen);
}

// The fixed layout's EAN-13: bars at x = 10 to 104, ordinary bars from y = 10
// to 60, guards to 72, 115 pixels wide.
void TstZetaDBBarcode::ean13Pixels()
{
    TZetaDBBarcode control;
    control.setTipo(btCodeEAN13);
    render(control);
    QCOMPARE(control.width(), 115);
    const QImage image = render(control);
    // Module 1 is a guard bar, module 6 an ordinary bar.
    QVERIFY(isBlack(image, 10, 10) && isBlack(image, 10, 71) && isBlack(image, 104, 71));
    QVERIFY(!isBlack(image, 10, 9) && !isBlack(image, 10, 72));
    QVERIFY(isBlack(image, 15, 59) && !isBlack(image, 15, 60));
    QCOMPARE(image.pixelColor(114, 74), QColor(Qt::white));
}

void TstZetaDBBarcode::moduleColumns_data()
{
    QTest::addColumn<int>("tipo");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<int>("pen");

    for (const int pen : {1, 2, 3, 4}) {
        const QByteArray w = QByteArray::number(pen);
        QTest::newRow(("Code 39 w" + w).constData()) << int(btCode39) << "SELVAR-1" << pen;
        QTest::newRow(("EAN-8 w" + w).constData()) << int(btCodeEAN8) << "5512345" << pen;
        QTest::newRow(("2 of 5 w" + w).constData()) << int(btCode2e5I) << "0123456789" << pen;
    }
}

// Every module covers exactly w pixel columns, bars black and spaces white,
// starting where the pen's outline reaches left of Esquerda.
void TstZetaDBBarcode::moduleColumns()
{
    QFETCH(int, tipo);
    QFETCH(QString, texto);
    QFETCH(int, pen);

    TZetaDBBarcode control;
    control.setTexto(texto);
    control.setTipo(TBarCodeTipo(tipo));
    control.setPen(QPen(Qt::black, pen));
    render(control);
    const QImage image = render(control);

    const QString modules = control.Plan().modules;
    const int first = control.esquerda() - (pen - 1) / 2;
    const int y = (control.superior() + control.altura()) / 2;
    for (int x = 0; x < image.width(); ++x) {
        const int k = (x - first) / pen;
        const bool bar = x >= first && k < modules.size() && IsBarModule(modules[k]);
        QVERIFY2(isBlack(image, x, y) == bar, qPrintable(QStringLiteral("x = %1").arg(x)));
    }
}

void TstZetaDBBarcode::clicksRepaintAndNotify()
{
    // On a shown form the control paints on its parent's surface and sizes
    // itself there.
    QWidget form;
    form.resize(400, 200);
    auto *control = new TZetaDBBarcode(&form);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTRY_COMPARE(control->width(), 187);
    QVERIFY(!control->internalWinId());

    QSignalSpy clicks(control, &TZetaDBBarcode::OnClick);
    QSignalSpy doubleClicks(control, &TZetaDBBarcode::OnDblClick);
    control->setTexto(QStringLiteral("1"));
    QTest::mouseClick(control, Qt::LeftButton);
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(doubleClicks.count(), 0);
    QTRY_COMPARE(control->width(), 2 * 10 + 11 * 3 + 13);

    QTest::mouseClick(control, Qt::RightButton);
    QCOMPARE(clicks.count(), 1);

    // The second press of a double click arrives as the double click itself;
    // its release is no further click.
    QTest::mouseClick(control, Qt::LeftButton);
    QTest::mouseDClick(control, Qt::LeftButton);
    QTest::mouseRelease(control, Qt::LeftButton);
    QCOMPARE(clicks.count(), 2);
    QCOMPARE(doubleClicks.count(), 1);
}

QTEST_MAIN(TstZetaDBBarcode)
#include "tst_zetadbbarcode.moc"
