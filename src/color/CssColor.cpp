#include "color/CssColor.h"

#include "color/CssColorMix.h"
#include "color/CssSyntax.h"
#include "color/NamedColors.h"
#include "color/bascommon.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{

constexpr double infinity = std::numeric_limits<double>::infinity();
// Where a channel without a range of its own stops when a calculation gives an infinity.
constexpr double largestChannel = 1e6;

// One channel of a color function: what 100% is worth, its clamping range, and whether it is
// a hue (a number of degrees or an angle).
struct Slot {
    double percentRef;
    double low = -infinity;
    double high = infinity;
    bool hue = false;
};
constexpr Slot hueSlot{0, -infinity, infinity, true};

struct FunctionShape {
    std::string_view name;
    CssSpace space;
    bool hasCommaSyntax;
    double scale; // from the channel's written units to the space's
    std::array<Slot, 3> slots;
    std::array<std::string_view, 3> keywords;
    std::string_view usage;
};

const FunctionShape functionShapes[] = {
    {"rgb",
     CssSpace::Srgb,
     true,
     1.0 / 255.0,
     {{{255, 0, 255}, {255, 0, 255}, {255, 0, 255}}},
     {"r", "g", "b"},
     "rgb(R G B) or rgb(R G B / A), each channel a number 0-255, a percentage or none, or "
     "rgb(R, G, B[, A]) with three numbers or three percentages"},
    {"hsl",
     CssSpace::Hsl,
     true,
     1.0,
     {{hueSlot, {100, 0}, {100}}},
     {"h", "s", "l"},
     "hsl(H S L) or hsl(H S L / A), the hue a number of degrees or an angle, S and L "
     "percentages or numbers 0-100, or hsl(H, S%, L%[, A])"},
    {"hwb",
     CssSpace::Hwb,
     false,
     1.0,
     {{hueSlot, {100}, {100}}},
     {"h", "w", "b"},
     "hwb(H W B) or hwb(H W B / A), the hue a number of degrees or an angle, whiteness and "
     "blackness percentages or numbers 0-100"},
    {"lab",
     CssSpace::Lab,
     false,
     1.0,
     {{{100, 0, 100}, {125}, {125}}},
     {"l", "a", "b"},
     "lab(L a b) or lab(L a b / A), L 0-100 or a percentage, a and b numbers or percentages "
     "(100% is 125)"},
    {"lch",
     CssSpace::Lch,
     false,
     1.0,
     {{{100, 0, 100}, {150, 0}, hueSlot}},
     {"l", "c", "h"},
     "lch(L C H) or lch(L C H / A), L 0-100 or a percentage, chroma a number or a percentage "
     "(100% is 150), the hue a number of degrees or an angle"},
    {"oklab",
     CssSpace::Oklab,
     false,
     1.0,
     {{{1, 0, 1}, {0.4}, {0.4}}},
     {"l", "a", "b"},
     "oklab(L a b) or oklab(L a b / A), L 0-1 or a percentage, a and b numbers or percentages "
     "(100% is 0.4)"},
    {"oklch",
     CssSpace::Oklch,
     false,
     1.0,
     {{{1, 0, 1}, {0.4, 0}, hueSlot}},
     {"l", "c", "h"},
     "oklch(L C H) or oklch(L C H / A), L 0-1 or a percentage, chroma a number or a percentage "
     "(100% is 0.4), the hue a number of degrees or an angle"},
};

constexpr std::string_view colorUsage =
    "color(SPACE R G B) or color(SPACE R G B / A), SPACE one of srgb, srgb-linear, display-p3, "
    "a98-rgb, prophoto-rgb, rec2020, xyz, xyz-d50, xyz-d65, each channel a number, a percentage "
    "or none";
constexpr std::string_view mixUsage =
    "color-mix(in SPACE, COLOR [P%], COLOR [P%]...) with percentages 0-100, SPACE one of srgb, "
    "srgb-linear, display-p3, a98-rgb, prophoto-rgb, rec2020, lab, "
    "oklab, xyz, xyz-d50, xyz-d65, or hsl, hwb, lch, oklch followed by an optional shorter, "
    "longer, increasing or decreasing hue";
