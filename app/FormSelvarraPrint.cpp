// Printing the list: the label job, the choice of output and the margins step
// of the fixed sheet layouts. These come with the printing work; until then they
// do nothing.
#include "TFormSelvarra.h"

void TFormSelvarra::btnEtiqSemPrecoClick()
{
}

void TFormSelvarra::MarginsStep()
{
}
