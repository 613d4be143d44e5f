#include "PrintJobProgress.h"

#include "PrintScreen.h"

namespace {

constexpr int kShownEveryMs = 40;

} // namespace

void PrintJobProgress::jobBegin(int rows)
{
    m_sinceShown.start();
    m_context.toWindow([screen = m_screen, rows] { screen->progressBegin(rows); });
    m_context.step(0);
}

void PrintJobProgress::labelStarted(const QString &productName)
{
    m_product = productName;
    show(false);
}

void PrintJobProgress::rowDone(int rowsDone)
{
    m_rowsDone = rowsDone;
    show(false);
    m_context.step(rowsDone);
}

void PrintJobProgress::jobEnd()
{
    show(true);
    m_context.toWindow([screen = m_screen] { screen->progressEnd(); });
}

void PrintJobProgress::show(bool last)
{
    if ((!last && m_sinceShown.elapsed() < kShownEveryMs) || (m_product == m_shownProduct && m_rowsDone == m_shownRows))
        return;
    m_sinceShown.restart();
    m_shownProduct = m_product;
    m_shownRows = m_rowsDone;
    m_context.toWindow([screen = m_screen, product = m_product, rows = m_rowsDone] { screen->progressAt(product, rows); });
}
