#pragma once

#include "LabelLayout.h"
#include "LabelRecord.h"
#include "LabelStock.h"
#include "ReportProject.h"

#include <QDate>
#include <QHash>
#include <QImage>

// A thermal report run over the label job: one command file per row of labels
// across the roll, in the report's printer language, ready to be handed to
// the printer exactly like the fixed layout's files.

RollSetup rollOf(const SheetReport &report);

// The stock the report prints on, for the preview: its labels' size and the
// column starts of its roll.
LabelStock stockOf(const SheetReport &report);

// What one label of the report carries for a row, in dots of its printer,
// moved by `offsetDots`.
// Each image element's 1-bit picture at the printer's dots, by element index:
// converted once for a whole job. A picture that cannot be read is a null image.
QHash<int, QImage> thermalPictures(const SheetReport &report, double perMm);

// Without `pictures` the images are converted for this label alone.
LabelContent labelContent(const SheetReport &report, const LabelRecord &record, const QPoint &offsetDots, double perMm,
                          const QDate &printDay = QDate::currentDate(), const QHash<int, QImage> *pictures = nullptr);

// `offset` (mm) is the project's calibration plus the report's; `labels`, when
// given, receives how many labels (skipped positions included) each file holds.
QList<QByteArray> thermalCommandFiles(const SheetReport &report, const QList<LabelRecord> &rows, const QPointF &offset,
                                      QList<int> *labels = nullptr);
