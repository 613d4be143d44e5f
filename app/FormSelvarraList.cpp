// The ready-made product list: building it, reopening it, searching it, and the
// current label model in the drop-down list above it.
#include "TFormSelvarra.h"

#include "BrLocale.h"
#include "Counter.h"
#include "CurrentModel.h"
#include "DataSetModel.h"
#include "DatabaseErrors.h"
#include "ListGridDelegate.h"
#include "JobWaitPanel.h"
#include "JobWorker.h"
#include "ListBuildJob.h"
#include "ListTotals.h"
#include "Messages.h"
#include "ModelLookup.h"
#include "PacedLog.h"
#include "ProductListBuilder.h"
#include "ProductSearch.h"
#include "RunValues.h"
#include "ListReads.h"
#include "ListWrites.h"
#include "SelvarError.h"
#include "SuiteJob.h"
#include "TDM.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace {

// The build log's lines go into mmo1 a slice at a time.
PacedLog &buildLog(TFormSelvarra &form)
{
    auto *log = form.mmo1->findChild<PacedLog *>(QString(), Qt::FindDirectChildrenOnly);
    return log ? *log : *new PacedLog(form.mmo1);
}

// The build's log lines and progress, sent from the worker to mmo1 and
// Gauge1; "Cancelar" and Escape reach it as the worker's flag.
class WorkerBuildDisplay : public ListBuildDisplay
{
public:
    WorkerBuildDisplay(JobWorker::Context &context, TFormSelvarra *form) : m_context(context), m_form(form) {}
    void logClear() override { send([](TFormSelvarra &f) { buildLog(f).clear(); }); }
    void logAppend(const QString &lines) override { send([lines](TFormSelvarra &f) { buildLog(f).append(lines); }); }
    void loadingBegin(int maximum) override
    {
        send([maximum](TFormSelvarra &f) { f.loadingBegin(maximum); });
        m_context.step(0);
    }
    void loadingSetValue(int value) override
    {
        send([value](TFormSelvarra &f) { f.loadingSetValue(value); });
        m_context.step(value);
    }
    void loadingEnd() override { send([](TFormSelvarra &f) { f.loadingEnd(); }); }
    bool cancelRequested() override { return m_context.cancelled(); }

private:
    void send(std::function<void(TFormSelvarra &)> call)
    {
        TFormSelvarra *form = m_form;
        m_context.toWindow([form, call] { call(*form); });
    }

    JobWorker::Context &m_context;
    TFormSelvarra *m_form;
};

// The main panel's actions stay inactive from the click until the new list
// is shown or the build ends otherwise, since the window answers meanwhile;
// they come back however the build ends.
class BuildInProgress
{
public:
    explicit BuildInProgress(TFormSelvarra &form) : m_form(form)
    {
        m_form.counter()->setBusy(Counter::Activity::Build, true);
        m_form.setMainActionsEnabled(false);
        m_form.setJobRunning(true);
    }
    ~BuildInProgress()
    {
        // Lines still waiting: few by now, the list having been read meanwhile.
        buildLog(m_form).flush();
        m_form.loadingEnd();
        m_form.setJobRunning(false);
        m_form.setMainActionsEnabled(true);
        m_form.counter()->setBusy(Counter::Activity::Build, false);
    }
    BuildInProgress(const BuildInProgress &) = delete;
    BuildInProgress &operator=(const BuildInProgress &) = delete;

private:
    TFormSelvarra &m_form;
};

// One build from the click to the list shown: its inactive window, and the
// waiting panel while it waits in line (gone before the window is active again).
struct ListBuildRun
{
    explicit ListBuildRun(TFormSelvarra &form) { building.emplace(form); }
    void end()
    {
        wait.reset();
        building.reset();
    }
    std::optional<BuildInProgress> building;
    std::unique_ptr<JobWaitPanel> wait;
};

// DBLCB1 becomes the current-model lookup the first time the list is shown,
// when the data module is there to feed it.
ModelLookup *modelLookup(TFormSelvarra &form, bool create)
{
    auto *lookup = form.DBLCB1->findChild<ModelLookup *>(QString(), Qt::FindDirectChildrenOnly);
    if (!lookup && create && form.DM)
        lookup = new ModelLookup(form.DM, form.DBLCB1);
    return lookup;
}

