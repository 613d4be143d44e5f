// The label job: the product list expanded into TABREV2 on a real embedded database.
#include "JobDatabase.h"
#include "EanWarning.h"
#include "JobProgress.h"
#include "SuiteJob.h"
#include "LabelJobExpansion.h"
#include "LabelJobRun.h"
#include "LabelQuantity.h"
#include "ListQuantities.h"
#include "ListTotals.h"
#include "PrintedJob.h"
#include "SelvarError.h"

#include <QtTest>
#include <memory>

namespace {

struct Product
{
    QString name;
    QVariant quantity; // decimal text or null
    QVariant price;    // decimal text or null
};

} // namespace

Q_DECLARE_METATYPE(Product)

namespace {

QVariant null()
{
    return QVariant(QMetaType::fromType<QString>());
}

// What the progress panel was told, in order.
class RecordedProgress : public JobProgress
{
public:
    QStringList calls;
    void jobBegin(int rows) override { calls << QStringLiteral("begin %1").arg(rows); }
    void labelStarted(const QString &name) override { calls << QStringLiteral("label ") + name; }
    void rowDone(int rows) override { calls << QStringLiteral("row %1").arg(rows); }
    void jobEnd() override { calls << QStringLiteral("end"); }
};

// The lock is free in these tests: nobody waits.
class NoWait : public JobWait
{
public:
    void waiting(const QString &, int) override {}
    bool pause(int) override { return true; }
};

} // namespace

class LabelJobTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<JobDatabase> db;

    void fillList(const QList<Product> &products)
    {
        int code = 0;
        for (const Product &p : products)
            db->suite.exec(QStringLiteral("insert into TABREV1 (CODIGO, COMPONENTE, QDE, CODIGOEAN, PRECO1) values (?, ?, ?, ?, ?)"),
                        {QStringLiteral("P%1").arg(++code), p.name, p.quantity, QStringLiteral("78900000000%1").arg(code),
                         p.price});
    }

    // The job as the outputs read it: through TabRev2, in its order, one text per row.
    QStringList jobRows()
    {
        ClientDataSet &job = *db->dm->TabRev2;
        job.Close();
        job.Open();
        QStringList rows;
        for (job.First(); !job.Eof(); job.Next()) {
            QStringList values;
            for (const char *column : {"CODIGO", "COMPONENTE", "QDE", "CODIGOEAN", "PRECO1"})
                values << job.FieldByName(QLatin1String(column)).DisplayText();
            rows << values.join(QLatin1Char('|'));
        }
        job.Close();
        return rows;
    }

    qint64 expand(const QString &etiqInicial, JobProgress &progress)
    {
        SuiteJob job(*db->dm->SQLConnection1, QStringLiteral("01"), SuiteJob::Kind::Print);
        return LabelJobExpansion(*db->dm).run(etiqInicial, progress, job);
    }

    // Whatever counts the list's labels (the totals under the grid, the large
    // job's question, the rows the print takes, the history, "Preços
    // alterados") counts what the expansion wrote.
    void agreeOnLabels(qint64 labels, const QString &etiqInicial)
    {
        ClientDataSet &shown = *db->dm->TabRev1;
        shown.Close();
        shown.Open();
        QCOMPARE(ListTotals::of(shown).labels, labels);
        QCOMPARE(LabelJobExpansion::rowsToWrite(*db->dm, etiqInicial) - LabelJobExpansion::skippedPositions(etiqInicial), labels);
        QCOMPARE(PrintedJob::fromList(shown, 0).labels(), labels);
        qint64 taken = 0;
        const int qde = shown.FieldByName(QStringLiteral("QDE")).Index();
        for (const QVector<QVariant> &row : LabelJobRun::shownRows(shown))
            taken += LabelQuantity::labels(row.at(qde));
        QCOMPARE(taken, labels);
        qint64 asked = 0;
        for (const ListQuantities::Row &row : ListQuantities::rows(shown))
            asked += row.quantity.value_or(0);
        QCOMPARE(asked, labels);
    }

