// huebench contrast and huebench simulate: readability of color pairs and colors as seen with a
// color-vision deficiency.
#include "cli/Cli.h"
#include "cli/CliInput.h"
#include "color/ColorParser.h"
#include "color/Contrast.h"

#include <CLI/CLI.hpp>

#include <charconv>
#include <memory>
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

int runContrast(const std::vector<std::string>& colors, CliContext& context)
{
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

struct SimulateArguments {
    std::string as, severity = "100";
    std::vector<std::string> colors;
};

int runSimulate(const SimulateArguments& args, CliContext& context)
{
    const auto kind = VisionKindFromName(args.as);
    if (args.as.empty())
        return UsageError(context.io, "simulate",
                          "option --as is required; expected " + std::string(visionNames));
    if (!kind)
        return UsageError(context.io, "simulate",
                          "unknown deficiency '" + args.as + "'; expected " +
                              std::string(visionNames));
    const auto percent = parseSeverity(args.severity);
    if (!percent)
        return UsageError(context.io, "simulate",
                          "cannot read severity '" + args.severity +
                              "'; expected a number from 10 to 100 (percent)");
    const double severity = *percent;
    const std::vector<std::string>& colors = args.colors;
    return AnswerEachColor(
        colors, context.io, "simulate", [kind = *kind, severity](const ParsedColor& parsed) {
            return bascommon::HexRGB(SimulateVision(parsed.color, kind, severity / 100.0));
        });
}

VerbRunner declareContrast(CLI::App& command)
{
    auto colors = std::make_shared<std::vector<std::string>>();
    command.add_option("FOREGROUND BACKGROUND", *colors, "two colors; none: read standard input")
        ->type_name("");
    command.footer(
        "Prints the contrast ratio of the two colors, truncated to two decimals, and its\n"
        "grade: AAA (7 or more), AA (4.5), AA-large (3) or fail, for example \"4.47:1 AA-large\".\n"
        "Without arguments, reads one pair per line from standard input, the two colors\n"
        "separated by a tab, and answers one line per line (an empty line for a line it cannot\n"
        "read). A color is any form that huebench convert reads.\n"
        "\n"
        "Exit status: 0 when every pair was read, 2 when a color or an argument could not be\n"
        "read (the other pairs are still answered).\n");
    return [colors](CliContext& context) { return runContrast(*colors, context); };
}

VerbRunner declareSimulate(CLI::App& command)
{
    auto args = std::make_shared<SimulateArguments>();
    command.add_option("--as", args->as, "the color-vision deficiency")->type_name("DEFICIENCY");
    command.add_option("--severity", args->severity, "10 to 100 (default 100)")
        ->type_name("PERCENT");
    command.add_option("COLOR", args->colors, "colors to show; none: read standard input")
        ->type_name("");
    command.footer(
        "Prints each COLOR as #RRGGBB as it is seen with DEFICIENCY, one line each. Without\n"
        "COLOR arguments, reads one color per line from standard input and answers one line\n"
        "per line (an empty line for a line it cannot read).\n"
        "\n"
        "DEFICIENCY is protanopia, deuteranopia or tritanopia (the Machado, Oliveira and\n"
        "Fernandes 2009 model), achromatopsia (luminance only), or normal. PERCENT is the\n"
        "severity from 10 to 100 (default 100); it does not apply to achromatopsia.\n"
        "\n"
        "Exit status: 0 when every color was read, 2 when a color or an argument could not be\n"
        "read (the other colors are still answered).\n");
    return [args](CliContext& context) { return runSimulate(*args, context); };
}

} // namespace

extern const CliVerb contrastVerb;
const CliVerb contrastVerb = {
    "contrast",
    "contrast ratio and WCAG grade of text on a background",
    declareContrast,
};

extern const CliVerb simulateVerb;
const CliVerb simulateVerb = {
    "simulate",
    "colors as seen with a color-vision deficiency",
    declareSimulate,
};
