#include "ProductSearch.h"

#include "DatabaseErrors.h"
#include "ListStatements.h"
#include "SelvarError.h"
#include "TDM.h"

#include <functional>

namespace ProductSearch {

namespace {

const QString Codigo = QStringLiteral("CODIGO");
const QString CodigoEan = QStringLiteral("CODIGOEAN");

bool allDigits(const QString &text)
{
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return !text.isEmpty();
}

// EAN-8, EAN-13 and GTIN-14 are one number padded with leading zeros, so a
// scanner that sends "07891000000011" means the box printed "7891000000011".
bool sameGtin(const QString &scanned, const QString &stored)
{
    const QString ean = stored.trimmed();
    if (ean == scanned)
        return true;
    if (!allDigits(ean))
        return false;
    auto significant = [](const QString &digits) {
        qsizetype zeros = 0;
        while (zeros < digits.size() - 1 && digits[zeros] == QLatin1Char('0'))
            ++zeros;
        return QStringView(digits).mid(zeros);
    };
    return significant(scanned) == significant(ean);
}

// The first row, in list order, whose value in the column passes the test; -1 if none.
int firstRow(ClientDataSet &list, const QString &column, const std::function<bool(const QString &)> &test)
{
    const int index = list.FieldByName(column).Index();
    const int rows = list.RecordCount();
    for (int row = 0; row < rows; ++row) {
        if (test(list.valueAt(row, index).toString()))
            return row;
    }
    return -1;
}

void goToRow(ClientDataSet &list, int row)
{
    list.setRecNo(row + 1);
}

// The first row whose value begins with the text byte for byte, else the
// first that begins with it without regard to case and accents; -1 if none.
int rowBeginningWith(ClientDataSet &list, const QString &column, const QString &text)
{
    const int exact = firstRow(list, column, [&](const QString &value) { return value.startsWith(text); });
    if (exact >= 0)
        return exact;
    const QString folded = foldedForSearch(text);
    return firstRow(list, column, [&](const QString &value) { return foldedForSearch(value).startsWith(folded); });
}

// A scanner sends the EAN; a clerk may type the internal code. While the
// digits of an EAN arrive no code begins with them, and the cursor waits.
int rowOfCode(ClientDataSet &list, const QString &text)
{
    if (looksLikeEan(text)) {
        const int byEan = firstRow(list, CodigoEan, [&](const QString &ean) { return sameGtin(text, ean); });
        if (byEan >= 0)
            return byEan;
    }
    return rowBeginningWith(list, Codigo, text);
}

} // namespace

QString columnName(Column column)
{
    return column == Column::Componente ? QStringLiteral("COMPONENTE") : Codigo;
}

QString statementFor(Column column)
{
    return ListStatements::tabRev1OrderedBy(columnName(column));
}

QString emptyBoxMessage(Column column)
{
    return column == Column::Componente ? QStringLiteral("Digite o nome de um produto.")
                                        : QStringLiteral("Digite o Código de um produto.");
}

QString foldedForSearch(const QString &text)
{
    const QString decomposed = text.normalized(QString::NormalizationForm_KD);
    QString folded;
    folded.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (c.category() != QChar::Mark_NonSpacing)
            folded.append(c.toCaseFolded());
    }
    return folded;
}

bool looksLikeEan(const QString &text)
{
    return text.size() >= 8 && text.size() <= 14 && allDigits(text);
}

QString connectionRemadeNotice()
{
    return QStringLiteral("A conexão com o servidor foi perdida; ela foi refeita. Digite de novo.");
}

QString reload(TDM &dm, Column column, const QString &text)
{
    return reload(dm, column, text, {}).notice;
}

Reread reload(TDM &dm, Column column, const QString &text, const std::function<bool()> &keepGoing)
{
    ClientDataSet &list = *dm.TabRev1;
    // Reading again drops a row not yet stored: what was typed into it goes first.
    if (list.Active() && (list.state() == ClientDataSet::State::Edit || list.state() == ClientDataSet::State::Insert))
        list.Post();
    const QString wasOn = list.Active() && list.RecNo() > 0 ? list.FieldByName(Codigo).AsString() : QString();

    // The rows read replace the list only once all have come: a read abandoned
    // for a newer text, or broken off by the server, leaves the list shown and
    // its order as they were.
    SqlDataSet &select = *dm.SQLDS_TabRev1;
    const QString previous = select.CommandText();
    select.setCommandText(statementFor(column));
    Reread outcome;
    try {
        try {
            outcome.done = list.Reopen(keepGoing);
        } catch (const DatabaseError &error) {
            if (!isConnectionFailure(error))
                throw;
            // The failure dropped the dead connection; the next statement opens
            // a new one, and a server that came back answers it.
            outcome.done = list.Reopen(keepGoing);
            outcome.notice = connectionRemadeNotice();
        }
    } catch (const DatabaseError &error) {
        select.setCommandText(previous);
        if (!isConnectionFailure(error))
            throw;
        return {false, QStringLiteral("A conexão com o servidor foi perdida e ainda não voltou (%1). "
                                      "A lista mostrada é a de antes; digite de novo.")
                           .arg(error.message())};
    } catch (...) {
        select.setCommandText(previous);
        throw;
    }
    if (!outcome.done) {
        select.setCommandText(previous);
        return outcome;
    }
    const QString notFound = locate(dm, column, text);
    if (!notFound.isEmpty() && !wasOn.isEmpty()) {
        const int row = firstRow(list, Codigo, [&](const QString &code) { return code == wasOn; });
        if (row >= 0)
            goToRow(list, row);
    }
    if (outcome.notice.isEmpty())
        outcome.notice = notFound;
    return outcome;
}

QString locate(TDM &dm, Column column, const QString &text)
{
    ClientDataSet &list = *dm.TabRev1;
    if (list.IsEmpty())
        return QString();
    if (text.isEmpty()) {
        list.First();
        return QString();
    }
    const int row = column == Column::Codigo ? rowOfCode(list, text) : rowBeginningWith(list, columnName(column), text);
    if (row < 0) {
        return column == Column::Codigo ? QStringLiteral("Nenhum produto tem o código ou EAN \"%1\"").arg(text)
                                        : QStringLiteral("Nenhum produto começa com \"%1\"").arg(text);
    }
    goToRow(list, row);
    return QString();
}

} // namespace ProductSearch
