#include "ListReads.h"

#include "Guarded.h"
#include "ProductSearch.h"
#include "TDM.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>

namespace {

bool isInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
        return true;
    default:
        return false;
    }
}

bool isKey(QEvent::Type type)
{
    return type == QEvent::KeyPress || type == QEvent::KeyRelease;
}

} // namespace

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
    m_then = std::move(then);
    m_statement = statement;
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
    if (m_running == 0 && m_held.empty() && !m_goingOn) {
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
    guarded([&] {
        if (!result->failed) {
            ClientDataSet &list = *m_dm.TabRev1;
            const bool keepPlace = !then && list.Active() && list.RecNo() > 0;
            const QString wasOn = keepPlace ? list.FieldByName(QStringLiteral("CODIGO")).AsString() : QString();
            m_dm.SQLDS_TabRev1->setCommandText(m_statement);
            m_reader.dispose(list.installRead(std::move(result->rows), result->stamp, result->unchanged));
            if (!result->unchanged) {
                m_totals.reset();
                if (result->summary.canConvert<ListTotals>())
                    m_totals = result->summary.value<ListTotals>();
                m_totalsRevision = list.revision();
            }
            if (keepPlace)
                list.FindKey({wasOn});
        }
        if (then)
            then(*result);
    });
    goOn();
}

// Once the rows are in, what waited for them goes, in order: held input
// first, then the actions that write. Either may start another read; what is
// left then waits for that one.
void ListReads::goOn()
{
    if (m_goingOn)
        return;
    m_goingOn = true;
    while (m_running == 0 && (!m_held.empty() || !m_after.empty())) {
        if (!m_held.empty()) {
            Held next = std::move(m_held.front());
            m_held.pop_front();
            QObject *to = next.receiver;
            // A key goes where the window's focus is now, as it would had it
            // waited its turn, whichever window is active meanwhile.
            if (auto *widget = qobject_cast<QWidget *>(to); widget && isKey(next.event->type())) {
                if (QWidget *focus = widget->window()->focusWidget())
                    to = focus;
            }
            if (to)
                QCoreApplication::sendEvent(to, next.event.get());
            continue;
        }
        std::function<void()> action = std::move(m_after.front());
        m_after.pop_front();
        action();
    }
    m_goingOn = false;
    if (m_running == 0 && m_held.empty() && m_after.empty())
        emit settled();
}

void ListReads::holdInputOf(QWidget *widget)
{
    widget->installEventFilter(this);
}

// A key that only changes the text of a search box: printable characters,
// Backspace and Delete, without Control or Alt.
bool ListReads::editsTheBox(QObject *receiver, const QEvent *event) const
{
    if (!isKey(event->type()) || !qobject_cast<QLineEdit *>(receiver))
        return false;
    const auto *key = static_cast<const QKeyEvent *>(event);
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    if (key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Delete)
        return true;
    const QString text = key->text();
    return !text.isEmpty() && text.at(0).unicode() >= 0x20 && text.at(0).unicode() != 0x7f;
}

bool ListReads::eventFilter(QObject *watched, QEvent *event)
{
    // The grid's editors come and go: each is watched like the grid.
    if (event->type() == QEvent::ChildAdded) {
        if (QObject *child = static_cast<QChildEvent *>(event)->child(); child && child->isWidgetType())
            child->installEventFilter(this);
        return false;
    }
    if (!isInput(event->type()) || (m_running == 0 && m_held.empty()) || m_goingOn)
        return false;
    // Once one input waits, every later one waits behind it, so they keep their order.
    if (m_held.empty() && editsTheBox(watched, event))
        return false;
    m_held.push_back({watched, std::unique_ptr<QEvent>(event->clone())});
    return true;
}
