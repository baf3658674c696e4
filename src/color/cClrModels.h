#pragma once

#include <cstdint>

// One color held as red, green and blue bytes, read and written in the CMY, CMYK, HLS and YCbCr
// models. Only the three bytes are stored: every getter computes its value afresh, every Set
// method overwrites all three. A new instance is black.
//
// Arithmetic: intermediate sums and products are carried in x87 extended precision
// (long double); the values the conversions keep "as float" are rounded to 32-bit floats at
// that point; decimal constants are the doubles nearest them. Every conversion to an integer
// rounds to nearest with ties to even (2.5 -> 2, 3.5 -> 4).
//
// Set methods clamp each argument into its documented range before converting, so no call can
// store a component outside 0-255.
class cClrModels
{
public:
    // Red, green, blue 0-255, stored and returned unchanged.
    std::uint8_t rgbR() const { return m_red; }
    void rgbR(std::uint8_t NewVal) { m_red = NewVal; }
    std::uint8_t rgbG() const { return m_green; }
    void rgbG(std::uint8_t NewVal) { m_green = NewVal; }
    std::uint8_t rgbB() const { return m_blue; }
    void rgbB(std::uint8_t NewVal) { m_blue = NewVal; }

    // CMY, each 0-255: 255 minus red, green, blue. Exact.
    std::uint8_t cmyC() const;
    std::uint8_t cmyM() const;
    std::uint8_t cmyY() const;
    // Sets red, green, blue to 255 minus C, M, Y; each argument clamped to 0-255 first. Exact
    // inverse of the CMY getters.
    void SetCMY(std::int16_t C, std::int16_t M, std::int16_t Y);

    // CMYK percentages 0-100. K = round(smallest CMY value / 2.55); it reaches 100 only when
    // every component is 0 or 1. C, M, Y = round((100 - p - K) / (100 - K) * 100) with
    // p = round(component / 2.55), a divisor of 0 taken as 1; all three are 0 when K is 100.
    std::int16_t cmykC() const;
    std::int16_t cmykM() const;
    std::int16_t cmykY() const;
    std::int16_t cmykK() const;
    // C, M, Y, K percentages, each clamped to 0-100 first. Each component becomes
    // round((1 - ((1 - k) * c + k)) * 255) with c and k the percentages / 100 as floats.
    void SetCMYK(std::int16_t C, std::int16_t M, std::int16_t Y, std::int16_t K);

    // Hue in degrees 0-360 on the scale turned by 60 degrees: magenta 0, red 60, yellow 120,
    // green 180, cyan 240, blue 300, up to 360 between blue and magenta. Grays are 60. When red
    // ties for the largest component the red sector wins (255, 0, 255 is 0, not 360).
    std::int16_t hlsH() const;
    // Lightness percentage 0-100: round((largest + smallest) / 2 / 2.55).
    std::int16_t hlsL() const;
    // Saturation percentage 0-100, 0 for grays. The formula's branch follows the rounded
    // lightness: above 50 it divides by 2 - max - min, otherwise by max + min.
    std::int16_t hlsS() const;
    // H in degrees 0-360 (clamped; 0 and 360 both give the magenta side), L and S percentages
    // 0-100 (clamped). SetHLS of the HLS of a color lands within a few units of it per
    // component, because the three values are whole degrees and percentages.
    void SetHLS(std::int16_t H, std::int16_t L, std::int16_t S);

    // Y, Cb, Cr, each 0-255: Y = round(0.2989 R + 0.5866 G + 0.1145 B),
    // Cb = round(-0.1687 R - 0.3313 G + 0.5 B + 128), Cr = round(0.5 R - 0.4187 G - 0.0813 B +
    // 128); Cb and Cr are clamped to 255 (pure blue and pure red reach exactly 255.5).
    std::uint8_t ycbcrY() const;
    std::uint8_t ycbcrCb() const;
    std::uint8_t ycbcrCr() const;
    // Y, Cb, Cr each clamped to 0-255 first. red = round((Cr - 128) * 1.402 + Y),
    // green = round(Y - (Cb - 128) * 0.34414 - (Cr - 128) * 0.71414),
    // blue = round((Cb - 128) * 1.772 + Y), each then clamped to 0-255. Not an exact inverse of
    // the getters: a round trip can move a component by one (255, 0, 0 comes back as 254, 0, 0).
    void SetYCbCr(std::int16_t Y, std::int16_t Cb, std::int16_t Cr);

private:
    // The smallest and the largest of three non-negative numbers.
    template <typename T> static T smallestOf(T a, T b, T c);
    template <typename T> static T largestOf(T a, T b, T c);

    std::int16_t cmykComponent(int component) const;
    // Red, green and blue as fractions 0-1, each rounded to float.
    struct Fractions {
        float r, g, b, mx, mn;
    };
    Fractions fractions() const;

    std::uint8_t m_red = 0;
    std::uint8_t m_green = 0;
    std::uint8_t m_blue = 0;
};
