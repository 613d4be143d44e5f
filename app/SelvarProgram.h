#pragma once

#include <memory>

class TDM;
class TFormSelvarra;

// One run of the program: the main window, then the seven hidden layout windows,
// then the data module, each step able to end the program before the next.
class SelvarProgram
{
public:
    SelvarProgram();
    ~SelvarProgram();

    // False when start-up decided that the program ends (no INI file, no station).
    bool start();

    TFormSelvarra *form() const { return m_form.get(); }
    TDM *dataModule() const { return m_dm.get(); }

private:
    // Declared in this order so the window goes before the data module it shows.
    std::unique_ptr<TDM> m_dm;
    std::unique_ptr<TFormSelvarra> m_form;
};
