#include "ListGridDelegate.h"

#include "ClientDataSet.h"
#include "DataSetModel.h"
#include "DataSource.h"
#include "Decimal.h"
#include "EanCheck.h"
#include "Field.h"
#include "Messages.h"

#include <QAbstractItemView>
#include <QHelpEvent>
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
    return editor;
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
    const auto *line = qobject_cast<QLineEdit *>(editor);
    const Field *field = fieldOf(index);
    if (line && field) {
        const QString title = model->headerData(index.column(), Qt::Horizontal, Qt::DisplayRole).toString();
        const QString problem = numberProblem(*field, title, line->text());
        if (!problem.isEmpty()) {
            // The message box takes the focus from the editor, which asks to be
            // committed once more; one message is enough.
            if (!m_refusing) {
                m_refusing = true;
                Messages::show(problem);
                m_refusing = false;
            }
            return;
        }
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
