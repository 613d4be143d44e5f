// A clerk typing into the name box while the list is read off the window's
// thread: the read is held at its start on purpose, so every key surely comes
// during it. Keys that edit the box land at once and join the read under way;
// Enter and a quantity typed after it wait for the rows and then go where they
// would have gone had each key waited its turn; a message box raised meanwhile
// answers Enter; a key in the other box, which needs the rows in another
// order, makes the read under way give way. And a server that went away and
// came back between two keys: the next key says so in Portuguese, keeps the
// text, and the list is back.
#include "ListWindow.h"

#include "ListReads.h"
#include "PrivateServer.h"
#include "ProductSearch.h"
#include "SqlConnection.h"
#include "TDM.h"
#include "TFormSelvarra.h"
#include "TestSuite.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSqlQuery>
#include <QTableView>
#include <QTimer>
#include <QtTest>

namespace {

// A list as long as a large shop's, written in one statement (one transaction):
// names cycle through six kinds, so "Vitamina C" first finds product 4.
QString fillStatement(int products)
{
    return QStringLiteral(
               "execute block as declare i integer = 0; begin while (i < %1) do begin "
               "insert into TABREV1 (CODIGO, COMPONENTE, PRECO1) values ('R' || lpad(:i, 6, '0'), "
               "decode(mod(:i, 6), 0, 'Sabonete', 1, 'Shampoo', 2, 'Creme', 3, 'Protetor solar', 4, 'Vitamina C', "
               "'Hidratante') || ' nº ' || lpad(:i, 5, '0'), 1.5); i = i + 1; end end")
        .arg(products);
}

} // namespace

class TstSearchTyping : public QObject
{
    Q_OBJECT

private slots:
    void typingDuringARead();
    void otherBoxMakesTheReadGiveWay();
    void serverLostBetweenTwoKeys();
};

void TstSearchTyping::typingDuringARead()
{
    ListWindow w;
    constexpr int products = 3000;
    QVERIFY(w.start());
    w.app.suite.exec(fillStatement(products));
    w.app.suite.disconnect();
    w.clickReopen();
    QCOMPARE(w.dm()->TabRev1->RecordCount(), products);

    TFormSelvarra *f = w.form();
    QLineEdit *box = f->EditPesqComp;
    box->setFocus();
    int readsInstalled = 0;
    QObject typist;
    connect(w.dm()->TabRev1, &ClientDataSet::dataChanged, &typist, [&] { ++readsInstalled; });

    HeldReads held(f);
    QWindow *window = f->windowHandle();
    const QString typed = QStringLiteral("Vitamina C");
    QTest::keyClick(window, typed.at(0).toLatin1());
    QVERIFY(held.waitBegun(1));
    for (int i = 1; i < typed.size(); ++i)
        QTest::keyClick(window, typed.at(i).toLatin1());
    QTest::keyClick(window, Qt::Key_Return);
    QTest::keyClick(window, '3');

    // The read is still held: the text is all in, Enter and the quantity wait.
    QVERIFY(f->listReads()->reading());
    QCOMPARE(box->text(), typed);
    QVERIFY(box->hasFocus());
    QCOMPARE(readsInstalled, 0);

    // A box raised now (a failed print, say) answers its Enter at once.
    QMessageBox message(QMessageBox::Warning, QStringLiteral("Selvar"), QStringLiteral("A impressora não respondeu."),
                        QMessageBox::Ok, f);
    QTimer::singleShot(0, &message, [&message] { QTest::keyClick(&message, Qt::Key_Return); });
    QCOMPARE(message.exec(), int(QMessageBox::Ok));
    QVERIFY(f->listReads()->reading());
    QCOMPARE(held.begun(), 1);

    held.letGo();
    QVERIFY(w.settle());
    QCOMPARE(held.begun(), 1); // one read for the ten keys
    QCOMPARE(readsInstalled, 1);
    QCOMPARE(box->text(), typed);
    QCOMPARE(w.currentProduct(), QStringLiteral("Vitamina C nº 00004"));
    // The window's focus (the box raised meanwhile may have left no window active).
    QVERIFY(f->DBGrid1->isAncestorOf(f->focusWidget()));
    QCOMPARE(f->DBGrid1->currentIndex().row(), w.dm()->TabRev1->RecNo() - 1);
    QCOMPARE(f->DBGrid1->currentIndex().column(), 0);
    // The quantity typed after Enter is in the grid's editor, not in the box.
    auto *editor = qobject_cast<QLineEdit *>(f->DBGrid1->indexWidget(f->DBGrid1->currentIndex()));
    QVERIFY(editor);
    QCOMPARE(editor->text(), QStringLiteral("3"));
    QVERIFY(w.app.messages.isEmpty());
}

