#include "ListGridDelegate.h"

#include "ClientDataSet.h"
#include "DataSetModel.h"
#include "DataSource.h"
#include "Decimal.h"
#include "EanCheck.h"
#include "Field.h"
#include "Messages.h"
#include "BrLocale.h"
#include "ProductSearch.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolTip>

const Field *ListGridDelegate::fieldOf(const QModelIndex &index)
{
    const auto *model = qobject_cast<const DataSetModel *>(index.model());
    if (!model || !model->dataSet() || index.column() < 0 || index.column() >= model->columns().size())
        return nullptr;
    return model->dataSet()->FindField(model->columns().at(index.column()).field);
}

QWidget *ListGridDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
    const Field *field = fieldOf(index);
    if (auto *line = qobject_cast<QLineEdit *>(editor); line && field && field->def().type == FieldType::Text
                                                         && field->def().size > 0)
        line->setMaxLength(field->def().size);
    m_keys = Keys();
    return editor;
}

bool ListGridDelegate::eventFilter(QObject *object, QEvent *event)
{
    // The delegate watches its editors; the first key of an entry reaches the
    // editor through here too, sent on by the grid that opened it.
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        noteKey(key->key(), key->text());
    }
    return QStyledItemDelegate::eventFilter(object, event);
}

void ListGridDelegate::noteKey(int key, const QString &text)
{
    if (!m_clock.isValid())
        m_clock.start();
    const qint64 now = m_clock.elapsed();
    const bool quick = m_keys.lastAt >= 0 && now - m_keys.lastAt <= kScannerGapMs;
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        m_keys.burst = m_keys.characters >= kScannerMinimum && m_keys.quick && quick;
    } else if (!text.isEmpty() && text.at(0).isPrint()) {
        if (m_keys.characters > 0 && !quick)
            m_keys.quick = false;
        ++m_keys.characters;
    } else {
        m_keys.quick = false; // a correction: a hand at work
    }
    m_keys.lastAt = now;
}

QString ListGridDelegate::largeQuantityQuestion(const QString &quantity, const QString &product)
{
    return QStringLiteral("Confirma %1 etiquetas de %2?").arg(quantity, product);
}

namespace {

// "1.234", "1.234,5": the quantity as the counter writes numbers.
QString brazilianQuantity(const Decimal &value)
{
    const QString text = value.toShortString();
    const QString whole = BrLocale::formatDecimalText(text.section(QLatin1Char(','), 0, 0), QStringLiteral("#,##0"));
    const QString fraction = text.section(QLatin1Char(','), 1, 1);
    return fraction.isEmpty() ? whole : whole + QLatin1Char(',') + fraction;
}

ClientDataSet *listOf(const QModelIndex &index)
{
    const auto *model = qobject_cast<const DataSetModel *>(index.model());
    return model ? model->dataSet() : nullptr;
}

} // namespace

bool ListGridDelegate::codeInQuantity(const QString &typed, const QModelIndex &index) const
{
    const bool burst = std::exchange(m_keys.burst, false);
    ClientDataSet *list = listOf(index);
    const QString text = typed.trimmed();
    if (!list || text.isEmpty() || !(burst || ProductSearch::isProductEan(*list, text)))
        return false;
    emit const_cast<ListGridDelegate *>(this)->codeRead(text);
    return true;
}

bool ListGridDelegate::largeQuantityDeclined(const QString &typed, const Field &quantity, const QModelIndex &index) const
{
    Decimal value;
    ClientDataSet *list = listOf(index);
    if (!list || !Decimal::parse(typed.trimmed(), quantity.def().scale, &value) || !(Decimal(kConfirmAbove, 0) < value))
        return false;
    const QString product = list->valueAt(index.row(), list->FieldByName(QStringLiteral("COMPONENTE")).Index()).toString();
    m_asking = true;
    const bool confirmed = Messages::ask(largeQuantityQuestion(brazilianQuantity(value), product));
    m_asking = false;
    if (!confirmed)
        emit const_cast<ListGridDelegate *>(this)->quantityDeclined(typed);
    return !confirmed;
}

QString ListGridDelegate::numberProblem(const Field &field, const QString &columnTitle, const QString &text)
{
    const FieldDef &def = field.def();
    if (def.type != FieldType::Decimal || text.trimmed().isEmpty())
        return QString();
    // Numbers are typed the Brazilian way, with a decimal comma. A point is not
    // read as a thousands mark nor as a decimal point: "1.000" would be one
    // thousand to one user and one to another, so it is refused, not guessed.
    Decimal value;
    bool fits = !text.contains(QLatin1Char('.')) && Decimal::parse(text, def.scale, &value);
    if (fits && def.size > 0) {
        // A decimal(15,3) holds at most 12 digits before the point.
        qint64 limit = 1;
        for (int i = 0; i < def.size && limit < Q_INT64_C(1000000000000000000); ++i)
            limit *= 10;
        fits = value.units() < limit && value.units() > -limit;
    }
    if (fits)
        return QString();
    return QStringLiteral("\"%1\" não é um valor válido para a coluna \"%2\". Digite um número, por exemplo 3 ou 2,5.")
        .arg(text, columnTitle);
}

void ListGridDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    // A commit that comes while a message or question is open (the box took
    // the focus from the editor) waits for it: one box is enough.
    if (m_refusing || m_asking)
        return;
    const auto *line = qobject_cast<const QLineEdit *>(editor);
    const Field *field = fieldOf(index);
    if (line && field) {
        const bool quantity = field->FieldName() == QLatin1String("QDE");
        if (quantity && codeInQuantity(line->text(), index))
            return;
        const QString title = model->headerData(index.column(), Qt::Horizontal, Qt::DisplayRole).toString();
        const QString problem = numberProblem(*field, title, line->text());
        if (!problem.isEmpty()) {
            m_refusing = true;
            Messages::show(problem);
            m_refusing = false;
            return;
        }
        if (quantity && largeQuantityDeclined(line->text(), *field, index))
            return;
    }
    QStyledItemDelegate::setModelData(editor, model, index);
}

QString ListGridDelegate::eanWarning(const QModelIndex &index)
{
    const Field *field = fieldOf(index);
    if (!field || field->def().name != QLatin1String("CODIGOEAN"))
        return QString();
    const QString problem = EanProblem(index.data(Qt::EditRole).toString());
    return problem.isEmpty() ? QString() : QStringLiteral("Código EAN inválido: %1.").arg(problem);
}

void ListGridDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (eanWarning(index).isEmpty())
        return;
    // Red also on the selected row, where the text is drawn on the highlight.
    option->palette.setColor(QPalette::Text, Qt::red);
    option->palette.setColor(QPalette::HighlightedText, QColor(255, 170, 170));
}

bool ListGridDelegate::helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                                 const QModelIndex &index)
{
    if (event && event->type() == QEvent::ToolTip) {
        const QString warning = eanWarning(index);
        if (!warning.isEmpty()) {
            QToolTip::showText(event->globalPos(), warning, view);
            return true;
        }
    }
    return QStyledItemDelegate::helpEvent(event, view, option, index);
}
