// Building the ready-made product list through the real window: the rows stored,
// the build log, the loading bar, the list panel and the current-model box.
#include "ListWindow.h"

#include "DataSource.h" // before DataSetModel.h, which needs it whole
#include "DataSetModel.h"
#include "TDM.h"
#include "TFormSelvarra.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

class TstListBuild : public ListWindowTest
{
    Q_OBJECT

private slots:
    void buildStoresEveryNamedResaleProductOnce();
    void twoRefusalsInARow();
    void priceRoundedAsTheDatabaseCastsIt();
    void buildWithoutResaleProducts();
    void modelBoxAndTheChoiceMadeInIt();
    void unknownCurrentModelShowsNothing();
    void lostDatabaseEndsTheBuild();
    void lostBeforeAnyRowIsRetriedOnce();
    void cancelKeepsThePreviousList();
    void escapeCancelsTheBuild();
};

void TstListBuild::buildStoresEveryNamedResaleProductOnce()
{
    // By name: (empty name), Bálsamo, Creme, Desodorante, Esfoliante, Xampu. Desodorante's
    // code agrees with Creme's in its first 13 characters, Xampu's with Bálsamo's.
    w->addProduct(QStringLiteral("1000000000001"), QStringLiteral("Bálsamo labial"), QStringLiteral("7891000000011"), QStringLiteral("3.5"));
    w->addProduct(QStringLiteral("20000000000010A"), QStringLiteral("Creme hidratante"), QStringLiteral("789100000002255"), QStringLiteral("12.9"));
    w->addProduct(QStringLiteral("20000000000010B"), QStringLiteral("Desodorante"), QStringLiteral("7891000000033"), QStringLiteral("8"));
    w->addProduct(QStringLiteral("3000000000003"), QStringLiteral("Esfoliante"), QStringLiteral("7891000000044"), QVariant());
    w->addProduct(QStringLiteral("4000000000004"), QString(), QStringLiteral("7891000000055"), QStringLiteral("1"));
    w->addProduct(QStringLiteral("5000000000005"), QStringLiteral("Fita crepe"), QStringLiteral("7891000000066"), QStringLiteral("2"), QStringLiteral("MP"));
    w->addProduct(QStringLiteral("1000000000001X"), QStringLiteral("Xampu"), QStringLiteral("7891000000077"), QStringLiteral("20"));

    // Looked at from inside the build, held on its worker after the first product.
    {
        HeldBuild held(w->form(), 1);
        QTest::mouseClick(w->form()->BotSelvarProdRev, Qt::LeftButton);
        QVERIFY(held.waitReached());
        TFormSelvarra *f = w->form();
        QTRY_VERIFY(f->Gauge1->isVisible());
        QVERIFY(!f->BotSelvarProdRev->isEnabled() && !f->btnConfigEtiq->isEnabled() && !f->BotSair->isEnabled());
        held.letGo();
        QVERIFY(w->waitForBuild());
    }

    QCOMPARE(w->storedList(), (QStringList{
                                  QStringLiteral("1000000000001|Bálsamo labial||7891000000011|3.5"),
                                  QStringLiteral("2000000000001|Creme hidratante||7891000000022|12.9"),
                                  QStringLiteral("3000000000003|Esfoliante||7891000000044|"),
                              }));
    QCOMPARE(w->log(), (QStringList{
                           QStringLiteral("Código: 7891000000011  Componente: Bálsamo labial"),
                           QStringLiteral("CódigoEAN: 7891000000011  Preco: 3,5"),
                           QStringLiteral("Código: 789100000002255  Componente: Creme hidratante"),
                           QStringLiteral("CódigoEAN: 789100000002255  Preco: 12,9"),
                           QStringLiteral("Código: 7891000000033  Componente: Desodorante"),
                           QStringLiteral("CódigoEAN: 7891000000033  Preco: 8"),
                           QStringLiteral("Componente com nome e código duplicado."),
                           QStringLiteral("Código: 7891000000033  Componente: Desodorante"),
                           QStringLiteral("vou dar o edit pq o componente já existe"),
                           QStringLiteral("Código: 7891000000044  Componente: Esfoliante"),
                           QStringLiteral("CódigoEAN: 7891000000044  Preco: "),
                           QStringLiteral("Código: 7891000000077  Componente: Xampu"),
                           QStringLiteral("CódigoEAN: 7891000000077  Preco: 20"),
                           QStringLiteral("Componente com nome e código duplicado."),
                           QStringLiteral("Código: 7891000000077  Componente: Xampu"),
                       }));

    TFormSelvarra *f = w->form();
    QCOMPARE(f->Gauge1->maximum(), 6); // the nameless product counts too
    QCOMPARE(f->Gauge1->value(), 6);
    QVERIFY(!f->Gauge1->isVisible());
    QVERIFY(f->PainelSelvarra->isVisible());
    QCOMPARE(w->dm()->SQLDS_TabRev1->CommandText(),
             QStringLiteral("Select CODIGO, COMPONENTE, QDE, CODIGOEAN, PRECO1 from TABREV1 order by COMPONENTE, CODIGO"));
    QCOMPARE(f->DBGrid1Model->rowCount(), 3);
    QCOMPARE(w->gridText(0, 1), QStringLiteral("Bálsamo labial"));
    QCOMPARE(w->gridText(0, 3), QStringLiteral("3,50"));
    QCOMPARE(w->gridText(1, 3), QStringLiteral("12,90"));
    QCOMPARE(w->currentProduct(), QStringLiteral("Bálsamo labial"));
    QCOMPARE(f->DBGrid1->currentIndex().column(), 0);
    QVERIFY(f->DBGrid1->hasFocus()); // where the selected cell shows, not in the model box
    QVERIFY(f->mainActionsEnabled());
    QVERIFY(w->app.messages.isEmpty());
}

