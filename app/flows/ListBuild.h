#pragma once

#include "ListTotals.h"

#include <functional>
#include <memory>
#include <optional>

class Counter;
class JobWorker;
class ListScreen;
class TDM;

// One build from the click to the list shown. While it lives the main panel's
// actions are inactive and "Cancelar" with Escape reach the build, since the
// window answers meanwhile; they come back however the build ends. The
// waiting panel, while it waits in line, goes before the actions come back.
class ListBuildRun
{
public:
    ListBuildRun(ListScreen &screen, Counter &counter);
    ~ListBuildRun();
    ListBuildRun(const ListBuildRun &) = delete;
    ListBuildRun &operator=(const ListBuildRun &) = delete;

    void waiting(const QString &text, int seconds);
    void waitEnded();
    // The window is the clerk's again: the wait and the inactive actions end.
    void end();

private:
    ListScreen &m_screen;
    Counter &m_counter;
    bool m_building = true;
    bool m_waiting = false;
};

// "Códigos de Barras de Produtos Prontos" on the job worker: counted, waited
// for in line, counted again under the lock, built. Typed quantities nobody
// agreed to erase come back, the lock let go, and are asked about on the
// window's thread; a yes builds again with that count, so a count that grows
// while the clerk waits is asked again.
class ListBuild
{
public:
    // built: the new list is in TABREV1; the run ends once it is shown.
    using Built = std::function<void(const std::shared_ptr<ListBuildRun> &run)>;

    ListBuild(ListScreen &screen, TDM &dm, Counter &counter, JobWorker &worker);

    void start(Built built);
    // A build or a print is on the job worker.
    bool busy() const;

private:
    void run(std::shared_ptr<ListBuildRun> run, std::optional<ListTotals> agreed, Built built);

    ListScreen &m_screen;
    TDM &m_dm;
    Counter &m_counter;
    JobWorker &m_worker;
};
