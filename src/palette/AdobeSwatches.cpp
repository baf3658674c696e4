// The binary swatch files: Adobe swatch exchange (read and write) and Photoshop swatches (read),
// with the text encodings and color models they carry.
#include "palette/PaletteFormats.h"

#include "color/CssSpaces.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <optional>

using bascommon::ColorValue;

namespace
{

// Big-endian words at byte offsets of a file held in memory; has() guards every read.
class BigEndian
{
public:
    explicit BigEndian(std::string_view bytes) : m_bytes(bytes) {}
    bool has(std::size_t at, std::uint64_t count) const
    {
        return at <= m_bytes.size() && count <= m_bytes.size() - at;
    }
    std::uint16_t u16(std::size_t at) const
    {
        return static_cast<std::uint16_t>(byte(at) << 8 | byte(at + 1));
    }
    std::uint32_t u32(std::size_t at) const
    {
        return static_cast<std::uint32_t>(u16(at)) << 16 | u16(at + 2);
    }
    float f32(std::size_t at) const { return std::bit_cast<float>(u32(at)); }
    std::string_view slice(std::size_t at, std::size_t count) const
    {
        return m_bytes.substr(at, count);
    }
    std::size_t size() const { return m_bytes.size(); }

private:
    unsigned byte(std::size_t at) const { return static_cast<unsigned char>(m_bytes[at]); }
    std::string_view m_bytes;
};

void appendUtf8(std::string& text, char32_t code)
{
    auto put = [&](unsigned value) { text += static_cast<char>(value); };
    if (code < 0x80) {
        put(static_cast<unsigned>(code));
    } else if (code < 0x800) {
        put(0xC0 | code >> 6);
        put(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        put(0xE0 | code >> 12);
        put(0x80 | (code >> 6 & 0x3F));
        put(0x80 | (code & 0x3F));
    } else {
        put(0xF0 | code >> 18);
        put(0x80 | (code >> 12 & 0x3F));
        put(0x80 | (code >> 6 & 0x3F));
        put(0x80 | (code & 0x3F));
    }
}

// The code point of the UTF-8 sequence at text[at], moving `at` behind it; nothing for a
// sequence that is not valid UTF-8 (overlong, a surrogate, beyond U+10FFFF, cut short).
std::optional<char32_t> nextCodePoint(std::string_view text, std::size_t& at)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) {
        ++at;
        return lead;
    }
    const std::size_t extra = (lead & 0xE0) == 0xC0   ? 1
                              : (lead & 0xF0) == 0xE0 ? 2
                              : (lead & 0xF8) == 0xF0 ? 3
                                                      : 0;
    if (extra == 0 || text.size() - at <= extra)
        return std::nullopt;
    char32_t code = lead & (0x3F >> extra);
    for (std::size_t k = 1; k <= extra; ++k) {
        const auto next = static_cast<unsigned char>(text[at + k]);
        if ((next & 0xC0) != 0x80)
            return std::nullopt;
        code = code << 6 | (next & 0x3F);
    }
    constexpr std::array<char32_t, 4> smallest{0, 0x80, 0x800, 0x10000};
    if (code < smallest[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return std::nullopt;
    at += extra + 1;
    return code;
}

// UTF-16BE units up to the first zero unit (or the end) as UTF-8; unpaired surrogates become
// U+FFFD.
std::string utf16ToUtf8(std::string_view bytes)
{
    const BigEndian in(bytes);
    std::string text;
    for (std::size_t at = 0; at + 2 <= bytes.size(); at += 2) {
        const char32_t unit = in.u16(at);
        if (unit == 0)
            break;
        if (unit >= 0xD800 && unit <= 0xDBFF && at + 4 <= bytes.size()) {
            const char32_t low = in.u16(at + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                appendUtf8(text, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                at += 2;
                continue;
            }
        }
        appendUtf8(text, unit >= 0xD800 && unit <= 0xDFFF ? 0xFFFD : unit);
    }
    return text;
}

void put16(std::string& out, std::uint32_t value)
{
    out += static_cast<char>(value >> 8 & 0xFF);
    out += static_cast<char>(value & 0xFF);
}

void put32(std::string& out, std::uint32_t value)
{
    put16(out, value >> 16);
    put16(out, value & 0xFFFF);
}

// An ASE name: the count of UTF-16 units with the terminating zero, the units, the zero. Cut
// to what a 16-bit count can hold.
std::string aseName(std::string_view text)
{
    const std::string utf8 = asUtf8(text);
    std::string units;
    for (std::size_t at = 0; at < utf8.size() && units.size() < 2 * 65532;) {
        const char32_t code = nextCodePoint(utf8, at).value_or(0xFFFD);
        if (code >= 0x10000) {
            put16(units, 0xD800 + ((code - 0x10000) >> 10));
            put16(units, 0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            put16(units, code);
        }
    }
    std::string out;
    put16(out, static_cast<std::uint32_t>(units.size() / 2 + 1));
    out += units;
    put16(out, 0);
    return out;
}

// A fraction 0-1 (clipped) as a component 0-255, rounded to nearest.
int channel(double fraction)
{
    return static_cast<int>(std::lrint(std::clamp(fraction, 0.0, 1.0) * 255.0));
}

// C, M, Y, K ink fractions 0-1 (clipped) as the file gives them, through the naive rule of
// device CMYK: each channel is 1 - min(1, ink * (1 - K) + K), rounded only once, at the end.
ColorValue fromCmyk(double c, double m, double y, double k)
{
    const auto ink = [](double fraction) { return std::clamp(fraction, 0.0, 1.0); };
    const double black = ink(k);
    const auto channelOf = [&](double part) {
        return 1 - std::min(1.0, ink(part) * (1 - black) + black);
    };
    return ColorOfSrgb({channelOf(c), channelOf(m), channelOf(y)});
}

// CIELAB under D50 (L 0-100) to the 8-bit sRGB color, brought into the gamut the CSS way.
ColorValue fromLabD50(double L, double a, double b)
{
    return ColorOfChannels(CssSpace::Lab, {L, a, b});
}

// Hue in degrees, saturation and brightness 0-1.
ColorValue fromHsb(double hue, double s, double v)
{
    const double h = std::fmod(std::max(hue, 0.0), 360.0) / 60.0;
    const double f = h - std::floor(h);
    const double p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
    const std::array<std::array<double, 3>, 6> sectors{
        {{v, t, p}, {q, v, p}, {p, v, t}, {p, q, v}, {t, p, v}, {v, p, q}}};
    const auto& rgb = sectors[static_cast<std::size_t>(h) % 6];
    return bascommon::RGB(channel(rgb[0]), channel(rgb[1]), channel(rgb[2]));
}

PaletteReadResult faulty(std::uint64_t offset, std::string reason, FaultKind kind)
{
    PaletteReadResult result;
    result.lineNumbers = false;
    result.fault = PaletteFault{offset, std::move(reason), kind, {}};
    return result;
}

std::string hex4(unsigned value)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string text = "0x";
    for (int shift = 12; shift >= 0; shift -= 4)
        text += digits[value >> shift & 0xF];
    return text;
}

// A name field (16-bit unit count, units) at body[at]; moves `at` behind it. Nothing when the
// count runs past the block.
std::optional<std::string> aseBlockName(const BigEndian& body, std::size_t& at)
{
    if (!body.has(at, 2) || !body.has(at + 2, 2u * body.u16(at)))
        return std::nullopt;
    const std::size_t units = body.u16(at);
    const std::string name = utf16ToUtf8(body.slice(at + 2, 2 * units));
    at += 2 + 2 * units;
    return name;
}

// One color block: adds its color, or a skipped entry; returns a fault reason when the block
// is cut short.
std::optional<std::string> readAseColor(std::string_view bytes, std::uint64_t offset,
                                        PaletteReadResult& result)
{
    const BigEndian body(bytes);
    std::size_t at = 0;
    const auto name = aseBlockName(body, at);
    if (!name)
        return "color name length runs past its block";
    if (!body.has(at, 4))
        return "color block ends before its color model";
    const std::string_view model = body.slice(at, 4);
    at += 4;
    const int values = model == "RGB " || model == "LAB " ? 3
                       : model == "CMYK"                  ? 4
                       : model == "Gray"                  ? 1
                                                          : 0;
    if (values == 0) {
        result.skipped.push_back(
            {offset, "color model \"" + std::string(model) + "\" not supported"});
        return std::nullopt;
    }
    if (!body.has(at, 4u * static_cast<unsigned>(values) + 2))
        return "color block ends inside its values";
    std::array<double, 4> v{};
    for (int i = 0; i < values; ++i) {
        v[static_cast<std::size_t>(i)] = body.f32(at + 4 * static_cast<std::size_t>(i));
        if (!std::isfinite(v[static_cast<std::size_t>(i)])) {
            result.skipped.push_back({offset, "color value is not a number"});
            return std::nullopt;
        }
    }
    ColorValue color = 0;
    if (model == "RGB ")
        color = bascommon::RGB(channel(v[0]), channel(v[1]), channel(v[2]));
    else if (model == "CMYK")
        color = fromCmyk(v[0], v[1], v[2], v[3]);
    else if (model == "LAB ")
        color = fromLabD50(v[0] * 100, v[1], v[2]);
    else
        color = bascommon::RGB(channel(v[0]), channel(v[0]), channel(v[0]));
    result.colors.push_back({color, *name});
    return std::nullopt;
}

// A Photoshop color entry's four words in its color space, or nothing for other spaces.
std::optional<ColorValue> acoColor(std::uint16_t space, std::array<std::uint16_t, 4> w)
{
    switch (space) {
    case 0: // RGB
        return bascommon::RGB(channel(w[0] / 65535.0), channel(w[1] / 65535.0),
                              channel(w[2] / 65535.0));
    case 1: // HSB
        return fromHsb(w[0] / 65535.0 * 360.0, w[1] / 65535.0, w[2] / 65535.0);
    case 2: // CMYK, 65535 for no ink
        return fromCmyk(1 - w[0] / 65535.0, 1 - w[1] / 65535.0, 1 - w[2] / 65535.0,
                        1 - w[3] / 65535.0);
    case 7: // Lab
        return fromLabD50(w[0] / 100.0, static_cast<std::int16_t>(w[1]) / 100.0,
                          static_cast<std::int16_t>(w[2]) / 100.0);
    case 8: // Grayscale, as ink
        return bascommon::RGB(channel(1 - w[0] / 10000.0), channel(1 - w[0] / 10000.0),
                              channel(1 - w[0] / 10000.0));
    default:
        return std::nullopt;
    }
}

// One section (version word, count, entries) at `at`, moving `at` behind it.
PaletteReadResult readAcoSection(const BigEndian& in, std::size_t& at)
{
    PaletteReadResult result;
    result.lineNumbers = false;
    const bool named = in.u16(at) == 2;
    const std::size_t count = in.u16(at + 2);
    at += 4;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = at;
        if (!in.has(at, 10))
            return faulty(entry,
                          "the file ends inside color " + std::to_string(i + 1) + " of " +
                              std::to_string(count),
                          FaultKind::CutShort);
        const std::uint16_t space = in.u16(at);
        const std::array<std::uint16_t, 4> words{in.u16(at + 2), in.u16(at + 4), in.u16(at + 6),
                                                 in.u16(at + 8)};
        at += 10;
        std::string name;
        if (named) {
            if (!in.has(at, 4) || !in.has(at + 4, 2ull * in.u32(at)))
                return faulty(entry, "color name length runs past the end of the file",
                              FaultKind::CutShort);
            const std::size_t units = in.u32(at);
            name = utf16ToUtf8(in.slice(at + 4, 2 * units));
            at += 4 + 2 * units;
        }
        if (const auto color = acoColor(space, words))
            result.colors.push_back({*color, name});
        else
            result.skipped.push_back(
                {entry, "color space " + std::to_string(space) + " not supported"});
    }
    return result;
}

} // namespace

std::string asUtf8(std::string_view text)
{
    for (std::size_t at = 0; at < text.size();)
        if (!nextCodePoint(text, at)) {
            std::string latin1;
            for (const char c : text)
                appendUtf8(latin1, static_cast<unsigned char>(c));
            return latin1;
        }
    return std::string(text);
}

PaletteReadResult readAse(std::string_view bytes)
{
    const BigEndian in(bytes);
    if (bytes.starts_with("ASEF") && !in.has(0, 12))
        return faulty(bytes.size(), "the file ends inside its header", FaultKind::CutShort);
    if (!in.has(0, 12) || bytes.substr(0, 4) != "ASEF")
        return faulty(0, "not an Adobe swatch exchange file (no \"ASEF\" signature)",
                      FaultKind::NotThisFormat);
    // Version 1.0 as written today, and 0.1 as some older writers put it; the blocks are the same.
    const bool known = in.u16(4) == 1 || (in.u16(4) == 0 && in.u16(6) == 1);
    if (!known)
        return faulty(4,
                      "version " + std::to_string(in.u16(4)) + "." + std::to_string(in.u16(6)) +
                          " is not supported",
                      FaultKind::Unsupported);
    const std::uint32_t count = in.u32(8);
    if (count > (bytes.size() - 12) / 6)
        return faulty(8, "block count " + std::to_string(count) + " is more than the file holds",
                      FaultKind::CutShort);
    PaletteReadResult result;
    result.lineNumbers = false;
    std::size_t at = 12;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (!in.has(at, 6))
            return faulty(at,
                          "the file ends inside block " + std::to_string(i + 1) + " of " +
                              std::to_string(count),
                          FaultKind::CutShort);
        const std::uint16_t type = in.u16(at);
        const std::uint32_t length = in.u32(at + 2);
        if (!in.has(at + 6, length))
            return faulty(
                at, "block length " + std::to_string(length) + " runs past the end of the file",
                FaultKind::CutShort);
        const std::string_view body = in.slice(at + 6, length);
        if (type == 0x0001) {
            if (const auto fault = readAseColor(body, at, result))
                return faulty(at, *fault, FaultKind::Damaged);
            if (result.colors.size() > maxPaletteColors)
                return faulty(at, "more than " + std::to_string(maxPaletteColors) + " colors",
                              FaultKind::TooLarge);
        } else if (type == 0xC001) {
            // A group start may come without a name at all: an empty block.
            std::size_t nameAt = 0;
            const auto name = body.empty() ? std::optional<std::string>("")
                                           : aseBlockName(BigEndian(body), nameAt);
            if (!name)
                return faulty(at, "group name length runs past its block", FaultKind::Damaged);
            if (result.title.empty())
                result.title = *name;
        } else if (type != 0xC002) {
            result.skipped.push_back({at, "unknown block type " + hex4(type)});
        }
        at += 6 + length;
    }
    return result;
}

