#include "ScreenColor.h"

QColor windowsColor(int value, const QPalette &palette)
{
    if (value >= 0)
        return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
    // System colours carry their index in the low byte.
    switch (value & 0xFF) {
    case 1: // desktop
        return palette.color(QPalette::Dark);
    case 5: // window background
        return palette.color(QPalette::Base);
    case 13: // highlight
        return palette.color(QPalette::Highlight);
    case 24: // tooltip background
        return palette.color(QPalette::ToolTipBase);
    default: // button face and the rest
        return palette.color(QPalette::Button);
    }
}
