// A clerk typing into the name box of a long list: keys typed while the list is
// read again all land in the box, do not each pay a read of their own, and the
// row found is the one for the final text; Enter and a quantity typed right
// after go where they would have gone had each key waited its turn. And a
// server that went away and came back between two keys: the next key says so
// in Portuguese, keeps the text, and the list is back.
#include "ListWindow.h"

#include "PrivateServer.h"
#include "ProductSearch.h"
#include "SqlConnection.h"
#include "TDM.h"
#include "TFormSelvarra.h"
#include "TestSuite.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
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
    void fastTypingOnALongList();
    void serverLostBetweenTwoKeys();
};

void TstSearchTyping::fastTypingOnALongList()
{
    ListWindow w;
    constexpr int products = 50000;
    QVERIFY(w.start());
    w.app.suite.exec(fillStatement(products));
    w.app.suite.disconnect();
    w.clickReopen();
    QCOMPARE(w.dm()->TabRev1->RecordCount(), products);

    TFormSelvarra *f = w.form();
    QLineEdit *box = f->EditPesqComp;
    box->setFocus();
    QVERIFY(box->hasFocus());

    // Every read that came to its end, and when; and when the cursor last moved
    // for the whole text, before Enter took the clerk to the grid.
    QElapsedTimer clock;
    QList<qint64> readsEnded;
    qint64 settledAt = -1;
    QObject typist; // goes before what its handlers touch
    connect(w.dm()->TabRev1, &ClientDataSet::dataChanged, &typist, [&] { readsEnded << clock.elapsed(); });
    connect(w.dm()->TabRev1, &ClientDataSet::currentChanged, &typist, [&] {
        if (box->hasFocus() && box->text() == QStringLiteral("Vitamina C"))
            settledAt = clock.elapsed();
    });

    // Ten keys 20 ms apart, then Enter and a quantity as fast: sent through the
    // window as the platform sends a keyboard's keys, each when its time comes
    // (a key whose time comes during a read waits for the window, as it would
    // in the platform's queue).
    const QString typed = QStringLiteral("Vitamina C");
    QWindow *window = f->windowHandle();
    clock.start();
    for (int i = 0; i < typed.size(); ++i)
        QTimer::singleShot(20 * i, &typist, [=] { QTest::keyClick(window, typed.at(i).toLatin1()); });
    const int lastKeyAt = 20 * (typed.size() - 1);
    QTimer::singleShot(lastKeyAt + 20, &typist, [=] { QTest::keyClick(window, Qt::Key_Return); });
    QTimer::singleShot(lastKeyAt + 40, &typist, [=] { QTest::keyClick(window, '3'); });

    QTRY_VERIFY_WITH_TIMEOUT(f->DBGrid1->indexWidget(f->DBGrid1->currentIndex()) != nullptr, 60000);
    QVERIFY(f->DBGrid1->isAncestorOf(QApplication::focusWidget()));

    QCOMPARE(box->text(), typed);
    QCOMPARE(w.currentProduct(), QStringLiteral("Vitamina C nº 00004"));
    QCOMPARE(f->DBGrid1->currentIndex().row(), w.dm()->TabRev1->RecNo() - 1);
    QCOMPARE(f->DBGrid1->currentIndex().column(), 0);
    // The quantity typed after Enter is in the grid's editor, not in the box.
    auto *editor = qobject_cast<QLineEdit *>(f->DBGrid1->indexWidget(f->DBGrid1->currentIndex()));
    QVERIFY(editor);
    QCOMPARE(editor->text(), QStringLiteral("3"));
    QVERIFY2(!readsEnded.isEmpty(), "the list was never read again");
    QVERIFY2(readsEnded.size() < typed.size(), qPrintable(QStringLiteral("%1 reads for %2 keys").arg(readsEnded.size()).arg(typed.size())));
    QVERIFY(w.app.messages.isEmpty());
    QVERIFY2(settledAt >= 0, "the cursor never moved for the whole text");
    qInfo("%lld reads completed for %lld keys; the last ended %lld ms and the cursor settled %lld ms after the last key was due",
          qlonglong(readsEnded.size()), qlonglong(typed.size()), readsEnded.last() - lastKeyAt, settledAt - lastKeyAt);
}

void TstSearchTyping::serverLostBetweenTwoKeys()
{
    PrivateServer server;
    QString why;
    if (!server.prepare(&why)) {
        if (qEnvironmentVariable("CI") == QLatin1String("true"))
            QFAIL(qPrintable(why));
        QSKIP(qPrintable(why));
    }
    QVERIFY(server.start());
    const QString database = server.databaseText(QStringLiteral("boticon.bd"));
    QString error;
    QVERIFY2(TestSuite::createDatabase(database, &error), qPrintable(error));

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

    QCOMPARE(f->LabelPesquisa->text(), ProductSearch::connectionRemadeNotice());
    QCOMPARE(box->text(), QStringLiteral("Sh"));
    QVERIFY(box->hasFocus());
    QVERIFY2(w.app.messages.isEmpty(), qPrintable(w.app.messages.join(QLatin1Char('\n'))));
    QCOMPARE(f->DBGrid1->model()->rowCount(), names.size());
    QCOMPARE(w.currentProduct(), QStringLiteral("Shampoo neutro"));

    // Typing goes on as before.
    QTest::keyClick(box, Qt::Key_Backspace);
    QCOMPARE(w.currentProduct(), QStringLiteral("Sabonete glicerinado"));
    QCOMPARE(f->LabelPesquisa->text(), QString());
}

QTEST_MAIN(TstSearchTyping)
#include "tst_search_typing.moc"