// Beta and Cera both cut to Alfa's code: each is refused in turn, and the row
// left pending by the second is the one Delta then takes over and stores.
void TstListBuild::twoRefusalsInARow()
{
    w->addProduct(QStringLiteral("1000000000001"), QStringLiteral("Alfa"), QStringLiteral("7891000000011"), QStringLiteral("1"));
    w->addProduct(QStringLiteral("1000000000001B"), QStringLiteral("Beta"), QStringLiteral("7891000000022"), QStringLiteral("2"));
    w->addProduct(QStringLiteral("1000000000001C"), QStringLiteral("Cera"), QStringLiteral("7891000000033"), QStringLiteral("3"));
    w->addProduct(QStringLiteral("2000000000002"), QStringLiteral("Delta"), QStringLiteral("7891000000044"), QStringLiteral("4"));
    w->clickBuild();
    QCOMPARE(w->log(), (QStringList{
                           QStringLiteral("Código: 7891000000011  Componente: Alfa"),
                           QStringLiteral("CódigoEAN: 7891000000011  Preco: 1"),
                           QStringLiteral("Código: 7891000000022  Componente: Beta"),
                           QStringLiteral("CódigoEAN: 7891000000022  Preco: 2"),
                           QStringLiteral("Componente com nome e código duplicado."),
                           QStringLiteral("Código: 7891000000022  Componente: Beta"),
                           QStringLiteral("vou dar o edit pq o componente já existe"),
                           QStringLiteral("Código: 7891000000033  Componente: Cera"),
                           QStringLiteral("CódigoEAN: 7891000000033  Preco: 3"),
                           QStringLiteral("Componente com nome e código duplicado."),
                           QStringLiteral("Código: 7891000000033  Componente: Cera"),
                           QStringLiteral("vou dar o edit pq o componente já existe"),
                           QStringLiteral("Código: 7891000000044  Componente: Delta"),
                           QStringLiteral("CódigoEAN: 7891000000044  Preco: 4"),
                       }));
    QCOMPARE(w->storedList(), (QStringList{QStringLiteral("1000000000001|Alfa||7891000000011|1"),
                                           QStringLiteral("2000000000002|Delta||7891000000044|4")}));
    QVERIFY(w->app.messages.isEmpty());
}

