#include "color/bascommon.h"

namespace bascommon
{
namespace
{

std::string hexByte(int value)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    return {digits[(value >> 4) & 15], digits[value & 15]};
}

int webSafeComponent(int x)
{
    const int m = x % 51;
    return m > 25 ? x + 51 - m : x - m;
}

} // namespace

ColorValue RGB(int red, int green, int blue)
{
    return (red & 255) + 256 * (green & 255) + 65536 * (blue & 255);
}

int GetRed(ColorValue color)
{
    return color & 255;
}
int GetGreen(ColorValue color)
{
    return (color / 256) & 255;
}
int GetBlue(ColorValue color)
{
    return (color / 65536) & 255;
}

std::string HexRed(ColorValue color)
{
    return hexByte(GetRed(color));
}
std::string HexGreen(ColorValue color)
{
    return hexByte(GetGreen(color));
}
std::string HexBlue(ColorValue color)
{
    return hexByte(GetBlue(color));
}

std::string HexRGB(ColorValue color)
{
    return "#" + HexRed(color) + HexGreen(color) + HexBlue(color);
}

std::string HexBGR(ColorValue color)
{
    return HexBlue(color) + HexGreen(color) + HexRed(color);
}

std::string DecRGB(ColorValue color)
{
    return std::to_string(GetRed(color)) + "," + std::to_string(GetGreen(color)) + "," +
           std::to_string(GetBlue(color));
}

ColorValue MakeWebSafe(ColorValue color)
{
    return RGB(webSafeComponent(GetRed(color)), webSafeComponent(GetGreen(color)),
               webSafeComponent(GetBlue(color)));
}

bool IsWebSafe(ColorValue color)
{
    return GetRed(color) % 51 == 0 && GetGreen(color) % 51 == 0 && GetBlue(color) % 51 == 0;
}

int hexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace bascommon
