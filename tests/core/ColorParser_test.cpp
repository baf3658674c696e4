#include "color/ColorParser.h"

#include <gtest/gtest.h>

#include <string>

using bascommon::RGB;

namespace
{

struct Accepted {
    const char* text;
    bascommon::ColorValue color;
};

// Beyond the forms the program writes itself, which the whole-cube read-back in ColorForms_test
// covers: other cases, spacing, quotes, percentages, angles, alpha and names.
const Accepted accepted[] = {
    {"#ffa1cc", RGB(255, 161, 204)},
    {"ffa1cc", RGB(255, 161, 204)},
    {"#FAC", RGB(255, 170, 204)},
    {"fac", RGB(255, 170, 204)},
    {"  \"#FFA1CC\";  ", RGB(255, 161, 204)},
    {"'FFA1CC'", RGB(255, 161, 204)},
    {"color: #FFA1CC", -1}, // a declaration is not a color
    {"rgb( 255 , 161 , 204 )", RGB(255, 161, 204)},
    {"rgba(255, 161, 204, 0.5)", RGB(255, 161, 204)},
    {"rgb(255 161 204 / 50%)", RGB(255, 161, 204)},
    {"rgb(100% 0% 50%)", RGB(255, 0, 128)}, // 127.5 to even
    {"rgb(300 -4 127.6)", RGB(255, 0, 128)},
    {"hsla(332.6, 100%, 81.6%, 1)", RGB(255, 161, 204)},
    {"hsl(0.5turn 100% 50%)", RGB(0, 255, 255)},
    {"hsl(-120deg 100% 50%)", RGB(0, 0, 255)},
    {"oklch(0.628 0.25768 29.23)", RGB(255, 0, 0)},
    {"oklch(100% 0 0)", RGB(255, 255, 255)},
    {"oklch(120% 0.3 40)", RGB(255, 255, 255)},
    {"HotPink", RGB(255, 105, 180)},
    {"rebeccapurple", RGB(102, 51, 153)},
    {"lightgoldenrodyellow", RGB(250, 250, 210)},
    {"aliceblue", RGB(240, 248, 255)},
    {"yellowgreen", RGB(154, 205, 50)},
    {"255, 161, 204", RGB(255, 161, 204)},
    {"&hcca1ff&", RGB(255, 161, 204)},
};

const char* const refused[] = {
    "",
    "   ",
    "#",
    "#FFA1C",
    "#FFA1CCD",
    "#ddddddddddddddddddddddddddd", // a long run must not overflow on its way to refusal
    "#GGHHII",
    "ffa1c",
    "notacolor",
    "transparent",
    "256,0,0",
    "1,2",
    "1,2,3,4",
    "-1,0,0",
    "rgb(1 2)",
    "rgb(1 2 3 4)",
    "rgb(1, 2 3)",
    "rgb(1 2 3 /)",
    "rgb(1px 2 3)",
    "rgb(a b c)",
    "rgb(1 2 3",
    "cmyk(1 2 3)",
    "hsl(10 20% 30px)",
    "oklch(50% 0.1 20px)",
    "&H01CCA1FF&",
    "&HCCA1FF",
    "$11CCA1FF",
    "0xCCA1",
    "Hex={FF,A1}",
    "Hex={FF,A1,CG}",
    "\"#FFA1CC",
    "#FFA1CC;;x",
};

TEST(ColorParser, AcceptedForms)
{
    for (const Accepted& a : accepted) {
        if (a.color < 0)
            EXPECT_FALSE(ParseColor(a.text)) << a.text;
        else
            EXPECT_EQ(ParseColor(a.text), a.color) << a.text;
    }
}

TEST(ColorParser, RefusedTexts)
{
    for (const char* text : refused)
        EXPECT_FALSE(ParseColor(text)) << "'" << text << "'";
}

} // namespace