PaletteReadResult readAco(std::string_view bytes)
{
    const BigEndian in(bytes);
    if (!in.has(0, 4) || (in.u16(0) != 1 && in.u16(0) != 2))
        return faulty(0, "not a Photoshop swatches file (no version 1 or 2 at its start)",
                      FaultKind::NotThisFormat);
    std::size_t at = 0;
    PaletteReadResult result = readAcoSection(in, at);
    // Photoshop follows the unnamed colors with the same colors again, named.
    if (!result.fault && in.u16(0) == 1 && in.has(at, 4) && in.u16(at) == 2)
        result = readAcoSection(in, at);
    if (!result.fault && at < bytes.size())
        result.skipped.push_back(
            {at, std::to_string(bytes.size() - at) + " bytes after the colors ignored"});
    return result;
}

std::string writeAse(std::string_view title, const std::vector<ColorValue>& colors)
{
    std::string out = "ASEF";
    put16(out, 1);
    put16(out, 0);
    put32(out, static_cast<std::uint32_t>(colors.size() + 2));
    const std::string group = aseName(title);
    put16(out, 0xC001);
    put32(out, static_cast<std::uint32_t>(group.size()));
    out += group;
    for (const ColorValue color : colors) {
        std::string body = aseName(bascommon::HexRGB(color)) + "RGB ";
        for (const int component :
             {bascommon::GetRed(color), bascommon::GetGreen(color), bascommon::GetBlue(color)})
            put32(body, std::bit_cast<std::uint32_t>(static_cast<float>(component) / 255.0f));
        put16(body, 2); // a normal (process) color
        put16(out, 0x0001);
        put32(out, static_cast<std::uint32_t>(body.size()));
        out += body;
    }
    put16(out, 0xC002);
    put32(out, 0);
    return out;
}
