// The ready-made product list: building it, reopening it, searching it, and the
// current label model in the drop-down list above it.
#include "TFormSelvarra.h"

#include "CurrentModel.h"
#include "DataSetModel.h"
#include "ListGridDelegate.h"
#include "ListTotals.h"
#include "Messages.h"
#include "ModelLookup.h"
#include "ProductListBuilder.h"
#include "ProductSearch.h"
#include "RunValues.h"
#include "SearchTyping.h"
#include "SuiteJob.h"
#include "TDM.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTimer>

namespace {

// A build shows its log in mmo1 and its progress in Gauge1, and lets the window
// breathe after every product so the bar moves and the window repaints.
class WindowBuildDisplay : public ListBuildDisplay
{
public:
    explicit WindowBuildDisplay(TFormSelvarra &form) : m_form(form) {}
    void logClear() override { m_form.logClear(); }
    void logAppend(const QString &line) override { m_form.logAppend(line); }
    void loadingBegin(int maximum) override { m_form.loadingBegin(maximum); }
    void loadingSetValue(int value) override { m_form.loadingSetValue(value); }
    void loadingEnd() override { m_form.loadingEnd(); }
    void processEvents() override { QCoreApplication::processEvents(); }
    bool cancelRequested() override { return m_form.jobCancelRequested(); }

private:
    TFormSelvarra &m_form;
};

// The main panel's actions stay inactive while a build runs, since the window
// processes events meanwhile; they come back however the build ends.
class BuildInProgress
{
public:
    explicit BuildInProgress(TFormSelvarra &form) : m_form(form)
    {
        m_form.setMainActionsEnabled(false);
        m_form.setJobRunning(true);
    }
    ~BuildInProgress()
    {
        m_form.loadingEnd();
        m_form.setJobRunning(false);
        m_form.setMainActionsEnabled(true);
    }
    BuildInProgress(const BuildInProgress &) = delete;
    BuildInProgress &operator=(const BuildInProgress &) = delete;

private:
    TFormSelvarra &m_form;
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

SearchTyping &searchTyping(TFormSelvarra &form)
{
    auto *typing = form.findChild<SearchTyping *>(QString(), Qt::FindDirectChildrenOnly);
    return typing ? *typing : *new SearchTyping(&form);
}

void searchChanged(TFormSelvarra &form, ProductSearch::Column column, QLineEdit *box)
{
    guarded([&] {
        if (!form.DM)
            return;
        searchTyping(form).changed(box, [&form, column, box](const std::function<bool()> &keepGoing) {
            if (!form.postListEdit())
                return;
            const ProductSearch::Reread reread = ProductSearch::reload(*form.DM, column, box->text(), keepGoing);
            // An abandoned read says nothing: the one for the newer text follows.
            if (reread.done || !reread.notice.isEmpty())
                form.LabelPesquisa->setText(reread.notice);
        });
    });
}

void searchKeyPress(TFormSelvarra &form, QKeyEvent *event, ProductSearch::Column column, const QLineEdit *box)
{
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
        const QString notFound = ProductSearch::locate(*form.DM, column, box->text().left(ProductSearch::kEnterLength));
        form.LabelPesquisa->setText(notFound);
        // Nothing found: the clerk stays in the box to correct the text, and
        // no quantity can land on the wrong product.
        if (notFound.isEmpty())
            form.focusGridQuantity();
    });
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
    guarded([this] {
        if (!DM)
            return;
        {
            const std::unique_ptr<SuiteJob> job = takeJobLock(SuiteJob::Kind::ListBuild);
            const BuildInProgress building(*this);
            WindowBuildDisplay display(*this);
            ProductListBuilder(*DM, display).run(*job);
        }
        showListPanel();
        ReselectCurrentModel();
        listShown(*this);
        updateListTotals();
    });
}

void TFormSelvarra::btnConfigEtiqClick()
{
    guarded([this] {
        if (!DM)
            return;
        // The list as TABREV1 holds it, in the order of the last build or search.
        DM->TabRev1->Open();
        DM->TabRev1->First();
        showListPanel();
        ReselectCurrentModel();
        listShown(*this);
        updateListTotals();
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
        && (DM->TabRev1->state() == ClientDataSet::State::Edit || DM->TabRev1->state() == ClientDataSet::State::Insert))
        DM->TabRev1->Post();
    return true;
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
    connect(qApp, &QApplication::focusChanged, this, &TFormSelvarra::listFocusChanged);
    connect(DBGrid1Model, &QAbstractItemModel::modelReset, this, &TFormSelvarra::scheduleListTotals);
    connect(DBGrid1Model, &QAbstractItemModel::dataChanged, this, &TFormSelvarra::scheduleListTotals);
    markGridFocus(*this, false);
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
    // The delegate submits only for Enter in the cell; moving to another row
    // posts by itself, and Escape reverts the cell alone.
    if (hint != QAbstractItemDelegate::SubmitModelCache)
        return;
    const QModelIndex cell = DBGrid1->currentIndex();
    if (!refusal(*this, editor, cell).isEmpty()) {
        // The message has been shown; the clerk gets the text back to mend it.
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
        LabelTotais->setText(DM->TabRev1->Active() ? ListTotals::of(*DM->TabRev1).text() : QString());
    } catch (...) {
        // Only a count on the screen: the next operation reports a database that fails.
    }
}
