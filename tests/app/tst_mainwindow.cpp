// The real window, offscreen: its controls and their states, the instructions,
// the build log's menu, the list panel, the progress displays, the in-use stamp
// at activation and on closing.
#include "AppFixture.h"
#include "BrLocale.h"
#include "InUseStamp.h"
#include "RunValues.h"
#include "SelvarProgram.h"
#include "TDM.h"
#include "TFormSelvarra.h"
#include "TPieGauge.h"
#include "TextFile.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

namespace {

QString caption(QWidget *w)
{
    if (auto *b = qobject_cast<QAbstractButton *>(w))
        return b->text();
    if (auto *l = qobject_cast<QLabel *>(w))
        return l->text();
    return QString();
}

// Later siblings paint over earlier ones.
int stackIndex(QWidget *w)
{
    return int(w->parentWidget()->children().indexOf(w));
}

} // namespace

class TstMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void cleanupTestCase();

    void controls_data();
    void controls();
    void windowSizeAndTitle();
    void instructionsToggle();
    void instructionsStayInFrontOfTheListPanel();
    void buildLogMenu();
    void listPanelOpensAndCloses();
    void disabledButtonsStayDisabled();
    void progressDisplays();
    void mainActionsInactiveDuringABuild();

    void panelTakesTheScreenColour();
    void freshStampIsLeftToTheOtherCopy();
    void staleStampIsRewrittenAndKeptFresh();
    void unreadableStampIsReportedAndRetried();
    void timerTickThatCannotWriteStopsTheTimer();
    void escapeClosesAndDeletesTheStamp();
    void closeBoxDeletesTheStamp();

private:
    void startWindow(int screenColor = 255);
    TFormSelvarra *form() { return m_app->program().form(); }
    template <typename T = QWidget>
    T *control(const char *name) { return form()->findChild<T *>(QString::fromLatin1(name)); }
    QString stampText() { return TextFile::readFirstLine(InUseStamp::path(), 60); }

    std::unique_ptr<AppFixture> m_app;
    // One untouched window serves every row of the read-only controls check.
    std::unique_ptr<AppFixture> m_untouched;
};

void TstMainWindow::init()
{
    m_app = std::make_unique<AppFixture>();
}

void TstMainWindow::cleanup()
{
    m_app.reset();
}

void TstMainWindow::cleanupTestCase()
{
    m_untouched.reset();
}

void TstMainWindow::startWindow(int screenColor)
{
    QVERIFY(m_app->suite.createMainDatabase());
    m_app->writeStandardIni(screenColor);
    m_app->setUser(QStringLiteral("Maria"));
    m_app->addStation(QStringLiteral("01"), QStringLiteral("MARIA"));
    QVERIFY(m_app->start());
    form()->show();
    QVERIFY(QTest::qWaitForWindowActive(form()));
}

