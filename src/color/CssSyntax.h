#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The tokens of a CSS component value and the math functions (calc() and its kin) that may stand
// for a number, a percentage or an angle inside a color.

enum class TokenKind {
    Ident,      // text: the name
    Function,   // text: the name, without "("
    Hash,       // text: what follows "#"
    Number,     // value
    Percentage, // value, in percent
    Dimension,  // value and unit (text)
    Whitespace,
    Comma,
    Slash,
    OpenParen,
    CloseParen,
    Delim, // text: the one character
    Bad,   // a string, an unclosed comment, a stray character: never part of a color
    End,
};

struct Token {
    TokenKind kind = TokenKind::End;
    std::string_view text;
    double value = 0;
};

// The tokens of `text`, comments dropped, ending with one End token. Names keep their case;
// compare them with EqualsIgnoringCase.
std::vector<Token> Tokenize(std::string_view text);

bool EqualsIgnoringCase(std::string_view a, std::string_view b);

// The type of a math value: a plain number, a percentage, or an angle held in degrees.
enum class MathType { Number, Percent, Angle };
struct MathValue {
    double value;
    MathType type;
};

// The value of a number, percentage or angle token (an angle in degrees); nothing for any other
// token, lengths included.
std::optional<MathValue> NumericValue(const Token& token);

// A name that stands for a number inside a relative color ("r", "h", "alpha", ...).
using ChannelKeywords = std::vector<std::pair<std::string_view, double>>;

// Reads tokens left to right; whitespace is skipped where the grammar allows it.
class TokenCursor
{
public:
    explicit TokenCursor(const std::vector<Token>& tokens) : m_tokens(tokens) {}
    const Token& peek(); // the next token that is not whitespace
    const Token& next(); // takes it
    bool atWhitespace() const { return m_tokens[m_pos].kind == TokenKind::Whitespace; }
    void skipWhitespace();
    bool take(TokenKind kind); // takes the next token when it is of this kind
    std::size_t position() const { return m_pos; }
    void rewind(std::size_t position) { m_pos = position; }

private:
    const std::vector<Token>& m_tokens;
    std::size_t m_pos = 0;
};

// The deepest nesting of functions and parentheses a color may have.
inline constexpr int maxNesting = 32;

// What a math function came to: its value, or nothing when the expression is malformed, mixes
// types or nests too deep; `needsPage` when it uses what only a page knows (lengths such as 1em,
// var(), sibling-index() and their kin).
struct MathOutcome {
    std::optional<MathValue> value;
    bool needsPage = false;
};

// Evaluates a math function whose Function token (calc, min, max, clamp, abs, sign, round, mod,
// rem, sin, cos, tan, asin, acos, atan, atan2, pow, sqrt, hypot, log, exp) the cursor has just
// taken, through its closing parenthesis. Sums and differences need whitespace around the sign,
// as in style sheets; types combine as in style sheets (a number scales anything, like types add,
// a value divided by one of its own type is a number). A NaN result becomes 0; infinities stay and
// are clamped by the channel. `depth` counts the levels already open; nesting beyond maxNesting
// gives nothing.
MathOutcome EvaluateMath(std::string_view function, TokenCursor& cursor,
                         const ChannelKeywords& keywords, int depth);

// True for functions whose value only a page knows: var(), env(), attr(), sibling-index(), ...
bool IsPageFunction(std::string_view name);

// True for the names EvaluateMath takes.
bool IsMathFunction(std::string_view name);

// Degrees in one turn of an angle unit (deg, grad, rad, turn; any case), or nothing.
std::optional<double> DegreesPerUnit(std::string_view unit);
