#pragma once

#include "JobProgress.h"
#include "JobWorker.h"

#include <QElapsedTimer>
#include <QString>

class PrintScreen;

// The job's progress, sent from the worker to the window's progress panel.
// A few dozen pictures a second are all the eye takes: more would only fill
// the window's queue. "Cancelar" and Escape reach the job as the worker's flag.
class PrintJobProgress : public JobProgress
{
public:
    PrintJobProgress(JobWorker::Context &context, PrintScreen *screen) : m_context(context), m_screen(screen) {}

    void jobBegin(int rows) override;
    void labelStarted(const QString &productName) override;
    void rowDone(int rowsDone) override;
    void jobEnd() override;
    bool cancelRequested() override { return m_context.cancelled(); }

private:
    void show(bool last);

    JobWorker::Context &m_context;
    PrintScreen *m_screen;
    QElapsedTimer m_sinceShown;
    QString m_product, m_shownProduct;
    int m_rowsDone = 0, m_shownRows = 0;
};
