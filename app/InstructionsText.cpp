#include "InstructionsText.h"

#include "CommandLineInfo.h"
#include "WindowLook.h"

#include <QLabel>
#include <QPlainTextEdit>

// Written as the suite has always shown it, typing slips included: users know it so.
QStringList instructionsText()
{
    return {
        QStringLiteral(""),
        QStringLiteral("  INSTRUÇÕES:"),
        QStringLiteral(""),
        QStringLiteral("  Operação geral:"),
        QStringLiteral(""),
        QStringLiteral("  1) Após acionar a opção \"Códigos de Barras de Produtos Prontos\""),
        QStringLiteral("     aguarde alguns segundos até que todos os produtos sejam "),
        QStringLiteral("     carreguados na tela."),
        QStringLiteral("  2) Em seguida, preencha a primeira coluna da tabela com a "),
        QStringLiteral("      quantidade desejada de etiquetas para cada produto."),
        QStringLiteral("  3) Selecione o tipo de impresora e de etiqueta desejado."),
        QStringLiteral("  4) Para imprimir, dê um clique no botão \"Etiquetas com preço\"."),
        QStringLiteral("  ----------------------------------------------------------------------------------------------"),
        QStringLiteral("  INFORMAÇÕES TÉCNICAS:"),
        QStringLiteral(""),
        QStringLiteral("  Para impressora térmica (Zebra, Argox, Intermec...):"),
        QStringLiteral("     - Colocar no campo ROTULO1 da tabela ESTACOES, o caminho "),
        QStringLiteral("       da impressora onde será feita a impressão das etiquetas."),
        QStringLiteral("       Exemplos:     \\\\CAIXA01\\ZEBRA (Zebra compartilhada na estação CAIXA01)"),
        QStringLiteral("                     /dev/usb/lp0 (Argox ligada na porta USB desta estação)"),
        QStringLiteral("       A impressão da etiqeuta é feita através da BAT ImprEtiq.bat"),
        QStringLiteral("      cujo conteúdo é apenas \"Type %1 > %2\". As etiquetas são"),
        QStringLiteral("      primeiro geradas em arquivos denominados Etiq001.txt, "),
        QStringLiteral("      Etiq002.txt, Etiq003.txt... na pasta de trabalho (InterfacXX)"),
        QStringLiteral("      do usuário. A BAT ImprEtiq.bat envia estes arquivos, um a um"),
        QStringLiteral("      para a impressora. "),
        QStringLiteral(""),
        QStringLiteral("  Para formulários A4, A5, Carta (Pimaco, por exemplo):"),
        QStringLiteral("     - Deverá existir o arquivo Selvar.rav na pasta c:\\boticon\\rpt"),
        QStringLiteral(""),
        QStringLiteral("  Os modelos de etiquetas ficam registrados na tabela ETIQPAR."),
        QStringLiteral("  Cada modelo recebe um código de dois dígitos, 01, 02, 03, 04, "),
        QStringLiteral("  05, etc."),
        QStringLiteral(""),
        QStringLiteral("  A tabela EtiqCorr contém apenas um único registro onde fica "),
        QStringLiteral("  especificado o modelo corrente de etiqueta (01, 02, 03...)"),
        QStringLiteral(""),
        QStringLiteral("  Também fazem parte do conjunto de tabelas do módulo de "),
        QStringLiteral("  etiquetas as tabelas TABREV1 e TABREV2."),
    };
}

QPlainTextEdit *makeInstructionsMemo(QWidget *parent, const QRect &bounds)
{
    using namespace WindowLook;
    auto *memo = new QPlainTextEdit(parent);
    memo->setObjectName(QStringLiteral("Memo2"));
    memo->setReadOnly(true);
    memo->setFrameShape(QFrame::NoFrame);
    memo->setFont(QFont(QStringLiteral("Arial"), 10));
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    setTextColor(memo, QPalette::Base, parent->palette().color(QPalette::ToolTipBase));
    memo->setPlainText(instructionsText().join(QLatin1Char('\n')));
    memo->setGeometry(bounds);
    memo->hide();
    // Support asks for the version on the phone; it waits in the corner of the
    // instructions instead of crowding the main panel.
    auto *versao = new QLabel(QStringLiteral("Selvar versão ") + selvarVersion(), memo);
    versao->setObjectName(QStringLiteral("LabelVersao"));
    versao->setFont(QFont(QStringLiteral("Arial"), 7));
    setTextColor(versao, QPalette::WindowText, Qt::darkGray);
    versao->setAutoFillBackground(true);
    versao->setBackgroundRole(QPalette::Base);
    versao->adjustSize();
    versao->move(bounds.width() - versao->width() - 22, 4);
    return memo;
}
