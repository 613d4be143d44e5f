#pragma once

#include "BarCodeTipo.h"

#include <QList>
#include <QString>

// Everything the barcode control draws, worked out from its text, its symbology
// and its geometry before a single pixel is touched, so the control, the
// command-line tool and the tests all see the same symbol.

struct BarcodeGeometry {
    int esquerda = 10;   // x of the first module, and the margin kept after the last
    int legendaPos = 11; // x of the first legend piece where the symbology uses it
    int moduleWidth = 1; // w, pixels per module
};

// A piece of the human-readable line, written with its top-left corner at x.
struct LegendPiece {
    QString text;
    int x = 0;
    bool operator==(const LegendPiece &) const = default;
};

// A run of modules drawn 12 pixels longer (EAN/UPC guards), numbered from 1.
struct ModuleRun {
    int first = 0;
    int last = 0;
};

struct BarcodePlan {
    QString modules;
    QList<ModuleRun> longModules;
    QList<LegendPiece> legend;
    int esquerda = 0;
    int moduleWidth = 1;

    bool isLong(int moduleNumber) const;
    int moduleX(int moduleNumber) const { return esquerda + (moduleNumber - 1) * moduleWidth; }
    // The control's width once painted: the modules with the left margin on both sides.
    int width() const { return 2 * esquerda + int(modules.size()) * moduleWidth; }
};

// How many pixels longer than ordinary bars the EAN/UPC guard bars reach down.
inline constexpr int GuardExtension = 12;

BarcodePlan PlanBarcode(TBarCodeTipo tipo, const QString &texto, const BarcodeGeometry &geometry);
