#pragma once

#include <algorithm>

// The ranges the printer makers' references give for the parameters our
// writers compute. The writers keep to them; the readers take a value outside
// them as the printer does, and say so.

struct ParameterRange
{
    int low = 0;
    int high = 0;

    bool holds(int value) const { return value >= low && value <= high; }
    int clamped(int value) const { return std::clamp(value, low, high); }
};

// ZPL II Programming Guide, "^BQ QR Code Bar Code", c = magnification factor:
// "Accepted Values: 1 to 10. Default Value: 1 on 150 dpi printers, 2 on 200
// dpi printers, 3 on 300 dpi printers, 6 on 600 dpi printers". Its
// introduction: a parameter out of range is not taken, and "the default
// value for that parameter is used".
constexpr ParameterRange ZplQrMagnification{1, 10};
inline int zplQrDefaultMagnification(int dpi)
{
    return dpi >= 600 ? 6 : dpi >= 300 ? 3 : dpi >= 200 ? 2 : 1;
}

// "^BY Bar Code Field Default", w = module width (in dots): "Accepted
// Values: 1 to 10. Initial Value at power-up: 2".
constexpr ParameterRange ZplModuleWidth{1, 10};
constexpr int ZplModuleWidthInitial = 2;

// "^A Scalable/Bitmapped Font", h = character height (in dots): "Accepted
// Values: 10 to 32000".
constexpr ParameterRange ZplFontHeight{10, 32000};

// "^FO Field Origin", x and y: "Accepted Values: 0 to 32000. Default Value: 0".
constexpr ParameterRange ZplFieldOrigin{0, 32000};

// EPL2 Programmer's Manual, "B Command - Bar Code", p5 = narrow bar width
// (dots): the bar code table gives 1 to 10 for the symbologies we write.
// EPL2 takes no parameter out of range: the printer rejects the line.
constexpr ParameterRange Epl2NarrowBar{1, 10};

// "A Command" and "B Command", p3 = rotation: "0 = normal (no rotation),
// 1 = 90 degrees, 2 = 180 degrees, 3 = 270 degrees".
constexpr ParameterRange Epl2Rotation{0, 3};
