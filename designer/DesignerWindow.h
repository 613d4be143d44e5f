#pragma once

#include "Alignment.h"
#include "ModelTies.h"
#include "ReportProject.h"

#include <QDialog>
#include <QMainWindow>

#include <functional>

class DesignDocument;
class LabelCanvas;
class PrintHandOver;
class PropertiesPanel;
class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class ModelsBox;
class EtiqparPanel;
class GuideWindow;
struct SuiteData;
class BackgroundTask;

// "Editor de etiquetas": the reports of one project on the left, the label
// being designed in the middle at true size with its rulers, the selected
// element's properties on the right and, under the label, what would print
// badly. Nothing is written to the project until "Salvar".
class DesignerWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit DesignerWindow(QWidget *parent = nullptr);
    ~DesignerWindow() override;

    DesignDocument *document() const { return m_document; }
    LabelCanvas *canvas() const { return m_canvas; }

    // Opens a project (native path); asks first when there are unsaved changes.
    bool openProject(const QString &path);

    // Where a thermal test print goes: the station's work folder (with its
    // ImprEtiq.bat) and its printer path (ROTULO1). Taken from the user's
    // ESTACOES row when the suite's database has one, else asked for at the
    // first thermal test print of the session.
    QString StationFolder;
    QString StationPrinter;
    PrintHandOver *handOver() const { return m_handOver; }

    QListWidget *ListaRelatorios;
    QListWidget *ListaAvisos;
    QLabel *LabelFalhas;      // the file's own fault, as the parser gives it
    ModelsBox *PainelModelos;
    EtiqparPanel *PainelModelosBanco; // ETIQPAR's models and what prints each
    QPlainTextEdit *EditModelos;  // the report's 'modelos', one a line (PainelModelos's)
    QLabel *LabelModelosGravados; // the 'modelos' line as it will be saved
    QComboBox *ComboZoom;
    QLabel *LabelProdutos;    // whose products the canvas shows
    PropertiesPanel *Propriedades;

    QAction *ActSalvar;
    QAction *ActDesfazer;
    QAction *ActRefazer;
    QAction *ActCopiar;
    QAction *ActColar;
    QAction *ActDuplicar;
    QAction *ActExcluir;

    // Runs a dialog of the window and gives its result: exec() unless a test drives it.
    std::function<int(QDialog &)> runDialog = [](QDialog &dialog) { return dialog.exec(); };

public slots:
    void BotAbrirClick();
    bool BotSalvarClick();
    bool BotSalvarComoClick();
    // The file as it is on disk; this window's edits made again on it or discarded (asked first).
    void BotRecarregarClick();
    void BotExcluirRelatorioClick();  // asks first; one undo step
    void BotUsarRelatorioClick();     // the project's 'ativo'
    void BotDuplicarRelatorioClick();
    void BotNovaFolhaClick();
    void BotNovoTermicoClick();
    void BotConfigurarClick();  // the report's own settings
    void BotImprimirTesteClick();
    void BotCalibrarClick();
    // The models this report lists taken from every other report of its kind
    // that lists them too, so this one prints them: one undo step.
    void BotUsarModelosClick();
    void addElement(CellElement::Kind kind);
    void copySelection();
    void paste();
    void duplicate();
    void deleteSelection();
    void align(AlignEdge edge);
    void distribute(Qt::Orientation orientation);
    // The labels guide, at the section about the selected element (F1).
    void showGuide();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildActions();
    void showProject();
    void showReport();
    void showWarnings();
    void applyModels(const QStringList &prefixes);
    QList<ModelTie> currentTies() const;
    QList<std::pair<int, SheetReport>> reportsTakingModels() const;
    void offerModelsToThisReport();
    bool settleChanges(); // false when the user keeps working on the changes
    // A save refused for characters the file's code page lacks: asks to
    // switch the file to UTF-8 with BOM; true when the next save will.
    bool offerUtf8(const QString &refusal);
    void pasteElements(const QList<CellElement> &elements, double shift);
    bool askStation();
    void useSuiteData(const SuiteData &data);
    void printThermalTest(const QList<QByteArray> &files, int labels);
    // The selected elements' boxes changed together, as one step.
    void editSelectedBoxes(const std::function<QList<QRectF>(const QList<QRectF> &)> &change, const QString &text);

    DesignDocument *m_document;
    LabelCanvas *m_canvas;
    PrintHandOver *m_handOver;
    BackgroundTask *m_suiteReader = nullptr;
    GuideWindow *m_guide = nullptr;
    QList<CellElement> m_clipboard;
    bool m_toLabel = false;
    bool m_testFailed = false; // the last test print failed: the station is asked for again
};
