#include "ListFlow.h"

#include "Counter.h"
#include "CurrentModel.h"
#include "DatabaseErrors.h"
#include "Guarded.h"
#include "JobWorker.h"
#include "ListReads.h"
#include "ListScreen.h"
#include "ListTotals.h"
#include "ListWrites.h"
#include "LostConnection.h"
#include "Messages.h"
#include "ModelLookup.h"
#include "ProductListBuilder.h"
#include "TDM.h"

#include <QComboBox>
#include <QPointer>
#include <QTimer>

ListFlow::ListFlow(ListScreen &screen, Parts parts, QObject *parent)
    : QObject(parent), m_screen(screen), m_dm(parts.dm), m_counter(parts.counter), m_reads(parts.reads),
      m_writes(parts.writes), m_modelBox(parts.modelBox), m_build(screen, parts.dm, parts.counter, parts.worker)
{
    connect(&m_reads, &ListReads::readingChanged, &m_counter,
            [counter = &m_counter](bool reading) { counter->setBusy(Counter::Activity::ListRead, reading); });
    // A quantity stored outside a job is stored and read back off the window's thread.
    m_dm.TabRev1Reread = [reads = QPointer<ListReads>(&m_reads)] {
        if (reads)
            reads->reread();
    };
    m_dm.TabRev1Write = [writes = QPointer<ListWrites>(&m_writes)] {
        if (writes)
            writes->store();
    };
    connect(&m_writes, &ListWrites::writingChanged, &m_counter,
            [counter = &m_counter](bool writing) { counter->setBusy(Counter::Activity::QuantityWrite, writing); });
    connect(&m_writes, &ListWrites::refused, this,
            [this](const QString &codigo, const QString &produto, const QString &quantidade) {
                guarded([&] {
                    if (m_dm.TabRev1->Active())
                        tellRefusedQuantity({codigo, produto, quantidade});
                });
            });
    connect(&m_writes, &ListWrites::failed, this, [](const QString &message) { Messages::show(message); });
}

ListFlow::~ListFlow() = default;

// ---- build, reopen, close ----

void ListFlow::build()
{
    guarded([this] {
        if (m_build.busy())
            return;
        // A reopen still reading gives way: the list shown next is the build's.
        m_reads.cancel();
        m_build.start([this](const std::shared_ptr<ListBuildRun> &run) { listBuilt(run); });
    });
}

// The new list, read off the window's thread like every read of it, is shown
// once the build's controls are back.
void ListFlow::listBuilt(const std::shared_ptr<ListBuildRun> &run)
{
    m_reads.open(ProductListBuilder::listStatement(), [this, run](const BackgroundRead::Result &read) {
        run->end();
        if (read.failed) {
            Messages::show(QStringLiteral("A lista nova foi montada, mas não pôde ser aberta: %1")
                               .arg(ListReads::failureText(read, false)));
            return;
        }
        guarded([this] {
            m_dm.TabRev1->First();
            m_screen.showListPanel();
            // The window's own attachment was dropped while the build ran on
            // its own (a server restarted): the next statement makes it
            // again, and the models are read once more.
            LostConnection::retried(
                LostConnection::Commit::WrittenOnce, [this](int) { reselectModel(); }, [](const DatabaseError &) {});
            listShown();
            updateTotals();
        });
    });
}

void ListFlow::reopen()
{
    guarded([this] {
        if (!postListEdit())
            return;
        m_reads.open(m_dm.SQLDS_TabRev1->CommandText(), [this](const BackgroundRead::Result &read) {
            if (read.failed) {
                Messages::show(ListReads::failureText(read, false));
                return;
            }
            m_dm.TabRev1->First();
            m_screen.showListPanel();
            reselectModel();
            listShown();
            if (read.reconnected)
                m_screen.showSearchLine(ProductSearch::connectionRemadeNotice());
            updateTotals();
        });
    });
}

// A list just shown starts with no search message and no print line of an
// earlier list, and with the focus where the selection shows.
void ListFlow::listShown()
{
    m_screen.showSearchLine(QString());
    m_screen.showPrintLine(QString());
    m_screen.focusGridQuantity();
}

