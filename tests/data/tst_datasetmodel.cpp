// The grid model over a write-through data set: leaving an edited row stores it.
#include "DataSetModel.h"
#include "Messages.h"
#include "TDM.h"
#include "TestSuite.h"

#include <QTableView>
#include <QtTest>
#include <memory>

class DataSetModelTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestSuite> suite;
    std::unique_ptr<TDM> dm;
    std::unique_ptr<DataSetModel> model;
    QStringList messages;
    Messages::Sink previousSink;

private slots:
    void init()
    {
        suite = std::make_unique<TestSuite>();
        QVERIFY(suite->createMainDatabase());
        suite->exec(QStringLiteral("insert into TABREV1 (CODIGO, COMPONENTE, PRECO1) values ('A', 'Alfa', 3.5)"));
        suite->exec(QStringLiteral("insert into TABREV1 (CODIGO, COMPONENTE, PRECO1) values ('B', 'Beta', 1234.5)"));
        dm = std::make_unique<TDM>();
        dm->SQLConnection1->setDataBase(QStringLiteral(":C:\\boticon\\dados\\boticon.bd"));
        dm->SQLDS_TabRev1->setCommandText(QStringLiteral("select CODIGO, COMPONENTE, QDE, CODIGOEAN, PRECO1 from TABREV1 order by CODIGO"));
        model = std::make_unique<DataSetModel>();
        model->setDataSource(dm->DS_TabRev1);
        model->setColumns({{QStringLiteral("Qtde."), QStringLiteral("QDE"), 32, false},
                           {QStringLiteral("Produto"), QStringLiteral("COMPONENTE"), 241, true},
                           {QStringLiteral("Preço"), QStringLiteral("PRECO1"), 64, false}});
        messages.clear();
        previousSink = Messages::setSink([this](const QString &text) { messages << text; });
        dm->TabRev1->Open();
    }

    void cleanup()
    {
        Messages::setSink(previousSink);
        model.reset();
        dm.reset();
        suite.reset();
    }

    void showsRowsWithTheDisplayFormat()
    {
        QCOMPARE(model->rowCount(), 2);
        QCOMPARE(model->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Qtde."));
        QCOMPARE(model->data(model->index(0, 2), Qt::DisplayRole).toString(), QStringLiteral("3,50"));
        QCOMPARE(model->data(model->index(1, 2), Qt::DisplayRole).toString(), QStringLiteral("1234,50"));
        QVERIFY(!(model->flags(model->index(0, 1)) & Qt::ItemIsEditable));
        QVERIFY(model->flags(model->index(0, 0)) & Qt::ItemIsEditable);
    }

    void leavingAnEditedRowStoresIt()
    {
        QVERIFY(model->setData(model->index(0, 0), QStringLiteral("3"), Qt::EditRole));
        // Not yet left: nothing in the database.
        QVERIFY(suite->scalar(QStringLiteral("select QDE from TABREV1 where CODIGO = 'A'")).isNull());
        model->setCurrentRow(1);
        QCOMPARE(suite->scalar(QStringLiteral("select cast(QDE as varchar(20)) from TABREV1 where CODIGO = 'A'")).toString(),
                 QStringLiteral("3.000"));
        QCOMPARE(model->data(model->index(0, 0), Qt::DisplayRole).toString(), QStringLiteral("3"));
    }

    void aNonNumberIsRefusedAndLosesNothing()
    {
        QVERIFY(model->setData(model->index(0, 2), QStringLiteral("4,75"), Qt::EditRole));
        QVERIFY(!model->setData(model->index(0, 0), QStringLiteral("dois"), Qt::EditRole));
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages.first().contains(QStringLiteral("'dois'")));
        model->setCurrentRow(1);
        QCOMPARE(suite->scalar(QStringLiteral("select cast(PRECO1 as varchar(20)) from TABREV1 where CODIGO = 'A'")).toString(),
                 QStringLiteral("4.75"));
    }

    void followsTheDataSetInAView()
    {
        QTableView view;
        view.setModel(model.get());
        view.show();
        QCOMPARE(view.model()->rowCount(), 2);
        suite->exec(QStringLiteral("insert into TABREV1 (CODIGO, COMPONENTE) values ('C', 'Gama')"));
        dm->TabRev1->Close();
        dm->TabRev1->Open();
        QCOMPARE(view.model()->rowCount(), 3);
        QCOMPARE(view.model()->data(view.model()->index(2, 1)).toString(), QStringLiteral("Gama"));
    }
};

QTEST_MAIN(DataSetModelTest)
#include "tst_datasetmodel.moc"
