#pragma once

#include <QStringList>

// The instructions the "Ver instruções" button shows, line by line.
QStringList instructionsText();
