#include "palette/RecentColors.h"

#include <gtest/gtest.h>

namespace
{

struct Case {
    bascommon::ColorValue color;
    bool recentOnDisplay;
    bascommon::ColorValue lastCell;
    bool append, reshow;
};

TEST(RecentColors, RememberedUnlessBlackWhiteOrTakenFromTheRecentPaletteItself)
{
    const Case cases[] = {
        {0x336699, false, 0x336699, true, false}, // elsewhere, even the last cell's color
        {0x000000, false, 0x123456, false, false},
        {0xFFFFFF, false, 0x123456, false, false},
        {0x336699, true, 0x123456, true, true},   // on display: added and shown from page 1
        {0x336699, true, 0x336699, false, false}, // clicked in the recent palette itself
        {0x000000, true, 0x123456, false, false},
        {0x01000000, false, 0, false, false}, // stray high bits do not make black a color
    };
    for (const Case& c : cases) {
        const RecentStep step = RecentColorsRule(c.color, c.recentOnDisplay, c.lastCell);
        EXPECT_EQ(step.append, c.append) << std::hex << c.color << " " << c.recentOnDisplay;
        EXPECT_EQ(step.reshow, c.reshow) << std::hex << c.color << " " << c.recentOnDisplay;
    }
}

} // namespace
