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

// The mix of one or more colors, in the method's space. Unwritten shares split what the written
// ones leave of 100% (a lone color's is 100%); the colors mix one after another, each with its
// share of the shares so far, so shares that come to another total count in proportion (all 0%
// mix equally). A total below 100% scales the alpha of the result by it.
CssColorValue MixColors(const MixMethod& method, const std::vector<MixItem>& items);

// A color in another space, as mixing and relative colors see it: missing components carry over
// to the analogous component of the new space (reds, greens, blues, lightness, colorfulness, hue,
// a, b). A color whose chroma is below what the eye can see (LCH C <= 0.0015, OKLCH C <= 0.000004,
// HSL S <= 0.001%, HWB W + B >= 99.999%) is taken as exactly gray, and in a polar space such a
// gray has no chroma and a missing hue.
CssColorValue InSpace(const CssColorValue& color, CssSpace space);
