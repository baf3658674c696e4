#include "color/cClrModels.h"

#include <algorithm>
#include <cmath>

namespace
{

// x87 extended precision on x86-64 with g++. Every operand is widened to it before an
// operation, so sums and products of the stored bytes, floats and double constants round only
// where the conversion rules say.
using Extended = long double;

// A decimal constant as the double nearest it, widened without change.
constexpr Extended constant(double value)
{
    return value;
}

// Round to nearest, ties to even (the default floating-point rounding mode).
long roundEven(Extended x)
{
    return std::lrint(x);
}
long roundEven(double x)
{
    return std::lrint(x);
}

// A value kept "as float": rounded once from the extended result to a 32-bit float.
float asFloat(Extended x)
{
    return static_cast<float>(x);
}

std::uint8_t clampToByte(long value)
{
    return static_cast<std::uint8_t>(std::clamp(value, 0L, 255L));
}

// round(x) as a component byte. With in-range arguments the rounded value always lies in 0-255;
// the clamp only guarantees that nothing ever wraps.
std::uint8_t toByte(Extended x)
{
    return clampToByte(roundEven(x));
}

int clampArgument(std::int16_t value, int low, int high)
{
    return std::clamp<int>(value, low, high);
}

// The hue scale: the sector value h of the HLS formulas runs from -1 (magenta, red ties won by
// red) through 0 (red), 2 (green) and 4 (blue) to 5 (magenta again); its degrees are
// (h + 1) * 60, so magenta is 0 or 360 and red 60. Both directions live here so that the
// offset stays the same.
struct HueScale {
    static float toDegrees(float sector) { return asFloat((Extended(sector) + 1) * 60); }
    static float toSector(int degrees) { return asFloat(Extended(degrees) / 60 - 1); }
};

} // namespace

template <typename T> T cClrModels::smallestOf(T a, T b, T c)
{
    T smallest = a;
    if (b < smallest)
        smallest = b;
    if (c < smallest)
        smallest = c;
    return smallest;
}

template <typename T> T cClrModels::largestOf(T a, T b, T c)
{
    T largest = 0;
    for (T value : {a, b, c})
        if (value > largest)
            largest = value;
    return largest;
}

cClrModels::Fractions cClrModels::fractions() const
{
    Fractions f{};
    f.r = asFloat(Extended(m_red) / 255);
    f.g = asFloat(Extended(m_green) / 255);
    f.b = asFloat(Extended(m_blue) / 255);
    f.mx = largestOf(f.r, f.g, f.b);
    f.mn = smallestOf(f.r, f.g, f.b);
    return f;
}

// ---- CMY ----

std::uint8_t cClrModels::cmyC() const
{
    return static_cast<std::uint8_t>(255 - m_red);
}
std::uint8_t cClrModels::cmyM() const
{
    return static_cast<std::uint8_t>(255 - m_green);
}
std::uint8_t cClrModels::cmyY() const
{
    return static_cast<std::uint8_t>(255 - m_blue);
}

void cClrModels::SetCMY(std::int16_t C, std::int16_t M, std::int16_t Y)
{
    m_red = static_cast<std::uint8_t>(255 - clampArgument(C, 0, 255));
    m_green = static_cast<std::uint8_t>(255 - clampArgument(M, 0, 255));
    m_blue = static_cast<std::uint8_t>(255 - clampArgument(Y, 0, 255));
}

// ---- CMYK ----

std::int16_t cClrModels::cmykK() const
{
    const int smallestCmy = smallestOf(255 - m_red, 255 - m_green, 255 - m_blue);
    return static_cast<std::int16_t>(roundEven(double(smallestCmy) / 2.55));
}

std::int16_t cClrModels::cmykComponent(int component) const
{
    const long percent = roundEven(Extended(component) / constant(2.55));
    const long black = cmykK();
    long divisor = 100 - black;
    if (divisor == 0)
        divisor = 1;
    return static_cast<std::int16_t>(
        roundEven(Extended(100 - percent - black) / Extended(divisor) * 100));
}

std::int16_t cClrModels::cmykC() const
{
    return cmykComponent(m_red);
}
std::int16_t cClrModels::cmykM() const
{
    return cmykComponent(m_green);
}
std::int16_t cClrModels::cmykY() const
{
    return cmykComponent(m_blue);
}

void cClrModels::SetCMYK(std::int16_t C, std::int16_t M, std::int16_t Y, std::int16_t K)
{
    const auto fraction = [](std::int16_t percent) {
        return asFloat(Extended(clampArgument(percent, 0, 100)) / 100);
    };
    const float k = fraction(K);
    const auto channel = [k](float part) {
        return toByte((1 - ((1 - Extended(k)) * part + k)) * 255);
    };
    m_red = channel(fraction(C));
    m_green = channel(fraction(M));
    m_blue = channel(fraction(Y));
}

