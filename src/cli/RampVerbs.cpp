// huebench ramp, harmony and name: a color's tint-and-shade ramp, its hue harmonies and its
// nearest named color.
#include "cli/Cli.h"
#include "cli/CliInput.h"
#include "color/ColorFormTable.h"
#include "color/ColorParser.h"
#include "color/NearestName.h"
#include "color/Ramp.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

using bascommon::ColorValue;

namespace
{

// A form of the table of color forms, by its --to name.
const ColorFormRow* formNamed(std::string_view name)
{
    return FindColorForm(name);
}

std::string formNames()
{
    std::string names;
    for (const ColorFormRow& row : ColorFormTable())
        if (!row.name.empty())
            names += (names.empty() ? "" : ", ") + std::string(row.name);
    return names;
}

std::string textOf(const ColorFormRow* form, ColorValue color)
{
    return form->write(color, 1.0);
}

std::optional<double> numberOf(std::string_view text)
{
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// The options of a verb, NAME VALUE or NAME=VALUE, and its color arguments.
struct Options {
    std::vector<std::pair<std::string, std::string>> valued;
    std::vector<std::string> colors;
    std::string error;
};
Options parseOptions(const std::vector<std::string>& args, std::initializer_list<std::string> names)
{
    Options options;
    bool ended = false;
    for (std::size_t i = 0; i < args.size() && options.error.empty(); ++i) {
        const std::string& arg = args[i];
        if (ended || arg.size() < 2 || arg[0] != '-') {
            options.colors.push_back(arg);
            continue;
        }
        if (arg == "--") {
            ended = true;
            continue;
        }
        const std::string name = arg.substr(0, arg.find('='));
        if (std::find(names.begin(), names.end(), name) == names.end()) {
            options.error = "unknown option '" + arg + "'";
        } else if (name.size() < arg.size()) {
            options.valued.emplace_back(name, arg.substr(name.size() + 1));
        } else if (i + 1 < args.size()) {
            options.valued.emplace_back(name, args[++i]);
        } else {
            options.error = "option " + name + " needs a value";
        }
    }
    return options;
}

// Answers each color with a block of lines, a blank line between the answers of successive
// inputs; an input that cannot be read answers with an empty line (and its reason on standard
// error), so every answer stays in its place.
int answerEachBlock(const std::vector<std::string>& colors, CliIo& io, std::string_view verb,
                    const std::function<std::string(ColorValue)>& block)
{
    bool first = true;
    return AnswerEachInput(colors, io, verb, [&](std::string_view input) -> InputAnswer {
        const std::string separator = first ? "" : "\n";
        first = false;
        const ColorReading reading = ReadColor(input);
        if (!reading.color)
            return {{}, reading.error.empty() ? std::string("not a color") : reading.error};
        return {separator + block(reading.color->color), {}};
    });
}

int runRamp(const std::vector<std::string>& args, CliContext& context)
{
    constexpr std::string_view verb = "ramp";
    const Options options = parseOptions(args, {"--steps", "--hue-shift", "--to"});
    if (!options.error.empty())
        return UsageError(context.io, verb, options.error);
    int steps = rampStepsDefault;
    double hueShift = 0;
    const ColorFormRow* form = formNamed("hex");
    for (const auto& [name, value] : options.valued) {
        const auto number = numberOf(value);
        if (name == "--steps") {
            if (!number || *number != std::floor(*number) || *number < rampStepsMin ||
                *number > rampStepsMax)
                return UsageError(context.io, verb,
                                  "--steps '" + value + "': expected a whole number 3-21");
            steps = static_cast<int>(*number);
        } else if (name == "--hue-shift") {
            if (!number || std::abs(*number) > rampHueShiftMax)
                return UsageError(context.io, verb,
                                  "--hue-shift '" + value + "': expected degrees -30 to 30");
            hueShift = *number;
        } else if (!(form = formNamed(value))) {
            return UsageError(context.io, verb,
                              "unknown form '" + value + "'; expected " + formNames());
        }
    }
    return answerEachBlock(options.colors, context.io, verb, [&](ColorValue color) {
        std::string text;
        for (const RampStep& step : MakeRamp(color, steps, hueShift))
            text += (text.empty() ? "" : "\n") + std::to_string(step.name) + '\t' +
                    textOf(form, step.color) + (step.isInput ? "\t*" : "");
        return text;
    });
}

std::string harmonyKindNames()
{
    std::string names;
    for (const HarmonyKind& kind : HarmonyKinds())
        names += std::string(kind.name) + ", ";
    return names + "or all";
}

int runHarmony(const std::vector<std::string>& args, CliContext& context)
{
    constexpr std::string_view verb = "harmony";
    const Options options = parseOptions(args, {"--kind", "--to"});
    if (!options.error.empty())
        return UsageError(context.io, verb, options.error);
    std::vector<const HarmonyKind*> kinds;
    for (const HarmonyKind& kind : HarmonyKinds())
        kinds.push_back(&kind);
    const ColorFormRow* form = formNamed("hex");
    for (const auto& [name, value] : options.valued) {
        if (name == "--kind" && value != "all") {
            const HarmonyKind* kind = FindHarmonyKind(value);
            if (!kind)
                return UsageError(context.io, verb,
                                  "unknown kind '" + value + "'; expected " + harmonyKindNames());
            kinds = {kind};
        } else if (name == "--to") {
            if (!(form = formNamed(value)))
                return UsageError(context.io, verb,
                                  "unknown form '" + value + "'; expected " + formNames());
        }
    }
    return answerEachBlock(options.colors, context.io, verb, [&](ColorValue color) {
        std::string text;
        for (const HarmonyKind* kind : kinds) {
            text +=
                (text.empty() ? "" : "\n") + std::string(kind->name) + '\t' + textOf(form, color);
            for (ColorValue accent : HarmonyColors(color, *kind))
                text += '\t' + textOf(form, accent);
        }
        return text;
    });
}

int runName(const std::vector<std::string>& args, CliContext& context)
{
    const Options options = parseOptions(args, {});
    if (!options.error.empty())
        return UsageError(context.io, "name", options.error);
    return AnswerEachColor(options.colors, context.io, "name",
                           [](const ParsedColor& parsed) { return NearestNameText(parsed.color); });
}

} // namespace

extern const CliVerb rampVerb, harmonyVerb, nameVerb;

const CliVerb rampVerb = {
    "ramp",
    "the 50-950 tint-and-shade ramp of colors",
    "Usage: huebench ramp [--steps N] [--hue-shift DEG] [--to FORM] [COLOR]...\n"
    "Prints the ramp of each COLOR, lightest first, as STEP<TAB>TEXT lines; the step that holds\n"
    "COLOR itself ends in <TAB>*. The ramp is computed in OKLCH: each step has a fixed\n"
    "lightness, the chroma of COLOR (less towards the light and dark ends) and its hue, and is\n"
    "brought inside sRGB by lowering its chroma alone. Without COLOR arguments, reads one color "
    "per\n"
    "line from standard input. A blank line separates the ramps of successive colors; a color\n"
    "that cannot be read answers with an empty line and its reason on standard error.\n"
    "\n"
    "  --steps N        3-21 steps (default 11: 50, 100, 200, ..., 900, 950)\n"
    "  --hue-shift DEG  turn the hue by DEG degrees (-30 to 30) from the lightest step to the\n"
    "                   darkest, COLOR's own step unchanged (default 0: the hue is kept)\n"
    "  --to FORM        a form of huebench convert: hex (default), rgb, hsl, oklch, ...\n"
    "\n"
    "Exit status: 0 when every color was read, 2 when a color or an argument could not be read.\n",
    runRamp,
};

const CliVerb harmonyVerb = {
    "harmony",
    "hue harmonies of colors in OKLCH",
    "Usage: huebench harmony [--kind KIND] [--to FORM] [COLOR]...\n"
    "Prints the harmonies of each COLOR, one line per kind: KIND<TAB>COLOR<TAB>ACCENT...; the\n"
    "accents keep the OKLCH lightness and chroma of COLOR at turned hues, brought inside sRGB by\n"
    "lowering their chroma alone. Without COLOR arguments, reads one color per line from standard\n"
    "input. A blank line separates the answers of successive colors.\n"
    "\n"
    "  --kind KIND  complementary (180), analogous (-30, +30), triadic (120, 240),\n"
    "               split-complementary (150, 210), tetradic (90, 180, 270) or all (default)\n"
    "  --to FORM    a form of huebench convert: hex (default), rgb, hsl, oklch, ...\n"
    "\n"
    "Exit status: 0 when every color was read, 2 when a color or an argument could not be read.\n",
    runHarmony,
};

const CliVerb nameVerb = {
    "name",
    "the nearest CSS named color of colors",
    "Usage: huebench name [COLOR]...\n"
    "Prints, one line per COLOR, the nearest of the 148 CSS named colors by OKLab distance:\n"
    "the name alone when COLOR is that named color, else '~ NAME (DISTANCE)' with the deltaEOK\n"
    "distance. Without COLOR arguments, reads one color per line from standard input.\n"
    "\n"
    "Exit status: 0 when every color was read, 2 when a color could not be read.\n",
    runName,
};
