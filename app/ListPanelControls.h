#pragma once

#include <QRect>

class DataSetModel;
class ListGrid;
class PrintProgressPanel;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class QWidget;
class TPieGauge;

// The list panel as the suite lays it out, over the main panel while a
// product list is open: the model box, the print buttons, the search boxes,
// the grid, the lines under them, the print's progress panel, and the
// hand-over's and history's controls. Every control is named as the suite
// names it.
struct ListPanelControls
{
    static constexpr QRect ListPanelBounds{4, 5, 617, 397};

    // Creates the controls on the main panel; the grid's model belongs to `owner`.
    void buildListPanel(QWidget *mainPanel, QWidget *owner);
    // The title bar spans the panel inside its bevel, whatever size the panel takes.
    void placeTitleBar();

    QFrame *PainelSelvarra = nullptr;
    QLabel *Panel1 = nullptr;
    QLabel *lbl2 = nullptr;
    QComboBox *DBLCB1 = nullptr;
    QPushButton *BotSairMontEtiq = nullptr;
    QPushButton *btnEtiqSemPreco = nullptr;
    QPushButton *BitBtn2 = nullptr;
    QToolButton *SpeedButton1 = nullptr;
    QLabel *Label6 = nullptr;
    QLineEdit *EditEtiqInic = nullptr;
    QLabel *Label4 = nullptr;
    QLineEdit *EditPesqComp = nullptr;
    QLabel *Label5 = nullptr;
    QLineEdit *EditPesqCod = nullptr;
    ListGrid *DBGrid1 = nullptr;
    DataSetModel *DBGrid1Model = nullptr;
    QLabel *LabelPesquisa = nullptr;  // under the search boxes: a search that found nothing says so here
    QLabel *LabelTotais = nullptr;    // "17 etiquetas em 6 produtos", as the quantities are typed
    QLabel *LabelImpressao = nullptr; // what the last print did

    // The progress panel of a print.
    PrintProgressPanel *Painel1 = nullptr;
    QLabel *Label3 = nullptr;
    TPieGauge *Pizza = nullptr;
    QLabel *LabelArq = nullptr;
    QPushButton *BotCancelarImpressao = nullptr; // "Cancelar" on the progress panel

    // The hand-over of thermal jobs: which file goes now, and its buttons.
    QLabel *LabelEnvio = nullptr;
    QPushButton *BotPararEnvio = nullptr;     // "Parar envio", while files are being sent
    QPushButton *BotContinuarEnvio = nullptr; // "Continuar envio (arquivos 6 a 10)", after a hand-over that stopped

    QPushButton *BotPrecosAlterados = nullptr; // fills "Qtde." for products whose price changed since their last label
    QPushButton *BotHistorico = nullptr;       // "Histórico de etiquetas"
};
