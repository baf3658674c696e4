// The command line: the options of the window and the verbs, run with string streams in place
// of the terminal. The forms themselves are pinned in ColorForms_test and cClrModels_test.
#include "app/CommandLine.h"
#include "cli/Cli.h"
#include "color/ColorFormTable.h"
#include "color/ColorParser.h"

#include "TempFolder.h"
#include "VerbRun.h"

#include <algorithm>
#include <sstream>

namespace fs = std::filesystem;

namespace
{

TEST(Cli, VerbsAnswerOrRefuse)
{
    const struct {
        std::vector<std::string> args;
        std::string input;
        int status;
        std::string out;
        std::string errPart; // empty: nothing on standard error
    } cases[] = {
        {{"convert", "hotpink", "rgb(0 0 255)"}, "", 0, "#FF69B4\n#0000FF\n", ""},
        {{"convert", "--to=vb", "#0A00FF"}, "", 0, "&H00FF000A&\n", ""},
        // Piped lines are answered one by one, an empty line for a bad one, which standard error
        // names with its number and the reader's reason.
        {{"convert", "--to", "rgb"},
         "#FFF\r\nbogus\n\n0x0000FF\n",
         2,
         "rgb(255 255 255)\n\n\nrgb(255 0 0)\n",
         "huebench convert: line 3: cannot read ''; "},
        {{"convert", "--to", "hsl", "bogus", "#5A1D83"},
         "",
         2,
         "\nhsl(275.9 63.8% 31.4%)\n",
         "huebench convert: cannot read 'bogus'; "},
        {{"paint"}, "", 2, "", "unknown command 'paint'"},
        {{"convert", "--to", "xyz", "red"}, "", 2, "", "unknown form 'xyz'; expected hex, rgb"},
        {{"convert", "--frobnicate"}, "", 2, "", "--frobnicate"},
        {{"convert", "red", "--to"}, "", 2, "", "--to"},
        {{"contrast", "#777777", "white"}, "", 0, "4.47:1 AA-large\n", ""},
        {{"contrast", "black", "#FFF"}, "", 0, "21.00:1 AAA\n", ""},
        {{"contrast"},
         "#777777\twhite\r\nnot a color\twhite\n#767676 white\nred\tred\n",
         2,
         "4.47:1 AA-large\n\n\n1.00:1 fail\n",
         "line 2: cannot read 'not a color\twhite'; the foreground: "},
        {{"contrast"},
         "#767676 white\n",
         2,
         "\n",
         "line 1: cannot read '#767676 white'; expected two"},
        {{"contrast"}, "", 0, "", ""},
        {{"contrast", "#777777", "nope"}, "", 2, "", "cannot read 'nope'"},
        {{"contrast", "#777777"}, "", 2, "", "expected two colors"},
        {{"contrast", "--bold", "#000", "#FFF"}, "", 2, "", "--bold"},
        {{"simulate", "--as=protanopia", "--severity", "50", "#FF0000"}, "", 0, "#B45600\n", ""},
        {{"simulate", "--as", "Achromatopsia", "#FFFF00"}, "", 0, "#F7F7F7\n", ""},
        {{"simulate", "--as", "tritanopia"},
         "#0000FF\nnope\n",
         2,
         "#006B96\n\n",
         "line 2: cannot read 'nope'; "},
        {{"simulate", "--as=protanopia", "--severity=10", "black"}, "", 0, "#000000\n", ""},
        {{"simulate", "--as=protanopia", "--severity=100", "black"}, "", 0, "#000000\n", ""},
        {{"simulate", "--as=protanopia", "--severity=9.99", "red"}, "", 2, "", "'9.99'"},
        {{"simulate", "--as=protanopia", "--severity=100.01", "red"}, "", 2, "", "'100.01'"},
        {{"simulate", "--as=protanopia", "--severity=60x", "red"}, "", 2, "", "'60x'"},
        {{"simulate", "--as", "deutan", "#FF0000"}, "", 2, "", "unknown deficiency 'deutan'"},
        {{"simulate", "#FF0000"}, "", 2, "", "option --as is required"},
        {{"simulate", "--as"}, "", 2, "", "--as"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const VerbRun r = runVerb(c.args, c.input);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.out, c.out);
        if (c.errPart.empty())
            EXPECT_EQ(r.err, "");
        else
            EXPECT_NE(r.err.find(c.errPart), std::string::npos) << r.err;
    }
}

TEST(Cli, ConvertToAllNamesEveryForm)
{
    EXPECT_EQ(runVerb({"convert", "--to", "all", "#336699"}).out,
              "hex: #336699\nrgb: rgb(51 102 153)\nhsl: hsl(210 50% 40%)\n"
              "oklch: oklch(49.93% 0.09866 250.43)\nlab: lab(41.52 -4.57 -33.49)\n"
              "lch: lch(41.52 33.8 262.23)\noklab: oklab(49.93% -0.03304 -0.09297)\n"
              "hwb: hwb(210 20% 40%)\np3: color(display-p3 0.2499 0.3952 0.584)\n"
              "hex8: #336699FF\nhsv: 210,67,60\ndec: RGB(51,102,153)\n"
              "cmy: 204,153,102\ncmyk: 67,33,0,40\nhls: 270,40,50\nycbcr: 93,162,98\n"
              "vb: &H00996633&\ndelphi: $00996633\ncpp: 0x996633\n");
}

// Alpha is kept by the forms that have one and reported once by those that drop it; gamut-mapped
// colors are counted once at the end.
TEST(Cli, ConvertKeepsOrReportsAlphaAndCountsGamutMappedColors)
{
    const std::string input = "rgb(255 0 0 / 0.5)\n#0000FF40\nred\noklch(70% 0.4 150)\n";
    VerbRun r = runVerb({"convert", "--to", "rgb"}, input);
    EXPECT_EQ(r.out.find("rgb(255 0 0 / 0.5)\nrgb(0 0 255 / 0.251)\nrgb(255 0 0)\nrgb("), 0u);
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 4);
    EXPECT_EQ(r.err, "huebench convert: 1 color lay outside sRGB and was brought inside by gamut "
                     "mapping\n");
    r = runVerb({"convert", "--to", "hex"}, input);
    EXPECT_NE(r.err.find("huebench convert: the alpha of 2 colors was dropped; --to hex has no "
                         "alpha\n"),
              std::string::npos);
    EXPECT_EQ(runVerb({"convert", "--to", "hex8", "rgb(255 0 0 / 0.5)"}).out, "#FF000080\n");
    // Every form either writes the alpha or says it was dropped.
    for (const ColorFormRow& form : ColorFormTable()) {
        if (form.name.empty())
            continue;
        r = runVerb({"convert", "--to", std::string(form.name), "rgb(255 0 0 / 0.5)"});
        const bool written = r.out.find("0.5") != std::string::npos || r.out == "#FF000080\n";
        EXPECT_EQ(written, form.hasAlpha) << form.name << ": " << r.out;
        EXPECT_EQ(r.err.find("has no alpha") != std::string::npos, !form.hasAlpha) << form.name;
    }
}

