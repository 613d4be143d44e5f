#include "FixedLayouts.h"

QList<QWidget *> createFixedLayoutWindows(QWidget *owner)
{
    QList<QWidget *> windows;
    for (const char *name : {"TFormRelatorio", "TFormRelat2", "TFormRelCodBarra", "TFormRelCodBarra2", "TFormEtiqAlca",
                             "TFormRelat4", "TFormRelCodBarra4"}) {
        auto *window = new QWidget(owner, Qt::Window);
        window->setObjectName(QString::fromLatin1(name).mid(1));
        window->hide();
        windows << window;
    }
    return windows;
}