void TstMainWindow::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("shown"); // shown when its panel shows
    QTest::addColumn<QRect>("bounds"); // empty: only the position is checked

    QTest::newRow("BotSelvarProdRev") << "BotSelvarProdRev" << "Códigos de Barras de Produtos Prontos" << true << true << QRect(17, 45, 509, 75);
    QTest::newRow("btnConfigEtiq") << "btnConfigEtiq" << "" << true << true << QRect(527, 45, 80, 75);
    QTest::newRow("BitBtn12") << "BitBtn12" << "<Reservado>" << false << true << QRect(17, 121, 509, 75);
    QTest::newRow("BitBtn13") << "BitBtn13" << "" << false << true << QRect(527, 121, 80, 75);
    QTest::newRow("BotSelvar") << "BotSelvar" << "Códigos de Barras Sequencial" << false << true << QRect(17, 197, 590, 75);
    QTest::newRow("BotSair") << "BotSair" << "Sair" << true << true << QRect(17, 273, 590, 76);
    QTest::newRow("BitBtn14") << "BitBtn14" << "Ver instruções" << true << true << QRect(18, 352, 111, 22);
    QTest::newRow("Gauge1") << "Gauge1" << "" << true << false << QRect(134, 353, 471, 20);
    QTest::newRow("Label30") << "Label30" << "Lendo banco de dados. Por favor aguarde..." << true << false << QRect(188, 374, 0, 0);
    QTest::newRow("mmo1") << "mmo1" << "" << true << false << QRect(23, 24, 586, 321);
    QTest::newRow("Memo2") << "Memo2" << "" << true << false << QRect(162, 15, 425, 383);
    QTest::newRow("PainelSelvarra") << "PainelSelvarra" << "" << true << false << QRect();
    // The title bar spans the list panel inside its one-pixel bevel.
    QTest::newRow("Panel1") << "Panel1" << "Etiquetas de Código de Barras" << true << true << QRect(1, 1, 615, 26);
    QTest::newRow("lbl2") << "lbl2" << "Selecione o tipo de impressora e de etiqueta" << true << true << QRect(11, 32, 0, 0);
    QTest::newRow("DBLCB1") << "DBLCB1" << "" << true << true << QRect(9, 48, 289, 21);
    QTest::newRow("BotSairMontEtiq") << "BotSairMontEtiq" << "Fech&ar" << true << true << QRect(516, 40, 90, 25);
    QTest::newRow("btnEtiqSemPreco") << "btnEtiqSemPreco" << "Etiquetas com preços" << true << true << QRect(10, 72, 160, 25);
    QTest::newRow("BitBtn2") << "BitBtn2" << "Etiquetas sem preços" << false << true << QRect(170, 72, 160, 25);
    QTest::newRow("SpeedButton1") << "SpeedButton1" << "" << false << true << QRect(299, 48, 32, 22);
    QTest::newRow("Label6") << "Label6" << "Etiq. Inicial" << true << true << QRect(10, 103, 0, 0);
    QTest::newRow("EditEtiqInic") << "EditEtiqInic" << "" << true << true << QRect(9, 119, 76, 24);
    QTest::newRow("Label4") << "Label4" << "Localizar Componente" << true << true << QRect(90, 103, 0, 0);
    QTest::newRow("EditPesqComp") << "EditPesqComp" << "" << true << true << QRect(89, 119, 240, 24);
    QTest::newRow("Label5") << "Label5" << "Localizar Código" << true << true << QRect(334, 103, 0, 0);
    QTest::newRow("EditPesqCod") << "EditPesqCod" << "" << true << true << QRect(333, 119, 196, 24);
    // One line under the search boxes is kept for what a search did not find.
    QTest::newRow("DBGrid1") << "DBGrid1" << "" << true << true << QRect(9, 160, 603, 232);
    QTest::newRow("Painel1") << "Painel1" << "" << true << false << QRect(142, 129, 240, 177);
    QTest::newRow("Label3") << "Label3" << "Carregando ....." << true << true << QRect(74, 14, 0, 0);
    QTest::newRow("Pizza") << "Pizza" << "" << true << true << QRect(29, 46, 177, 89);
    QTest::newRow("LabelArq") << "LabelArq" << "" << true << true << QRect(6, 150, 229, 16);
    QTest::newRow("PainelSeqNum") << "PainelSeqNum" << "" << true << false << QRect();
    QTest::newRow("PainelLogin") << "PainelLogin" << "" << true << false << QRect();
    QTest::newRow("btnEtiqPreco") << "btnEtiqPreco" << "" << true << false << QRect();
}

void TstMainWindow::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(bool, enabled);
    QFETCH(bool, shown);
    QFETCH(QRect, bounds);
    if (!m_untouched) {
        m_untouched = std::make_unique<AppFixture>();
        std::swap(m_untouched, m_app);
        startWindow();
        std::swap(m_untouched, m_app);
    }
    QWidget *w = m_untouched->program().form()->findChild<QWidget *>(name);
    QVERIFY2(w, qPrintable(name));
    QCOMPARE(caption(w), text);
    QCOMPARE(w->isEnabled(), enabled);
    QCOMPARE(w->isVisibleTo(w->parentWidget()), shown);
    if (bounds.isValid())
        QCOMPARE(w->geometry(), bounds);
    else if (!bounds.isNull())
        QCOMPARE(w->pos(), bounds.topLeft());
}

