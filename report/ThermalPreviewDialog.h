#pragma once

#include "LabelStock.h"
#include "PrintImage.h"

#include <QDialog>
#include <QScrollArea>

#include <optional>

class QComboBox;
class QListWidget;
class QPushButton;

// The label stock a preview draws under the files: the labels' size, and the
// column starts, or none to take them from where each file draws.
struct PreviewStock
{
    std::optional<QSizeF> labelMm;
    QList<int> columnStarts;
};

// One printed image of the job and what the stock check found in it.
struct PreviewRow
{
    QString fileName;
    PrintImage image;
    std::optional<LabelStock> stock;
};

// The job as the printer would print it, row by row under each other, at
// true size (100 %: a millimetre of label is a millimetre on the screen) and
// zoomed; rows are painted only when they come into view, so a job of
// hundreds of files opens at once.
class ThermalPreviewView : public QWidget
{
    Q_OBJECT
public:
    ThermalPreviewView(const QList<PreviewRow> &rows, int dpi, QWidget *parent = nullptr);

    void setZoom(int percent);
    double scale() const; // screen pixels per printer dot

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QRect rowArea(int row) const; // in dots, the part of the row to show
    void relayout();

    const QList<PreviewRow> &m_rows;
    int m_dpi;
    int m_zoom = 100;
    QList<int> m_tops; // screen y of each row
};

// The modal preview of a thermal job: the rows, a zoom, the list of what
// falls outside a label (and of commands the printer would not take), and
// Imprimir, which ends the dialog with PrintRequested: the caller then hands
// the very same bytes over, as a print without preview does.
class ThermalPreviewDialog : public QDialog
{
    Q_OBJECT
public:
    enum Result { Closed = 0, PrintRequested = 2 };

    ThermalPreviewDialog(const QList<QByteArray> &files, int dpi, const PreviewStock &stock, QWidget *parent = nullptr);

    const QList<PreviewRow> &rows() const { return m_rows; }
    QStringList findings() const;

    QComboBox *ComboZoom;
    ThermalPreviewView *Vista;
    QListWidget *ListaFora;
    QPushButton *BotImprimir;
    QPushButton *BotFechar;

private:
    QList<PreviewRow> m_rows;
};
