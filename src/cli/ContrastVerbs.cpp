// huebench contrast and huebench simulate: readability of color pairs and colors as seen with a
// color-vision deficiency.
#include "cli/Cli.h"
#include "cli/CliInput.h"
#include "color/ColorParser.h"
#include "color/Contrast.h"

#include <charconv>
#include <ostream>
#include <string>

using bascommon::ColorValue;

namespace
{

std::string contrastLine(ColorValue foreground, ColorValue background)
{
    const double ratio = ContrastRatio(foreground, background);
    return ContrastRatioText(ratio) + " " + std::string(ContrastGradeText(ContrastGradeOf(ratio)));
}

// Why a color of a pair could not be read: ReadColor's reason, naming which color it was.
std::string colorError(std::string_view which, const ColorReading& reading)
{
    return std::string(which) + ": " +
           (reading.error.empty() ? std::string("not a color") : reading.error);
}

InputAnswer pairLine(std::string_view line)
{
    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos)
        return {{}, "expected two colors separated by a tab"};
    const ColorReading foreground = ReadColor(line.substr(0, tab));
    if (!foreground.color)
        return {{}, colorError("the foreground", foreground)};
    const ColorReading background = ReadColor(line.substr(tab + 1));
    if (!background.color)
        return {{}, colorError("the background", background)};
    return {contrastLine(foreground.color->color, background.color->color), {}};
}

int runContrast(const std::vector<std::string>& args, CliContext& context)
{
    std::vector<std::string> colors;
    bool optionsEnded = false;
    for (const std::string& arg : args) {
        if (!optionsEnded && arg == "--")
            optionsEnded = true;
        else if (!optionsEnded && arg.size() > 1 && arg[0] == '-' && !ParseColor(arg))
            return UsageError(context.io, "contrast", "unknown option '" + arg + "'");
        else
            colors.push_back(arg);
    }
    if (colors.size() == 2) {
        ColorValue pair[2];
        for (std::size_t i = 0; i < 2; ++i) {
            const ColorReading reading = ReadColor(colors[i]);
            if (!reading.color)
                return UsageError(
                    context.io, "contrast",
                    "cannot read '" + colors[i] + "'; " +
                        colorError(i == 0 ? "the foreground" : "the background", reading));
            pair[i] = reading.color->color;
        }
        context.io.out << contrastLine(pair[0], pair[1]) << '\n';
        context.io.out.flush();
        return 0;
    }
    if (!colors.empty())
        return UsageError(context.io, "contrast",
                          "expected two colors, FOREGROUND and BACKGROUND, or none to read pairs "
                          "from standard input");
    return AnswerEachInput({}, context.io, "contrast", pairLine);
}

// A severity in percent, 10 to 100; fractions are allowed (they interpolate between steps).
std::optional<double> parseSeverity(std::string_view text)
{
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !(value >= 10.0) ||
        !(value <= 100.0))
        return std::nullopt;
    return value;
}

constexpr std::string_view visionNames =
    "protanopia, deuteranopia, tritanopia, achromatopsia or normal";

int runSimulate(const std::vector<std::string>& args, CliContext& context)
{
    std::optional<VisionKind> kind;
    double severity = 100.0;
    std::vector<std::string> colors;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        if (optionsEnded || arg.empty() || arg[0] != '-' || ParseColor(arg)) {
            colors.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        std::string value;
        if (const std::size_t eq = arg.find('='); eq != std::string::npos) {
            value = arg.substr(eq + 1);
            arg.resize(eq);
        } else if ((arg == "--as" || arg == "--severity") && i + 1 < args.size()) {
            value = args[++i];
        } else if (arg == "--as" || arg == "--severity") {
            return UsageError(context.io, "simulate", "option " + arg + " needs a value");
        }
        if (arg == "--as") {
            if (!(kind = VisionKindFromName(value)))
                return UsageError(context.io, "simulate",
                                  "unknown deficiency '" + value + "'; expected " +
                                      std::string(visionNames));
        } else if (arg == "--severity") {
            const auto percent = parseSeverity(value);
            if (!percent)
                return UsageError(context.io, "simulate",
                                  "cannot read severity '" + value +
                                      "'; expected a number from 10 to 100 (percent)");
            severity = *percent;
        } else {
            return UsageError(context.io, "simulate", "unknown option '" + arg + "'");
        }
    }
    if (!kind)
        return UsageError(context.io, "simulate",
                          "option --as is required; expected " + std::string(visionNames));
    return AnswerEachColor(
        colors, context.io, "simulate", [kind = *kind, severity](const ParsedColor& parsed) {
            return bascommon::HexRGB(SimulateVision(parsed.color, kind, severity / 100.0));
        });
}

} // namespace

extern const CliVerb contrastVerb;
const CliVerb contrastVerb = {
    "contrast",
    "contrast ratio and WCAG grade of text on a background",
    "Usage: huebench contrast FOREGROUND BACKGROUND\n"
    "Prints the contrast ratio of the two colors, truncated to two decimals, and its grade:\n"
    "AAA (7 or more), AA (4.5), AA-large (3) or fail, for example \"4.47:1 AA-large\".\n"
    "Without arguments, reads one pair per line from standard input, the two colors separated\n"
    "by a tab, and answers one line per line (an empty line for a line it cannot read).\n"
    "\n"
    "A color is #RGB, #RRGGBB, rgb(), hsl(), oklch(), a CSS color name or any form that\n"
    "huebench convert reads.\n"
    "\n"
    "Exit status: 0 when every pair was read, 2 when a color or an argument could not be read\n"
    "(the other pairs are still answered).\n",
    runContrast,
};

extern const CliVerb simulateVerb;
const CliVerb simulateVerb = {
    "simulate",
    "colors as seen with a color-vision deficiency",
    "Usage: huebench simulate --as DEFICIENCY [--severity PERCENT] [COLOR]...\n"
    "Prints each COLOR as #RRGGBB as it is seen with DEFICIENCY, one line each. Without COLOR\n"
    "arguments, reads one color per line from standard input and answers one line per line\n"
    "(an empty line for a line it cannot read).\n"
    "\n"
    "DEFICIENCY is protanopia, deuteranopia or tritanopia (the Machado, Oliveira and\n"
    "Fernandes 2009 model), achromatopsia (luminance only), or normal.\n"
    "PERCENT is the severity from 10 to 100 (default 100); it does not apply to achromatopsia.\n"
    "\n"
    "Exit status: 0 when every color was read, 2 when a color or an argument could not be read\n"
    "(the other colors are still answered).\n",
    runSimulate,
};