void TstMainWindow::windowSizeAndTitle()
{
    startWindow();
    QCOMPARE(form()->size(), QSize(632, 438));
    QCOMPARE(form()->windowTitle(),
             QStringLiteral("  BOTICON - ETIQUETAS DE CODIGO DE BARRAS  -  Usuário: \"Maria\"   Estação: 01"));
    QCOMPARE(control("PainelConsistG")->geometry(), form()->rect());
    QCOMPARE(form()->layoutWindows.size(), 7);
    for (QWidget *layout : form()->layoutWindows)
        QVERIFY(!layout->isVisible());
    auto *grid = control<QTableView>("DBGrid1");
    const QStringList titles{"Qtde.", "Produto", "Código EAN", "Preço"};
    const QList<int> widths{32, 241, 194};
    for (int c = 0; c < titles.size(); ++c)
        QCOMPARE(grid->model()->headerData(c, Qt::Horizontal).toString(), titles[c]);
    for (int c = 0; c < widths.size(); ++c)
        QCOMPARE(grid->columnWidth(c), widths[c]);
}

void TstMainWindow::instructionsToggle()
{
    startWindow();
    auto *button = control<QPushButton>("BitBtn14");
    auto *memo = control<QPlainTextEdit>("Memo2");
    const QStringList lines = memo->toPlainText().split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 39);
    QCOMPARE(lines[1], QStringLiteral("  INSTRUÇÕES:"));
    QCOMPARE(lines[5], QStringLiteral("  1) Após acionar a opção \"Códigos de Barras de Produtos Prontos\""));
    QCOMPARE(lines[11], QStringLiteral("  4) Para imprimir, dê um clique no botão \"Etiquetas com preço\"."));
    QCOMPARE(lines[12], QStringLiteral("  ") + QString(94, QLatin1Char('-')));
    QVERIFY(lines[18].startsWith(QStringLiteral("       Exemplos:     ")));
    QCOMPARE(lines[21], QStringLiteral("      cujo conteúdo é apenas \"Type %1 > %2\". As etiquetas são"));
    QCOMPARE(lines[38], QStringLiteral("  etiquetas as tabelas TABREV1 e TABREV2."));

    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(button->text(), QStringLiteral("Fechar instruções"));
    QVERIFY(memo->isVisible());
    QCOMPARE(memo->geometry(), QRect(162, 15, 425, 383));
    auto *version = memo->findChild<QLabel *>(QStringLiteral("LabelVersao"));
    QVERIFY(version && version->isVisible());
    QCOMPARE(version->text(), QStringLiteral("Selvar versão " SELVAR_PROJECT_VERSION));
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(button->text(), QStringLiteral("Ver instruções"));
    QVERIFY(!memo->isVisible());
}

void TstMainWindow::instructionsStayInFrontOfTheListPanel()
{
    startWindow();
    QTest::mouseClick(control("BitBtn14"), Qt::LeftButton);
    form()->showListPanel();
    QWidget *list = control("PainelSelvarra");
    QWidget *memo = control("Memo2");
    QVERIFY(list->isVisible() && memo->isVisible());
    QVERIFY(stackIndex(memo) > stackIndex(list));
    QVERIFY(stackIndex(control("mmo1")) > stackIndex(list));
    QVERIFY(stackIndex(list) > stackIndex(control("BitBtn14")->parentWidget()));
    QVERIFY(stackIndex(control("BotSair")) > stackIndex(control("Gauge1")));
    QCOMPARE(list->geometry(), control<QFrame>("PainelConsistG")->contentsRect());
}

void TstMainWindow::buildLogMenu()
{
    startWindow();
    auto *menu = control<QMenu>("pm1");
    auto *log = control<QPlainTextEdit>("mmo1");
    QCOMPARE(log->toPlainText(), QStringLiteral("mmo1"));
    QCOMPARE(menu->actions().size(), 2);
    QCOMPARE(menu->actions()[0]->text(), QStringLiteral("Visualizar memo"));
    QCOMPARE(menu->actions()[1]->text(), QStringLiteral("Fechar memo"));

    // A right click on the big button opens the menu there.
    emit control("BotSelvarProdRev")->customContextMenuRequested(QPoint(10, 10));
    QTRY_VERIFY(menu->isVisible());
    menu->hide();

    log->setGeometry(0, 0, 10, 10);
    menu->actions()[0]->trigger();
    QVERIFY(log->isVisible());
    QCOMPARE(log->geometry(), QRect(23, 24, 586, 321));
    form()->buildLogClear();
    form()->buildLogAppend(QStringLiteral("primeira"));
    form()->buildLogAppend(QStringLiteral("segunda"));
    form()->buildLogFlush();
    QCOMPARE(log->toPlainText(), QStringLiteral("primeira\nsegunda"));

    emit log->customContextMenuRequested(QPoint(5, 5));
    QTRY_VERIFY(menu->isVisible());
    menu->actions()[1]->trigger();
    menu->hide();
    QVERIFY(!log->isVisible());
}

