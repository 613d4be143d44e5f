#pragma once

#include <QStyledItemDelegate>

class Field;

// The cell editors of the product list grid. A text cell takes no more
// characters than its column holds ("Código EAN": 13). A number cell checks
// what was typed before it reaches the row: a text that is not a number, or
// one the column cannot hold, is refused with a message in Portuguese and the
// cell keeps its value, so nothing else typed in the row is lost. Numbers take
// a decimal comma only, as the Brazilian settings write them. A "Código EAN"
// that would not print as stored shows in red, its tooltip saying why.
class ListGridDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;

    // The message for a text refused by a number column, or empty when it fits.
    static QString numberProblem(const Field &field, const QString &columnTitle, const QString &text);

    // The tooltip of a "Código EAN" cell whose number would not print as stored, or empty.
    static QString eanWarning(const QModelIndex &index);

    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                   const QModelIndex &index) override;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

private:
    static const Field *fieldOf(const QModelIndex &index);

    mutable bool m_refusing = false;
};
