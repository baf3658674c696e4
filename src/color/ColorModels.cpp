#include "color/ColorModels.h"

#include "color/ColorForms.h"

using bascommon::ColorValue;

namespace
{

using Values = std::array<int, 4>;

ColorValue colorOf(const cClrModels& m)
{
    return bascommon::RGB(m.rgbR(), m.rgbG(), m.rgbB());
}

void setColor(cClrModels& m, ColorValue color)
{
    m.rgbR(static_cast<std::uint8_t>(bascommon::GetRed(color)));
    m.rgbG(static_cast<std::uint8_t>(bascommon::GetGreen(color)));
    m.rgbB(static_cast<std::uint8_t>(bascommon::GetBlue(color)));
}

std::int16_t at(const Values& v, std::size_t i)
{
    return static_cast<std::int16_t>(v[i]);
}

const ColorModel models[] = {
    {"RGB",
     "",
     3,
     {"R", "G", "B", ""},
     {255, 255, 255, 0},
     {1, 1, 1, 1},
     [](const cClrModels& m) {
         return Values{m.rgbR(), m.rgbG(), m.rgbB(), 0};
     },
     [](cClrModels& m, const Values& v) {
         setColor(m, bascommon::RGB(v[0], v[1], v[2]));
         return false;
     }},
    {"HLS",
     "hls",
     3,
     {"H", "L", "S", ""},
     {360, 100, 100, 0},
     {1, 1, 1, 1},
     [](const cClrModels& m) {
         return Values{m.hlsH(), m.hlsL(), m.hlsS(), 0};
     },
     [](cClrModels& m, const Values& v) {
         m.SetHLS(at(v, 0), at(v, 1), at(v, 2));
         return false;
     }},
    {"CMY",
     "cmy",
     3,
     {"C", "M", "Y", ""},
     {255, 255, 255, 0},
     {1, 1, 1, 1},
     [](const cClrModels& m) {
         return Values{m.cmyC(), m.cmyM(), m.cmyY(), 0};
     },
     [](cClrModels& m, const Values& v) {
         m.SetCMY(at(v, 0), at(v, 1), at(v, 2));
         return false;
     }},
    {"CMYK",
     "cmyk",
     4,
     {"C", "M", "Y", "K"},
     {100, 100, 100, 100},
     {1, 1, 1, 1},
     [](const cClrModels& m) {
         return Values{m.cmykC(), m.cmykM(), m.cmykY(), m.cmykK()};
     },
     [](cClrModels& m, const Values& v) {
         m.SetCMYK(at(v, 0), at(v, 1), at(v, 2), at(v, 3));
         return false;
     }},
    {"YCbCr",
     "ycbcr",
     3,
     {"Y", "Cb", "Cr", ""},
     {255, 255, 255, 0},
     {1, 1, 1, 1},
     [](const cClrModels& m) {
         return Values{m.ycbcrY(), m.ycbcrCb(), m.ycbcrCr(), 0};
     },
     [](cClrModels& m, const Values& v) {
         m.SetYCbCr(at(v, 0), at(v, 1), at(v, 2));
         return false;
     }},
    {"HSV",
     "hsv",
     3,
     {"H", "S", "V", ""},
     {359, 100, 100, 0},
     {1, 1, 1, 1},
     [](const cClrModels& m) {
         const Hsv hsv = HsvOf(colorOf(m));
         return Values{hsv.H, hsv.S, hsv.V, 0};
     },
     [](cClrModels& m, const Values& v) {
         setColor(m, ColorOfHsv(v[0], v[1], v[2]));
         return false;
     }},
    // L in tenths of a percent and C in thousandths: the sliders move in integers.
    {"OKLCH",
     "",
     3,
     {"L", "C", "H", ""},
     {1000, 370, 359, 0},
     {10, 1000, 1, 1},
     [](const cClrModels& m) {
         const OklchSteps lch = OklchStepsOf(colorOf(m));
         return Values{lch.L, lch.C, lch.H, 0};
     },
     [](cClrModels& m, const Values& v) {
         const OklchSteps lch{v[0], v[1], v[2]};
         setColor(m, ColorOfOklchSteps(lch));
         return OklchStepsOutsideSrgb(lch);
     }},
};

} // namespace

std::span<const ColorModel> ColorModelTable()
{
    return models;
}

cClrModels ModelsOf(ColorValue color)
{
    cClrModels m;
    setColor(m, color);
    return m;
}