private slots:
    void init()
    {
        db = std::make_unique<JobDatabase>();
        QVERIFY(db->create());
    }

    void cleanup()
    {
        db.reset();
    }

    void expansion_data()
    {
        QTest::addColumn<QList<Product>>("list");
        QTest::addColumn<QString>("etiqInicial");
        QTest::addColumn<QStringList>("job");

        const QList<Product> abc{{QStringLiteral("A"), QStringLiteral("2"), QStringLiteral("1.50")},
                                 {QStringLiteral("B"), QStringLiteral("0"), QStringLiteral("2.00")},
                                 {QStringLiteral("C"), QStringLiteral("1"), QStringLiteral("1234.56")}};
        const QStringList abcJob{QStringLiteral("000001|A||789000000001|1,50"), QStringLiteral("000002|A||789000000001|1,50"),
                                 QStringLiteral("000003|C||789000000003|1234,56")};
        const QStringList threeSkipped{QStringLiteral("-000001||||"), QStringLiteral("-000002||||"),
                                       QStringLiteral("-000003||||")};

        QTest::newRow("quantities 2, 0, 1") << abc << QString() << abcJob;
        QTest::newRow("first label 4: three skipped positions, numbering not shifted")
            << abc << QStringLiteral("4") << threeSkipped + abcJob;
        QTest::newRow("first label 1: nothing skipped") << abc << QStringLiteral("1") << abcJob;
        QTest::newRow("first label 0: nothing skipped") << abc << QStringLiteral("0") << abcJob;
        QTest::newRow("first label negative: nothing skipped") << abc << QStringLiteral("-5") << abcJob;
        QTest::newRow("halves to the even neighbour: 2.5 -> 2, 3.5 -> 4, 0.5 -> 0")
            << QList<Product>{{QStringLiteral("D"), QStringLiteral("2.5"), QStringLiteral("1")},
                              {QStringLiteral("E"), QStringLiteral("3.5"), QStringLiteral("1")},
                              {QStringLiteral("F"), QStringLiteral("0.5"), QStringLiteral("1")},
                              {QStringLiteral("G"), QStringLiteral("0.501"), QStringLiteral("1")}}
            << QString()
            << QStringList{QStringLiteral("000001|D||789000000001|1,00"), QStringLiteral("000002|D||789000000001|1,00"),
                           QStringLiteral("000003|E||789000000002|1,00"), QStringLiteral("000004|E||789000000002|1,00"),
                           QStringLiteral("000005|E||789000000002|1,00"), QStringLiteral("000006|E||789000000002|1,00"),
                           QStringLiteral("000007|G||789000000004|1,00")};
        QTest::newRow("no price: 0.00; empty or negative quantity: no label")
            << QList<Product>{{QStringLiteral("H"), QStringLiteral("1"), null()},
                              {QStringLiteral("I"), null(), QStringLiteral("5")},
                              {QStringLiteral("J"), QStringLiteral("-2"), QStringLiteral("5")}}
            << QString() << QStringList{QStringLiteral("000001|H||789000000001|0,00")};
        QTest::newRow("empty list: only the skipped positions") << QList<Product>{} << QStringLiteral("4") << threeSkipped;
    }

    void expansion()
    {
        QFETCH(QList<Product>, list);
        QFETCH(QString, etiqInicial);
        QFETCH(QStringList, job);
        fillList(list);
        db->suite.exec(QStringLiteral("insert into TABREV2 (CODIGO, COMPONENTE) values ('000001', 'previous job')"));
        NoJobProgress quiet;
        const qint64 labels = expand(etiqInicial, quiet);
        QCOMPARE(jobRows(), job);
        QCOMPARE(labels, qint64(job.size() - job.filter(QRegularExpression(QStringLiteral("^-"))).size()));
        // The list itself is left as it was, so the same job can be printed again.
        QCOMPARE(db->suite.scalar(QStringLiteral("select count(*) from TABREV1")).toInt(), list.size());
        agreeOnLabels(labels, etiqInicial);
    }

    // The panel follows the job: a caption per label, the gauge per list row.
    void progressOfAJob()
    {
        fillList({{QStringLiteral("A"), QStringLiteral("2"), null()},
                  {QStringLiteral("B"), QStringLiteral("0"), null()},
                  {QStringLiteral("C"), QStringLiteral("1"), null()}});
        RecordedProgress progress;
        expand(QStringLiteral("2"), progress);
        QCOMPARE(progress.calls, QStringList({QStringLiteral("begin 3"), QStringLiteral("label A"), QStringLiteral("label A"),
                                              QStringLiteral("row 1"), QStringLiteral("row 2"), QStringLiteral("label C"),
                                              QStringLiteral("row 3"), QStringLiteral("end")}));
    }

    // A first label that is not a whole number is refused before anything
    // changes: the previous job stays and the panel never appears.
    void badFirstLabelChangesNothing_data()
    {
        QTest::addColumn<QString>("etiqInicial");
        QTest::newRow("letters") << QStringLiteral("abc");
        QTest::newRow("decimal") << QStringLiteral("2,5");
        QTest::newRow("trailing text") << QStringLiteral("4x");
        QTest::newRow("blank") << QStringLiteral(" ");
    }

    void badFirstLabelChangesNothing()
    {
        QFETCH(QString, etiqInicial);
        fillList({{QStringLiteral("A"), QStringLiteral("2"), null()}});
        db->suite.exec(QStringLiteral("insert into TABREV2 (CODIGO, COMPONENTE) values ('000001', 'previous job')"));
        RecordedProgress progress;
        try {
            expand(etiqInicial, progress);
            QFAIL("a first label that is not an integer must be refused");
        } catch (const ConvertError &error) {
            QCOMPARE(error.message(), QStringLiteral("'%1' is not a valid integer value").arg(etiqInicial));
        }
        QCOMPARE(jobRows(), QStringList{QStringLiteral("000001|previous job|||")});
        QVERIFY(progress.calls.isEmpty());
    }

    // Before a print, the products that get labels and whose EAN would not print
    // as stored are named, twenty at most, the rest counted.
    void eanWarningNamesWhatWouldPrintWrong()
    {
        auto add = [&](const QString &codigo, const QString &name, const QVariant &quantity, const QString &ean) {
            db->suite.exec(QStringLiteral("insert into TABREV1 (CODIGO, COMPONENTE, QDE, CODIGOEAN) values (?, ?, ?, ?)"),
                           {codigo, name, quantity, ean});
        };
        add(QStringLiteral("A"), QStringLiteral("Sem quantidade"), null(), QStringLiteral("7896004703397"));
        add(QStringLiteral("B"), QStringLiteral("Quantidade zero"), QStringLiteral("0.4"), QStringLiteral("7896004703397"));
        add(QStringLiteral("C"), QStringLiteral("Código certo"), QStringLiteral("1"), QStringLiteral("7896004703398"));
        add(QStringLiteral("D"), QStringLiteral("Sem código"), QStringLiteral("1"), QString());
        add(QStringLiteral("E"), QStringLiteral("Doze dígitos"), QStringLiteral("1"), QStringLiteral("789600470339"));
        ClientDataSet &list = *db->dm->TabRev1;
        QCOMPARE(EanWarning::question(list), QString());

        add(QStringLiteral("F"), QStringLiteral("Letra O no código"), QStringLiteral("0.501"), QStringLiteral("78960047O3398"));
        for (int i = 1; i <= 22; ++i)
            add(QStringLiteral("G%1").arg(i, 2, 10, QLatin1Char('0')), QStringLiteral("Produto %1").arg(i, 2, 10, QLatin1Char('0')),
                QStringLiteral("2"), QStringLiteral("7896004703397"));
        list.Close();
        list.Open();
        list.setRecNo(3);
        QString expected = QStringLiteral("Estes produtos têm um código EAN que não será impresso como está gravado:\r\r"
                                          "Letra O no código (78960047O3398: tem caracteres que não são dígitos)\r");
        for (int i = 1; i <= 19; ++i)
            expected += QStringLiteral("Produto %1 (7896004703397: dígito verificador errado: o último dígito deveria ser 8)\r")
                            .arg(i, 2, 10, QLatin1Char('0'));
        expected += QStringLiteral("e mais 3\r\rImprimir assim mesmo?");
        QCOMPARE(EanWarning::question(list), expected);
        QCOMPARE(list.RecNo(), 3); // the user's row stays current
    }

    // Jobs of different sizes one after the other, as the pharmacy prints them,
    // each emptying the table the last one filled: every job is read back by the
    // outputs in the order it was written, skipped positions first.
    void jobsReadBackInOrder()
    {
        QList<Product> big, small;
        for (int i = 0; i < 30; ++i)
            big << Product{QStringLiteral("Produto %1").arg(i, 2, 10, QLatin1Char('0')), QStringLiteral("10"), null()};
        for (int i = 0; i < 30; ++i)
            small << Product{QStringLiteral("Outro %1").arg(i, 2, 10, QLatin1Char('0')), QStringLiteral("3"), null()};
        NoJobProgress quiet;
        for (const auto &list : {big, small, big}) {
            db->suite.exec(QStringLiteral("delete from TABREV1"));
            fillList(list);
            db->dm->TabRev1->Close();
            const qint64 labels = expand(QStringLiteral("5"), quiet);
            QStringList expected, codes;
            for (int i = 1; i <= 4; ++i)
                expected << QStringLiteral("-%1").arg(i, 6, 10, QLatin1Char('0'));
            for (int i = 1; i <= labels; ++i)
                expected << QStringLiteral("%1").arg(i, 6, 10, QLatin1Char('0'));
            // Read as the outputs read it, through the open data set.
            ClientDataSet &job = *db->dm->TabRev2;
            for (job.First(); !job.Eof(); job.Next())
                codes << job.FieldByName(QStringLiteral("CODIGO")).AsString();
            QCOMPARE(codes, expected);
        }
    }

    // The run the worker makes prints the rows the station shows, in their
    // order, whatever another station stored since they were read; a job read
    // again must still be this one.
    void runPrintsTheRowsShown()
    {
        fillList({{QStringLiteral("A"), QStringLiteral("2"), QStringLiteral("1.50")},
                  {QStringLiteral("B"), QStringLiteral("0"), QStringLiteral("2.00")},
                  {QStringLiteral("C"), QStringLiteral("1"), null()}});
        NoWait wait;
        NoJobProgress quiet;
        ClientDataSet &list = *db->dm->TabRev1;
        list.Close();
        db->dm->SQLDS_TabRev1->setCommandText(
            QStringLiteral("Select CODIGO, COMPONENTE, QDE, CODIGOEAN, PRECO1 from TABREV1 order by COMPONENTE desc"));
        LabelJobRun::Request request{QStringLiteral("01"), QString(), LabelJobRun::shownRows(list)};
        QCOMPARE(request.shown.size(), std::size_t(3));

        db->suite.exec(QStringLiteral("update TABREV1 set QDE = 5 where CODIGO = 'P2'"));
        db->suite.exec(QStringLiteral("update TABREV1 set QDE = 9 where CODIGO = 'P1'"));
        const LabelJobRun::Outcome written = LabelJobRun::write(*db->dm, request, wait, quiet);
        QCOMPARE(written.labels, 3);
        QCOMPARE(written.job.size(), std::size_t(3));
        QCOMPARE(jobRows(), QStringList({QStringLiteral("000001|C||789000000003|0,00"),
                                         QStringLiteral("000002|A||789000000001|1,50"),
                                         QStringLiteral("000003|A||789000000001|1,50")}));
        // The list as stored is the other station's: nothing of it was written back.
        QCOMPARE(db->suite.scalar(QStringLiteral("select cast(QDE as integer) from TABREV1 where CODIGO = 'P2'")).toInt(), 5);

        QCOMPARE(LabelJobRun::readAgain(*db->dm, QStringLiteral("01"), written.written, 3, wait).size(), std::size_t(3));
        // Another station's job of the same size, or of another size, in its place.
        const auto refused = [&] {
            try {
                LabelJobRun::readAgain(*db->dm, QStringLiteral("01"), written.written, 3, wait);
            } catch (const SelvarError &error) {
                return error.message().startsWith(QStringLiteral("O trabalho gravado já foi substituído"));
            }
            return false;
        };
        db->suite.exec(QStringLiteral("update TABREV2 set PRECO1 = 1.51 where CODIGO = '000002'"));
        QVERIFY2(refused(), "a job of the same size with another price was taken for this one");
        db->suite.exec(QStringLiteral("update TABREV2 set PRECO1 = 1.50 where CODIGO = '000002'"));
        QCOMPARE(LabelJobRun::readAgain(*db->dm, QStringLiteral("01"), written.written, 3, wait).size(), std::size_t(3));
        db->suite.exec(QStringLiteral("delete from TABREV2 where CODIGO = '000003'"));
        QVERIFY2(refused(), "a job of another size was taken for this one");
    }
};

QTEST_GUILESS_MAIN(LabelJobTest)
#include "tst_label_job.moc"
