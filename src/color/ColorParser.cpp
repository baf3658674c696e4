#include "color/ColorParser.h"

#include "color/ColorForms.h"
#include "color/ColorSpace.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <numbers>
#include <string>

using bascommon::ColorValue;

namespace
{

struct NamedColor {
    std::string_view name;
    int rgb; // 0xRRGGBB
};

// The CSS named colors, sorted by name for binary search.
constexpr std::array<NamedColor, 148> namedColors{{
    {"aliceblue", 0xF0F8FF},
    {"antiquewhite", 0xFAEBD7},
    {"aqua", 0x00FFFF},
    {"aquamarine", 0x7FFFD4},
    {"azure", 0xF0FFFF},
    {"beige", 0xF5F5DC},
    {"bisque", 0xFFE4C4},
    {"black", 0x000000},
    {"blanchedalmond", 0xFFEBCD},
    {"blue", 0x0000FF},
    {"blueviolet", 0x8A2BE2},
    {"brown", 0xA52A2A},
    {"burlywood", 0xDEB887},
    {"cadetblue", 0x5F9EA0},
    {"chartreuse", 0x7FFF00},
    {"chocolate", 0xD2691E},
    {"coral", 0xFF7F50},
    {"cornflowerblue", 0x6495ED},
    {"cornsilk", 0xFFF8DC},
    {"crimson", 0xDC143C},
    {"cyan", 0x00FFFF},
    {"darkblue", 0x00008B},
    {"darkcyan", 0x008B8B},
    {"darkgoldenrod", 0xB8860B},
    {"darkgray", 0xA9A9A9},
    {"darkgreen", 0x006400},
    {"darkgrey", 0xA9A9A9},
    {"darkkhaki", 0xBDB76B},
    {"darkmagenta", 0x8B008B},
    {"darkolivegreen", 0x556B2F},
    {"darkorange", 0xFF8C00},
    {"darkorchid", 0x9932CC},
    {"darkred", 0x8B0000},
    {"darksalmon", 0xE9967A},
    {"darkseagreen", 0x8FBC8F},
    {"darkslateblue", 0x483D8B},
    {"darkslategray", 0x2F4F4F},
    {"darkslategrey", 0x2F4F4F},
    {"darkturquoise", 0x00CED1},
    {"darkviolet", 0x9400D3},
    {"deeppink", 0xFF1493},
    {"deepskyblue", 0x00BFFF},
    {"dimgray", 0x696969},
    {"dimgrey", 0x696969},
    {"dodgerblue", 0x1E90FF},
    {"firebrick", 0xB22222},
    {"floralwhite", 0xFFFAF0},
    {"forestgreen", 0x228B22},
    {"fuchsia", 0xFF00FF},
    {"gainsboro", 0xDCDCDC},
    {"ghostwhite", 0xF8F8FF},
    {"gold", 0xFFD700},
    {"goldenrod", 0xDAA520},
    {"gray", 0x808080},
    {"green", 0x008000},
    {"greenyellow", 0xADFF2F},
    {"grey", 0x808080},
    {"honeydew", 0xF0FFF0},
    {"hotpink", 0xFF69B4},
    {"indianred", 0xCD5C5C},
    {"indigo", 0x4B0082},
    {"ivory", 0xFFFFF0},
    {"khaki", 0xF0E68C},
    {"lavender", 0xE6E6FA},
    {"lavenderblush", 0xFFF0F5},
    {"lawngreen", 0x7CFC00},
    {"lemonchiffon", 0xFFFACD},
    {"lightblue", 0xADD8E6},
    {"lightcoral", 0xF08080},
    {"lightcyan", 0xE0FFFF},
    {"lightgoldenrodyellow", 0xFAFAD2},
    {"lightgray", 0xD3D3D3},
    {"lightgreen", 0x90EE90},
    {"lightgrey", 0xD3D3D3},
    {"lightpink", 0xFFB6C1},
    {"lightsalmon", 0xFFA07A},
    {"lightseagreen", 0x20B2AA},
    {"lightskyblue", 0x87CEFA},
    {"lightslategray", 0x778899},
    {"lightslategrey", 0x778899},
    {"lightsteelblue", 0xB0C4DE},
    {"lightyellow", 0xFFFFE0},
    {"lime", 0x00FF00},
    {"limegreen", 0x32CD32},
    {"linen", 0xFAF0E6},
    {"magenta", 0xFF00FF},
    {"maroon", 0x800000},
    {"mediumaquamarine", 0x66CDAA},
    {"mediumblue", 0x0000CD},
    {"mediumorchid", 0xBA55D3},
    {"mediumpurple", 0x9370DB},
    {"mediumseagreen", 0x3CB371},
    {"mediumslateblue", 0x7B68EE},
    {"mediumspringgreen", 0x00FA9A},
    {"mediumturquoise", 0x48D1CC},
    {"mediumvioletred", 0xC71585},
    {"midnightblue", 0x191970},
    {"mintcream", 0xF5FFFA},
    {"mistyrose", 0xFFE4E1},
    {"moccasin", 0xFFE4B5},
    {"navajowhite", 0xFFDEAD},
    {"navy", 0x000080},
    {"oldlace", 0xFDF5E6},
    {"olive", 0x808000},
    {"olivedrab", 0x6B8E23},
    {"orange", 0xFFA500},
    {"orangered", 0xFF4500},
    {"orchid", 0xDA70D6},
    {"palegoldenrod", 0xEEE8AA},
    {"palegreen", 0x98FB98},
    {"paleturquoise", 0xAFEEEE},
    {"palevioletred", 0xDB7093},
    {"papayawhip", 0xFFEFD5},
    {"peachpuff", 0xFFDAB9},
    {"peru", 0xCD853F},
    {"pink", 0xFFC0CB},
    {"plum", 0xDDA0DD},
    {"powderblue", 0xB0E0E6},
    {"purple", 0x800080},
    {"rebeccapurple", 0x663399},
    {"red", 0xFF0000},
    {"rosybrown", 0xBC8F8F},
    {"royalblue", 0x4169E1},
    {"saddlebrown", 0x8B4513},
    {"salmon", 0xFA8072},
    {"sandybrown", 0xF4A460},
    {"seagreen", 0x2E8B57},
    {"seashell", 0xFFF5EE},
    {"sienna", 0xA0522D},
    {"silver", 0xC0C0C0},
    {"skyblue", 0x87CEEB},
    {"slateblue", 0x6A5ACD},
    {"slategray", 0x708090},
    {"slategrey", 0x708090},
    {"snow", 0xFFFAFA},
    {"springgreen", 0x00FF7F},
    {"steelblue", 0x4682B4},
    {"tan", 0xD2B48C},
    {"teal", 0x008080},
    {"thistle", 0xD8BFD8},
    {"tomato", 0xFF6347},
    {"turquoise", 0x40E0D0},
    {"violet", 0xEE82EE},
    {"wheat", 0xF5DEB3},
    {"white", 0xFFFFFF},
    {"whitesmoke", 0xF5F5F5},
    {"yellow", 0xFFFF00},
    {"yellowgreen", 0x9ACD32},
}};

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// The text without surrounding blanks, one trailing ";" and one pair of surrounding quotes,
// in lower case.
std::string normalized(std::string_view text)
{
    std::string_view s = trimmed(text);
    if (!s.empty() && s.back() == ';')
        s = trimmed(s.substr(0, s.size() - 1));
    if (s.size() >= 2 && (s.front() == '"' || s.front() == '\'') && s.back() == s.front())
        s = trimmed(s.substr(1, s.size() - 2));
    if (!s.empty() && s.back() == ';')
        s = trimmed(s.substr(0, s.size() - 1));
    std::string lower(s);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return lower;
}

bool startsWith(std::string_view s, std::string_view prefix)
{
    return s.substr(0, prefix.size()) == prefix;
}

// The value of a run of one to eight hexadecimal digits, or -1 when any character is not one
// (or the run is longer than any color form, which could not be held).
long hexValue(std::string_view digits)
{
    if (digits.empty() || digits.size() > 8)
        return -1;
    long value = 0;
    for (char c : digits) {
        const int d = bascommon::hexDigitValue(c);
        if (d < 0)
            return -1;
        value = value * 16 + d;
    }
    return value;
}

ColorValue colorOfRrggbb(long rrggbb)
{
    return bascommon::RGB(static_cast<int>(rrggbb >> 16) & 255, static_cast<int>(rrggbb >> 8) & 255,
                          static_cast<int>(rrggbb) & 255);
}

std::optional<ColorValue> hexForm(std::string_view digits)
{
    const long value = hexValue(digits);
    if (value < 0)
        return std::nullopt;
    if (digits.size() == 6)
        return colorOfRrggbb(value);
    if (digits.size() == 3) {
        const auto twice = [](long d) { return static_cast<int>(d * 17); };
        return bascommon::RGB(twice(value >> 8 & 15), twice(value >> 4 & 15), twice(value & 15));
    }
    return std::nullopt;
}

// BBGGRR digits of the copy forms: six, or eight with a zero high byte.
std::optional<ColorValue> bgrForm(std::string_view digits)
{
    if (digits.size() == 8 && startsWith(digits, "00"))
        digits.remove_prefix(2);
    const long value = digits.size() == 6 ? hexValue(digits) : -1;
    if (value < 0)
        return std::nullopt;
    return bascommon::RGB(static_cast<int>(value) & 255, static_cast<int>(value >> 8) & 255,
                          static_cast<int>(value >> 16) & 255);
}

// One component of a CSS function: a number, optionally followed by a unit.
struct Component {
    double value;
    std::string_view unit; // "", "%", "deg", ...
};

std::optional<Component> component(std::string_view token)
{
    token = trimmed(token);
    if (!token.empty() && token.front() == '+')
        token.remove_prefix(1);
    double value = 0;
    const auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), value);
    if (ec != std::errc() || !std::isfinite(value))
        return std::nullopt;
    return Component{value, token.substr(static_cast<std::size_t>(end - token.data()))};
}