bool isWithin(const QWidget *widget, const QWidget *container)
{
    for (; widget; widget = widget->parentWidget()) {
        if (widget == container)
            return true;
    }
    return false;
}

// The message a number column gives for the text in an open cell editor, or
// empty when the column takes it.
QString refusal(TFormSelvarra &form, const QWidget *editor, const QModelIndex &cell)
{
    const auto *line = qobject_cast<const QLineEdit *>(editor);
    ClientDataSet *list = form.DBGrid1Model->dataSet();
    if (!line || !list || !cell.isValid() || cell.column() >= form.DBGrid1Model->columns().size())
        return QString();
    const DataSetModel::Column &column = form.DBGrid1Model->columns().at(cell.column());
    const Field *field = list->FindField(column.field);
    return field ? ListGridDelegate::numberProblem(*field, column.title, line->text()) : QString();
}

// The grid's current cell looks selected only while the grid has the focus,
// so the highlighted cell is always where typing goes.
void markGridFocus(TFormSelvarra &form, bool focused)
{
    QPalette p = form.DBGrid1->palette();
    const QPalette standard = QApplication::palette(form.DBGrid1);
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(group, QPalette::Highlight, focused ? standard.color(group, QPalette::Highlight) : QColor(212, 212, 212));
        p.setColor(group, QPalette::HighlightedText,
                   focused ? standard.color(group, QPalette::HighlightedText) : standard.color(group, QPalette::Text));
    }
    form.DBGrid1->setPalette(p);
}

// The model box draws no focus mark in the window's style; a ring in the
// colour of a selection shows around it while it has the focus, so a key
// meant for the list is never sent to it unseen.
QWidget *focusRing(TFormSelvarra &form)
{
    auto *ring = form.PainelSelvarra->findChild<QWidget *>(QStringLiteral("DBLCB1Foco"), Qt::FindDirectChildrenOnly);
    if (!ring) {
        ring = new QWidget(form.PainelSelvarra);
        ring->setObjectName(QStringLiteral("DBLCB1Foco"));
        ring->setAutoFillBackground(true);
        QPalette p = ring->palette();
        p.setColor(QPalette::Window, QApplication::palette(form.DBLCB1).color(QPalette::Active, QPalette::Highlight));
        ring->setPalette(p);
        ring->setGeometry(form.DBLCB1->geometry().adjusted(-2, -2, 2, 2));
        ring->stackUnder(form.DBLCB1);
        ring->hide();
    }
    return ring;
}

void searchChanged(TFormSelvarra &form, ProductSearch::Column column, QLineEdit *box)
{
    guarded([&] {
        if (!form.DM || !form.postListEdit())
            return;
        ClientDataSet &list = *form.DM->TabRev1;
        const QString wasOn = list.Active() && list.RecNo() > 0 ? list.FieldByName(QStringLiteral("CODIGO")).AsString() : QString();
        form.listReads()->read(ProductSearch::statementFor(column), [&form, column, box, wasOn](const BackgroundRead::Result &read) {
            if (read.failed) {
                form.LabelPesquisa->setText(ListReads::failureText(read));
                return;
            }
            // The row for the box's text as it stands now, typed meanwhile or not.
            const QString line = ProductSearch::placeCursor(*form.DM, column, box->text(), wasOn);
            form.LabelPesquisa->setText(read.reconnected ? ProductSearch::connectionRemadeNotice() : line);
        });
    });
}

void searchKeyPress(TFormSelvarra &form, QKeyEvent *event, ProductSearch::Column column, QLineEdit *box)
{
    // Escape clears a box that has text; in an empty one it is the window's.
    if (event->key() == Qt::Key_Escape && !box->text().isEmpty()) {
        event->accept();
        box->clear();
        return;
    }
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return;
    event->accept(); // the box gets no Enter, so no beep
    guarded([&] {
        if (!form.DM)
            return;
        if (box->text().isEmpty()) {
            Messages::show(ProductSearch::emptyBoxMessage(column));
            return;
        }
        bool found = false;
        form.LabelPesquisa->setText(
            ProductSearch::locate(*form.DM, column, box->text().left(ProductSearch::kEnterLength), &found));
        // Nothing found: the clerk stays in the box to correct the text, and
        // no quantity can land on the wrong product.
        if (found)
            form.focusGridQuantity();
    });
}

