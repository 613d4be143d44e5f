#include "ListBuildJob.h"

#include "LostConnection.h"
#include "ProductListBuilder.h"
#include "SelvarError.h"
#include "SuiteJob.h"
#include "TDM.h"

namespace {

bool grew(const ListTotals &now, const ListTotals &agreed)
{
    return now.labels > agreed.labels || now.products > agreed.products;
}

} // namespace

ListBuildJob::Outcome ListBuildJob::run(TDM &dm, const QString &station, std::optional<ListTotals> agreed, JobWait &wait,
                                        ListBuildDisplay &display)
{
    Outcome outcome;
    for (int attempt = 1;; ++attempt) {
        ProductListBuilder builder(dm, display);
        try {
            // Asked before the wait, so the clerk does not wait two minutes to be asked.
            if (!agreed) {
                outcome.typed = ListTotals::stored(*dm.SQLConnection1);
                if (outcome.typed.labels > 0) {
                    outcome.needsConsent = true;
                    return outcome;
                }
                agreed = outcome.typed;
            }
            SuiteJob job(*dm.SQLConnection1, station, SuiteJob::Kind::ListBuild, &wait);
            // Other stations may have typed while this one waited in line.
            outcome.typed = ListTotals::stored(*dm.SQLConnection1);
            if (grew(outcome.typed, *agreed)) {
                outcome.needsConsent = true;
                return outcome;
            }
            builder.run(job, ProductListBuilder::ReadBack::No);
            outcome.productsRead = builder.productsRead();
            outcome.rowsRefused = builder.rowsRefused();
            return outcome;
        } catch (const DatabaseError &error) {
            // The new list may be the database's already: it is neither built
            // again by itself nor said to be undone.
            if (LostConnection::commitLost(error))
                throw CommitUnknown(commitLostText(), error.nativeCode());
            if (!isConnectionFailure(error))
                throw;
            // The job's transaction went with the connection: nothing of the
            // new list stays in the database. A build under way says so rather
            // than start over by itself; before its first row it starts again.
            const int stored = builder.rowsStored();
            if (stored == 0 && LostConnection::runAgain(error, attempt, LostConnection::Commit::Unknown))
                continue;
            throw SelvarError(connectionLostText(stored, attempt > 1));
        }
    }
}

QString ListBuildJob::commitLostText()
{
    return QStringLiteral("A conexão com o banco de dados caiu enquanto a lista nova era confirmada, e não se sabe se ela "
                          "foi gravada. Confira a lista quando a conexão voltar, antes de pressionar \"Códigos de Barras "
                          "de Produtos Prontos\" de novo.");
}

QString ListBuildJob::connectionLostText(int stored, bool retried)
{
    if (stored > 0)
        return QStringLiteral("A conexão com o banco de dados caiu no meio da montagem da lista, depois de %1 %2: o que "
                              "foi montado foi desfeito e a lista anterior foi mantida. Confira a rede e o servidor e "
                              "pressione \"Códigos de Barras de Produtos Prontos\" de novo.")
            .arg(stored)
            .arg(stored == 1 ? QStringLiteral("produto") : QStringLiteral("produtos"));
    return QStringLiteral("A conexão com o banco de dados caiu%1: a lista não foi montada e a lista anterior foi mantida. "
                          "Confira a rede e o servidor e pressione \"Códigos de Barras de Produtos Prontos\" de novo.")
        .arg(retried ? QStringLiteral(" e não pôde ser refeita") : QString());
}
