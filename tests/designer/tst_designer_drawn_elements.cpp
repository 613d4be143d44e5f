// The designer's buttons for a logo, a line, a frame, a QR code and a date,
// and their properties, driven offscreen with real clicks and keys: what they
// put on the label is saved as the project file's own statements, the rest of
// the file byte for byte, and a missing logo is warned of.
#include "DesignDocument.h"
#include "DesignerWindow.h"
#include "LabelCanvas.h"
#include "Messages.h"
#include "PropertiesPanel.h"
#include "DrawnElementProperties.h"

#include <QComboBox>
#include <QLabel>
#include <QSpinBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

namespace {

const QByteArray Project = "# Rolo de teste\n"
                           "ativo \"F\"\n"
                           "relatorio \"F\"\n  papel A4\n  grade colunas=1 linhas=1\n  margens esquerda=0 topo=0\n"
                           "  etiqueta largura=50 altura=30\nfim\n"
                           "relatorio \"Rolo\"\n  modelos \"Zebra\"\n  termica linguagem=ZPL\n  etiqueta largura=60 altura=40\n"
                           "  preco  PRECO1  x=50 y=2 largura=8 altura=30 tamanho=10   # o preço\n"
                           "fim\n";

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class DesignerDrawnElementsTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    DesignerWindow *m_window = nullptr;

    void click(const QString &action)
    {
        auto *act = m_window->findChild<QAction *>(action);
        QVERIFY2(act, qPrintable(action));
        QWidget *button = nullptr;
        for (QToolBar *bar : m_window->findChildren<QToolBar *>()) {
            if (!button)
                button = bar->widgetForAction(act);
        }
        QVERIFY2(button, qPrintable(action));
        QTest::mouseClick(button, Qt::LeftButton);
    }

    QStringList warnings() const
    {
        QStringList shown;
        for (int i = 0; i < m_window->ListaAvisos->count(); ++i)
            shown << m_window->ListaAvisos->item(i)->text();
        return shown;
    }

private slots:
    void init() { Messages::setSink([](const QString &) {}); }

    void cleanup()
    {
        delete m_window;
        m_window = nullptr;
    }

    void buttonsAndPropertiesWriteTheStatements()
    {
        const QString path = m_dir.filePath(QStringLiteral("Selvar.rav"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(Project);
        file.close();
        m_window = new DesignerWindow;
        QVERIFY(m_window->openProject(path));
        m_window->ListaRelatorios->setCurrentRow(1);
        m_window->resize(1200, 800);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
        DesignDocument *document = m_window->document();

        for (const QString &action : {QStringLiteral("ActNovoQuadro"), QStringLiteral("ActNovoLinha"), QStringLiteral("ActNovoLogo"),
                                      QStringLiteral("ActNovoQR"), QStringLiteral("ActNovoData")})
            click(action);
        const QList<CellElement> &elements = document->report().elements;
        QCOMPARE(elements.size(), 6);
        QCOMPARE(elements[1].kind, CellElement::Kind::Frame);
        QCOMPARE(elements[1].box, QRectF(0, 0, 60, 40));
        QCOMPARE(elements[3].kind, CellElement::Kind::Image);
        // No logo beside the project yet: the designer says so.
        QVERIFY2(warnings().contains(QStringLiteral("A imagem \"logo.png\" não existe (procurada em %1)")
                                         .arg(QDir::toNativeSeparators(m_dir.filePath(QStringLiteral("logo.png"))))),
                 qPrintable(warnings().join(QLatin1Char('\n'))));

        // The QR code's content typed in its own section, then the price turned.
        PropertiesPanel *panel = m_window->Propriedades;
        auto *section = panel->findChild<DrawnElementProperties *>();
        QVERIFY(section);
        m_window->canvas()->selectElements({4});
        QVERIFY(section->EditConteudo->isEnabled() && !section->ComboRotacao->isEnabled());
        QVERIFY(!panel->ComboValor->isEnabled());
        section->EditConteudo->setFocus();
        section->EditConteudo->selectAll();
        QTest::keyClicks(section->EditConteudo, QStringLiteral("\"https://farmacia.example/p/\" + CODIGOEAN"));
        QTest::keyClick(section->EditConteudo, Qt::Key_Return);
        QCOMPARE(document->report().elements[4].parts,
                 (QList<ValuePart>{{QStringLiteral("https://farmacia.example/p/"), false}, {QStringLiteral("CODIGOEAN"), true}}));
        // A content that does not read is told and changes nothing.
        section->EditConteudo->selectAll();
        QTest::keyClicks(section->EditConteudo, QStringLiteral("\"x\" CODIGOEAN"));
        QTest::keyClick(section->EditConteudo, Qt::Key_Return);
        QCOMPARE(section->LabelFalha->text(), QStringLiteral("falta '+' antes de 'CODIGOEAN'"));
        QCOMPARE(document->report().elements[4].parts.size(), 2);

        m_window->canvas()->selectElements({0});
        QVERIFY(section->ComboRotacao->isEnabled());
        section->ComboRotacao->setCurrentIndex(1);
        QCOMPARE(document->report().elements[0].rotation, 90);

        // A logo where the project looks for it: the warning goes.
        QImage logo(160, 64, QImage::Format_RGB32);
        logo.fill(Qt::white);
        QPainter(&logo).fillRect(QRect(8, 8, 144, 48), Qt::black);
        QVERIFY(logo.save(m_dir.filePath(QStringLiteral("logo.png"))));
        m_window->canvas()->selectElements({5});
        section->EditMeses->setValue(6);
        // Laid out through the panel's boxes, as a manager would.
        m_window->canvas()->selectElements({2});
        panel->EditLargura->setValue(56);
        for (const auto &[index, x, y] : {std::tuple{2, 2.0, 13.0}, std::tuple{3, 2.0, 2.0}, std::tuple{4, 2.0, 20.0}, std::tuple{5, 25.0, 30.0}}) {
            m_window->canvas()->selectElements({index});
            panel->EditX->setValue(x);
            panel->EditY->setValue(y);
        }
        QVERIFY2(warnings().filter(QStringLiteral("logo.png")).isEmpty(), qPrintable(warnings().join(QLatin1Char('\n'))));
        const QString shots = qEnvironmentVariable("SELVAR_SCREENSHOT_DIR");
        if (!shots.isEmpty())
            QVERIFY(m_window->grab().save(QDir(shots).filePath(QStringLiteral("wt34-designer.png"))));

        QVERIFY(m_window->BotSalvarClick());
        const QByteArray saved = readFile(path);
        const QByteArray before = Project.left(Project.indexOf("  preco"));
        QVERIFY(saved.startsWith(before));
        QVERIFY2(saved.endsWith("  preco PRECO1 x=50 y=2 largura=8 altura=30 tamanho=10 rotacao=90   # o preço\n"
                                "  quadro x=0 y=0 largura=60 altura=40 espessura=0.3\n"
                                "  linha x=2 y=13 largura=56 espessura=0.3\n"
                                "  imagem \"logo.png\" x=2 y=2 largura=20 altura=8\n"
                                "  qr \"https://farmacia.example/p/\" + CODIGOEAN x=2 y=20 largura=15 altura=15\n"
                                "  data \"dd/mm/aaaa\" x=25 y=30 largura=18 altura=4 tamanho=8 meses=6\n"
                                "fim\n"),
                 saved.constData());
    }
};

QTEST_MAIN(DesignerDrawnElementsTest)
#include "tst_designer_drawn_elements.moc"