// The components of "name(...)": three, or four when the fourth is an alpha (after "/" in the
// space syntax, after a comma in the comma syntax). Nothing when the shape is wrong.
using Arguments = std::array<Component, 3>;

// The components of "name(...)": three, and an alpha after them (after "/" in the space
// syntax, after a third comma in the comma syntax) that is checked and dropped. Nothing when
// the shape is wrong.
std::optional<Arguments> arguments(std::string_view inside)
{
    std::array<std::string_view, 5> tokens;
    std::size_t count = 0;
    std::string_view alpha;
    const auto add = [&](std::string_view token) {
        if (count < tokens.size())
            tokens[count] = token;
        ++count;
    };
    if (inside.find(',') != std::string_view::npos) {
        if (inside.find('/') != std::string_view::npos)
            return std::nullopt;
        std::size_t start = 0;
        for (std::size_t comma; (comma = inside.find(',', start)) != std::string_view::npos;
             start = comma + 1)
            add(inside.substr(start, comma - start));
        add(inside.substr(start));
        if (count == 4)
            alpha = tokens[--count];
    } else {
        const std::size_t slash = inside.find('/');
        if (slash != std::string_view::npos) {
            alpha = inside.substr(slash + 1);
            if (trimmed(alpha).empty())
                return std::nullopt;
            inside = inside.substr(0, slash);
        }
        std::size_t i = 0;
        while (i < inside.size()) {
            while (i < inside.size() && isBlank(inside[i]))
                ++i;
            const std::size_t start = i;
            while (i < inside.size() && !isBlank(inside[i]))
                ++i;
            if (i > start)
                add(inside.substr(start, i - start));
        }
    }
    if (count != 3)
        return std::nullopt;
    if (!alpha.empty()) {
        const auto a = component(alpha);
        if (!a || !(a->unit.empty() || a->unit == "%"))
            return std::nullopt;
    }
    Arguments result;
    for (std::size_t i = 0; i < 3; ++i) {
        const auto c = component(tokens[i]);
        if (!c)
            return std::nullopt;
        result[i] = *c;
    }
    return result;
}

