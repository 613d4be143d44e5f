#pragma once

#include <QList>
#include <QWidget>

class QuickRepPage;

// The seven fixed sheet layout windows, created hidden at start-up in their
// order: TFormRelatorio, TFormRelat2, TFormRelCodBarra, TFormRelCodBarra2,
// TFormEtiqAlca, TFormRelat4, TFormRelCodBarra4.
QList<QWidget *> createFixedLayoutWindows(QWidget *owner);

// The page of TFormRelat2 among the windows, the one whose margins the margins
// file keeps; null when the windows do not hold it.
QuickRepPage *relat2Page(const QList<QWidget *> &layoutWindows);