void TstMainWindow::listPanelOpensAndCloses()
{
    startWindow();
    m_app->suite.exec(QStringLiteral("insert into TABREV1 (CODIGO, COMPONENTE, PRECO1) values ('1', 'Água Micelar', 3.5)"));
    TDM &dm = *m_app->program().dataModule();
    dm.TabRev1->Open();
    form()->showListPanel();
    auto *grid = control<QTableView>("DBGrid1");
    QVERIFY(control("PainelSelvarra")->isVisible());
    // Shown, the panel fills the main panel, and its title bar still spans it.
    const QRect inside = control<QFrame>("PainelSelvarra")->contentsRect();
    QCOMPARE(control("Panel1")->geometry(), QRect(inside.topLeft(), QSize(inside.width(), 26)));
    QVERIFY(inside.width() > 615);
    QTRY_VERIFY(grid->hasFocus());
    QCOMPARE(grid->currentIndex().column(), 0);
    QCOMPARE(grid->model()->index(0, 1).data().toString(), QStringLiteral("Água Micelar"));
    QCOMPARE(grid->model()->index(0, 3).data().toString(), QStringLiteral("3,50"));

    QTest::mouseClick(control("BotSairMontEtiq"), Qt::LeftButton);
    QVERIFY(!control("PainelSelvarra")->isVisible());
    QVERIFY(!dm.TabRev1->Active());
    QVERIFY(control("BotSair")->isVisible());
}

void TstMainWindow::disabledButtonsStayDisabled()
{
    startWindow();
    form()->showListPanel();
    for (const char *name : {"BotSelvar", "BitBtn12", "BitBtn13", "BitBtn2", "SpeedButton1"}) {
        auto *button = control<QAbstractButton>(name);
        QSignalSpy clicks(button, &QAbstractButton::clicked);
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(clicks.count(), 0);
        QVERIFY(!button->isEnabled());
    }
    QVERIFY(m_app->messages.isEmpty());
}

void TstMainWindow::progressDisplays()
{
    startWindow();
    form()->showListPanel();
    auto *panel = control("Painel1");
    auto *pie = control<TPieGauge>("Pizza");
    panel->move(0, 0);
    form()->progressBegin(4);
    QVERIFY(panel->isVisible());
    QCOMPARE(panel->geometry(), QRect(142, 129, 240, 177));
    QCOMPARE(pie->maximum(), 4);
    QCOMPARE(pie->value(), 0);
    form()->progressStep(QStringLiteral("Etiq001.txt"));
    form()->progressStep(QStringLiteral("Etiq002.txt"));
    QCOMPARE(pie->value(), 2);
    QCOMPARE(pie->percentDone(), 50);
    QCOMPARE(control<QLabel>("LabelArq")->text(), QStringLiteral("Etiq002.txt"));
    form()->progressEnd();
    QVERIFY(!panel->isVisible());

    auto *gauge = control<QProgressBar>("Gauge1");
    form()->BotSairMontEtiqClick();
    form()->loadingBegin(10);
    QVERIFY(gauge->isVisible() && control("Label30")->isVisible());
    form()->loadingSetValue(7);
    QCOMPARE(gauge->value(), 7);
    QCOMPARE(gauge->maximum(), 10);
    form()->loadingEnd();
    QVERIFY(!gauge->isVisible() && !control("Label30")->isVisible());
}

void TstMainWindow::mainActionsInactiveDuringABuild()
{
    startWindow();
    form()->setMainActionsEnabled(false);
    for (const char *name : {"BotSelvarProdRev", "btnConfigEtiq", "BotSair", "BitBtn14"})
        QVERIFY(!control(name)->isEnabled());
    QTest::keyClick(form(), Qt::Key_Escape);
    QVERIFY(!form()->close());
    QVERIFY(form()->isVisible());
    form()->setMainActionsEnabled(true);
    for (const char *name : {"BotSelvarProdRev", "btnConfigEtiq", "BotSair", "BitBtn14"})
        QVERIFY(control(name)->isEnabled());
    QVERIFY(!control("BotSelvar")->isEnabled());
}

