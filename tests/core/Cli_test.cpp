// The command line: the options of the window, and the verbs that need no data folder (convert,
// contrast and simulate) with their exit codes and outputs. The forms themselves are pinned in
// ColorForms_test and cClrModels_test, the simulation in Contrast_test; the fuzz target
// fuzz_command_line checks that whatever the options parser accepts means what it says.
#include "VerbRun.h"

#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace
{

struct Case {
    std::vector<std::string> args;
    std::string input;
    int status;
    std::string out;
    std::string errPart; // empty: nothing on standard error
};

class Verbs : public testing::TestWithParam<Case>
{
};

TEST_P(Verbs, AnswerOrRefuse)
{
    const Case& c = GetParam();
    const VerbRun r = runVerb(c.args, c.input);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.out, c.out);
    if (c.errPart.empty()) {
        EXPECT_EQ(r.err, "");
    } else {
        EXPECT_NE(r.err.find(c.errPart), std::string::npos) << r.err;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Convert, Verbs,
    testing::Values(
        Case{{"convert", "hotpink", "rgb(0 0 255)"}, "", 0, "#FF69B4\n#0000FF\n", ""},
        Case{{"convert", "--to=vb", "#0A00FF"}, "", 0, "&H00FF000A&\n", ""},
        Case{{"convert", "--to", "cpp", "#0A00FF"}, "", 0, "0xFF000A\n", ""},
        Case{{"convert", "--to", "hsv", "#FFA1CC"}, "", 0, "333,37,100\n", ""},
        Case{{"convert", "--to", "cmyk", "#336699"}, "", 0, "67,33,0,40\n", ""},
        Case{{"convert", "--to", "hls", "#FFA1CC"}, "", 0, "33,82,100\n", ""},
        Case{{"convert", "--to", "ycbcr", "255,255,0"}, "", 0, "226,1,149\n", ""},
        // Piped lines are answered one by one; bad ones are named with their number.
        Case{{"convert", "--to", "rgb"},
             "#FFF\r\nbogus\n\n0x0000FF\n",
             2,
             "rgb(255 255 255)\nrgb(255 0 0)\n",
             "huebench convert: line 3: cannot read ''; expected a color"},
        Case{{"paint"}, "", 2, "", "unknown command 'paint'"},
        Case{{"convert", "--to", "lab", "red"}, "", 2, "", "unknown form 'lab'; expected hex, rgb"},
        Case{{"convert", "--frobnicate"}, "", 2, "", "--frobnicate"},
        Case{{"convert", "red", "--to"}, "", 2, "", "--to"}));

INSTANTIATE_TEST_SUITE_P(
    Contrast, Verbs,
    testing::Values(
        Case{{"contrast", "#777777", "white"}, "", 0, "4.47:1 AA-large\n", ""},
        Case{{"contrast", "black", "#FFF"}, "", 0, "21.00:1 AAA\n", ""},
        Case{{"contrast"},
             "#777777\twhite\r\nnot a color\twhite\n#767676 white\nred\tred\n",
             2,
             "4.47:1 AA-large\n1.00:1 fail\n",
             "line 2: cannot read 'not a color\twhite'"},
        Case{{"contrast"}, "", 0, "", ""},
        Case{{"contrast", "#777777", "nope"}, "", 2, "", "cannot read 'nope'"},
        Case{{"contrast", "#777777"}, "", 2, "", "expected two colors"},
        Case{{"contrast", "--bold", "#000", "#FFF"}, "", 2, "", "unknown option '--bold'"}));

INSTANTIATE_TEST_SUITE_P(
    Simulate, Verbs,
    testing::Values(
        Case{
            {"simulate", "--as=protanopia", "--severity", "50", "#FF0000"}, "", 0, "#B45600\n", ""},
        Case{{"simulate", "--as", "Achromatopsia", "#FFFF00"}, "", 0, "#F7F7F7\n", ""},
        Case{{"simulate", "--as", "tritanopia"},
             "#0000FF\nnope\n",
             2,
             "#006B96\n",
             "line 2: cannot read 'nope'"},
        Case{{"simulate", "--as", "deutan", "#FF0000"}, "", 2, "", "unknown deficiency 'deutan'"},
        Case{{"simulate", "#FF0000"}, "", 2, "", "option --as is required"},
        Case{{"simulate", "--as"}, "", 2, "", "option --as needs a value"}));

TEST(Cli, SeverityIsAPercentFromTenToHundred)
{
    for (const char* severity : {"10", "100"})
        EXPECT_EQ(runVerb({"simulate", "--as", "protanopia", "--severity", severity, "red"}).status,
                  0);
    for (const char* severity : {"5", "9.99", "60x", "100.01"}) {
        const VerbRun r =
            runVerb({"simulate", "--as", "protanopia", "--severity", severity, "red"});
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find("cannot read severity '" + std::string(severity)), std::string::npos);
    }
}