TEST(Cli, ArgumentsWithoutAVerbStartTheWindowAndHelpListsTheVerbs)
{
    EXPECT_FALSE(NamesVerb({}));
    EXPECT_FALSE(NamesVerb({"--data-dir", "x"}));
    EXPECT_FALSE(NamesVerb({"-platform", "offscreen"}));
    EXPECT_TRUE(NamesVerb({"--data-dir=x", "convert"}));
    EXPECT_EQ(runVerb({"--version"}).status, -1);
    for (const char* verb : {"convert", "contrast", "simulate", "palette"}) {
        const VerbRun help = runVerb({verb, "--data-dir", "x", "--help"});
        EXPECT_EQ(help.status, 0);
        EXPECT_NE(help.out.find("Usage: huebench " + std::string(verb) + " [OPTIONS]"),
                  std::string::npos)
            << help.out;
        EXPECT_NE(help.out.find("-h,--help"), std::string::npos) << help.out;
    }
    EXPECT_NE(ProgramHelp().find("convert "), std::string::npos);
    EXPECT_NE(commandLineUsage().find("--data-dir DIR"), std::string::npos);
}

// One grammar for every verb: "--opt X" and "--opt=X", "--" ending the options, --data-dir
// anywhere on the line, one message and status 2 for what cannot be taken.
TEST(Cli, OneGrammarForEveryVerb)
{
    const struct {
        std::vector<std::string> args;
        int status;
        std::string outPart, errPart;
    } cases[] = {
        {{"convert", "--to", "rgb", "red"}, 0, "rgb(255 0 0)\n", ""},
        {{"convert", "--to=rgb", "red"}, 0, "rgb(255 0 0)\n", ""},
        {{"convert", "red", "--to", "rgb"}, 0, "rgb(255 0 0)\n", ""},
        {{"convert", "--to", "rgb", "--", "red"}, 0, "rgb(255 0 0)\n", ""},
        {{"convert", "--data-dir", "/nowhere", "red"}, 0, "#FF0000\n", ""},
        {{"--data-dir=/nowhere", "convert", "red"}, 0, "#FF0000\n", ""},
        {{"contrast", "--", "black", "white"}, 0, "21.00:1 AAA\n", ""},
        {{"contrast", "black", "white", "--data-dir=/nowhere"}, 0, "21.00:1 AAA\n", ""},
        {{"simulate", "--as", "normal", "--", "red"}, 0, "#FF0000\n", ""},
        {{"simulate", "red", "--as=normal", "--severity=50"}, 0, "#FF0000\n", ""},
        {{"contrast", "black", "white", "gray"}, 2, "", "expected two colors"},
        {{"convert", "--to"}, 2, "", "--to"},
        {{"convert", "--tone=rgb", "red"}, 2, "", "--tone"},
        {{"palette", "--bogus", "list"}, 2, "", "--bogus"},
        {{"palette"}, 2, "", "expected list, export"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const VerbRun r = runVerb(c.args);
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_EQ(r.out, c.outPart);
        if (c.errPart.empty())
            EXPECT_EQ(r.err, "");
        else
            EXPECT_NE(r.err.find(c.errPart), std::string::npos) << r.err;
    }
}

TEST(CommandLine, AcceptsWhatItUnderstands)
{
    const struct {
        std::vector<std::string> args;
        bool help, version, printDataDir;
        std::optional<std::string> dataDir;
    } cases[] = {{{}, false, false, false, std::nullopt},
                 {{"--help"}, true, false, false, std::nullopt},
                 {{"-h"}, true, false, false, std::nullopt},
                 {{"--version"}, false, true, false, std::nullopt},
                 {{"--data-dir", "/tmp/a b"}, false, false, false, "/tmp/a b"},
                 {{"--data-dir=rel/dir"}, false, false, false, "rel/dir"},
                 // A folder whose name starts with a dash is given with "=".
                 {{"--data-dir=-odd"}, false, false, false, "-odd"},
                 {{"--print-data-dir", "--data-dir", "/d"}, false, false, true, "/d"}};
    for (const auto& want : cases) {
        const CommandLine got = parseCommandLine(want.args);
        SCOPED_TRACE(testing::PrintToString(want.args));
        EXPECT_EQ(got.error, "");
        EXPECT_EQ((std::array{got.help, got.version, got.printDataDir}),
                  (std::array{want.help, want.version, want.printDataDir}));
        EXPECT_EQ(got.dataDir, want.dataDir);
    }
}

TEST(CommandLine, RefusesWithAMessageNamingTheArgument)
{
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--bogus"}, "--bogus"},
        {{"-x"}, "-x"},
        {{"--version", "--verbose"}, "--verbose"},
        {{"palette.rgb"}, "palette.rgb"},
        {{"--data-dir"}, "--data-dir"},
        {{"--data-dir", ""}, "needs a folder"},
        {{"--data-dir="}, "--data-dir"}};
    for (const auto& [args, error] : cases)
        EXPECT_NE(parseCommandLine(args).error.find(error), std::string::npos)
            << testing::PrintToString(args) << ": " << parseCommandLine(args).error;
}

