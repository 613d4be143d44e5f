#pragma once

#include <QElapsedTimer>
#include <QStringList>

class SuiteJob;
class TDM;

// What a list build shows while it runs: the build log and the loading bar of
// the main window. Every hook does nothing by default. The log lines written
// since the build last reported come in one logAppend call, separated by line
// feeds: a memo takes them many times faster than one by one, and a build on a
// worker sends the window a few dozen calls a second instead of thousands.
class ListBuildDisplay
{
public:
    virtual ~ListBuildDisplay() = default;
    virtual void logClear() {}
    virtual void logAppend(const QString &) {}
    virtual void loadingBegin(int /*maximum*/) {}
    virtual void loadingSetValue(int /*value*/) {}
    virtual void loadingEnd() {}
    // Asked right after each report: true stops the build, which then leaves
    // the previous list as it was.
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
    // products, commits, and with ReadBack::Yes leaves TabRev1 open on its first
    // row (No: closed, for a caller that reads the list elsewhere). On failure
    // or cancel the error's text ends in "A lista anterior foi mantida.".
    enum class ReadBack { Yes, No };
    void run(SuiteJob &job, ReadBack readBack = ReadBack::Yes);

    int productsRead() const { return m_productsRead; }
    int rowsRefused() const { return m_rowsRefused; }
    int rowsStored() const { return m_rowsStored; } // taken by the database, not yet committed

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
    void report();

    TDM &m_dm;
    ListBuildDisplay &m_display;
    int m_productsRead = 0;
    int m_rowsRefused = 0;
    int m_rowsStored = 0;
    QStringList m_logLines; // written since the last report
    QElapsedTimer m_sinceReport;
    static constexpr int kReportMs = 25;
};
