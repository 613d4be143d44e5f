#include "Workstation.h"

#include "ColumnLists.h"
#include "Messages.h"
#include "RunValues.h"
#include "TDM.h"
#include "UserName.h"
#include "UserStation.h"

#include <QDateTime>
#include <QWidget>

namespace {

const QString EstacoesColumns = QStringLiteral(
    "ESTACAO, DATBASNAM, TIPO, ATCAIXA, ESVAZIAR, EMUSO, CAMINHOREQUISICAO, CAMINHOOM, CAMINHOECF, "
    "CAMINHOSEQUENCIAL1, CAMINHO2, ROTULO1, ROTULO2, ROTULO3, ROTULO4, ROTULO5, ROTULO6, USUARIO, CNPJ");

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
    RunValues::WindowsUserName = currentUserName().left(UserStation::UserNameLimit);
    // The database finds the row with upper() on USUARIO; the name is made the
    // same way here, so both sides agree on José, JOSÉ and josé.
    const QString wanted = userNameKey(RunValues::WindowsUserName);

    ClientDataSet &estacoes = *DM.Estacoes;
    const QString designSelect = DM.SQLDS_Estacoes->CommandText();
    estacoes.Close();
    DM.SQLDS_Estacoes->setCommandText(UserStation::select(EstacoesColumns));
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
