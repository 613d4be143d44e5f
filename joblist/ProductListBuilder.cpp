#include "ProductListBuilder.h"

#include "ListStatements.h"
#include "SelvarError.h"
#include "SuiteJob.h"
#include "TDM.h"

#include <QStringBuilder>

namespace {

// Keeps the grid bound to TabRev1 from reading the list again after every post
// while the build runs; the re-read then waits until the list is next looked at.
class ControlsDisabled
{
public:
    explicit ControlsDisabled(ClientDataSet *dataSet) : m_dataSet(dataSet) { m_dataSet->DisableControls(); }
    ~ControlsDisabled() { m_dataSet->EnableControls(); }
    ControlsDisabled(const ControlsDisabled &) = delete;
    ControlsDisabled &operator=(const ControlsDisabled &) = delete;

private:
    ClientDataSet *m_dataSet;
};

Field &field(ClientDataSet *dataSet, const char *name)
{
    return dataSet->FieldByName(QLatin1String(name));
}

} // namespace

// The columns a build reads and writes, looked up once: a list of thousands of
// products would otherwise search the components' 63 fields by name for each.
struct ProductListBuilder::Columns
{
    explicit Columns(TDM &dm)
        : codigo(field(dm.Componentes, "CODIGO")), componente(field(dm.Componentes, "COMPONENTE")),
          dcb(field(dm.Componentes, "DCB")), precoR(field(dm.Componentes, "PrecoR")),
          listCodigo(field(dm.TabRev1, "Codigo")), listCodigoEan(field(dm.TabRev1, "CodigoEAN")),
          listComponente(field(dm.TabRev1, "Componente")), listPreco1(field(dm.TabRev1, "Preco1"))
    {
    }
    Field &codigo, &componente, &dcb, &precoR;                            // of a component
    Field &listCodigo, &listCodigoEan, &listComponente, &listPreco1; // of its list row
};

QString ProductListBuilder::listStatement()
{
    return ListStatements::tabRev1OrderedBy(QStringLiteral("COMPONENTE, CODIGO"));
}

void ProductListBuilder::run(SuiteJob &job, ReadBack readBack)
{
    m_productsRead = 0;
    m_rowsRefused = 0;
    m_rowsStored = 0;
    job.Begin();
    try {
        startList();
        readProducts();
        {
            const ControlsDisabled quiet(m_dm.TabRev1);
            storeProducts();
            m_display.loadingEnd();
            // Closing here drops a refused row of the last product, which nobody else will take.
            m_dm.TabRev1->Close();
        }
        job.Commit();
    } catch (...) {
        // What the data sets hold was never committed: none of it may be shown.
        m_dm.TabRev1->Close();
        m_dm.Componentes->Close();
        m_display.loadingEnd();
        job.RollbackAndRethrow(QStringLiteral("A lista anterior foi mantida."));
    }
    if (readBack == ReadBack::Yes)
        readListBack();
    else
        m_dm.Componentes->Close();
}

void ProductListBuilder::startList()
{
    m_dm.TabRev1->Close();
    m_dm.SQLDS_TabRev1->setCommandText(listStatement());
    m_dm.SQLConnection1->ExecuteDirect(QStringLiteral("delete from TABREV1"));
    m_dm.TabRev1->Open();
}

void ProductListBuilder::readProducts()
{
    m_dm.Componentes->Close();
    m_dm.SQLDS_Compon->setCommandText(ListStatements::resaleComponents());
    m_dm.Componentes->Open();
}

void ProductListBuilder::flushLog()
{
    if (m_logLines.isEmpty())
        return;
    m_display.logAppend(m_logLines.join(QLatin1Char('\n')));
    m_logLines.clear();
}

void ProductListBuilder::storeProducts()
{
    // Whatever stops the build, the lines already written reach the log.
    struct Flush { ProductListBuilder *b; ~Flush() { b->flushLog(); } } flushAtExit{this};
    ClientDataSet *products = m_dm.Componentes;
    products->First();
    m_display.logClear();
    m_display.loadingBegin(products->RecordCount());
    const Columns columns(m_dm);
    m_sinceReport.start();
    while (!products->Eof()) {
        // Every product counts on the bar, also those skipped for want of a name.
        ++m_productsRead;
        const QString nome = columns.componente.AsString();
        if (!nome.isEmpty())
            storeProduct(columns, nome);
        products->Next();
        if (m_productsRead == 1 || products->Eof() || m_sinceReport.elapsed() >= kReportMs)
            report();
    }
}

// The display gets the products counted so far and the log lines written since
// the last report. Doing that after every product doubled the time of each
// committed insert (the database and the window take turns on the same core),
// so it happens a few dozen times a second instead: no slower to the eye. The
// first product is shown at once, and the bar ends on the last one as before.
void ProductListBuilder::report()
{
    flushLog();
    m_display.loadingSetValue(m_productsRead);
    m_sinceReport.restart();
    if (m_display.cancelRequested())
        throw JobCancelled(QStringLiteral("Montagem da lista cancelada."));
}

void ProductListBuilder::storeProduct(const Columns &columns, const QString &nome)
{
    ClientDataSet *list = m_dm.TabRev1;
    const QString dcb = columns.dcb.AsString();

    // A refused row stays pending in the list (or, refused before it reached the
    // change log, still being inserted); a new row cannot start then, so this
    // product takes that row over and replaces all of its values.
    if (list->ChangeCount() > 0 || list->state() != ClientDataSet::State::Browse) {
        log(QStringLiteral("vou dar o edit pq o componente já existe"));
        list->Edit();
    } else {
        list->Append();
    }
    const QString produto = QStringLiteral("Código: ") % dcb % QStringLiteral("  Componente: ") % nome;
    log(produto);
    log(QStringLiteral("CódigoEAN: ") % dcb % QStringLiteral("  Preco: ") % columns.precoR.AsString());

    columns.listCodigo.setAsString(columns.codigo.AsString());
    columns.listCodigoEan.setAsString(dcb);
    columns.listComponente.setAsString(nome);
    columns.listPreco1.setValue(columns.precoR.Value());
    try {
        list->Post();
        ++m_rowsStored;
    } catch (const DatabaseError &) {
        // The database itself failed (a lost connection): that ends the build.
        throw;
    } catch (const SelvarError &) {
        ++m_rowsRefused;
        log(QStringLiteral("Componente com nome e código duplicado."));
        log(produto);
    }
}

void ProductListBuilder::readListBack()
{
    m_dm.Componentes->Close();
    m_dm.TabRev1->Open();
    m_dm.TabRev1->First();
}
