#include "HistoryWindow.h"

#include "HistoryWork.h"

#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <memory>
#include <utility>

namespace {

// How many jobs the window lists at most: a day of a busy pharmacy and more.
constexpr int kJobsShown = 500;

QTableWidget *makeTable(QWidget *parent, const QString &name, const QStringList &titles)
{
    auto *table = new QTableWidget(0, int(titles.size()), parent);
    table->setObjectName(name);
    table->setHorizontalHeaderLabels(titles);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(18);
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

QTableWidgetItem *cell(const QString &text, bool number = false)
{
    auto *item = new QTableWidgetItem(text);
    if (number)
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

QString outputName(const QString &output)
{
    if (output == HistoryStore::thermalOutput())
        return QStringLiteral("Térmica");
    if (output == HistoryStore::printerOutput())
        return QStringLiteral("Impressora");
    return output;
}

QString priceText(const Decimal &price)
{
    QString text = price.rescaled(2).toPlainString();
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}

QDateEdit *makeDate(QWidget *parent, const QString &name, const QDate &date)
{
    auto *edit = new QDateEdit(date, parent);
    edit->setObjectName(name);
    edit->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    edit->setCalendarPopup(true);
    return edit;
}

} // namespace

HistoryWindow::HistoryWindow(HistoryWork &work, const QString &database, QWidget *parent)
    : QDialog(parent), m_work(work), m_database(database)
{
    setObjectName(QStringLiteral("HistoryWindow"));
    setWindowTitle(QStringLiteral("Histórico de etiquetas"));
    resize(720, 480);

    EditHistProduto = new QLineEdit(this);
    EditHistProduto->setObjectName(QStringLiteral("EditHistProduto"));
    EditHistProduto->setPlaceholderText(QStringLiteral("nome, código ou EAN"));
    EditHistEstacao = new QLineEdit(this);
    EditHistEstacao->setObjectName(QStringLiteral("EditHistEstacao"));
    EditHistEstacao->setMaxLength(3);
    EditHistEstacao->setMaximumWidth(50);
    const QDate today = QDate::currentDate();
    EditHistDe = makeDate(this, QStringLiteral("EditHistDe"), today.addDays(-30));
    EditHistAte = makeDate(this, QStringLiteral("EditHistAte"), today);

    auto *filters = new QHBoxLayout;
    auto addFilter = [&](const QString &caption, QWidget *edit) {
        auto *label = new QLabel(caption, this);
        label->setBuddy(edit);
        filters->addWidget(label);
        filters->addWidget(edit);
    };
    addFilter(QStringLiteral("&Produto"), EditHistProduto);
    addFilter(QStringLiteral("&Estação"), EditHistEstacao);
    addFilter(QStringLiteral("&De"), EditHistDe);
    addFilter(QStringLiteral("A&té"), EditHistAte);

    GradeTrabalhos = makeTable(this, QStringLiteral("GradeTrabalhos"),
                               {QStringLiteral("Nº"), QStringLiteral("Data e hora"), QStringLiteral("Estação"),
                                QStringLiteral("Usuário"), QStringLiteral("Saída"), QStringLiteral("Etiquetas"),
                                QStringLiteral("Produtos"), QStringLiteral("Modelo")});
    GradeItens = makeTable(this, QStringLiteral("GradeItens"),
                           {QStringLiteral("Código"), QStringLiteral("Produto"), QStringLiteral("Código EAN"),
                            QStringLiteral("Preço"), QStringLiteral("Etiquetas")});
    GradeItens->setFocusPolicy(Qt::NoFocus);
    for (auto [column, width] : {std::pair{0, 50}, {1, 150}, {2, 55}, {3, 80}, {4, 75}, {5, 65}, {6, 65}})
        GradeTrabalhos->setColumnWidth(column, width);
    for (auto [column, width] : {std::pair{0, 90}, {1, 300}, {2, 110}, {3, 70}})
        GradeItens->setColumnWidth(column, width);

    LabelHistorico = new QLabel(this);
    LabelHistorico->setObjectName(QStringLiteral("LabelHistorico"));
    BotRepetir = new QPushButton(QStringLiteral("&Repetir"), this);
    BotRepetir->setObjectName(QStringLiteral("BotRepetir"));
    BotRepetir->setToolTip(QStringLiteral("Põe as quantidades deste trabalho na lista, com os preços de hoje"));
    BotRepetir->setDefault(true);
    BotFecharHistorico = new QPushButton(QStringLiteral("&Fechar"), this);
    BotFecharHistorico->setObjectName(QStringLiteral("BotFecharHistorico"));
    BotFecharHistorico->setAutoDefault(false);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(LabelHistorico, 1);
    buttons->addWidget(BotRepetir);
    buttons->addWidget(BotFecharHistorico);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(GradeTrabalhos, 3);
    layout->addWidget(GradeItens, 2);
    layout->addLayout(buttons);

    setTabOrder(EditHistProduto, EditHistEstacao);
    setTabOrder(EditHistEstacao, EditHistDe);
    setTabOrder(EditHistDe, EditHistAte);
    setTabOrder(EditHistAte, GradeTrabalhos);
    setTabOrder(GradeTrabalhos, BotRepetir);
    setTabOrder(BotRepetir, BotFecharHistorico);

    // The list follows the filters as they are typed, once the typing pauses.
    m_reloadSoon = new QTimer(this);
    m_reloadSoon->setSingleShot(true);
    m_reloadSoon->setInterval(300);
    connect(m_reloadSoon, &QTimer::timeout, this, &HistoryWindow::reload);
    for (QLineEdit *edit : {EditHistProduto, EditHistEstacao})
        connect(edit, &QLineEdit::textChanged, m_reloadSoon, qOverload<>(&QTimer::start));
    for (QDateEdit *edit : {EditHistDe, EditHistAte})
        connect(edit, &QDateEdit::dateChanged, m_reloadSoon, qOverload<>(&QTimer::start));
    for (QWidget *filter : std::initializer_list<QWidget *>{EditHistProduto, EditHistEstacao, EditHistDe, EditHistAte})
        filter->installEventFilter(this);
    connect(GradeTrabalhos, &QTableWidget::currentCellChanged, this, &HistoryWindow::readItems);
    connect(GradeTrabalhos, &QTableWidget::cellDoubleClicked, this, &HistoryWindow::repeatCurrent);
    connect(BotRepetir, &QPushButton::clicked, this, &HistoryWindow::repeatCurrent);
    connect(BotFecharHistorico, &QPushButton::clicked, this, &QDialog::reject);

    reload();
    GradeTrabalhos->setFocus();
}

// A connection lost and not back is said in words of the window, never the driver's.
static QString historyFailure(const QString &error, bool connectionLost)
{
    if (connectionLost)
        return QStringLiteral("Não foi possível ler o histórico: a conexão com o servidor foi perdida e ainda não "
                              "voltou. Tente de novo em instantes.");
    return QStringLiteral("Não foi possível ler o histórico: %1").arg(error);
}

void HistoryWindow::reload()
{
    m_reloadSoon->stop();
    HistoryStore::Filter filter;
    filter.product = EditHistProduto->text();
    filter.station = EditHistEstacao->text();
    filter.from = EditHistDe->date();
    filter.to = EditHistAte->date();
    filter.limit = kJobsShown;
    const quint64 asked = ++m_jobsAsked;
    LabelHistorico->setText(QStringLiteral("Lendo o histórico…"));
    // Enter while the jobs are read repeats the first of them once they are in.
    BotRepetir->setEnabled(true);
    auto jobs = std::make_shared<QList<HistoryStore::JobRow>>();
    QPointer<HistoryWindow> window(this);
    m_work.run(m_database, [filter, jobs](HistoryWork::Context &context) { *jobs = context.history().jobs(filter); },
               [window, asked, jobs](const HistoryWork::Outcome &outcome) {
                   if (!window || asked != window->m_jobsAsked)
                       return;
                   window->m_jobsShown = asked;
                   if (outcome.failed || outcome.cancelled)
                       window->showFailure(outcome.error, outcome.connectionLost);
                   else
                       window->showJobs(*jobs);
               });
}

void HistoryWindow::showFailure(const QString &error, bool connectionLost)
{
    m_repeatWhenShown = false;
    GradeTrabalhos->setRowCount(0);
    GradeItens->setRowCount(0);
    LabelHistorico->setText(historyFailure(error, connectionLost));
    BotRepetir->setEnabled(false);
    emit jobsShown();
}

void HistoryWindow::showJobs(const QList<HistoryStore::JobRow> &jobs)
{
    GradeTrabalhos->setRowCount(0);
    GradeTrabalhos->setRowCount(int(jobs.size()));
    for (int row = 0; row < jobs.size(); ++row) {
        const HistoryStore::JobRow &job = jobs[row];
        auto *number = cell(QString::number(job.id), true);
        number->setData(Qt::UserRole, job.id);
        GradeTrabalhos->setItem(row, 0, number);
        GradeTrabalhos->setItem(row, 1, cell(job.when.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"))));
        GradeTrabalhos->setItem(row, 2, cell(job.station));
        GradeTrabalhos->setItem(row, 3, cell(job.user));
        GradeTrabalhos->setItem(row, 4, cell(outputName(job.output)));
        GradeTrabalhos->setItem(row, 5, cell(QString::number(job.labels), true));
        GradeTrabalhos->setItem(row, 6, cell(QString::number(job.products), true));
        GradeTrabalhos->setItem(row, 7, cell(job.modelDescription));
    }
    LabelHistorico->setText(jobs.isEmpty() ? QStringLiteral("Nenhum trabalho impresso com esses filtros")
                            : jobs.size() == 1 ? QStringLiteral("1 trabalho")
                                               : QStringLiteral("%1 trabalhos, o mais recente primeiro").arg(jobs.size()));
    BotRepetir->setEnabled(!jobs.isEmpty());
    if (!jobs.isEmpty())
        GradeTrabalhos->setCurrentCell(0, 0);
    readItems();
    emit jobsShown();
    if (std::exchange(m_repeatWhenShown, false))
        repeatCurrent();
}

// Enter in a filter applies it at once and goes to the jobs; only Enter on
// the jobs repeats one.
bool HistoryWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            reload();
            GradeTrabalhos->setFocus();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

qint64 HistoryWindow::currentJob() const
{
    const QTableWidgetItem *number = GradeTrabalhos->item(GradeTrabalhos->currentRow(), 0);
    return number ? number->data(Qt::UserRole).toLongLong() : 0;
}

void HistoryWindow::readItems()
{
    GradeItens->setRowCount(0);
    const qint64 job = currentJob();
    const quint64 asked = ++m_itemsAsked;
    if (job == 0) {
        m_itemsShown = asked;
        return;
    }
    auto items = std::make_shared<QList<PrintedItem>>();
    QPointer<HistoryWindow> window(this);
    m_work.run(m_database, [job, items](HistoryWork::Context &context) { *items = context.history().items(job); },
               [window, asked, items](const HistoryWork::Outcome &outcome) {
                   if (!window || asked != window->m_itemsAsked)
                       return;
                   window->m_itemsShown = asked;
                   if (outcome.failed || outcome.cancelled) {
                       window->LabelHistorico->setText(historyFailure(outcome.error, outcome.connectionLost));
                       emit window->itemsShown();
                   } else {
                       window->showItems(*items);
                   }
               });
}

void HistoryWindow::showItems(const QList<PrintedItem> &items)
{
    GradeItens->setRowCount(int(items.size()));
    for (int row = 0; row < items.size(); ++row) {
        const PrintedItem &item = items[row];
        GradeItens->setItem(row, 0, cell(item.codigo));
        GradeItens->setItem(row, 1, cell(item.componente));
        GradeItens->setItem(row, 2, cell(item.codigoEan));
        GradeItens->setItem(row, 3, cell(priceText(item.preco), true));
        GradeItens->setItem(row, 4, cell(QString::number(item.labels), true));
    }
    emit itemsShown();
}

void HistoryWindow::repeatCurrent()
{
    // The jobs shown are not the ones the filters ask for yet.
    if (m_jobsAsked != m_jobsShown) {
        m_repeatWhenShown = true;
        return;
    }
    m_chosen = currentJob();
    if (m_chosen != 0)
        accept();
}
