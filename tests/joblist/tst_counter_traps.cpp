// Keys a clerk did not mean, a barcode scanner and another station, at the
// real window: none of them throws away or changes what was typed. Every key
// is a real key event on the widget that has the focus.
#include "ClickAndWait.h"
#include "HandOverIdle.h"
#include "ListWindow.h"
#include "MessageBoxSink.h"
#include "PrintHandOver.h"
#include "ProcessStarter.h"

#include "DataSource.h" // before DataSetModel.h, which needs it whole
#include "CurrentModel.h"
#include "DataSetModel.h"
#include "ListGridDelegate.h"
#include "SuiteJob.h"
#include "TDM.h"
#include "TFormSelvarra.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QWheelEvent>
#include <QFrame>
#include <QtTest>

namespace {

// In list order (by name). Two registrations of one toothpaste share an EAN;
// the vitamin's code, without its zeros, is the soap's EAN.
const ListWindow::ShelfProduct Products[] = {
    {"100", "Creme Dental Menta 90 g", "7891000315507"},
    {"200", "Creme Dental Menta 90 g (novo)", "7891000315507"},
    {"10004", "Creme Hidratante Ureia 10% 100 g", "7899876000282"},
    {"1234", "Lixa de Unha", "78912344"},
    {"10023", "Própolis Extrato Verde 30 ml", "7899876001616"},
    {"20001", "Sabonete Glicerina 90 g", "12345"},
    {"00012345", "Vitamina C 1 g", "7899876000011"},
    {"10033", "Zinco Quelato 30 mg", "7899876002316"},
};

constexpr int kHandDelayMs = 90; // between two keys of a clerk's hand

} // namespace

class TstCounterTraps : public ListWindowTest
{
    Q_OBJECT

    TFormSelvarra *f() { return w->form(); }
    QWidget *focused() { return QApplication::focusWidget(); }

    QString stored(const QString &codigo) { return w->storedQuantity(codigo); }

    int rowOf(const QString &name)
    {
        for (int row = 0; row < f()->DBGrid1Model->rowCount(); ++row)
            if (w->gridText(row, 1) == name)
                return row;
        return -1;
    }

    // On the row's "Qtde.", the grid focused, as after a search and Enter.
    void toQuantity(const QString &name)
    {
        f()->DBGrid1->setCurrentIndex(f()->DBGrid1Model->index(rowOf(name), 0));
        f()->DBGrid1->setFocus();
    }

    // The first key opens the cell's editor; the others go to it; then Enter.
    void typeIntoGrid(const QString &text, int delayMs)
    {
        QTest::keyClick(f()->DBGrid1, text.at(0).toLatin1());
        QTest::keyClicks(focused(), text.mid(1), Qt::NoModifier, delayMs);
        // Enter closes the editor in a queued call: no wait between its press and release.
        if (delayMs > 0)
            QTest::qWait(delayMs);
        QTest::keyClick(focused(), Qt::Key_Return);
        QCoreApplication::processEvents(); // the grid commits the editor's text in a queued call
    }

    // The focused control is one the clerk sees: nothing lies over its middle.
    static bool seen(QWidget *widget)
    {
        if (!widget || !widget->isVisible())
            return false;
        QWidget *window = widget->window();
        QWidget *top = window->childAt(widget->mapTo(window, widget->rect().center()));
        return top && (top == widget || widget->isAncestorOf(top));
    }

    void screenshot(const QString &name, const QImage &image)
    {
        const QString folder = qEnvironmentVariable("SELVAR_SCREENSHOT_DIR");
        if (!folder.isEmpty())
            QVERIFY(image.save(QDir(folder).filePath(name)));
    }

private slots:
    void init()
    {
        ListWindowTest::init();
        if (QTest::currentTestFailed())
            return;
        w->addProducts(Products);
        w->clickBuild();
        QVERIFY(w->app.questions.isEmpty()); // an empty list asks nothing
    }

