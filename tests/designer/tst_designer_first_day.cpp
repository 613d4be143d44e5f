// What a pharmacy manager meets in the designer's first ten minutes, driven
// offscreen at the window's own size with real clicks and keys: every button
// in sight and explained, F1 opening the guide where the selected element is
// described, new elements placed where the label has room (and a warning when
// two cover each other), only the properties an element's kind has, a logo
// picked from the disk, characters a thermal printer cannot print warned of,
// what a cut text loses named, the report list's marks in view.
#include "DesignDocument.h"
#include "DesignerWindow.h"
#include "DesignerTestFiles.h"
#include "DrawnElementProperties.h"
#include "ElementPlacement.h"
#include "GuideWindow.h"
#include "LabelCanvas.h"
#include "Messages.h"
#include "ModelsBox.h"
#include "PropertiesPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

namespace {

// A sheet with a name and a price on top, and a thermal roll with a fixed text.
const QByteArray Project = "ativo \"Folha\"\n"
                           "relatorio \"Folha\"\n  papel A4\n  grade colunas=1 linhas=1\n  margens esquerda=0 topo=0\n"
                           "  etiqueta largura=50 altura=30\n"
                           "  campo COMPONENTE x=0 y=0 largura=50 altura=4 tamanho=8\n"
                           "  preco PRECO1 x=30 y=4 largura=20 altura=4 tamanho=8\n"
                           "fim\n"
                           "relatorio \"Rolo\"\n  termica linguagem=ZPL\n  etiqueta largura=40 altura=20\n"
                           "  texto \"Oferta\" x=1 y=1 largura=30 altura=4 tamanho=10\n"
                           "fim\n";

// The window at the size it first opens with.
const QSize FirstSize(1200, 867);

bool overlapsAny(const QList<CellElement> &elements, int index)
{
    for (int i = 0; i < elements.size(); ++i) {
        if (i != index && elements[i].kind != CellElement::Kind::Frame && boxesOverlap(elements[i].box, elements[index].box))
            return true;
    }
    return false;
}

} // namespace

class DesignerFirstDayTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    DesignerWindow *m_window = nullptr;
    QString m_path;

    QToolBar *barWith(const QString &action) const
    {
        auto *act = m_window->findChild<QAction *>(action);
        for (QToolBar *bar : m_window->findChildren<QToolBar *>()) {
            if (bar->actions().contains(act))
                return bar;
        }
        return nullptr;
    }

    void click(const QString &action)
    {
        QToolBar *bar = barWith(action);
        QVERIFY2(bar, qPrintable(action));
        QWidget *button = bar->widgetForAction(m_window->findChild<QAction *>(action));
        QVERIFY2(button && button->isVisible(), qPrintable(action));
        QTest::mouseClick(button, Qt::LeftButton);
    }

    QStringList warnings() const
    {
        QStringList shown;
        for (int i = 0; i < m_window->ListaAvisos->count(); ++i)
            shown << m_window->ListaAvisos->item(i)->text();
        return shown;
    }

    // With SELVAR_SCREENSHOT_DIR set, the widget as it shows now, for a person to look at.
    static void shoot(QWidget *widget, const QString &name)
    {
        const QString shots = qEnvironmentVariable("SELVAR_SCREENSHOT_DIR");
        if (!shots.isEmpty())
            QVERIFY(widget->grab().save(QDir(shots).filePath(name)));
    }

    // Whether the panel's row of `field` is on show.
    static bool rowShown(QWidget *field) { return field->isVisibleTo(field->window()); }

