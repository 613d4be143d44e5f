// Every decimal column of the tables the program reads and writes, over the
// whole range Firebird keeps for it (a 64-bit integer of units at the column's
// scale): written with plain SQL and read back through the data sets digit for
// digit, written through the data sets and found in the database the same way.
#include "DataSetProvider.h"
#include "JobDatabase.h"
#include "SelvarError.h"
#include "SqlDataSet.h"
#include "TDM.h"
#include "TableDefs.h"
#include "TestSuite.h"

#include <QtTest>
#include <functional>
#include <memory>

namespace {

QString stepOf(int scale)
{
    return scale == 0 ? QStringLiteral("1") : QLatin1String("0.") + QString(scale - 1, QLatin1Char('0')) + QLatin1Char('1');
}

// One row per value; the smallest step and both ends of the range are the column's own.
QStringList valuesFor(int scale)
{
    return {QStringLiteral("0"), stepOf(scale), QLatin1Char('-') + stepOf(scale), QStringLiteral("0.00005"),
            QStringLiteral("0.0001"), QStringLiteral("1"), QStringLiteral("100000"), QStringLiteral("1000000"),
            QStringLiteral("10000000"), QStringLiteral("9999999.99999999"), QStringLiteral("-9999999.99999999"),
            QStringLiteral("12345678901.5"), QStringLiteral("-12345678901.5"), QStringLiteral("1234567.12345678"),
            Decimal::largest(scale).toPlainString(), Decimal(std::numeric_limits<qint64>::min(), scale).toPlainString()};
}

QString keyOf(int row)
{
    return QStringLiteral("K%1").arg(row, 2, 10, QLatin1Char('0'));
}

} // namespace

class DecimalsTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<JobDatabase> db;
    TestSuite *suite = nullptr;
    TDM *dm = nullptr;

    ClientDataSet *dataSetOf(const QString &table)
    {
        const QHash<QString, ClientDataSet *> sets{{QStringLiteral("COMPONEN"), dm->Componentes},
                                                   {QStringLiteral("TABREV1"), dm->TabRev1},
                                                   {QStringLiteral("TABREV2"), dm->TabRev2},
                                                   {QStringLiteral("COMPRAS"), dm->Compras}};
        return sets.value(table);
    }

    static QList<FieldDef> decimalsOf(const ClientDataSet *ds)
    {
        QList<FieldDef> decimals;
        for (const FieldDef &def : ds->fieldDefs())
            if (def.type == FieldType::Decimal)
                decimals << def;
        return decimals;
    }

    // The database's own text of every decimal, by the row's first key column.
    QHash<QString, QStringList> stored(const QString &table, const ClientDataSet *ds)
    {
        QString sql = QStringLiteral("select ") + ds->fieldDefs().first().name;
        for (const FieldDef &def : decimalsOf(ds))
            sql += QStringLiteral(", cast(%1 as varchar(32))").arg(def.name);
        QHash<QString, QStringList> texts;
        for (const QVariantList &row : suite->rows(sql + QStringLiteral(" from ") + table)) {
            QStringList values;
            for (qsizetype i = 1; i < row.size(); ++i)
                values << row[i].toString();
            texts.insert(row[0].toString(), values);
        }
        return texts;
    }

    // The key columns as the rows of every table tell them apart: texts and numbers.
    static void fillKeys(ClientDataSet *ds, int row)
    {
        for (const FieldDef &def : ds->fieldDefs()) {
            if (!def.key)
                continue;
            Field &field = ds->FieldByName(def.name);
            if (def.type == FieldType::Timestamp)
                field.setValue(QDateTime(QDate(2026, 1, 1), QTime(0, 0)));
            else if (def.type == FieldType::Integer)
                field.setAsInteger(row);
            else
                field.setAsString(keyOf(row));
        }
    }

    static QString keyLiterals(const ClientDataSet *ds, int row, QString *columns)
    {
        QStringList values;
        for (const FieldDef &def : ds->fieldDefs()) {
            if (!def.key)
                continue;
            *columns += def.name + QStringLiteral(", ");
            values << (def.type == FieldType::Timestamp ? QStringLiteral("'2026-01-01'")
                       : def.type == FieldType::Integer ? QString::number(row)
                                                        : QLatin1Char('\'') + keyOf(row) + QLatin1Char('\''));
        }
        return values.join(QStringLiteral(", ")) + QStringLiteral(", ");
    }

    static void save(ClientDataSet *ds)
    {
        ds->Post();
        // The tables without write-through send their changes when told to.
        if (ds->ChangeCount() > 0)
            QCOMPARE(ds->ApplyUpdates(-1), 0);
    }

