#pragma once

#include "color/CssColor.h"

#include <optional>
#include <string_view>
#include <vector>

// Mixing colors as color-mix() does: in an interpolation space, with premultiplied alpha,
// missing components taken from the other color, and a rule for the hue of polar spaces.

enum class HueMethod { Shorter, Longer, Increasing, Decreasing };
// "shorter", "longer", "increasing" or "decreasing" in any case.
std::optional<HueMethod> HueMethodOfName(std::string_view name);

struct MixMethod {
    CssSpace space = CssSpace::Oklab;
    HueMethod hue = HueMethod::Shorter;
};

// A color and its share, a percentage 0-100, when one was written.
struct MixItem {
    CssColorValue color;
    std::optional<double> percent;
};

// The mix of two colors, in the method's space. Missing shares are 50% each, or the rest of 100%
// when one is given; shares that come to another total are scaled to 100%, and a total below
// 100% scales the alpha of the result by it. Nothing when the shares come to 0.
std::optional<CssColorValue> MixColors(const MixMethod& method, const std::vector<MixItem>& items);

// A color in another space for interpolation: missing components carry over to the analogous
// component of the new space (reds, greens, blues, lightness, colorfulness, hue, a, b), and the
// hue of an achromatic color becomes missing.
CssColorValue InSpaceForMixing(const CssColorValue& color, CssSpace space);
