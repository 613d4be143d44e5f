// Typing into the product list: a row is stored by Enter and when it is left,
// what is typed in a row not yet left is stored when the list closes, and the
// cells refuse what their columns cannot hold with a message that says so.
#include "ListWindow.h"

#include "DataSource.h" // before DataSetModel.h, which needs it whole
#include "DataSetModel.h"
#include "SelvarProgram.h"
#include "TFormSelvarra.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QToolTip>
#include <QtTest>

class TstListEntry : public ListWindowTest
{
    Q_OBJECT

private slots:
    void init()
    {
        ListWindowTest::init();
        if (QTest::currentTestFailed())
            return;
        w->addProduct(QStringLiteral("A1"), QStringLiteral("Água de colônia"), QStringLiteral("7891000000011"), QStringLiteral("30"));
        w->addProduct(QStringLiteral("B2"), QStringLiteral("Bálsamo labial"), QStringLiteral("7891000000022"), QStringLiteral("5"));
        w->addProduct(QStringLiteral("C3"), QStringLiteral("Creme dental"), QStringLiteral("7891000000033"), QStringLiteral("7"));
        w->clickBuild();
    }

    void quantitiesStoredByEnterAndWhenTheRowIsLeft();
    void quantityOfARowNotLeftIsStoredOnClose();
    void refusedNumbers_data();
    void refusedNumbers();
    void acceptedNumbers_data();
    void acceptedNumbers();
    void eanCellTakesThirteenCharacters();
    void eanThatWouldPrintWrongShowsRed();
};

void TstListEntry::quantitiesStoredByEnterAndWhenTheRowIsLeft()
{
    // By name: Bálsamo (B2), Creme (C3), Água (A1): "Á" sorts after the plain letters.
    w->typeInCell(0, 0, QStringLiteral("5"));
    QCOMPARE(w->storedQuantity(QStringLiteral("B2")), QStringLiteral("5"));
    // A cell left with Tab keeps the row open until the row is left.
    QLineEdit *editor = w->startTyping(1, 0, QStringLiteral("2,5"));
    QVERIFY(editor);
    QTest::keyClick(editor, Qt::Key_Tab);
    QCOMPARE(w->storedQuantity(QStringLiteral("C3")), QString());
    w->goToRow(2);
    QCOMPARE(w->storedQuantity(QStringLiteral("C3")), QStringLiteral("2.5"));

    w->clickClose();
    w->clickReopen();
    QCOMPARE(w->gridText(0, 0), QStringLiteral("5"));
    QCOMPARE(w->gridText(1, 0), QStringLiteral("2,5"));

    // A later run of the program reopens the same list, quantities and all.
    QVERIFY(w->app.start());
    w->clickReopen();
    QCOMPARE(w->gridText(1, 0), QStringLiteral("2,5"));
    QVERIFY(w->app.messages.isEmpty());
}

void TstListEntry::quantityOfARowNotLeftIsStoredOnClose()
{
    // Typed, the cell still open, and "Fechar" pressed without taking the focus.
    QLineEdit *editor = w->startTyping(0, 0, QStringLiteral("7"));
    QVERIFY(editor);
    w->form()->BotSairMontEtiq->click(); // as its Alt+A does, the focus staying in the cell
    QVERIFY(w->settle()); // the list closes once the quantity is stored
    QVERIFY(!w->form()->PainelSelvarra->isVisible());
    QCOMPARE(w->storedQuantity(QStringLiteral("B2")), QStringLiteral("7"));
    w->clickReopen();
    QCOMPARE(w->gridText(0, 0), QStringLiteral("7"));
}

void TstListEntry::refusedNumbers_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("title");
    QTest::newRow("letters as a quantity") << 0 << "abc" << "Qtde.";
    QTest::newRow("two decimal commas") << 0 << "1,2,3" << "Qtde.";
    QTest::newRow("more than 12 whole digits") << 0 << "1234567890123" << "Qtde.";
    QTest::newRow("letters as a price") << 3 << "R$ 5" << "Preço";
    // A point is neither a thousands mark nor a decimal point here.
    QTest::newRow("point as a thousands mark") << 0 << "1.000" << "Qtde.";
    QTest::newRow("point as a decimal point") << 3 << "3.99" << "Preço";
    QTest::newRow("exponent") << 0 << "1e3" << "Qtde.";
}