void TstSearchTyping::otherBoxMakesTheReadGiveWay()
{
    ListWindow w;
    QVERIFY(w.start());
    w.app.suite.exec(fillStatement(600));
    w.app.suite.disconnect();
    w.clickReopen();

    TFormSelvarra *f = w.form();
    HeldReads held(f);
    f->EditPesqComp->setFocus();
    QTest::keyClick(f->windowHandle(), 'S');
    QVERIFY(held.waitBegun(1));
    // The clerk thinks better of it and scans a code instead.
    f->EditPesqCod->setFocus();
    for (const char key : {'R', '0', '0', '0', '0', '1', '0'})
        QTest::keyClick(f->windowHandle(), key);
    held.letGo();
    QVERIFY(w.settle());

    QCOMPARE(w.dm()->SQLDS_TabRev1->CommandText(), ProductSearch::statementFor(ProductSearch::Column::Codigo));
    QCOMPARE(w.gridText(0, 1), QStringLiteral("Sabonete nº 00000"));
    QCOMPARE(w.gridText(1, 1), QStringLiteral("Shampoo nº 00001"));
    QCOMPARE(w.dm()->TabRev1->FieldByName(QStringLiteral("CODIGO")).AsString(), QStringLiteral("R000010"));
    QCOMPARE(f->EditPesqCod->text(), QStringLiteral("R000010"));
}

void TstSearchTyping::serverLostBetweenTwoKeys()
{
    PrivateServer server;
    SELVAR_START_PRIVATE_SUITE(server, database, TestSuite::Writes::Async);

    // The window starts on a suite of its own; its list then lives on the server.
    ListWindow w;
    QVERIFY(w.start());
    SqlConnection &connection = *w.dm()->SQLConnection1;
    connection.setDataBase(database);
    const QStringList names{"Creme dental", "Sabonete glicerinado", "Shampoo neutro"};
    for (int i = 0; i < names.size(); ++i)
        connection.ExecuteDirect(QStringLiteral("insert into TABREV1 (CODIGO, COMPONENTE) values ('%1', '%2')").arg(i).arg(names[i]));
    connection.ExecuteDirect(QStringLiteral("insert into ETIQPAR (MODELO, DESCRICAO, QDECOL) values ('02', 'A4 - Pimaco', 3)"));
    connection.ExecuteDirect(QStringLiteral("insert into ETIQCORR (MODELOCORRENTE) values ('02')"));
    w.clickReopen();
    QCOMPARE(w.dm()->TabRev1->RecordCount(), names.size());

    TFormSelvarra *f = w.form();
    QLineEdit *box = f->EditPesqComp;
    box->setFocus();
    QTest::keyClick(box, 'S');
    QCOMPARE(w.currentProduct(), QStringLiteral("Sabonete glicerinado"));

    server.kill();
    QVERIFY(server.start());
    QTest::keyClick(box, 'h');
    QVERIFY(w.settle());

    QCOMPARE(f->LabelPesquisa->text(), ProductSearch::connectionRemadeNotice());
    QCOMPARE(box->text(), QStringLiteral("Sh"));
    QVERIFY(box->hasFocus());
    QVERIFY2(w.app.messages.isEmpty(), qPrintable(w.app.messages.join(QLatin1Char('\n'))));
    QCOMPARE(f->DBGrid1->model()->rowCount(), names.size());
    QCOMPARE(w.currentProduct(), QStringLiteral("Shampoo neutro"));

    // Typing goes on as before.
    QTest::keyClick(box, Qt::Key_Backspace);
    QCOMPARE(w.currentProduct(), QStringLiteral("Sabonete glicerinado"));
    QVERIFY(w.settle());
    QCOMPARE(f->LabelPesquisa->text(), QString());

    // Lost again before a quantity is stored: it is stored all the same.
    server.kill();
    QVERIFY(server.start());
    w.typeInCell(w.dm()->TabRev1->RecNo() - 1, 0, QStringLiteral("4"));
    QVERIFY2(w.app.messages.isEmpty(), qPrintable(w.app.messages.join(QLatin1Char('\n'))));
    const SqlConnection::Use use(connection);
    QSqlQuery stored = connection.exec(QStringLiteral("select cast(QDE as integer) from TABREV1 where COMPONENTE = 'Sabonete glicerinado'"));
    QVERIFY(stored.next());
    QCOMPARE(stored.value(0).toInt(), 4);
}

QTEST_MAIN(TstSearchTyping)
#include "tst_search_typing.moc"