// A price with more decimals than PRECO1 holds is rounded half away from zero,
// as Firebird's own cast to two decimals rounds it.
void TstListBuild::priceRoundedAsTheDatabaseCastsIt()
{
    w->addProduct(QStringLiteral("A"), QStringLiteral("Alfa"), QString(), QStringLiteral("1.005"));
    w->addProduct(QStringLiteral("B"), QStringLiteral("Beta"), QString(), QStringLiteral("2.675"));
    w->addProduct(QStringLiteral("C"), QStringLiteral("Cera"), QString(), QStringLiteral("-1.005"));
    w->addProduct(QStringLiteral("D"), QStringLiteral("Delta"), QString(), QStringLiteral("0.00499999"));
    w->clickBuild();
    QCOMPARE(w->storedList(), (QStringList{QStringLiteral("A|Alfa|||1.01"), QStringLiteral("B|Beta|||2.68"),
                                           QStringLiteral("C|Cera|||-1.01"), QStringLiteral("D|Delta|||0")}));
    const QList<QVariantList> casts = w->app.suite.rows(QStringLiteral(
        "select cast(cast(PRECOR as numeric(15,2)) as varchar(20)), (select cast(PRECO1 as varchar(20)) from TABREV1 t "
        "where t.CODIGO = c.CODIGO) from COMPONEN c order by CODIGO"));
    QCOMPARE(casts.size(), 4);
    for (const QVariantList &row : casts)
        QCOMPARE(row[1].toString(), row[0].toString());
    QCOMPARE(w->gridText(0, 3), QStringLiteral("1,01"));
}

void TstListBuild::buildWithoutResaleProducts()
{
    w->addProduct(QStringLiteral("1"), QStringLiteral("Matéria-prima"), QString(), QStringLiteral("1"), QStringLiteral("MP"));
    w->clickBuild();
    TFormSelvarra *f = w->form();
    QVERIFY(w->storedList().isEmpty());
    QCOMPARE(f->Gauge1->maximum(), 0);
    QCOMPARE(f->mmo1->toPlainText(), QString());
    QVERIFY(f->PainelSelvarra->isVisible());
    QCOMPARE(f->DBGrid1Model->rowCount(), 0);
    QVERIFY(f->DBGrid1->hasFocus());
    QVERIFY(w->app.messages.isEmpty());
}

void TstListBuild::modelBoxAndTheChoiceMadeInIt()
{
    w->clickBuild();
    QComboBox *box = w->form()->DBLCB1;
    QCOMPARE(box->count(), 3);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(box->itemText(i), ListWindow::modelDescriptions()[i]);
    QCOMPARE(box->currentText(), ListWindow::modelDescriptions()[1]);
    QCOMPARE(w->dm()->EtiqPar->FieldByName(QStringLiteral("MODELO")).AsString(), QStringLiteral("02"));
    QCOMPARE(w->dm()->SQLDS_EtiqPar->CommandText(),
             QStringLiteral("Select MODELO, DESCRICAO, MESQ, MDIR, MTOP, MROD, ESPV, PAPEL, QDECOL, ETIQALT, ETIQLART, "
                            "ETIQMESQ, ETIQMDIR, ETIQMTOP, ETIQROD from ETIQPAR order by MODELO"));

    w->chooseModel(ListWindow::modelDescriptions()[2]); // the user picks "03"
    QCOMPARE(box->currentText(), ListWindow::modelDescriptions()[2]);
    QCOMPARE(w->dm()->EtiqCorr->FieldByName(QStringLiteral("ModeloCorrente")).AsString(), QStringLiteral("03"));

    w->clickClose();
    w->clickReopen();
    QCOMPARE(box->currentText(), ListWindow::modelDescriptions()[2]);
    QCOMPARE(w->dm()->EtiqPar->FieldByName(QStringLiteral("MODELO")).AsString(), QStringLiteral("03"));
    // Never stored: the database, and so the next start, still say "02".
    QCOMPARE(w->app.suite.scalar(QStringLiteral("select MODELOCORRENTE from ETIQCORR")).toString(), QStringLiteral("02"));

    QVERIFY(w->app.start());
    TFormSelvarra *again = w->form();
    QTest::mouseClick(again->btnConfigEtiq, Qt::LeftButton);
    QVERIFY(w->settle());
    QCOMPARE(again->DBLCB1->currentText(), ListWindow::modelDescriptions()[1]);
}

