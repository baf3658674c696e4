// huebench convert: colors from any text form to one or all of the program's forms.
#include "cli/Cli.h"
#include "cli/CliInput.h"
#include "color/ColorFormTable.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <memory>
#include <ostream>
#include <string>

namespace
{

// The forms `--to` takes, as "hex, rgb, ..., cpp".
std::string formNames()
{
    std::string names;
    for (const ColorFormRow& row : ColorFormTable())
        if (!row.name.empty())
            names += std::string(row.name) + ", ";
    return names.substr(0, names.size() - 2);
}

// The forms without alpha among those `--to` writes ("hex, dec, ..."), for the dropped-alpha
// note of --to all.
std::string formsWithoutAlpha()
{
    std::string names;
    for (const ColorFormRow& row : ColorFormTable())
        if (!row.name.empty() && !row.hasAlpha)
            names += (names.empty() ? "" : ", ") + std::string(row.name);
    return names;
}

std::string colorCount(long count)
{
    return std::to_string(count) + (count == 1 ? " color" : " colors");
}

// What happened to the colors beyond their conversion, told once at the end of a run.
struct ConvertNotes {
    long alphaDropped = 0;
    long gamutMapped = 0;
};

void tellNotes(const ConvertNotes& notes, const ColorFormRow* form, std::ostream& err)
{
    if (notes.alphaDropped > 0)
        err << "huebench convert: the alpha of " << colorCount(notes.alphaDropped)
            << " was dropped; "
            << (form ? "--to " + std::string(form->name) + " has no alpha"
                     : "the forms " + formsWithoutAlpha() + " have no alpha")
            << '\n';
    if (notes.gamutMapped > 0)
        err << "huebench convert: " << colorCount(notes.gamutMapped)
            << (notes.gamutMapped == 1 ? " lay outside sRGB and was" : " lay outside sRGB and were")
            << " brought inside by gamut mapping\n";
}

struct ConvertArguments {
    std::string to = "hex";
    std::vector<std::string> colors;
};

int runConvert(const ConvertArguments& args, CliContext& context)
{
    const std::string& to = args.to;
    const std::vector<std::string>& colors = args.colors;
    const ColorFormRow* form = FindColorForm(to);
    if (!form && to != "all")
        return UnknownFormError(context.io, "convert", to, true);
    ConvertNotes notes;
    const int status =
        AnswerEachColor(colors, context.io, "convert", [&](const ParsedColor& parsed) {
            notes.gamutMapped += parsed.gamutMapped ? 1 : 0;
            // A color whose alpha the text cannot carry; with --to all, any form that lacks it.
            notes.alphaDropped += parsed.alpha < 1.0 && (!form || !form->hasAlpha) ? 1 : 0;
            if (form)
                return form->write(parsed.color, parsed.alpha);
            std::string text;
            for (const ColorFormRow& row : ColorFormTable())
                if (!row.name.empty())
                    text += (text.empty() ? "" : "\n") + std::string(row.name) + ": " +
                            row.write(parsed.color, parsed.alpha);
            return text;
        });
    tellNotes(notes, form, context.io.err);
    return status;
}

// The usage text, with the forms' list from the table.
std::string convertUsage()
{
    std::string text =
        "Prints each COLOR in the text form FORM, one line each. Without COLOR arguments, reads\n"
        "one color per line from standard input and answers one line per line (an empty line\n"
        "for a line it cannot read, with the reason on standard error).\n"
        "\n"
        "A COLOR is any CSS color, read as browsers read it: #RGB, #RGBA, #RRGGBB, #RRGGBBAA,\n"
        "a color name or transparent, rgb(), hsl(), hwb(), lab(), lch(), oklab(), oklch(),\n"
        "color() with srgb, srgb-linear, display-p3, a98-rgb, prophoto-rgb, rec2020 or xyz,\n"
        "color-mix(), relative colors (oklch(from red l c calc(h + 180))), none and calc() in\n"
        "components. Colors outside sRGB are brought inside by the CSS gamut mapping.\n"
        "currentColor, system colors and light-dark() need a page and are refused.\n"
        "The program's own forms are read too: &H00BBGGRR&, $00BBGGRR, 0xBBGGRR,\n"
        "Hex={RR,GG,BB}, R,G,B, hex without # and \"#RRGGBB\" in quotes. Where they and CSS\n"
        "overlap: a bare word is a CSS color name first, then hex without # (add is #AADDDD,\n"
        "red is red); RGB(R,G,B) is CSS rgb(), the same color; R,G,B and 123 are not CSS and\n"
        "read as decimal channels and as hex; other quoted text is a CSS string, not a color.\n"
        "\n"
        "FORM is one of:\n";
    for (const ColorFormRow& row : ColorFormTable()) {
        if (row.name.empty())
            continue;
        std::string name(row.name);
        name.resize(std::max<std::size_t>(name.size() + 1, 9), ' ');
        text += "  " + name + std::string(row.pattern) +
                (row.name == "hex" ? " (the default)" : "") + "\n";
    }
    text += "  all      every form above, one line each as NAME: TEXT\n"
            "\n"
            "A color's alpha below 1 is written in every form that has one (rgb(R G B / 0.5));\n"
            "hex stays #RRGGBB, hex8 always has it. When a form drops the alpha, or colors lay\n"
            "outside sRGB and were brought inside by gamut mapping, standard error says so once.\n"
            "\n"
            "Exit status: 0 when every color was read, 2 when a color or an argument could not\n"
            "be read (the other colors are still converted).\n";
    return text;
}

VerbRunner declareConvert(CLI::App& command)
{
    auto args = std::make_shared<ConvertArguments>();
    command.add_option("--to", args->to, "the form to write (default hex)")->type_name("FORM");
    command.add_option("COLOR", args->colors, "colors to convert; none: read standard input")
        ->type_name("");
    command.footer(convertUsage());
    return [args](CliContext& context) { return runConvert(*args, context); };
}

} // namespace

int UnknownFormError(CliIo& io, std::string_view verb, std::string_view name, bool orAll)
{
    return UsageError(io, verb,
                      "unknown form '" + std::string(name) + "'; expected " + formNames() +
                          (orAll ? " or all" : ""));
}

extern const CliVerb convertVerb;
const CliVerb convertVerb = {
    "convert",
    "convert colors between text forms",
    declareConvert,
};
