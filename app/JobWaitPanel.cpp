#include "JobWaitPanel.h"

#include "TFormSelvarra.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QFrame *waitPanelOf(TFormSelvarra &form)
{
    if (auto *panel = form.findChild<QFrame *>(QStringLiteral("PainelEspera")))
        return panel;
    auto *panel = new QFrame(form.PainelConsistG);
    panel->setObjectName(QStringLiteral("PainelEspera"));
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Raised);
    panel->setAutoFillBackground(true);
    auto *layout = new QVBoxLayout(panel);
    auto *text = new QLabel(panel);
    text->setObjectName(QStringLiteral("LabelEspera"));
    text->setWordWrap(true);
    text->setStyleSheet(QStringLiteral("color: navy; font-weight: bold;"));
    auto *cancel = new QPushButton(QStringLiteral("Cancelar"), panel);
    cancel->setObjectName(QStringLiteral("BotCancelarEspera"));
    layout->addWidget(text);
    layout->addWidget(cancel, 0, Qt::AlignHCenter);
    QObject::connect(cancel, &QPushButton::clicked, &form, &TFormSelvarra::CancelarClick);
    panel->hide();
    return panel;
}

} // namespace

JobWaitPanel::JobWaitPanel(TFormSelvarra &form) : m_form(form)
{
    m_panel = waitPanelOf(form);
    m_text = m_panel->findChild<QLabel *>(QStringLiteral("LabelEspera"));
    m_cancel = m_panel->findChild<QPushButton *>(QStringLiteral("BotCancelarEspera"));
    m_wasRunning = form.jobRunning();
    m_actionsWereEnabled = form.mainActionsEnabled();
}

JobWaitPanel::~JobWaitPanel()
{
    m_panel->hide();
    if (!m_wasRunning)
        m_form.setJobRunning(false);
    m_form.setMainActionsEnabled(m_actionsWereEnabled);
}

void JobWaitPanel::waiting(const QString &text, int seconds)
{
    showing(QStringLiteral("%1 %2 s").arg(text).arg(seconds));
}

void JobWaitPanel::showing(const QString &text)
{
    if (!m_panel->isVisible()) {
        // Over whichever panel the clerk is looking at.
        QWidget *over = m_form.PainelSelvarra->isVisible() ? static_cast<QWidget *>(m_form.PainelSelvarra) : m_form.PainelConsistG;
        if (m_panel->parentWidget() != over)
            m_panel->setParent(over);
        m_panel->setGeometry(142, 129, 340, 96);
        m_form.setMainActionsEnabled(false);
        if (!m_wasRunning)
            m_form.setJobRunning(true);
        m_panel->show();
        m_panel->raise();
        m_cancel->setFocus();
    }
    m_text->setText(text);
}
