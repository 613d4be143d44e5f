#include "ReportPreviewDialog.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

QPushButton *button(const QString &text, const char *name)
{
    auto *b = new QPushButton(text);
    b->setObjectName(QLatin1String(name));
    return b;
}

double screenDpi()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchX() : 96.0;
}

} // namespace

ReportPreviewDialog::ReportPreviewDialog(const QString &title, const SheetDocument &document, int zoomPercent,
                                         PrintAction print, QWidget *parent)
    : QDialog(parent), m_document(document), m_print(std::move(print)), m_zoom(zoomPercent)
{
    setObjectName(QStringLiteral("ReportPreview"));
    setWindowTitle(title);
    setModal(true);

    BotPrimeira = button(QStringLiteral("|<"), "BotPrimeira");
    BotAnterior = button(QStringLiteral("<"), "BotAnterior");
    BotProxima = button(QStringLiteral(">"), "BotProxima");
    BotUltima = button(QStringLiteral(">|"), "BotUltima");
    BotImprimir = button(QStringLiteral("&Imprimir..."), "BotImprimir");
    BotFechar = button(QStringLiteral("&Fechar"), "BotFechar");
    BotPrimeira->setToolTip(QStringLiteral("Primeira página"));
    BotAnterior->setToolTip(QStringLiteral("Página anterior"));
    BotProxima->setToolTip(QStringLiteral("Próxima página"));
    BotUltima->setToolTip(QStringLiteral("Última página"));
    BotImprimir->setVisible(bool(m_print));
    LabelPagina = new QLabel;
    LabelPagina->setObjectName(QStringLiteral("LabelPagina"));
    ComboZoom = new QComboBox;
    ComboZoom->setObjectName(QStringLiteral("ComboZoom"));
    for (int percent : {50, 75, 100, 150, 200})
        ComboZoom->addItem(QStringLiteral("%1 %").arg(percent), percent);
    if (ComboZoom->findData(m_zoom) < 0)
        ComboZoom->addItem(QStringLiteral("%1 %").arg(m_zoom), m_zoom);
    ComboZoom->setCurrentIndex(ComboZoom->findData(m_zoom));

    m_view = new QLabel;
    m_view->setObjectName(QStringLiteral("PageView"));
    m_view->setAlignment(Qt::AlignCenter);
    auto *scroll = new QScrollArea;
    scroll->setWidget(m_view);
    scroll->setWidgetResizable(true);
    scroll->setBackgroundRole(QPalette::Dark);

    auto *bar = new QHBoxLayout;
    for (QWidget *w : std::initializer_list<QWidget *>{BotPrimeira, BotAnterior, LabelPagina, BotProxima, BotUltima, ComboZoom})
        bar->addWidget(w);
    bar->addStretch(1);
    bar->addWidget(BotImprimir);
    bar->addWidget(BotFechar);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(scroll, 1);
    resize(900, 700);

    connect(BotPrimeira, &QPushButton::clicked, this, [this] { showPage(0); });
    connect(BotAnterior, &QPushButton::clicked, this, [this] { showPage(m_page - 1); });
    connect(BotProxima, &QPushButton::clicked, this, [this] { showPage(m_page + 1); });
    connect(BotUltima, &QPushButton::clicked, this, [this] { showPage(pageCount() - 1); });
    connect(BotFechar, &QPushButton::clicked, this, &QDialog::accept);
    connect(BotImprimir, &QPushButton::clicked, this, [this] { m_print(); });
    connect(ComboZoom, &QComboBox::currentIndexChanged, this, [this](int index) { setZoom(ComboZoom->itemData(index).toInt()); });
}

QImage ReportPreviewDialog::render(int page) const
{
    // Labels are black on white; a grey page takes a quarter of the memory.
    return m_document.pageImage(page, screenDpi() * m_zoom / 100.0).convertToFormat(QImage::Format_Grayscale8);
}

void ReportPreviewDialog::generate(const std::function<void(int page)> &progress)
{
    for (int page = 0; page < pageCount(); ++page) {
        progress(page + 1);
        m_pages.insert(page, render(page));
    }
    showPage(0);
}

QImage ReportPreviewDialog::pageImage(int page)
{
    if (!m_pages.contains(page))
        m_pages.insert(page, render(page));
    return m_pages.value(page);
}

void ReportPreviewDialog::showPage(int page)
{
    m_page = std::clamp(page, 0, pageCount() - 1);
    m_view->setPixmap(QPixmap::fromImage(pageImage(m_page)));
    LabelPagina->setText(QStringLiteral("Página %1 de %2").arg(m_page + 1).arg(pageCount()));
    BotPrimeira->setEnabled(m_page > 0);
    BotAnterior->setEnabled(m_page > 0);
    BotProxima->setEnabled(m_page + 1 < pageCount());
    BotUltima->setEnabled(m_page + 1 < pageCount());
}

void ReportPreviewDialog::setZoom(int percent)
{
    if (percent == m_zoom || percent <= 0)
        return;
    m_zoom = percent;
    m_pages.clear();
    const int at = ComboZoom->findData(percent);
    if (at >= 0 && at != ComboZoom->currentIndex())
        ComboZoom->setCurrentIndex(at);
    showPage(m_page);
}
