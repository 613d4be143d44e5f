#pragma once

#include "ReportProject.h"

#include <QDialog>

class QTextBrowser;

// "Guia de etiquetas", the labels guide that comes with the program, in a
// window beside the designer, opened at the section about what the manager
// is working on (Ajuda → Guia de etiquetas, F1).
class GuideWindow : public QDialog
{
    Q_OBJECT
public:
    explicit GuideWindow(QWidget *parent = nullptr);

    // Scrolls so the section under `heading` starts at the top.
    void showSection(const QString &heading);
    // The heading of the section shown at the top.
    QString sectionShown() const;

    QTextBrowser *TextoGuia;
};

// The guide's section for the selected element (none: the editor itself;
// none on a thermal report: thermal reports).
QString guideSection(const SheetReport *report, const CellElement *selected);
