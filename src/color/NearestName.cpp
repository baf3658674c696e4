#include "color/NearestName.h"

#include "color/ColorSpace.h"
#include "color/CssSpaces.h"
#include "color/NamedColors.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

using bascommon::ColorValue;

namespace
{

struct Entry {
    OkLab lab;
    std::size_t index; // into namedColors, whose order breaks ties
};

// The named colors in OKLab, sorted by lightness so that a search can stop as soon as the
// lightness difference alone exceeds the best distance found.
const std::array<Entry, namedColors.size()>& byLightness()
{
    static const auto entries = [] {
        std::array<Entry, namedColors.size()> e{};
        for (std::size_t i = 0; i < namedColors.size(); ++i) {
            const int rgb = namedColors[i].rgb;
            e[i] = {OkLabOf(bascommon::RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF)), i};
        }
        std::sort(e.begin(), e.end(), [](const Entry& x, const Entry& y) {
            return x.lab.L < y.lab.L || (x.lab.L == y.lab.L && x.index < y.index);
        });
        return e;
    }();
    return entries;
}

} // namespace

NearestNamedColor NearestNamed(ColorValue color)
{
    const auto& entries = byLightness();
    const OkLab lab = OkLabOf(color);
    const auto start = std::lower_bound(entries.begin(), entries.end(), lab.L,
                                        [](const Entry& e, double L) { return e.lab.L < L; });
    double best = INFINITY;
    std::size_t bestIndex = 0;
    const auto consider = [&](const Entry& e) {
        const double d = DeltaEOK(lab, e.lab);
        if (d < best || (d == best && e.index < bestIndex)) {
            best = d;
            bestIndex = e.index;
        }
    };
    // Walk outwards from the color's lightness in both directions; a side ends once its
    // lightness difference exceeds the best distance (ties still count, hence >).
    for (auto it = start; it != entries.end() && it->lab.L - lab.L <= best; ++it)
        consider(*it);
    for (auto it = start; it != entries.begin() && lab.L - std::prev(it)->lab.L <= best; --it)
        consider(*std::prev(it));

    const NamedColor& named = namedColors[bestIndex];
    const bool exact = bascommon::RGB((named.rgb >> 16) & 0xFF, (named.rgb >> 8) & 0xFF,
                                      named.rgb & 0xFF) == color;
    return {named.name, exact ? 0.0 : best, exact};
}

std::string NearestNameText(ColorValue color)
{
    const NearestNamedColor nearest = NearestNamed(color);
    if (nearest.exact)
        return std::string(nearest.name);
    char distance[32];
    std::snprintf(distance, sizeof distance, "%.3f", nearest.distance);
    return "~ " + std::string(nearest.name) + " (" + distance + ")";
}
