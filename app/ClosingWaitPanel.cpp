#include "ClosingWaitPanel.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// How long the clerk sees what closing waits for before "Fechar mesmo assim" may be pressed.
constexpr int kCloseAnywayAfterMs = 3000;

} // namespace

ClosingWaitPanel::ClosingWaitPanel(const QString &text, QWidget *window) : QFrame(window)
{
    setObjectName(QStringLiteral("PainelFechando"));
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
    auto *layout = new QVBoxLayout(this);
    auto *label = new QLabel(text, this);
    label->setWordWrap(true);
    auto *anyway = new QPushButton(QStringLiteral("Fechar mesmo assim"), this);
    anyway->setObjectName(QStringLiteral("BotFecharMesmoAssim"));
    anyway->setEnabled(false);
    layout->addWidget(label);
    layout->addWidget(anyway);
    setGeometry((window->width() - 320) / 2, (window->height() - 110) / 2, 320, 110);
    show();
    raise();
    QTimer::singleShot(kCloseAnywayAfterMs, anyway, [anyway] { anyway->setEnabled(true); });
    connect(anyway, &QPushButton::clicked, this, &ClosingWaitPanel::closeAnyway);
}
