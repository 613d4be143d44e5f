#include "DatabaseErrors.h"

QString databaseMessage(const QSqlError &error)
{
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.text().trimmed();
    return text;
}

// Firebird's SQL codes: -902 for a connection shut down or a network failure,
// -904 for a handle that no longer names an attachment.
bool isConnectionFailure(const DatabaseError &error)
{
    return error.nativeCode() == -902 || error.nativeCode() == -904;
}

namespace {

QString withDetail(const QString &text, const QString &detail)
{
    return detail.isEmpty() ? text : text + QStringLiteral(" (") + detail + QLatin1Char(')');
}

} // namespace

QString connectionNotBackText(const QString &done, const QString &detail)
{
    return withDetail(QStringLiteral("A conexão com o servidor foi perdida e não pôde ser refeita: %1. Confira a rede e "
                                     "o servidor e tente de novo.")
                          .arg(done),
                      detail);
}

QString commitUnknownText(const QString &detail)
{
    return withDetail(QStringLiteral("A conexão com o servidor caiu enquanto uma alteração era confirmada: não se sabe "
                                     "se ela foi gravada. Confira antes de repetir."),
                      detail);
}

QString userMessage(const SelvarError &error)
{
    const auto *database = dynamic_cast<const DatabaseError *>(&error);
    if (!database || !isConnectionFailure(*database) || dynamic_cast<const ConnectionLost *>(&error))
        return error.message();
    return QStringLiteral("A conexão com o servidor foi perdida; o que estava sendo feito não terminou. Confira a rede e "
                          "o servidor e tente de novo.\n")
           + error.message();
}
