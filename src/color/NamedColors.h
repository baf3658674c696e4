#pragma once

#include <array>
#include <optional>
#include <string_view>

// The 148 named colors of style sheets ("transparent" and the page-dependent keywords are not
// among them), sorted by name.
struct NamedColor {
    std::string_view name; // lower case
    int rgb;               // 0xRRGGBB
};
extern const std::array<NamedColor, 148> namedColors;

// The 0xRRGGBB of a named color, in any case, or nothing.
std::optional<int> NamedColorRgb(std::string_view name);
