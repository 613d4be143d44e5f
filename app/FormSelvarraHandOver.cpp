// The hand-over of thermal jobs as the list panel shows it: which file goes
// now, "Parar envio" while files go, "Continuar envio" for the rest of jobs
// that stopped, and the print line once a job's hand-over has ended, as it
// really ended. How far each job got lives in its record (ThermalJournal),
// which the hand-over owns; the panel only asks it.
#include "TFormSelvarra.h"

#include "Messages.h"
#include "PrintHandOver.h"
#include "PrintHistory.h"
#include "PrintOutcome.h"
#include "RunValues.h"
#include "StationSettings.h"
#include "SuitePaths.h"
#include "ThermalOutput.h"

#include <QEvent>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// How long the clerk sees what closing waits for before "Fechar mesmo assim" may be pressed.
constexpr int kCloseAnywayAfterMs = 3000;

// The list panel looks for a rest to offer each time it is shown: at start-up
// the station, and so its work folder, is known only later.
class ShownWatcher : public QObject
{
public:
    ShownWatcher(QWidget *watched, std::function<void()> onShow) : QObject(watched), m_onShow(std::move(onShow))
    {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Show)
            m_onShow();
        return false;
    }

private:
    std::function<void()> m_onShow;
};

QString stationFolder()
{
    return QFileInfo(ThermalOutput(RunValues::WorkFolder(), RunValues::LabelPrinterPath).batchFilePath()).absolutePath();
}

QString continueCaption(const QList<ThermalJournal::Record> &rests)
{
    const PrintJob &rest = rests.constFirst().job;
    QString caption = rest.firstFileNumber == rest.fileCount()
                          ? QStringLiteral("Continuar envio (arquivo %1)").arg(rest.firstFileNumber)
                          : QStringLiteral("Continuar envio (arquivos %1 a %2)").arg(rest.firstFileNumber).arg(rest.fileCount());
    if (rests.size() == 2)
        caption += QStringLiteral(" e mais 1 trabalho");
    else if (rests.size() > 2)
        caption += QStringLiteral(" e mais %1 trabalhos").arg(rests.size() - 1);
    return caption;
}

QString keptText(int jobs)
{
    if (jobs <= 0)
        return {};
    return jobs == 1 ? QStringLiteral("; 1 trabalho na fila ficou guardado para \"Continuar envio\"")
                     : QStringLiteral("; %1 trabalhos na fila ficaram guardados para \"Continuar envio\"").arg(jobs);
}

// "Continuar envio" shown for the jobs left with files to hand over, if any;
// `settleFirst` completes the history of those whose files all went.
void showContinueOffer(TFormSelvarra &form, bool settleFirst = false)
{
    if (!form.BotContinuarEnvio || form.printHandOver->busy() || RunValues::WorkFolder().isEmpty())
        return;
    const QString folder = stationFolder();
    if (settleFirst)
        form.printHandOver->settle(folder);
    const QList<ThermalJournal::Record> rests = form.printHandOver->pending(folder);
    if (rests.isEmpty()) {
        form.BotContinuarEnvio->hide();
        return;
    }
    form.BotContinuarEnvio->setText(continueCaption(rests));
    form.BotContinuarEnvio->show();
}

} // namespace

void TFormSelvarra::createPrintHandOver()
{
    printHandOver = new PrintHandOver(this);
    LabelEnvio = new QLabel(PainelSelvarra);
    LabelEnvio->setObjectName(QStringLiteral("LabelEnvio"));
    LabelEnvio->setGeometry(336, 76, 176, 18);
    BotPararEnvio = new QPushButton(QStringLiteral("Parar envio"), PainelSelvarra);
    BotPararEnvio->setObjectName(QStringLiteral("BotPararEnvio"));
    BotPararEnvio->setGeometry(516, 72, 90, 25);
    BotPararEnvio->hide();
    BotContinuarEnvio = new QPushButton(PainelSelvarra);
    BotContinuarEnvio->setObjectName(QStringLiteral("BotContinuarEnvio"));
    BotContinuarEnvio->setGeometry(336, 72, 270, 25);
    BotContinuarEnvio->hide();
    connect(BotPararEnvio, &QPushButton::clicked, this, &TFormSelvarra::BotPararEnvioClick);
    connect(BotContinuarEnvio, &QPushButton::clicked, this, &TFormSelvarra::BotContinuarEnvioClick);
    new ShownWatcher(PainelSelvarra, [this] { refreshContinueOffer(); });

    connect(printHandOver, &PrintHandOver::sending, LabelEnvio, [this](int file, int files) {
        LabelEnvio->setText(QStringLiteral("Enviando arquivo %1 de %2").arg(file).arg(files));
        BotContinuarEnvio->hide();
        BotPararEnvio->show();
    });
    connect(printHandOver, &PrintHandOver::idle, this, [this] {
        LabelEnvio->clear();
        BotPararEnvio->hide();
        BotPararEnvio->setEnabled(true);
        BotPararEnvio->setText(QStringLiteral("Parar envio"));
        // Not settled here: a record whose history could not be written
        // would be tried again at every end of the trying.
        showContinueOffer(*this);
    });
    // A replaced job whose history could not be written: its record waits for it.
    connect(printHandOver, &PrintHandOver::historyKept, this,
            [this](const QString &note) { showPrintOutcome(LabelImpressao->toolTip() + note); });
    connect(printHandOver, &PrintHandOver::jobEnded, this, [this](const HandOverResult &result) {
        // Unless the box was typed in or another job was queued since (it
        // starts at position 1 of the same row).
        if (result.dropped && EditEtiqInic->text().isEmpty() && !printHandOver->handingOver())
            EditEtiqInic->setText(result.startPosition);
        switch (result.end) {
        case HandOverResult::End::Whole:
            showPrintOutcome(PrintOutcome::thermal(result.labels(), int(result.labelsPerFile.size())).text());
            break;
        case HandOverResult::End::Stopped:
            showPrintOutcome(PrintOutcome::handOverStopped(result.labels(), result.filesLeft).text() + keptText(result.jobsKept));
            break;
        case HandOverResult::End::Failed:
            showPrintOutcome(PrintOutcome::thermalStopped(result.labels(), result.labelsCutOff).text());
            Messages::show(result.message);
            break;
        }
        if (!result.historyNote.isEmpty())
            showPrintOutcome(LabelImpressao->toolTip() + result.historyNote);
    });
}

