// Thermal labels: the fixed three-across EPL2 layout, and every thermal job
// (fixed or from a report) offered for preview or print, then queued for the
// printer.
#include "TFormSelvarra.h"

#include "LabelStock.h"
#include "PrintHandOver.h"
#include "PrintOutcome.h"
#include "ReportModal.h"
#include "TDM.h"
#include "ThermalOutput.h"
#include "ThermalPreviewDialog.h"
#include "ThermalPrintChoice.h"

#include <QComboBox>

namespace {

// The fixed layout is written for a 203 dpi head (x = 0, 285, 570 dots).
constexpr int FixedLayoutDpi = 203;

} // namespace

PrintOutcome TFormSelvarra::printFixedThermal(const ThermalOutput &thermal)
{
    // The stock is the model's own: "3,0 x 1,7" in its description, in
    // centimetres; the columns are where the files put them.
    return printThermalJob(thermal.plan(*DM->TabRev2), FixedLayoutDpi, PreviewStock{labelSizeFromDescription(DBLCB1->currentText()), {}});
}

PrintOutcome TFormSelvarra::printThermalJob(PrintJob job, int dpi, const PreviewStock &stock)
{
    // An empty job writes no file, with or without a preview.
    if (job.files.isEmpty())
        return PrintOutcome::thermalQueued(0);
    switch (ThermalPrintChoice::ask(int(job.files.size()), this)) {
    case ThermalPrintChoice::Cancelled:
        return PrintOutcome::cancelled();
    case ThermalPrintChoice::Preview: {
        // The preview images these very bytes; printing from it sends them.
        job.make();
        QList<QByteArray> files;
        for (const CommandFile &file : job.files)
            files.append(file.bytes);
        ThermalPreviewDialog preview(files, dpi, stock, this);
        if (ReportModal::exec(preview) != ThermalPreviewDialog::PrintRequested)
            return PrintOutcome::previewOnly();
        break;
    }
    case ThermalPrintChoice::Print:
        break;
    }
    // The queue hands the files over in the background and says, when it is
    // done, how many labels really went out.
    handOver(std::move(job));
    return PrintOutcome::handedOverLater();
}