// A build empties TABREV1 for every station: quantities typed into it, here
// or at another counter, go only when the clerk says so, counted as they
// stand in the database now. typed: the count the clerk agreed to erase.
bool mayEraseTypedQuantities(const ListTotals &typed)
{
    if (typed.labels <= 0)
        return true;
    const QString labels = BrLocale::formatDecimalText(QString::number(typed.labels), QStringLiteral("#,##0"));
    return Messages::ask(QStringLiteral("A lista tem %1 %2 em %3 %4. Montar a lista de novo apaga essas quantidades, "
                                        "também nas outras estações. Continuar?")
                             .arg(labels, typed.labels == 1 ? QStringLiteral("etiqueta digitada") : QStringLiteral("etiquetas digitadas"))
                             .arg(typed.products)
                             .arg(typed.products == 1 ? QStringLiteral("produto") : QStringLiteral("produtos")));
}

void listShown(TFormSelvarra &form);
void listBuilt(TFormSelvarra &form, const std::shared_ptr<ListBuildRun> &run);

// The build on the worker: counted, waited for in line, counted again under
// the lock, built. Typed quantities nobody agreed to erase come back here, the
// lock let go, and are asked about on the window's thread; a yes builds again
// with that count, so a count that grows while the clerk waits is asked again.
void startListBuild(TFormSelvarra &form, std::shared_ptr<ListBuildRun> run, std::optional<ListTotals> agreed)
{
    auto outcome = std::make_shared<ListBuildJob::Outcome>();
    JobWorker::Job job;
    job.database = form.DM->SQLConnection1->DataBase();
    job.work = [form = &form, outcome, agreed, station = RunValues::StationCode](JobWorker::Context &context) {
        WorkerBuildDisplay display(context, form);
        *outcome = ListBuildJob::run(context.dm, station, agreed, context, display);
    };
    job.waiting = [&form, run](const QString &text, int seconds) {
        if (!run->wait)
            run->wait = std::make_unique<JobWaitPanel>(form);
        run->wait->waiting(text, seconds);
    };
    job.done = [&form, run, outcome](std::exception_ptr failure) {
        run->wait.reset();
        const bool ok = guarded([&] {
            if (failure)
                std::rethrow_exception(failure);
        });
        if (!ok)
            return run->end();
        if (!outcome->needsConsent)
            return listBuilt(form, run);
        if (!mayEraseTypedQuantities(outcome->typed))
            return run->end();
        startListBuild(form, run, outcome->typed);
    };
    form.jobWorker()->run(std::move(job));
}

// The new list, read off the window's thread like every read of it, is shown
// once the build's controls are back.
void listBuilt(TFormSelvarra &form, const std::shared_ptr<ListBuildRun> &run)
{
    form.listReads()->open(ProductListBuilder::listStatement(), [&form, run](const BackgroundRead::Result &read) {
        run->end();
        if (read.failed) {
            Messages::show(QStringLiteral("A lista nova foi montada, mas não pôde ser aberta: %1")
                               .arg(ListReads::failureText(read, false)));
            return;
        }
        guarded([&form] {
            form.DM->TabRev1->First();
            form.showListPanel();
            try {
                form.ReselectCurrentModel();
            } catch (const DatabaseError &error) {
                // The window's own attachment was dropped while the build ran
                // on its own (a server restarted): the next statement makes it
                // again, and the models are read once more.
                if (!isConnectionFailure(error))
                    throw;
                form.ReselectCurrentModel();
            }
            listShown(form);
            form.updateListTotals();
        });
    });
}

// The row the database refused to store, as it was typed.
struct RefusedQuantity
{
    QString codigo;
    QString produto;
    QString quantidade;
};

// True when the error says the list holds a change the database refused:
// another station built the list again (the row is gone, or was being
// replaced while it was written) or the server would not take it.
bool listChangeRefused(TDM *dm, const SelvarError &error)
{
    return dm && dynamic_cast<const DatabaseError *>(&error) == nullptr && dm->TabRev1->Active()
           && dm->TabRev1->ChangeCount() > 0;
}

RefusedQuantity refusedRow(ClientDataSet &list)
{
    return {list.FieldByName(QStringLiteral("CODIGO")).AsString(), list.FieldByName(QStringLiteral("COMPONENTE")).AsString(),
            list.FieldByName(QStringLiteral("QDE")).AsString()};
}

