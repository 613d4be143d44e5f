// What the designer shows is what it saves, for every kind of element: each
// property the panel edits, typed with real keys and committed with Tab,
// reaches the file in the element's own line and reads back from disk as
// typed, the rest of the file byte for byte; a deleted element of any kind
// leaves the file. Ctrl+Z and Ctrl+Y from any properties box undo and redo
// through the document, and a save keeps the history. Random sequences of
// edits, saved every few steps, read back as the document stands.
#include "DesignDocument.h"
#include "DesignerTestFiles.h"
#include "DesignerWindow.h"
#include "DrawnElementProperties.h"
#include "DrawnElements.h"
#include "LabelCanvas.h"
#include "Messages.h"
#include "ProjectFile.h"
#include "ProjectParser.h"
#include "ProjectText.h"
#include "ProjectWriter.h"
#include "SelvarError.h"
#include "PropertiesPanel.h"

#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QImage>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QUndoStack>
#include <QtTest>

#include <functional>

namespace {

// A label with one element of every kind, in the order of the kinds' table.
const QByteArray EveryKind = "# Uma etiqueta com um elemento de cada tipo\n"
                             "projeto \"Teste\"\n"
                             "ativo \"Todos\"\n"
                             "\n"
                             "relatorio \"Todos\"\n"
                             "  papel A4\n"
                             "  grade colunas=3 linhas=7\n"
                             "  margens esquerda=0 topo=0\n"
                             "  etiqueta largura=60 altura=40\n"
                             "\n"
                             "  campo COMPONENTE x=1 y=1 largura=30 altura=5 tamanho=8   # o nome\n"
                             "  texto \"Validade:\" x=1 y=7 largura=15 altura=4 tamanho=7\n"
                             "  preco PRECO1 x=32 y=1 largura=20 altura=5 tamanho=9\n"
                             "  barras CODIGOEAN x=1 y=12 largura=30 altura=10 simbologia=EAN13\n"
                             "  linha x=1 y=23 largura=50 espessura=0.3\n"
                             "  quadro x=0.5 y=0.5 largura=59 altura=39 espessura=0.3\n"
                             "  qr \"https://f.example/\" + CODIGOEAN x=40 y=10 largura=15 altura=15\n"
                             "  datamatrix CODIGOEAN x=40 y=26 largura=10 altura=10\n"
                             "  data \"dd/mm/aaaa\" x=17 y=7 largura=14 altura=4 tamanho=7 meses=6\n"
                             "  imagem \"logo.png\" x=1 y=25 largura=20 altura=8\n"
                             "fim\n"
                             "\n"
                             "relatorio \"Outro\"\n"
                             "  papel A4\n"
                             "  grade colunas=2 linhas=2\n"
                             "  margens esquerda=0 topo=0\n"
                             "  etiqueta largura=80 altura=50\n"
                             "  campo COMPONENTE x=2 y=2 largura=60 altura=6\n"
                             "  quadro x=1 y=1 largura=78 altura=48 espessura=0.5\n"
                             "fim\n";

constexpr int FirstElementLine = 11;
constexpr int KindCount = 10;

enum class Input { Type, Toggle, Next };

// One property of one kind as the panel edits it: the box, the keys, and
// what the element then holds.
struct PropertyEdit
{
    int element;      // its place in the label: the kinds' order
    QString box;      // the panel's box, by name
    Input input;
    QString keys;     // typed over the box's text
    std::function<void(CellElement &)> expect;
};

QList<PropertyEdit> propertyEdits()
{
    using E = CellElement;
    QList<PropertyEdit> edits;
    // The box of every kind.
    for (int i = 0; i < KindCount; ++i) {
        edits << PropertyEdit{i, QStringLiteral("EditX"), Input::Type, QStringLiteral("0,25"), [](E &e) { e.box.moveLeft(0.25); }}
              << PropertyEdit{i, QStringLiteral("EditY"), Input::Type, QStringLiteral("0,75"), [](E &e) { e.box.moveTop(0.75); }};
    }
    const QList<std::pair<int, double>> narrower = {{0, 25}, {1, 12.5}, {2, 18}, {3, 29}, {4, 40}, {5, 58}, {6, 14}, {7, 9}, {8, 12}, {9, 15}};
    for (const auto &[i, width] : narrower) {
        edits << PropertyEdit{i, QStringLiteral("EditLargura"), Input::Type, QString::number(width).replace(QLatin1Char('.'), QLatin1Char(',')),
                              [width = width](E &e) { e.box.setWidth(width); }};
    }
    const QList<std::pair<int, double>> lower = {{0, 4.5}, {1, 3}, {2, 4}, {3, 9}, {4, 0.5}, {5, 38}, {6, 14}, {7, 9}, {8, 3.5}, {9, 7}};
    for (const auto &[i, height] : lower) {
        edits << PropertyEdit{i, QStringLiteral("EditAltura"), Input::Type, QString::number(height).replace(QLatin1Char('.'), QLatin1Char(',')),
                              [height = height](E &e) { e.box.setHeight(height); }};
    }
    // What texts, prices and dates are written with.
    for (const int i : {0, 1, 2, 8}) {
        edits << PropertyEdit{i, QStringLiteral("EditFonte"), Input::Type, QStringLiteral("Verdana"), [](E &e) { e.fontFamily = QStringLiteral("Verdana"); }}
              << PropertyEdit{i, QStringLiteral("EditTamanho"), Input::Type, QStringLiteral("6"), [](E &e) { e.fontSize = 6; }}
              << PropertyEdit{i, QStringLiteral("CheckNegrito"), Input::Toggle, {}, [](E &e) { e.bold = true; }}
              << PropertyEdit{i, QStringLiteral("CheckItalico"), Input::Toggle, {}, [](E &e) { e.italic = true; }}
              << PropertyEdit{i, QStringLiteral("CheckQuebra"), Input::Toggle, {}, [](E &e) { e.wrap = true; }}
              << PropertyEdit{i, QStringLiteral("ComboAlinhamento"), Input::Next, {}, [](E &e) { e.alignment = Qt::AlignHCenter; }}
              << PropertyEdit{i, QStringLiteral("ComboRotacao"), Input::Next, {}, [](E &e) { e.rotation = 90; }};
    }
    edits << PropertyEdit{0, QStringLiteral("ComboValor"), Input::Type, QStringLiteral("codigo"), [](E &e) { e.value = QStringLiteral("CODIGO"); }}
          << PropertyEdit{1, QStringLiteral("ComboValor"), Input::Type, QStringLiteral("Lote \"A\" # 2"), [](E &e) { e.value = QStringLiteral("Lote \"A\" # 2"); }}
          << PropertyEdit{2, QStringLiteral("ComboValor"), Input::Type, QStringLiteral("PRECO2"), [](E &e) { e.value = QStringLiteral("PRECO2"); }}
          << PropertyEdit{2, QStringLiteral("EditFormato"), Input::Type, QStringLiteral("R$ #,##0.00"), [](E &e) { e.priceFormat = QStringLiteral("R$ #,##0.00"); }}
          << PropertyEdit{3, QStringLiteral("ComboValor"), Input::Type, QStringLiteral("CODIGO"), [](E &e) { e.value = QStringLiteral("CODIGO"); }}
          << PropertyEdit{3, QStringLiteral("EditFonte"), Input::Type, QStringLiteral("Verdana"), [](E &e) { e.fontFamily = QStringLiteral("Verdana"); }}
          << PropertyEdit{3, QStringLiteral("EditTamanho"), Input::Type, QStringLiteral("6"), [](E &e) { e.fontSize = 6; }}
          << PropertyEdit{3, QStringLiteral("CheckNegrito"), Input::Toggle, {}, [](E &e) { e.bold = true; }}
          << PropertyEdit{3, QStringLiteral("ComboSimbologia"), Input::Next, {}, [](E &e) {
                 e.symbology = btCodeEAN8;
                 e.printerSymbology = PrinterSymbology::Ean8;
             }}
          << PropertyEdit{3, QStringLiteral("CheckLegenda"), Input::Toggle, {}, [](E &e) { e.legend = false; }}
          << PropertyEdit{3, QStringLiteral("ComboRotacao"), Input::Next, {}, [](E &e) { e.rotation = 90; }}
          << PropertyEdit{4, QStringLiteral("EditEspessura"), Input::Type, QStringLiteral("0,5"), [](E &e) { e.box.setHeight(0.5); }}
          << PropertyEdit{5, QStringLiteral("EditEspessura"), Input::Type, QStringLiteral("0,5"), [](E &e) { e.thickness = 0.5; }}
          << PropertyEdit{6, QStringLiteral("EditConteudo"), Input::Type, QStringLiteral("CODIGO + \"-\" + CODIGOEAN"),
                          [](E &e) { e.parts = {{QStringLiteral("CODIGO"), true}, {QStringLiteral("-"), false}, {QStringLiteral("CODIGOEAN"), true}}; }}
          << PropertyEdit{6, QStringLiteral("ComboCorrecao"), Input::Next, {}, [](E &e) { e.qrLevel = QrLevel::Q; }}
          << PropertyEdit{6, QStringLiteral("EditModulo"), Input::Type, QStringLiteral("0,5"), [](E &e) { e.moduleMm = 0.5; }}
          << PropertyEdit{7, QStringLiteral("EditConteudo"), Input::Type, QStringLiteral("\"L\" + CODIGO"),
                          [](E &e) { e.parts = {{QStringLiteral("L"), false}, {QStringLiteral("CODIGO"), true}}; }}
          << PropertyEdit{7, QStringLiteral("EditModulo"), Input::Type, QStringLiteral("0,4"), [](E &e) { e.moduleMm = 0.4; }}
          << PropertyEdit{8, QStringLiteral("ComboFormatoData"), Input::Next, {}, [](E &e) { e.dateFormat = QStringLiteral("mm/aaaa"); }}
          << PropertyEdit{8, QStringLiteral("EditDias"), Input::Type, QStringLiteral("10"), [](E &e) { e.dayOffset = 10; }}
          << PropertyEdit{8, QStringLiteral("EditMeses"), Input::Type, QStringLiteral("3"), [](E &e) { e.monthOffset = 3; }}
          << PropertyEdit{9, QStringLiteral("EditArquivo"), Input::Type, QStringLiteral("marca.png"), [](E &e) { e.value = QStringLiteral("marca.png"); }}
          << PropertyEdit{9, QStringLiteral("EditLimiar"), Input::Type, QStringLiteral("70"), [](E &e) { e.threshold = 70; }}
          << PropertyEdit{9, QStringLiteral("CheckPontilhado"), Input::Toggle, {}, [](E &e) { e.dither = true; }};
    return edits;
}

ReportProject parsed(const QByteArray &bytes)
{
    return parseReportProject(decodeProjectText(bytes), QStringLiteral("Selvar.rav"));
}

// An element as the file says it, whoever it was while edited and wherever its line.
CellElement asWritten(CellElement element)
{
    element.line = 0;
    element.id = 0;
    return element;
}

QList<CellElement> asWritten(const QList<CellElement> &elements)
{
    QList<CellElement> all;
    for (const CellElement &element : elements)
        all << asWritten(element);
    return all;
}

// The file's lines but one, as they were.
QStringList linesBut(const QByteArray &bytes, int line)
{
    const ProjectText text(bytes);
    QStringList lines;
    for (int i = 1; i <= text.lineCount(); ++i) {
        if (i != line)
            lines << text.line(i);
    }
    return lines;
}

} // namespace

class DesignerRoundTripTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_path;
    DesignerWindow *m_window = nullptr;
    QStringList m_messages;

    DesignDocument *document() const { return m_window->document(); }

    void openWindow(const QByteArray &bytes)
    {
        m_path = m_dir.filePath(QStringLiteral("Selvar.rav"));
        QVERIFY(writeFile(m_path, bytes));
        QImage logo(80, 32, QImage::Format_RGB32);
        logo.fill(Qt::black);
        QVERIFY(logo.save(m_dir.filePath(QStringLiteral("logo.png"))));
        m_window = new DesignerWindow;
        QVERIFY(m_window->openProject(m_path));
        m_window->resize(1200, 867);
        m_window->show();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window));
    }

    QWidget *panelBox(const QString &name) const
    {
        auto *box = m_window->Propriedades->findChild<QWidget *>(name);
        return box;
    }

    // Keys into the focused box, as a hand types them.
    static void typeOver(QWidget *box, const QString &keys)
    {
        box->setFocus();
        if (auto *spin = qobject_cast<QAbstractSpinBox *>(box))
            spin->selectAll();
        else if (auto *edit = qobject_cast<QLineEdit *>(box))
            edit->selectAll();
        else if (auto *combo = qobject_cast<QComboBox *>(box))
            combo->lineEdit()->selectAll();
        QTest::keyClicks(box, keys);
    }

    void saveWithKeys()
    {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : m_window, Qt::Key_S, Qt::ControlModifier);
        QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.join(QLatin1Char('\n'))));
    }

