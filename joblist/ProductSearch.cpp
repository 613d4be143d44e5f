#include "ProductSearch.h"

#include "ListStatements.h"
#include "SelvarError.h"
#include "TDM.h"

#include <QStringList>

#include <functional>
#include <vector>

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

struct Hit
{
    int row = -1;
    QString note; // a code that means more than one product says so
};

// "O EAN 7891000315507 é de 2 produtos: Creme A (100), Creme B (200)"
QString sharedEanNote(ClientDataSet &list, const QString &scanned, const std::vector<int> &rows)
{
    const int name = list.FieldByName(QStringLiteral("COMPONENTE")).Index();
    const int code = list.FieldByName(Codigo).Index();
    // One line under the search boxes holds them: long names give way, the codes stay.
    constexpr int kNameLength = 16;
    QStringList products;
    for (const int row : rows) {
        QString product = list.valueAt(row, name).toString();
        if (product.size() > kNameLength)
            product = product.left(kNameLength - 1).trimmed() + QChar(0x2026);
        products << QStringLiteral("%1 (%2)").arg(product, list.valueAt(row, code).toString());
    }
    return QStringLiteral("O EAN %1 é de %2 produtos: %3").arg(scanned).arg(rows.size()).arg(products.join(QStringLiteral(", ")));
}

std::vector<int> rowsWithEan(ClientDataSet &list, const QString &text)
{
    std::vector<int> rows;
    if (!looksLikeEan(text))
        return rows;
    const int index = list.FieldByName(CodigoEan).Index();
    const int count = list.RecordCount();
    for (int row = 0; row < count; ++row) {
        if (sameGtin(text, list.valueAt(row, index).toString()))
            rows.push_back(row);
    }
    return rows;
}

// A clerk may type the internal code, a scanner sends the EAN. A code that
// is some product's CODIGO is that product, even when its digits with the
// leading zeros dropped are another's EAN; then the EAN; then the first code
// that begins with the text. While the digits of an EAN arrive no code begins
// with them, and the cursor waits.
Hit rowOfCode(ClientDataSet &list, const QString &text)
{
    const int exact = firstRow(list, Codigo, [&](const QString &code) { return code == text; });
    if (exact >= 0)
        return {exact, QString()};
    const std::vector<int> byEan = rowsWithEan(list, text);
    if (!byEan.empty())
        return {byEan.front(), byEan.size() > 1 ? sharedEanNote(list, text, byEan) : QString()};
    return {rowBeginningWith(list, Codigo, text), QString()};
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

bool isProductEan(ClientDataSet &list, const QString &text)
{
    return list.Active() && !rowsWithEan(list, text).empty();
}

QString connectionRemadeNotice()
{
    return QStringLiteral("A conexão com o servidor foi perdida; ela foi refeita. Digite de novo.");
}

QString reload(TDM &dm, Column column, const QString &text)
{
    ClientDataSet &list = *dm.TabRev1;
    // Reading again drops a row not yet stored: what was typed into it goes first.
    if (list.Active() && (list.state() == ClientDataSet::State::Edit || list.state() == ClientDataSet::State::Insert))
        list.Post();
    const QString wasOn = list.Active() && list.RecNo() > 0 ? list.FieldByName(Codigo).AsString() : QString();
    SqlDataSet &select = *dm.SQLDS_TabRev1;
    const QString previous = select.CommandText();
    select.setCommandText(statementFor(column));
    try {
        list.Reopen();
    } catch (...) {
        select.setCommandText(previous);
        throw;
    }
    return placeCursor(dm, column, text, wasOn);
}

QString placeCursor(TDM &dm, Column column, const QString &text, const QString &wasOn)
{
    ClientDataSet &list = *dm.TabRev1;
    bool found = false;
    const QString line = locate(dm, column, text, &found);
    if (!found && !wasOn.isEmpty()) {
        const int row = firstRow(list, Codigo, [&](const QString &code) { return code == wasOn; });
        if (row >= 0)
            goToRow(list, row);
    }
    return line;
}

QString locate(TDM &dm, Column column, const QString &text, bool *found)
{
    ClientDataSet &list = *dm.TabRev1;
    if (found)
        *found = true;
    if (list.IsEmpty())
        return QString();
    if (text.isEmpty()) {
        list.First();
        return QString();
    }
    const Hit hit = column == Column::Codigo ? rowOfCode(list, text)
                                             : Hit{rowBeginningWith(list, columnName(column), text), QString()};
    if (hit.row < 0) {
        if (found)
            *found = false;
        return column == Column::Codigo ? QStringLiteral("Nenhum produto tem o código ou EAN \"%1\"").arg(text)
                                        : QStringLiteral("Nenhum produto começa com \"%1\"").arg(text);
    }
    goToRow(list, hit.row);
    return hit.note;
}

} // namespace ProductSearch