// The refused change is dropped and the list read as the database holds it
// now, the cursor on the same product when it is still there; the clerk is
// told which quantity to type again, and the line under the search boxes
// keeps it in sight.
void tellRefusedQuantity(TFormSelvarra &form, const RefusedQuantity &refused)
{
    ClientDataSet &list = *form.DM->TabRev1;
    list.CancelUpdates();
    const int codigo = list.FieldByName(QStringLiteral("CODIGO")).Index();
    int row = list.RecordCount() - 1;
    while (row >= 0 && list.valueAt(row, codigo).toString() != refused.codigo)
        --row;
    if (row >= 0)
        list.setRecNo(row + 1);
    form.LabelPesquisa->setText(
        QStringLiteral("Não gravada: quantidade %1 de %2").arg(refused.quantidade, refused.produto));
    Messages::show(row >= 0 ? QStringLiteral("A lista foi montada de novo por outra estação; a quantidade %1 de %2 não "
                                             "foi gravada. Digite-a de novo na lista atual.")
                                  .arg(refused.quantidade, refused.produto)
                            : QStringLiteral("A lista foi montada de novo por outra estação e %1 não está mais nela; a "
                                             "quantidade %2 não foi gravada.")
                                  .arg(refused.produto, refused.quantidade));
}

// A list just shown starts with no search message and no print line of an
// earlier list, and with the focus where the selection shows.
void listShown(TFormSelvarra &form)
{
    form.LabelPesquisa->clear();
    form.showPrintOutcome(QString());
    form.focusGridQuantity();
}

} // namespace

void TFormSelvarra::BotSelvarProdRevClick()
{
    if (!m_counter->admit(Counter::Input::Build, [this] { BotSelvarProdRevClick(); }))
        return;
    guarded([this] {
        if (!DM || !m_jobWorker || m_jobWorker->busy())
            return;
        // A reopen still reading gives way: the list shown next is the build's.
        m_listReads->cancel();
        startListBuild(*this, std::make_shared<ListBuildRun>(*this), std::nullopt);
    });
}

void TFormSelvarra::btnConfigEtiqClick()
{
    if (!m_counter->admit(Counter::Input::Reopen, [this] { btnConfigEtiqClick(); }))
        return;
    guarded([this] {
        if (!DM || !postListEdit())
            return;
        // The list as TABREV1 holds it, in the order of the last build or search.
        m_listReads->open(DM->SQLDS_TabRev1->CommandText(), [this](const BackgroundRead::Result &read) {
            if (read.failed) {
                Messages::show(ListReads::failureText(read, false));
                return;
            }
            DM->TabRev1->First();
            showListPanel();
            ReselectCurrentModel();
            listShown(*this);
            if (read.reconnected)
                LabelPesquisa->setText(ProductSearch::connectionRemadeNotice());
            updateListTotals();
        });
    });
}

void TFormSelvarra::EditPesqCompChange()
{
    searchChanged(*this, ProductSearch::Column::Componente, EditPesqComp);
}

void TFormSelvarra::EditPesqCodChange()
{
    searchChanged(*this, ProductSearch::Column::Codigo, EditPesqCod);
}

void TFormSelvarra::EditPesqCompKeyPress(QKeyEvent *event)
{
    searchKeyPress(*this, event, ProductSearch::Column::Componente, EditPesqComp);
}

void TFormSelvarra::EditPesqCodKeyPress(QKeyEvent *event)
{
    searchKeyPress(*this, event, ProductSearch::Column::Codigo, EditPesqCod);
}

void TFormSelvarra::DBLCB1Change(int index)
{
    if (!m_counter->admit(Counter::Input::ModelBox, [this, index] { DBLCB1Change(index); }))
        return;
    guarded([this] { postListEdit(); });
    guarded([this, index] {
        if (ModelLookup *lookup = modelLookup(*this, false))
            lookup->choose(index);
    });
}

void TFormSelvarra::ReselectCurrentModel()
{
    if (!DM)
        return;
    modelLookup(*this, true);
    CurrentModel::reselect(*DM, DBLCB1);
}