constexpr std::string_view pageReason = "needs a page to give it a value, so it is not a color "
                                        "on its own";

constexpr std::string_view systemColors[] = {"accentcolor",
                                             "accentcolortext",
                                             "activetext",
                                             "buttonborder",
                                             "buttonface",
                                             "buttontext",
                                             "canvas",
                                             "canvastext",
                                             "field",
                                             "fieldtext",
                                             "graytext",
                                             "highlight",
                                             "highlighttext",
                                             "linktext",
                                             "mark",
                                             "marktext",
                                             "selecteditem",
                                             "selecteditemtext",
                                             "visitedtext",
                                             "activeborder",
                                             "activecaption",
                                             "appworkspace",
                                             "background",
                                             "buttonhighlight",
                                             "buttonshadow",
                                             "captiontext",
                                             "inactiveborder",
                                             "inactivecaption",
                                             "inactivecaptiontext",
                                             "infobackground",
                                             "infotext",
                                             "menu",
                                             "menutext",
                                             "scrollbar",
                                             "threeddarkshadow",
                                             "threedface",
                                             "threedhighlight",
                                             "threedlightshadow",
                                             "threedshadow",
                                             "window",
                                             "windowframe",
                                             "windowtext"};

// A component as written: a value in the function's own units, or "none".
struct Component {
    double value = 0;
    MathType type = MathType::Number;
    bool missing = false;
};

class ColorReader
{
public:
    explicit ColorReader(TokenCursor& cursor) : m_cursor(cursor) {}

    std::optional<CssColorValue> color(int depth);
    std::string error() const { return m_error.empty() ? std::string("not a color") : m_error; }

private:
    std::nullopt_t fail(std::string_view why)
    {
        if (m_error.empty())
            m_error = why;
        return std::nullopt;
    }
    std::optional<CssColorValue> hex(std::string_view digits);
    std::optional<CssColorValue> keyword(std::string_view name);
    std::optional<CssColorValue> function(std::string_view name, int depth);
    std::optional<CssColorValue> channels(const FunctionShape& shape, CssSpace space, int depth);
    std::optional<CssColorValue> mix(int depth);
    std::optional<CssColorValue> alphaFunction(int depth);
    std::optional<Component> component(const ChannelKeywords& keywords, int depth);
    std::optional<double> inSlot(const Component& c, const Slot& slot, bool clamped) const;
    std::optional<double> alphaOf(const Component& c) const;
    std::optional<double> mixPercentage(int depth);

    TokenCursor& m_cursor;
    std::string m_error;
};

int hexDigit(char c)
{
    return bascommon::hexDigitValue(c);
}

std::optional<CssColorValue> ColorReader::hex(std::string_view digits)
{
    const std::size_t n = digits.size();
    if (n != 3 && n != 4 && n != 6 && n != 8)
        return fail("a hex color has 3, 4, 6 or 8 digits");
    std::array<int, 4> v{0, 0, 0, 255};
    for (std::size_t i = 0; i < n; ++i)
        if (hexDigit(digits[i]) < 0)
            return fail("a hex color has only the digits 0-9 and A-F");
    const bool shortForm = n <= 4;
    for (std::size_t k = 0; k < (n == 3 || n == 6 ? 3u : 4u); ++k)
        v[k] = shortForm ? hexDigit(digits[k]) * 17
                         : hexDigit(digits[2 * k]) * 16 + hexDigit(digits[2 * k + 1]);
    CssColorValue color;
    color.channels = {v[0] / 255.0, v[1] / 255.0, v[2] / 255.0};
    color.alpha = v[3] / 255.0;
    return color;
}

