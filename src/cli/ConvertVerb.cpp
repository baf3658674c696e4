// huebench convert: colors from any text form to one or all of the program's forms.
#include "cli/Cli.h"
#include "cli/CliInput.h"
#include "color/ColorFormTable.h"

#include <algorithm>
#include <ostream>
#include <string>

namespace
{

// The forms `--to` takes, as "hex, rgb, ... or all".
std::string formNames()
{
    std::string names;
    for (const ColorFormRow& row : ColorFormTable())
        if (!row.name.empty())
            names += std::string(row.name) + ", ";
    return names.substr(0, names.size() - 2) + " or all";
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

int runConvert(const std::vector<std::string>& args, CliContext& context)
{
    std::string to = "hex";
    std::vector<std::string> colors;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.empty() || arg[0] != '-') {
            colors.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--to" && i + 1 < args.size()) {
            to = args[++i];
        } else if (arg.rfind("--to=", 0) == 0) {
            to = arg.substr(5);
        } else if (arg == "--to") {
            return UsageError(context.io, "convert", "option --to needs a form: " + formNames());
        } else {
            return UsageError(context.io, "convert", "unknown option '" + arg + "'");
        }
    }
    const ColorFormRow* form = FindColorForm(to);
    if (!form && to != "all")
        return UsageError(context.io, "convert",
                          "unknown form '" + to + "'; expected " + formNames());
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
        "Usage: huebench convert [--to FORM] [COLOR]...\n"
        "Prints each COLOR in the text form FORM, one line each. Without COLOR arguments, reads\n"
        "one color per line from standard input and answers one line per line (an empty line\n"
        "for a line it cannot read, with the reason on standard error).\n"
        "\n"
        "A COLOR is any CSS color (#RGB, #RRGGBB, #RRGGBBAA, rgb(), hsl(), hwb(), lab(), lch(),\n"
        "oklab(), oklch(), color(), a CSS color name) or one of the program's own forms:\n"
        "&H00BBGGRR&, $00BBGGRR, 0xBBGGRR, Hex={RR,GG,BB}, R,G,B and hex without #.\n"
        "Where the two overlap, a bare word is a CSS color name first, then hex without # (add\n"
        "is #AADDDD, red is red); RGB(R,G,B) is read as CSS rgb(), the same color; R,G,B is not\n"
        "CSS and reads as decimal channels.\n"
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

// Built before convertVerb, which is defined after it in this file.
const std::string convertUsageText = convertUsage();

} // namespace

extern const CliVerb convertVerb;
const CliVerb convertVerb = {
    "convert",
    "convert colors between text forms",
    convertUsageText,
    runConvert,
};
