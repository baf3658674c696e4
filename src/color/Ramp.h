#pragma once

#include "color/ColorSpace.h"
#include "color/bascommon.h"

#include <span>
#include <string_view>
#include <vector>

// Tint-and-shade ramps and hue harmonies of one color, computed in OKLCH and brought inside sRGB
// by reducing chroma at constant lightness and hue (MapKeepingHue).

// The 8-bit color of an OKLCH color brought inside sRGB the way the CSS gamut mapping begins:
// lightness and hue kept, chroma reduced by bisection. Unlike the CSS mapping it does not then
// accept a clipped color within deltaEOK 0.02, because that clip turns the hue of pale and dark
// colors by up to 25 degrees (pale blues go cyan); it stops at the largest chroma that lies
// inside sRGB within half an 8-bit step (OutsideSrgb), so the hue moves only by the 8-bit
// rounding. A negative chroma counts as 0; L >= 1 outside is white, L <= 0 black; channels round
// half up (ColorOfSrgb).
bascommon::ColorValue MapKeepingHue(const OkLch& lch);

inline constexpr int rampStepsDefault = 11;
inline constexpr int rampStepsMin = 3;
inline constexpr int rampStepsMax = 21;
inline constexpr double rampHueShiftMax = 30.0; // degrees either way across the whole ramp

// One step of a ramp, lightest first.
struct RampStep {
    int name;                    // 50, 100, 200, ... 900, 950 for eleven steps (see RampStepNames)
    OkLch target;                // the OKLCH color asked for: L the step's target, C and H as below
    bascommon::ColorValue color; // its 8-bit color; for the input's step the input itself
    bool isInput;                // the step that holds the input color
};

// The names of a ramp of `steps` steps (clamped into 3-21), lightest first. Eleven steps are
// named 50, 100, 200, ..., 900, 950 as design systems name them; any other count spreads the
// names evenly over 50-950 (rounded to whole numbers): 50, 500, 950 for three steps.
std::vector<int> RampStepNames(int steps);

// The OKLab lightness (0-1) each step aims at, lightest first, strictly decreasing. Eleven steps
// take 0.97, 0.93, 0.88, 0.81, 0.71, 0.62, 0.55, 0.49, 0.42, 0.38, 0.28; another count reads
// the same curve at its names (linear between the eleven).
std::vector<double> RampLightness(int steps);

// The ramp of `input`: each step has its target lightness; its chroma is the input's, scaled
// down (never up) where the step lies further than the input from mid lightness, by the factor
// max(0.05, 1 - ((L - 0.6) / 0.45)^2) relative to the input's own; its hue is the input's plus
// `hueShift` degrees (clamped into -30..30) times the step's distance along the ramp from the
// input's step (0 at the input, the whole shift from the first step to the last). The step whose
// target lightness lies nearest the input's lightness (the lighter on a tie) holds the input
// exactly and is marked. Every other step is brought inside sRGB by MapKeepingHue. `steps` is
// clamped into 3-21.
std::vector<RampStep> MakeRamp(bascommon::ColorValue input, int steps = rampStepsDefault,
                               double hueShift = 0.0);

// A harmony: hue offsets in degrees added to the input's OKLCH hue.
struct HarmonyKind {
    std::string_view name;           // the --kind name: "complementary", "analogous", ...
    std::string_view caption;        // for windows: "Complementary", ...
    std::span<const double> offsets; // the accents, in order
};

// The harmonies, in the order the window and `huebench harmony` list them: complementary (180),
// analogous (-30, +30), triadic (120, 240), split-complementary (150, 210) and tetradic (90,
// 180, 270).
std::span<const HarmonyKind> HarmonyKinds();
const HarmonyKind* FindHarmonyKind(std::string_view name);

// The accents of a harmony of `input`, in the order of its offsets: the input's OKLCH lightness
// and chroma at the offset hue (wrapped into 0-360), brought inside sRGB by MapKeepingHue. A
// gray's accents are the gray.
std::vector<OkLch> HarmonyTargets(bascommon::ColorValue input, const HarmonyKind& kind);
std::vector<bascommon::ColorValue> HarmonyColors(bascommon::ColorValue input,
                                                 const HarmonyKind& kind);
