#pragma once

#include "PrintOutcome.h"

class ClientDataSet;
class PrintScreen;
class QWidget;
class ThermalOutput;
struct PreviewStock;
struct PrintJob;

// Thermal labels: the fixed three-across EPL2 layout, and every thermal job
// (fixed or from a report) offered for preview or print, then queued for the
// printer through the screen's hand-over.
class ThermalJobOutput
{
public:
    ThermalJobOutput(PrintScreen &screen, QWidget *dialogOwner) : m_screen(screen), m_dialogOwner(dialogOwner) {}

    // The job in `labelJob` (TABREV2) on the stock the model's description names.
    PrintOutcome printFixed(const ThermalOutput &thermal, ClientDataSet &labelJob, const QString &modelDescription);
    PrintOutcome print(PrintJob job, int dpi, const PreviewStock &stock);

private:
    PrintScreen &m_screen;
    QWidget *m_dialogOwner;
};
