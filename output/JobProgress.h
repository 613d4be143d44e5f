#pragma once

#include <QString>

// What the label job expansion shows while it runs. In the program this is the
// window's progress panel (Painel1 with the pie gauge Pizza and the caption
// LabelArq), reached by queued calls from the worker that runs the job.
class JobProgress
{
public:
    virtual ~JobProgress() = default;

    // The panel appears with its gauge at 0 of `rows` (the rows of the product list).
    virtual void jobBegin(int rows) = 0;
    // A label of this product is about to be written.
    virtual void labelStarted(const QString &productName) = 0;
    // `rowsDone` rows of the product list are expanded, with or without labels.
    virtual void rowDone(int rowsDone) = 0;
    // The job is committed; reading it back comes next.
    virtual void jobCommitted() {}
    // The panel goes away, whether the job ended well or not.
    virtual void jobEnd() = 0;
    // Called a few dozen times a second: true when the user asked the job to
    // stop ("Cancelar", Escape), which then leaves the previous one as it was.
    virtual bool cancelRequested() { return false; }
};

// For callers with nothing to show (benchmarks, tools).
class NoJobProgress : public JobProgress
{
public:
    void jobBegin(int) override {}
    void labelStarted(const QString &) override {}
    void rowDone(int) override {}
    void jobEnd() override {}
};
