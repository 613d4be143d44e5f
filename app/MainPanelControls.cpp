#include "MainPanelControls.h"

#include "InstructionsText.h"
#include "WindowLook.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>

using namespace WindowLook;

QString MainPanelControls::showInstructionsCaption()
{
    return QStringLiteral("Ver instruções");
}

void MainPanelControls::buildMainPanel(QWidget *window)
{
    PainelConsistG = makePanel(window, QStringLiteral("PainelConsistG"));
    // Everything of the main panel that the list panel covers lives in one
    // layer, which is disabled as a whole while the list panel covers it: no
    // Tab, Enter or mnemonic reaches a button the clerk cannot see.
    PainelBotoes = new QWidget(PainelConsistG);
    PainelBotoes->setObjectName(QStringLiteral("PainelBotoes"));
    PainelBotoes->setGeometry(PainelConsistG->rect());

    BotSelvarProdRev = makeButton(PainelBotoes, QStringLiteral("BotSelvarProdRev"),
                                  QStringLiteral("Códigos de Barras de Produtos Prontos"), {17, 45, 509, 75}, Navy,
                                  QStyle::SP_FileDialogDetailedView);
    BotSelvarProdRev->setContextMenuPolicy(Qt::CustomContextMenu);
    btnConfigEtiq = makeButton(PainelBotoes, QStringLiteral("btnConfigEtiq"), QString(), {527, 45, 80, 75});
    BitBtn12 = makeButton(PainelBotoes, QStringLiteral("BitBtn12"), QStringLiteral("<Reservado>"), {17, 121, 509, 75},
                          Maroon, QStyle::SP_FileDialogInfoView);
    BitBtn13 = makeButton(PainelBotoes, QStringLiteral("BitBtn13"), QString(), {527, 121, 80, 75}, QColor(),
                          QStyle::SP_DriveFDIcon);
    BotSelvar = makeButton(PainelBotoes, QStringLiteral("BotSelvar"), QStringLiteral("Códigos de Barras Sequencial"),
                           {17, 197, 590, 75}, Teal, QStyle::SP_FileDialogListView);
    BotSair = makeButton(PainelBotoes, QStringLiteral("BotSair"), QStringLiteral("Sair"), {17, 273, 590, 76}, Red,
                         QStyle::SP_DialogCloseButton);
    for (QPushButton *stillDisabled : {BitBtn12, BitBtn13, BotSelvar})
        stillDisabled->setEnabled(false);

    BitBtn14 = new QPushButton(showInstructionsCaption(), PainelBotoes);
    BitBtn14->setObjectName(QStringLiteral("BitBtn14"));
    BitBtn14->setGeometry(18, 352, 111, 22);

    Gauge1 = new QProgressBar(PainelBotoes);
    Gauge1->setObjectName(QStringLiteral("Gauge1"));
    Gauge1->setGeometry(134, 353, 471, 20);
    setTextColor(Gauge1, QPalette::Highlight, Navy);
    Gauge1->hide();

    Label30 = makeLabel(PainelBotoes, QStringLiteral("Label30"), QStringLiteral("Lendo banco de dados. Por favor aguarde..."),
                        {188, 374}, Navy, QFont(QStringLiteral("Arial Rounded MT Bold"), 12));
    Label30->hide();
    BotCancelarLista = makeButton(PainelBotoes, QStringLiteral("BotCancelarLista"), QStringLiteral("Cancelar"),
                                  {530, 376, 75, 22});
    BotCancelarLista->hide();

    mmo1 = new QPlainTextEdit(QStringLiteral("mmo1"), PainelConsistG);
    mmo1->setObjectName(QStringLiteral("mmo1"));
    mmo1->setFrameShape(QFrame::NoFrame);
    mmo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mmo1->setContextMenuPolicy(Qt::CustomContextMenu);
    mmo1->setGeometry(BuildLogBounds);
    mmo1->hide();

    Memo2 = makeInstructionsMemo(PainelConsistG, InstructionsBounds);

    pm1 = new QMenu(window);
    pm1->setObjectName(QStringLiteral("pm1"));
    Visualizarmemo1 = pm1->addAction(QStringLiteral("Visualizar memo"));
    Visualizarmemo1->setObjectName(QStringLiteral("Visualizarmemo1"));
    Fecharmemo1 = pm1->addAction(QStringLiteral("Fechar memo"));
    Fecharmemo1->setObjectName(QStringLiteral("Fecharmemo1"));
}
