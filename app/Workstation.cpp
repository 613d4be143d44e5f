#include "Workstation.h"

#include "ColumnLists.h"
#include "Cp1252.h"
#include "Messages.h"
#include "RunValues.h"
#include "TDM.h"
#include "UserName.h"

#include <QDateTime>
#include <QWidget>

namespace {

// The suite's user names come from a 50-character buffer, terminating zero included.
const int UserNameLimit = 49;

const QString EstacoesColumns = QStringLiteral(
    "ESTACAO, DATBASNAM, TIPO, ATCAIXA, ESVAZIAR, EMUSO, CAMINHOREQUISICAO, CAMINHOOM, CAMINHOECF, "
    "CAMINHOSEQUENCIAL1, CAMINHO2, ROTULO1, ROTULO2, ROTULO3, ROTULO4, ROTULO5, ROTULO6, USUARIO, CNPJ");

// The name travels as a bound parameter, so a name with an apostrophe is just a
// name. Rows come in station order, so the first of two rows for one user is
// always the same one.
QString workstationSelect()
{
    return QStringLiteral("Select ") + EstacoesColumns
           + QStringLiteral("  from ESTACOES where upper(USUARIO) = ? order by ESTACAO");
}

// Nothing in the program reads these marks; they stay in the data set and are
// dropped when it closes, so ESTACOES itself is not changed.
void markStationInUse(ClientDataSet &estacoes)
{
    const QDateTime now = QDateTime::currentDateTime();
    estacoes.Edit();
    estacoes.FieldByName(QStringLiteral("EmUso")).setAsString(QStringLiteral("S"));
    estacoes.FieldByName(QStringLiteral("AtCaixa"))
        .setAsString(QStringLiteral("Ultima atividade: ") + now.toString(QStringLiteral("dd/MM/yy HH:mm:ss")));
    estacoes.Post();
}

} // namespace

QString userNameKey(const QString &name)
{
    QString key = name;
    for (QChar &c : key) {
        // Firebird's upper() in WIN1252 capitalises every letter whose capital
        // the code page holds: a to z, the accented ones, š, œ, ž and ÿ.
        const QChar upper = c.toUpper();
        if (upper != c && fromCp1252(toCp1252(QString(upper))) == QString(upper))
            c = upper;
    }
    // The database compares texts as if the shorter were padded with blanks.
    qsizetype end = key.size();
    while (end > 0 && key[end - 1] == QLatin1Char(' '))
        --end;
    key.truncate(end);
    return key;
}

QString workstationTitle(const QString &userName, const QString &stationCode)
{
    return QStringLiteral("  BOTICON - ETIQUETAS DE CODIGO DE BARRAS  -  Usuário: \"") + userName
           + QStringLiteral("\"   Estação: ") + stationCode;
}

QString workstationNotFoundMessage(const QString &userName)
{
    const QString br = QStringLiteral("\r");
    return QStringLiteral("Não foi possível selecionar uma área de trabalho para o usuário \"") + userName
           + QStringLiteral("\". ") + br + br + QStringLiteral("Causas prováveis: ") + br + br
           + QStringLiteral("  1) Na tabela \"Estacoes.db\" não foi incluída uma estação para o usuário \"") + userName
           + QStringLiteral("\".") + br
           + QStringLiteral("     Obs: Criar também a área de trabalho física (pasta C:\\Boticon\\InterfacXX) para este usuário.")
           + br + QStringLiteral("  --> Favor contactar o suporte técnico da VELTRA SISTEMAS <--");
}

QString ResolveWorkstation(TDM &DM, QWidget &mainWindow)
{
    RunValues::StationCode.clear();
    QString result;
    RunValues::WindowsUserName = currentUserName().left(UserNameLimit);
    // The database finds the row with upper() on USUARIO; the name is made the
    // same way here, so both sides agree on José, JOSÉ and josé.
    const QString wanted = userNameKey(RunValues::WindowsUserName);

    ClientDataSet &estacoes = *DM.Estacoes;
    const QString designSelect = DM.SQLDS_Estacoes->CommandText();
    estacoes.Close();
    DM.SQLDS_Estacoes->setCommandText(workstationSelect());
    DM.SQLDS_Estacoes->setParams({wanted});
    struct Restore
    {
        TDM &dm;
        QString select;
        ~Restore()
        {
            dm.Estacoes->Close();
            dm.SQLDS_Estacoes->setParams({});
            dm.SQLDS_Estacoes->setCommandText(select);
        }
    } restore{DM, designSelect};
    estacoes.Open();

    const QString found = estacoes.IsEmpty() ? QString()
                                             : userNameKey(estacoes.FieldByName(QStringLiteral("Usuario")).AsString());
    if (found != wanted || estacoes.IsEmpty()) {
        Messages::show(workstationNotFoundMessage(RunValues::WindowsUserName));
        return result;
    }
    RunValues::StationCode = estacoes.FieldByName(QStringLiteral("Estacao")).AsString().left(2);
    result = estacoes.FieldByName(QStringLiteral("DatBasNam")).AsString();
    RunValues::LabelPrinterPath = estacoes.FieldByName(QStringLiteral("Rotulo1")).AsString();
    mainWindow.setWindowTitle(workstationTitle(RunValues::WindowsUserName, RunValues::StationCode));
    markStationInUse(estacoes);
    return result;
}
