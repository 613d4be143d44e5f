#include "ListWindow.h"

#include "Counter.h"
#include "ListReads.h"
#include "JobWorker.h"

#include "DataSource.h" // before DataSetModel.h, which needs it whole
#include "DataSetModel.h"
#include "ListGridDelegate.h"
#include "ReportModal.h"
#include "SelvarProgram.h"
#include "TDM.h"
#include "TFormSelvarra.h"
#include "ThermalPrintChoice.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

const QStringList &ListWindow::modelDescriptions()
{
    static const QStringList descriptions{QStringLiteral("A4 - Pimaco 6180 (3 x 10)"),
                                          QStringLiteral("Zebra - 3,0 x 1,7 - 3 colunas"),
                                          QStringLiteral("Carta - Pimaco 6080")};
    return descriptions;
}

bool ListWindow::start(const QString &currentModel)
{
    if (!app.suite.createMainDatabase())
        return false;
    app.writeStandardIni();
    app.setUser(QStringLiteral("Joana"));
    app.addStation(QStringLiteral("01"), QStringLiteral("JOANA"));
    for (int i = 0; i < modelDescriptions().size(); ++i)
        app.suite.exec(QStringLiteral("insert into ETIQPAR (MODELO, DESCRICAO, QDECOL) values (?, ?, 3)"),
                       {QStringLiteral("0%1").arg(i + 1), modelDescriptions()[i]});
    app.suite.exec(QStringLiteral("insert into ETIQCORR (MODELOCORRENTE) values (?)"), {currentModel});
    if (!app.start())
        return false;
    // A thermal job first offers Visualizar or Imprimir; a test that does not
    // drive that choice itself prints, as the clerk who presses Imprimir.
    ReportModal::Hook previous = ReportModal::setHook([](QDialog &dialog) {
        if (qobject_cast<ThermalPrintChoice *>(&dialog)) {
            dialog.done(ThermalPrintChoice::Print);
            return dialog.result();
        }
        return dialog.exec();
    });
    if (previous)
        ReportModal::setHook(previous);
    form()->show();
    return QTest::qWaitForWindowActive(form());
}

TFormSelvarra *ListWindow::form()
{
    return app.program().form();
}

TDM *ListWindow::dm()
{
    return app.program().dataModule();
}

void ListWindow::addProduct(const QString &codigo, const QVariant &componente, const QVariant &dcb, const QVariant &precor,
                            const QString &grupo)
{
    app.suite.exec(QStringLiteral("insert into COMPONEN (CODIGO, COMPONENTE, GRUPO, DCB, PRECOR) values (?, ?, ?, ?, ?)"),
                   {codigo, componente, grupo, dcb, precor});
}

QString ListWindow::storedQuantity(const QString &codigo)
{
    settle(); // a quantity typed is stored off the window's thread
    return app.suite.scalar(QStringLiteral("select QDE from TABREV1 where CODIGO = ?"), {codigo}).toString();
}

void ListWindow::clickBuild()
{
    QTest::mouseClick(form()->BotSelvarProdRev, Qt::LeftButton);
    waitForBuild();
}

bool ListWindow::waitForBuild()
{
    TFormSelvarra *f = form();
    return QTest::qWaitFor([f] { return !f->jobRunning(); }, 120000) && settle();
}

void ListWindow::clickReopen()
{
    QTest::mouseClick(form()->btnConfigEtiq, Qt::LeftButton);
    settle();
}

bool ListWindow::settle()
{
    ListReads *reads = form()->listReads();
    Counter *counter = form()->counter();
    return !reads || QTest::qWaitFor([reads, counter] { return reads->idle() && counter->idle(); }, 60000);
}

void ListWindow::clickClose()
{
    QTest::mouseClick(form()->BotSairMontEtiq, Qt::LeftButton);
}

QStringList ListWindow::log()
{
    return form()->mmo1->toPlainText().split(QLatin1Char('\n'));
}

