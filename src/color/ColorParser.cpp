#include "color/ColorParser.h"

#include "color/CssColor.h"
#include "color/CssSpaces.h"

#include <charconv>
#include <string>

using bascommon::ColorValue;

namespace
{

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

bool startsWithIgnoringCase(std::string_view s, std::string_view lowerPrefix)
{
    if (s.size() < lowerPrefix.size())
        return false;
    for (std::size_t i = 0; i < lowerPrefix.size(); ++i)
        if ((s[i] >= 'A' && s[i] <= 'Z' ? char(s[i] - 'A' + 'a') : s[i]) != lowerPrefix[i])
            return false;
    return true;
}

// The value of a run of hexadecimal digits of the given length, or -1.
long hexValue(std::string_view digits, std::size_t length)
{
    if (digits.size() != length)
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

ParsedColor opaque(int r, int g, int b)
{
    return ParsedColor{bascommon::RGB(r, g, b), 1.0, false};
}

// "RRGGBB" or "RGB" without "#".
std::optional<ParsedColor> bareHex(std::string_view digits)
{
    if (const long v = hexValue(digits, 6); v >= 0)
        return opaque(int(v >> 16 & 255), int(v >> 8 & 255), int(v & 255));
    if (const long v = hexValue(digits, 3); v >= 0)
        return opaque(int(v >> 8 & 15) * 17, int(v >> 4 & 15) * 17, int(v & 15) * 17);
    return std::nullopt;
}

// BBGGRR digits of the copy forms: six, or eight with a zero high byte.
std::optional<ParsedColor> bgrForm(std::string_view digits)
{
    if (digits.size() == 8 && digits.substr(0, 2) == "00")
        digits.remove_prefix(2);
    const long v = hexValue(digits, 6);
    if (v < 0)
        return std::nullopt;
    return opaque(int(v & 255), int(v >> 8 & 255), int(v >> 16 & 255));
}

// "R,G,B" with plain decimal integers 0-255.
std::optional<ParsedColor> decimalTriple(std::string_view s)
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
    return opaque(channels[0], channels[1], channels[2]);
}

// The program's own copy forms, which style sheets do not have.
std::optional<ParsedColor> programForm(std::string_view s)
{
    if (startsWithIgnoringCase(s, "&h") && s.size() > 3 && s.back() == '&')
        return bgrForm(s.substr(2, s.size() - 3));
    if (s.front() == '$')
        return bgrForm(s.substr(1));
    if (startsWithIgnoringCase(s, "0x"))
        return bgrForm(s.substr(2));
    if (startsWithIgnoringCase(s, "hex={") && s.back() == '}') {
        const std::string_view in = s.substr(5, s.size() - 6);
        if (in.size() != 8 || in[2] != ',' || in[5] != ',')
            return std::nullopt;
        return bareHex(std::string(in.substr(0, 2)) + std::string(in.substr(3, 2)) +
                       std::string(in.substr(6, 2)));
    }
    if (s.find(',') != std::string_view::npos && s.find('(') == std::string_view::npos)
        return decimalTriple(s);
    return std::nullopt;
}

ParsedColor fromCss(const CssColorValue& value)
{
    const Channels c = ResolvedChannels(value);
    return ParsedColor{ColorOfChannels(value.space, c), value.missing[3] ? 0.0 : value.alpha,
                       OutsideSrgb(value.space, c)};
}

std::string expectedSentence()
{
    return "expected " + std::string(ColorFormsExpected);
}

} // namespace

ColorReading ReadColor(std::string_view text)
{
    std::string_view s = trimmed(text);
    if (!s.empty() && s.back() == ';')
        s = trimmed(s.substr(0, s.size() - 1));
    if (s.empty())
        return {std::nullopt, "the text is empty; " + expectedSentence()};
    // The fast path of the commonest form.
    if (s.size() == 7 && s.front() == '#')
        if (const auto color = bareHex(s.substr(1)))
            return {color, {}};
    // The quoted copy forms "#RRGGBB" and "RRGGBB"; quotes around anything else are a string.
    if (s.size() >= 2 && (s.front() == '"' || s.front() == '\'') && s.back() == s.front()) {
        std::string_view inner = trimmed(s.substr(1, s.size() - 2));
        if (!inner.empty() && inner.front() == '#')
            inner.remove_prefix(1);
        if (const auto color = bareHex(inner))
            return {color, {}};
        return {std::nullopt, "a quoted text is a string, not a color; remove the quotes"};
    }
    if (const auto color = programForm(s))
        return {color, {}};
    const CssColorReading css = ReadCssColor(s);
    if (css.value)
        return {fromCss(*css.value), {}};
    if (const auto color = bareHex(s))
        return {color, {}};
    return {std::nullopt, css.error == "not a color" || css.error == "expected a color"
                              ? expectedSentence()
                              : css.error};
}

std::optional<ColorValue> ParseColor(std::string_view text)
{
    const ColorReading reading = ReadColor(text);
    if (!reading.color)
        return std::nullopt;
    return reading.color->color;
}
