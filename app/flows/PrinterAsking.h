#pragma once

#include "PrinterQueueCheck.h"

#include <QObject>

#include <memory>

class PrintScreen;
struct PrintRun;

// The scheduler is being asked about the station's queue: the waiting panel
// says so with "Cancelar", and the window goes on answering. Ending it
// (answer, cancel, flow gone) lets the print go on or end.
class PrinterAsking : public QObject
{
public:
    PrinterAsking(PrintScreen &screen, std::shared_ptr<PrintRun> run);
    ~PrinterAsking() override;

    std::shared_ptr<PrintRun> run;
    PrinterQueueCheck &check() { return *m_check; }

private:
    PrintScreen &m_screen;
    std::unique_ptr<PrinterQueueCheck> m_check;
};
