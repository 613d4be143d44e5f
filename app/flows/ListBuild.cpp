#include "ListBuild.h"

#include "BrLocale.h"
#include "Counter.h"
#include "Guarded.h"
#include "JobWorker.h"
#include "ListBuildJob.h"
#include "ListScreen.h"
#include "Messages.h"
#include "ProductListBuilder.h"
#include "RunValues.h"
#include "TDM.h"

#include <utility>

namespace {

// The build's log lines and progress, sent from the worker to the window's
// log and loading bar; "Cancelar" and Escape reach it as the worker's flag.
class WorkerBuildDisplay : public ListBuildDisplay
{
public:
    WorkerBuildDisplay(JobWorker::Context &context, ListScreen *screen) : m_context(context), m_screen(screen) {}
    void logClear() override { send([](ListScreen &s) { s.buildLogClear(); }); }
    void logAppend(const QString &lines) override { send([lines](ListScreen &s) { s.buildLogAppend(lines); }); }
    void loadingBegin(int maximum) override
    {
        send([maximum](ListScreen &s) { s.loadingBegin(maximum); });
        m_context.step(0);
    }
    void loadingSetValue(int value) override
    {
        send([value](ListScreen &s) { s.loadingSetValue(value); });
        m_context.step(value);
    }
    void loadingEnd() override { send([](ListScreen &s) { s.loadingEnd(); }); }
    bool cancelRequested() override { return m_context.cancelled(); }

private:
    void send(std::function<void(ListScreen &)> call)
    {
        ListScreen *screen = m_screen;
        m_context.toWindow([screen, call] { call(*screen); });
    }

    JobWorker::Context &m_context;
    ListScreen *m_screen;
};

// A build empties TABREV1 for every station: quantities typed into it, here
// or at another counter, go only when the clerk says so, counted as they
// stand in the database now. typed: the count the clerk agreed to erase.
bool mayEraseTypedQuantities(const ListTotals &typed)
{
    if (typed.labels <= 0)
        return true;
    const QString labels = BrLocale::formatDecimalText(QString::number(typed.labels), QStringLiteral("#,##0"));
    return Messages::ask(QStringLiteral("A lista tem %1 %2 em %3 %4. Montar a lista de novo apaga essas quantidades, "
                                        "também nas outras estações. Continuar?")
                             .arg(labels, typed.labels == 1 ? QStringLiteral("etiqueta digitada") : QStringLiteral("etiquetas digitadas"))
                             .arg(typed.products)
                             .arg(typed.products == 1 ? QStringLiteral("produto") : QStringLiteral("produtos")));
}

} // namespace

ListBuildRun::ListBuildRun(ListScreen &screen, Counter &counter) : m_screen(screen), m_counter(counter)
{
    m_counter.setBusy(Counter::Activity::Build, true);
    m_screen.setMainActionsEnabled(false);
    m_screen.setJobRunning(true);
}

ListBuildRun::~ListBuildRun()
{
    end();
}

void ListBuildRun::waiting(const QString &text, int seconds)
{
    m_waiting = true;
    m_screen.waitingInLine(text, seconds);
}

void ListBuildRun::waitEnded()
{
    if (std::exchange(m_waiting, false))
        m_screen.waitEnded();
}

void ListBuildRun::end()
{
    waitEnded();
    if (!std::exchange(m_building, false))
        return;
    // Lines still waiting: few by now, the list having been read meanwhile.
    m_screen.buildLogFlush();
    m_screen.loadingEnd();
    m_screen.setJobRunning(false);
    m_screen.setMainActionsEnabled(true);
    m_counter.setBusy(Counter::Activity::Build, false);
}

ListBuild::ListBuild(ListScreen &screen, TDM &dm, Counter &counter, JobWorker &worker)
    : m_screen(screen), m_dm(dm), m_counter(counter), m_worker(worker)
{
}

bool ListBuild::busy() const
{
    return m_worker.busy();
}

void ListBuild::start(Built built)
{
    run(std::make_shared<ListBuildRun>(m_screen, m_counter), std::nullopt, std::move(built));
}

void ListBuild::run(std::shared_ptr<ListBuildRun> run, std::optional<ListTotals> agreed, Built built)
{
    auto outcome = std::make_shared<ListBuildJob::Outcome>();
    JobWorker::Job job;
    job.database = m_dm.SQLConnection1->DataBase();
    job.work = [screen = &m_screen, outcome, agreed, station = RunValues::StationCode](JobWorker::Context &context) {
        WorkerBuildDisplay display(context, screen);
        *outcome = ListBuildJob::run(context.dm, station, agreed, context, display);
    };
    job.waiting = [run](const QString &text, int seconds) { run->waiting(text, seconds); };
    job.done = [this, run, outcome, built](std::exception_ptr failure) {
        run->waitEnded();
        const bool ok = guarded([&] {
            if (failure)
                std::rethrow_exception(failure);
        });
        if (!ok)
            return run->end();
        if (!outcome->needsConsent)
            return built(run);
        if (!mayEraseTypedQuantities(outcome->typed))
            return run->end();
        this->run(run, outcome->typed, built);
    };
    m_worker.run(std::move(job));
}
