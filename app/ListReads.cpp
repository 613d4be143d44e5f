#include "ListReads.h"

#include "Guarded.h"
#include "ProductSearch.h"
#include "TDM.h"


ListReads::ListReads(TDM &dm, QObject *parent) : QObject(parent), m_dm(dm)
{
    connect(&m_reader, &BackgroundRead::finished, this, &ListReads::finished);
}

ListReads::~ListReads() = default;

void ListReads::read(const QString &statement, Then then)
{
    // The read under way fetches the same rows: its answer serves the newer
    // request too, which only finds its own row in them.
    if (m_running != 0 && statement == m_statement) {
        if (then)
            m_then = std::move(then);
        return;
    }
    start(statement, std::move(then), false);
}

void ListReads::open(const QString &statement, Then then)
{
    start(statement, std::move(then), true);
}

void ListReads::cancel()
{
    if (m_running == 0)
        return;
    m_reader.cancel();
    m_running = 0;
    m_then = Then();
    m_after.clear();
    announce();
    emit settled();
}

void ListReads::announce()
{
    const bool reading = m_running != 0;
    if (reading != m_announced) {
        m_announced = reading;
        emit readingChanged(reading);
    }
}

void ListReads::start(const QString &statement, Then then, bool opening)
{
    m_then = std::move(then);
    m_statement = statement;
    m_opening = opening;
    BackgroundRead::Request request;
    request.database = m_dm.SQLConnection1->DataBase();
    request.statement = statement;
    request.defs = m_dm.TabRev1->fieldDefs();
    request.stamped = m_dm.DSP_TabRev1->versionStamped();
    request.versionColumn = m_dm.DSP_TabRev1->versionColumn();
    if (const Field *quantity = m_dm.TabRev1->FindField(QStringLiteral("QDE"))) {
        request.summary = [column = quantity->Index()](const ClientDataSet::ReadyRows &rows) {
            return QVariant::fromValue(ListTotals::of(rows, column));
        };
    }
    if (m_dm.SQLDS_TabRev1->CommandText() == statement)
        request.stampInHand = m_dm.TabRev1->currentStamp();
    m_running = m_reader.read(request);
    announce();
}

void ListReads::reread()
{
    // A read in another order is under way: it may have begun before what is
    // to be read back was stored, so this one follows it.
    if (m_running != 0 && m_statement != m_dm.SQLDS_TabRev1->CommandText()) {
        m_after.push_back([this] { reread(); });
        return;
    }
    // Without an answer of its own the rows keep the cursor on its product.
    read(m_dm.SQLDS_TabRev1->CommandText(), nullptr);
}

std::optional<ListTotals> ListReads::totals() const
{
    if (!m_totals || !m_dm.TabRev1->Active() || m_dm.TabRev1->revision() != m_totalsRevision)
        return std::nullopt;
    return m_totals;
}

void ListReads::afterReads(std::function<void()> action)
{
    if (m_running == 0 && !m_goingOn) {
        action();
        return;
    }
    m_after.push_back(std::move(action));
}

QString ListReads::failureText(const BackgroundRead::Result &result, bool listShown)
{
    if (!result.failed)
        return QString();
    // The driver's own words are for the log, not for the clerk.
    if (result.connectionLost && !listShown)
        return QStringLiteral("A conexão com o servidor foi perdida e ainda não voltou. A lista não foi aberta; tente de "
                              "novo em instantes.");
    if (result.connectionLost)
        return QStringLiteral("A conexão com o servidor foi perdida e ainda não voltou. A lista mostrada é a de antes; "
                              "tente de novo em instantes.");
    return QStringLiteral("A lista não pôde ser lida: %1").arg(result.error);
}

void ListReads::finished(const std::shared_ptr<BackgroundRead::Result> &result)
{
    if (result->id != m_running)
        return;
    m_running = 0;
    Then then = std::exchange(m_then, Then());
    // The list was closed while its rows were on their way: they open nothing.
    if (!m_opening && !m_dm.TabRev1->Active()) {
        m_reader.dispose(std::move(result->rows));
        m_after.clear();
    } else {
        guarded([&] { install(*result, then); });
    }
    goOn();
}

void ListReads::install(BackgroundRead::Result &result, const Then &then)
{
    if (!result.failed) {
        ClientDataSet &list = *m_dm.TabRev1;
        const bool keepPlace = !then && list.Active() && list.RecNo() > 0;
        const QString wasOn = keepPlace ? list.FieldByName(QStringLiteral("CODIGO")).AsString() : QString();
        m_dm.SQLDS_TabRev1->setCommandText(m_statement);
        m_reader.dispose(list.installRead(std::move(result.rows), result.stamp, result.unchanged));
        if (!result.unchanged) {
            m_totals.reset();
            if (result.summary.canConvert<ListTotals>())
                m_totals = result.summary.value<ListTotals>();
            m_totalsRevision = list.revision();
        }
        if (keepPlace)
            list.FindKey({wasOn});
    }
    if (then)
        then(result);
}

// Once the rows are in, the actions that waited for them go, in order;
// either may start another read, and what is left then waits for that one.
void ListReads::goOn()
{
    if (m_goingOn)
        return;
    m_goingOn = true;
    while (m_running == 0 && !m_after.empty()) {
        std::function<void()> action = std::move(m_after.front());
        m_after.pop_front();
        action();
    }
    m_goingOn = false;
    announce();
    if (m_running == 0 && m_after.empty())
        emit settled();
}