    void onlyWhatIsShownTakesKeys();
    void rebuildAsksFirst_data();
    void rebuildAsksFirst();
    void quantitiesTypedWhileWaitingAreAskedAbout();
    void codeInQuantity_data();
    void codeInQuantity();
    void largeQuantityIsConfirmed();
    void modelChangesOnlyOnPurpose();
    void codeBoxRule_data();
    void codeBoxRule();
    void escapeInASearchBox();
    void refusedQuantity_data();
    void refusedQuantity();
};

void TstCounterTraps::onlyWhatIsShownTakesKeys()
{
    w->typeInCell(rowOf(QStringLiteral("Zinco Quelato 30 mg")), 0, QStringLiteral("3"));
    for (const auto key : {Qt::Key_Backtab, Qt::Key_Tab}) {
        f()->DBLCB1->setFocus(Qt::TabFocusReason);
        for (int step = 0; step < 40; ++step) {
            QTest::keyClick(focused(), key, key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
            QVERIFY2(seen(focused()), qPrintable(QStringLiteral("%1 after %2 keys").arg(focused()->objectName()).arg(step + 1)));
        }
    }
    // Four Shift+Tab from the model box and Enter once rebuilt the list under
    // the clerk's quantities, and two closed the program.
    for (int backs : {2, 4}) {
        f()->DBLCB1->setFocus(Qt::TabFocusReason);
        for (int i = 0; i < backs; ++i)
            QTest::keyClick(focused(), Qt::Key_Backtab, Qt::ShiftModifier);
        QTest::keyClick(focused(), Qt::Key_Return);
        QVERIFY(f()->isVisible());
        QVERIFY(f()->PainelSelvarra->isVisible());
        // "Preços alterados" works on the list until its worker is done.
        QTRY_VERIFY(f()->BotSairMontEtiq->isEnabled());
        QVERIFY(w->settle());
    }
    QCOMPARE(stored(QStringLiteral("10033")), QStringLiteral("3"));
    QVERIFY(w->app.questions.isEmpty());

    // The main panel shown: the list panel's controls take no focus.
    w->clickClose();
    f()->BotSelvarProdRev->setFocus(Qt::TabFocusReason);
    for (int step = 0; step < 12; ++step) {
        QTest::keyClick(focused(), Qt::Key_Tab);
        QVERIFY2(seen(focused()) && !f()->PainelSelvarra->isAncestorOf(focused()), qPrintable(focused()->objectName()));
    }
}

void TstCounterTraps::rebuildAsksFirst_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("Não keeps the quantities") << false;
    QTest::newRow("Sim builds the list again") << true;
}

void TstCounterTraps::rebuildAsksFirst()
{
    QFETCH(bool, yes);
    w->typeInCell(rowOf(QStringLiteral("Lixa de Unha")), 0, QStringLiteral("2"));
    w->typeInCell(rowOf(QStringLiteral("Vitamina C 1 g")), 0, QStringLiteral("1,5"));
    w->clickClose();
    // Another station typed too: the count is the database's, not this window's.
    w->app.suite.exec(QStringLiteral("update TABREV1 set QDE = 2 where CODIGO = '10033'"));
    w->app.answerYes = yes;
    w->clickBuild();
    const QString question = QStringLiteral("A lista tem 6 etiquetas digitadas em 3 produtos. Montar a lista de novo "
                                            "apaga essas quantidades, também nas outras estações. Continuar?");
    QCOMPARE(w->app.questions, QStringList{question});
    if (yes) {
        QVERIFY(f()->PainelSelvarra->isVisible());
        QCOMPARE(w->app.suite.scalar(QStringLiteral("select count(QDE) from TABREV1")).toInt(), 0);
        return;
    }
    QVERIFY(!f()->PainelSelvarra->isVisible());
    QCOMPARE(stored(QStringLiteral("1234")), QStringLiteral("2"));
    QCOMPARE(stored(QStringLiteral("00012345")), QStringLiteral("1.5"));
    QCOMPARE(stored(QStringLiteral("10033")), QStringLiteral("2"));

    // The question as the clerk sees it, over the window.
    QImage shot = f()->grab().toImage();
    const std::unique_ptr<QMessageBox> box = questionBox(question, f());
    box->show(); // laid out as it shows, its text wrapped
    QVERIFY(QTest::qWaitForWindowExposed(box.get()));
    const QImage boxImage = box->grab().toImage();
    box->hide();
    QPainter painter(&shot);
    painter.drawImage((shot.width() - boxImage.width()) / 2, (shot.height() - boxImage.height()) / 2, boxImage);
    painter.end();
    screenshot(QStringLiteral("pergunta-montar-lista.png"), shot);
}

