// The product list's side of the window: the grid's editors and focus marks,
// the search boxes' keys, and the lines and panels the list flow shows. The
// flow (flows/ListFlow) does the work; the counter says when.
#include "TFormSelvarra.h"

#include "Counter.h"
#include "DataSource.h" // before DataSetModel.h, which needs it whole
#include "DataSetModel.h"
#include "DatabaseErrors.h"
#include "JobWaitPanel.h"
#include "ListFlow.h"
#include "ListGrid.h"
#include "Messages.h"
#include "PacedLog.h"
#include "SelvarError.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableView>

#include <utility>

namespace {

// The build log's lines go into mmo1 a slice at a time.
PacedLog &buildLog(QPlainTextEdit *memo)
{
    auto *log = memo->findChild<PacedLog *>(QString(), Qt::FindDirectChildrenOnly);
    return log ? *log : *new PacedLog(memo);
}

bool isWithin(const QWidget *widget, const QWidget *container)
{
    for (; widget; widget = widget->parentWidget()) {
        if (widget == container)
            return true;
    }
    return false;
}

// The model box draws no focus mark in the window's style; a ring in the
// colour of a selection shows around it while it has the focus, so a key
// meant for the list is never sent to it unseen.
QWidget *focusRing(QWidget *panel, QComboBox *box)
{
    auto *ring = panel->findChild<QWidget *>(QStringLiteral("DBLCB1Foco"), Qt::FindDirectChildrenOnly);
    if (!ring) {
        ring = new QWidget(panel);
        ring->setObjectName(QStringLiteral("DBLCB1Foco"));
        ring->setAutoFillBackground(true);
        QPalette p = ring->palette();
        p.setColor(QPalette::Window, QApplication::palette(box).color(QPalette::Active, QPalette::Highlight));
        ring->setPalette(p);
        ring->setGeometry(box->geometry().adjusted(-2, -2, 2, 2));
        ring->stackUnder(box);
        ring->hide();
    }
    return ring;
}

// Escape clears a box that has text (in an empty one it is the window's);
// true for Enter, which the box does not get, so no beep.
bool searchBoxEnter(QKeyEvent *event, QLineEdit *box)
{
    if (event->key() == Qt::Key_Escape && !box->text().isEmpty()) {
        event->accept();
        box->clear();
        return false;
    }
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return false;
    event->accept();
    return true;
}

} // namespace

void TFormSelvarra::BotSelvarProdRevClick()
{
    if (m_counter->admit(Counter::Input::Build, [this] { BotSelvarProdRevClick(); }) && m_listFlow)
        m_listFlow->build();
}

void TFormSelvarra::btnConfigEtiqClick()
{
    if (m_counter->admit(Counter::Input::Reopen, [this] { btnConfigEtiqClick(); }) && m_listFlow)
        m_listFlow->reopen();
}

void TFormSelvarra::EditPesqCompChange()
{
    if (m_listFlow)
        m_listFlow->searchChanged(ProductSearch::Column::Componente);
}

void TFormSelvarra::EditPesqCodChange()
{
    if (m_listFlow)
        m_listFlow->searchChanged(ProductSearch::Column::Codigo);
}

void TFormSelvarra::EditPesqCompKeyPress(QKeyEvent *event)
{
    if (searchBoxEnter(event, EditPesqComp) && m_listFlow)
        m_listFlow->searchEnter(ProductSearch::Column::Componente);
}

void TFormSelvarra::EditPesqCodKeyPress(QKeyEvent *event)
{
    if (searchBoxEnter(event, EditPesqCod) && m_listFlow)
        m_listFlow->searchEnter(ProductSearch::Column::Codigo);
}

void TFormSelvarra::DBLCB1Change(int index)
{
    if (m_counter->admit(Counter::Input::ModelBox, [this, index] { DBLCB1Change(index); }) && m_listFlow)
        m_listFlow->chooseModel(index);
}

bool TFormSelvarra::postListEdit()
{
    return m_listFlow ? m_listFlow->postListEdit() : commitGridEdit();
}

void TFormSelvarra::updateListTotals()
{
    if (m_listFlow)
        m_listFlow->updateTotals();
}

bool TFormSelvarra::commitGridEdit()
{
    return DBGrid1->commitEdit();
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

void TFormSelvarra::showPrintLine(const QString &text)
{
    // A PDF path may be longer than the line: its middle gives way, the whole
    // text stays in the tooltip.
    LabelImpressao->setToolTip(text);
    LabelImpressao->setText(LabelImpressao->fontMetrics().elidedText(text, Qt::ElideMiddle, LabelImpressao->width()));
}

void TFormSelvarra::showSearchLine(const QString &text)
{
    LabelPesquisa->setText(text);
}

void TFormSelvarra::showTotals(const QString &text)
{
    LabelTotais->setText(text);
}

QString TFormSelvarra::searchText(ProductSearch::Column column) const
{
    return (column == ProductSearch::Column::Codigo ? EditPesqCod : EditPesqComp)->text();
}

bool TFormSelvarra::listPanelShown() const
{
    return PainelSelvarra->isVisible();
}

void TFormSelvarra::hideListPanel()
{
    PainelSelvarra->hide();
}

void TFormSelvarra::buildLogClear()
{
    buildLog(mmo1).clear();
}

void TFormSelvarra::buildLogAppend(const QString &lines)
{
    buildLog(mmo1).append(lines);
}

void TFormSelvarra::buildLogFlush()
{
    buildLog(mmo1).flush();
}

void TFormSelvarra::waitingInLine(const QString &text, int seconds)
{
    if (!m_wait)
        m_wait = std::make_unique<JobWaitPanel>(*this);
    m_wait->waiting(text, seconds);
}

void TFormSelvarra::connectListHandlers()
{
    connect(DBGrid1, &ListGrid::codeRead, this, [this](const QString &code, bool withEnter) {
        if (m_listFlow)
            m_listFlow->codeRead(code, withEnter);
    });
    connect(DBGrid1, &ListGrid::entered, this, &TFormSelvarra::quantityEntered);
    // Moving to another row stores the row left; the flow tells a refusal.
    DBGrid1Model->setErrorHandler([this](const SelvarError &error) {
        if (m_listFlow)
            m_listFlow->storeFailed(error);
        else
            Messages::show(userMessage(error));
    });
    connect(qApp, &QApplication::focusChanged, this, &TFormSelvarra::listFocusChanged);
    const auto countAgain = [this] {
        if (m_listFlow)
            m_listFlow->scheduleTotals();
    };
    connect(DBGrid1Model, &QAbstractItemModel::modelReset, this, countAgain);
    connect(DBGrid1Model, &QAbstractItemModel::dataChanged, this, countAgain);
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
        DBGrid1->markFocus(nowInGrid);
    focusRing(PainelSelvarra, DBLCB1)->setVisible(now == DBLCB1);
    if (wasInGrid && !nowInGrid)
        guarded([this] { postListEdit(); });
}

void TFormSelvarra::quantityEntered(int column)
{
    if (!guarded([this] { postListEdit(); }))
        return;
    // Quantity typed: back to the search box for the next product.
    if (column == 0 && m_searchOrigin) {
        m_searchOrigin->setFocus();
        m_searchOrigin->selectAll();
    }
}
