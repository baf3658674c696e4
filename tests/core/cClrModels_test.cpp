#include "color/cClrModels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <map>
#include <string>

namespace
{

using Rgb = std::array<int, 3>;

cClrModels colorOf(int r, int g, int b)
{
    cClrModels c;
    c.rgbR(static_cast<std::uint8_t>(r));
    c.rgbG(static_cast<std::uint8_t>(g));
    c.rgbB(static_cast<std::uint8_t>(b));
    return c;
}

Rgb rgbOf(const cClrModels& c)
{
    return {c.rgbR(), c.rgbG(), c.rgbB()};
}

struct Forward {
    Rgb rgb;
    std::array<int, 3> cmy;
    std::array<int, 4> cmyk;
    std::array<int, 3> hls, ycbcr;
};

const Forward forwardCases[] = {
    {{0, 0, 0}, {255, 255, 255}, {0, 0, 0, 100}, {60, 0, 0}, {0, 128, 128}},
    {{255, 255, 255}, {0, 0, 0}, {0, 0, 0, 0}, {60, 100, 0}, {255, 128, 128}},
    {{255, 0, 0}, {0, 255, 255}, {0, 100, 100, 0}, {60, 50, 100}, {76, 85, 255}},
    {{0, 255, 0}, {255, 0, 255}, {100, 0, 100, 0}, {180, 50, 100}, {150, 44, 21}},
    {{0, 0, 255}, {255, 255, 0}, {100, 100, 0, 0}, {300, 50, 100}, {29, 255, 107}},
    {{255, 0, 255}, {0, 255, 0}, {0, 100, 0, 0}, {0, 50, 100}, {105, 212, 235}},
    {{128, 128, 128}, {127, 127, 127}, {0, 0, 0, 50}, {60, 50, 0}, {128, 128, 128}},
    {{51, 102, 153}, {204, 153, 102}, {67, 33, 0, 40}, {270, 40, 50}, {93, 162, 98}},
    {{255, 161, 204}, {0, 94, 51}, {0, 37, 20, 0}, {33, 82, 100}, {194, 134, 172}},
    {{254, 0, 255}, {1, 255, 0}, {0, 100, 0, 0}, {360, 50, 100}, {105, 213, 234}},
    {{2, 0, 0}, {253, 255, 255}, {0, 100, 100, 99}, {60, 0, 100}, {1, 128, 129}}};

} // namespace

TEST(cClrModels, WorkedExamplesInEveryModel)
{
    for (const Forward& t : forwardCases) {
        const cClrModels c = colorOf(t.rgb[0], t.rgb[1], t.rgb[2]);
        SCOPED_TRACE(::testing::PrintToString(t.rgb));
        EXPECT_EQ((std::array<int, 3>{c.cmyC(), c.cmyM(), c.cmyY()}), t.cmy);
        EXPECT_EQ((std::array<int, 4>{c.cmykC(), c.cmykM(), c.cmykY(), c.cmykK()}), t.cmyk);
        EXPECT_EQ((std::array<int, 3>{c.hlsH(), c.hlsL(), c.hlsS()}), t.hls);
        EXPECT_EQ((std::array<int, 3>{c.ycbcrY(), c.ycbcrCb(), c.ycbcrCr()}), t.ycbcr);
    }
}

// The saturation branch follows the rounded L (200, 56, 56: L = 50, 144 / 256 -> 56, not 57);
// 43, 0, 101 gives C = 23 / 40 * 100, exactly 57.5 only in extended precision: even 58.
TEST(cClrModels, RoundingEdges)
{
    for (const auto& [low, l, s] : {Rgb{56, 50, 56}, Rgb{58, 51, 56}, Rgb{54, 50, 57}}) {
        const cClrModels c = colorOf(200, low, low);
        EXPECT_EQ((std::array<int, 2>{c.hlsL(), c.hlsS()}), (std::array<int, 2>{l, s})) << low;
    }
    const cClrModels c = colorOf(43, 0, 101);
    EXPECT_EQ((std::array<int, 4>{c.cmykC(), c.cmykM(), c.cmykY(), c.cmykK()}),
              (std::array<int, 4>{58, 100, 0, 60}));
}

struct Backward {
    const char* call;
    void (*apply)(cClrModels&);
    Rgb expected;
};