void TstListBuild::unknownCurrentModelShowsNothing()
{
    w->app.suite.exec(QStringLiteral("update ETIQCORR set MODELOCORRENTE = '09'"));
    w->clickReopen();
    QComboBox *box = w->form()->DBLCB1;
    QCOMPARE(box->count(), 3);
    QCOMPARE(box->currentIndex(), -1);
    QCOMPARE(box->currentText(), QString());
    QVERIFY(w->form()->DBGrid1->hasFocus());
}


// The connection goes away after the first product was stored: the build
// stops and says in Portuguese what was and was not done, never the driver's
// text, instead of logging every product as a duplicate; the main panel works
// again, connecting anew.
void TstListBuild::lostDatabaseEndsTheBuild()
{
    for (int i = 1; i <= 5; ++i)
        w->addProduct(QStringLiteral("P%1").arg(i), QStringLiteral("Produto %1").arg(i), QString(), QStringLiteral("1"));
    {
        HeldBuild held(w->form(), 1);
        QTest::mouseClick(w->form()->BotSelvarProdRev, Qt::LeftButton);
        QVERIFY(held.waitReached());
        w->app.suite.exec(QStringLiteral("delete from MON$ATTACHMENTS where MON$ATTACHMENT_ID <> CURRENT_CONNECTION"));
        held.letGo();
        QVERIFY(w->waitForBuild());
    }
    QCOMPARE(w->app.messages,
             QStringList{QStringLiteral("A conexão com o banco de dados caiu no meio da montagem da lista, depois de 1 "
                                        "produto: o que foi montado foi desfeito e a lista anterior foi mantida. Confira "
                                        "a rede e o servidor e pressione \"Códigos de Barras de Produtos Prontos\" de novo.")});
    QVERIFY(!w->log().contains(QStringLiteral("Componente com nome e código duplicado.")));
    QVERIFY(w->storedList().isEmpty());
    TFormSelvarra *f = w->form();
    QVERIFY(!f->Gauge1->isVisible());
    QVERIFY(!f->PainelSelvarra->isVisible());
    QVERIFY(f->mainActionsEnabled());
    // Once the database is there again, the same button builds the whole list.
    w->clickBuild();
    QCOMPARE(w->storedList().size(), 5);
    QCOMPARE(w->app.messages.size(), 1);
    QVERIFY(f->PainelSelvarra->isVisible());
}

// The connection goes away before anything of the new list was stored: the
// build attaches again and does it all by itself, with no message.
void TstListBuild::lostBeforeAnyRowIsRetriedOnce()
{
    for (int i = 1; i <= 5; ++i)
        w->addProduct(QStringLiteral("P%1").arg(i), QStringLiteral("Produto %1").arg(i), QString(), QStringLiteral("1"));
    w->app.suite.exec(QStringLiteral("insert into TABREV1 (CODIGO, COMPONENTE) values ('OLD1', 'Lista anterior')"));
    HeldBuild held(w->form(), 0);
    QTest::mouseClick(w->form()->BotSelvarProdRev, Qt::LeftButton);
    QVERIFY(held.waitReached());
    w->app.suite.exec(QStringLiteral("delete from MON$ATTACHMENTS where MON$ATTACHMENT_ID <> CURRENT_CONNECTION"));
    held.letGo();
    QVERIFY(w->waitForBuild());
    QCOMPARE(w->app.messages, QStringList());
    QCOMPARE(w->storedList().size(), 5);
    QCOMPARE(w->log().count(QStringLiteral("Código:   Componente: Produto 1")), 1); // the retry's log alone
    QVERIFY(w->form()->PainelSelvarra->isVisible());
    QCOMPARE(w->form()->DBGrid1Model->rowCount(), 5);
}

