#include "ThermalPrintChoice.h"

#include "ReportModal.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

ThermalPrintChoice::ThermalPrintChoice(int files, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ThermalPrintChoice"));
    setWindowTitle(QStringLiteral("Etiquetas térmicas"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(files == 1 ? QStringLiteral("1 fileira de etiquetas para a impressora.")
                                            : QStringLiteral("%1 fileiras de etiquetas para a impressora.").arg(files)));
    auto *buttons = new QHBoxLayout;
    BotVisualizar = new QPushButton(QStringLiteral("Visualizar"));
    BotVisualizar->setObjectName(QStringLiteral("BotVisualizar"));
    BotImprimir = new QPushButton(QStringLiteral("Imprimir"));
    BotImprimir->setObjectName(QStringLiteral("BotImprimir"));
    BotCancelar = new QPushButton(QStringLiteral("Cancelar"));
    BotCancelar->setObjectName(QStringLiteral("BotCancelar"));
    BotVisualizar->setDefault(true);
    BotVisualizar->setFocus();
    for (QPushButton *button : {BotVisualizar, BotImprimir, BotCancelar})
        buttons->addWidget(button);
    layout->addLayout(buttons);
    connect(BotVisualizar, &QPushButton::clicked, this, [this] { done(Preview); });
    connect(BotImprimir, &QPushButton::clicked, this, [this] { done(Print); });
    connect(BotCancelar, &QPushButton::clicked, this, [this] { done(Cancelled); });
}

ThermalPrintChoice::Result ThermalPrintChoice::ask(int files, QWidget *parent)
{
    ThermalPrintChoice choice(files, parent);
    return Result(ReportModal::exec(choice));
}
