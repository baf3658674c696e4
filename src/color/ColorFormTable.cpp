#include "color/ColorFormTable.h"

#include "color/ColorForms.h"
#include "color/cClrModels.h"

#include <array>
#include <initializer_list>

using bascommon::ColorValue;

namespace
{

std::string commaJoined(std::initializer_list<int> values)
{
    std::string text;
    for (int v : values)
        text += (text.empty() ? "" : ",") + std::to_string(v);
    return text;
}

cClrModels modelsOf(ColorValue c)
{
    cClrModels models;
    models.rgbR(static_cast<std::uint8_t>(bascommon::GetRed(c)));
    models.rgbG(static_cast<std::uint8_t>(bascommon::GetGreen(c)));
    models.rgbB(static_cast<std::uint8_t>(bascommon::GetBlue(c)));
    return models;
}

// A copy command's text of a settled color, as a writer of the table.
template <CopyForm form> std::string copied(ColorValue c, double)
{
    return CopyText(form, BoxTextsOf(c));
}

std::string hsvText(ColorValue c, double)
{
    const Hsv hsv = HsvOf(c);
    return commaJoined({hsv.H, hsv.S, hsv.V});
}

std::string cmyText(ColorValue c, double)
{
    const cClrModels m = modelsOf(c);
    return commaJoined({m.cmyC(), m.cmyM(), m.cmyY()});
}

std::string cmykText(ColorValue c, double)
{
    const cClrModels m = modelsOf(c);
    return commaJoined({m.cmykC(), m.cmykM(), m.cmykY(), m.cmykK()});
}

std::string hlsText(ColorValue c, double)
{
    const cClrModels m = modelsOf(c);
    return commaJoined({m.hlsH(), m.hlsL(), m.hlsS()});
}

std::string ycbcrText(ColorValue c, double)
{
    const cClrModels m = modelsOf(c);
    return commaJoined({m.ycbcrY(), m.ycbcrCb(), m.ycbcrCr()});
}

using M = FormMenu;
using R = FormReader;
using F = CopyForm;

constexpr ColorFormRow rows[] = {
    {"hex", "#RRGGBB", M::Hex, "mnuCopyhex1", F::Hex1, "#FFFFFF", false, R::Color, copied<F::Hex1>},
    {"rgb", "rgb(R G B)", M::Css, "mnuCopyCssRgb", {}, {}, true, R::Color, CssRgb},
    {"hsl", "hsl(H S% L%)", M::Css, "mnuCopyCssHsl", {}, {}, true, R::Color, CssHsl},
    {"oklch", "oklch(L% C H)", M::Css, "mnuCopyCssOklch", {}, {}, true, R::Color, CssOklch},
    {"lab", "lab(L a b)", M::Css, "mnuCopyCssLab", {}, {}, true, R::Color, CssLab},
    {"lch", "lch(L C H)", M::Css, "mnuCopyCssLch", {}, {}, true, R::Color, CssLch},
    {"oklab", "oklab(L% a b)", M::Css, "mnuCopyCssOklab", {}, {}, true, R::Color, CssOklab},
    {"hwb", "hwb(H W% B%)", M::Css, "mnuCopyCssHwb", {}, {}, true, R::Color, CssHwb},
    {"p3", "color(display-p3 R G B)", M::Css, "mnuCopyCssP3", {}, {}, true, R::Color, CssP3},
    {"hex8", "#RRGGBBAA", M::Css, "mnuCopyCssHex8", {}, {}, true, R::Color, CssHex8},
    {"hsv", "H,S,V (0-359, 0-100, 0-100)", M::None, {}, {}, {}, false, R::None, hsvText},
    {"dec", "RGB(R,G,B)", M::Dec, "mnuCopydec1", F::Dec1, "RGB(255,255,113)", false, R::Color,
     copied<F::Dec1>},
    {{}, "R,G,B", M::Dec, "mnuCopydec2", F::Dec2, "255,255,113", false, R::Color, copied<F::Dec2>},
    {{},
     "\"#RRGGBB\"",
     M::Hex,
     "mnuCopyhex2",
     F::Hex2,
     "\"#FFFFFF\"",
     false,
     R::Color,
     copied<F::Hex2>},
    {{}, "RRGGBB", M::Hex, "mnuCopyhex3", F::Hex3, "FFFFFF", false, R::Color, copied<F::Hex3>},
    {{},
     "\"RRGGBB\"",
     M::Hex,
     "mnuCopyhex4",
     F::Hex4,
     "\"FFFFFF\"",
     false,
     R::Color,
     copied<F::Hex4>},
    {{},
     "Hex={RR,GG,BB}",
     M::Hex,
     "mnuCopyhex5",
     F::Hex5,
     "Hex={FF,FF,FF}",
     false,
     R::Color,
     copied<F::Hex5>},
    {"cmy", "C,M,Y (0-255)", M::None, {}, {}, {}, false, R::None, cmyText},
    {"cmyk", "C,M,Y,K (0-100)", M::None, {}, {}, {}, false, R::None, cmykText},
    {"hls", "H,L,S (hue 0-360 with red at 60)", M::None, {}, {}, {}, false, R::None, hlsText},
    {"ycbcr", "Y,Cb,Cr (0-255)", M::None, {}, {}, {}, false, R::None, ycbcrText},
    {"vb", "&H00BBGGRR&", M::Special, "mnuCopyVB", F::VB, "VB:", false, R::Color, copied<F::VB>},
    {"delphi", "$00BBGGRR", M::Special, "mnuCopyDelphi", F::Delphi, "Delphi:", false, R::Color,
     copied<F::Delphi>},
    {"cpp", "0xBBGGRR", M::Special, "mnuCopyCplus", F::Cplus, "C++", false, R::Color,
     copied<F::Cplus>},
};

} // namespace

std::span<const ColorFormRow> ColorFormTable()
{
    return rows;
}

const ColorFormRow* FindColorForm(std::string_view name)
{
    for (const ColorFormRow& row : rows)
        if (!row.name.empty() && row.name == name)
            return &row;
    return nullptr;
}

std::string FormCaption(const ColorFormRow& row, const CopyBoxTexts& boxes, ColorValue color)
{
    return row.copyForm ? CopyCaption(*row.copyForm, boxes) : row.write(color, 1.0);
}

std::string FormCopiedText(const ColorFormRow& row, const CopyBoxTexts& boxes, ColorValue color)
{
    return row.copyForm ? CopyText(*row.copyForm, boxes) : row.write(color, 1.0);
}

CopyBoxTexts BoxTextsOf(ColorValue c)
{
    return {bascommon::DecRGB(c), bascommon::HexRGB(c), bascommon::HexRed(c),
            bascommon::HexGreen(c), bascommon::HexBlue(c)};
}
