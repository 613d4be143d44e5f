#pragma once

#include <QString>

// Code 128 the way a label printer encodes it when told to pick the subsets
// itself: runs of four or more digits go in pairs (subset C), control
// characters through subset A, everything else through subset B, with the
// code-change symbols in between. Characters above 127 are dropped. The module
// string (P bar, B space) holds start, data, check and stop, no quiet zones.
QString ModulosCode128Auto(const QString &texto);
