#include "color/CssSyntax.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <numbers>

namespace
{

bool isNameStart(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' ||
           static_cast<unsigned char>(c) >= 0x80;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isNameChar(char c)
{
    return isNameStart(c) || isDigit(c) || c == '-';
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

// Whether a number starts at text[i]: a digit, "." and a digit, or a sign before either.
bool startsNumber(std::string_view text, std::size_t i)
{
    const auto at = [&](std::size_t k) { return k < text.size() ? text[k] : '\0'; };
    if (at(i) == '+' || at(i) == '-')
        ++i;
    return isDigit(at(i)) || (at(i) == '.' && isDigit(at(i + 1)));
}

// Whether an identifier starts at text[i]: a name character, or "-" before one or before "-".
bool startsIdent(std::string_view text, std::size_t i)
{
    const auto at = [&](std::size_t k) { return k < text.size() ? text[k] : '\0'; };
    if (at(i) == '-')
        return isNameStart(at(i + 1)) || at(i + 1) == '-';
    return isNameStart(at(i));
}

std::size_t nameEnd(std::string_view text, std::size_t i)
{
    while (i < text.size() && isNameChar(text[i]))
        ++i;
    return i;
}

// Reads the number at text[i]; returns its value and moves i past it.
double readNumber(std::string_view text, std::size_t& i)
{
    const std::size_t start = i;
    if (text[i] == '+' || text[i] == '-')
        ++i;
    while (i < text.size() && isDigit(text[i]))
        ++i;
    if (i + 1 < text.size() && text[i] == '.' && isDigit(text[i + 1])) {
        ++i;
        while (i < text.size() && isDigit(text[i]))
            ++i;
    }
    bool negativeExponent = false;
    if (i + 1 < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t k = i + 1;
        if (k < text.size() && (text[k] == '+' || text[k] == '-')) {
            negativeExponent = text[k] == '-';
            ++k;
        }
        if (k < text.size() && isDigit(text[k])) {
            i = k;
            while (i < text.size() && isDigit(text[i]))
                ++i;
        }
    }
    const std::size_t from = text[start] == '+' ? start + 1 : start;
    double value = 0;
    const auto result = std::from_chars(text.data() + from, text.data() + i, value);
    if (result.ec == std::errc::result_out_of_range)
        value = negativeExponent ? 0.0 : std::numeric_limits<double>::infinity();
    return text[start] == '-' && value > 0 ? -value : value;
}

} // namespace

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

std::vector<Token> Tokenize(std::string_view text)
{
    std::vector<Token> tokens;
    tokens.reserve(16);
    std::size_t i = 0;
    const auto add = [&](TokenKind kind, std::string_view s, double value = 0) {
        tokens.push_back({kind, s, value});
    };
    while (i < text.size()) {
        const char c = text[i];
        if (isSpace(c)) {
            while (i < text.size() && isSpace(text[i]))
                ++i;
            if (tokens.empty() || tokens.back().kind != TokenKind::Whitespace)
                add(TokenKind::Whitespace, {});
        } else if (c == '/' && i + 1 < text.size() && text[i + 1] == '*') {
            const std::size_t close = text.find("*/", i + 2);
            if (close == std::string_view::npos) {
                add(TokenKind::Bad, text.substr(i));
                break;
            }
            i = close + 2;
        } else if (startsNumber(text, i)) {
            const double value = readNumber(text, i);
            if (i < text.size() && text[i] == '%') {
                ++i;
                add(TokenKind::Percentage, {}, value);
            } else if (startsIdent(text, i)) {
                const std::size_t end = nameEnd(text, i);
                add(TokenKind::Dimension, text.substr(i, end - i), value);
                i = end;
            } else {
                add(TokenKind::Number, {}, value);
            }
        } else if (startsIdent(text, i)) {
            const std::size_t end = nameEnd(text, i);
            const std::string_view name = text.substr(i, end - i);
            i = end;
            if (i < text.size() && text[i] == '(') {
                ++i;
                add(TokenKind::Function, name);
            } else {
                add(TokenKind::Ident, name);
            }
        } else if (c == '#' && i + 1 < text.size() && isNameChar(text[i + 1])) {
            const std::size_t end = nameEnd(text, i + 1);
            add(TokenKind::Hash, text.substr(i + 1, end - i - 1));
            i = end;
        } else {
            TokenKind kind = TokenKind::Delim;
            if (c == ',')
                kind = TokenKind::Comma;
            else if (c == '/')
                kind = TokenKind::Slash;
            else if (c == '(')
                kind = TokenKind::OpenParen;
            else if (c == ')')
                kind = TokenKind::CloseParen;
            else if (c == '"' || c == '\'' || c == '\\' || c < ' ')
                kind = TokenKind::Bad;
            add(kind, text.substr(i, 1));
            ++i;
        }
    }
    add(TokenKind::End, {});
    return tokens;
}

const Token& TokenCursor::peek()
{
    skipWhitespace();
    return m_tokens[m_pos];
}

const Token& TokenCursor::next()
{
    skipWhitespace();
    const Token& token = m_tokens[m_pos];
    if (token.kind != TokenKind::End)
        ++m_pos;
    return token;
}

void TokenCursor::skipWhitespace()
{
    while (m_tokens[m_pos].kind == TokenKind::Whitespace)
        ++m_pos;
}

bool TokenCursor::take(TokenKind kind)
{
    if (peek().kind != kind)
        return false;
    next();
    return true;
}

std::optional<double> DegreesPerUnit(std::string_view unit)
{
    if (EqualsIgnoringCase(unit, "deg"))
        return 1.0;
    if (EqualsIgnoringCase(unit, "grad"))
        return 0.9;
    if (EqualsIgnoringCase(unit, "rad"))
        return 180.0 / std::numbers::pi;
    if (EqualsIgnoringCase(unit, "turn"))
        return 360.0;
    return std::nullopt;
}

std::optional<MathValue> NumericValue(const Token& token)
{
    if (token.kind == TokenKind::Number)
        return MathValue{token.value, MathType::Number};
    if (token.kind == TokenKind::Percentage)
        return MathValue{token.value, MathType::Percent};
    if (token.kind == TokenKind::Dimension)
        if (const auto perUnit = DegreesPerUnit(token.text))
            return MathValue{token.value * *perUnit, MathType::Angle};
    return std::nullopt;
}

namespace
{

constexpr std::string_view mathFunctions[] = {
    "calc", "min",  "max",  "clamp", "abs",   "sign", "round", "mod",   "rem", "sin", "cos",
    "tan",  "asin", "acos", "atan",  "atan2", "pow",  "sqrt",  "hypot", "log", "exp"};

using Result = std::optional<MathValue>;

class MathReader
{
public:
    MathReader(TokenCursor& cursor, const ChannelKeywords& keywords)
        : m_cursor(cursor), m_keywords(keywords)
    {
    }

    // The arguments of a math function through its ")": one or more comma-separated sums.
    std::optional<std::vector<MathValue>> arguments(int depth)
    {
        if (depth > maxNesting)
            return std::nullopt;
        std::vector<MathValue> values;
        do {
            const Result v = sum(depth);
            if (!v)
                return std::nullopt;
            values.push_back(*v);
        } while (m_cursor.take(TokenKind::Comma));
        if (!m_cursor.take(TokenKind::CloseParen))
            return std::nullopt;
        return values;
    }

    Result function(std::string_view name, int depth);

    bool needsPage = false;

private:
    Result sum(int depth)
    {
        Result left = product(depth);
        while (left) {
            const std::size_t before = m_cursor.position();
            const bool spaceBefore = m_cursor.atWhitespace();
            const Token& op = m_cursor.next();
            const bool additive = op.kind == TokenKind::Delim && (op.text == "+" || op.text == "-");
            if (!additive || !spaceBefore || !m_cursor.atWhitespace()) {
                m_cursor.rewind(before);
                return left;
            }
            const Result right = product(depth);
            if (!right || right->type != left->type)
                return std::nullopt;
            left->value += op.text == "+" ? right->value : -right->value;
        }
        return left;
    }

    Result product(int depth)
    {
        Result left = unit(depth);
        while (left) {
            const std::size_t before = m_cursor.position();
            const Token& op = m_cursor.next();
            const bool times = op.kind == TokenKind::Delim && op.text == "*";
            if (!times && op.kind != TokenKind::Slash) {
                m_cursor.rewind(before);
                return left;
            }
            const Result right = unit(depth);
            if (!right)
                return std::nullopt;
            if (times) {
                if (left->type != MathType::Number && right->type != MathType::Number)
                    return std::nullopt;
                const MathType type = left->type == MathType::Number ? right->type : left->type;
                left = MathValue{left->value * right->value, type};
            } else {
                if (right->type != MathType::Number && right->type != left->type)
                    return std::nullopt;
                left = MathValue{left->value / right->value,
                                 right->type == MathType::Number ? left->type : MathType::Number};
            }
        }
        return left;
    }

    Result unit(int depth)
    {
        const Token& t = m_cursor.next();
        switch (t.kind) {
        case TokenKind::Number:
        case TokenKind::Percentage:
        case TokenKind::Dimension:
            // A length (1em, 10px, 5cqw) has the page's size.
            needsPage = needsPage || (t.kind == TokenKind::Dimension && !DegreesPerUnit(t.text));
            return NumericValue(t);
        case TokenKind::Ident:
            return constant(t.text);
        case TokenKind::OpenParen: {
            if (depth + 1 > maxNesting)
                return std::nullopt;
            const Result inner = sum(depth + 1);
            if (!inner || !m_cursor.take(TokenKind::CloseParen))
                return std::nullopt;
            return inner;
        }
        case TokenKind::Function:
            if (IsPageFunction(t.text)) {
                needsPage = true;
                return std::nullopt;
            }
            return function(t.text, depth + 1);
        default:
            return std::nullopt;
        }
    }

    Result constant(std::string_view name) const
    {
        constexpr double infinity = std::numeric_limits<double>::infinity();
        if (EqualsIgnoringCase(name, "e"))
            return MathValue{std::numbers::e, MathType::Number};
        if (EqualsIgnoringCase(name, "pi"))
            return MathValue{std::numbers::pi, MathType::Number};
        if (EqualsIgnoringCase(name, "infinity"))
            return MathValue{infinity, MathType::Number};
        if (EqualsIgnoringCase(name, "-infinity"))
            return MathValue{-infinity, MathType::Number};
        if (EqualsIgnoringCase(name, "nan"))
            return MathValue{std::numeric_limits<double>::quiet_NaN(), MathType::Number};
        for (const auto& [keyword, value] : m_keywords)
            if (EqualsIgnoringCase(name, keyword))
                return MathValue{value, MathType::Number};
        return std::nullopt;
    }

    TokenCursor& m_cursor;
    const ChannelKeywords& m_keywords;
};

bool sameType(const std::vector<MathValue>& values)
{
    return std::all_of(values.begin(), values.end(),
                       [&](const MathValue& v) { return v.type == values.front().type; });
}

// round(strategy?, A, B?): the strategy is read before the other arguments.
Result roundFunction(TokenCursor& cursor, MathReader& reader, int depth)
{
    std::string_view strategy = "nearest";
    const std::size_t start = cursor.position();
    if (const Token& t = cursor.next(); t.kind == TokenKind::Ident) {
        for (std::string_view s : {"nearest", "up", "down", "to-zero"})
            if (EqualsIgnoringCase(t.text, s))
                strategy = s;
        if (strategy == "nearest" && !EqualsIgnoringCase(t.text, "nearest"))
            cursor.rewind(start);
        else if (!cursor.take(TokenKind::Comma))
            return std::nullopt;
    } else {
        cursor.rewind(start);
    }
    const auto args = reader.arguments(depth);
    if (!args || args->size() > 2 || !sameType(*args))
        return std::nullopt;
    if (args->size() == 1 && args->front().type != MathType::Number)
        return std::nullopt;
    const double a = args->front().value;
    const double step = args->size() == 2 ? (*args)[1].value : 1.0;
    if (step == 0)
        return MathValue{std::numeric_limits<double>::quiet_NaN(), args->front().type};
    const double q = a / step;
    double r = 0;
    if (strategy == "up")
        r = std::ceil(q);
    else if (strategy == "down")
        r = std::floor(q);
    else if (strategy == "to-zero")
        r = std::trunc(q);
    else
        r = std::floor(q + 0.5);
    return MathValue{r * step, args->front().type};
}

double radiansOf(const MathValue& v)
{
    return v.type == MathType::Angle ? v.value * std::numbers::pi / 180.0 : v.value;
}

Result MathReader::function(std::string_view name, int depth)
{
    if (depth > maxNesting)
        return std::nullopt;
    const auto is = [&](std::string_view n) { return EqualsIgnoringCase(name, n); };
    if (is("round"))
        return roundFunction(m_cursor, *this, depth);
    const auto args = arguments(depth);
    if (!args || !sameType(*args))
        return std::nullopt;
    const std::vector<MathValue>& a = *args;
    const std::size_t n = a.size();
    const MathType type = a.front().type;
    const double x = a.front().value;
    const auto number = [](double v) { return MathValue{v, MathType::Number}; };
    const auto angle = [](double radians) {
        return MathValue{radians * 180.0 / std::numbers::pi, MathType::Angle};
    };
    if (is("calc") && n == 1)
        return a.front();
    if (is("min") || is("max")) {
        double v = x;
        for (const MathValue& m : a)
            v = std::isnan(m.value) || std::isnan(v) ? std::nan("")
                : is("min")                          ? std::min(v, m.value)
                                                     : std::max(v, m.value);
        return MathValue{v, type};
    }
    if (is("clamp") && n == 3)
        return MathValue{std::max(a[0].value, std::min(a[1].value, a[2].value)), type};
    if (is("abs") && n == 1)
        return MathValue{std::fabs(x), type};
    if (is("sign") && n == 1)
        return number(x > 0 ? 1.0 : x < 0 ? -1.0 : x);
    if ((is("mod") || is("rem")) && n == 2) {
        const double r = std::fmod(x, a[1].value);
        const bool fix = is("mod") && r != 0 && (r < 0) != (a[1].value < 0);
        return MathValue{fix ? r + a[1].value : r, type};
    }
    if ((is("sin") || is("cos") || is("tan")) && n == 1 && type != MathType::Percent) {
        const double r = radiansOf(a.front());
        return number(is("sin") ? std::sin(r) : is("cos") ? std::cos(r) : std::tan(r));
    }
    if (type != MathType::Number && !(is("hypot") || is("atan2")))
        return std::nullopt;
    if (is("asin") && n == 1)
        return angle(std::asin(x));
    if (is("acos") && n == 1)
        return angle(std::acos(x));
    if (is("atan") && n == 1)
        return angle(std::atan(x));
    if (is("atan2") && n == 2)
        return angle(std::atan2(x, a[1].value));
    if (is("pow") && n == 2)
        return number(std::pow(x, a[1].value));
    if (is("sqrt") && n == 1)
        return number(std::sqrt(x));
    if (is("exp") && n == 1)
        return number(std::exp(x));
    if (is("log") && (n == 1 || n == 2))
        return number(n == 1 ? std::log(x) : std::log(x) / std::log(a[1].value));
    if (is("hypot")) {
        double s = 0;
        for (const MathValue& m : a)
            s += m.value * m.value;
        return MathValue{std::sqrt(s), type};
    }
    return std::nullopt;
}

} // namespace

bool IsMathFunction(std::string_view name)
{
    return std::any_of(std::begin(mathFunctions), std::end(mathFunctions),
                       [&](std::string_view f) { return EqualsIgnoringCase(f, name); });
}

MathOutcome EvaluateMath(std::string_view function, TokenCursor& cursor,
                         const ChannelKeywords& keywords, int depth)
{
    if (!IsMathFunction(function))
        return {std::nullopt, IsPageFunction(function)};
    MathReader reader(cursor, keywords);
    auto result = reader.function(function, depth + 1);
    if (result && std::isnan(result->value))
        result->value = 0;
    return {reader.needsPage ? std::nullopt : result, reader.needsPage};
}

bool IsPageFunction(std::string_view name)
{
    for (std::string_view f :
         {"var", "env", "attr", "sibling-index", "sibling-count", "if", "inherit", "progress"})
        if (EqualsIgnoringCase(f, name))
            return true;
    return false;
}
