// A suite whose product list and history hold longer codes and names than the
// usual 13 and 70 characters: what the history records and the quantities it
// puts back into the list keep them whole, on a real embedded database.
#include "HistoryStore.h"
#include "JobDatabase.h"
#include "ListQuantities.h"
#include "PrintedJob.h"
#include "SuiteJob.h"

#include <QtTest>

#include <algorithm>

class HistoryWidthsTest : public QObject
{
    Q_OBJECT

private slots:
    void widerColumnsKeepTheirTexts_data()
    {
        // Widened by whoever set up the suite, or made by the program on a
        // database whose history tables were never created.
        QTest::addColumn<bool>("historyMadeHere");
        QTest::newRow("history widened by hand") << false;
        QTest::newRow("history made by the program") << true;
    }

    void widerColumnsKeepTheirTexts()
    {
        QFETCH(bool, historyMadeHere);
        JobDatabase db;
        QVERIFY(db.create());
        // The key is put back over the wider code, as the suite's own tables have it.
        for (const char *widen : {"alter table TABREV1 drop constraint PK_TABREV1",
                                  "alter table TABREV1 alter CODIGO type varchar(20)",
                                  "alter table TABREV1 add constraint PK_TABREV1 primary key (CODIGO)",
                                  "alter table TABREV1 alter COMPONENTE type varchar(120)"})
            db.suite.exec(QLatin1String(widen));
        const char *const byHand[] = {"alter table SELVAR_HISTORICO_ITEM alter CODIGO type varchar(20)",
                                      "alter table SELVAR_HISTORICO_ITEM alter COMPONENTE type varchar(120)"};
        const char *const dropped[] = {"drop table SELVAR_HISTORICO_ITEM", "drop table SELVAR_HISTORICO",
                                       "drop sequence GEN_SELVAR_HISTORICO"};
        for (const char *statement : historyMadeHere ? QList<const char *>(std::begin(dropped), std::end(dropped))
                                                     : QList<const char *>(std::begin(byHand), std::end(byHand)))
            db.suite.exec(QLatin1String(statement));
        const QString code = QStringLiteral("REV-0000000000001");
        const QString name = QStringLiteral("Loção hidratante corporal com óleo de amêndoas doces e manteiga de karité, frasco de 400 ml");
        db.suite.exec(QStringLiteral("insert into TABREV1 (CODIGO, COMPONENTE, QDE, CODIGOEAN, PRECO1) values (?, ?, 2, "
                                     "'7891000315507', 10.5)"),
                      {code, name});
        db.suite.disconnect();

        HistoryStore store([] { return QStringLiteral(":C:\\boticon\\dados\\boticon.bd"); });
        ClientDataSet &list = *db.dm->TabRev1;
        list.Open();
        const PrintedJob printed = PrintedJob::fromList(list, 0);
        QCOMPARE(printed.labels(), qint64(2));
        qint64 id = 0;
        store.record(printed, HistoryStore::thermalOutput(), &id);
        // The rest of a hand-over that had stopped adds to the same product.
        store.record(printed, HistoryStore::thermalOutput(), &id);
        const QList<PrintedItem> items = store.items(id);
        QCOMPARE(items.size(), 1);
        QCOMPARE(items[0].codigo, code);
        QCOMPARE(items[0].componente, name);
        QCOMPARE(items[0].labels, qint64(4));

        // "Preços alterados" after a new price fills the long code's quantity.
        db.suite.exec(QStringLiteral("update TABREV1 set PRECO1 = 11, QDE = null"));
        db.suite.disconnect();
        list.Close();
        list.Open();
        const ListQuantities::PriceChanges changes = ListQuantities::priceChanges(ListQuantities::rows(list), store.lastLabels(QStringLiteral("TABREV1")));
        QCOMPARE(changes.fill.size(), 1);
        const FieldDefs &defs = list.fieldDefs();
        const auto qde = std::find_if(defs.begin(), defs.end(), [](const FieldDef &def) { return def.name == QLatin1String("QDE"); });
        QVERIFY(qde != defs.end());
        SuiteJob job(*db.dm->SQLConnection1, QStringLiteral("01"), SuiteJob::Kind::ListBuild);
        ListQuantities::write(*db.dm->SQLConnection1, QStringLiteral("TABREV1"), *qde, changes.fill, job, {});
        QCOMPARE(db.suite.scalar(QStringLiteral("select cast(QDE as integer) from TABREV1 where CODIGO = ?"), {code}).toInt(), 4);
    }
};

QTEST_MAIN(HistoryWidthsTest)
#include "tst_history_widths.moc"
