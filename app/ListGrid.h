#pragma once

#include <QTableView>

class DataSetModel;

// The product list's grid (DBGrid1): "Qtde.", "Produto", "Código EAN" and
// "Preço" over TABREV1, its current row the data set's current row. Its
// editors check what is typed before it reaches the list; a text a number
// column refuses, or a large quantity the clerk did not confirm, comes back
// into the cell to be mended. The current cell looks selected only while the
// grid has the focus, so the highlighted cell is always where typing goes.
class ListGrid : public QTableView
{
    Q_OBJECT
public:
    ListGrid(QWidget *parent, DataSetModel *model);

    // The open cell editor's text goes into the row; false, with the
    // column's message shown and the editor kept, when the column refuses it.
    bool commitEdit();
    // The data set's current row, first column, focused.
    void focusCurrentRow();
    void markFocus(bool focused);

signals:
    // Enter in a cell whose text the column took: the row is to be stored.
    void entered(int column);
    // A code the "Qtde." editor did not take as a quantity; `withEnter`: it
    // ended with Enter, as a scanner ends a code.
    void codeRead(const QString &code, bool withEnter);

private:
    void editorClosed(QWidget *editor, int hint);
    QString refusal(const QWidget *editor, const QModelIndex &cell) const;

    DataSetModel *m_model;
    QString m_codeRead;         // a code the "Qtde." editor did not take as a quantity
    QString m_declinedQuantity; // a large quantity the clerk did not confirm
};
