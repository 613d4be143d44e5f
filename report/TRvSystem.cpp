#include "TRvSystem.h"

#include "Messages.h"
#include "OutputOptionsDialog.h"
#include "ReportModal.h"
#include "ReportPreviewDialog.h"
#include "ReportStatusWindow.h"
#include "SelvarError.h"
#include "SheetDocument.h"

#include <QDir>
#include <QPainter>
#include <QPrinter>
#include <QWidget>

#include <memory>

TRvSystem::TRvSystem(const QString &objectName, QObject *parent) : QObject(parent)
{
    setObjectName(objectName);
}

QWidget *TRvSystem::ownerWidget() const
{
    return qobject_cast<QWidget *>(parent());
}

bool TRvSystem::askOptions(bool allowPreview, OutputOptions *options)
{
    // Printer, copies and file name come back from the last run; the destination
    // does not: a run that went to a PDF must not send the next print to a file
    // unnoticed, so every print starts on the default destination, the preview.
    OutputOptions initial = m_last;
    if (allowPreview)
        initial.destination = DefaultDest;
    OutputOptionsDialog dialog(SystemSetupTitle, initial, allowPreview, ownerWidget());
    if (ReportModal::exec(dialog) != QDialog::Accepted)
        return false;
    *options = dialog.options();
    m_last = *options;
    return true;
}

TRvSystem::Outcome TRvSystem::Execute(const SheetDocument &document)
{
    m_statusTexts.clear();
    m_sent.clear();
    OutputOptions options;
    if (!askOptions(true, &options))
        return Outcome::Cancelled;
    switch (options.destination) {
    case OutputOptions::Destination::Preview:
        preview(document);
        return Outcome::Previewed;
    case OutputOptions::Destination::Printer:
        printDocument(document, options);
        return Outcome::Printed;
    case OutputOptions::Destination::File:
        printDocument(document, options);
        return Outcome::Written;
    }
    return Outcome::Cancelled;
}

void TRvSystem::preview(const SheetDocument &document)
{
    ReportPreviewDialog::PrintAction print;
    if (AllowPrintFromPreview) {
        print = [this, &document] {
            // This runs inside the preview's own loop: an error here must be told
            // to the user and leave the preview open, not unwind through Qt.
            try {
                OutputOptions options;
                if (askOptions(false, &options))
                    printDocument(document, options);
            } catch (const std::exception &e) {
                const auto *error = dynamic_cast<const SelvarError *>(&e);
                Messages::show(error ? error->message() : QString::fromLocal8Bit(e.what()));
            }
        };
    }
    ReportPreviewDialog dialog(PreviewTitle, document, PreviewZoom, print, ownerWidget());
    {
        std::unique_ptr<ReportStatusWindow> status;
        if (ShowStatus)
            status = std::make_unique<ReportStatusWindow>(StatusTitle, ownerWidget());
        dialog.generate([&](int page) {
            m_statusTexts << QString(StatusTextFile).replace(QStringLiteral("%p"), QString::number(page));
            if (status)
                status->showPage(StatusTextFile, page);
        });
    }
    ReportModal::exec(dialog);
}

void TRvSystem::setUpPrinter(QPrinter &printer, const SheetDocument &document, const OutputOptions &options) const
{
    if (options.destination == OutputOptions::Destination::File) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QDir::fromNativeSeparators(options.fileName));
    } else {
        printer.setPrinterName(options.printerName);
        printer.setCopyCount(options.copies);
    }
    printer.setDocName(TitleJob);
    printer.setCreator(QStringLiteral("Selvar"));
    // The report places every label from the paper's corner: no printer margin
    // may shift it, the calibration offset is the only correction.
    printer.setFullPage(true);
    printer.setPageLayout(QPageLayout(document.report().pageSize, document.report().orientation, QMarginsF()));
}

void TRvSystem::printDocument(const SheetDocument &document, const OutputOptions &options)
{
    const bool toFile = options.destination == OutputOptions::Destination::File;
    QPrinter printer(QPrinter::HighResolution);
    setUpPrinter(printer, document, options);
    QPainter painter;
    if (!painter.begin(&printer)) {
        throw SelvarError(toFile ? QStringLiteral("Não foi possível gravar o arquivo \"%1\".").arg(options.fileName)
                                 : QStringLiteral("Não foi possível imprimir na impressora \"%1\".").arg(options.printerName));
    }
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(PrinterScaleX / 100.0, PrinterScaleY / 100.0);

    const QString &pattern = toFile ? StatusTextFile : StatusTextPrinter;
    std::unique_ptr<ReportStatusWindow> status;
    if (ShowStatus)
        status = std::make_unique<ReportStatusWindow>(StatusTitle, ownerWidget());
    for (int page = 0; page < document.pageCount(); ++page) {
        m_statusTexts << QString(pattern).replace(QStringLiteral("%p"), QString::number(page + 1));
        if (status)
            status->showPage(pattern, page + 1);
        if (page > 0)
            printer.newPage();
        document.paintPage(painter, page);
    }
    // A printer may refuse the job only at its end (a queue that takes no
    // jobs, a spooler that failed): nothing was printed then.
    if (!painter.end()) {
        throw SelvarError(toFile ? QStringLiteral("Não foi possível gravar o arquivo \"%1\".").arg(options.fileName)
                                 : QStringLiteral("A impressora \"%1\" não aceitou o trabalho. Nenhuma etiqueta foi impressa.")
                                       .arg(options.printerName));
    }
    m_sent << options;
}