private slots:
    void init()
    {
        Messages::setSink([](const QString &text) { QFAIL(qPrintable(text)); });
        m_path = m_dir.filePath(QStringLiteral("Selvar.rav"));
        QVERIFY(writeFile(m_path, Project));
        m_window = new DesignerWindow;
        QVERIFY(m_window->openProject(m_path));
        m_window->resize(FirstSize);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
    }

    void cleanup()
    {
        delete m_window;
        m_window = nullptr;
        Messages::setSink({});
    }

    // Every button of both rows shows whole at the first size, none behind
    // "»", each with a tooltip; the title names the file, not the program twice.
    void everyButtonInSightAndExplained()
    {
        int buttons = 0;
        for (QToolBar *bar : m_window->findChildren<QToolBar *>()) {
            for (QAction *action : bar->actions()) {
                if (action->isSeparator())
                    continue;
                QWidget *button = bar->widgetForAction(action);
                QVERIFY2(button && button->isVisible(), qPrintable(action->text()));
                QVERIFY2(bar->rect().contains(button->geometry()), qPrintable(action->text()));
                QVERIFY2(!action->toolTip().isEmpty() && action->toolTip() != action->iconText(), qPrintable(action->text()));
                ++buttons;
            }
        }
        QVERIFY(buttons >= 17);
        shoot(m_window, QStringLiteral("designer-toolbar.png"));
        for (const QString &name : {QStringLiteral("ActNovoLinha"), QStringLiteral("ActNovoQuadro"), QStringLiteral("ActNovoQR"), QStringLiteral("ActNovoData")})
            QVERIFY(barWith(name));
        QCOMPARE(m_window->findChild<QAction *>(QStringLiteral("ActSalvar"))->toolTip(),
                 QStringLiteral("Gravar no projeto os relatórios alterados (Ctrl+S)"));
        QVERIFY(!m_window->windowTitle().contains(QStringLiteral("Editor de etiquetas")));
        QVERIFY(m_window->windowTitle().startsWith(m_path));
    }

    // F1 opens the guide at what is selected: a price at the elements'
    // table, a QR code at the drawn elements, nothing on the roll at thermal reports.
    void helpOpensTheGuideAtTheSelectedKind()
    {
        m_window->canvas()->selectElements({1});
        QTest::keyClick(m_window, Qt::Key_F1);
        auto *guide = m_window->findChild<GuideWindow *>();
        QVERIFY(guide && guide->isVisible());
        QVERIFY(guide->TextoGuia->toPlainText().contains(QStringLiteral("Guia de etiquetas")));
        QCOMPARE(guide->sectionShown(), QStringLiteral("Os elementos de cada etiqueta"));

        click(QStringLiteral("ActNovoQR"));
        QTest::keyClick(m_window, Qt::Key_F1);
        QCOMPARE(guide->sectionShown(), QStringLiteral("Linhas, quadros, textos girados, QR, DataMatrix, datas e imagens"));
        shoot(guide, QStringLiteral("designer-help.png"));

        m_window->ListaRelatorios->setCurrentRow(1);
        m_window->canvas()->selectElements({});
        QTest::keyClick(m_window, Qt::Key_F1);
        QCOMPARE(guide->sectionShown(), QStringLiteral("Relatórios térmicos"));
        // The guide's pictures travel with it.
        QVERIFY(!guide->TextoGuia->document()->resource(QTextDocument::ImageResource, QUrl(QStringLiteral("imagens/etiquetas-editor.png"))).isNull());
    }

    // Each new element lands where nothing is; one moved onto another is warned of, and the warning goes with it.
    void newElementsFindRoomAndOverlapsAreWarned()
    {
        const QStringList kinds = {QStringLiteral("ActNovoCampo"), QStringLiteral("ActNovoPreco"), QStringLiteral("ActNovoTexto"),
                                   QStringLiteral("ActNovoQR"), QStringLiteral("ActNovoLogo"), QStringLiteral("ActNovoLinha"),
                                   QStringLiteral("ActNovoData")};
        for (const QString &kind : kinds)
            click(kind);
        const QList<CellElement> &elements = m_window->document()->report().elements;
        QCOMPARE(elements.size(), 2 + kinds.size());
        const QRectF label(0, 0, 50, 30);
        for (int i = 2; i < elements.size(); ++i) {
            QVERIFY2(!overlapsAny(elements, i), qPrintable(QStringLiteral("%1 at %2;%3 %4x%5").arg(elementName(elements[i])).arg(elements[i].box.x()).arg(elements[i].box.y()).arg(elements[i].box.width()).arg(elements[i].box.height())));
            QVERIFY2(label.contains(elements[i].box), qPrintable(elementName(elements[i])));
        }
        QVERIFY2(warnings().filter(QStringLiteral("sobrepostos")).isEmpty(), qPrintable(warnings().join(QLatin1Char('\n'))));
        shoot(m_window, QStringLiteral("designer-new-elements.png"));

        // The text typed over the price, through its boxes.
        m_window->canvas()->selectElements({4});
        PropertiesPanel *panel = m_window->Propriedades;
        panel->EditX->setValue(32);
        panel->EditY->setValue(4);
        QVERIFY2(warnings().contains(QStringLiteral("Elementos sobrepostos: PRECO1 e \"Texto\" ocupam o mesmo lugar; um cobre o outro na impressão")),
                 qPrintable(warnings().join(QLatin1Char('\n'))));
        // A frame round the label covers nothing.
        click(QStringLiteral("ActNovoQuadro"));
        QCOMPARE(warnings().filter(QStringLiteral("sobrepostos")).size(), 1);
        QTest::keyClick(m_window, Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(m_window, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(warnings().filter(QStringLiteral("sobrepostos")).isEmpty());
    }

    // A picture shows no font, bold or alignment; a price does; with
    // nothing selected the panel shows no values at all.
    void propertiesOfTheSelectedKindOnly()
    {
        PropertiesPanel *panel = m_window->Propriedades;
        auto *section = panel->findChild<DrawnElementProperties *>();
        m_window->canvas()->selectElements({1});
        for (QWidget *w : QList<QWidget *>{panel->EditFonte, panel->CheckNegrito, panel->ComboAlinhamento, panel->EditFormato, section->ComboRotacao})
            QVERIFY2(rowShown(w), qPrintable(w->objectName()));
        for (QWidget *w : QList<QWidget *>{panel->ComboSimbologia, section->EditArquivo, section->ComboCorrecao, section->EditEspessura})
            QVERIFY2(!rowShown(w), qPrintable(w->objectName()));

        for (const QString &kind : {QStringLiteral("ActNovoLogo"), QStringLiteral("ActNovoQR"), QStringLiteral("ActNovoQuadro")}) {
            click(kind);
            for (QWidget *w : QList<QWidget *>{panel->ComboValor, panel->EditFonte, panel->EditTamanho, panel->CheckNegrito,
                                               panel->CheckItalico, panel->ComboAlinhamento, section->ComboRotacao})
                QVERIFY2(!rowShown(w), qPrintable(kind + QLatin1Char(' ') + w->objectName()));
            QVERIFY(rowShown(panel->EditLargura));
        }
        QVERIFY(rowShown(section->EditEspessura));
        m_window->canvas()->selectElements({2});
        QVERIFY(rowShown(section->EditArquivo) && section->BotEscolherArquivo->isVisible());
        shoot(m_window, QStringLiteral("designer-image-properties.png"));

        m_window->canvas()->selectElements({});
        QVERIFY(!panel->isEnabled());
        QVERIFY(rowShown(panel->findChild<QLabel *>(QStringLiteral("LabelNenhum"))));
        for (QWidget *w : QList<QWidget *>{panel->EditX, panel->ComboValor, panel->EditFonte, section})
            QVERIFY2(!rowShown(w), qPrintable(w->objectName()));
    }

    // "Escolher…" takes the logo from the disk and writes its name from the
    // project's folder; the drawing finds it there.
    void logoPickedFromTheDisk()
    {
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("logos")));
        QImage logo(120, 40, QImage::Format_RGB32);
        logo.fill(Qt::black);
        const QString file = m_dir.filePath(QStringLiteral("logos/farmacia.jpg"));
        QVERIFY(logo.save(file));
        click(QStringLiteral("ActNovoLogo"));
        auto *section = m_window->Propriedades->findChild<DrawnElementProperties *>();
        QString startedIn;
        section->pickImage = [&](QWidget *, const QString &folder) {
            startedIn = folder;
            return file;
        };
        QTest::mouseClick(section->BotEscolherArquivo, Qt::LeftButton);
        QCOMPARE(startedIn, m_dir.path());
        QCOMPARE(m_window->document()->report().elements.last().value, QStringLiteral("logos/farmacia.jpg"));
        QCOMPARE(section->EditArquivo->text(), QStringLiteral("logos/farmacia.jpg"));
        QVERIFY2(warnings().filter(QStringLiteral("imagem")).isEmpty(), qPrintable(warnings().join(QLatin1Char('\n'))));
        // Cancelled: nothing changes.
        section->pickImage = [](QWidget *, const QString &) { return QString(); };
        QTest::mouseClick(section->BotEscolherArquivo, Qt::LeftButton);
        QCOMPARE(m_window->document()->report().elements.last().value, QStringLiteral("logos/farmacia.jpg"));
    }

    // On the roll: an emoji and a "≥" typed into a text are warned of, the
    // hints speak of thermal reports, and the list keeps its marks in view.
    void thermalTextsAndHints()
    {
        m_window->ListaRelatorios->setCurrentRow(1);
        QCOMPARE(m_window->EditModelos->placeholderText(), QStringLiteral("Zebra ZPL\nArgox"));
        QCOMPARE(m_window->LabelModelosGravados->text(), QStringLiteral("Nenhum modelo: um relatório térmico só imprime os modelos listados aqui."));
        m_window->canvas()->selectElements({0});
        QLineEdit *value = m_window->Propriedades->ComboValor->lineEdit();
        value->setFocus();
        value->selectAll();
        // As a keyboard's emoji picker and compose key type them: one key event each, carrying its text.
        QTest::keyClicks(value, QStringLiteral("Oferta "));
        for (const QString &typed : {QStringLiteral("😀"), QStringLiteral(" "), QStringLiteral("≥"), QStringLiteral(" 2")}) {
            QTest::sendKeyEvent(QTest::Press, value, Qt::Key_unknown, typed, Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, value, Qt::Key_unknown, typed, Qt::NoModifier);
        }
        QTest::keyClick(value, Qt::Key_Tab);
        QCOMPARE(m_window->document()->report().elements[0].value, QStringLiteral("Oferta 😀 ≥ 2"));
        QVERIFY2(warnings().contains(QStringLiteral("Caracteres que a impressora não imprime em \"Oferta 😀 ≥ 2\": \"😀\", \"≥\" (saem como um "
                                                    "quadrado vazio ou \"?\"; a fonte da impressora só tem os caracteres do Windows-1252)")),
                 qPrintable(warnings().join(QLatin1Char('\n'))));

        // Edited: the list's line ends with its mark, and the whole line is on show.
        QListWidget *list = m_window->ListaRelatorios;
        const QString line = list->item(1)->text();
        QVERIFY(line.endsWith(QStringLiteral("alterado")));
        const QRect item = list->visualItemRect(list->item(1));
        const QRect needed = list->fontMetrics().boundingRect(QRect(0, 0, item.width() - 8, 10000), Qt::TextWordWrap, line);
        QVERIFY2(item.height() >= needed.height() && item.right() <= list->viewport()->width(),
                 qPrintable(QStringLiteral("%1: item %2x%3, text needs %4x%5").arg(line).arg(item.width()).arg(item.height()).arg(needed.width()).arg(needed.height())));
    }

    // The cut-text warning names what the box leaves out, not the name's first 40 characters.
    void cutWarningNamesWhatIsCut()
    {
        m_window->canvas()->selectElements({0});
        m_window->Propriedades->EditLargura->setValue(20);
        const QStringList cut = warnings().filter(QStringLiteral("Texto cortado: COMPONENTE"));
        QCOMPARE(cut.size(), 1);
        const QRegularExpression named(QStringLiteral("^Texto cortado: COMPONENTE não cabe inteiro na caixa: fica de fora \"(.+)\"$"));
        const QRegularExpressionMatch match = named.match(cut.first());
        QVERIFY2(match.hasMatch(), qPrintable(cut.first()));
        // What is left out is the end of a product's name shown on the label.
        const QString left = match.captured(1);
        bool endsAName = false;
        for (const LabelRecord &record : m_window->canvas()->records())
            endsAName |= record.value(QStringLiteral("COMPONENTE")).display.simplified().endsWith(QString(left).remove(QStringLiteral("…")));
        QVERIFY2(endsAName, qPrintable(left));
    }
};

QTEST_MAIN(DesignerFirstDayTest)
#include "tst_designer_first_day.moc"
