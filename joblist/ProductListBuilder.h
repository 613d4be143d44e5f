#pragma once

#include <QElapsedTimer>
#include <QStringList>

class SuiteJob;
class TDM;

// What a list build shows while it runs: the build log and the loading bar of
// the main window, and a chance for the window to process its events while it
// runs. Every hook does nothing by default. The log lines written since the
// window last breathed come in one logAppend call, separated by line feeds: a
// memo takes them many times faster than one by one.
class ListBuildDisplay
{
public:
    virtual ~ListBuildDisplay() = default;
    virtual void logClear() {}
    virtual void logAppend(const QString &) {}
    virtual void loadingBegin(int /*maximum*/) {}
    virtual void loadingSetValue(int /*value*/) {}
    virtual void loadingEnd() {}
    virtual void processEvents() {}
    // Asked right after the window breathed: true stops the build, which then
    // leaves the previous list as it was.
    virtual bool cancelRequested() { return false; }
};

// Fills TABREV1 with one row per resale product (COMPONEN rows of GRUPO "REV",
// by name then code) and reads the list back ordered the same way. Each row is
// written to the database as it is posted, inside the job's one transaction; a
// row the database refuses (two products whose codes agree in their first 13
// characters) is undone by Firebird alone, reported in the log, and the next
// product takes its place. The new list reaches the other stations whole, when
// the build commits; a build that fails or is cancelled leaves the previous list
// exactly as it was.
class ProductListBuilder
{
public:
    ProductListBuilder(TDM &dm, ListBuildDisplay &display) : m_dm(dm), m_display(display) {}

    // Within `job` (whose lock the caller holds): empties TABREV1, stores the
    // products, commits, and leaves TabRev1 open on its first row. On failure or
    // cancel the error's text ends in "A lista anterior foi mantida.".
    void run(SuiteJob &job);

    int productsRead() const { return m_productsRead; }
    int rowsRefused() const { return m_rowsRefused; }

    static QString listStatement(); // the order the build leaves the list in

private:
    void startList();
    void readProducts();
    void storeProducts();
    struct Columns;
    void storeProduct(const Columns &columns, const QString &nome);
    void readListBack();
    void log(const QString &line) { m_logLines << line; }
    void flushLog();
    void breathe();

    TDM &m_dm;
    ListBuildDisplay &m_display;
    int m_productsRead = 0;
    int m_rowsRefused = 0;
    QStringList m_logLines; // written since the window last breathed
    QElapsedTimer m_sinceBreath;
    static constexpr int kBreathMs = 25;
};
