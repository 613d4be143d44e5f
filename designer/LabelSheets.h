#pragma once

#include "SheetGrid.h"

#include <QList>
#include <QPageSize>
#include <QString>

// A sheet of adhesive labels as it is sold: its paper and where its labels lie.
struct LabelSheet
{
    QString name;
    QString paper;          // A4, A5, Carta
    QPageSize::PageSizeId pageSize = QPageSize::A4;
    SheetGrid grid;
};

// The common sheets, read from the list kept with the designer (label-sheets.txt).
QList<LabelSheet> labelSheets();

// The sheets in `text`, in that list's format; lines it cannot read are left out.
QList<LabelSheet> parseLabelSheets(const QString &text);

// A4, A5, Carta (Letter) by the names a project uses.
QPageSize::PageSizeId paperId(const QString &paper);
