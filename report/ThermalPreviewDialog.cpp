#include "ThermalPreviewDialog.h"

#include "ThermalRenderer.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <cmath>

namespace {

constexpr int RowGap = 8; // screen pixels between two rows

QString commandFileName(int index)
{
    return QStringLiteral("Etiq%1.txt").arg(index + 1, 3, 10, QLatin1Char('0'));
}

} // namespace

ThermalPreviewView::ThermalPreviewView(const QList<PreviewRow> &rows, int dpi, QWidget *parent)
    : QWidget(parent), m_rows(rows), m_dpi(dpi)
{
    setObjectName(QStringLiteral("Vista"));
    relayout();
}

double ThermalPreviewView::scale() const
{
    // A millimetre of label takes a millimetre of screen at 100 %.
    const double screenPerMm = logicalDpiX() / 25.4;
    return screenPerMm / dotsPerMm(m_dpi) * m_zoom / 100.0;
}

void ThermalPreviewView::setZoom(int percent)
{
    m_zoom = percent;
    relayout();
    update();
}

QRect ThermalPreviewView::rowArea(int row) const
{
    const PreviewRow &r = m_rows[row];
    QRect area = printArea(r.image);
    if (r.stock) {
        for (int column = 0; column < r.stock->columnStarts.size(); ++column)
            area |= r.stock->labelRect(column);
        area.adjust(-4, -4, 4, 4);
    }
    return area;
}

void ThermalPreviewView::relayout()
{
    m_tops.clear();
    int y = RowGap;
    int width = 1;
    for (int row = 0; row < m_rows.size(); ++row) {
        const QRect area = rowArea(row);
        m_tops.append(y);
        y += int(std::ceil(area.height() * scale())) + RowGap;
        width = std::max(width, int(std::ceil(area.width() * scale())) + 2 * RowGap);
    }
    setFixedSize(width, std::max(y, 1));
}

void ThermalPreviewView::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), QColor(150, 150, 150));
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (int row = 0; row < m_rows.size(); ++row) {
        const QRect area = rowArea(row);
        const QRect target(RowGap, m_tops[row], int(std::ceil(area.width() * scale())), int(std::ceil(area.height() * scale())));
        if (!target.intersects(event->rect()))
            continue;
        const PreviewRow &r = m_rows[row];
        const QImage picture = r.stock ? paintOnStock(r.image, *r.stock) : paintPrintImage(r.image, area);
        painter.drawImage(target, picture);
    }
}

ThermalPreviewDialog::ThermalPreviewDialog(const QList<QByteArray> &files, int dpi, const PreviewStock &stock, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("ThermalPreview"));
    setWindowTitle(QStringLiteral("Visualizar etiquetas"));

    QStringList findings;
    // The files reach one printer in order: a graphic the first stores, the later ones recall.
    PrinterMemory printer;
    for (int i = 0; i < files.size(); ++i) {
        const RenderedFile rendered = readCommandFile(files[i], dpi, &printer);
        for (const RenderFault &fault : rendered.faults)
            findings << QStringLiteral("%1, linha %2: %3").arg(commandFileName(i)).arg(fault.line).arg(fault.message);
        for (const PrintImage &image : rendered.images) {
            PreviewRow row{commandFileName(i), image, std::nullopt};
            if (stock.labelMm) {
                const int labelWidth = int(std::lround(stock.labelMm->width() * dotsPerMm(dpi)));
                const QList<int> columns = stock.columnStarts.isEmpty() ? columnStartsOf(image, labelWidth) : stock.columnStarts;
                row.stock = LabelStock::fromMillimetres(*stock.labelMm, columns, dpi);
                for (const StockNote &note : checkAgainstStock(image, *row.stock))
                    findings << QStringLiteral("%1: %2").arg(row.fileName, note.message);
            }
            m_rows.append(row);
        }
    }

    ComboZoom = new QComboBox;
    ComboZoom->setObjectName(QStringLiteral("ComboZoom"));
    for (const int percent : {50, 100, 150, 200, 300, 400})
        ComboZoom->addItem(QStringLiteral("%1 %").arg(percent), percent);
    ComboZoom->setCurrentIndex(1);
    Vista = new ThermalPreviewView(m_rows, dpi);
    auto *scroll = new QScrollArea;
    scroll->setWidget(Vista);
    scroll->setBackgroundRole(QPalette::Dark);
    ListaFora = new QListWidget;
    ListaFora->setObjectName(QStringLiteral("ListaFora"));
    ListaFora->addItems(findings);
    if (findings.isEmpty())
        ListaFora->addItem(stock.labelMm ? QStringLiteral("Tudo dentro das etiquetas.") : QStringLiteral("Tamanho da etiqueta desconhecido."));
    ListaFora->setMaximumHeight(110);
    BotImprimir = new QPushButton(QStringLiteral("Imprimir"));
    BotImprimir->setObjectName(QStringLiteral("BotImprimir"));
    BotFechar = new QPushButton(QStringLiteral("Fechar"));
    BotFechar->setObjectName(QStringLiteral("BotFechar"));

    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Zoom:")));
    top->addWidget(ComboZoom);
    top->addStretch();
    top->addWidget(BotImprimir);
    top->addWidget(BotFechar);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(scroll, 1);
    layout->addWidget(new QLabel(QStringLiteral("Fora das etiquetas (em vermelho):")));
    layout->addWidget(ListaFora);
    resize(900, 600);

    connect(ComboZoom, &QComboBox::currentIndexChanged, this, [this] { Vista->setZoom(ComboZoom->currentData().toInt()); });
    connect(BotImprimir, &QPushButton::clicked, this, [this] { done(PrintRequested); });
    connect(BotFechar, &QPushButton::clicked, this, &QDialog::reject);
}

QStringList ThermalPreviewDialog::findings() const
{
    QStringList texts;
    for (int i = 0; i < ListaFora->count(); ++i)
        texts << ListaFora->item(i)->text();
    return texts;
}
