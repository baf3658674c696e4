// huebench ramp, harmony and name: a color's tint-and-shade ramp, its hue harmonies and its
// nearest named color.
#include "cli/Cli.h"
#include "cli/CliInput.h"
#include "color/ColorFormTable.h"
#include "color/ColorParser.h"
#include "color/NearestName.h"
#include "color/Ramp.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <memory>
#include <string>

using bascommon::ColorValue;

namespace
{

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

// What a verb's options and arguments hold after the parse; empty strings were not given.
struct Arguments {
    std::string steps, hueShift, kind, to = "hex";
    std::vector<std::string> colors;
};

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

int runRamp(const Arguments& args, CliContext& context)
{
    constexpr std::string_view verb = "ramp";
    int steps = rampStepsDefault;
    double hueShift = 0;
    if (!args.steps.empty()) {
        const auto number = numberOf(args.steps);
        if (!number || *number != std::floor(*number) || *number < rampStepsMin ||
            *number > rampStepsMax)
            return UsageError(context.io, verb,
                              "--steps '" + args.steps + "': expected a whole number 3-21");
        steps = static_cast<int>(*number);
    }
    if (!args.hueShift.empty()) {
        const auto number = numberOf(args.hueShift);
        if (!number || std::abs(*number) > rampHueShiftMax)
            return UsageError(context.io, verb,
                              "--hue-shift '" + args.hueShift + "': expected degrees -30 to 30");
        hueShift = *number;
    }
    const ColorFormRow* form = FindColorForm(args.to);
    if (!form)
        return UnknownFormError(context.io, verb, args.to, false);
    return answerEachBlock(args.colors, context.io, verb, [&](ColorValue color) {
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

int runHarmony(const Arguments& args, CliContext& context)
{
    constexpr std::string_view verb = "harmony";
    std::vector<const HarmonyKind*> kinds;
    for (const HarmonyKind& kind : HarmonyKinds())
        kinds.push_back(&kind);
    if (!args.kind.empty() && args.kind != "all") {
        const HarmonyKind* kind = FindHarmonyKind(args.kind);
        if (!kind)
            return UsageError(context.io, verb,
                              "unknown kind '" + args.kind + "'; expected " + harmonyKindNames());
        kinds = {kind};
    }
    const ColorFormRow* form = FindColorForm(args.to);
    if (!form)
        return UnknownFormError(context.io, verb, args.to, false);
    return answerEachBlock(args.colors, context.io, verb, [&](ColorValue color) {
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

int runName(const Arguments& args, CliContext& context)
{
    return AnswerEachColor(args.colors, context.io, "name",
                           [](const ParsedColor& parsed) { return NearestNameText(parsed.color); });
}

// Declares a verb's colors and the options among --steps, --hue-shift, --kind and --to that it
// takes, with its help's closing text.
template <int (*run)(const Arguments&, CliContext&)>
VerbRunner declareWith(CLI::App& command, std::initializer_list<std::string_view> options,
                       const char* footer)
{
    auto args = std::make_shared<Arguments>();
    const auto has = [&](std::string_view name) {
        return std::find(options.begin(), options.end(), name) != options.end();
    };
    if (has("--steps"))
        command.add_option("--steps", args->steps, "3-21 steps (default 11)")->type_name("N");
    if (has("--hue-shift"))
        command.add_option("--hue-shift", args->hueShift, "degrees -30 to 30 (default 0)")
            ->type_name("DEG");
    if (has("--kind"))
        command.add_option("--kind", args->kind, "one kind of harmony (default all)")
            ->type_name("KIND");
    if (has("--to"))
        command.add_option("--to", args->to, "a form of huebench convert (default hex)")
            ->type_name("FORM");
    command.add_option("COLOR", args->colors, "colors; none: read standard input")->type_name("");
    command.footer(footer);
    return [args](CliContext& context) { return run(*args, context); };
}

VerbRunner declareRamp(CLI::App& command)
{
    return declareWith<runRamp>(
        command, {"--steps", "--hue-shift", "--to"},
        "Prints the ramp of each COLOR, lightest first, as STEP<TAB>TEXT lines; the step that\n"
        "holds COLOR itself ends in <TAB>*. The ramp is computed in OKLCH: each step has a fixed\n"
        "lightness, the chroma of COLOR (less towards the light and dark ends) and its hue, and\n"
        "is brought inside sRGB by lowering its chroma alone. 11 steps are named 50, 100, 200,\n"
        "..., 900, 950. --hue-shift turns the hue by up to DEG degrees from the lightest step to\n"
        "the darkest, COLOR's own step unchanged. A blank line separates the ramps of successive\n"
        "colors; a color that cannot be read answers with an empty line and its reason on\n"
        "standard error.\n"
        "\n"
        "Exit status: 0 when every color was read, 2 when a color or an argument could not be\n"
        "read.\n");
}

VerbRunner declareHarmony(CLI::App& command)
{
    return declareWith<runHarmony>(
        command, {"--kind", "--to"},
        "Prints the harmonies of each COLOR, one line per kind: KIND<TAB>COLOR<TAB>ACCENT...;\n"
        "the accents keep the OKLCH lightness and chroma of COLOR at turned hues, brought inside\n"
        "sRGB by lowering their chroma alone. KIND is complementary (180), analogous (-30, +30),\n"
        "triadic (120, 240), split-complementary (150, 210), tetradic (90, 180, 270) or all. A\n"
        "blank line separates the answers of successive colors.\n"
        "\n"
        "Exit status: 0 when every color was read, 2 when a color or an argument could not be\n"
        "read.\n");
}

VerbRunner declareName(CLI::App& command)
{
    return declareWith<runName>(
        command, {},
        "Prints, one line per COLOR, the nearest of the 148 CSS named colors by OKLab distance:\n"
        "the name alone when COLOR is that named color, else '~ NAME (DISTANCE)' with the\n"
        "deltaEOK distance.\n"
        "\n"
        "Exit status: 0 when every color was read, 2 when a color could not be read.\n");
}

} // namespace

extern const CliVerb rampVerb, harmonyVerb, nameVerb;
const CliVerb rampVerb = {"ramp", "the 50-950 tint-and-shade ramp of colors", declareRamp};
const CliVerb harmonyVerb = {"harmony", "hue harmonies of colors in OKLCH", declareHarmony};
const CliVerb nameVerb = {"name", "the nearest CSS named color of colors", declareName};
