#include "CounterPolicy.h"

namespace CounterPolicy {

namespace {

Decision take()
{
    return {Verdict::Take, QString()};
}

Decision hold()
{
    return {Verdict::Hold, QString()};
}

Decision refuse(const QString &reason)
{
    return {Verdict::Refuse, reason};
}

// What the history's work on the list's quantities must not meet: the
// print would miss them, and a list closed meanwhile would be read open.
bool meetsHistoryWork(Input input)
{
    switch (input) {
    case Input::Print:
    case Input::CloseList:
    case Input::ModelBox:
    case Input::HistoryAction:
    case Input::Build:
    case Input::Reopen:
        return true;
    default:
        return false;
    }
}

} // namespace

Decision decide(Activities busy, bool holding, Input input)
{
    if (input == Input::Cancel)
        return take();
    // A job under way owns the list: nothing else may start, and the window
    // stays open until it has ended or been cancelled.
    if (busy.has(Activity::Build))
        return refuse(QStringLiteral("A lista está sendo montada; aguarde o fim ou pressione \"Cancelar\"."));
    if (busy.has(Activity::PrintJob))
        return refuse(QStringLiteral("As etiquetas estão sendo geradas; aguarde o fim ou pressione \"Cancelar\"."));
    if (busy.has(Activity::History) && meetsHistoryWork(input))
        return refuse(QStringLiteral("O histórico está gravando quantidades na lista; aguarde o fim ou pressione "
                                     "\"Cancelar\"."));
    const bool rowsPending = busy.has(Activity::ListRead) || busy.has(Activity::QuantityWrite);
    switch (input) {
    case Input::Build:
        // Its own list replaces whatever is being read: the read gives way.
        return take();
    case Input::SearchText:
        // The box shows what is typed at once; only the order of what waits
        // binds it, and a quantity on its way, whose rows its read would pass.
        return holding || busy.has(Activity::QuantityWrite) ? hold() : take();
    case Input::StartLabel:
        return holding ? hold() : take();
    case Input::CloseList:
    case Input::CloseWindow:
        // Closing needs no rows: the read under way gives way to it. Keys
        // typed before it, and a quantity on its way, go first.
        return holding || busy.has(Activity::QuantityWrite) ? hold() : take();
    default:
        return holding || rowsPending ? hold() : take();
    }
}

QString holdingText()
{
    return QStringLiteral("Lendo a lista…");
}

} // namespace CounterPolicy