private slots:
    void init()
    {
        db = std::make_unique<JobDatabase>();
        QVERIFY(db->create());
        suite = &db->suite;
        dm = db->dm.get();
    }

    void cleanup() { db.reset(); }

    void everyDecimalColumnReadAndWrittenExactly_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<int>("decimals");
        QTest::newRow("COMPONEN") << "COMPONEN" << 26;
        QTest::newRow("TABREV1") << "TABREV1" << 2;
        QTest::newRow("TABREV2") << "TABREV2" << 2;
        QTest::newRow("COMPRAS") << "COMPRAS" << 8;
    }

    void everyDecimalColumnReadAndWrittenExactly()
    {
        QFETCH(QString, table);
        QFETCH(int, decimals);
        ClientDataSet *ds = dataSetOf(table);
        const QList<FieldDef> columns = decimalsOf(ds);
        QCOMPARE(columns.size(), decimals);
        const int rows = int(valuesFor(0).size());

        // In: plain SQL, each value written as a literal.
        for (int r = 0; r < rows; ++r) {
            QString names;
            QString values = keyLiterals(ds, r, &names);
            QStringList literals;
            for (const FieldDef &def : columns) {
                names += def.name + QStringLiteral(", ");
                literals << valuesFor(def.scale)[r];
            }
            names.chop(2);
            suite->exec(QStringLiteral("insert into %1 (%2) values (%3%4)").arg(table, names, values, literals.join(QStringLiteral(", "))));
        }
        QHash<QString, QStringList> database = stored(table, ds);
        QCOMPARE(database.value(keyOf(9)).first(), table.startsWith(QLatin1String("TABREV")) ? QStringLiteral("10000000.000")
                                                                                             : QStringLiteral("9999999.99999999"));
        QCOMPARE(database.value(keyOf(14)).last(), table.startsWith(QLatin1String("TABREV")) ? QStringLiteral("92233720368547758.07")
                                                                                              : QStringLiteral("92233720368.54775807"));

        // Out: through the data set, digit for digit, and still ordered as numbers.
        SqlDataSet *chain = ds->Provider()->DataSet();
        const QString designed = chain->CommandText();
        chain->setCommandText(designed + QStringLiteral(" order by ") + columns.first().name);
        ds->Open();
        QCOMPARE(ds->RecordCount(), rows);
        Decimal previous = Decimal(std::numeric_limits<qint64>::min(), 0);
        for (ds->First(); !ds->Eof(); ds->Next()) {
            const QString key = ds->Fields().front()->AsString();
            for (int c = 0; c < columns.size(); ++c)
                QCOMPARE(ds->FieldByName(columns[c].name).AsDecimal().toPlainString(), database.value(key).value(c));
            const Decimal first = ds->FieldByName(columns.first().name).AsDecimal();
            QVERIFY(!(first < previous));
            previous = first;
        }
        ds->Close();
        chain->setCommandText(designed);

        // And in again through the data set, as bound parameters.
        suite->exec(QStringLiteral("delete from ") + table);
        ds->Open();
        QHash<QString, QStringList> assigned;
        for (int r = 0; r < rows; ++r) {
            ds->Append();
            fillKeys(ds, r);
            for (const FieldDef &def : columns) {
                Field &field = ds->FieldByName(def.name);
                field.setValue(valuesFor(def.scale)[r]);
                assigned[keyOf(r)] << field.AsDecimal().toPlainString();
            }
            save(ds);
        }
        database = stored(table, ds);
        QCOMPARE(database.size(), rows);
        for (auto it = assigned.cbegin(); it != assigned.cend(); ++it)
            QCOMPARE(database.value(it.key()), it.value());

        // An update located by every column's old value finds each row: the
        // old values bound in the where clause are the stored ones exactly.
        FieldDefs comparable;
        for (const FieldDef &def : ds->fieldDefs())
            if (def.type != FieldType::Blob)
                comparable << def;
        SqlDataSet select(QStringLiteral("SQLDS_Todas"), dm->SQLConnection1,
                          QStringLiteral("select %1 from %2").arg(TableDefs::columnList(comparable), table));
        DataSetProvider provider(QStringLiteral("DSP_Todas"), &select, DataSetProvider::UpdateMode::WhereAll);
        ClientDataSet all(QStringLiteral("Todas"), &provider, comparable);
        all.Open();
        Field &first = all.FieldByName(columns.first().name);
        for (all.First(); !all.Eof(); all.Next()) {
            all.Edit();
            first.setAsDecimal(Decimal(first.AsDecimal().units() / 2, columns.first().scale));
            all.Post();
        }
        QCOMPARE(all.ApplyUpdates(-1), 0);
        QCOMPARE(suite->scalar(QStringLiteral("select cast(%1 as varchar(32)) from %2 where %3 = '%4'")
                                   .arg(columns.first().name, table, ds->fieldDefs().first().name, keyOf(14)))
                     .toString(),
                 Decimal(std::numeric_limits<qint64>::max() / 2, columns.first().scale).toPlainString());
    }

    // Doubles keep their digits as text without an exponent, and a decimal the
    // database holds beyond what its column takes here stops only what reads it.
    void doublesAndValuesBeyondTheColumn()
    {
        suite->exec(QStringLiteral("alter table COMPONEN drop ICMS"));
        suite->exec(QStringLiteral("alter table COMPONEN add ICMS double precision"));
        suite->exec(QStringLiteral("insert into COMPONEN (CODIGO, COMPONENTE, GRUPO, PRECOR, ICMS, QDEESTOQUE, ESTOQUECRITICO) "
                                   "values ('P1', 'Pomada', 'REV', 2.5, 1e30, 1000000, 0.00005)"));
        dm->Componentes->Open();
        QCOMPARE(dm->Componentes->FieldByName(QStringLiteral("PRECOR")).AsString(), QStringLiteral("2,5"));
        QCOMPARE(dm->Componentes->FieldByName(QStringLiteral("QDEESTOQUE")).AsString(), QStringLiteral("1000000"));
        QCOMPARE(dm->Componentes->FieldByName(QStringLiteral("ESTOQUECRITICO")).AsString(), QStringLiteral("0,00005"));
        QCOMPARE(dm->Componentes->FieldByName(QStringLiteral("QDEESTOQUE")).AsDecimal().toPlainString(), QStringLiteral("1000000.00000000"));
        Field &icms = dm->Componentes->FieldByName(QStringLiteral("ICMS"));
        QVERIFY(!icms.IsNull());
        QCOMPARE(icms.textOf(dm->Componentes->currentValue(icms.Index())), QStringLiteral("1.000000000000000e+30"));
        for (const auto &read : std::initializer_list<std::function<void()>>{[&] { icms.AsString(); }, [&] { icms.AsDecimal(); },
                                                                             [&] { icms.Value(); }}) {
            try {
                read();
                QFAIL("a value beyond the column was read");
            } catch (const ConvertError &error) {
                QCOMPARE(error.message(), QStringLiteral("O valor 1.000000000000000e+30 está fora do alcance da coluna ICMS, "
                                                         "que vai de -92233720368,54775808 a 92233720368,54775807."));
            }
        }

        // Out of range on the way in, named too: a price of 10^17 does not fit 8 places.
        dm->TabRev1->Open();
        dm->TabRev1->Append();
        dm->TabRev1->FieldByName(QStringLiteral("PRECO1")).setAsString(QStringLiteral("92233720368547758,07"));
        QVERIFY_THROWS_EXCEPTION(ConvertError, dm->Componentes->FieldByName(QStringLiteral("PRECOR"))
                                                   .setAsDecimal(dm->TabRev1->FieldByName(QStringLiteral("PRECO1")).AsDecimal()));
        QVERIFY_THROWS_EXCEPTION(ConvertError, dm->TabRev1->FieldByName(QStringLiteral("QDE")).setAsString(QStringLiteral("9223372036854775,808")));
    }
};

QTEST_GUILESS_MAIN(DecimalsTest)
#include "tst_decimals.moc"