std::optional<double> degrees(const Component& c)
{
    if (c.unit.empty() || c.unit == "deg")
        return c.value;
    if (c.unit == "grad")
        return c.value * 0.9;
    if (c.unit == "rad")
        return c.value * 180.0 / std::numbers::pi;
    if (c.unit == "turn")
        return c.value * 360.0;
    return std::nullopt;
}

// A percentage or a plain number of the same scale (modern CSS allows both for S and L).
std::optional<double> percent(const Component& c)
{
    if (c.unit == "%" || c.unit.empty())
        return c.value;
    return std::nullopt;
}

std::optional<ColorValue> rgbFunction(const Arguments& args)
{
    int channels[3];
    for (int i = 0; i < 3; ++i) {
        double v = args[static_cast<std::size_t>(i)].value;
        const std::string_view unit = args[static_cast<std::size_t>(i)].unit;
        if (unit == "%")
            v = v * 255.0 / 100.0;
        else if (!unit.empty())
            return std::nullopt;
        channels[i] = static_cast<int>(std::clamp(std::nearbyint(v), 0.0, 255.0));
    }
    return bascommon::RGB(channels[0], channels[1], channels[2]);
}

std::optional<ColorValue> hslFunction(const Arguments& args)
{
    const auto h = degrees(args[0]);
    const auto s = percent(args[1]);
    const auto l = percent(args[2]);
    if (!h || !s || !l)
        return std::nullopt;
    return ColorOfHsl(*h, *s, *l);
}

