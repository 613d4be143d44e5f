#pragma once

#include "ListBuild.h"
#include "ProductSearch.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class Counter;
class JobWorker;
class ListReads;
class ListScreen;
class ListWrites;
class QComboBox;
class SelvarError;
class TDM;

// The ready-made product list as the clerk works it: built, reopened,
// searched, quantities stored (and a refused one told), a code read into
// "Qtde.", the totals under it, the current model chosen and reselected, the
// list closed. The counter decides whether an input runs; this acts on it.
// It sees the window only as a ListScreen and reads nothing on the window's
// thread but what the list holds.
class ListFlow : public QObject
{
    Q_OBJECT
public:
    struct Parts
    {
        TDM &dm;
        Counter &counter;
        ListReads &reads;
        ListWrites &writes;
        JobWorker &worker;
        QComboBox &modelBox; // DBLCB1, the current-model lookup once the list shows
    };

    // Quantities posted to the list are stored through parts.writes and read
    // back through parts.reads from now on.
    ListFlow(ListScreen &screen, Parts parts, QObject *parent = nullptr);
    ~ListFlow() override;

    // "Códigos de Barras de Produtos Prontos".
    void build();
    // The list as TABREV1 holds it, in the order of the last build or search.
    void reopen();
    // "Fech&ar": the quantity just typed is stored first; a refused one keeps
    // the list open to be typed again.
    void closeList();
    // The window's close: true when what is typed is stored and it may go.
    // Otherwise it stays; a quantity on its way is waited for and closeAgain
    // called, and a refusal keeps the window once, so a lost database never
    // holds it open.
    bool windowMayClose(std::function<void()> closeAgain);

    // A search box's text changed: the list read again in its order, the
    // cursor on the text as it stands when the rows come.
    void searchChanged(ProductSearch::Column column);
    // Enter in a search box: to the found product's "Qtde.".
    void searchEnter(ProductSearch::Column column);

    // Stores what is typed in the grid (an open cell editor, then the row)
    // before anything reads the list again, moves in it or leaves it. False,
    // with the message shown, when the typed text cannot be stored.
    bool postListEdit();
    // A row the grid stored on moving failed: a refusal of the list's is told
    // once the grid has finished moving, anything else as it is.
    void storeFailed(const SelvarError &error);
    // A code read into "Qtde." (a scanner aimed at the code box): with Enter
    // the cursor goes to the product it names.
    void codeRead(const QString &code, bool goThere);

    // The model box's choice becomes the current model.
    void chooseModel(int index);
    // The model list read again, the box on the current model and focused.
    void reselectModel();

    // The totals counted once a burst of changes is over.
    void scheduleTotals();
    void updateTotals();

private:
    struct RefusedQuantity
    {
        QString codigo;
        QString produto;
        QString quantidade;
    };
    void listBuilt(const std::shared_ptr<ListBuildRun> &run);
    void listShown();
    bool listChangeRefused(const SelvarError &error) const;
    RefusedQuantity refusedRow() const;
    void tellRefusedQuantity(const RefusedQuantity &refused);

    ListScreen &m_screen;
    TDM &m_dm;
    Counter &m_counter;
    ListReads &m_reads;
    ListWrites &m_writes;
    QComboBox &m_modelBox;
    ListBuild m_build;
    bool m_totalsPending = false;
    bool m_closeRefused = false; // a close refused once because the list could not be stored
};
