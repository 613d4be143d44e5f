// What was printed: the print history each print records, "Preços alterados"
// and "Histórico de etiquetas" on the list panel, and the removal of old jobs.
#include "TFormSelvarra.h"

#include "CurrentModel.h"
#include "HistoryRetention.h"
#include "HistorySettings.h"
#include "HistoryStore.h"
#include "HistoryWindow.h"
#include "LabelJobExpansion.h"
#include "LabelOutput.h"
#include "ListReads.h"
#include "ListQuantities.h"
#include "Messages.h"
#include "PrintHandOver.h"
#include "PrintHistory.h"
#include "PrintJob.h"
#include "ReportModal.h"
#include "RunValues.h"
#include "SuiteJob.h"
#include "SuitePaths.h"
#include "TDM.h"
#include "TRvSystem.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// The first pass waits until the station has settled in.
constexpr int kFirstRetentionPassMs = 60 * 1000;

} // namespace

void TFormSelvarra::createHistory()
{
    historyStore = new HistoryStore([this] { return DM ? DM->SQLConnection1->DataBase() : QString(); });
    printHistory = new PrintHistory(*historyStore);
    // A thermal job's history is brought up to what went out from the job's
    // own record of the hand-over, whenever files of it have gone.
    printHandOver->setRecorder([this](const PrintJob &job, int filesDone) {
        return printHistory ? printHistory->thermalOut(job.history, job.positionsPerFile(), filesDone) : QString();
    });

    BotPrecosAlterados = new QPushButton(QStringLiteral("Preços a&lterados"), PainelSelvarra);
    BotPrecosAlterados->setObjectName(QStringLiteral("BotPrecosAlterados"));
    BotPrecosAlterados->setToolTip(QStringLiteral("Põe em \"Qtde.\" as etiquetas dos produtos cujo preço mudou desde a "
                                                  "última etiqueta impressa"));
    BotPrecosAlterados->setGeometry(336, 40, 112, 25);
    BotHistorico = new QPushButton(QStringLiteral("&Histórico"), PainelSelvarra);
    BotHistorico->setObjectName(QStringLiteral("BotHistorico"));
    BotHistorico->setToolTip(QStringLiteral("Histórico de etiquetas: o que foi impresso, e repetir um trabalho"));
    BotHistorico->setGeometry(450, 40, 64, 25);
    connect(BotPrecosAlterados, &QPushButton::clicked, this, &TFormSelvarra::BotPrecosAlteradosClick);
    connect(BotHistorico, &QPushButton::clicked, this, &TFormSelvarra::BotHistoricoClick);

    historyRetention = new HistoryRetention(
        *historyStore,
        [] { return HistorySettings::retentionDays(SuitePaths::toNative(RunValues::WorkFolder())); },
        [this] { return m_jobRunning || !m_mainActionsEnabled || printHandOver->busy() || !DM; }, this);
    historyRetention->start(kFirstRetentionPassMs);
}

void TFormSelvarra::destroyHistory()
{
    printHandOver->setRecorder({});
    delete historyRetention;
    historyRetention = nullptr;
    delete printHistory;
    printHistory = nullptr;
    delete historyStore;
    historyStore = nullptr;
}

void TFormSelvarra::noteJobWritten(const QString &modelDescription)
{
    PrintedJob job = PrintedJob::fromList(*DM->TabRev1, LabelJobExpansion::skippedPositions(EditEtiqInic->text()));
    job.station = RunValues::StationCode;
    job.user = RunValues::WindowsUserName;
    job.modelCode = CurrentModel::code(*DM);
    job.modelDescription = modelDescription;
    printHistory->jobWritten(std::move(job));
}

QString TFormSelvarra::historyAfterOutput(OutputKind output)
{
    QString note;
    // A sheet run says where its pages went; printing from the preview counts.
    if (output == OutputKind::Report && !RvSystem2->sent().isEmpty()) {
        const bool pdf = RvSystem2->sent().constLast().destination == OutputOptions::Destination::File;
        note = printHistory->wholeJobOut(pdf ? HistoryStore::pdfOutput() : HistoryStore::printerOutput());
    }
    // A thermal job is in the hand-over's line by now; anything else put nothing out.
    printHistory->jobDropped();
    return note;
}

// An action that writes the list waits for the read under way, so that the
// rows it writes over are the ones shown and the rows shown next hold its writes.
static void afterListReads(TFormSelvarra &form, std::function<void()> action)
{
    if (form.listReads())
        form.listReads()->afterReads(std::move(action));
    else
        action();
}

void TFormSelvarra::BotPrecosAlteradosClick()
{
    afterListReads(*this, [this] { guarded([this] {
        if (!DM || m_jobRunning || !postListEdit())
            return;
        ClientDataSet &list = *DM->TabRev1;
        // Read before the lock: the history is ours, no other station's job changes it.
        const ListQuantities::PriceChanges changes =
            ListQuantities::priceChanges(list, historyStore->lastLabels(ListQuantities::codes(list)));
        if (!changes.fill.isEmpty()) {
            QHash<QString, std::optional<qint64>> quantities;
            for (auto it = changes.fill.constBegin(); it != changes.fill.constEnd(); ++it)
                quantities.insert(it.key(), it.value());
            SuiteJob job(*DM->SQLConnection1, RunValues::StationCode, SuiteJob::Kind::ListBuild);
            ListQuantities::write(list, quantities, job);
        }
        showPrintOutcome(changes.text());
        updateListTotals();
        focusGridQuantity();
    }); });
}

void TFormSelvarra::BotHistoricoClick()
{
    afterListReads(*this, [this] { guarded([this] {
        if (!DM || m_jobRunning || !postListEdit())
            return;
        HistoryWindow window(*historyStore, this);
        if (ReportModal::exec(window) != QDialog::Accepted || window.chosenJob() == 0) {
            focusGridQuantity();
            return;
        }
        ClientDataSet &list = *DM->TabRev1;
        const ListQuantities::Repeat repeat = ListQuantities::repeat(list, historyStore->items(window.chosenJob()));
        if (repeat.othersTyped > 0
            && !Messages::ask(QStringLiteral("A lista tem quantidades digitadas em %1 que não estão no trabalho %2; "
                                             "elas serão apagadas. Continuar?")
                                  .arg(repeat.othersTyped == 1 ? QStringLiteral("1 produto")
                                                               : QStringLiteral("%1 produtos").arg(repeat.othersTyped))
                                  .arg(window.chosenJob()))) {
            focusGridQuantity();
            return;
        }
        {
            SuiteJob job(*DM->SQLConnection1, RunValues::StationCode, SuiteJob::Kind::ListBuild);
            ListQuantities::write(list, repeat.quantities, job);
        }
        showPrintOutcome(repeat.text(window.chosenJob()));
        updateListTotals();
        focusGridQuantity();
    }); });
}
