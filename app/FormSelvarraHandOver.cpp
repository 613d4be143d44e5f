// The hand-over of thermal jobs as the list panel shows it: which file goes
// now, "Parar envio" while files go, "Continuar envio" for the rest of a job
// that stopped, and the print line and "Etiq. Inicial" once a job's hand-over
// has ended, as it really ended.
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
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

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

QString stationBatchFile()
{
    return ThermalOutput(RunValues::WorkFolder(), RunValues::LabelPrinterPath).batchFilePath();
}

QString continueCaption(const PrintJob &rest)
{
    if (rest.firstFileNumber == rest.fileCount())
        return QStringLiteral("Continuar envio (arquivo %1)").arg(rest.firstFileNumber);
    return QStringLiteral("Continuar envio (arquivos %1 a %2)").arg(rest.firstFileNumber).arg(rest.fileCount());
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
        m_etiqInicialOfJobs.clear();
        refreshContinueOffer();
    });
    connect(printHandOver, &PrintHandOver::jobEnded, this, [this](const HandOverResult &result) {
        const QString etiqInicial = m_etiqInicialOfJobs.isEmpty() ? QString() : m_etiqInicialOfJobs.takeFirst();
        // A job that put no label on the stock gives its first position back,
        // unless the box was typed in or another job was queued since.
        if (result.labels() == 0 && EditEtiqInic->text().isEmpty() && m_etiqInicialOfJobs.isEmpty())
            EditEtiqInic->setText(etiqInicial);
        switch (result.end) {
        case HandOverResult::End::Whole:
            showPrintOutcome(PrintOutcome::thermal(result.labels(), int(result.labelsPerFile.size())).text());
            break;
        case HandOverResult::End::Stopped:
            showPrintOutcome(PrintOutcome::handOverStopped(result.labels(), result.filesLeft).text());
            break;
        case HandOverResult::End::Failed:
            showPrintOutcome(PrintOutcome::thermalStopped(result.labels()).text());
            Messages::show(result.message);
            break;
        }
    });
}

void TFormSelvarra::handOver(PrintJob job)
{
    printHandOver->setFileTimeLimitSeconds(StationSettings::fileTimeLimitSeconds(SuitePaths::toNative(RunValues::WorkFolder())));
    // A new job takes the place of the rest of a stopped one, in the history too.
    BotContinuarEnvio->hide();
    if (job.firstFileNumber == 1)
        noteThermalQueued(job);
    // The job's files hold its blank positions: from now on the box belongs
    // to the next job, which starts at position 1 unless told otherwise.
    m_etiqInicialOfJobs << (job.firstFileNumber == 1 ? EditEtiqInic->text() : QString());
    if (job.firstFileNumber == 1)
        EditEtiqInic->clear();
    showPrintOutcome(PrintOutcome::thermalQueued(int(job.files.size())).text());
    printHandOver->enqueue(std::move(job));
}

void TFormSelvarra::refreshContinueOffer()
{
    if (!BotContinuarEnvio || printHandOver->busy() || RunValues::WorkFolder().isEmpty())
        return;
    const std::optional<PrintJob> rest = PrintHandOver::pending(stationBatchFile());
    if (!rest) {
        BotContinuarEnvio->hide();
        return;
    }
    BotContinuarEnvio->setText(continueCaption(*rest));
    BotContinuarEnvio->show();
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
        std::optional<PrintJob> rest = PrintHandOver::pending(stationBatchFile());
        BotContinuarEnvio->hide();
        if (!rest)
            return;
        handOver(std::move(*rest));
    });
}

bool TFormSelvarra::mayCloseDuringHandOver()
{
    if (!printHandOver->busy())
        return true;
    return Messages::ask(QStringLiteral("Ainda há etiquetas sendo enviadas à impressora (arquivo %1 de %2).\r"
                                        "Fechando agora, o arquivo em envio termina e os seguintes não são enviados; "
                                        "eles ficam guardados e podem ser enviados depois com \"Continuar envio\".\r"
                                        "Fechar o programa assim mesmo?")
                             .arg(printHandOver->currentFile())
                             .arg(printHandOver->currentFileCount()));
}