// Another station builds while this one waits in line, and a third types a
// quantity meanwhile: the count the clerk agreed to is no longer what the
// build would erase, so he is asked again before anything goes.
void TstCounterTraps::quantitiesTypedWhileWaitingAreAskedAbout()
{
    w->typeInCell(rowOf(QStringLiteral("Lixa de Unha")), 0, QStringLiteral("2"));
    w->clickClose();
    TDM other;
    other.SQLConnection1->setDataBase(w->dm()->SQLConnection1->DataBase());
    auto holder = std::make_unique<SuiteJob>(*other.SQLConnection1, QStringLiteral("09"), SuiteJob::Kind::ListBuild);
    // In the wait in line, after the first question was answered.
    QTest::mouseClick(f()->BotSelvarProdRev, Qt::LeftButton);
    QVERIFY(QTest::qWaitFor([&] {
        auto *panel = f()->findChild<QFrame *>(QStringLiteral("PainelEspera"));
        return panel && panel->isVisible();
    }, 60000));
    QCOMPARE(w->app.questions.size(), 1);
    w->app.suite.exec(QStringLiteral("update TABREV1 set QDE = 4 where CODIGO = '10033'"));
    holder.reset();
    QVERIFY(w->waitForBuild());
    QVERIFY(!holder);
    QCOMPARE(w->app.questions,
             QStringList({QStringLiteral("A lista tem 2 etiquetas digitadas em 1 produto. Montar a lista de novo apaga "
                                         "essas quantidades, também nas outras estações. Continuar?"),
                          QStringLiteral("A lista tem 6 etiquetas digitadas em 2 produtos. Montar a lista de novo apaga "
                                         "essas quantidades, também nas outras estações. Continuar?")}));
    QVERIFY(f()->PainelSelvarra->isVisible());
    QCOMPARE(w->app.suite.scalar(QStringLiteral("select count(QDE) from TABREV1")).toInt(), 0);
}

void TstCounterTraps::codeInQuantity_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("delayMs");
    QTest::addColumn<QString>("goesTo"); // empty: the cursor stays
    QTest::addColumn<QString>("line");
    QTest::newRow("scanned EAN-8") << "78912344" << 0 << "Lixa de Unha"
                                   << "O código 78912344 foi lido em \"Qtde.\": o cursor está em Lixa de Unha.";
    QTest::newRow("scanned internal code") << "1234" << 0 << "Lixa de Unha"
                                           << "O código 1234 foi lido em \"Qtde.\": o cursor está em Lixa de Unha.";
    QTest::newRow("EAN-13 typed by hand") << "7899876001616" << kHandDelayMs << "Própolis Extrato Verde 30 ml"
                                          << "O código 7899876001616 foi lido em \"Qtde.\": o cursor está em Própolis "
                                             "Extrato Verde 30 ml.";
    QTest::newRow("scanned code of no product") << "55555" << 0 << ""
                                                << "Nenhum produto tem o código ou EAN \"55555\"; a quantidade não mudou";
}

void TstCounterTraps::codeInQuantity()
{
    QFETCH(QString, entry);
    QFETCH(int, delayMs);
    QFETCH(QString, goesTo);
    QFETCH(QString, line);
    const QString zinco = QStringLiteral("Zinco Quelato 30 mg");
    w->typeInCell(rowOf(zinco), 0, QStringLiteral("2"));
    toQuantity(zinco);
    typeIntoGrid(entry, delayMs);
    QCOMPARE(stored(QStringLiteral("10033")), QStringLiteral("2"));
    QCOMPARE(w->gridText(rowOf(zinco), 0), QStringLiteral("2"));
    QCOMPARE(w->currentProduct(), goesTo.isEmpty() ? zinco : goesTo);
    QCOMPARE(f()->LabelPesquisa->text(), line);
    QVERIFY(f()->DBGrid1->hasFocus());
    QCOMPARE(f()->DBGrid1->currentIndex().column(), 0);
    QVERIFY(w->app.messages.isEmpty());
    QVERIFY(w->app.questions.isEmpty());
    // The next quantity goes where the cursor is.
    typeIntoGrid(QStringLiteral("5"), kHandDelayMs);
    QCOMPARE(w->gridText(f()->DBGrid1->currentIndex().row(), 0), QStringLiteral("5"));
}