// ---- HLS ----

std::int16_t cClrModels::hlsH() const
{
    const Fractions f = fractions();
    float h = 0;
    if (f.mx != f.mn) {
        const float delta = asFloat(Extended(f.mx) - f.mn);
        // Red is tested first, so it wins a tie for the largest component.
        if (f.r == f.mx)
            h = asFloat((Extended(f.g) - f.b) / delta);
        else if (f.g == f.mx)
            h = asFloat(2 + (Extended(f.b) - f.r) / delta);
        else
            h = asFloat(4 + (Extended(f.r) - f.g) / delta);
    }
    return static_cast<std::int16_t>(roundEven(Extended(HueScale::toDegrees(h))));
}

std::int16_t cClrModels::hlsL() const
{
    const int sum =
        largestOf<int>(m_red, m_green, m_blue) + smallestOf<int>(m_red, m_green, m_blue);
    return static_cast<std::int16_t>(roundEven(double(sum) / 2 / 2.55));
}

std::int16_t cClrModels::hlsS() const
{
    const Fractions f = fractions();
    if (f.mx == f.mn)
        return 0;
    // The branch follows the rounded percentage: sums of 256 and 257 give L = 50 and take
    // max + min, although their exact lightness lies just above one half.
    const Extended den = hlsL() > 50 ? 2 - Extended(f.mx) - f.mn : Extended(f.mx) + f.mn;
    const float s = asFloat((Extended(f.mx) - f.mn) / den);
    return static_cast<std::int16_t>(roundEven(Extended(s) * 100));
}

void cClrModels::SetHLS(std::int16_t H, std::int16_t L, std::int16_t S)
{
    const float h = HueScale::toSector(clampArgument(H, 0, 360));
    const float l = asFloat(Extended(clampArgument(L, 0, 100)) / 100);
    const float s = asFloat(Extended(clampArgument(S, 0, 100)) / 100);

    float r = l, g = l, b = l;
    if (s != 0) {
        const float m1 = l <= 0.5f ? asFloat(Extended(l) * (1 - Extended(s)))
                                   : asFloat(Extended(l) - (1 - Extended(l)) * s);
        const float m2 = asFloat(2 * Extended(l) - m1);
        const float d = asFloat(Extended(m2) - m1);
        // Each sector puts m2 on the leading channel, m1 on the trailing one and interpolates
        // the third along the hue.
        if (h < 0) {
            r = m2, g = m1, b = asFloat(Extended(m1) - Extended(d) * h);
        } else if (h < 1) {
            r = m2, b = m1, g = asFloat(Extended(m1) + Extended(d) * h);
        } else if (h < 2) {
            g = m2, b = m1, r = asFloat(Extended(m1) - (Extended(h) - 2) * d);
        } else if (h < 3) {
            g = m2, r = m1, b = asFloat(Extended(m1) + (Extended(h) - 2) * d);
        } else if (h < 4) {
            b = m2, r = m1, g = asFloat(Extended(m1) - (Extended(h) - 4) * d);
        } else {
            b = m2, g = m1, r = asFloat(Extended(m1) + (Extended(h) - 4) * d);
        }
    }
    m_red = toByte(Extended(r) * 255);
    m_green = toByte(Extended(g) * 255);
    m_blue = toByte(Extended(b) * 255);
}

// ---- YCbCr ----

std::uint8_t cClrModels::ycbcrY() const
{
    return toByte(constant(0.2989) * m_red + constant(0.5866) * m_green +
                  constant(0.1145) * m_blue);
}

// Cb and Cr may round to 256 (sums of exactly 255.5); toByte clamps them to 255. Their
// smallest sums lie just above 0.5, which extended precision keeps.
std::uint8_t cClrModels::ycbcrCb() const
{
    return toByte(-constant(0.1687) * m_red - constant(0.3313) * m_green + constant(0.5) * m_blue +
                  128);
}

std::uint8_t cClrModels::ycbcrCr() const
{
    return toByte(constant(0.5) * m_red - constant(0.4187) * m_green - constant(0.0813) * m_blue +
                  128);
}

void cClrModels::SetYCbCr(std::int16_t Y, std::int16_t Cb, std::int16_t Cr)
{
    const int y = clampArgument(Y, 0, 255);
    const int cb = clampArgument(Cb, 0, 255) - 128;
    const int cr = clampArgument(Cr, 0, 255) - 128;
    m_red = clampToByte(roundEven(Extended(cr) * constant(1.402) + y));
    m_green = clampToByte(
        roundEven(y - Extended(cb) * constant(0.34414) - Extended(cr) * constant(0.71414)));
    m_blue = clampToByte(roundEven(Extended(cb) * constant(1.772) + y));
}
