#pragma once

#include "color/bascommon.h"

#include <QString>

// What other windows read of the current color when they open: the preview color and the
// texts of txtrgb, txtr, txtg and txtb exactly as the boxes show them.
struct CurrentColorTexts {
    bascommon::ColorValue color = 0xFFFFFF;
    QString hexRgb, r, g, b;
};
