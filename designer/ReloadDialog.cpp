#include "ReloadDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

ReloadDialog::ReloadDialog(const QList<PendingEdit> &edits, QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Recarregar do disco"));
    auto *text = new QLabel(QStringLiteral("O projeto vai ser lido de novo do disco. Estas alterações deste editor ainda não foram "
                                           "gravadas: podem ser feitas de novo sobre o arquivo como está agora, ou descartadas."));
    text->setWordWrap(true);
    ListaAlteracoes = new QListWidget;
    ListaAlteracoes->setObjectName(QStringLiteral("ListaAlteracoes"));
    for (const PendingEdit &edit : edits)
        ListaAlteracoes->addItem(edit.description());
    auto *buttons = new QDialogButtonBox;
    BotReaplicar = buttons->addButton(QStringLiteral("Recarregar e reaplicar"), QDialogButtonBox::AcceptRole);
    BotDescartar = buttons->addButton(QStringLiteral("Recarregar e descartar"), QDialogButtonBox::DestructiveRole);
    BotCancelar = buttons->addButton(QStringLiteral("Cancelar"), QDialogButtonBox::RejectRole);
    BotReaplicar->setDefault(true);
    connect(BotReaplicar, &QPushButton::clicked, this, [this] { done(Reapply); });
    connect(BotDescartar, &QPushButton::clicked, this, [this] { done(Discard); });
    connect(BotCancelar, &QPushButton::clicked, this, [this] { done(Cancel); });
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(ListaAlteracoes);
    layout->addWidget(buttons);
    resize(560, 320);
}