std::optional<CssColorValue> ColorReader::keyword(std::string_view name)
{
    if (const auto rgb = NamedColorRgb(name)) {
        CssColorValue color;
        color.channels = {(*rgb >> 16 & 255) / 255.0, (*rgb >> 8 & 255) / 255.0,
                          (*rgb & 255) / 255.0};
        return color;
    }
    if (EqualsIgnoringCase(name, "transparent")) {
        CssColorValue color;
        color.alpha = 0;
        return color;
    }
    if (EqualsIgnoringCase(name, "currentcolor"))
        return fail("currentcolor " + std::string(pageReason));
    for (std::string_view system : systemColors)
        if (EqualsIgnoringCase(name, system))
            return fail("the system color " + std::string(name) + " " + std::string(pageReason));
    return fail("'" + std::string(name) + "' is not a color name");
}

std::optional<CssColorValue> ColorReader::color(int depth)
{
    if (depth > maxNesting)
        return fail("colors and functions nest more than 32 deep");
    const Token& t = m_cursor.next();
    switch (t.kind) {
    case TokenKind::Hash:
        return hex(t.text);
    case TokenKind::Ident:
        return keyword(t.text);
    case TokenKind::Function:
        return function(t.text, depth);
    default:
        return fail("expected a color");
    }
}

std::optional<CssColorValue> ColorReader::function(std::string_view name, int depth)
{
    const auto is = [&](std::string_view n) { return EqualsIgnoringCase(name, n); };
    if (is("color-mix"))
        return mix(depth + 1);
    if (is("light-dark") || IsPageFunction(name))
        return fail(std::string(name) + "() " + std::string(pageReason));
    if (is("alpha"))
        return alphaFunction(depth + 1);
    if (is("color")) {
        static const FunctionShape colorShape{"color",           CssSpace::Srgb,  false,     1.0,
                                              {{{1}, {1}, {1}}}, {"r", "g", "b"}, colorUsage};
        return channels(colorShape, CssSpace::Srgb, depth + 1);
    }
    for (const FunctionShape& shape : functionShapes)
        if (is(shape.name) || (shape.hasCommaSyntax && name.size() == shape.name.size() + 1 &&
                               is(std::string(shape.name) + "a")))
            return channels(shape, shape.space, depth + 1);
    return fail("'" + std::string(name) + "()' is not a color function");
}

