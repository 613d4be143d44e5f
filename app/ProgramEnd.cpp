#include "ProgramEnd.h"

namespace {
bool g_requested = false;
}

namespace ProgramEnd {

void request()
{
    g_requested = true;
}

bool requested()
{
    return g_requested;
}

void reset()
{
    g_requested = false;
}

} // namespace ProgramEnd
