#include "ListPanelControls.h"

#include "DataSource.h" // before DataSetModel.h, which needs it whole
#include "DataSetModel.h"
#include "ListGrid.h"
#include "PrintProgressPanel.h"
#include "WindowLook.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

using namespace WindowLook;

namespace {

const int TitleBarHeight = 26;

} // namespace

void ListPanelControls::buildListPanel(QWidget *mainPanel, QWidget *owner)
{
    PainelSelvarra = makePanel(mainPanel, QStringLiteral("PainelSelvarra"));
    PainelSelvarra->setGeometry(ListPanelBounds);
    PainelSelvarra->hide();

    Panel1 = new QLabel(QStringLiteral("Etiquetas de Código de Barras"), PainelSelvarra);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setAlignment(Qt::AlignCenter);
    Panel1->setAutoFillBackground(true);
    setTextColor(Panel1, QPalette::Window, Navy);
    setTextColor(Panel1, QPalette::WindowText, Qt::white);
    QFont bold = Panel1->font();
    bold.setBold(true);
    Panel1->setFont(bold);
    placeTitleBar();

    lbl2 = makeLabel(PainelSelvarra, QStringLiteral("lbl2"), QStringLiteral("Selecione o tipo de impressora e de etiqueta"),
                     {11, 32}, Navy, boldFont());

    DBLCB1 = new QComboBox(PainelSelvarra);
    DBLCB1->setObjectName(QStringLiteral("DBLCB1"));
    DBLCB1->setGeometry(9, 48, 289, 21);

    BotSairMontEtiq = makeButton(PainelSelvarra, QStringLiteral("BotSairMontEtiq"), QStringLiteral("Fech&ar"),
                                 {516, 40, 90, 25}, Maroon, QStyle::SP_DialogCancelButton);
    btnEtiqSemPreco = makeButton(PainelSelvarra, QStringLiteral("btnEtiqSemPreco"), QStringLiteral("Etiquetas com preços"),
                                 {10, 72, 160, 25}, QColor(), QStyle::SP_FileDialogContentsView);
    BitBtn2 = makeButton(PainelSelvarra, QStringLiteral("BitBtn2"), QStringLiteral("Etiquetas sem preços"),
                         {170, 72, 160, 25}, QColor(), QStyle::SP_FileIcon);
    BitBtn2->setEnabled(false);

    SpeedButton1 = new QToolButton(PainelSelvarra);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setAutoRaise(true);
    SpeedButton1->setIcon(PainelSelvarra->style()->standardIcon(QStyle::SP_BrowserReload));
    SpeedButton1->setGeometry(299, 48, 32, 22);
    SpeedButton1->setEnabled(false);

    Label6 = makeLabel(PainelSelvarra, QStringLiteral("Label6"), QStringLiteral("Etiq. Inicial"), {10, 103}, Navy, boldFont());
    EditEtiqInic = makeEdit(PainelSelvarra, QStringLiteral("EditEtiqInic"), {9, 119, 76, 24});
    Label4 = makeLabel(PainelSelvarra, QStringLiteral("Label4"), QStringLiteral("Localizar Componente"), {90, 103}, Navy,
                       boldFont());
    EditPesqComp = makeEdit(PainelSelvarra, QStringLiteral("EditPesqComp"), {89, 119, 240, 24});
    Label5 = makeLabel(PainelSelvarra, QStringLiteral("Label5"), QStringLiteral("Localizar Código"), {334, 103}, Navy,
                       boldFont());
    EditPesqCod = makeEdit(PainelSelvarra, QStringLiteral("EditPesqCod"), {333, 119, 196, 24});

    // The grid leaves one line under the search boxes for what a search did
    // not find; it still ends where the suite's grid ends.
    LabelPesquisa = makeLabel(PainelSelvarra, QStringLiteral("LabelPesquisa"), QString(), {9, 145}, Maroon, boldFont());
    LabelPesquisa->setGeometry(9, 145, 603, 14);
    DBGrid1Model = new DataSetModel(owner);
    DBGrid1 = new ListGrid(PainelSelvarra, DBGrid1Model);
    // Under the grid, as a status line: what the last print did on the left,
    // what the list will print on the right.
    LabelImpressao = makeLabel(PainelSelvarra, QStringLiteral("LabelImpressao"), QString(), {9, 395}, Navy, boldFont());
    LabelImpressao->setGeometry(9, 395, 390, 16);
    LabelTotais = makeLabel(PainelSelvarra, QStringLiteral("LabelTotais"), QString(), {405, 395}, Navy, boldFont());
    LabelTotais->setGeometry(405, 395, 207, 16);
    LabelTotais->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    Painel1 = new PrintProgressPanel(PainelSelvarra);
    Label3 = Painel1->title;
    Pizza = Painel1->gauge;
    LabelArq = Painel1->item;
    BotCancelarImpressao = Painel1->cancel;

    // Controls of the suite's form that no operation of this program shows; they
    // are kept so the form holds what the suite's form holds.
    for (const char *name : {"btnEtiqPreco", "BitBtn7", "BitBtn8", "BitBtn9", "BitBtn10", "BotFiltraPeriodo",
                             "BotFiltraTodos"})
        makeHidden<QPushButton>(PainelSelvarra, name);
    makeHidden<QPlainTextEdit>(PainelSelvarra, "Memo1");
    for (const char *name : {"GroupBox1", "GroupBox2", "Panel2", "PainelPeriodo"})
        makeHidden<QFrame>(PainelSelvarra, name);

    LabelEnvio = new QLabel(PainelSelvarra);
    LabelEnvio->setObjectName(QStringLiteral("LabelEnvio"));
    LabelEnvio->setGeometry(336, 76, 176, 18);
    BotPararEnvio = new QPushButton(QStringLiteral("Parar envio"), PainelSelvarra);
    BotPararEnvio->setObjectName(QStringLiteral("BotPararEnvio"));
    BotPararEnvio->setGeometry(516, 72, 90, 25);
    BotPararEnvio->hide();
    BotContinuarEnvio = new QPushButton(PainelSelvarra);
    BotContinuarEnvio->setObjectName(QStringLiteral("BotContinuarEnvio"));
    BotContinuarEnvio->setGeometry(336, 72, 270, 25);
    BotContinuarEnvio->hide();

    BotPrecosAlterados = new QPushButton(QStringLiteral("Preços a&lterados"), PainelSelvarra);
    BotPrecosAlterados->setObjectName(QStringLiteral("BotPrecosAlterados"));
    BotPrecosAlterados->setToolTip(QStringLiteral("Põe em \"Qtde.\" as etiquetas dos produtos cujo preço mudou desde a "
                                                  "última etiqueta impressa"));
    BotPrecosAlterados->setGeometry(336, 40, 112, 25);
    BotHistorico = new QPushButton(QStringLiteral("&Histórico"), PainelSelvarra);
    BotHistorico->setObjectName(QStringLiteral("BotHistorico"));
    BotHistorico->setToolTip(QStringLiteral("Histórico de etiquetas: o que foi impresso, e repetir um trabalho"));
    BotHistorico->setGeometry(450, 40, 64, 25);
}

void ListPanelControls::placeTitleBar()
{
    const QRect inside = PainelSelvarra->contentsRect();
    Panel1->setGeometry(inside.left(), inside.top(), inside.width(), TitleBarHeight);
}
