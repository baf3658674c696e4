#include "cli/Cli.h"

#include <gtest/gtest.h>

#include <sstream>

namespace
{

// One verb run with string streams; the data folder is never asked for by convert.
struct VerbRun {
    int status;
    std::string out, err;
};

VerbRun run(const std::vector<std::string>& args, const std::string& input = "")
{
    std::istringstream in(input);
    std::ostringstream out, err;
    CliIo io{in, out, err};
    const auto status =
        RunVerb(args, io, [](const std::optional<std::string>&) -> std::filesystem::path {
            throw std::runtime_error("no data folder in this test");
        });
    return {status.value_or(-1), out.str(), err.str()};
}

TEST(Cli, ArgumentsWithoutAVerbStartTheWindow)
{
    EXPECT_FALSE(NamesVerb({}));
    EXPECT_FALSE(NamesVerb({"--data-dir", "x"}));
    EXPECT_FALSE(NamesVerb({"-platform", "offscreen"}));
    EXPECT_TRUE(NamesVerb({"--data-dir=x", "convert"}));
    EXPECT_EQ(run({"--version"}).status, -1);
}

TEST(Cli, ConvertWritesEachFormOfEachArgument)
{
    struct Row {
        std::vector<std::string> args;
        std::string out;
    };
    const Row rows[] = {
        {{"convert", "hotpink", "rgb(0 0 255)"}, "#FF69B4\n#0000FF\n"},
        {{"convert", "--to", "oklch", "#FF0000"}, "oklch(62.8% 0.25768 29.23)\n"},
        {{"convert", "--to=hsl", "#FFA1CC"}, "hsl(332.6 100% 81.6%)\n"},
        {{"convert", "--to", "dec", "#FFFF71"}, "RGB(255,255,113)\n"},
        {{"convert", "--to", "vb", "#0A00FF"}, "&H00FF000A&\n"},
        {{"convert", "--to", "delphi", "#0A00FF"}, "$00FF000A\n"},
        {{"convert", "--to", "cpp", "#0A00FF"}, "0xFF000A\n"},
        {{"convert", "--to", "hsv", "#FFA1CC"}, "333,37,100\n"},
        {{"convert", "--to", "cmyk", "#336699"}, "67,33,0,40\n"},
        {{"convert", "--to", "hls", "#FFA1CC"}, "33,82,100\n"},
        {{"convert", "--to", "ycbcr", "255,255,0"}, "226,1,149\n"},
    };
    for (const Row& row : rows) {
        const VerbRun r = run(row.args);
        EXPECT_EQ(r.status, 0) << row.args[2];
        EXPECT_EQ(r.out, row.out) << row.args[2];
        EXPECT_EQ(r.err, "");
    }
    const VerbRun all = run({"convert", "--to", "all", "white"});
    EXPECT_EQ(all.out.substr(0, 37), "hex: #FFFFFF\nrgb: rgb(255 255 255)\nhs");
    EXPECT_NE(all.out.find("\ncpp: 0xFFFFFF\n"), std::string::npos);
}

TEST(Cli, PipedLinesAreAnsweredOneByOneAndBadLinesNamedWithTheirNumber)
{
    const VerbRun r = run({"convert", "--to", "rgb"}, "#FFF\r\nbogus\n\n0x0000FF\n");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "rgb(255 255 255)\nrgb(255 0 0)\n");
    EXPECT_EQ(r.err.find("huebench convert: line 2: cannot read 'bogus'; expected a color"), 0u);
    EXPECT_NE(r.err.find("line 3: cannot read ''"), std::string::npos);
}

TEST(Cli, UsageErrorsNameTheArgumentAndExitWithTwo)
{
    const VerbRun unknownVerb = run({"paint"});
    EXPECT_EQ(unknownVerb.status, 2);
    EXPECT_NE(unknownVerb.err.find("unknown command 'paint'"), std::string::npos);
    const VerbRun unknownForm = run({"convert", "--to", "lab", "red"});
    EXPECT_EQ(unknownForm.status, 2);
    EXPECT_NE(unknownForm.err.find("unknown form 'lab'; expected hex, rgb"), std::string::npos);
    EXPECT_EQ(unknownForm.out, "");
    EXPECT_EQ(run({"convert", "--frobnicate"}).status, 2);
    EXPECT_EQ(run({"convert", "red", "--to"}).status, 2);
}

TEST(Cli, HelpOfAVerbListsItsArguments)
{
    const VerbRun help = run({"convert", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.find("Usage: huebench convert [--to FORM]"), 0u);
    EXPECT_NE(VerbsHelp().find("convert "), std::string::npos);
}

} // namespace
