#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace
{

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
                      Parsed{{"--data-dir", "/a", "--data-dir", "/b"}, false, false, false, "/b"},
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

TEST(CommandLineUsage, ListsEveryOption)
{
    const std::string usage = commandLineUsage();
    for (const char* option :
         {"--data-dir DIR", "--print-data-dir", "--version", "--help", "HUEBENCH_DATA_DIR"})
        EXPECT_NE(usage.find(option), std::string::npos) << option;
}

} // namespace
