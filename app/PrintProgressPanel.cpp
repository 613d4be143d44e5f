#include "PrintProgressPanel.h"

#include "TPieGauge.h"
#include "WindowLook.h"

#include <QLabel>
#include <QPushButton>

using namespace WindowLook;

namespace {

const QRect Bounds(142, 129, 240, 177);

} // namespace

PrintProgressPanel::PrintProgressPanel(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("Painel1"));
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(1);
    setAutoFillBackground(true);
    setTextColor(this, QPalette::Window, DesktopBackground);
    setGeometry(Bounds);
    hide();

    QFont arialBold(QStringLiteral("Arial"), 9);
    arialBold.setBold(true);
    title = makeLabel(this, QStringLiteral("Label3"), QStringLiteral("Carregando ....."), {74, 14}, Qt::yellow, arialBold);

    gauge = new TPieGauge(this);
    gauge->setObjectName(QStringLiteral("Pizza"));
    gauge->setGeometry(29, 46, 177, 89);

    item = new QLabel(this);
    item->setObjectName(QStringLiteral("LabelArq"));
    item->setGeometry(6, 150, 229, 16);
    item->setAlignment(Qt::AlignCenter);
    item->setAutoFillBackground(true);
    item->setFont(QFont(QStringLiteral("Arial"), 8));

    cancel = makeButton(this, QStringLiteral("BotCancelarImpressao"), QStringLiteral("Cancelar"), {6, 10, 64, 22});
    setTextColor(item, QPalette::WindowText, Navy);
    setTextColor(item, QPalette::Window, palette().color(QPalette::ToolTipBase));
}

void PrintProgressPanel::begin(int steps)
{
    setGeometry(Bounds);
    QFrame::show();
    raise();
    gauge->setMaximum(steps);
    gauge->setValue(0);
    item->clear();
    repaint();
}

void PrintProgressPanel::step(const QString &itemText)
{
    item->setText(itemText);
    item->repaint();
    gauge->setValue(gauge->value() + 1);
    gauge->repaint();
}

void PrintProgressPanel::show(const QString &product, int rowsDone)
{
    item->setText(product);
    gauge->setValue(rowsDone);
}
