#include "color/CssColorMix.h"

#include "color/CssSyntax.h"

#include <cmath>

namespace
{

enum class Category { None, Red, Green, Blue, Lightness, Colorfulness, Hue, OpponentA, OpponentB };

Category categoryOf(CssSpace space, std::size_t i)
{
    using C = Category;
    switch (space) {
    case CssSpace::Lab:
    case CssSpace::Oklab:
        return std::array{C::Lightness, C::OpponentA, C::OpponentB}[i];
    case CssSpace::Lch:
    case CssSpace::Oklch:
        return std::array{C::Lightness, C::Colorfulness, C::Hue}[i];
    case CssSpace::Hsl:
        return std::array{C::Hue, C::Colorfulness, C::Lightness}[i];
    case CssSpace::Hwb:
        return std::array{C::Hue, C::None, C::None}[i];
    default: // the RGB spaces and XYZ
        return std::array{C::Red, C::Green, C::Blue}[i];
    }
}

// Whether a color in a polar space lies so near the grays that its hue means nothing.
bool achromatic(CssSpace space, const Channels& c)
{
    switch (space) {
    case CssSpace::Lch:
        return c[1] <= 0.0015;
    case CssSpace::Oklch:
        return c[1] <= 0.000004;
    case CssSpace::Hsl:
        return std::fabs(c[1]) <= 0.001;
    case CssSpace::Hwb:
        return c[1] + c[2] >= 100 - 0.001;
    default:
        return false;
    }
}

// The exact gray of an achromatic polar color.
Channels grayOf(CssSpace space, Channels c)
{
    if (space == CssSpace::Hwb) {
        const double sum = c[1] + c[2];
        return {0, c[1] / sum * 100, c[2] / sum * 100};
    }
    c[1] = 0; // chroma, or HSL saturation
    return c;
}

// Both hues in 0-360; returns them adjusted so that plain interpolation takes the method's arc.
std::pair<double, double> fixedHues(double h1, double h2, HueMethod method)
{
    const double d = h2 - h1;
    switch (method) {
    case HueMethod::Shorter:
        if (d > 180)
            h1 += 360;
        else if (d < -180)
            h2 += 360;
        break;
    case HueMethod::Longer:
        if (d > 0 && d < 180)
            h1 += 360;
        else if (d > -180 && d <= 0)
            h2 += 360;
        break;
    case HueMethod::Increasing:
        if (d < 0)
            h2 += 360;
        break;
    case HueMethod::Decreasing:
        if (d > 0)
            h1 += 360;
        break;
    }
    return {h1, h2};
}

} // namespace

std::optional<HueMethod> HueMethodOfName(std::string_view name)
{
    constexpr std::pair<std::string_view, HueMethod> names[] = {
        {"shorter", HueMethod::Shorter},
        {"longer", HueMethod::Longer},
        {"increasing", HueMethod::Increasing},
        {"decreasing", HueMethod::Decreasing}};
    for (const auto& [n, method] : names)
        if (EqualsIgnoringCase(n, name))
            return method;
    return std::nullopt;
}

CssColorValue InSpace(const CssColorValue& color, CssSpace space)
{
    if (color.space == space)
        return color;
    CssColorValue result = color;
    result.space = space;
    Channels from = ResolvedChannels(color);
    if (achromatic(color.space, from))
        from = grayOf(color.space, from);
    result.channels = ConvertChannels(color.space, space, from);
    for (std::size_t i = 0; i < 3; ++i) {
        const Category c = categoryOf(space, i);
        result.missing[i] = false;
        for (std::size_t j = 0; j < 3; ++j)
            if (c != Category::None && color.missing[j] && categoryOf(color.space, j) == c)
                result.missing[i] = true;
    }
    const int hue = HueIndex(space);
    if (hue >= 0 && achromatic(space, result.channels)) {
        if (space != CssSpace::Hwb)
            result.channels[1] = 0;
        result.channels[static_cast<std::size_t>(hue)] = 0;
        result.missing[static_cast<std::size_t>(hue)] = true;
    }
    return result;
}

namespace
{

// Two colors in the mixing space, the second with share t (0-1) of the result.
CssColorValue mixPair(const MixMethod& method, CssColorValue a, CssColorValue b, double t)
{
    // A component missing in one color takes the other's value; missing in both stays missing.
    for (std::size_t i = 0; i < 4; ++i) {
        double& va = i < 3 ? a.channels[i] : a.alpha;
        double& vb = i < 3 ? b.channels[i] : b.alpha;
        if (a.missing[i] && !b.missing[i])
            va = vb;
        else if (b.missing[i] && !a.missing[i])
            vb = va;
    }
    CssColorValue mixed;
    mixed.space = method.space;
    for (std::size_t i = 0; i < 4; ++i)
        mixed.missing[i] = a.missing[i] && b.missing[i];
    const double alphaA = mixed.missing[3] ? 1.0 : a.alpha;
    const double alphaB = mixed.missing[3] ? 1.0 : b.alpha;
    const double alpha = alphaA * (1 - t) + alphaB * t;
    const int hue = HueIndex(method.space);
    for (std::size_t i = 0; i < 3; ++i) {
        if (static_cast<int>(i) == hue) {
            const auto [h1, h2] = fixedHues(a.channels[i], b.channels[i], method.hue);
            const double h = std::fmod(h1 * (1 - t) + h2 * t, 360.0);
            mixed.channels[i] = h < 0 ? h + 360 : h;
            continue;
        }
        const double premultiplied = a.channels[i] * alphaA * (1 - t) + b.channels[i] * alphaB * t;
        mixed.channels[i] = alpha == 0 ? premultiplied : premultiplied / alpha;
    }
    mixed.alpha = alpha;
    return mixed;
}

} // namespace

CssColorValue MixColors(const MixMethod& method, const std::vector<MixItem>& items)
{
    // Written shares stand; the others share what is left of 100% equally.
    double given = 0;
    int unwritten = 0;
    for (const MixItem& item : items) {
        given += item.percent.value_or(0);
        unwritten += !item.percent;
    }
    const double each = unwritten ? std::max(0.0, 100 - given) / unwritten : 0;
    // Colors mix one after another: the mix so far, with the shares so far, and the next color.
    CssColorValue mixed = InSpace(items.front().color, method.space);
    double sofar = items.front().percent.value_or(each);
    for (std::size_t i = 1; i < items.size(); ++i) {
        const double share = items[i].percent.value_or(each);
        const double t = sofar + share > 0 ? share / (sofar + share) : 0.5;
        mixed = mixPair(method, mixed, InSpace(items[i].color, method.space), t);
        sofar += share;
    }
    if (sofar < 100)
        mixed.alpha *= sofar / 100;
    return mixed;
}
