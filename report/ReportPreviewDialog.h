#pragma once

#include "SheetDocument.h"

#include <QDialog>
#include <QHash>
#include <QImage>

#include <functional>

class QComboBox;
class QLabel;
class QPushButton;

// The modal preview of a run: one page at a time at the chosen zoom (100 %
// is the paper's real size on the screen), with page buttons and, when the run
// allows it, a button that prints what is shown.
class ReportPreviewDialog : public QDialog
{
    Q_OBJECT
public:
    using PrintAction = std::function<void()>;

    ReportPreviewDialog(const QString &title, const SheetDocument &document, int zoomPercent, PrintAction print,
                        QWidget *parent = nullptr);

    // Draws every page ahead of showing the first, telling `progress` each page number.
    void generate(const std::function<void(int page)> &progress);

    int pageCount() const { return m_document.pageCount(); }
    int currentPage() const { return m_page; } // 0-based
    int zoom() const { return m_zoom; }
    QImage pageImage(int page);

    QPushButton *BotPrimeira;
    QPushButton *BotAnterior;
    QPushButton *BotProxima;
    QPushButton *BotUltima;
    QPushButton *BotImprimir;
    QPushButton *BotFechar;
    QComboBox *ComboZoom;
    QLabel *LabelPagina;

public slots:
    void showPage(int page);
    void setZoom(int percent);

private:
    QImage render(int page) const;

    const SheetDocument &m_document;
    PrintAction m_print;
    int m_page = 0;
    int m_zoom = 100;
    QHash<int, QImage> m_pages;
    QLabel *m_view;
};
