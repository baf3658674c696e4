#pragma once

#include <filesystem>
#include <string>

// The values of the Color Info window, as the texts its boxes show.
struct ColorInfo {
    std::string hex;     // the #RRGGBB text of the current color, as the main window shows it
    std::string r, g, b; // the main window's decimal component texts, unchanged
    std::string h, l, s; // hue 0-360 on the scale with red at 60; lightness, saturation 0-100
    std::string cmyC, cmyM, cmyY;           // 0-255
    std::string cmykC, cmykM, cmykY, cmykK; // percentages 0-100
    std::string ycbcrY, ycbcrCb, ycbcrCr;   // 0-255
};

// The values for a current color given as the main window's texts: `hexText` and the decimal
// texts are kept as they are; the other models are computed from the numbers in the decimal
// texts (plain decimal digits, leading zeros allowed). A text that is not such a number counts
// as 0 and a value above 255 as 255, the same repair the main window's boxes apply. All values
// are written in decimal without leading zeros.
ColorInfo MakeColorInfo(const std::string& hexText, const std::string& redText,
                        const std::string& greenText, const std::string& blueText);

// The 91-line HTML page of the values: the title, the hex text, RGB, CMY, CMYK and YCbCr (no
// HLS) beside a cell painted in the hex color. Every line ends in CR LF, the last one too;
// values are inserted unchanged and attribute values are not quoted.
std::string ColorInfoPageText(const ColorInfo& info);

// Writes the page to `file` as "Save as" does (see saveAs): through a link to what it points
// at, keeping an existing file's permissions, leaving it as it was when the save fails. Throws
// std::runtime_error naming `file` when it cannot be written.
void SaveColorInfoPage(const std::filesystem::path& file, const ColorInfo& info);
