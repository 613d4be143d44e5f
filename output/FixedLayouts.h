#pragma once

#include <QList>
#include <QWidget>

// The seven fixed sheet layout windows, created hidden at start-up in their
// order: TFormRelatorio, TFormRelat2, TFormRelCodBarra, TFormRelCodBarra2,
// TFormEtiqAlca, TFormRelat4, TFormRelCodBarra4.
QList<QWidget *> createFixedLayoutWindows(QWidget *owner);