// "Cancelar" beside the loading bar stops a long build within a few tenths of
// a second; the list built before is there as it was, quantities and all.
void TstListBuild::cancelKeepsThePreviousList()
{
    for (int i = 1; i <= 3; ++i)
        w->addProduct(QStringLiteral("P%1").arg(i), QStringLiteral("Produto %1").arg(i), QString(), QStringLiteral("1"));
    w->clickBuild();
    w->typeInCell(0, 0, QStringLiteral("4"));
    w->goToRow(1);
    w->clickClose();
    const QStringList before = w->storedList();
    QCOMPARE(before.first(), QStringLiteral("P1|Produto 1|4||1"));
    w->app.suite.exec(QStringLiteral("execute block as declare i integer = 0; begin while (i < 20000) do begin "
                                     "insert into COMPONEN (CODIGO, COMPONENTE, GRUPO) values ('X' || :i, 'Item ' || :i, 'REV'); "
                                     "i = i + 1; end end"));
    TFormSelvarra *f = w->form();
    // The worker held in the middle of the build: the window paints, shows the
    // log and takes the click on "Cancelar" meanwhile.
    HeldBuild held(f, 1);
    QTest::mouseClick(f->BotSelvarProdRev, Qt::LeftButton);
    QVERIFY(held.waitReached());
    QTRY_VERIFY(f->BotCancelarLista->isVisible());
    QTRY_VERIFY(f->mmo1->toPlainText().contains(QStringLiteral("Componente: Item 0")));
    QTest::mouseClick(f->BotCancelarLista, Qt::LeftButton);
    QVERIFY(f->jobRunning()); // the build goes on until its worker reads the flag
    QElapsedTimer sinceCancel;
    sinceCancel.start();
    held.letGo();
    QVERIFY(w->waitForBuild());
    QVERIFY2(sinceCancel.elapsed() < 1000, qPrintable(QString::number(sinceCancel.elapsed())));
    QCOMPARE(w->app.messages, QStringList{QStringLiteral("Montagem da lista cancelada. A lista anterior foi mantida.")});
    QCOMPARE(w->storedList(), before);
    QVERIFY(!f->PainelSelvarra->isVisible());
    QVERIFY(!f->Gauge1->isVisible() && !f->BotCancelarLista->isVisible());
    QVERIFY(f->mainActionsEnabled());
}

// Escape is "Cancelar" too while the build is held on its worker.
void TstListBuild::escapeCancelsTheBuild()
{
    for (int i = 1; i <= 3; ++i)
        w->addProduct(QStringLiteral("P%1").arg(i), QStringLiteral("Produto %1").arg(i), QString(), QStringLiteral("1"));
    TFormSelvarra *f = w->form();
    HeldBuild held(f, 1);
    QTest::mouseClick(f->BotSelvarProdRev, Qt::LeftButton);
    QVERIFY(held.waitReached());
    QTest::keyClick(f, Qt::Key_Escape);
    held.letGo();
    QVERIFY(w->waitForBuild());
    QCOMPARE(w->app.messages, QStringList{QStringLiteral("Montagem da lista cancelada. A lista anterior foi mantida.")});
    QVERIFY(w->storedList().isEmpty());
    QVERIFY(f->mainActionsEnabled());
}

QTEST_MAIN(TstListBuild)
#include "tst_list_build.moc"