bool TFormSelvarra::postListEdit()
{
    const QModelIndex cell = DBGrid1->currentIndex();
    if (QWidget *editor = DBGrid1->indexWidget(cell)) {
        QAbstractItemDelegate *delegate = DBGrid1->itemDelegate();
        const bool refused = !refusal(*this, editor, cell).isEmpty();
        emit delegate->commitData(editor); // a refused text gets the column's message here
        if (refused) {
            if (DBGrid1->indexWidget(cell) == editor)
                editor->setFocus();
            return false;
        }
        emit delegate->closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
    if (DM && DM->TabRev1->Active()
        && (DM->TabRev1->state() == ClientDataSet::State::Edit || DM->TabRev1->state() == ClientDataSet::State::Insert)) {
        try {
            DM->TabRev1->Post();
        } catch (const SelvarError &error) {
            if (!listChangeRefused(DM, error))
                throw;
            tellRefusedQuantity(*this, refusedRow(*DM->TabRev1));
            return false;
        }
    }
    return true;
}

void TFormSelvarra::focusAfterPrint()
{
    // Where the clerk goes on: the search box last used, else the quantity.
    // Never the model box, where an arrow key or the wheel would change the
    // label stock of the next print.
    if (m_lastSearchBox && m_lastSearchBox->isEnabled() && m_lastSearchBox->isVisible()) {
        m_lastSearchBox->setFocus();
        m_lastSearchBox->selectAll();
    } else {
        focusGridQuantity();
    }
}

void TFormSelvarra::showPrintOutcome(const QString &text)
{
    // A PDF path may be longer than the line: its middle gives way, the whole
    // text stays in the tooltip.
    LabelImpressao->setToolTip(text);
    LabelImpressao->setText(LabelImpressao->fontMetrics().elidedText(text, Qt::ElideMiddle, LabelImpressao->width()));
}

void TFormSelvarra::connectListHandlers()
{
    // The grid's editors check what is typed before it reaches the list.
    auto *delegate = new ListGridDelegate(DBGrid1);
    DBGrid1->setItemDelegate(delegate);
    connect(delegate, &QAbstractItemDelegate::closeEditor, this,
            [this](QWidget *editor, QAbstractItemDelegate::EndEditHint hint) { gridEditorClosed(editor, hint); });
    connect(delegate, &ListGridDelegate::codeRead, this, [this](const QString &code) { m_codeRead = code; });
    connect(delegate, &ListGridDelegate::quantityDeclined, this, [this](const QString &typed) { m_declinedQuantity = typed; });
    // Moving to another row stores the row left; a refusal of it is told as
    // the list's, once the grid has finished moving.
    DBGrid1Model->setErrorHandler([this](const SelvarError &error) {
        if (!listChangeRefused(DM, error)) {
            Messages::show(userMessage(error));
            return;
        }
        const RefusedQuantity refused = refusedRow(*DM->TabRev1);
        QTimer::singleShot(0, this, [this, refused] {
            guarded([this, &refused] {
                if (DM && DM->TabRev1->Active() && DM->TabRev1->ChangeCount() > 0)
                    tellRefusedQuantity(*this, refused);
            });
        });
    });
    connect(qApp, &QApplication::focusChanged, this, &TFormSelvarra::listFocusChanged);
    connect(DBGrid1Model, &QAbstractItemModel::modelReset, this, &TFormSelvarra::scheduleListTotals);
    connect(DBGrid1Model, &QAbstractItemModel::dataChanged, this, &TFormSelvarra::scheduleListTotals);
    markGridFocus(*this, false);
}

void TFormSelvarra::connectListWrites()
{
    connect(m_listWrites, &ListWrites::writingChanged, m_counter,
            [counter = m_counter](bool writing) { counter->setBusy(Counter::Activity::QuantityWrite, writing); });
    connect(m_listWrites, &ListWrites::refused, this,
            [this](const QString &codigo, const QString &produto, const QString &quantidade) {
                guarded([&] {
                    if (DM && DM->TabRev1->Active())
                        tellRefusedQuantity(*this, {codigo, produto, quantidade});
                });
            });
    connect(m_listWrites, &ListWrites::failed, this, [](const QString &message) { Messages::show(message); });
}

void TFormSelvarra::listFocusChanged(QWidget *old, QWidget *now)
{
    // Message boxes and other windows take the focus only for a moment; the
    // list keeps its edit until the clerk moves inside this window.
    if (!now || now->window() != this)
        return;
    // Qt marks the focus only after a Tab; the clerk needs to see it after a
    // click or a search too.
    setAttribute(Qt::WA_KeyboardFocusChange);
    const bool wasInGrid = isWithin(old, DBGrid1);
    const bool nowInGrid = isWithin(now, DBGrid1);
    if (nowInGrid && !wasInGrid)
        m_searchOrigin = (old == EditPesqComp || old == EditPesqCod) ? static_cast<QLineEdit *>(old) : nullptr;
    if (wasInGrid != nowInGrid)
        markGridFocus(*this, nowInGrid);
    focusRing(*this)->setVisible(now == DBLCB1);
    if (wasInGrid && !nowInGrid)
        guarded([this] { postListEdit(); });
}

void TFormSelvarra::gridEditorClosed(QWidget *editor, int hint)
{
    const QString code = std::exchange(m_codeRead, QString());
    const QString declined = std::exchange(m_declinedQuantity, QString());
    if (!code.isEmpty()) {
        codeReadInQuantity(code, hint == QAbstractItemDelegate::SubmitModelCache);
        return;
    }
    // The delegate submits only for Enter in the cell; moving to another row
    // posts by itself, and Escape reverts the cell alone.
    if (hint != QAbstractItemDelegate::SubmitModelCache)
        return;
    const QModelIndex cell = DBGrid1->currentIndex();
    if (!declined.isEmpty() || !refusal(*this, editor, cell).isEmpty()) {
        // The message or question has been answered; the clerk gets the text
        // back to mend it.
        const QString typed = static_cast<QLineEdit *>(editor)->text();
        DBGrid1->edit(cell);
        if (auto *again = qobject_cast<QLineEdit *>(DBGrid1->indexWidget(cell))) {
            again->setText(typed);
            again->selectAll();
        }
        return;
    }
    if (!guarded([this] { postListEdit(); }))
        return;
    // Quantity typed: back to the search box for the next product.
    if (cell.column() == 0 && m_searchOrigin) {
        m_searchOrigin->setFocus();
        m_searchOrigin->selectAll();
    }
}

void TFormSelvarra::codeReadInQuantity(const QString &code, bool goThere)
{
    // A code read into "Qtde." is where the scanner meant the code box: with
    // Enter the cursor goes to the product it names, as the code box would
    // take it; the quantity of the row it was read into stays as it was.
    guarded([&] {
        if (!DM)
            return;
        if (!goThere) {
            LabelPesquisa->setText(QStringLiteral("O código %1 foi lido em \"Qtde.\" e não virou quantidade.").arg(code));
            return;
        }
        bool found = false;
        const QString note = ProductSearch::locate(*DM, ProductSearch::Column::Codigo, code, &found);
        if (!found) {
            LabelPesquisa->setText(note + QStringLiteral("; a quantidade não mudou"));
            return;
        }
        const QString product = DM->TabRev1->FieldByName(QStringLiteral("COMPONENTE")).AsString();
        LabelPesquisa->setText(note.isEmpty() ? QStringLiteral("O código %1 foi lido em \"Qtde.\": o cursor está em %2.")
                                                    .arg(code, product)
                                              : note);
        focusGridQuantity();
    });
}

void TFormSelvarra::scheduleListTotals()
{
    // Counted once the burst of changes is over: a post re-reads the list.
    if (m_totalsPending)
        return;
    m_totalsPending = true;
    QTimer::singleShot(0, this, &TFormSelvarra::updateListTotals);
}

void TFormSelvarra::updateListTotals()
{
    m_totalsPending = false;
    // A build posts thousands of rows while the panel is hidden; they are
    // counted once, when the list shows.
    if (!DM || !PainelSelvarra->isVisible() || !m_mainActionsEnabled)
        return;
    try {
        // Rows just read were counted by the thread that read them.
        const std::optional<ListTotals> read = m_listReads ? m_listReads->totals() : std::nullopt;
        LabelTotais->setText(DM->TabRev1->Active() ? (read ? *read : ListTotals::of(*DM->TabRev1)).text() : QString());
    } catch (...) {
        // Only a count on the screen: the next operation reports a database that fails.
    }
}