const Backward backwardCases[] = {
    {"SetHLS(60, 50, 100)", [](cClrModels& c) { c.SetHLS(60, 50, 100); }, {255, 0, 0}},
    {"SetHLS(0, 50, 100)", [](cClrModels& c) { c.SetHLS(0, 50, 100); }, {255, 0, 255}},
    {"SetHLS(360, 50, 100)", [](cClrModels& c) { c.SetHLS(360, 50, 100); }, {255, 0, 255}},
    {"SetHLS(180, 50, 100)", [](cClrModels& c) { c.SetHLS(180, 50, 100); }, {0, 255, 0}},
    {"SetHLS(33, 82, 100)", [](cClrModels& c) { c.SetHLS(33, 82, 100); }, {255, 163, 205}},
    {"SetHLS(200, 50, 0)", [](cClrModels& c) { c.SetHLS(200, 50, 0); }, {128, 128, 128}},
    {"SetHLS(100, 0, 70)", [](cClrModels& c) { c.SetHLS(100, 0, 70); }, {0, 0, 0}},
    {"SetHLS(250, 100, 30)", [](cClrModels& c) { c.SetHLS(250, 100, 30); }, {255, 255, 255}},
    {"SetCMYK(0, 0, 0, 100)", [](cClrModels& c) { c.SetCMYK(0, 0, 0, 100); }, {0, 0, 0}},
    {"SetCMYK(67, 33, 0, 40)", [](cClrModels& c) { c.SetCMYK(67, 33, 0, 40); }, {50, 103, 153}},
    {"SetCMYK(0, 0, 0, 0)", [](cClrModels& c) { c.SetCMYK(0, 0, 0, 0); }, {255, 255, 255}},
    {"SetYCbCr(76, 85, 255)", [](cClrModels& c) { c.SetYCbCr(76, 85, 255); }, {254, 0, 0}},
    {"SetYCbCr(0, 0, 0)", [](cClrModels& c) { c.SetYCbCr(0, 0, 0); }, {0, 135, 0}},
    {"SetYCbCr(128, 0, 255)", [](cClrModels& c) { c.SetYCbCr(128, 0, 255); }, {255, 81, 0}},
    {"SetYCbCr(128, 128, 128)", [](cClrModels& c) { c.SetYCbCr(128, 128, 128); }, {128, 128, 128}},
    {"SetCMY(0, 255, 255)", [](cClrModels& c) { c.SetCMY(0, 255, 255); }, {255, 0, 0}},
    // Arguments outside a model's range are clamped into it; nothing wraps.
    {"SetCMY(-5, 300, 128)", [](cClrModels& c) { c.SetCMY(-5, 300, 128); }, {255, 0, 127}},
    {"SetHLS(-30, 50, 100)", [](cClrModels& c) { c.SetHLS(-30, 50, 100); }, {255, 0, 255}},
    {"SetHLS(500, 50, 100)", [](cClrModels& c) { c.SetHLS(500, 50, 100); }, {255, 0, 255}},
    {"SetHLS(200, 250, -4)", [](cClrModels& c) { c.SetHLS(200, 250, -4); }, {255, 255, 255}},
    {"SetHLS(100, -1, 101)", [](cClrModels& c) { c.SetHLS(100, -1, 101); }, {0, 0, 0}},
    {"SetCMYK(-20, 150, 50, 200)", [](cClrModels& c) { c.SetCMYK(-20, 150, 50, 200); }, {0, 0, 0}},
    {"SetCMYK(120, -1, 30, -32768)",
     [](cClrModels& c) { c.SetCMYK(120, -1, 30, -32768); },
     {0, 255, 178}},
    {"SetYCbCr(32767, -32768, 256)",
     [](cClrModels& c) { c.SetYCbCr(32767, -32768, 256); },
     {255, 208, 28}}};

TEST(cClrModels, WorkedExamplesOfTheSetMethods)
{
    for (const Backward& t : backwardCases) {
        // Every Set method overwrites all three; 0.5 * 255 = 127.5 rounds to even.
        cClrModels c = colorOf(17, 34, 51);
        t.apply(c);
        EXPECT_EQ(rgbOf(c), t.expected) << t.call;
    }
}

