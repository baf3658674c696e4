#include "palette/RecentColors.h"

RecentStep RecentColorsRule(bascommon::ColorValue color, bool recentOnDisplay,
                            bascommon::ColorValue lastCellColor)
{
    const int rgb = color & 0xFFFFFF;
    const bool remembered = rgb != 0x000000 && rgb != 0xFFFFFF;
    if (!recentOnDisplay)
        return {remembered, false};
    const bool added = remembered && color != lastCellColor;
    return {added, added};
}