void TstListEntry::refusedNumbers()
{
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(QString, title);
    w->typeInCell(0, 2, QStringLiteral("7890000000001"));
    w->typeInCell(0, column, typed);
    QCOMPARE(w->app.messages,
             QStringList{QStringLiteral("\"%1\" não é um valor válido para a coluna \"%2\". Digite um número, por exemplo 3 ou 2,5.")
                             .arg(typed, title)});
    // The refused text reaches nothing; the code typed before it is stored with the row.
    w->goToRow(1);
    const QList<QVariantList> row = w->app.suite.rows(QStringLiteral("select QDE, CODIGOEAN, PRECO1 from TABREV1 where CODIGO = 'B2'"));
    QCOMPARE(row.size(), 1);
    QVERIFY(row[0][0].isNull());
    QCOMPARE(row[0][1].toString(), QStringLiteral("7890000000001"));
    QCOMPARE(row[0][2].toString(), QStringLiteral("5"));
}

void TstListEntry::acceptedNumbers_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored"); // as the database gives it back
    QTest::newRow("decimal comma") << 0 << "2,5" << "2.5";
    QTest::newRow("blanks around") << 0 << " 7 " << "7";
    QTest::newRow("negative") << 0 << "-1" << "-1";
    QTest::newRow("price with a comma") << 3 << "3,99" << "3.99";
}

void TstListEntry::acceptedNumbers()
{
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    w->typeInCell(0, column, typed);
    w->goToRow(1);
    const char *name = column == 0 ? "QDE" : "PRECO1";
    QCOMPARE(w->app.suite.scalar(QStringLiteral("select %1 from TABREV1 where CODIGO = 'B2'").arg(QLatin1String(name))).toString(),
             stored);
    QVERIFY(w->app.messages.isEmpty());
}

void TstListEntry::eanCellTakesThirteenCharacters()
{
    w->typeInCell(0, 2, QStringLiteral("789123456789012"));
    w->goToRow(1);
    QCOMPARE(w->app.suite.scalar(QStringLiteral("select CODIGOEAN from TABREV1 where CODIGO = 'B2'")).toString(),
             QStringLiteral("7891234567890"));
}

namespace {

// Pixels of the cell drawn in a strong red, as the grid paints it on screen.
int redPixels(QTableView *grid, const QModelIndex &cell)
{
    const QImage image = grid->viewport()->grab().toImage();
    const QRect area = grid->visualRect(cell) & image.rect();
    int red = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            red += c.red() > 180 && c.green() < 90 && c.blue() < 90;
        }
    return red;
}

QString tooltipOf(QTableView *grid, const QModelIndex &cell)
{
    QToolTip::hideText();
    const QPoint at = grid->visualRect(cell).center();
    QHelpEvent help(QEvent::ToolTip, at, grid->viewport()->mapToGlobal(at));
    QApplication::sendEvent(grid->viewport(), &help);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

} // namespace

// A "Código EAN" that would not print as stored is red, its tooltip says why;
// a sound one, or an empty one, looks as any other cell.
void TstListEntry::eanThatWouldPrintWrongShowsRed()
{
    // Rows by name: Bálsamo, Creme, Água.
    w->typeInCell(0, 2, QStringLiteral("7891000000014"));
    w->typeInCell(1, 2, QStringLiteral("7896004703397"));
    w->typeInCell(2, 2, QStringLiteral("789-100000001"));
    QTableView *grid = w->form()->DBGrid1;
    grid->setCurrentIndex(grid->model()->index(0, 0));
    const QModelIndex sound = grid->model()->index(0, 2), wrongDigit = grid->model()->index(1, 2),
                      notDigits = grid->model()->index(2, 2);
    QCOMPARE(redPixels(grid, sound), 0);
    QVERIFY(redPixels(grid, wrongDigit) > 20);
    QVERIFY(redPixels(grid, notDigits) > 20);
    QCOMPARE(tooltipOf(grid, sound), QString());
    QCOMPARE(tooltipOf(grid, wrongDigit),
             QStringLiteral("Código EAN inválido: dígito verificador errado: o último dígito deveria ser 8."));
    QCOMPARE(tooltipOf(grid, notDigits), QStringLiteral("Código EAN inválido: tem caracteres que não são dígitos."));
    // The product names beside them stay black.
    QCOMPARE(redPixels(grid, grid->model()->index(1, 1)), 0);
}

QTEST_MAIN(TstListEntry)
#include "tst_list_entry.moc"