namespace
{

// A broken rule reports once, with its count and first color, not sixteen million times.
class Violations
{
public:
    void check(bool ok, int r, int g, int b, const char* what)
    {
        if (ok)
            return;
        auto& [count, first] = m_broken[what];
        if (count++ == 0)
            first = std::to_string(r) + ", " + std::to_string(g) + ", " + std::to_string(b);
    }
    void expectNone() const
    {
        for (const auto& [what, seen] : m_broken)
            ADD_FAILURE() << what << ": " << seen.first << " colors, first " << seen.second;
    }

private:
    std::map<std::string, std::pair<long, std::string>> m_broken;
};

template <typename Fn> void forEveryColor(Fn fn)
{
    for (int r = 0; r < 256; ++r)
        for (int g = 0; g < 256; ++g)
            for (int b = 0; b < 256; ++b)
                fn(r, g, b, colorOf(r, g, b));
}

bool within(int value, int low, int high)
{
    return value >= low && value <= high;
}

// The hue of the usual formula, in degrees 0-360 with red at 0, computed in double precision.
double referenceHue(int r, int g, int b)
{
    const int mx = std::max({r, g, b}), mn = std::min({r, g, b});
    if (mx == mn)
        return 0;
    const double delta = mx - mn;
    double h = 0;
    if (r == mx)
        h = (g - b) / delta;
    else if (g == mx)
        h = 2 + (b - r) / delta;
    else
        h = 4 + (r - g) / delta;
    return h < 0 ? h * 60 + 360 : h * 60;
}

} // namespace

TEST(cClrModelsCube, EveryGetterStaysInsideItsRangeAndNearTheExactValue)
{
    Violations v;
    forEveryColor([&](int r, int g, int b, const cClrModels& c) {
        v.check(within(c.cmyC(), 0, 255) && within(c.cmyM(), 0, 255) && within(c.cmyY(), 0, 255) &&
                    within(c.cmykC(), 0, 100) && within(c.cmykM(), 0, 100) &&
                    within(c.cmykY(), 0, 100) && within(c.cmykK(), 0, 100) &&
                    within(c.hlsH(), 0, 360) && within(c.hlsL(), 0, 100) &&
                    within(c.hlsS(), 0, 100),
                r, g, b, "CMY, CMYK or HLS out of range");
        // The turned scale: the usual hue plus 60, with 300-360 (between magenta and red)
        // folded to 0-60. A red tie falls on the red side, so the usual 300 becomes 0.
        const double usual = referenceHue(r, g, b);
        const double turned = usual >= 300 ? usual - 300 : usual + 60;
        v.check(std::abs(c.hlsH() - turned) <= 0.5 + 1e-4, r, g, b, "hue off the scale");
        const int mx = std::max({r, g, b}), mn = std::min({r, g, b});
        const double l = (mx + mn) / 5.1;
        v.check(std::abs(c.hlsL() - l) < 0.5 + 1e-9, r, g, b, "lightness");
        const bool upper = std::nearbyint(l) > 50;
        const double s = mx == mn ? 0 : 100.0 * (mx - mn) / (upper ? 510 - mx - mn : mx + mn);
        v.check(std::abs(c.hlsS() - s) <= 0.5 + 1e-4, r, g, b, "saturation");
        const double y = 0.2989 * r + 0.5866 * g + 0.1145 * b;
        v.check(std::abs(c.ycbcrY() - y) <= 0.5 + 1e-9, r, g, b, "luma");
        v.check((c.cmykK() == 100) == (mx <= 1), r, g, b, "K = 100 outside near-black");
    });
    v.expectNone();
}

// CMY is exact both ways. CMYK comes back within one percent of each channel (2.55 levels, at
// most 3 after rounding); HLS within half a percent of L and S (3.19 levels) plus half a degree
// of hue on the middle channel (2.13 levels): at most 5 after rounding.
TEST(cClrModelsCube, RoundTripsThroughEachModel)
{
    Violations v;
    int worstCmyk = 0, worstHls = 0;
    forEveryColor([&](int r, int g, int b, const cClrModels& c) {
        cClrModels back;
        back.SetCMY(c.cmyC(), c.cmyM(), c.cmyY());
        v.check(rgbOf(back) == Rgb{r, g, b}, r, g, b, "CMY round trip");

        const auto distance = [&](const cClrModels& d) {
            return std::max(
                {std::abs(d.rgbR() - r), std::abs(d.rgbG() - g), std::abs(d.rgbB() - b)});
        };
        back.SetCMYK(c.cmykC(), c.cmykM(), c.cmykY(), c.cmykK());
        worstCmyk = std::max(worstCmyk, distance(back));
        v.check(distance(back) <= 3, r, g, b, "CMYK round trip");

        back.SetHLS(c.hlsH(), c.hlsL(), c.hlsS());
        worstHls = std::max(worstHls, distance(back));
        v.check(distance(back) <= 5, r, g, b, "HLS round trip");
        if (r == g && g == b)
            v.check(c.hlsH() == 60 && c.hlsS() == 0, r, g, b, "gray not at H 60, S 0");
    });
    v.expectNone();
    RecordProperty("worstCmykDistance", worstCmyk);
    RecordProperty("worstHlsDistance", worstHls);
}
