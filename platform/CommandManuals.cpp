// Every installed command, as its --help and its manual page tell it. The
// pages go to pt_BR/man1 and man1; a command added here gets both.
#include "CommandManual.h"

namespace {

const QString SuiteFiles = QStringLiteral(
    "A pasta da suíte é BOTICON_ROOT, ou /opt/boticon/ quando a variável não existe. Nela:\n"
    "\n"
    "  BOTICON.INI            o servidor (\"IP DO SERVIDOR CENTRAL\") e a cor das telas\n"
    "  dados/boticon.bd       o banco da suíte, quando não há servidor\n"
    "  InterfacNN/            a pasta de trabalho da estação NN, com ImprEtiq.bat\n"
    "  rpt/Selvar.rav         o projeto de relatório das etiquetas em folha e térmicas\n"
    "  Em_Uso.txt             diz que uma cópia do programa está aberta\n"
    "\n"
    "Os modelos de partida ficam em /usr/share/selvar/: schema.sql, BOTICON.INI, Selvar.rav e ImprEtiq.bat.\n"
    "Os guias ficam em /usr/share/doc/selvar/.");

QList<CommandManual> makeManuals()
{
    QList<CommandManual> manuals;

    manuals << CommandManual{
        QStringLiteral("selvar"),
        QStringLiteral("etiquetas de código de barras com preços dos produtos prontos"),
        QStringLiteral("selvar [opções]"),
        QStringLiteral("Etiquetas de código de barras com preços dos produtos prontos (Boticon).\n"
                       "Sem opções, abre a janela da estação do usuário: BOTICON.INI e as pastas\n"
                       "InterfacNN ficam na pasta do programa; instalado em bin/, na pasta da suíte\n"
                       "(BOTICON_ROOT, ou /opt/boticon/). A estação vem da tabela ESTACOES."),
        {},
        {{QStringLiteral("ARQUIVOS"), SuiteFiles},
         {QStringLiteral("AMBIENTE"),
          QStringLiteral("  BOTICON_ROOT        a pasta da suíte (padrão /opt/boticon/)\n"
                         "  SELVAR_USER         o usuário no lugar do login, para um terminal compartilhado\n"
                         "  SELVAR_EXE_FOLDER   a pasta onde o programa procura BOTICON.INI\n"
                         "  SELVAR_SCREENSHOT   grava a janela neste arquivo PNG assim que ela abre, e termina")},
         {QStringLiteral("SAÍDA"),
          QStringLiteral("0 quando a janela foi fechada; diferente de 0 quando o programa não pôde abrir "
                         "(BOTICON.INI ausente, usuário sem estação, banco inacessível), com a mensagem na tela.")}}};

    manuals << CommandManual{
        QStringLiteral("selvar-barcode"),
        QStringLiteral("escreve os módulos de um código de barras e, se pedido, o seu desenho em PNG"),
        QStringLiteral("selvar-barcode --type T [opções] TEXT"),
        QStringLiteral("Imprime os módulos do código de barras (P/1 barra, B/0 espaço)."),
        {{{QStringLiteral("type")}, QStringLiteral("T"), QStringLiteral("Simbologia: nome ou ordinal de TBarCodeTipo.")},
         {{QStringLiteral("png")}, QStringLiteral("FILE"), QStringLiteral("Grava também o desenho do controle em PNG.")},
         {{QStringLiteral("pen")}, QStringLiteral("W"), QStringLiteral("Largura do módulo em pixels, de 1 a 100 (padrão 1)."), QStringLiteral("1")},
         {{QStringLiteral("legend")}, QString(), QStringLiteral("Escreve a legenda sob as barras.")}},
        {{QStringLiteral("EXEMPLOS"),
          QStringLiteral("O EAN-13 de um produto, desenhado com módulos de 2 pixels e os dígitos embaixo:\n"
                         "\n"
                         "  selvar-barcode --type btCodeEAN13 --pen 2 --legend --png ean.png 7899876000077\n"
                         "\n"
                         "As simbologias aceitas são listadas quando --type falta ou não é conhecida.")},
         {QStringLiteral("SAÍDA"),
          QStringLiteral("0 quando o código foi escrito; 1 quando o PNG não pôde ser gravado; 2 quando as opções estão erradas.")}}};

    manuals << CommandManual{
        QStringLiteral("selvar-label-preview"),
        QStringLiteral("mostra em PNG o que a impressora térmica imprimiria"),
        QStringLiteral("selvar-label-preview ARQUIVO... (-o SAIDA.png [--label 30x17] [--columns 0,285,570] | --check) [--dpi 203|300]"),
        QStringLiteral("Mostra em PNG o que a impressora térmica imprimiria com os arquivos."),
        {{{QStringLiteral("o"), QStringLiteral("output")}, QStringLiteral("arquivo"), QStringLiteral("A imagem PNG a gravar.")},
         {{QStringLiteral("dpi")}, QStringLiteral("dpi"), QStringLiteral("Resolução da cabeça: 203 ou 300 (padrão 203)."), QStringLiteral("203")},
         {{QStringLiteral("label")}, QStringLiteral("tamanho"),
          QStringLiteral("Etiqueta LARGURAxALTURA em mm: contornos, vermelho e lista do que sai dela.")},
         {{QStringLiteral("columns")}, QStringLiteral("x,x,..."),
          QStringLiteral("Início de cada coluna em pontos (padrão: onde os arquivos desenham).")},
         {{QStringLiteral("check")}, QString(),
          QStringLiteral("Só confere: lista cada comando ou parâmetro que a linguagem da impressora não aceita; não grava imagem.")}},
        {{QStringLiteral("EXEMPLOS"),
          QStringLiteral("Os arquivos de um trabalho da estação 01 sobre a etiqueta de 30 x 17 mm:\n"
                         "\n"
                         "  selvar-label-preview /opt/boticon/Interfac01/Etiq*.txt -o etiquetas.png --label 30x17\n"
                         "\n"
                         "O que sai da etiqueta fica vermelho na imagem e é listado, arquivo por arquivo.")},
         {QStringLiteral("SAÍDA"),
          QStringLiteral("0 quando tudo foi desenhado; 2 quando a imagem foi gravada mas algum comando não pôde ser "
                         "desenhado; 1 quando nada foi desenhado. Com --check: 0 quando a impressora aceita tudo, 2 quando "
                         "algo foi listado, 1 quando um arquivo não pôde ser lido.")}}};

    manuals << CommandManual{
        QStringLiteral("selvar-setup-station"),
        QStringLiteral("prepara uma estação (balcão) para o Selvar"),
        QStringLiteral("selvar-setup-station --station NN --user NOME --printer CAMINHO [opções]"),
        QStringLiteral("Prepara uma estação (balcão) para o Selvar: a pasta InterfacNN com ImprEtiq.bat,\n"
                       "rpt/Selvar.rav quando não houver, a linha da estação em ESTACOES, os modelos de\n"
                       "etiqueta iniciais (A4, Carta, A5, Zebra) e o modelo corrente quando ETIQPAR está\n"
                       "vazia e, se pedido, uma fila CUPS crua para a impressora térmica. Recusa sem mudar\n"
                       "nada quando algo está errado."),
        {{{QStringLiteral("suite")}, QStringLiteral("PASTA"),
          QStringLiteral("Pasta da suíte, onde ficam BOTICON.INI e as pastas InterfacNN (padrão: BOTICON_ROOT ou /opt/boticon/).")},
         {{QStringLiteral("station")}, QStringLiteral("NN"), QStringLiteral("Código da estação, dois caracteres (ex.: 01).")},
         {{QStringLiteral("user")}, QStringLiteral("NOME"), QStringLiteral("Usuário da estação (o login de quem usa o Selvar).")},
         {{QStringLiteral("printer")}, QStringLiteral("CAMINHO"),
          QStringLiteral("Impressora térmica (ROTULO1): dispositivo, arquivo ou nome de fila CUPS (padrão: a fila de --cups-raw-queue).")},
         {{QStringLiteral("server")}, QStringLiteral("IP"),
          QStringLiteral("Servidor Firebird da suíte, como em \"IP DO SERVIDOR CENTRAL\" do BOTICON.INI (vazio: banco local).")},
         {{QStringLiteral("database")}, QStringLiteral("BANCO"),
          QStringLiteral("Banco da suíte por inteiro (padrão: IP:C:\\boticon\\dados\\boticon.bd).")},
         {{QStringLiteral("cups-raw-queue")}, QStringLiteral("FILA"),
          QStringLiteral("Cria também uma fila CUPS crua com este nome (requer --device-uri).")},
         {{QStringLiteral("device-uri")}, QStringLiteral("URI"),
          QStringLiteral("Endereço da impressora para a fila (ex.: usb://Zebra/LP2844, socket://192.168.0.50:9100).")},
         {{QStringLiteral("dry-run")}, QString(), QStringLiteral("Só diz o que faria; não muda nada.")}},
        {{QStringLiteral("EXEMPLOS"),
          QStringLiteral("O primeiro balcão de uma farmácia com servidor, a impressora térmica na USB por uma fila CUPS "
                         "(como root, por causa da fila):\n"
                         "\n"
                         "  selvar-setup-station --station 01 --user maria --server 192.168.0.10 \\\n"
                         "      --cups-raw-queue zebra-balcao1 --device-uri usb://Zebra/LP2844\n"
                         "\n"
                         "O que seria feito, sem mudar nada:\n"
                         "\n"
                         "  selvar-setup-station --station 02 --user joao --printer /dev/usb/lp0 --dry-run")},
         {QStringLiteral("ARQUIVOS"), SuiteFiles},
         {QStringLiteral("SAÍDA"),
          QStringLiteral("0 quando a estação ficou pronta (ou, com --dry-run, quando o plano foi dito); 1 quando algo "
                         "foi recusado, e nada mudou; 2 quando as opções estão erradas.")}}};

    manuals << CommandManual{
        QStringLiteral("selvar-designer"),
        QStringLiteral("editor de etiquetas: desenha os relatórios do projeto Selvar.rav como imprimem"),
        QStringLiteral("selvar-designer [PROJETO] | --render PROJETO RELATORIO -o SAIDA.png [--dpi N] | --check PROJETO"),
        QStringLiteral("Editor de etiquetas: desenha os relatórios do projeto Selvar.rav em tamanho real, como imprimem.\n"
                       "Sem opções abre a janela com o projeto dado, ou com o da suíte: rpt/Selvar.rav na pasta\n"
                       "BOTICON_ROOT, ou /opt/boticon/rpt/Selvar.rav quando a variável não existe."),
        {{{QStringLiteral("render")}, QString(),
          QStringLiteral("Grava em PNG a etiqueta do RELATORIO como o editor a mostra (produtos de exemplo).")},
         {{QStringLiteral("check")}, QString(),
          QStringLiteral("Confere o PROJETO: mostra as falhas (termina com 1 se houver) e o que imprimiria mal.")},
         {{QStringLiteral("o"), QStringLiteral("output")}, QStringLiteral("arquivo"), QStringLiteral("A imagem PNG a gravar (--render).")},
         {{QStringLiteral("dpi")}, QStringLiteral("N"),
          QStringLiteral("Resolução da imagem (--render); padrão 300 nas folhas e a da impressora nos térmicos.")}},
        {{QStringLiteral("EXEMPLOS"),
          QStringLiteral("Conferir o projeto da suíte depois de editá-lo à mão:\n"
                         "\n"
                         "  selvar-designer --check /opt/boticon/rpt/Selvar.rav\n"
                         "\n"
                         "A etiqueta do relatório \"A4 6x20\" em PNG, a 600 dpi:\n"
                         "\n"
                         "  selvar-designer --render /opt/boticon/rpt/Selvar.rav \"A4 6x20\" -o etiqueta.png --dpi 600")},
         {QStringLiteral("ARQUIVOS"), SuiteFiles},
         {QStringLiteral("SAÍDA"),
          QStringLiteral("0 quando terminou; 1 quando o projeto tem uma falha ou um argumento está errado.")}}};

    return manuals;
}

} // namespace

const QList<CommandManual> &commandManuals()
{
    static const QList<CommandManual> manuals = makeManuals();
    return manuals;
}