std::optional<Component> ColorReader::component(const ChannelKeywords& keywords, int depth)
{
    const Token& t = m_cursor.next();
    switch (t.kind) {
    case TokenKind::Number:
    case TokenKind::Percentage:
    case TokenKind::Dimension:
        if (const auto v = NumericValue(t))
            return Component{v->value, v->type};
        return std::nullopt;
    case TokenKind::Ident:
        if (EqualsIgnoringCase(t.text, "none"))
            return Component{0, MathType::Number, true};
        for (const auto& [name, value] : keywords)
            if (EqualsIgnoringCase(t.text, name))
                return Component{value, MathType::Number};
        return std::nullopt;
    case TokenKind::Function: {
        const MathOutcome math = EvaluateMath(t.text, m_cursor, keywords, depth);
        if (math.needsPage)
            return fail(std::string(t.text) + "() in a color " + std::string(pageReason));
        if (math.value)
            return Component{math.value->value, math.value->type};
        return std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

// A component in the channel's units. Relative colors keep values outside the channel's range,
// for the gamut mapping to bring in.
std::optional<double> ColorReader::inSlot(const Component& c, const Slot& slot, bool clamped) const
{
    double v = c.value;
    if (slot.hue) {
        if (c.type == MathType::Percent)
            return std::nullopt;
        if (!std::isfinite(v))
            return 0.0;
        v = std::fmod(v, 360.0);
        return v < 0 ? v + 360.0 : v;
    }
    if (c.type == MathType::Angle)
        return std::nullopt;
    if (c.type == MathType::Percent)
        v = v / 100.0 * slot.percentRef;
    if (!clamped)
        return std::clamp(v, -largestChannel, largestChannel);
    return std::clamp(v, std::max(slot.low, -largestChannel), std::min(slot.high, largestChannel));
}

std::optional<double> ColorReader::alphaOf(const Component& c) const
{
    if (c.type == MathType::Angle)
        return std::nullopt;
    const double v = c.type == MathType::Percent ? c.value / 100.0 : c.value;
    return std::clamp(v, 0.0, 1.0);
}

// The channels of a color function, after its "(" up to and including its ")": the space syntax
// (with "from" for a relative color) or, where the function has one, the comma syntax.
std::optional<CssColorValue> ColorReader::channels(const FunctionShape& shape, CssSpace space,
                                                   int depth)
{
    const auto refuse = [&] { return fail("expected " + std::string(shape.usage)); };
    ChannelKeywords keywords;
    std::optional<CssColorValue> origin;
    if (const Token& t = m_cursor.peek();
        t.kind == TokenKind::Ident && EqualsIgnoringCase(t.text, "from")) {
        m_cursor.next();
        origin = color(depth + 1);
        if (!origin)
            return std::nullopt;
    }
    std::array<std::string_view, 3> names = shape.keywords;
    if (shape.name == "color") {
        const Token& t = m_cursor.next();
        const auto named = t.kind == TokenKind::Ident ? SpaceOfName(t.text) : std::nullopt;
        if (!named || !IsColorFunctionSpace(*named))
            return refuse();
        space = *named;
        if (space == CssSpace::XyzD50 || space == CssSpace::XyzD65)
            names = {"x", "y", "z"};
    }
    if (origin) {
        const Channels own = ResolvedChannels(InSpace(*origin, space));
        for (std::size_t i = 0; i < 3; ++i)
            keywords.emplace_back(names[i], own[i] / shape.scale);
        keywords.emplace_back("alpha", origin->missing[3] ? 0.0 : origin->alpha);
    }
    std::array<Component, 4> parts{};
    parts[3] = Component{1, MathType::Number};
    if (origin)
        parts[3] = Component{origin->missing[3] ? 0.0 : origin->alpha, MathType::Number};
    auto first = component(keywords, depth);
    if (!first)
        return refuse();
    parts[0] = *first;
    const bool commas = shape.hasCommaSyntax && !origin && m_cursor.peek().kind == TokenKind::Comma;
    for (std::size_t i = 1; i < 3; ++i) {
        if (commas && !m_cursor.take(TokenKind::Comma))
            return refuse();
        const auto part = component(keywords, depth);
        if (!part)
            return refuse();
        parts[i] = *part;
    }
    const bool hasAlpha =
        commas ? m_cursor.take(TokenKind::Comma) : m_cursor.take(TokenKind::Slash);
    if (hasAlpha) {
        const auto alpha = component(keywords, depth);
        if (!alpha)
            return refuse();
        parts[3] = *alpha;
    }
    if (!m_cursor.take(TokenKind::CloseParen))
        return refuse();
    if (commas) {
        for (const Component& p : parts)
            if (p.missing)
                return refuse();
        const bool rgb = shape.space == CssSpace::Srgb;
        if (rgb && (parts[0].type != parts[1].type || parts[1].type != parts[2].type))
            return refuse();
        if (!rgb && (parts[1].type != MathType::Percent || parts[2].type != MathType::Percent))
            return refuse();
    }
    CssColorValue result;
    result.space = space;
    for (std::size_t i = 0; i < 3; ++i) {
        result.missing[i] = parts[i].missing;
        if (parts[i].missing)
            continue;
        const auto v = inSlot(parts[i], shape.slots[i], !origin);
        if (!v)
            return refuse();
        result.channels[i] = *v * shape.scale;
    }
    result.missing[3] = parts[3].missing;
    if (!parts[3].missing) {
        const auto alpha = alphaOf(parts[3]);
        if (!alpha)
            return refuse();
        result.alpha = *alpha;
    }
    return result;
}

// A mix percentage: a percentage 0-100, written or calculated.
std::optional<double> ColorReader::mixPercentage(int depth)
{
    const Token& t = m_cursor.next();
    std::optional<MathValue> v;
    if (t.kind == TokenKind::Percentage)
        v = MathValue{t.value, MathType::Percent};
    else if (t.kind == TokenKind::Function) {
        const MathOutcome math = EvaluateMath(t.text, m_cursor, {}, depth);
        if (math.needsPage)
            return fail("a color-mix() share that uses " + std::string(t.text) + "() " +
                        std::string(pageReason));
        v = math.value;
    }
    if (!v || v->type != MathType::Percent || !(v->value >= 0 && v->value <= 100))
        return std::nullopt;
    return v->value;
}

std::optional<CssColorValue> ColorReader::mix(int depth)
{
    const auto refuse = [&] { return fail("expected " + std::string(mixUsage)); };
    MixMethod method;
    if (const Token& t = m_cursor.peek();
        t.kind == TokenKind::Ident && EqualsIgnoringCase(t.text, "in")) {
        m_cursor.next();
        const Token& name = m_cursor.next();
        const auto space = name.kind == TokenKind::Ident ? SpaceOfName(name.text) : std::nullopt;
        if (!space)
            return refuse();
        method.space = *space;
        const Token& h = m_cursor.peek();
        if (IsPolarSpace(*space) && h.kind == TokenKind::Ident) {
            const auto hue = HueMethodOfName(h.text);
            m_cursor.next();
            const Token& word = m_cursor.next();
            if (!hue || word.kind != TokenKind::Ident || !EqualsIgnoringCase(word.text, "hue"))
                return refuse();
            method.hue = *hue;
        }
        if (!m_cursor.take(TokenKind::Comma))
            return refuse();
    }
    std::vector<MixItem> items;
    do {
        MixItem item;
        const Token& t = m_cursor.peek();
        const bool percentFirst = t.kind == TokenKind::Percentage ||
                                  (t.kind == TokenKind::Function && IsMathFunction(t.text));
        if (percentFirst && !(item.percent = mixPercentage(depth)))
            return m_error.empty() ? refuse() : std::nullopt;
        const auto c = color(depth + 1);
        if (!c)
            return m_error.empty() ? refuse() : std::nullopt;
        item.color = *c;
        const Token& after = m_cursor.peek();
        if (!percentFirst && after.kind != TokenKind::Comma &&
            after.kind != TokenKind::CloseParen && !(item.percent = mixPercentage(depth)))
            return refuse();
        items.push_back(item);
    } while (m_cursor.take(TokenKind::Comma));
    if (!m_cursor.take(TokenKind::CloseParen))
        return refuse();
    return MixColors(method, items);
}

// alpha(from COLOR [/ A]): the color with another alpha, "alpha" standing for its own.
std::optional<CssColorValue> ColorReader::alphaFunction(int depth)
{
    const auto refuse = [&] { return fail("expected alpha(from COLOR) or alpha(from COLOR / A)"); };
    const Token& from = m_cursor.next();
    if (from.kind != TokenKind::Ident || !EqualsIgnoringCase(from.text, "from"))
        return refuse();
    auto origin = color(depth + 1);
    if (!origin)
        return std::nullopt;
    if (m_cursor.take(TokenKind::Slash)) {
        const ChannelKeywords keywords{{"alpha", origin->missing[3] ? 0.0 : origin->alpha}};
        const auto alpha = component(keywords, depth);
        const auto value = alpha && !alpha->missing ? alphaOf(*alpha) : std::nullopt;
        if (!alpha || (!alpha->missing && !value))
            return m_error.empty() ? refuse() : std::nullopt;
        origin->missing[3] = alpha->missing;
        origin->alpha = value.value_or(0);
    }
    if (!m_cursor.take(TokenKind::CloseParen))
        return refuse();
    return origin;
}

} // namespace

Channels ResolvedChannels(const CssColorValue& value)
{
    Channels c = value.channels;
    for (std::size_t i = 0; i < 3; ++i)
        if (value.missing[i])
            c[i] = 0;
    return c;
}

CssColorReading ReadCssColor(std::string_view text)
{
    const std::vector<Token> tokens = Tokenize(text);
    TokenCursor cursor(tokens);
    ColorReader reader(cursor);
    auto value = reader.color(0);
    if (value && cursor.peek().kind != TokenKind::End) {
        return {std::nullopt, "more text follows the color"};
    }
    if (!value)
        return {std::nullopt, reader.error()};
    return {value, {}};
}
