#include "color/CssSpaces.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <numbers>

namespace
{

using Matrix = std::array<Channels, 3>;

Channels operator*(const Matrix& m, const Channels& v)
{
    return {m[0][0] * v[0] + m[0][1] * v[1] + m[0][2] * v[2],
            m[1][0] * v[0] + m[1][1] * v[1] + m[1][2] * v[2],
            m[2][0] * v[0] + m[2][1] * v[1] + m[2][2] * v[2]};
}

// Linear-light RGB to XYZ (in the space's own white) and back, as rational numbers where the
// primaries give them.
constexpr Matrix srgbToXyz = {{{506752.0 / 1228815, 87881.0 / 245763, 12673.0 / 70218},
                               {87098.0 / 409605, 175762.0 / 245763, 12673.0 / 175545},
                               {7918.0 / 409605, 87881.0 / 737289, 1001167.0 / 1053270}}};
constexpr Matrix xyzToSrgb = {{{12831.0 / 3959, -329.0 / 214, -1974.0 / 3959},
                               {-851781.0 / 878810, 1648619.0 / 878810, 36519.0 / 878810},
                               {705.0 / 12673, -2585.0 / 12673, 705.0 / 667}}};
constexpr Matrix p3ToXyz = {{{608311.0 / 1250200, 189793.0 / 714400, 198249.0 / 1000160},
                             {35783.0 / 156275, 247089.0 / 357200, 198249.0 / 2500400},
                             {0.0, 32229.0 / 714400, 5220557.0 / 5000800}}};
constexpr Matrix xyzToP3 = {{{446124.0 / 178915, -333277.0 / 357830, -72051.0 / 178915},
                             {-14852.0 / 17905, 63121.0 / 35810, 423.0 / 17905},
                             {11844.0 / 330415, -50337.0 / 660830, 316169.0 / 330415}}};
constexpr Matrix prophotoToXyz = {{{0.79776664490064230, 0.13518129740053308, 0.03134773412839220},
                                   {0.28807482881940130, 0.71183523424187300, 0.00008993693872564},
                                   {0.0, 0.0, 0.82510460251046020}}};
constexpr Matrix xyzToProphoto = {
    {{1.34578688164715830, -0.25557208737979464, -0.05110186497554526},
     {-0.54463070512490190, 1.50824774284514680, 0.02052744743642139},
     {0.0, 0.0, 1.21196754563894520}}};
constexpr Matrix a98ToXyz = {{{573536.0 / 994567, 263643.0 / 1420810, 187206.0 / 994567},
                              {591459.0 / 1989134, 6239551.0 / 9945670, 374412.0 / 4972835},
                              {53769.0 / 1989134, 351524.0 / 4972835, 4929758.0 / 4972835}}};
constexpr Matrix xyzToA98 = {{{1829569.0 / 896150, -506331.0 / 896150, -308931.0 / 896150},
                              {-851781.0 / 878810, 1648619.0 / 878810, 36519.0 / 878810},
                              {16779.0 / 1248040, -147721.0 / 1248040, 1266979.0 / 1248040}}};
constexpr Matrix rec2020ToXyz = {
    {{63426534.0 / 99577255, 20160776.0 / 139408157, 47086771.0 / 278816314},
     {26158966.0 / 99577255, 472592308.0 / 697040785, 8267143.0 / 139408157},
     {0.0, 19567812.0 / 697040785, 295819943.0 / 278816314}}};
constexpr Matrix xyzToRec2020 = {
    {{30757411.0 / 17917100, -6372589.0 / 17917100, -4539589.0 / 17917100},
     {-19765991.0 / 29648200, 47925759.0 / 29648200, 467509.0 / 29648200},
     {792561.0 / 44930125, -1921689.0 / 44930125, 42328811.0 / 44930125}}};

// Bradford chromatic adaptation between the D65 and D50 whites.
constexpr Matrix d65ToD50 = {{{1.0479297925449969, 0.022946870601609652, -0.05019226628920524},
                              {0.02962780877005599, 0.9904344267538799, -0.017073799063418826},
                              {-0.009243040646204504, 0.015055191490298152, 0.7518742814281371}}};
constexpr Matrix d50ToD65 = {{{0.955473421488075, -0.02309845494876471, 0.06325924320057072},
                              {-0.0283697093338637, 1.0099953980813041, 0.021041441191917323},
                              {0.012314014864481998, -0.020507649298898964, 1.330365926242124}}};

// OKLab: XYZ (D65) to cone responses, their cube roots to L, a, b, and back.
constexpr Matrix xyzToLms = {{{0.8190224379967030, 0.3619062600528904, -0.1288737815209879},
                              {0.0329836539323885, 0.9292868615863434, 0.0361446663506424},
                              {0.0481771893596242, 0.2642395317527308, 0.6335478284694309}}};
constexpr Matrix lmsToOklab = {{{0.2104542683093140, 0.7936177747023054, -0.0040720430116193},
                                {1.9779985324311684, -2.4285922420485799, 0.4505937096174110},
                                {0.0259040424655478, 0.7827717124575296, -0.8086757549230774}}};
constexpr Matrix lmsToXyz = {{{1.2268798758459243, -0.5578149944602171, 0.2813910456659647},
                              {-0.0405757452148008, 1.1122868032803170, -0.0717110580655164},
                              {-0.0763729366746601, -0.4214933324022432, 1.5869240198367816}}};
constexpr Matrix oklabToLms = {{{1.0, 0.3963377773761749, 0.2158037573099136},
                                {1.0, -0.1055613458156586, -0.0638541728258133},
                                {1.0, -0.0894841775298119, -1.2914855480194092}}};

// CIE Lab under D50.
constexpr double labKappa = 24389.0 / 27;
constexpr double labEpsilon = 216.0 / 24389;
constexpr Channels whiteD50 = {0.3457 / 0.3585, 1.0, (1.0 - 0.3457 - 0.3585) / 0.3585};

constexpr double degreesPerRadian = 180.0 / std::numbers::pi;

// The transfer functions are odd: a negative value maps to the negative of its magnitude's image.
template <typename F> Channels oddEach(const Channels& c, F f)
{
    Channels out;
    for (std::size_t i = 0; i < 3; ++i)
        out[i] = std::copysign(f(std::fabs(c[i])), c[i]);
    return out;
}

double srgbChannelToLinear(double v)
{
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

// The channels of 8-bit colors (k / 255) are looked up: a long list of colors costs no power.
Channels srgbToLinear(const Channels& c)
{
    static const std::array<double, 256> eightBit = [] {
        std::array<double, 256> t{};
        for (std::size_t k = 0; k < t.size(); ++k)
            t[k] = srgbChannelToLinear(static_cast<double>(k) / 255);
        return t;
    }();
    Channels out;
    for (std::size_t i = 0; i < 3; ++i) {
        const double scaled = c[i] * 255;
        if (scaled >= 0 && scaled <= 255) {
            const auto k = static_cast<std::size_t>(std::lrint(scaled));
            if (static_cast<double>(k) / 255 == c[i]) {
                out[i] = eightBit[k];
                continue;
            }
        }
        out[i] = std::copysign(srgbChannelToLinear(std::fabs(c[i])), c[i]);
    }
    return out;
}

Channels linearToSrgb(const Channels& c)
{
    return oddEach(c, [](double v) {
        return v > 0.0031308 ? 1.055 * std::pow(v, 1 / 2.4) - 0.055 : 12.92 * v;
    });
}

Channels prophotoToLinear(const Channels& c)
{
    return oddEach(c, [](double v) { return v <= 16.0 / 512 ? v / 16 : std::pow(v, 1.8); });
}

Channels linearToProphoto(const Channels& c)
{
    return oddEach(c, [](double v) { return v >= 1.0 / 512 ? std::pow(v, 1 / 1.8) : 16 * v; });
}

Channels a98ToLinear(const Channels& c)
{
    return oddEach(c, [](double v) { return std::pow(v, 563.0 / 256); });
}

Channels linearToA98(const Channels& c)
{
    return oddEach(c, [](double v) { return std::pow(v, 256.0 / 563); });
}

// Rec2020 is encoded for its reference display: a pure 2.4 gamma (BT.1886 with no black lift).
Channels rec2020ToLinear(const Channels& c)
{
    return oddEach(c, [](double v) { return std::pow(v, 2.4); });
}

Channels linearToRec2020(const Channels& c)
{
    return oddEach(c, [](double v) { return std::pow(v, 1 / 2.4); });
}

Channels labToXyzD50(const Channels& lab)
{
    const double fy = (lab[0] + 16) / 116;
    const double fx = lab[1] / 500 + fy;
    const double fz = fy - lab[2] / 200;
    const auto inverse = [](double f) {
        return f * f * f > labEpsilon ? f * f * f : (116 * f - 16) / labKappa;
    };
    return {inverse(fx) * whiteD50[0],
            (lab[0] > labKappa * labEpsilon ? fy * fy * fy : lab[0] / labKappa) * whiteD50[1],
            inverse(fz) * whiteD50[2]};
}

Channels xyzD50ToLab(const Channels& xyz)
{
    Channels f;
    for (std::size_t i = 0; i < 3; ++i) {
        const double v = xyz[i] / whiteD50[i];
        f[i] = v > labEpsilon ? std::cbrt(v) : (labKappa * v + 16) / 116;
    }
    return {116 * f[1] - 16, 500 * (f[0] - f[1]), 200 * (f[1] - f[2])};
}

Channels oklabToXyz(const Channels& lab)
{
    const Channels lms = oklabToLms * lab;
    return lmsToXyz *
           Channels{lms[0] * lms[0] * lms[0], lms[1] * lms[1] * lms[1], lms[2] * lms[2] * lms[2]};
}

Channels xyzToOklab(const Channels& xyz)
{
    const Channels lms = xyzToLms * xyz;
    return lmsToOklab * Channels{std::cbrt(lms[0]), std::cbrt(lms[1]), std::cbrt(lms[2])};
}

double wrapHue(double h)
{
    h = std::fmod(h, 360.0);
    if (h < 0)
        h += 360.0;
    return h >= 360.0 ? 0.0 : h;
}

// Rectangular (L, a, b) to polar (L, C, H); `achromatic` is the chroma below which H is 0.
Channels polarOf(const Channels& lab, double achromatic)
{
    const double C = std::sqrt(lab[1] * lab[1] + lab[2] * lab[2]);
    return {lab[0], C,
            C < achromatic ? 0.0 : wrapHue(std::atan2(lab[2], lab[1]) * degreesPerRadian)};
}

Channels rectangularOf(const Channels& lch)
{
    const double h = lch[2] / degreesPerRadian;
    return {lch[0], lch[1] * std::cos(h), lch[1] * std::sin(h)};
}

Channels srgbOfHsl(const Channels& hsl)
{
    const double hue = wrapHue(hsl[0]);
    const double sat = hsl[1] / 100, light = hsl[2] / 100;
    const auto f = [&](double n) {
        const double k = std::fmod(n + hue / 30, 12.0);
        const double a = sat * std::min(light, 1 - light);
        return light - a * std::max(-1.0, std::min({k - 3, 9 - k, 1.0}));
    };
    return {f(0), f(8), f(4)};
}

// The hue of sRGB channels in degrees, 0 when they are equal; d is max - min.
double hueOfSrgb(const Channels& c, double max, double d)
{
    if (d == 0)
        return 0;
    double hue = 0;
    if (max == c[0])
        hue = (c[1] - c[2]) / d + (c[1] < c[2] ? 6 : 0);
    else if (max == c[1])
        hue = (c[2] - c[0]) / d + 2;
    else
        hue = (c[0] - c[1]) / d + 4;
    return hue * 60;
}

constexpr double achromaticPercent = 1e-7;

Channels hslOfSrgb(const Channels& c)
{
    const double max = std::max({c[0], c[1], c[2]}), min = std::min({c[0], c[1], c[2]});
    const double d = max - min, light = (min + max) / 2;
    double hue = hueOfSrgb(c, max, d);
    double sat =
        d == 0 || light == 0 || light == 1 ? 0 : (max - light) / std::min(light, 1 - light);
    // Far outside the gamut the saturation comes out negative: the opposite hue, positive.
    if (sat < 0) {
        hue += 180;
        sat = -sat;
    }
    sat *= 100;
    return {sat < achromaticPercent ? 0.0 : wrapHue(hue), sat, light * 100};
}

Channels srgbOfHwb(const Channels& hwb)
{
    const double white = hwb[1] / 100, black = hwb[2] / 100;
    if (white + black >= 1) {
        const double gray = white / (white + black);
        return {gray, gray, gray};
    }
    Channels rgb = srgbOfHsl({hwb[0], 100, 50});
    for (double& v : rgb)
        v = v * (1 - white - black) + white;
    return rgb;
}

Channels hwbOfSrgb(const Channels& c)
{
    const double max = std::max({c[0], c[1], c[2]}), min = std::min({c[0], c[1], c[2]});
    const double hue =
        (max - min) * 100 < achromaticPercent ? 0.0 : wrapHue(hueOfSrgb(c, max, max - min));
    return {hue, min * 100, (1 - max) * 100};
}

bool isD50(CssSpace s)
{
    return s == CssSpace::XyzD50 || s == CssSpace::ProphotoRgb || s == CssSpace::Lab ||
           s == CssSpace::Lch;
}

bool isSrgbFamily(CssSpace s)
{
    return s == CssSpace::Srgb || s == CssSpace::Hsl || s == CssSpace::Hwb;
}

Channels srgbOf(CssSpace from, const Channels& c)
{
    return from == CssSpace::Hsl ? srgbOfHsl(c) : from == CssSpace::Hwb ? srgbOfHwb(c) : c;
}

Channels ofSrgb(CssSpace to, const Channels& srgb)
{
    return to == CssSpace::Hsl ? hslOfSrgb(srgb) : to == CssSpace::Hwb ? hwbOfSrgb(srgb) : srgb;
}

// XYZ in the space's own white: D50 for isD50 spaces, D65 for the others.
Channels xyzOf(CssSpace from, const Channels& c)
{
    switch (from) {
    case CssSpace::Srgb:
    case CssSpace::Hsl:
    case CssSpace::Hwb:
        return srgbToXyz * srgbToLinear(srgbOf(from, c));
    case CssSpace::SrgbLinear:
        return srgbToXyz * c;
    case CssSpace::DisplayP3:
        return p3ToXyz * srgbToLinear(c);
    case CssSpace::DisplayP3Linear:
        return p3ToXyz * c;
    case CssSpace::A98Rgb:
        return a98ToXyz * a98ToLinear(c);
    case CssSpace::ProphotoRgb:
        return prophotoToXyz * prophotoToLinear(c);
    case CssSpace::Rec2020:
        return rec2020ToXyz * rec2020ToLinear(c);
    case CssSpace::XyzD50:
    case CssSpace::XyzD65:
        return c;
    case CssSpace::Lab:
        return labToXyzD50(c);
    case CssSpace::Lch:
        return labToXyzD50(rectangularOf(c));
    case CssSpace::Oklab:
        return oklabToXyz(c);
    case CssSpace::Oklch:
        return oklabToXyz(rectangularOf(c));
    }
    return c;
}

Channels ofXyz(CssSpace to, const Channels& xyz)
{
    switch (to) {
    case CssSpace::Srgb:
    case CssSpace::Hsl:
    case CssSpace::Hwb:
        return ofSrgb(to, linearToSrgb(xyzToSrgb * xyz));
    case CssSpace::SrgbLinear:
        return xyzToSrgb * xyz;
    case CssSpace::DisplayP3:
        return linearToSrgb(xyzToP3 * xyz);
    case CssSpace::DisplayP3Linear:
        return xyzToP3 * xyz;
    case CssSpace::A98Rgb:
        return linearToA98(xyzToA98 * xyz);
    case CssSpace::ProphotoRgb:
        return linearToProphoto(xyzToProphoto * xyz);
    case CssSpace::Rec2020:
        return linearToRec2020(xyzToRec2020 * xyz);
    case CssSpace::XyzD50:
    case CssSpace::XyzD65:
        return xyz;
    case CssSpace::Lab:
        return xyzD50ToLab(xyz);
    case CssSpace::Lch:
        return polarOf(xyzD50ToLab(xyz), 100 * 1e-9);
    case CssSpace::Oklab:
        return xyzToOklab(xyz);
    case CssSpace::Oklch:
        return polarOf(xyzToOklab(xyz), 1e-9);
    }
    return xyz;
}

struct NamedSpace {
    std::string_view name;
    CssSpace space;
};

constexpr std::array<NamedSpace, 16> spaceNames = {{
    {"srgb", CssSpace::Srgb},
    {"srgb-linear", CssSpace::SrgbLinear},
    {"display-p3", CssSpace::DisplayP3},
    {"display-p3-linear", CssSpace::DisplayP3Linear},
    {"a98-rgb", CssSpace::A98Rgb},
    {"prophoto-rgb", CssSpace::ProphotoRgb},
    {"rec2020", CssSpace::Rec2020},
    {"xyz-d50", CssSpace::XyzD50},
    {"xyz-d65", CssSpace::XyzD65},
    {"lab", CssSpace::Lab},
    {"lch", CssSpace::Lch},
    {"oklab", CssSpace::Oklab},
    {"oklch", CssSpace::Oklch},
    {"hsl", CssSpace::Hsl},
    {"hwb", CssSpace::Hwb},
    {"xyz", CssSpace::XyzD65},
}};

bool insideUnitCube(const Channels& c, double tolerance)
{
    return std::all_of(c.begin(), c.end(),
                       [&](double v) { return v >= -tolerance && v <= 1 + tolerance; });
}

Channels clipped(const Channels& c)
{
    return {std::clamp(c[0], 0.0, 1.0), std::clamp(c[1], 0.0, 1.0), std::clamp(c[2], 0.0, 1.0)};
}

OkLab okLabOf(const Channels& lab)
{
    return {lab[0], lab[1], lab[2]};
}

} // namespace

std::string_view SpaceName(CssSpace space)
{
    for (const NamedSpace& n : spaceNames)
        if (n.space == space)
            return n.name;
    return {};
}

std::optional<CssSpace> SpaceOfName(std::string_view name)
{
    for (const NamedSpace& n : spaceNames)
        if (std::equal(name.begin(), name.end(), n.name.begin(), n.name.end(), [](char x, char y) {
                return std::tolower(static_cast<unsigned char>(x)) == y;
            }))
            return n.space;
    return std::nullopt;
}

bool IsColorFunctionSpace(CssSpace space)
{
    return static_cast<int>(space) <= static_cast<int>(CssSpace::XyzD65);
}

bool IsPolarSpace(CssSpace space)
{
    return HueIndex(space) >= 0;
}

int HueIndex(CssSpace space)
{
    switch (space) {
    case CssSpace::Hsl:
    case CssSpace::Hwb:
        return 0;
    case CssSpace::Lch:
    case CssSpace::Oklch:
        return 2;
    default:
        return -1;
    }
}

Channels ConvertChannels(CssSpace from, CssSpace to, const Channels& channels)
{
    using enum CssSpace;
    if (from == to)
        return channels;
    if (from == Oklab && to == Oklch)
        return polarOf(channels, 1e-9);
    if (from == Lab && to == Lch)
        return polarOf(channels, 100 * 1e-9);
    if ((from == Oklch && to == Oklab) || (from == Lch && to == Lab))
        return rectangularOf(channels);
    if (isSrgbFamily(from) && isSrgbFamily(to))
        return ofSrgb(to, srgbOf(from, channels));
    Channels xyz = xyzOf(from, channels);
    if (isD50(from) && !isD50(to))
        xyz = d50ToD65 * xyz;
    else if (!isD50(from) && isD50(to))
        xyz = d65ToD50 * xyz;
    return ofXyz(to, xyz);
}

Channels GamutMapSrgb(CssSpace from, const Channels& channels)
{
    const Channels srgb = ConvertChannels(from, CssSpace::Srgb, channels);
    if (insideUnitCube(srgb, 1e-6))
        return clipped(srgb);
    const Channels origin = ConvertChannels(from, CssSpace::Oklch, channels);
    if (origin[0] >= 1)
        return {1, 1, 1};
    if (origin[0] <= 0)
        return {0, 0, 0};

    // Binary search on the chroma for a color whose clipped form lies just within a just
    // noticeable difference of it; below the boundary, colors still inside move `min` up at once.
    constexpr double jnd = 0.02, epsilon = 0.0001;
    const auto deltaToClipped = [](const Channels& current, Channels& clip) {
        clip = clipped(ConvertChannels(CssSpace::Oklch, CssSpace::Srgb, current));
        return DeltaEOK(okLabOf(ConvertChannels(CssSpace::Srgb, CssSpace::Oklab, clip)),
                        okLabOf(rectangularOf(current)));
    };
    double min = 0, max = origin[1];
    bool minInGamut = true;
    Channels current = origin, clip;
    if (deltaToClipped(current, clip) < jnd)
        return clip;
    while (max - min > epsilon) {
        const double chroma = (min + max) / 2;
        current[1] = chroma;
        if (minInGamut &&
            insideUnitCube(ConvertChannels(CssSpace::Oklch, CssSpace::Srgb, current), 0)) {
            min = chroma;
            continue;
        }
        const double E = deltaToClipped(current, clip);
        if (E < jnd) {
            if (jnd - E < epsilon)
                return clip;
            minInGamut = false;
            min = chroma;
        } else {
            max = chroma;
        }
    }
    return clip;
}

bool OutsideSrgb(CssSpace from, const Channels& channels)
{
    return !insideUnitCube(ConvertChannels(from, CssSpace::Srgb, channels), 0.5 / 255);
}

bascommon::ColorValue ColorOfSrgb(const Channels& srgb)
{
    const auto channel = [](double v) {
        const double scaled = std::floor(v * 255 + 0.5);
        return scaled >= 255 ? 255 : scaled > 0 ? static_cast<int>(scaled) : 0;
    };
    return bascommon::RGB(channel(srgb[0]), channel(srgb[1]), channel(srgb[2]));
}

bascommon::ColorValue ColorOfChannels(CssSpace from, const Channels& channels)
{
    return ColorOfSrgb(GamutMapSrgb(from, channels));
}

Channels SrgbOf(bascommon::ColorValue color)
{
    return {bascommon::GetRed(color) / 255.0, bascommon::GetGreen(color) / 255.0,
            bascommon::GetBlue(color) / 255.0};
}

double DeltaEOK(const OkLab& x, const OkLab& y)
{
    const double dL = x.L - y.L, da = x.a - y.a, db = x.b - y.b;
    return std::sqrt(dL * dL + da * da + db * db);
}
