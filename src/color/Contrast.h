#pragma once

#include "color/bascommon.h"

#include <optional>
#include <string>
#include <string_view>

// Readability of one color on another, as web accessibility guidelines measure it, and how a
// color looks to readers with a color-vision deficiency.

// Relative luminance 0.0 (black) to 1.0 (white): the three components through the sRGB transfer
// function, weighted 0.2126 red, 0.7152 green, 0.0722 blue.
double RelativeLuminance(bascommon::ColorValue color);

// Contrast ratio of two colors, 1.0 (equal luminance) to 21.0 (black and white): the lighter
// luminance plus 0.05 over the darker plus 0.05. Symmetric in its arguments.
double ContrastRatio(bascommon::ColorValue first, bascommon::ColorValue second);

// The ratio as shown, "4.47:1": two decimals, truncated (a ratio just below a threshold never
// reads as reaching it). Values below 1 or above 21 are clamped to that range.
std::string ContrastRatioText(double ratio);

// Which levels a ratio passes, on the unrounded ratio: normal text AA at 4.5 and AAA at 7,
// large text AA at 3 and AAA at 4.5.
struct ContrastLevels {
    bool aaNormal = false;
    bool aaaNormal = false;
    bool aaLarge = false;
    bool aaaLarge = false;
};
ContrastLevels ContrastLevelsOf(double ratio);

// The single grade of a ratio: "AAA" (>= 7), "AA" (>= 4.5), "AA-large" (>= 3), else "fail".
enum class ContrastGrade { AAA, AA, AALarge, Fail };
ContrastGrade ContrastGradeOf(double ratio);
std::string_view ContrastGradeText(ContrastGrade grade);

// The ratio that normal text needs for the AA level.
inline constexpr double contrastAaNormal = 4.5;

// How a color is seen: normal vision, the three dichromacies (with a severity) or complete
// achromatopsia.
enum class VisionKind { Normal, Protanopia, Deuteranopia, Tritanopia, Achromatopsia };

// Lower-case names "normal", "protanopia", "deuteranopia", "tritanopia", "achromatopsia".
std::string_view VisionKindName(VisionKind kind);
// The kind of a name as VisionKindName writes it, any letter case; nullopt for anything else.
std::optional<VisionKind> VisionKindFromName(std::string_view name);

// The color as seen with the given vision. For the dichromacies the severity runs from 0.0
// (normal) to 1.0 (complete); the published matrices for steps of 0.1 are interpolated linearly
// between the two neighbouring steps and applied to linear RGB. Achromatopsia keeps only the
// relative luminance (a gray of the same luminance) and ignores the severity; Normal returns
// the color unchanged. Severities outside 0-1 are clamped. The result is converted back to
// 8-bit sRGB, each channel clamped to 0-255 and rounded to nearest.
bascommon::ColorValue SimulateVision(bascommon::ColorValue color, VisionKind kind,
                                     double severity = 1.0);

// The nearest color to `foreground` that reaches AA for normal text (4.5) on `background`:
// the same OKLCH hue, the lightness moved (by as little as needed) away from the background's
// or past it to the other side, the chroma reduced only as far as needed to stay inside sRGB;
// of the two candidates the one nearer to `foreground` by OKLab distance. The result is
// checked after rounding to 8 bits, so it really reaches 4.5.
// Returns the foreground itself when it already reaches AA. There is always an answer: black or
// white reaches at least 4.58 on any background, since their two ratios multiply to 21.
bascommon::ColorValue SuggestContrastFix(bascommon::ColorValue foreground,
                                         bascommon::ColorValue background);
