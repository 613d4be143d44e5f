#pragma once

#include <QString>

// What each input of the clerk may do while the station is busy with
// something: the one table the counter decides by. No widget, no database:
// the state and the input in, the verdict out.
namespace CounterPolicy {

// What the station is doing now; several at once are possible (a print's
// hand-over goes on while the list is read).
enum class Activity : unsigned {
    ListRead = 1u << 0,      // the rows of the list are being read
    QuantityWrite = 1u << 1, // a typed quantity is on its way to the database
    Build = 1u << 2,         // "Códigos de Barras de Produtos Prontos"
    PrintJob = 1u << 3,      // "Etiquetas com preços", from the click to the job read back
    HandOver = 1u << 4,      // command files going to the printer
    History = 1u << 5,       // "Preços alterados", "Histórico", "Repetir" at work
};

class Activities
{
public:
    Activities() = default;
    Activities(Activity one) : m_bits(unsigned(one)) {}
    Activities operator|(Activity other) const { return Activities(m_bits | unsigned(other)); }
    bool has(Activity one) const { return (m_bits & unsigned(one)) != 0; }
    void set(Activity one, bool on) { m_bits = on ? (m_bits | unsigned(one)) : (m_bits & ~unsigned(one)); }
    bool none() const { return m_bits == 0; }

private:
    explicit Activities(unsigned bits) : m_bits(bits) {}
    unsigned m_bits = 0;
};

// Every kind of input the window forwards.
enum class Input {
    SearchText,   // a key that only edits a search box's text
    SearchKey,    // any other key or click in a search box (Enter, arrows)
    Grid,         // a key or click in the grid: a quantity, a move
    StartLabel,   // a key or click in "Etiq. Inicial"
    ModelBox,     // the model box, opened or chosen in
    Print,        // "Etiquetas com preços"
    CloseList,    // "Fech&ar"
    HistoryAction,// "Preços alterados", "Histórico"
    Build,        // "Códigos de Barras de Produtos Prontos"
    Reopen,       // the button that shows the list TABREV1 holds
    CloseWindow,  // "Sair", Escape, the window's close box
    Cancel,       // "Cancelar", Escape while a job runs
};

enum class Verdict { Take, Hold, Refuse };

struct Decision
{
    Verdict verdict = Verdict::Take;
    QString reason; // in Portuguese, when refused
};

// holding: inputs already wait, so a later one waits behind them.
Decision decide(Activities busy, bool holding, Input input);

// The line under the search boxes while input waits.
QString holdingText();

} // namespace CounterPolicy
