// The data module against a real embedded Firebird database, one per test.
#include "ColumnLists.h"
#include "SelvarError.h"
#include "TDM.h"
#include "TestSuite.h"

#include <QtTest>
#include <memory>

class WriteThroughTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestSuite> suite;
    std::unique_ptr<TDM> dm;

    int count(const QString &table) { return suite->scalar(QStringLiteral("select count(*) from ") + table).toInt(); }

    void insertRow(ClientDataSet *ds, const QString &codigo, const QString &nome)
    {
        ds->Append();
        ds->FieldByName(QStringLiteral("Codigo")).setAsString(codigo);
        ds->FieldByName(QStringLiteral("Componente")).setAsString(nome);
        ds->Post();
    }

private slots:
    void init()
    {
        suite = std::make_unique<TestSuite>();
        QVERIFY(suite->createMainDatabase());
        dm = std::make_unique<TDM>();
        dm->SQLConnection1->setDataBase(QStringLiteral(":C:\\boticon\\dados\\boticon.bd"));
    }

    void cleanup()
    {
        dm.reset();
        suite.reset();
    }

    void declaredFieldsAndColumnLists()
    {
        setColumnLists();
        QCOMPARE(TabRevColumns, QStringLiteral("CODIGO, COMPONENTE, QDE, CODIGOEAN, PRECO1"));
        QCOMPARE(ComponenColumns.split(QStringLiteral(", ")).size(), 63);
        QVERIFY(ComponenColumns.startsWith(QStringLiteral("CODIGO, COMPONENTE, GRUPO, FAMILIA, UNID, CONTROLADA, CUSTOUNITUS")));
        QVERIFY(ComponenColumns.endsWith(QStringLiteral("CST, NOMECIENTIFICO, GRUPOPRECO")));
        QCOMPARE(EtiqParColumns, QStringLiteral("MODELO, DESCRICAO, MESQ, MDIR, MTOP, MROD, ESPV, PAPEL, QDECOL, ETIQALT, "
                                                "ETIQLART, ETIQMESQ, ETIQMDIR, ETIQMTOP, ETIQROD"));
        // Every chain's select reads from the schema: opening each proves columns and types agree.
        for (ClientDataSet *ds : {dm->TabRev1, dm->TabRev2, dm->EtiqPar, dm->EtiqCorr, dm->Estacoes, dm->Componentes,
                                  dm->Usuarios, dm->Compras}) {
            ds->Open();
            QVERIFY2(ds->Active(), qPrintable(ds->objectName()));
            ds->Close();
        }
        QCOMPARE(dm->Componentes->Fields().size(), size_t(63));
        QVERIFY(!dm->SQLConnection1->Connected()); // no open data set, no connection
    }

    void connectsOnlyWhileOpen()
    {
        QVERIFY(!dm->SQLConnection1->Connected());
        dm->TabRev1->Open();
        QVERIFY(dm->SQLConnection1->Connected());
        dm->EtiqPar->Open();
        dm->TabRev1->Close();
        QVERIFY(dm->SQLConnection1->Connected());
        dm->EtiqPar->Close();
        QVERIFY(!dm->SQLConnection1->Connected());
        QVERIFY(!dm->SQLConnection2->Connected());
    }

    void onePostIsOneInsertAndTheRowsAreReadAgain()
    {
        suite->exec(QStringLiteral("insert into TABREV1 (CODIGO, COMPONENTE) values ('B', 'Beta')"));
        dm->TabRev1->Open();
        // Another workstation adds a row meanwhile; the re-read after our post shows it.
        suite->exec(QStringLiteral("insert into TABREV1 (CODIGO, COMPONENTE) values ('C', 'Gama')"));
        insertRow(dm->TabRev1, QStringLiteral("A"), QStringLiteral("Alfa"));
        QCOMPARE(count(QStringLiteral("TABREV1")), 3);
        QCOMPARE(dm->TabRev1->RecordCount(), 3);
        QStringList codes;
        for (dm->TabRev1->First(); !dm->TabRev1->Eof(); dm->TabRev1->Next())
            codes << dm->TabRev1->FieldByName(QStringLiteral("codigo")).AsString();
        codes.sort();
        QCOMPARE(codes, (QStringList{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}));
        QCOMPARE(dm->TabRev1->ChangeCount(), 0);
    }

    void refusedChangeStaysPendingAndFailsTheNextPost()
    {
        suite->exec(QStringLiteral("insert into TABREV1 (CODIGO, COMPONENTE) values ('DUP', 'Existente')"));
        dm->TabRev1->Open();
        dm->TabRev1->Last();
        try {
            insertRow(dm->TabRev1, QStringLiteral("DUP"), QStringLiteral("Repetido"));
            QFAIL("a duplicate key must fail the post");
        } catch (const SelvarError &e) {
            QCOMPARE(e.message(), QStringLiteral("Must apply updates before refreshing data"));
        }
        QCOMPARE(dm->TabRev1->ChangeCount(), 1);
        // The second post is applied (its row is stored) but the refused one stays
        // pending, so its re-read fails too.
        dm->TabRev1->Append();
        dm->TabRev1->FieldByName(QStringLiteral("CODIGO")).setAsString(QStringLiteral("NOVO"));
        QVERIFY_THROWS_EXCEPTION(SelvarError, dm->TabRev1->Post());
        QCOMPARE(suite->scalar(QStringLiteral("select count(*) from TABREV1 where CODIGO = 'NOVO'")).toInt(), 1);
        QCOMPARE(suite->scalar(QStringLiteral("select COMPONENTE from TABREV1 where CODIGO = 'DUP'")).toString(),
                 QStringLiteral("Existente"));
        QCOMPARE(dm->TabRev1->ChangeCount(), 1);
        // Closing drops the pending change; the database holds what was accepted.
        dm->TabRev1->Close();
        dm->TabRev1->Open();
        QCOMPARE(dm->TabRev1->RecordCount(), 2);
    }

    // Another attachment shuts ours down (as a server restart or a lost network
    // would): the post is applied on a new attachment, once, and the change
    // refused before it is still the database's refusal, pending.
    void lostConnectionIsNotARefusedRow()
    {
        suite->exec(QStringLiteral("insert into TABREV1 (CODIGO, COMPONENTE) values ('DUP', 'Existente')"));
        dm->TabRev1->Open();
        QVERIFY_THROWS_EXCEPTION(SelvarError, insertRow(dm->TabRev1, QStringLiteral("DUP"), QStringLiteral("Repetido")));
        QCOMPARE(dm->TabRev1->ChangeCount(), 1);
        suite->exec(QStringLiteral("delete from MON$ATTACHMENTS where MON$ATTACHMENT_ID <> CURRENT_CONNECTION"));
        try {
            insertRow(dm->TabRev1, QStringLiteral("NOVO"), QStringLiteral("Depois da queda"));
            QFAIL("the refused change still fails the post");
        } catch (const DatabaseError &e) {
            QFAIL(qPrintable(QStringLiteral("the lost connection reached the post: ") + e.message()));
        } catch (const SelvarError &e) {
            QCOMPARE(e.message(), QStringLiteral("Must apply updates before refreshing data"));
        }
        QCOMPARE(dm->TabRev1->ChangeCount(), 1);
        QCOMPARE(count(QStringLiteral("TABREV1")), 2);
        QCOMPARE(suite->scalar(QStringLiteral("select COMPONENTE from TABREV1 where CODIGO = 'NOVO'")).toString(),
                 QStringLiteral("Depois da queda"));
        QCOMPARE(dm->TabRev1->ApplyUpdates(-1), 1);
        QCOMPARE(count(QStringLiteral("TABREV1")), 2);
    }

    void editingAPendingInsertReplacesIt()
    {
        suite->exec(QStringLiteral("insert into TABREV1 (CODIGO) values ('X1')"));
        dm->TabRev1->Open();
        QVERIFY_THROWS_EXCEPTION(SelvarError, insertRow(dm->TabRev1, QStringLiteral("X1"), QStringLiteral("Rejeitado")));
        dm->TabRev1->Edit();
        dm->TabRev1->FieldByName(QStringLiteral("CODIGO")).setAsString(QStringLiteral("X2"));
        dm->TabRev1->FieldByName(QStringLiteral("COMPONENTE")).setAsString(QStringLiteral("Aceito"));
        dm->TabRev1->Post();
        QCOMPARE(dm->TabRev1->ChangeCount(), 0);
        QCOMPARE(suite->scalar(QStringLiteral("select COMPONENTE from TABREV1 where CODIGO = 'X2'")).toString(),
                 QStringLiteral("Aceito"));
        QCOMPARE(count(QStringLiteral("TABREV1")), 2);
    }

    void updatesChangedColumnsAndDeletesByKey()
    {
        suite->exec(QStringLiteral("insert into TABREV1 (CODIGO, COMPONENTE, CODIGOEAN) values ('K1', 'Um', '111')"));
        suite->exec(QStringLiteral("insert into TABREV1 (CODIGO, COMPONENTE, CODIGOEAN) values ('K2', 'Dois', '222')"));
        dm->TabRev1->Open();
        QVERIFY(dm->TabRev1->FindKey({QStringLiteral("K1")}));
        // Another station changes the name; our update of the quantity must not overwrite it.
        suite->exec(QStringLiteral("update TABREV1 set COMPONENTE = 'Um (outro)' where CODIGO = 'K1'"));
        dm->TabRev1->Edit();
        dm->TabRev1->FieldByName(QStringLiteral("Qde")).setAsString(QStringLiteral("4"));
        dm->TabRev1->Post();
        QCOMPARE(suite->rows(QStringLiteral("select COMPONENTE, cast(QDE as varchar(30)) from TABREV1 where CODIGO = 'K1'")).first(),
                 (QVariantList{QStringLiteral("Um (outro)"), QStringLiteral("4.000")}));
        QVERIFY(dm->TabRev1->FindKey({QStringLiteral("K2")}));
        dm->TabRev1->Delete();
        QCOMPARE(count(QStringLiteral("TABREV1")), 1);
        QCOMPARE(dm->TabRev1->RecordCount(), 1);
    }

    // A code is found by its every character: accents count, a longer or a
    // shorter code is another product, and the last of many rows is reached.
    void findKeyTellsCodesApart()
    {
        suite->exec(QStringLiteral("execute block as declare i integer = 0; begin while (i < 300) do begin "
                                   "insert into TABREV1 (CODIGO, COMPONENTE) values ('C' || lpad(:i, 4, '0'), 'x'); "
                                   "i = i + 1; end end"));
        for (const char *code : {"CAÇA", "CAÇÃ", "CACA", "CAÇAS"})
            suite->exec(QStringLiteral("insert into TABREV1 (CODIGO, COMPONENTE) values ('%1', 'y')").arg(QString::fromUtf8(code)));
        ClientDataSet &list = *dm->TabRev1;
        list.Open();
        for (const char *code : {"CAÇÃ", "CAÇA", "CACA", "CAÇAS", "C0299", "C0000"}) {
            QVERIFY2(list.FindKey({QString::fromUtf8(code)}), code);
            QCOMPARE(list.FieldByName(QStringLiteral("CODIGO")).AsString(), QString::fromUtf8(code));
        }
        const int at = list.RecNo();
        for (const char *code : {"CAÇ", "CAÇAÇ", "CAÇÁ", "C029", "C02999"})
            QVERIFY2(!list.FindKey({QString::fromUtf8(code)}), code);
        QCOMPARE(list.RecNo(), at);
    }

    // Another station removes the row while a quantity is typed into it: the
    // update finds nothing to change, so it is refused and kept, not lost in
    // silence; once the row is back, the next apply stores the quantity.
    void updateOfARowRemovedElsewhereIsRefused()
    {
        suite->exec(QStringLiteral("insert into TABREV1 (CODIGO, COMPONENTE) values ('K1', 'Um')"));
        dm->TabRev1->Open();
        suite->exec(QStringLiteral("delete from TABREV1"));
        dm->TabRev1->Edit();
        dm->TabRev1->FieldByName(QStringLiteral("Qde")).setAsString(QStringLiteral("4"));
        QVERIFY_THROWS_EXCEPTION(SelvarError, dm->TabRev1->Post());
        QCOMPARE(dm->TabRev1->ChangeCount(), 1);
        suite->exec(QStringLiteral("insert into TABREV1 (CODIGO, COMPONENTE) values ('K1', 'Um de novo')"));
        QCOMPARE(dm->TabRev1->ApplyUpdates(-1), 0);
        QCOMPARE(suite->scalar(QStringLiteral("select cast(QDE as varchar(30)) from TABREV1 where CODIGO = 'K1'")).toString(),
                 QStringLiteral("4.000"));
    }

    void etiqCorrIsLocatedByItsOldValue()
    {
        suite->exec(QStringLiteral("insert into ETIQCORR (MODELOCORRENTE) values ('01')"));
        suite->exec(QStringLiteral("insert into ETIQCORR (MODELOCORRENTE) values ('03')"));
        dm->EtiqCorr->Open();
        dm->EtiqCorr->First();
        if (dm->EtiqCorr->FieldByName(QStringLiteral("ModeloCorrente")).AsString() != QStringLiteral("01"))
            dm->EtiqCorr->Next();
        dm->EtiqCorr->Edit();
        dm->EtiqCorr->FieldByName(QStringLiteral("ModeloCorrente")).setAsString(QStringLiteral("02"));
        dm->EtiqCorr->Post();
        QCOMPARE(suite->rows(QStringLiteral("select MODELOCORRENTE from ETIQCORR order by 1")),
                 (QList<QVariantList>{{QStringLiteral("02")}, {QStringLiteral("03")}}));
    }

    void modelNumbering_data()
    {
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty table") << QStringList{} << "01";
        QTest::newRow("after 07") << QStringList{"01", "02", "03", "04", "05", "06", "07"} << "08";
        QTest::newRow("gap keeps the highest") << QStringList{"03", "11"} << "12";
        QTest::newRow("non-numeric maximum") << QStringList{"01", "ZZ"} << "01";
    }

    void modelNumbering()
    {
        QFETCH(QStringList, existing);
        QFETCH(QString, expected);
        for (const QString &code : existing)
            suite->exec(QStringLiteral("insert into ETIQPAR (MODELO, DESCRICAO) values (?, 'x')"), {code});
        dm->EtiqPar->Open();
        dm->EtiqPar->Append();
        QCOMPARE(dm->EtiqPar->FieldByName(QStringLiteral("MODELO")).AsString(), expected);
        if (!existing.contains(expected)) {
            dm->EtiqPar->Post();
            QCOMPARE(count(QStringLiteral("ETIQPAR")), existing.size() + 1);
        }
        QVERIFY(!dm->SQLQuery1->Active());
    }

    void requiredAndUnknownFields()
    {
        dm->TabRev1->Open();
        dm->TabRev1->Append();
        dm->TabRev1->FieldByName(QStringLiteral("COMPONENTE")).setAsString(QStringLiteral("Sem código"));
        try {
            dm->TabRev1->Post();
            QFAIL("posting without CODIGO must fail");
        } catch (const SelvarError &e) {
            QCOMPARE(e.message(), QStringLiteral("Field 'CODIGO' must have a value"));
        }
        QCOMPARE(count(QStringLiteral("TABREV1")), 0);
        try {
            dm->TabRev1->FieldByName(QStringLiteral("Preco2"));
            QFAIL("an unknown field must fail");
        } catch (const SelvarError &e) {
            QCOMPARE(e.message(), QStringLiteral("Field 'Preco2' not found"));
        }
    }

    void valuesAreCutExactAndKeepTheirAccents()
    {
        suite->exec(QStringLiteral("insert into COMPONEN (CODIGO, COMPONENTE, GRUPO, PRECOR, DCB) values (?, ?, 'REV', ?, ?)"),
                    {QStringLiteral("P1"), QStringLiteral("Pomada Açaí – “extra” €"), QStringLiteral("1234567.12345678"),
                     QStringLiteral("789123456789012")});
        dm->Componentes->Open();
        Field &preco = dm->Componentes->FieldByName(QStringLiteral("PrecoR"));
        QCOMPARE(preco.AsDecimal().toPlainString(), QStringLiteral("1234567.12345678"));
        QCOMPARE(dm->Componentes->FieldByName(QStringLiteral("Componente")).AsString(), QStringLiteral("Pomada Açaí – “extra” €"));

        dm->TabRev1->Open();
        dm->TabRev1->Append();
        dm->TabRev1->FieldByName(QStringLiteral("Codigo")).setAsString(QStringLiteral("P1"));
        dm->TabRev1->FieldByName(QStringLiteral("CodigoEAN")).setAsString(dm->Componentes->FieldByName(QStringLiteral("DCB")).AsString());
        dm->TabRev1->FieldByName(QStringLiteral("Componente")).setAsString(dm->Componentes->FieldByName(QStringLiteral("Componente")).AsString());
        dm->TabRev1->FieldByName(QStringLiteral("Qde")).setAsString(QStringLiteral("99999999999,999"));
        dm->TabRev1->FieldByName(QStringLiteral("Preco1")).setAsString(QStringLiteral("3.5"));
        dm->TabRev1->Post();
        const QVariantList stored = suite->rows(QStringLiteral("select CODIGOEAN, COMPONENTE, cast(QDE as varchar(30)), PRECO1 from TABREV1")).first();
        QCOMPARE(stored[0].toString(), QStringLiteral("7891234567890")); // 15 characters cut to 13
        QCOMPARE(stored[1].toString(), QStringLiteral("Pomada Açaí – “extra” €"));
        QCOMPARE(stored[2].toString(), QStringLiteral("99999999999.999"));
        dm->TabRev1->Close();
        dm->TabRev1->Open();
        QCOMPARE(dm->TabRev1->FieldByName(QStringLiteral("Preco1")).DisplayText(), QStringLiteral("3,50"));
        QCOMPARE(dm->TabRev1->FieldByName(QStringLiteral("Qde")).AsDecimal().toPlainString(), QStringLiteral("99999999999.999"));
        // A price with all fifteen digits reaches the database digit for digit.
        dm->TabRev1->Append();
        dm->TabRev1->FieldByName(QStringLiteral("Codigo")).setAsString(QStringLiteral("P2"));
        dm->TabRev1->FieldByName(QStringLiteral("Preco1")).setAsString(QStringLiteral("9876543210987,65"));
        dm->TabRev1->Post();
        QCOMPARE(suite->scalar(QStringLiteral("select cast(PRECO1 as varchar(30)) from TABREV1 where CODIGO = 'P2'")).toString(),
                 QStringLiteral("9876543210987.65"));
    }

    void commandTextAndFindNearest_data()
    {
        QTest::addColumn<QString>("order");
        QTest::newRow("read in the index's order") << "COMPONENTE";
        QTest::newRow("read in another order") << "CODIGO desc";
    }

    void commandTextAndFindNearest()
    {
        QFETCH(QString, order);
        for (const char *name : {"Dipirona", "Aspirina", "Cetoconazol", "Benegrip", "Benegrip"})
            suite->exec(QStringLiteral("insert into TABREV1 (CODIGO, COMPONENTE) values (?, ?)"),
                        {QString::fromLatin1(name).left(3) + QString::number(count(QStringLiteral("TABREV1"))),
                         QString::fromLatin1(name)});
        dm->SQLDS_TabRev1->setCommandText(QStringLiteral("Select CODIGO, COMPONENTE, QDE, CODIGOEAN, PRECO1 from TABREV1 order by ") + order);
        dm->TabRev1->Open();
        dm->TabRev1->setIndexFieldNames(QStringLiteral("COMPONENTE"));
        auto current = [&] { return dm->TabRev1->FieldByName(QStringLiteral("COMPONENTE")).AsString(); };
        dm->TabRev1->FindNearest({QStringLiteral("Be")});
        QCOMPARE(current(), QStringLiteral("Benegrip"));
        dm->TabRev1->FindNearest({QStringLiteral("Ca")});
        QCOMPARE(current(), QStringLiteral("Cetoconazol"));
        dm->TabRev1->FindNearest({QStringLiteral("Zzz")});
        QCOMPARE(current(), QStringLiteral("Dipirona"));
        dm->TabRev1->FindNearest({QString()});
        QCOMPARE(current(), QStringLiteral("Aspirina"));
        // Of two equal names the one read first is the nearest.
        dm->TabRev1->FindNearest({QStringLiteral("Benegrip")});
        const int first = dm->TabRev1->RecNo();
        for (int recNo = 1; recNo < first; ++recNo) {
            dm->TabRev1->setRecNo(recNo);
            QVERIFY(current() != QStringLiteral("Benegrip"));
        }
    }

    // Reading the list again on every key costs a check when nothing changed;
    // whatever another station committed meanwhile is still read.
    void reopenReadsAgainWhatChanged()
    {
        suite->exec(QStringLiteral("insert into TABREV1 (CODIGO, COMPONENTE, QDE) values ('A', 'Alfa', 1)"));
        suite->exec(QStringLiteral("insert into TABREV1 (CODIGO, COMPONENTE, QDE) values ('B', 'Beta', 2)"));
        suite->exec(QStringLiteral("insert into TABREV1 (CODIGO, COMPONENTE, QDE) values ('C', 'Gama', 3)"));
        ClientDataSet &list = *dm->TabRev1;
        dm->SQLDS_TabRev1->setCommandText(QStringLiteral("select CODIGO, COMPONENTE, QDE, CODIGOEAN, PRECO1 from TABREV1 order by COMPONENTE"));
        list.Open();
        QSignalSpy reads(&list, &ClientDataSet::dataChanged);
        auto rows = [&list] {
            QStringList seen;
            for (list.First(); !list.Eof(); list.Next())
                seen << list.FieldByName(QStringLiteral("Codigo")).AsString() + QLatin1Char('=')
                            + list.FieldByName(QStringLiteral("Qde")).AsString();
            return seen.join(QLatin1Char(' '));
        };

        list.setRecNo(3);
        QVERIFY(list.Reopen());
        QCOMPARE(reads.count(), 0);
        QCOMPARE(list.RecNo(), 1); // as after a read
        QCOMPARE(rows(), QStringLiteral("A=1 B=2 C=3"));

        const QStringList changes = {
            QStringLiteral("update TABREV1 set QDE = 5 where CODIGO = 'B'"),
            // one row gone and another come in one transaction: the count stays
            QStringLiteral("execute block as begin delete from TABREV1 where CODIGO = 'A'; "
                           "insert into TABREV1 (CODIGO, COMPONENTE, QDE) values ('D', 'Delta', 4); end"),
            QStringLiteral("delete from TABREV1 where CODIGO = 'C'"),
            QStringLiteral("update TABREV1 set QDE = 5 where CODIGO = 'B'"), // the same value again
        };
        const QStringList expected = {QStringLiteral("A=1 B=5 C=3"), QStringLiteral("B=5 D=4 C=3"),
                                      QStringLiteral("B=5 D=4"), QStringLiteral("B=5 D=4")};
        for (int i = 0; i < changes.size(); ++i) {
            suite->exec(changes[i]);
            const int before = reads.count();
            QVERIFY(list.Reopen());
            QVERIFY2(reads.count() > before, qPrintable(changes[i]));
            QCOMPARE(rows(), expected[i]);
        }

        // Another order is another read; a post of our own is read back too.
        dm->SQLDS_TabRev1->setCommandText(QStringLiteral("select CODIGO, COMPONENTE, QDE, CODIGOEAN, PRECO1 from TABREV1 order by CODIGO"));
        QVERIFY(list.Reopen());
        QCOMPARE(rows(), QStringLiteral("B=5 D=4"));
        list.First();
        list.Edit();
        list.FieldByName(QStringLiteral("Qde")).setAsString(QStringLiteral("7"));
        list.Post();
        suite->exec(QStringLiteral("update TABREV1 set COMPONENTE = 'Zeta' where CODIGO = 'D'"));
        const int before = reads.count();
        QVERIFY(list.Reopen());
        QVERIFY(reads.count() > before);
        list.setRecNo(2);
        QCOMPARE(list.FieldByName(QStringLiteral("Componente")).AsString(), QStringLiteral("Zeta"));
        QCOMPARE(rows(), QStringLiteral("B=7 D=4"));
    }

    void executeDirectAndLostDatabase()
    {
        suite->exec(QStringLiteral("insert into TABREV2 (CODIGO) values ('000001')"));
        dm->SQLConnection1->ExecuteDirect(QStringLiteral("delete from TABREV2"));
        QCOMPARE(count(QStringLiteral("TABREV2")), 0);
        QVERIFY(!dm->SQLConnection1->Connected());
        dm->SQLConnection1->setDataBase(QStringLiteral(":C:\\boticon\\dados\\naoexiste.bd"));
        QVERIFY_THROWS_EXCEPTION(DatabaseError, dm->TabRev1->Open());
        QVERIFY(!dm->TabRev1->Active());
    }

    void throughTheServer()
    {
        SELVAR_REQUIRE_SERVER();
        const QString database = TestSuite::createServerDatabase(QStringLiteral("data"));
        QVERIFY(!database.isEmpty());
        dm->SQLConnection1->setDataBase(database);
        dm->TabRev1->Open();
        insertRow(dm->TabRev1, QStringLiteral("S1"), QStringLiteral("Xarope São João"));
        TDM other;
        other.SQLConnection1->setDataBase(database);
        other.TabRev1->Open();
        QCOMPARE(other.TabRev1->RecordCount(), 1);
        QCOMPARE(other.TabRev1->FieldByName(QStringLiteral("Componente")).AsString(), QStringLiteral("Xarope São João"));
        // A quantity the other station stores shows in this one's next read of the list.
        other.TabRev1->Edit();
        other.TabRev1->FieldByName(QStringLiteral("Qde")).setAsString(QStringLiteral("12"));
        other.TabRev1->Post();
        QVERIFY(dm->TabRev1->Reopen());
        QCOMPARE(dm->TabRev1->FieldByName(QStringLiteral("Qde")).AsString(), QStringLiteral("12"));
    }
};

QTEST_GUILESS_MAIN(WriteThroughTest)
#include "tst_writethrough.moc"
