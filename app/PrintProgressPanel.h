#pragma once

#include <QFrame>

class QLabel;
class QPushButton;
class TPieGauge;

// The panel over the list while a label job is written: "Carregando .....",
// the pie gauge of the rows done, the product being written and "Cancelar".
// Its children keep the suite's names (Label3, Pizza, LabelArq,
// BotCancelarImpressao).
class PrintProgressPanel : public QFrame
{
public:
    explicit PrintProgressPanel(QWidget *parent);

    void begin(int steps);
    void step(const QString &itemText);
    // Where the job is now: the product being written and the rows done.
    void show(const QString &product, int rowsDone);
    using QFrame::show;

    QLabel *title;
    TPieGauge *gauge;
    QLabel *item;
    QPushButton *cancel;
};
