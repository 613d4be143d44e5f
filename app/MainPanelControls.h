#pragma once

#include <QRect>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QWidget;

// The main panel of the window as the suite lays it out: the column of large
// buttons, the loading bar of a list build, the build log and the
// instructions. Every control is named as the suite names it.
struct MainPanelControls
{
    static constexpr QRect BuildLogBounds{23, 24, 586, 321};
    static constexpr QRect InstructionsBounds{162, 15, 425, 383};
    static QString showInstructionsCaption();

    // Creates the controls on `window`.
    void buildMainPanel(QWidget *window);

    QFrame *PainelConsistG = nullptr;
    QWidget *PainelBotoes = nullptr; // the main panel's controls, disabled while the list panel covers them
    QPushButton *BotSelvarProdRev = nullptr;
    QPushButton *btnConfigEtiq = nullptr;
    QPushButton *BitBtn12 = nullptr;
    QPushButton *BitBtn13 = nullptr;
    QPushButton *BotSelvar = nullptr;
    QPushButton *BotSair = nullptr;
    QPushButton *BitBtn14 = nullptr;
    QProgressBar *Gauge1 = nullptr;
    QLabel *Label30 = nullptr;
    QPushButton *BotCancelarLista = nullptr; // "Cancelar" beside the loading bar, while a list is built
    QPlainTextEdit *mmo1 = nullptr;
    QPlainTextEdit *Memo2 = nullptr;
    QMenu *pm1 = nullptr;
    QAction *Visualizarmemo1 = nullptr;
    QAction *Fecharmemo1 = nullptr;
};
