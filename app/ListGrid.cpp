#include "ListGrid.h"

#include "DataSource.h" // before DataSetModel.h, which needs it whole
#include "DataSetModel.h"
#include "ListGridDelegate.h"

#include <QApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLineEdit>

#include <utility>

ListGrid::ListGrid(QWidget *parent, DataSetModel *model) : QTableView(parent), m_model(model)
{
    setObjectName(QStringLiteral("DBGrid1"));
    setGeometry(9, 160, 603, 232);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    verticalHeader()->setDefaultSectionSize(18);
    model->setObjectName(QStringLiteral("DBGrid1Model"));
    model->setColumns({
        {QStringLiteral("Qtde."), QStringLiteral("QDE"), 32, false},
        {QStringLiteral("Produto"), QStringLiteral("COMPONENTE"), 241, true},
        {QStringLiteral("Código EAN"), QStringLiteral("CODIGOEAN"), 194, false},
        {QStringLiteral("Preço"), QStringLiteral("PRECO1"), 64, false},
    });
    setModel(model);
    for (int c = 0; c < model->columns().size(); ++c)
        horizontalHeader()->resizeSection(c, model->columns()[c].width);
    // Moving off an edited row posts it, and a cursor moved by code shows here.
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, model, [model](const QModelIndex &current) {
        if (current.isValid())
            model->setCurrentRow(current.row());
    });
    connect(model, &DataSetModel::currentRowChanged, this, [this, model](int row) {
        const QModelIndex current = currentIndex();
        if (row >= 0 && row < model->rowCount() && current.row() != row)
            setCurrentIndex(model->index(row, current.isValid() ? current.column() : 0));
    });

    auto *delegate = new ListGridDelegate(this);
    setItemDelegate(delegate);
    connect(delegate, &QAbstractItemDelegate::closeEditor, this,
            [this](QWidget *editor, QAbstractItemDelegate::EndEditHint hint) { editorClosed(editor, hint); });
    connect(delegate, &ListGridDelegate::codeRead, this, [this](const QString &code) { m_codeRead = code; });
    connect(delegate, &ListGridDelegate::quantityDeclined, this, [this](const QString &typed) { m_declinedQuantity = typed; });
    markFocus(false);
}

QString ListGrid::refusal(const QWidget *editor, const QModelIndex &cell) const
{
    const auto *line = qobject_cast<const QLineEdit *>(editor);
    ClientDataSet *list = m_model->dataSet();
    if (!line || !list || !cell.isValid() || cell.column() >= m_model->columns().size())
        return QString();
    const DataSetModel::Column &column = m_model->columns().at(cell.column());
    const Field *field = list->FindField(column.field);
    return field ? ListGridDelegate::numberProblem(*field, column.title, line->text()) : QString();
}

bool ListGrid::commitEdit()
{
    const QModelIndex cell = currentIndex();
    QWidget *editor = indexWidget(cell);
    if (!editor)
        return true;
    QAbstractItemDelegate *delegate = itemDelegate();
    const bool refused = !refusal(editor, cell).isEmpty();
    emit delegate->commitData(editor); // a refused text gets the column's message here
    if (refused) {
        if (indexWidget(cell) == editor)
            editor->setFocus();
        return false;
    }
    emit delegate->closeEditor(editor, QAbstractItemDelegate::NoHint);
    return true;
}

void ListGrid::focusCurrentRow()
{
    viewport()->update();
    const int row = m_model->dataSet() && m_model->dataSet()->Active() ? m_model->dataSet()->RecNo() - 1 : -1;
    if (row >= 0)
        setCurrentIndex(m_model->index(row, 0));
    setFocus();
}

void ListGrid::markFocus(bool focused)
{
    QPalette p = palette();
    const QPalette standard = QApplication::palette(this);
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(group, QPalette::Highlight, focused ? standard.color(group, QPalette::Highlight) : QColor(212, 212, 212));
        p.setColor(group, QPalette::HighlightedText,
                   focused ? standard.color(group, QPalette::HighlightedText) : standard.color(group, QPalette::Text));
    }
    setPalette(p);
}

void ListGrid::editorClosed(QWidget *editor, int hint)
{
    const QString code = std::exchange(m_codeRead, QString());
    const QString declined = std::exchange(m_declinedQuantity, QString());
    if (!code.isEmpty()) {
        emit codeRead(code, hint == QAbstractItemDelegate::SubmitModelCache);
        return;
    }
    // The delegate submits only for Enter in the cell; moving to another row
    // posts by itself, and Escape reverts the cell alone.
    if (hint != QAbstractItemDelegate::SubmitModelCache)
        return;
    const QModelIndex cell = currentIndex();
    if (!declined.isEmpty() || !refusal(editor, cell).isEmpty()) {
        // The message or question has been answered; the clerk gets the text
        // back to mend it.
        const QString typed = static_cast<QLineEdit *>(editor)->text();
        edit(cell);
        if (auto *again = qobject_cast<QLineEdit *>(indexWidget(cell))) {
            again->setText(typed);
            again->selectAll();
        }
        return;
    }
    emit entered(cell.column());
}
