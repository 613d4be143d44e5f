// The quantities typed into the list: stored, a refusal told, and a code
// that a scanner read into "Qtde." taken where it was meant to go.
#include "ListFlow.h"

#include "DatabaseErrors.h"
#include "Guarded.h"
#include "ListScreen.h"
#include "Messages.h"
#include "SelvarError.h"
#include "TDM.h"

#include <QTimer>

bool ListFlow::postListEdit()
{
    if (!m_screen.commitGridEdit())
        return false;
    ClientDataSet &list = *m_dm.TabRev1;
    if (list.Active() && (list.state() == ClientDataSet::State::Edit || list.state() == ClientDataSet::State::Insert)) {
        try {
            list.Post();
        } catch (const SelvarError &error) {
            if (!listChangeRefused(error))
                throw;
            tellRefusedQuantity(refusedRow());
            return false;
        }
    }
    return true;
}

void ListFlow::storeFailed(const SelvarError &error)
{
    if (!listChangeRefused(error)) {
        Messages::show(userMessage(error));
        return;
    }
    const RefusedQuantity refused = refusedRow();
    QTimer::singleShot(0, this, [this, refused] {
        guarded([this, &refused] {
            if (m_dm.TabRev1->Active() && m_dm.TabRev1->ChangeCount() > 0)
                tellRefusedQuantity(refused);
        });
    });
}

// True when the error says the list holds a change the database refused:
// another station built the list again (the row is gone, or was being
// replaced while it was written) or the server would not take it.
bool ListFlow::listChangeRefused(const SelvarError &error) const
{
    return dynamic_cast<const DatabaseError *>(&error) == nullptr && m_dm.TabRev1->Active()
           && m_dm.TabRev1->ChangeCount() > 0;
}

// The row the database refused to store, as it was typed.
ListFlow::RefusedQuantity ListFlow::refusedRow() const
{
    ClientDataSet &list = *m_dm.TabRev1;
    return {list.FieldByName(QStringLiteral("CODIGO")).AsString(), list.FieldByName(QStringLiteral("COMPONENTE")).AsString(),
            list.FieldByName(QStringLiteral("QDE")).AsString()};
}

// The refused change is dropped and the list read as the database holds it
// now, the cursor on the same product when it is still there; the clerk is
// told which quantity to type again, and the line under the search boxes
// keeps it in sight.
void ListFlow::tellRefusedQuantity(const RefusedQuantity &refused)
{
    ClientDataSet &list = *m_dm.TabRev1;
    list.CancelUpdates();
    const int codigo = list.FieldByName(QStringLiteral("CODIGO")).Index();
    int row = list.RecordCount() - 1;
    while (row >= 0 && list.valueAt(row, codigo).toString() != refused.codigo)
        --row;
    if (row >= 0)
        list.setRecNo(row + 1);
    m_screen.showSearchLine(QStringLiteral("Não gravada: quantidade %1 de %2").arg(refused.quantidade, refused.produto));
    Messages::show(row >= 0 ? QStringLiteral("A lista foi montada de novo por outra estação; a quantidade %1 de %2 não "
                                             "foi gravada. Digite-a de novo na lista atual.")
                                  .arg(refused.quantidade, refused.produto)
                            : QStringLiteral("A lista foi montada de novo por outra estação e %1 não está mais nela; a "
                                             "quantidade %2 não foi gravada.")
                                  .arg(refused.produto, refused.quantidade));
}

void ListFlow::codeRead(const QString &code, bool goThere)
{
    // A code read into "Qtde." is where the scanner meant the code box: with
    // Enter the cursor goes to the product it names, as the code box would
    // take it; the quantity of the row it was read into stays as it was.
    guarded([&] {
        if (!goThere) {
            m_screen.showSearchLine(QStringLiteral("O código %1 foi lido em \"Qtde.\" e não virou quantidade.").arg(code));
            return;
        }
        bool found = false;
        const QString note = ProductSearch::locate(m_dm, ProductSearch::Column::Codigo, code, &found);
        if (!found) {
            m_screen.showSearchLine(note + QStringLiteral("; a quantidade não mudou"));
            return;
        }
        const QString product = m_dm.TabRev1->FieldByName(QStringLiteral("COMPONENTE")).AsString();
        m_screen.showSearchLine(note.isEmpty() ? QStringLiteral("O código %1 foi lido em \"Qtde.\": o cursor está em %2.")
                                                     .arg(code, product)
                                               : note);
        m_screen.focusGridQuantity();
    });
}
