// huebench convert: colors from any text form to one or all of the program's forms.
#include "cli/Cli.h"
#include "cli/CliInput.h"
#include "color/ColorForms.h"
#include "color/CopyTexts.h"
#include "color/cClrModels.h"

#include <array>
#include <string>

using bascommon::ColorValue;

namespace
{

std::string commaJoined(std::initializer_list<int> values)
{
    std::string text;
    for (int v : values)
        text += (text.empty() ? "" : ",") + std::to_string(v);
    return text;
}

// The copy command's text for a color, exactly as the Edit menu copies it.
std::string copied(CopyForm form, ColorValue c)
{
    return CopyText(form,
                    CopyBoxTexts{bascommon::DecRGB(c), bascommon::HexRGB(c), bascommon::HexRed(c),
                                 bascommon::HexGreen(c), bascommon::HexBlue(c)});
}

cClrModels modelsOf(ColorValue c)
{
    cClrModels models;
    models.rgbR(static_cast<std::uint8_t>(bascommon::GetRed(c)));
    models.rgbG(static_cast<std::uint8_t>(bascommon::GetGreen(c)));
    models.rgbB(static_cast<std::uint8_t>(bascommon::GetBlue(c)));
    return models;
}

struct Form {
    std::string_view name;
    std::string (*text)(ColorValue);
};

const std::array<Form, 13> forms = {{
    {"hex", [](ColorValue c) { return copied(CopyForm::Hex1, c); }},
    {"rgb", CssRgb},
    {"hsl", CssHsl},
    {"oklch", CssOklch},
    {"hsv",
     [](ColorValue c) {
         const Hsv hsv = HsvOf(c);
         return commaJoined({hsv.H, hsv.S, hsv.V});
     }},
    {"dec", [](ColorValue c) { return copied(CopyForm::Dec1, c); }},
    {"cmy",
     [](ColorValue c) {
         const cClrModels m = modelsOf(c);
         return commaJoined({m.cmyC(), m.cmyM(), m.cmyY()});
     }},
    {"cmyk",
     [](ColorValue c) {
         const cClrModels m = modelsOf(c);
         return commaJoined({m.cmykC(), m.cmykM(), m.cmykY(), m.cmykK()});
     }},
    {"hls",
     [](ColorValue c) {
         const cClrModels m = modelsOf(c);
         return commaJoined({m.hlsH(), m.hlsL(), m.hlsS()});
     }},
    {"ycbcr",
     [](ColorValue c) {
         const cClrModels m = modelsOf(c);
         return commaJoined({m.ycbcrY(), m.ycbcrCb(), m.ycbcrCr()});
     }},
    {"vb", [](ColorValue c) { return copied(CopyForm::VB, c); }},
    {"delphi", [](ColorValue c) { return copied(CopyForm::Delphi, c); }},
    {"cpp", [](ColorValue c) { return copied(CopyForm::Cplus, c); }},
}};

std::string allForms(ColorValue c)
{
    std::string text;
    for (const Form& form : forms)
        text += (text.empty() ? "" : "\n") + std::string(form.name) + ": " + form.text(c);
    return text;
}

constexpr std::string_view formNames =
    "hex, rgb, hsl, oklch, hsv, dec, cmy, cmyk, hls, ycbcr, vb, delphi, cpp or all";

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
            return UsageError(context.io, "convert",
                              "option --to needs a form: " + std::string(formNames));
        } else {
            return UsageError(context.io, "convert", "unknown option '" + arg + "'");
        }
    }
    std::string (*text)(ColorValue) = to == "all" ? allForms : nullptr;
    for (const Form& form : forms)
        if (form.name == to)
            text = form.text;
    if (!text)
        return UsageError(context.io, "convert",
                          "unknown form '" + to + "'; expected " + std::string(formNames));
    return AnswerEachColor(colors, context.io, "convert", text);
}

} // namespace

extern const CliVerb convertVerb;
const CliVerb convertVerb = {
    "convert",
    "convert colors between text forms",
    "Usage: huebench convert [--to FORM] [COLOR]...\n"
    "Prints each COLOR in the text form FORM, one line each. Without COLOR arguments, reads one\n"
    "color per line from standard input and answers one line per line.\n"
    "\n"
    "A COLOR is #RGB, #RRGGBB (with or without #), rgb()/rgba(), hsl()/hsla(), oklch(), a CSS\n"
    "color name, R,G,B, or a copied form &H00BBGGRR&, $00BBGGRR, 0xBBGGRR, Hex={RR,GG,BB}.\n"
    "\n"
    "FORM is one of:\n"
    "  hex      #RRGGBB (the default)\n"
    "  rgb      rgb(R G B)\n"
    "  hsl      hsl(H S% L%)\n"
    "  oklch    oklch(L% C H)\n"
    "  hsv      H,S,V (0-359, 0-100, 0-100)\n"
    "  dec      RGB(R,G,B)\n"
    "  cmy      C,M,Y (0-255)\n"
    "  cmyk     C,M,Y,K (0-100)\n"
    "  hls      H,L,S (hue 0-360 with red at 60)\n"
    "  ycbcr    Y,Cb,Cr (0-255)\n"
    "  vb       &H00BBGGRR&\n"
    "  delphi   $00BBGGRR\n"
    "  cpp      0xBBGGRR\n"
    "  all      every form above, one line each as NAME: TEXT\n"
    "\n"
    "Exit status: 0 when every color was read, 2 when a color or an argument could not be read\n"
    "(the other colors are still converted).\n",
    runConvert,
};