void TstCounterTraps::largeQuantityIsConfirmed()
{
    const QString creme = QStringLiteral("Creme Hidratante Ureia 10% 100 g");
    toQuantity(creme);
    w->app.answerYes = false;
    typeIntoGrid(QStringLiteral("1234"), kHandDelayMs);
    QCOMPARE(w->app.questions, QStringList{QStringLiteral("Confirma 1.234 etiquetas de %1?").arg(creme)});
    QCOMPARE(stored(QStringLiteral("10004")), QString());
    // Back in the cell with the text, to mend it; the same text and Enter ask again.
    auto *editor = qobject_cast<QLineEdit *>(focused());
    QVERIFY(editor);
    QCOMPARE(editor->text(), QStringLiteral("1234"));
    w->app.answerYes = true;
    QTest::qWait(kHandDelayMs);
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    QCOMPARE(w->app.questions.size(), 2);
    QCOMPARE(stored(QStringLiteral("10004")), QStringLiteral("1234"));
    // 999 is a quantity like any other.
    toQuantity(QStringLiteral("Lixa de Unha"));
    typeIntoGrid(QStringLiteral("999"), kHandDelayMs);
    QCOMPARE(w->app.questions.size(), 2);
    QCOMPARE(stored(QStringLiteral("1234")), QStringLiteral("999"));
}

void TstCounterTraps::modelChangesOnlyOnPurpose()
{
    QVERIFY(QDir(w->app.suite.root()).mkpath(QStringLiteral("Interfac01")));
    QFile batch(w->app.suite.path(QStringLiteral("Interfac01/ImprEtiq.bat")));
    QVERIFY(batch.open(QIODevice::WriteOnly));
    batch.close();
    const ProcessStarter::Starter previous =
        ProcessStarter::setStarter([](const QString &, const QStringList &) { return true; });
    QComboBox *model = f()->DBLCB1;
    const QString zebra = ListWindow::modelDescriptions()[1];

    QLineEdit *byName = f()->EditPesqComp;
    byName->setFocus();
    QTest::keyClicks(byName, QStringLiteral("zinco"));
    QTest::keyClick(byName, Qt::Key_Return);
    typeIntoGrid(QStringLiteral("2"), kHandDelayMs);
    QVERIFY(clickAndWait(f()->btnEtiqSemPreco, f(), &TFormSelvarra::printEnded));
    QVERIFY(waitUntilIdle(*f()->printHandOver, 30000));
    ProcessStarter::setStarter(previous);
    // The clerk goes on in the box last used; Down there changes no model.
    QCOMPARE(focused(), byName);
    QTest::keyClick(focused(), Qt::Key_Down);
    QCOMPARE(model->currentText(), zebra);
    QCOMPARE(CurrentModel::code(*w->dm()), QStringLiteral("02"));

    // The closed box takes no arrow, page, letter or wheel.
    model->setFocus(Qt::TabFocusReason);
    for (const auto key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_PageDown, Qt::Key_End, Qt::Key_Home, Qt::Key_C})
        QTest::keyClick(model, key);
    const QPoint middle = model->rect().center();
    QWheelEvent wheel(middle, model->mapToGlobal(middle), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(model, &wheel);
    QCOMPARE(model->currentText(), zebra);
    QCOMPARE(CurrentModel::code(*w->dm()), QStringLiteral("02"));

    // Opened with Alt+Down, the list takes the choice.
    QTest::keyClick(model, Qt::Key_Down, Qt::AltModifier);
    QTRY_VERIFY(model->view()->isVisible());
    QTest::keyClick(model->view(), Qt::Key_Down);
    QTest::keyClick(model->view(), Qt::Key_Return);
    QCOMPARE(model->currentText(), ListWindow::modelDescriptions()[2]);
    QCOMPARE(CurrentModel::code(*w->dm()), QStringLiteral("03"));
    QVERIFY(w->app.messages.isEmpty());
}