class PaletteVerbsTest : public TempFolderTest
{
protected:
    void SetUp() override
    {
        TempFolderTest::SetUp();
        fs::copy(HUEBENCH_FACTORY_DATA, folder(), fs::copy_options::recursive);
    }

    VerbRun run(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"--data-dir", folder().string(), "palette"});
        return runVerb(args);
    }
};

TEST_F(PaletteVerbsTest, ListImportAndExport)
{
    writeFile("c1.rgb", "FF000000FF00");
    const VerbRun listed = run({"list"});
    ASSERT_EQ(listed.status, 0) << listed.err;
    EXPECT_TRUE(listed.out.starts_with("mycolor.rgb\t0\t")) << listed.out;
    EXPECT_NE(listed.out.find("\nc1.rgb\t0\t2\t"), std::string::npos) << listed.out;
    EXPECT_NE(listed.out.find("\nrecent.rgb\t2\t0\t"), std::string::npos) << listed.out;
    EXPECT_FALSE(exists("recent.rgb")); // listing creates nothing

    writeFile("brand.gpl", "GIMP Palette\nName: Brand\n255 0 0\n0 0 999\n0 0 255\n");
    const VerbRun imported = run({"import", (folder() / "brand.gpl").string(), "--title", "Mine"});
    ASSERT_EQ(imported.status, 0) << imported.err;
    EXPECT_TRUE(imported.out.starts_with("c10.rgb\t2 colors imported into \"Mine\".\n1 line "))
        << imported.out;
    EXPECT_EQ(run({"export", "Mine", "--format", "txt"}).out, "// Mine\n#FF0000\n#0000FF\n");
    const VerbRun written =
        run({"export", "c10.rgb", "--format", "css", "-o", (folder() / "out.css").string()});
    ASSERT_EQ(written.status, 0) << written.err;
    EXPECT_EQ(readFile("out.css"), ":root {\n  --mine-1: #ff0000;\n  --mine-2: #0000ff;\n}\n");
}

