#pragma once

#include "color/bascommon.h"

// What the recent-colors palette does with a new current color.
struct RecentStep {
    bool append = false; // add the color to the end of "recent.rgb"
    bool reshow = false; // show the recent palette again at page 1
};

// The recent-colors rule. Black and white are never remembered. While the recent palette is on
// display, a color taken from one of its own cells (`lastCellColor`) is not added again, and
// after an addition the palette is shown again from page 1. `recentOnDisplay` means the
// palette on display is the recent palette itself (its index entry has the recent kind and
// names the recent file), wherever it stands in the chooser.
RecentStep RecentColorsRule(bascommon::ColorValue color, bool recentOnDisplay,
                            bascommon::ColorValue lastCellColor);
