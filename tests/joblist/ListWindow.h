#pragma once

#include "AppFixture.h"

#include <QObject>
#include <QSemaphore>
#include <QStringList>
#include <QVariant>
#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>

class JobWorker;
class ListReads;
class QLineEdit;
class TDM;
class TFormSelvarra;

// The program started on a suite of its own, its window shown, with three
// label models ("02" current) and whatever products a test adds.
class ListWindow
{
public:
    static const QStringList &modelDescriptions(); // models 01, 02, 03

    // False when the program could not start.
    bool start(const QString &currentModel = QStringLiteral("02"));

    AppFixture app;
    TFormSelvarra *form();
    TDM *dm();

    void addProduct(const QString &codigo, const QVariant &componente, const QVariant &dcb, const QVariant &precor,
                    const QString &grupo = QStringLiteral("REV"));
    // Resale products at R$ 10 each, written as a test lists them.
    struct ShelfProduct
    {
        const char *codigo;
        const char *name; // UTF-8
        const char *ean;
    };
    template <std::size_t N>
    void addProducts(const ShelfProduct (&products)[N])
    {
        for (const ShelfProduct &p : products)
            addProduct(QString::fromLatin1(p.codigo), QString::fromUtf8(p.name), QString::fromLatin1(p.ean),
                       QStringLiteral("10"));
    }

    // Clicks "Códigos de Barras de Produtos Prontos" and waits until the build
    // has ended and the list it left is read.
    void clickBuild();
    bool waitForBuild(); // false if the build did not end within two minutes
    void clickReopen(); // and waits for the list to be read
    // Waits until the list's reads and the input waiting for them are done;
    // false if they were not within a minute.
    bool settle();
    void clickClose();

    QStringList log();
    // TABREV1 as stored: CODIGO, COMPONENTE, QDE, CODIGOEAN, PRECO1 as texts, by CODIGO.
    QStringList storedList();
    QString storedQuantity(const QString &codigo); // TABREV1's QDE of that row, as text
    QString gridText(int row, int column);
    QString currentProduct(); // COMPONENTE of TabRev1's current row

    // Types into a cell through the grid's own editor and commits it with Enter.
    void typeInCell(int row, int column, const QString &text);
    // Opens the cell's editor and types into it, leaving it open; null without an editor.
    QLineEdit *startTyping(int row, int column, const QString &text);
    // Moves the grid to another row, which stores the row being left.
    void goToRow(int row);
    // Opens the model box's list with Alt+Down and picks the first model whose
    // description begins with the text, as a clerk does with the keyboard.
    void chooseModel(const QString &beginning);
};

// Holds every read of the window's list at its start until the test lets it
// go, so that what a test does next surely comes during a read.
class HeldReads
{
public:
    explicit HeldReads(TFormSelvarra *form);
    ~HeldReads();
    int begun() const { return m_begun.load(); }
    bool waitBegun(int count); // false if that many reads did not begin within a minute
    void letGo() { m_gate.release(1000); }

private:
    ListReads *m_reads;
    QSemaphore m_gate;
    std::atomic<int> m_begun{0};
};

// Holds the list build on its worker once it has stored `atStep` products,
// until the test lets it go: what the test does meanwhile surely comes during
// the build. `onRelease` runs on the worker as it goes on.
class HeldBuild
{
public:
    HeldBuild(TFormSelvarra *form, int atStep);
    ~HeldBuild();
    bool waitReached(); // false if the build did not get there within a minute
    void letGo(std::function<void()> onRelease = {})
    {
        m_onRelease = std::move(onRelease);
        m_gate.release(1);
    }

private:
    JobWorker *m_worker;
    QSemaphore m_gate;
    std::atomic<bool> m_reached{false};
    std::function<void()> m_onRelease;
};

// A test with a fresh window for each test function.
class ListWindowTest : public QObject
{
    Q_OBJECT
protected:
    std::unique_ptr<ListWindow> w;

protected slots:
    void init();
    void cleanup() { w.reset(); }
};
