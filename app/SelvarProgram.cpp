#include "SelvarProgram.h"

#include "DataModuleCreate.h"
#include "FixedLayouts.h"
#include "Guarded.h"
#include "ProgramEnd.h"
#include "RunValues.h"
#include "TDM.h"
#include "TFormSelvarra.h"

SelvarProgram::SelvarProgram() = default;

SelvarProgram::~SelvarProgram() = default;

bool SelvarProgram::start()
{
    ProgramEnd::reset();
    RunValues::reset();

    m_form = std::make_unique<TFormSelvarra>();
    if (ProgramEnd::requested())
        return false;

    // An error while a window or the data module is created is reported and the
    // creation goes on.
    guarded([this] { m_form->layoutWindows = createFixedLayoutWindows(m_form.get()); });

    m_dm = std::make_unique<TDM>();
    m_form->attachDataModule(m_dm.get());
    guarded([this] { DataModuleCreate(*m_dm, *m_form); });
    return !ProgramEnd::requested();
}