void TstMainWindow::panelTakesTheScreenColour()
{
    startWindow(0x00C08040); // blue 0xC0, green 0x80, red 0x40
    QCOMPARE(control("PainelConsistG")->palette().color(QPalette::Window), QColor(0x40, 0x80, 0xC0));
}

void TstMainWindow::freshStampIsLeftToTheOtherCopy()
{
    // Another copy wrote the stamp a few seconds ago and keeps it fresh.
    const QString written = BrLocale::shortDateLongTime(QDateTime::currentDateTime().addSecs(-5));
    TextFile::writeLines(m_app->suite.path(QStringLiteral("EM_USO.TXT")), {written});
    startWindow();
    QCOMPARE(stampText(), written);
    QVERIFY(!control<QTimer>("Timer1")->isActive());
    QVERIFY(m_app->messages.isEmpty());
}

void TstMainWindow::staleStampIsRewrittenAndKeptFresh()
{
    const QString old = BrLocale::shortDateLongTime(QDateTime::currentDateTime().addSecs(-120));
    TextFile::writeLines(m_app->suite.path(QStringLiteral("Em_Uso.txt")), {old});
    startWindow();
    auto *timer = control<QTimer>("Timer1");
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 30000);
    QVERIFY(stampText() != old);
    QVERIFY(!InUseStamp::needsRewrite(QDateTime::currentDateTime()));

    TextFile::writeLines(InUseStamp::path(), {old});
    form()->Timer1Timer();
    QVERIFY(stampText() != old);
    QVERIFY(timer->isActive());
}

void TstMainWindow::unreadableStampIsReportedAndRetried()
{
    TextFile::writeLines(m_app->suite.path(QStringLiteral("Em_Uso.txt")), {QStringLiteral("xx/yy")});
    startWindow(0x0000FF);
    QCOMPARE(m_app->messages, QStringList{QStringLiteral("'xx/yy' is not a valid date and time")});
    QVERIFY(!control<QTimer>("Timer1")->isActive());
    QVERIFY(control("PainelConsistG")->palette().color(QPalette::Window) != QColor(Qt::red));

    // The return from that message's own box does not ask again, or the box would
    // come back for ever; the activation after it does.
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(form(), &activate);
    QCOMPARE(m_app->messages.size(), 1);
    QApplication::sendEvent(form(), &activate);
    QCOMPARE(m_app->messages.size(), 2);

    // Once the stamp reads again, the activation goes through.
    TextFile::remove(InUseStamp::path());
    QApplication::sendEvent(form(), &activate);
    QCOMPARE(m_app->messages.size(), 2);
    QApplication::sendEvent(form(), &activate);
    QVERIFY(control<QTimer>("Timer1")->isActive());
    QCOMPARE(control("PainelConsistG")->palette().color(QPalette::Window), QColor(Qt::red));
}

void TstMainWindow::timerTickThatCannotWriteStopsTheTimer()
{
    startWindow();
    auto *timer = control<QTimer>("Timer1");
    QVERIFY(timer->isActive());
    qputenv("BOTICON_ROOT", m_app->suite.path(QStringLiteral("nao-existe")).toLocal8Bit());
    form()->Timer1Timer();
    qputenv("BOTICON_ROOT", m_app->suite.root().toLocal8Bit());
    QCOMPARE(m_app->messages.size(), 1);
    QVERIFY(m_app->messages.first().startsWith(QStringLiteral("I/O error")));
    QVERIFY(!timer->isActive());
}

void TstMainWindow::escapeClosesAndDeletesTheStamp()
{
    startWindow();
    QVERIFY(QFile::exists(InUseStamp::path()));
    // Escape answers even while the list panel covers the "Sair" button.
    form()->showListPanel();
    QTest::keyClick(control("EditPesqComp"), Qt::Key_Escape);
    QVERIFY(!form()->isVisible());
    QVERIFY(!QFile::exists(InUseStamp::path()));
    QVERIFY(m_app->messages.isEmpty());
}

void TstMainWindow::closeBoxDeletesTheStamp()
{
    startWindow();
    QVERIFY(QFile::exists(InUseStamp::path()));
    QVERIFY(form()->close());
    QVERIFY(!QFile::exists(InUseStamp::path()));
    // Closing again with the stamp already gone is no error.
    form()->show();
    QVERIFY(form()->close());
    QVERIFY(m_app->messages.isEmpty());
}

QTEST_MAIN(TstMainWindow)
#include "tst_mainwindow.moc"