std::optional<ColorValue> oklchFunction(const Arguments& args)
{
    const Component& L = args[0];
    const Component& C = args[1];
    const auto h = degrees(args[2]);
    if (!h || !(L.unit.empty() || L.unit == "%") || !(C.unit.empty() || C.unit == "%"))
        return std::nullopt;
    const double lightness = L.unit == "%" ? L.value / 100.0 : L.value;
    const double chroma = C.unit == "%" ? C.value * 0.004 : C.value;
    return GamutMapToSrgb(OkLch{lightness, std::max(chroma, 0.0), *h});
}

std::optional<ColorValue> cssFunction(std::string_view s)
{
    const std::size_t open = s.find('(');
    if (open == std::string_view::npos || s.back() != ')')
        return std::nullopt;
    const std::string_view name = trimmed(s.substr(0, open));
    const auto args = arguments(s.substr(open + 1, s.size() - open - 2));
    if (!args)
        return std::nullopt;
    if (name == "rgb" || name == "rgba")
        return rgbFunction(*args);
    if (name == "hsl" || name == "hsla")
        return hslFunction(*args);
    if (name == "oklch")
        return oklchFunction(*args);
    return std::nullopt;
}

// "R,G,B" with plain decimal integers 0-255.
std::optional<ColorValue> decimalTriple(std::string_view s)
{
    int channels[3];
    std::size_t start = 0;
    for (int i = 0; i < 3; ++i) {
        const std::size_t comma = i < 2 ? s.find(',', start) : s.size();
        if (comma == std::string_view::npos)
            return std::nullopt;
        const std::string_view token = trimmed(s.substr(start, comma - start));
        int v = -1;
        const auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), v);
        if (token.empty() || ec != std::errc() || end != token.data() + token.size() || v < 0 ||
            v > 255)
            return std::nullopt;
        channels[i] = v;
        start = comma + 1;
    }
    return bascommon::RGB(channels[0], channels[1], channels[2]);
}

std::optional<ColorValue> namedColor(std::string_view name)
{
    const auto it =
        std::lower_bound(namedColors.begin(), namedColors.end(), name,
                         [](const NamedColor& c, std::string_view n) { return c.name < n; });
    if (it == namedColors.end() || it->name != name)
        return std::nullopt;
    return colorOfRrggbb(it->rgb);
}

} // namespace

std::optional<ColorValue> ParseColor(std::string_view text)
{
    const std::string s = normalized(text);
    if (s.empty())
        return std::nullopt;
    if (s.front() == '#')
        return hexForm(std::string_view(s).substr(1));
    if (startsWith(s, "&h") && s.size() > 3 && s.back() == '&')
        return bgrForm(std::string_view(s).substr(2, s.size() - 3));
    if (s.front() == '$')
        return bgrForm(std::string_view(s).substr(1));
    if (startsWith(s, "0x"))
        return bgrForm(std::string_view(s).substr(2));
    if (startsWith(s, "hex={") && s.back() == '}') {
        const std::string_view inside = std::string_view(s).substr(5, s.size() - 6);
        if (inside.size() != 8 || inside[2] != ',' || inside[5] != ',')
            return std::nullopt;
        return hexForm(std::string(inside.substr(0, 2)) + std::string(inside.substr(3, 2)) +
                       std::string(inside.substr(6, 2)));
    }
    if (s.find('(') != std::string::npos)
        return cssFunction(s);
    if (s.find(',') != std::string::npos)
        return decimalTriple(s);
    if (const auto named = namedColor(s))
        return named;
    return hexForm(s);
}

ColorReading ReadColor(std::string_view text)
{
    if (const auto color = ParseColor(text))
        return {ParsedColor{*color, 1.0, false}, {}};
    return {std::nullopt, "not a color"};
}
