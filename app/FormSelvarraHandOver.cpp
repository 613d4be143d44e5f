// The hand-over's controls on the list panel: which file goes now, "Parar
// envio", "Continuar envio", and the panel closing waits behind. What they
// do is the hand-over flow's.
#include "TFormSelvarra.h"

#include "HandOverFlow.h"
#include "HistoryFlow.h"
#include "PrintHandOver.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// How long the clerk sees what closing waits for before "Fechar mesmo assim" may be pressed.
constexpr int kCloseAnywayAfterMs = 3000;

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
    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("PainelFechando"));
    panel->setFrameShape(QFrame::Box);
    panel->setAutoFillBackground(true);
    auto *layout = new QVBoxLayout(panel);
    auto *label = new QLabel(text, panel);
    label->setWordWrap(true);
    auto *anyway = new QPushButton(QStringLiteral("Fechar mesmo assim"), panel);
    anyway->setObjectName(QStringLiteral("BotFecharMesmoAssim"));
    anyway->setEnabled(false);
    layout->addWidget(label);
    layout->addWidget(anyway);
    panel->setGeometry((width() - 320) / 2, (height() - 110) / 2, 320, 110);
    panel->show();
    panel->raise();
    QTimer::singleShot(kCloseAnywayAfterMs, anyway, [anyway] { anyway->setEnabled(true); });
    connect(anyway, &QPushButton::clicked, m_handOverFlow, &HandOverFlow::closeAnyway);
}

void TFormSelvarra::closeWindow()
{
    close();
}