TEST_F(PaletteVerbsTest, BadArgumentsAndFilesEndWithTheirStatusAndOneMessage)
{
    writeFile("broken.ase", "ASEF");
    writeFile("notes.txt", "no color here\n");
    const std::string index = readFile("colorchart.cci");
    const struct {
        std::vector<std::string> args;
        int status;
        std::string named; // what the message names
    } cases[] = {
        {{}, 2, "list, export, import or from-image"},
        {{"rename"}, 2, "rename"},
        {{"export", "My Colors", "--format", "png"},
         2,
         "'png': expected gpl, ase, txt, css or json"},
        {{"export", "No Such", "--format", "gpl"}, 2, "No Such"},
        {{"export", "My Colors"}, 2, "--format"},
        {{"export", "My Colors", "--bogus", "--format", "gpl"}, 2, "--bogus"},
        {{"import"}, 2, "FILE"},
        {{"import", (folder() / "broken.ase").string()}, 2, "broken.ase: it ends before its"},
        {{"import", (folder() / "notes.txt").string()}, 2, "notes.txt: it holds no color"},
        {{"import", (folder() / "missing.gpl").string()}, 1, "missing.gpl"},
        {{"export", "My Colors", "--format", "gpl", "-o", "/nonexistent/x.gpl"}, 1, "x.gpl"}};
    for (const auto& c : cases) {
        const VerbRun result = run(c.args);
        EXPECT_EQ(result.status, c.status) << c.named;
        EXPECT_NE(result.err.find(c.named), std::string::npos) << result.err;
    }
    EXPECT_EQ(readFile("colorchart.cci"), index);
}

} // namespace
