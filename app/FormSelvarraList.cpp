// The ready-made product list: building it, reopening it, searching it, and the
// current label model in the drop-down list above it.
#include "TFormSelvarra.h"

#include "CurrentModel.h"
#include "ListGridDelegate.h"
#include "Messages.h"
#include "ModelLookup.h"
#include "ProductListBuilder.h"
#include "ProductSearch.h"
#include "RunValues.h"
#include "SuiteJob.h"
#include "TDM.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableView>

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

// The grid's editors check what is typed before it reaches the list.
void prepareListGrid(TFormSelvarra &form)
{
    if (!qobject_cast<ListGridDelegate *>(form.DBGrid1->itemDelegate()))
        form.DBGrid1->setItemDelegate(new ListGridDelegate(form.DBGrid1));
}

void searchChanged(TFormSelvarra &form, ProductSearch::Column column, const QLineEdit *box)
{
    guarded([&] {
        if (form.DM)
            ProductSearch::reload(*form.DM, column, box->text());
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
        const QString message = ProductSearch::enter(*form.DM, column, box->text());
        if (!message.isEmpty()) {
            Messages::show(message);
            return;
        }
        form.focusGridQuantity();
    });
}

} // namespace

void TFormSelvarra::BotSelvarProdRevClick()
{
    guarded([this] {
        if (!DM)
            return;
        {
            SuiteJob job(*DM->SQLConnection1, RunValues::StationCode, SuiteJob::Kind::ListBuild);
            const BuildInProgress building(*this);
            WindowBuildDisplay display(*this);
            ProductListBuilder(*DM, display).run(job);
        }
        prepareListGrid(*this);
        showListPanel();
        ReselectCurrentModel();
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
        prepareListGrid(*this);
        showListPanel();
        ReselectCurrentModel();
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
