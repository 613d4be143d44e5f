#pragma once

#include "OutputOptions.h"

#include <QObject>
#include <QStringList>

class QPrinter;
class QWidget;
class SheetDocument;

// The report engine a project runs on: it asks where the output goes, shows
// which page it is on, and sends the pages to the preview, a printer or a PDF.
// The settings carry the names and texts the suite's report engine has always
// shown, so a user who knows the old screens finds the same ones.
class TRvSystem : public QObject
{
    Q_OBJECT
public:
    enum class Outcome { Cancelled, Previewed, Printed, Written };

    explicit TRvSystem(const QString &objectName, QObject *parent = nullptr);

    QString SystemSetupTitle = QStringLiteral("Output Options");
    QString StatusTitle = QStringLiteral("Report Status");
    QString PreviewTitle = QStringLiteral("Report Preview");
    QString StatusTextFile = QStringLiteral("Generating page %p");
    QString StatusTextPrinter = QStringLiteral("Printing page %p");
    QString TitleJob = QStringLiteral("Rave Report");
    int PreviewZoom = 100;
    int PrinterScaleX = 100; // percent
    int PrinterScaleY = 100;
    OutputOptions::Destination DefaultDest = OutputOptions::Destination::Preview;
    bool ShowStatus = true;
    bool AllowPrintFromPreview = true;

    // One run: the setup dialog, then the output chosen. Returns Cancelled when
    // the user closes the setup dialog without choosing.
    Outcome Execute(const SheetDocument &document);

    // Pages to the printer or the PDF file of `options`, with the status window.
    void printDocument(const SheetDocument &document, const OutputOptions &options);

    // What the status window said during the last run, in order.
    const QStringList &statusTexts() const { return m_statusTexts; }

    // Where the last run's pages went, in order, also when printed from the
    // preview; empty when the run printed nothing.
    const QList<OutputOptions> &sent() const { return m_sent; }

private:
    QWidget *ownerWidget() const;
    bool askOptions(bool allowPreview, OutputOptions *options);
    void preview(const SheetDocument &document);
    void setUpPrinter(QPrinter &printer, const SheetDocument &document, const OutputOptions &options) const;

    OutputOptions m_last; // the next run offers this one's printer, copies and file
    QStringList m_statusTexts;
    QList<OutputOptions> m_sent;
};