TEST(Cli, ArgumentsWithoutAVerbStartTheWindowAndHelpListsTheVerbs)
{
    EXPECT_FALSE(NamesVerb({}));
    EXPECT_FALSE(NamesVerb({"--data-dir", "x"}));
    EXPECT_FALSE(NamesVerb({"-platform", "offscreen"}));
    EXPECT_TRUE(NamesVerb({"--data-dir=x", "convert"}));
    EXPECT_EQ(runVerb({"--version"}).status, -1);
    const VerbRun help = runVerb({"convert", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.find("Usage: huebench convert [--to FORM]"), 0u);
    EXPECT_NE(VerbsHelp().find("convert "), std::string::npos);
    EXPECT_NE(commandLineUsage().find("--data-dir DIR"), std::string::npos);
    const VerbRun all = runVerb({"convert", "--to", "all", "white"});
    EXPECT_EQ(all.out.substr(0, 37), "hex: #FFFFFF\nrgb: rgb(255 255 255)\nhs");
    EXPECT_NE(all.out.find("\ncpp: 0xFFFFFF\n"), std::string::npos);
}

struct Parsed {
    std::vector<std::string> args;
    bool help, version, printDataDir;
    std::optional<std::string> dataDir;
};

class CommandLineAccepts : public ::testing::TestWithParam<Parsed>
{
};

TEST_P(CommandLineAccepts, WhatItUnderstands)
{
    const Parsed& want = GetParam();
    const CommandLine got = parseCommandLine(want.args);
    EXPECT_EQ(got.error, "");
    EXPECT_EQ(got.help, want.help);
    EXPECT_EQ(got.version, want.version);
    EXPECT_EQ(got.printDataDir, want.printDataDir);
    EXPECT_EQ(got.dataDir, want.dataDir);
}

INSTANTIATE_TEST_SUITE_P(
    Options, CommandLineAccepts,
    ::testing::Values(Parsed{{}, false, false, false, std::nullopt},
                      Parsed{{"--help"}, true, false, false, std::nullopt},
                      Parsed{{"-h"}, true, false, false, std::nullopt},
                      Parsed{{"--version"}, false, true, false, std::nullopt},
                      Parsed{{"--print-data-dir"}, false, false, true, std::nullopt},
                      Parsed{{"--data-dir", "/tmp/a b"}, false, false, false, "/tmp/a b"},
                      Parsed{{"--data-dir=rel/dir"}, false, false, false, "rel/dir"},
                      // A folder whose name starts with a dash is still the option's value.
                      Parsed{{"--data-dir", "-odd"}, false, false, false, "-odd"},
                      Parsed{{"--data-dir", "/d", "--print-data-dir"}, false, false, true, "/d"}));

struct Refused {
    std::vector<std::string> args;
    std::string error;
};

class CommandLineRefuses : public ::testing::TestWithParam<Refused>
{
};

TEST_P(CommandLineRefuses, WithAMessageNamingTheArgument)
{
    EXPECT_EQ(parseCommandLine(GetParam().args).error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Errors, CommandLineRefuses,
    ::testing::Values(Refused{{"--bogus"}, "unknown option '--bogus'"},
                      Refused{{"-x"}, "unknown option '-x'"},
                      Refused{{"--help=yes"}, "unknown option '--help=yes'"},
                      Refused{{"--version", "--verbose"}, "unknown option '--verbose'"},
                      Refused{{"palette.rgb"}, "unexpected argument 'palette.rgb'"},
                      Refused{{"-"}, "unexpected argument '-'"},
                      Refused{{"--data-dir"}, "option --data-dir needs a folder"},
                      Refused{{"--data-dir", ""}, "option --data-dir needs a folder"},
                      Refused{{"--data-dir="}, "option --data-dir needs a folder"}));

} // namespace
