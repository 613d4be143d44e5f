#pragma once

#include <QWidget>

// A round gauge that fills like a pie as the work advances, with the percentage
// done written in its middle.
class TPieGauge : public QWidget
{
    Q_OBJECT
public:
    explicit TPieGauge(QWidget *parent = nullptr);

    int maximum() const { return m_maximum; }
    int value() const { return m_value; }
    int percentDone() const;

    void setMaximum(int maximum);
    void setValue(int value);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_maximum = 100;
    int m_value = 0;
};