void TFormSelvarra::handOver(PrintJob job)
{
    printHandOver->setFileTimeLimitSeconds(StationSettings::fileTimeLimitSeconds(SuitePaths::toNative(RunValues::WorkFolder())));
    BotContinuarEnvio->hide();
    // The job's files hold its blank positions, and its record keeps them for
    // "Continuar envio": from now on the box belongs to the next job, which
    // starts at position 1 unless told otherwise.
    job.startPosition = EditEtiqInic->text();
    EditEtiqInic->clear();
    showPrintOutcome(PrintOutcome::thermalQueued(int(job.files.size())).text());
    // Its history number is taken on the history's worker; the job waits for
    // it in the line, the window does not.
    if (printHistory)
        printHandOver->enqueue(std::move(job), [this](PrintHandOver::HistoryGiven given) {
            printHistory->thermalRecord(std::move(given));
        });
    else
        printHandOver->enqueue(std::move(job));
}

void TFormSelvarra::refreshContinueOffer()
{
    showContinueOffer(*this, true);
}

void TFormSelvarra::BotPararEnvioClick()
{
    printHandOver->stop();
    BotPararEnvio->setEnabled(false);
    BotPararEnvio->setText(QStringLiteral("Parando…"));
}

void TFormSelvarra::BotContinuarEnvioClick()
{
    guarded([this] {
        BotContinuarEnvio->hide();
        printHandOver->setFileTimeLimitSeconds(StationSettings::fileTimeLimitSeconds(SuitePaths::toNative(RunValues::WorkFolder())));
        printHandOver->continuePending(stationFolder());
        refreshContinueOffer();
    });
}

bool TFormSelvarra::mayCloseDuringHandOver()
{
    if (!printHandOver->handingOver() || m_closeAnyway)
        return true;
    if (m_closingWait)
        return false; // already waiting for the file to go
    const int limit = printHandOver->fileTimeLimitSeconds();
    // A job still waiting for its history number has no file under way yet.
    const bool sending = printHandOver->currentFileCount() > 0;
    const QString which = sending ? QStringLiteral("arquivo %1 de %2")
                                        .arg(printHandOver->currentFile())
                                        .arg(printHandOver->currentFileCount())
                                  : QStringLiteral("o trabalho está na fila");
    if (!Messages::ask(QStringLiteral("Ainda há etiquetas sendo enviadas à impressora (%1).\r"
                                      "Fechando agora, o arquivo em envio termina (em até %2 s) e os seguintes não são "
                                      "enviados; eles ficam guardados e podem ser enviados depois com \"Continuar envio\".\r"
                                      "Fechar o programa assim mesmo?")
                           .arg(which)
                           .arg(limit)))
        return false;
    // The window keeps answering while the file goes: it closes when the
    // hand-over is idle, or at once if the clerk will not wait.
    printHandOver->stop();
    auto *panel = new QFrame(this);
    m_closingWait = panel;
    panel->setObjectName(QStringLiteral("PainelFechando"));
    panel->setFrameShape(QFrame::Box);
    panel->setAutoFillBackground(true);
    auto *layout = new QVBoxLayout(panel);
    auto *text = new QLabel(sending ? QStringLiteral("Fechando: aguardando o %1 terminar de ir para a impressora "
                                                     "(no máximo %2 s).")
                                          .arg(which)
                                          .arg(limit)
                                    : QStringLiteral("Fechando: guardando o trabalho da fila para \"Continuar envio\"."),
                            panel);
    text->setWordWrap(true);
    auto *anyway = new QPushButton(QStringLiteral("Fechar mesmo assim"), panel);
    anyway->setObjectName(QStringLiteral("BotFecharMesmoAssim"));
    anyway->setEnabled(false);
    layout->addWidget(text);
    layout->addWidget(anyway);
    panel->setGeometry((width() - 320) / 2, (height() - 110) / 2, 320, 110);
    panel->show();
    panel->raise();
    QTimer::singleShot(kCloseAnywayAfterMs, anyway, [anyway] { anyway->setEnabled(true); });
    connect(anyway, &QPushButton::clicked, this, [this] {
        // The file cut off stays marked started: "Continuar envio" asks about it.
        m_closeAnyway = true;
        printHandOver->abandon();
        close();
    });
    connect(printHandOver, &PrintHandOver::idle, panel, [this] { close(); }, Qt::QueuedConnection);
    return false;
}