private slots:
    void init()
    {
        m_messages.clear();
        Messages::setSink([this](const QString &text) { m_messages << text; });
        Messages::setQuestionSink([](const QString &) { return false; });
    }

    void cleanup()
    {
        delete m_window;
        m_window = nullptr;
    }

    void everyKindTakesEveryProperty_data()
    {
        QTest::addColumn<int>("row");
        const QList<PropertyEdit> edits = propertyEdits();
        for (int i = 0; i < edits.size(); ++i) {
            const QString kind = elementKinds()[edits[i].element].keyword;
            QTest::newRow(qPrintable(kind + QLatin1Char(' ') + edits[i].box)) << i;
        }
    }

    // Changed through the panel, saved with Ctrl+S, read back from disk.
    void everyKindTakesEveryProperty()
    {
        QFETCH(int, row);
        const PropertyEdit edit = propertyEdits()[row];
        openWindow(EveryKind);
        CellElement expected = asWritten(parsed(EveryKind).reports[0].elements[edit.element]);
        edit.expect(expected);
        m_window->canvas()->selectElements({edit.element});
        QWidget *box = panelBox(edit.box);
        QVERIFY2(box && box->isEnabled(), qPrintable(edit.box));
        switch (edit.input) {
        case Input::Type:
            typeOver(box, edit.keys);
            break;
        case Input::Toggle:
            box->setFocus();
            QTest::keyClick(box, Qt::Key_Space);
            break;
        case Input::Next:
            box->setFocus();
            QTest::keyClick(box, Qt::Key_Down);
            break;
        }
        QTest::keyClick(box, Qt::Key_Tab);
        QCOMPARE(asWritten(document()->report().elements[edit.element]), expected);
        saveWithKeys();

        const QByteArray saved = readFile(m_path);
        const ReportProject reread = parsed(saved);
        QCOMPARE(asWritten(reread.reports[0].elements[edit.element]), expected);
        // The element's own line, and no other, is written anew.
        const int line = FirstElementLine + edit.element;
        QCOMPARE(reread.reports[0].elements[edit.element].line, line);
        QCOMPARE(linesBut(saved, line), linesBut(EveryKind, line));
        QCOMPARE(ProjectText(saved).line(line).trimmed(), elementStatement(expected) + (line == FirstElementLine ? QStringLiteral("   # o nome") : QString()));
    }

    void everyKindDeletes_data()
    {
        QTest::addColumn<int>("element");
        for (int i = 0; i < KindCount; ++i)
            QTest::newRow(qPrintable(elementKinds()[i].keyword)) << i;
    }

    // Deleted with the Delete key: its line leaves the file, every other stays.
    void everyKindDeletes()
    {
        QFETCH(int, element);
        openWindow(EveryKind);
        m_window->canvas()->selectElements({element});
        m_window->canvas()->setFocus();
        QTest::keyClick(m_window->canvas()->viewport(), Qt::Key_Delete);
        QCOMPARE(document()->report().elements.size(), KindCount - 1);
        saveWithKeys();
        const QByteArray saved = readFile(m_path);
        QCOMPARE(ProjectText(saved).lineCount(), ProjectText(EveryKind).lineCount() - 1);
        QCOMPARE(linesBut(saved, 0), linesBut(EveryKind, FirstElementLine + element));
        QList<CellElement> expected = asWritten(parsed(EveryKind).reports[0].elements);
        expected.removeAt(element);
        QCOMPARE(asWritten(parsed(saved).reports[0].elements), expected);
    }

    // A value committed with Tab undoes with Ctrl+Z from the box the Tab went
    // to, and from the box itself; Ctrl+Y and Ctrl+Shift+Z redo it. Typing
    // not yet committed undoes in its box and leaves the document alone.
    void undoAndRedoFromAnyBox()
    {
        openWindow(EveryKind);
        m_window->canvas()->selectElements({6});
        PropertiesPanel *panel = m_window->Propriedades;
        typeOver(panel->EditX, QStringLiteral("5"));
        QTest::keyClick(panel->EditX, Qt::Key_Tab);
        QCOMPARE(document()->report().elements[6].box.x(), 5.0);
        QWidget *next = QApplication::focusWidget();
        QVERIFY(next && next != panel->EditX && panel->isAncestorOf(next));
        QTest::keyClick(next, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(document()->report().elements[6].box.x(), 40.0);
        QCOMPARE(panel->EditX->value(), 40.0);
        QTest::keyClick(next, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(document()->report().elements[6].box.x(), 5.0);
        panel->EditX->setFocus();
        QTest::keyClick(panel->EditX, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(document()->report().elements[6].box.x(), 40.0);
        QTest::keyClick(panel->EditX, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(document()->report().elements[6].box.x(), 5.0);

        auto *content = panel->findChild<QLineEdit *>(QStringLiteral("EditConteudo"));
        const QList<ValuePart> read = document()->report().elements[6].parts;
        typeOver(content, QStringLiteral("CODIGO"));
        QTest::keyClick(content, Qt::Key_Tab);
        QCOMPARE(document()->report().elements[6].parts, (QList<ValuePart>{{QStringLiteral("CODIGO"), true}}));
        content->setFocus();
        QTest::keyClick(content, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(document()->report().elements[6].parts, read);
        QCOMPARE(content->text(), partsStatement(read));

        const int steps = document()->undoStack()->index();
        typeOver(content, QStringLiteral("CODIGO"));
        QTest::keyClick(content, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(content->text() != QStringLiteral("CODIGO"));
        QCOMPARE(document()->undoStack()->index(), steps);
        QCOMPARE(document()->report().elements[6].parts, read);
    }

    // Saved, the edits still undo one by one; undone and saved again, the
    // file is the one first read, byte for byte; redone and saved, the
    // edited one again.
    void saveKeepsTheUndoHistory()
    {
        openWindow(EveryKind);
        LabelCanvas *canvas = m_window->canvas();
        canvas->selectElements({6});
        canvas->setFocus();
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(canvas->viewport(), Qt::Key_Right);
        canvas->selectElements({8});
        QTest::keyClick(canvas->viewport(), Qt::Key_Delete);
        saveWithKeys();
        const QByteArray edited = readFile(m_path);
        QVERIFY(edited.contains("  qr \"https://f.example/\" + CODIGOEAN x=40.3 y=10 largura=15 altura=15\n"));
        QVERIFY(!edited.contains("  data "));
        QCOMPARE(document()->undoStack()->count(), 4);
        QVERIFY(!document()->isModified());

        for (int i = 0; i < 4; ++i)
            QTest::keyClick(canvas->viewport(), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(document()->isModified());
        saveWithKeys();
        QCOMPARE(readFile(m_path), EveryKind);

        for (int i = 0; i < 4; ++i)
            QTest::keyClick(canvas->viewport(), Qt::Key_Y, Qt::ControlModifier);
        saveWithKeys();
        QCOMPARE(readFile(m_path), edited);
        QCOMPARE(asWritten(document()->report().elements), asWritten(parsed(edited).reports[0].elements));
    }

    // "Salvar mesmo assim" over a file another program changed: the moved QR
    // code and the deleted date are written into the file as it is now, and
    // the other program's change stays.
    void saveAnywayWritesEveryKind()
    {
        m_path = m_dir.filePath(QStringLiteral("Mesmo.rav"));
        QVERIFY(writeFile(m_path, EveryKind));
        DesignDocument document;
        QVERIFY(document.open(m_path));
        SheetReport report = document.report();
        report.elements[6].box.moveLeft(42);
        report.elements.removeAt(8);
        document.edit(report, QStringLiteral("Mover e excluir"));
        QByteArray elsewhere = EveryKind;
        elsewhere.replace("  campo COMPONENTE x=2 y=2 largura=60 altura=6\n", "  campo COMPONENTE x=3 y=2 largura=60 altura=6\n");
        QVERIFY(writeFile(m_path, elsewhere));
        QString message;
        QCOMPARE(document.save(false, &message), DesignDocument::SaveResult::ChangedOnDisk);
        QVERIFY2(document.save(true, &message) == DesignDocument::SaveResult::Saved, qPrintable(message));
        QByteArray expected = elsewhere;
        expected.replace("  qr \"https://f.example/\" + CODIGOEAN x=40 y=10", "  qr \"https://f.example/\" + CODIGOEAN x=42 y=10");
        expected.replace("  data \"dd/mm/aaaa\" x=17 y=7 largura=14 altura=4 tamanho=7 meses=6\n", "");
        QCOMPARE(readFile(m_path), expected);
        // Undone after the save, the date comes back in its place.
        document.undoStack()->undo();
        QCOMPARE(document.save(false, &message), DesignDocument::SaveResult::Saved);
        QCOMPARE(readFile(m_path), elsewhere);
    }

    void randomEditsSaveWhatTheDocumentHolds_data()
    {
        QTest::addColumn<QByteArray>("project");
        QTest::addColumn<quint32>("seed");
        const QByteArray sample = readFile(QStringLiteral(SELVAR_SOURCE_DIR "/deploy/Selvar.rav"));
        for (const quint32 seed : {1u, 2u, 3u}) {
            QTest::addRow("sample, seed %u", seed) << sample << seed;
            QTest::addRow("every kind, seed %u", seed) << EveryKind << seed;
        }
    }

    // Adding, moving, changing and deleting elements, undoing, redoing and
    // choosing another report at random, saved every few steps: each time the
    // file reads back as every report stood before the save.
    void randomEditsSaveWhatTheDocumentHolds()
    {
        QFETCH(QByteArray, project);
        QFETCH(quint32, seed);
        m_path = m_dir.filePath(QStringLiteral("Sequencia.rav"));
        QVERIFY(writeFile(m_path, project));
        DesignDocument document;
        QVERIFY(document.open(m_path));
        const QList<CellElement> palette = parsed(EveryKind).reports[0].elements;
        QRandomGenerator random(seed);
        const auto mm = [&random](double from, double to) { return from + random.bounded(int((to - from) * 10) + 1) / 10.0; };
        int saves = 0;
        for (int step = 0; step < 240; ++step) {
            SheetReport report = document.report();
            const QSizeF label(report.grid.cellWidth, report.grid.cellHeight);
            QList<CellElement> &elements = report.elements;
            const int pick = elements.isEmpty() ? -1 : int(random.bounded(int(elements.size())));
            switch (random.bounded(8)) {
            case 0: { // add one of every kind's
                CellElement e = palette[random.bounded(int(palette.size()))];
                e.line = 0;
                e.id = 0;
                e.box.setSize(e.box.size().boundedTo(label / 2));
                e.box.moveTopLeft(QPointF(mm(0, label.width() - e.box.width()), mm(0, label.height() - e.box.height())));
                elements.insert(random.bounded(int(elements.size()) + 1), e);
                document.edit(report, QStringLiteral("Novo"));
                break;
            }
            case 1:
                if (pick < 0)
                    continue;
                elements[pick].box.moveTopLeft(QPointF(mm(0, label.width() - elements[pick].box.width()),
                                                       mm(0, label.height() - elements[pick].box.height())));
                document.edit(report, QStringLiteral("Mover"));
                break;
            case 2: { // a property of its kind
                if (pick < 0)
                    continue;
                CellElement &e = elements[pick];
                if (e.isTextLike())
                    e.fontSize = 5 + random.bounded(8);
                if (e.kind == CellElement::Kind::Text)
                    e.value = QStringLiteral("Lote %1").arg(step);
                if (e.kind == CellElement::Kind::Frame)
                    e.thickness = e.thickness == 0.3 ? 0.2 : 0.3;
                if (e.kind == CellElement::Kind::QrCode)
                    e.qrLevel = QrLevel(random.bounded(4));
                if (e.kind == CellElement::Kind::Date)
                    e.dayOffset = random.bounded(100);
                if (e.kind == CellElement::Kind::Image)
                    e.threshold = 1 + random.bounded(99);
                if (e.kind == CellElement::Kind::Barcode)
                    e.legend = !e.legend;
                if (e.kind == CellElement::Kind::Line)
                    e.box.setWidth(std::max(1.0, e.box.width() - 1));
                if (e.isMatrixCode())
                    e.parts = {{QStringLiteral("C%1 ").arg(step), false}, {QStringLiteral("CODIGO"), true}};
                document.edit(report, QStringLiteral("Propriedade"));
                break;
            }
            case 3:
                if (pick < 0)
                    continue;
                elements.removeAt(pick);
                document.edit(report, QStringLiteral("Excluir"));
                break;
            case 4:
            case 5:
                document.undoStack()->undo();
                break;
            case 6:
                document.undoStack()->redo();
                break;
            case 7:
                document.selectReport(random.bounded(document.reportCount()));
                break;
            }
            // A change the parser would refuse (off a thermal label, a barcode too narrow) is taken back.
            if (!document.layoutFault().isEmpty())
                document.undoStack()->undo();
            QVERIFY2(document.layoutFault().isEmpty(), qPrintable(document.layoutFault()));
            if (step % 6 != 5 || !document.isModified())
                continue;
            QList<SheetReport> shown;
            for (int row = 0; row < document.reportCount(); ++row)
                shown << document.reportAt(row);
            QString message;
            QCOMPARE(document.save(false, &message), DesignDocument::SaveResult::Saved);
            ++saves;
            ReportProject reread;
            try {
                reread = parsed(readFile(m_path));
            } catch (const SelvarError &fault) {
                QFAIL(qPrintable(QStringLiteral("step %1: %2").arg(step).arg(fault.message())));
            }
            QCOMPARE(reread.reports.size(), shown.size());
            for (const SheetReport &report : std::as_const(shown)) {
                const SheetReport *there = reread.findReport(report.name);
                QVERIFY2(there, qPrintable(report.name));
                QCOMPARE(writtenDifference(report, *there), QString());
                QCOMPARE(asWritten(there->elements), asWritten(report.elements));
            }
        }
        QVERIFY(saves >= 10);
    }
};

QTEST_MAIN(DesignerRoundTripTest)
#include "tst_designer_round_trip.moc"
