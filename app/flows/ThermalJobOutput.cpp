#include "ThermalJobOutput.h"

#include "LabelStock.h"
#include "PrintHandOver.h"
#include "PrintScreen.h"
#include "ReportModal.h"
#include "ThermalOutput.h"
#include "ThermalPreviewDialog.h"
#include "ThermalPrintChoice.h"

namespace {

// The fixed layout is written for a 203 dpi head (x = 0, 285, 570 dots).
constexpr int FixedLayoutDpi = 203;

} // namespace

PrintOutcome ThermalJobOutput::printFixed(const ThermalOutput &thermal, ClientDataSet &labelJob, const QString &modelDescription)
{
    // The stock is the model's own: "3,0 x 1,7" in its description, in
    // centimetres; the columns are where the files put them.
    return print(thermal.plan(labelJob), FixedLayoutDpi, PreviewStock{labelSizeFromDescription(modelDescription), {}});
}

PrintOutcome ThermalJobOutput::print(PrintJob job, int dpi, const PreviewStock &stock)
{
    // An empty job writes no file, with or without a preview.
    if (job.files.isEmpty())
        return PrintOutcome::thermalQueued(0);
    switch (ThermalPrintChoice::ask(int(job.files.size()), m_dialogOwner)) {
    case ThermalPrintChoice::Cancelled:
        return PrintOutcome::cancelled();
    case ThermalPrintChoice::Preview: {
        // The preview images these very bytes; printing from it sends them.
        job.make();
        QList<QByteArray> files;
        for (const CommandFile &file : job.files)
            files.append(file.bytes);
        ThermalPreviewDialog preview(files, dpi, stock, m_dialogOwner);
        if (ReportModal::exec(preview) != ThermalPreviewDialog::PrintRequested)
            return PrintOutcome::previewOnly();
        break;
    }
    case ThermalPrintChoice::Print:
        break;
    }
    // The queue hands the files over in the background and says, when it is
    // done, how many labels really went out.
    m_screen.handOver(std::move(job));
    return PrintOutcome::handedOverLater();
}
