#include "PrinterAsking.h"

#include "PrintScreen.h"

PrinterAsking::PrinterAsking(PrintScreen &screen, std::shared_ptr<PrintRun> run)
    : run(std::move(run)), m_screen(screen), m_check(std::make_unique<PrinterQueueCheck>())
{
    m_screen.waitShowing(QStringLiteral("Consultando a impressora…"));
}

PrinterAsking::~PrinterAsking()
{
    // The process ends before the panel goes.
    m_check.reset();
    m_screen.waitEnded();
}
