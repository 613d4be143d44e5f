#pragma once

#include <QElapsedTimer>
#include <QStyledItemDelegate>

class Field;

// The cell editors of the product list grid. A text cell takes no more
// characters than its column holds ("Código EAN": 13). A number cell checks
// what was typed before it reaches the row: a text that is not a number, or
// one the column cannot hold, is refused with a message in Portuguese and the
// cell keeps its value, so nothing else typed in the row is lost. Numbers take
// a decimal comma only, as the Brazilian settings write them. A "Código EAN"
// that would not print as stored shows in red, its tooltip saying why.
//
// "Qtde." takes quantities, not codes: a barcode scanned while it has the focus
// would otherwise become a label count. An entry that equals a product's EAN,
// or that came as a scanner types (every key within a few milliseconds of the
// last, then Enter), is not stored: the cell keeps its value and codeRead tells
// the window, which goes to that product. A quantity above 999 is stored only
// once the clerk confirms it.
class ListGridDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // Keys further apart than this were typed by hand.
    static constexpr int kScannerGapMs = 50;
    // A scanned code has at least this many characters.
    static constexpr int kScannerMinimum = 4;
    // Quantities above this are confirmed first.
    static constexpr int kConfirmAbove = 999;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;

    // The message for a text refused by a number column, or empty when it fits.
    static QString numberProblem(const Field &field, const QString &columnTitle, const QString &text);

    // The tooltip of a "Código EAN" cell whose number would not print as stored, or empty.
    static QString eanWarning(const QModelIndex &index);

    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                   const QModelIndex &index) override;

    // "Confirma 1.234 etiquetas de Creme dental?"
    static QString largeQuantityQuestion(const QString &quantity, const QString &product);

signals:
    // A code arrived in "Qtde."; the cell kept its value.
    void codeRead(const QString &code);
    // The clerk did not confirm a large quantity; the cell kept its value.
    void quantityDeclined(const QString &typed);

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    static const Field *fieldOf(const QModelIndex &index);
    bool codeInQuantity(const QString &typed, const QModelIndex &index) const;
    bool largeQuantityDeclined(const QString &typed, const Field &quantity, const QModelIndex &index) const;
    void noteKey(int key, const QString &text);

    mutable bool m_refusing = false;
    mutable bool m_asking = false;

    // How the keys of the open editor arrived.
    struct Keys
    {
        qint64 lastAt = -1; // ms on m_clock
        int characters = 0;
        bool quick = true;  // every key so far within kScannerGapMs of the one before
        bool burst = false; // ended with Enter as a scanner ends
    };
    mutable Keys m_keys;
    QElapsedTimer m_clock;
};
