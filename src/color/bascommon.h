#pragma once

#include <cstdint>
#include <string>

// The color value and its text forms. A color value holds red in bits 0-7, green in 8-15 and
// blue in 16-23; composed as red + 256 * green + 65536 * blue. Every value the program makes
// has zero in bits 24-31; the getters mask, so stray high bits never leak into a component.
namespace bascommon
{

using ColorValue = std::int32_t;

// Composes a color from three components, each 0-255 (out-of-range inputs are masked to 8 bits).
ColorValue RGB(int red, int green, int blue);

// The component, 0-255.
int GetRed(ColorValue color);
int GetGreen(ColorValue color);
int GetBlue(ColorValue color);

// The component as exactly two upper-case hexadecimal digits ("0A", "FF").
std::string HexRed(ColorValue color);
std::string HexGreen(ColorValue color);
std::string HexBlue(ColorValue color);

// "#RRGGBB", upper case, seven characters.
std::string HexRGB(ColorValue color);
// "BBGGRR", upper case, six characters, no prefix: the scheme file field.
std::string HexBGR(ColorValue color);
// "R,G,B" in decimal, no spaces, no leading zeros.
std::string DecRGB(ColorValue color);

// Each component rounded to the nearest multiple of 51; a remainder of 25 rounds down,
// 26 up (25 -> 0, 26 -> 51, 229 -> 204, 230 -> 255).
ColorValue MakeWebSafe(ColorValue color);
// True when all three components are multiples of 51.
bool IsWebSafe(ColorValue color);

// The value 0-15 of one hexadecimal digit, upper or lower case; -1 for any other character.
int hexDigitValue(char c);

} // namespace bascommon