QStringList ListWindow::storedList()
{
    settle();
    QStringList rows;
    for (const QVariantList &row :
         app.suite.rows(QStringLiteral("select CODIGO, COMPONENTE, QDE, CODIGOEAN, PRECO1 from TABREV1 order by CODIGO"))) {
        QStringList texts;
        for (const QVariant &value : row)
            texts << (value.isNull() ? QString() : value.toString());
        rows << texts.join(QLatin1Char('|'));
    }
    return rows;
}

QString ListWindow::gridText(int row, int column)
{
    settle();
    return form()->DBGrid1Model->index(row, column).data(Qt::DisplayRole).toString();
}

QString ListWindow::currentProduct()
{
    settle();
    return dm()->TabRev1->FieldByName(QStringLiteral("Componente")).AsString();
}

QLineEdit *ListWindow::startTyping(int row, int column, const QString &text)
{
    // Whatever the last action left pending (a closing drop-down list giving
    // the focus back) happens before the cell is opened, not in the middle.
    QCoreApplication::processEvents();
    settle();
    QTableView *grid = form()->DBGrid1;
    const QModelIndex cell = grid->model()->index(row, column);
    grid->setCurrentIndex(cell);
    grid->setFocus();
    grid->edit(cell);
    QPointer<QLineEdit> editor = qobject_cast<QLineEdit *>(grid->indexWidget(cell));
    if (!editor)
        return nullptr;
    editor->selectAll();
    // At a hand's pace: keys a few milliseconds apart are a barcode scanner's.
    for (const QChar key : text) {
        QTest::qWait(2 * ListGridDelegate::kScannerGapMs);
        if (!editor)
            return nullptr;
        QTest::keyClicks(editor, QString(key));
    }
    return editor;
}

void ListWindow::typeInCell(int row, int column, const QString &text)
{
    QLineEdit *editor = startTyping(row, column, text);
    QVERIFY2(editor, "the cell has no line editor");
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents(); // the grid commits the editor's text in a queued call
    settle();
}

void ListWindow::goToRow(int row)
{
    QTableView *grid = form()->DBGrid1;
    grid->setCurrentIndex(grid->model()->index(row, 0));
    settle();
}

void ListWindow::chooseModel(const QString &beginning)
{
    settle();
    QComboBox *box = form()->DBLCB1;
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Down, Qt::AltModifier);
    QAbstractItemView *list = box->view();
    QTRY_VERIFY(list->isVisible());
    QTest::keyClick(list, Qt::Key_Home);
    for (int guard = 0; guard < 10 && !list->currentIndex().data().toString().startsWith(beginning); ++guard)
        QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Return);
    QVERIFY2(box->currentText().startsWith(beginning), qPrintable(box->currentText()));
}

HeldReads::HeldReads(TFormSelvarra *form) : m_reads(form->listReads())
{
    m_reads->reader().setBeforeFetch([this] {
        ++m_begun;
        m_gate.acquire();
    });
}

HeldReads::~HeldReads()
{
    m_reads->reader().setBeforeFetch({});
    m_gate.release(1000);
}

HeldBuild::HeldBuild(TFormSelvarra *form, int atStep) : m_worker(form->jobWorker())
{
    m_worker->setStepHook([this, atStep](int done) {
        // Once: a build that starts again passes freely.
        if (done != atStep || m_reached.exchange(true))
            return;
        m_gate.acquire();
        if (m_onRelease)
            m_onRelease();
    });
}

HeldBuild::~HeldBuild()
{
    m_worker->setStepHook({});
    m_gate.release(1000);
}

bool HeldBuild::waitReached()
{
    return QTest::qWaitFor([&] { return m_reached.load(); }, 60000);
}

bool HeldReads::waitBegun(int count)
{
    return QTest::qWaitFor([&] { return m_begun.load() >= count; }, 60000);
}

void ListWindowTest::init()
{
    w = std::make_unique<ListWindow>();
    QVERIFY(w->start());
}
