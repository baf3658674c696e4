#pragma once

#include <array>
#include <string>

// The ten copy commands of the current color, in the order the Edit menu lists them.
enum class CopyForm { Dec1, Dec2, Hex1, Hex2, Hex3, Hex4, Hex5, VB, Delphi, Cplus };
inline constexpr int copyFormCount = 10;

// The texts of the current color's boxes exactly as they stand: a pending edit is copied as it
// is, so these are never recomputed from the color value.
struct CopyBoxTexts {
    std::string decRgb;  // txtrgb1, "R,G,B"
    std::string hexRgb;  // txtrgb, "#RRGGBB"
    std::string r, g, b; // txtrh, txtgh, txtbh, two hexadecimal digits each
};

// The text a copy command puts on the clipboard: "RGB(R,G,B)", "R,G,B", "#RRGGBB",
// "\"#RRGGBB\"", "RRGGBB", "\"RRGGBB\"", "Hex={RR,GG,BB}", "&H00BBGGRR&", "$00BBGGRR",
// "0xBBGGRR". Parts of a box text that is shorter than the form expects are left empty.
std::string CopyText(CopyForm form, const CopyBoxTexts& boxes);

// The menu caption of a copy command: its language label ("VB:", "Delphi:", "C++:" or none)
// followed by the copied text, before access-key escaping.
std::string CopyCaption(CopyForm form, const CopyBoxTexts& boxes);
