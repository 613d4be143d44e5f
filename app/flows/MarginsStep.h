#pragma once

#include <QList>

class QWidget;

// The margins step that ends every activation: the fixed sheet layouts'
// page margins, kept in their file.
void stepMargins(const QList<QWidget *> &layoutWindows);
