// The hand-over's controls on the list panel: which file goes now, "Parar
// envio", "Continuar envio", and the panel closing waits behind. What they
// do is the hand-over flow's.
#include "TFormSelvarra.h"

#include "ClosingWaitPanel.h"
#include "HandOverFlow.h"
#include "HistoryFlow.h"
#include "PrintHandOver.h"

#include <QLabel>
#include <QPushButton>

void TFormSelvarra::createPrintHandOver()
{
    printHandOver = new PrintHandOver(this);
    connect(BotPararEnvio, &QPushButton::clicked, this, &TFormSelvarra::BotPararEnvioClick);
    connect(BotContinuarEnvio, &QPushButton::clicked, this, &TFormSelvarra::BotContinuarEnvioClick);
    // A queued job's history number comes from the history flow.
    m_handOverFlow = new HandOverFlow(*printHandOver, *this, [this](PrintHandOver::HistoryGiven given) {
        if (m_historyFlow)
            m_historyFlow->thermalRecord(std::move(given));
    }, this);
}

void TFormSelvarra::handOver(PrintJob job)
{
    m_handOverFlow->handOver(std::move(job));
}

void TFormSelvarra::BotPararEnvioClick()
{
    m_handOverFlow->stopSending();
}

void TFormSelvarra::BotContinuarEnvioClick()
{
    guarded([this] { m_handOverFlow->continueSending(); });
}

void TFormSelvarra::showSendingLine(const QString &text)
{
    LabelEnvio->setText(text);
}

void TFormSelvarra::showStopSending(bool shown)
{
    BotPararEnvio->setVisible(shown);
}

void TFormSelvarra::setStopSending(const QString &caption, bool enabled)
{
    BotPararEnvio->setEnabled(enabled);
    BotPararEnvio->setText(caption);
}

void TFormSelvarra::showContinueOffer(const QString &caption)
{
    if (caption.isEmpty()) {
        BotContinuarEnvio->hide();
        return;
    }
    BotContinuarEnvio->setText(caption);
    BotContinuarEnvio->show();
}

void TFormSelvarra::showClosingWait(const QString &text)
{
    auto *panel = new ClosingWaitPanel(text, this);
    connect(panel, &ClosingWaitPanel::closeAnyway, m_handOverFlow, &HandOverFlow::closeAnyway);
}

void TFormSelvarra::closeWindow()
{
    close();
}
