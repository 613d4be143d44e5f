// The ready-made product list: building it, reopening it, searching it and the
// current label model. These handlers come with the product-list work; until
// then they do nothing.
#include "TFormSelvarra.h"

#include <QKeyEvent>

void TFormSelvarra::BotSelvarProdRevClick()
{
}

void TFormSelvarra::btnConfigEtiqClick()
{
}

void TFormSelvarra::EditPesqCompChange()
{
}

void TFormSelvarra::EditPesqCodChange()
{
}

void TFormSelvarra::EditPesqCompKeyPress(QKeyEvent *)
{
}

void TFormSelvarra::EditPesqCodKeyPress(QKeyEvent *)
{
}

void TFormSelvarra::DBLCB1Change(int)
{
}

void TFormSelvarra::ReselectCurrentModel()
{
}
