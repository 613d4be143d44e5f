// The description conventions that pick the output, and the current model as
// printing reads it: the user's unsaved choice, an unknown code.
#include "ColumnLists.h"
#include "CurrentModel.h"
#include "LabelOutput.h"
#include "TDM.h"
#include "TestSuite.h"

#include <QtTest>

Q_DECLARE_METATYPE(OutputKind)

class TstModels : public QObject
{
    Q_OBJECT
private slots:
    void outputForDescription_data();
    void outputForDescription();
    void currentModelAsPrintingReadsIt();
};

void TstModels::outputForDescription_data()
{
    QTest::addColumn<QString>("description");
    QTest::addColumn<OutputKind>("output");
    QTest::newRow("A4 sheet") << "A4 - Pimaco 6180" << OutputKind::Report;
    QTest::newRow("A5 sheet") << "A5" << OutputKind::Report;
    QTest::newRow("Letter sheet") << "Carta 3 colunas" << OutputKind::Report;
    QTest::newRow("thermal roll, exact") << "Zebra - 3,0 x 1,7 - 3 colunas" << OutputKind::Thermal;
    QTest::newRow("thermal roll, more text") << "Zebra - 3,0 x 1,7 - 3 colunas (balcão)" << OutputKind::Thermal;
    QTest::newRow("Argox printer") << "Argox OS-214 - 3 colunas" << OutputKind::Thermal;
    QTest::newRow("thermal in lower case") << "zebra - 3,0 x 1,7 - 3 colunas" << OutputKind::None;
    QTest::newRow("thermal cut short") << "Zebra - 3,0 x 1,7 - 3 coluna" << OutputKind::None;
    QTest::newRow("letter in lower case") << "carta" << OutputKind::None;
    QTest::newRow("leading blank") << " A4" << OutputKind::None;
    QTest::newRow("empty") << "" << OutputKind::None;
}

void TstModels::outputForDescription()
{
    QFETCH(QString, description);
    QFETCH(OutputKind, output);
    QCOMPARE(::outputForDescription(description), output);
}

void TstModels::currentModelAsPrintingReadsIt()
{
    TestSuite suite;
    QVERIFY(suite.createMainDatabase());
    setColumnLists();
    suite.exec(QStringLiteral("insert into ETIQPAR (MODELO, DESCRICAO) values ('01', 'A4 - Pimaco')"));
    suite.exec(QStringLiteral("insert into ETIQPAR (MODELO, DESCRICAO) values ('02', 'Zebra - 3,0 x 1,7 - 3 colunas')"));
    suite.exec(QStringLiteral("insert into ETIQCORR (MODELOCORRENTE) values ('02')"));
    TDM dm;
    dm.SQLConnection1->setDataBase(QStringLiteral(":C:\\boticon\\dados\\boticon.bd"));

    CurrentModel::reselect(dm, nullptr);
    QCOMPARE(CurrentModel::code(dm), QStringLiteral("02"));
    QCOMPARE(CurrentModel::description(dm), QStringLiteral("Zebra - 3,0 x 1,7 - 3 colunas"));

    CurrentModel::choose(dm, QStringLiteral("01"));
    CurrentModel::reselect(dm, nullptr);
    QCOMPARE(CurrentModel::description(dm), QStringLiteral("A4 - Pimaco"));
    QCOMPARE(dm.EtiqPar->FieldByName(QStringLiteral("MODELO")).AsString(), QStringLiteral("01"));
    QCOMPARE(suite.scalar(QStringLiteral("select MODELOCORRENTE from ETIQCORR")).toString(), QStringLiteral("02"));

    CurrentModel::choose(dm, QStringLiteral("07"));
    QCOMPARE(CurrentModel::description(dm), QString());
}

QTEST_MAIN(TstModels)
#include "tst_models.moc"