void ListFlow::closeList()
{
    guarded([this] {
        if (!postListEdit())
            return;
        if (m_writes.writing()) {
            m_counter.afterHeld([this] {
                if (!m_writes.lastFailed())
                    closeList();
            });
            return;
        }
        // Rows still on their way are of a list no longer shown.
        m_reads.cancel();
        m_dm.TabRev1->Close();
        m_screen.hideListPanel();
    });
}

bool ListFlow::windowMayClose(std::function<void()> closeAgain)
{
    bool stored = false;
    guarded([this, &stored] { stored = postListEdit(); });
    if (stored && m_writes.writing()) {
        m_counter.afterHeld([this, closeAgain] {
            if (m_writes.lastFailed() && !m_closeRefused)
                m_closeRefused = true;
            else
                closeAgain();
        });
        return false;
    }
    if (!stored && !m_closeRefused) {
        m_closeRefused = true;
        return false;
    }
    return true;
}

// ---- search ----

void ListFlow::searchChanged(ProductSearch::Column column)
{
    guarded([this, column] {
        if (!postListEdit())
            return;
        ClientDataSet &list = *m_dm.TabRev1;
        const QString wasOn = list.Active() && list.RecNo() > 0 ? list.FieldByName(QStringLiteral("CODIGO")).AsString() : QString();
        m_reads.read(ProductSearch::statementFor(column), [this, column, wasOn](const BackgroundRead::Result &read) {
            if (read.failed) {
                m_screen.showSearchLine(ListReads::failureText(read));
                return;
            }
            // The row for the box's text as it stands now, typed meanwhile or not.
            const QString line = ProductSearch::placeCursor(m_dm, column, m_screen.searchText(column), wasOn);
            m_screen.showSearchLine(read.reconnected ? ProductSearch::connectionRemadeNotice() : line);
        });
    });
}

void ListFlow::searchEnter(ProductSearch::Column column)
{
    guarded([this, column] {
        const QString text = m_screen.searchText(column);
        if (text.isEmpty()) {
            Messages::show(ProductSearch::emptyBoxMessage(column));
            return;
        }
        bool found = false;
        m_screen.showSearchLine(ProductSearch::locate(m_dm, column, text.left(ProductSearch::kEnterLength), &found));
        // Nothing found: the clerk stays in the box to correct the text, and
        // no quantity can land on the wrong product.
        if (found)
            m_screen.focusGridQuantity();
    });
}

// ---- the current model ----

void ListFlow::chooseModel(int index)
{
    guarded([this] { postListEdit(); });
    guarded([this, index] {
        if (auto *lookup = m_modelBox.findChild<ModelLookup *>(QString(), Qt::FindDirectChildrenOnly))
            lookup->choose(index);
    });
}

void ListFlow::reselectModel()
{
    // The box becomes the current-model lookup the first time the list shows.
    if (!m_modelBox.findChild<ModelLookup *>(QString(), Qt::FindDirectChildrenOnly))
        new ModelLookup(&m_dm, &m_modelBox);
    CurrentModel::reselect(m_dm, &m_modelBox);
}

// ---- totals ----

void ListFlow::scheduleTotals()
{
    // Counted once the burst of changes is over: a post re-reads the list.
    if (m_totalsPending)
        return;
    m_totalsPending = true;
    QTimer::singleShot(0, this, &ListFlow::updateTotals);
}

void ListFlow::updateTotals()
{
    m_totalsPending = false;
    // A build posts thousands of rows while the panel is hidden; they are
    // counted once, when the list shows.
    if (!m_screen.listPanelShown() || !m_screen.mainActionsEnabled())
        return;
    try {
        // Rows just read were counted by the thread that read them.
        const std::optional<ListTotals> read = m_reads.totals();
        m_screen.showTotals(m_dm.TabRev1->Active() ? (read ? *read : ListTotals::of(*m_dm.TabRev1)).text() : QString());
    } catch (...) {
        // Only a count on the screen: the next operation reports a database that fails.
    }
}