void TstCounterTraps::codeBoxRule_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("found");
    QTest::addColumn<QString>("line");
    QTest::newRow("EAN of two products: the first, both named")
        << "7891000315507" << "Creme Dental Menta 90 g"
        << "O EAN 7891000315507 é de 2 produtos: Creme Dental Me… (100), Creme Dental Me… (200)";
    QTest::newRow("a code before another's EAN") << "00012345" << "Vitamina C 1 g" << "";
    QTest::newRow("the other's EAN padded as GTIN-14") << "00000000012345" << "Sabonete Glicerina 90 g" << "";
}

void TstCounterTraps::codeBoxRule()
{
    QFETCH(QString, typed);
    QFETCH(QString, found);
    QFETCH(QString, line);
    QLineEdit *byCode = f()->EditPesqCod;
    byCode->setFocus();
    QTest::keyClicks(byCode, typed);
    QTest::keyClick(byCode, Qt::Key_Return);
    QCOMPARE(w->currentProduct(), found);
    QCOMPARE(f()->LabelPesquisa->text(), line);
    QVERIFY(f()->DBGrid1->hasFocus());
    if (!line.isEmpty())
        screenshot(QStringLiteral("ean-compartilhado.png"), f()->grab().toImage());
}

void TstCounterTraps::escapeInASearchBox()
{
    for (QLineEdit *box : {f()->EditPesqComp, f()->EditPesqCod}) {
        box->setFocus();
        QTest::keyClicks(box, QStringLiteral("zi"));
        QTest::keyClick(box, Qt::Key_Escape);
        QVERIFY(w->settle());
        QVERIFY(f()->isVisible());
        QCOMPARE(box->text(), QString());
        QVERIFY(box->hasFocus());
        QCOMPARE(w->dm()->TabRev1->RecNo(), 1); // cleared: the first row
    }
    // In an empty box Escape is the window's, as everywhere else.
    QTest::keyClick(f()->EditPesqCod, Qt::Key_Escape);
    QVERIFY(!f()->isVisible());
}

void TstCounterTraps::refusedQuantity_data()
{
    QTest::addColumn<bool>("byEnter"); // else by moving to another row
    QTest::newRow("Enter") << true;
    QTest::newRow("another row") << false;
}

// Another station builds the list again while the clerk types: the product
// is no longer a resale one, so the new list lacks it.
void TstCounterTraps::refusedQuantity()
{
    QFETCH(bool, byEnter);
    const QString zinco = QStringLiteral("Zinco Quelato 30 mg");
    QLineEdit *editor = w->startTyping(rowOf(zinco), 0, QStringLiteral("3"));
    QVERIFY(editor);
    w->app.suite.exec(QStringLiteral("delete from TABREV1 where CODIGO = '10033'"));
    w->app.suite.exec(QStringLiteral("update TABREV1 set QDE = null"));
    if (byEnter) {
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
    } else {
        w->goToRow(0);
    }
    QTRY_COMPARE(w->app.messages,
                 QStringList{QStringLiteral("A lista foi montada de novo por outra estação e %1 não está mais nela; a "
                                            "quantidade 3 não foi gravada.")
                                 .arg(zinco)});
    QCOMPARE(f()->LabelPesquisa->text(), QStringLiteral("Não gravada: quantidade 3 de %1").arg(zinco));
    QCOMPARE(f()->DBGrid1Model->rowCount(), 7); // the list as it stands now
    QCOMPARE(rowOf(zinco), -1);
    // Typing goes on in the current list, with no other message.
    QTest::keyClicks(f()->EditPesqComp, QStringLiteral("lixa"));
    QTest::keyClick(f()->EditPesqComp, Qt::Key_Return);
    typeIntoGrid(QStringLiteral("4"), kHandDelayMs);
    QCOMPARE(stored(QStringLiteral("1234")), QStringLiteral("4"));
    QCOMPARE(w->app.messages.size(), 1);
}

QTEST_MAIN(TstCounterTraps)
#include "tst_counter_traps.moc"
