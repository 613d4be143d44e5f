// The control bound to a column of a real data set: it follows the current
// row and the column's value, and a column the data set lacks fails with the
// data set's own error.

#include "ClientDataSet.h"
#include "DataSource.h"
#include "SelvarError.h"
#include "TDM.h"
#include "TZetaDBBarcode.h"
#include "TestSuite.h"

#include <QTest>

#include <memory>

class TstBarcodeBinding : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestSuite> suite;
    std::unique_ptr<TDM> dm;

    QString currentEan() { return dm->TabRev1->FieldByName(QStringLiteral("CODIGOEAN")).AsString(); }

private slots:
    void init();
    void cleanup();
    void followsRowsAndValues();
    void missingColumnFails_data();
    void missingColumnFails();
    void unboundKeepsLastText();
};

void TstBarcodeBinding::init()
{
    suite = std::make_unique<TestSuite>();
    QVERIFY(suite->createMainDatabase());
    const QString insert = QStringLiteral("insert into TABREV1 (CODIGO, COMPONENTE, CODIGOEAN) values (?, ?, ?)");
    suite->exec(insert, {"0001", "DIPIRONA 500MG", "7891000100103"});
    suite->exec(insert, {"0002", "PROTETOR SOLAR", "7896004712345"});
    dm = std::make_unique<TDM>();
    dm->SQLConnection1->setDataBase(QStringLiteral(":C:\\boticon\\dados\\boticon.bd"));
}

void TstBarcodeBinding::cleanup()
{
    dm.reset();
    suite.reset();
}

void TstBarcodeBinding::followsRowsAndValues()
{
    TZetaDBBarcode control;
    control.setTipo(btCodeEAN13);
    control.setDataField(QStringLiteral("CODIGOEAN"));
    control.setDataSource(dm->DS_TabRev1);
    // Bound to a closed data set the control still shows its own text.
    QCOMPARE(control.texto(), QStringLiteral("789786260021"));

    dm->TabRev1->Open();
    QCOMPARE(control.texto(), currentEan());
    const QString first = control.texto();

    dm->TabRev1->Next();
    QCOMPARE(control.texto(), currentEan());
    QVERIFY(control.texto() != first);

    dm->TabRev1->Edit();
    dm->TabRev1->FieldByName(QStringLiteral("CODIGOEAN")).setAsString(QStringLiteral("7890000000017"));
    QCOMPARE(control.texto(), QStringLiteral("7890000000017"));
    dm->TabRev1->Cancel();
    QCOMPARE(control.texto(), currentEan());

    dm->TabRev1->First();
    QCOMPARE(control.texto(), first);

    // Closing leaves the last value shown; reopening reads the current row again.
    dm->TabRev1->Close();
    QCOMPARE(control.texto(), first);
    dm->TabRev1->Open();
    QCOMPARE(control.texto(), currentEan());
}

void TstBarcodeBinding::missingColumnFails_data()
{
    QTest::addColumn<bool>("openFirst");
    QTest::newRow("bound to an open data set") << true;
    QTest::newRow("data set opened afterwards") << false;
}

void TstBarcodeBinding::missingColumnFails()
{
    QFETCH(bool, openFirst);
    TZetaDBBarcode control;
    control.setDataField(QStringLiteral("NAOEXISTE"));
    if (openFirst) {
        dm->TabRev1->Open();
        QVERIFY_THROWS_EXCEPTION(SelvarError, control.setDataSource(dm->DS_TabRev1));
    } else {
        control.setDataSource(dm->DS_TabRev1);
        QVERIFY_THROWS_EXCEPTION(SelvarError, dm->TabRev1->Open());
    }
    try {
        control.setDataField(QStringLiteral("NaoExiste"));
        QFAIL("no error");
    } catch (const SelvarError &e) {
        QCOMPARE(e.message(), QStringLiteral("Field 'NaoExiste' not found"));
    }
    // Moving through the rows afterwards does not fail again, nor change the text.
    dm->TabRev1->Next();
    QCOMPARE(control.texto(), QStringLiteral("789786260021"));
}

void TstBarcodeBinding::unboundKeepsLastText()
{
    auto control = std::make_unique<TZetaDBBarcode>();
    control->setDataField(QStringLiteral("codigoean")); // any letter case, as the data set allows
    control->setDataSource(dm->DS_TabRev1);
    dm->TabRev1->Open();
    const QString shown = control->texto();
    QCOMPARE(shown, currentEan());

    control->setDataSource(nullptr);
    dm->TabRev1->Next();
    QCOMPARE(control->texto(), shown);

    // A data source that goes away leaves the control unbound, not dangling.
    control->setDataSource(dm->DS_TabRev1);
    delete dm->DS_TabRev1;
    dm->DS_TabRev1 = nullptr;
    dm->TabRev1->First();
    QVERIFY(!control->dataSource());
    control->setDataField(QString());
    QCOMPARE(control->dataField(), QString());
}

QTEST_MAIN(TstBarcodeBinding)
#include "tst_barcode_binding.moc"
