#include "cli/Cli.h"

#include <gtest/gtest.h>

#include <sstream>

namespace
{

struct Outcome {
    int status;
    std::string out, err;
};

Outcome run(const std::vector<std::string>& args, const std::string& input = "")
{
    std::istringstream in(input);
    std::ostringstream out, err;
    CliIo io{in, out, err};
    const auto status =
        RunVerb(args, io, [](const std::optional<std::string>&) -> std::filesystem::path {
            throw std::runtime_error("contrast and simulate need no data folder");
        });
    return {status.value_or(-1), out.str(), err.str()};
}

struct Case {
    std::vector<std::string> args;
    std::string input;
    int status;
    std::string out;
    std::string errPart; // empty: nothing on standard error
};

class ContrastVerbs : public testing::TestWithParam<Case>
{
};

TEST_P(ContrastVerbs, AnswerOrRefuse)
{
    const Case& c = GetParam();
    const Outcome r = run(c.args, c.input);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.out, c.out);
    if (c.errPart.empty()) {
        EXPECT_EQ(r.err, "");
    } else {
        EXPECT_NE(r.err.find(c.errPart), std::string::npos) << r.err;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Contrast, ContrastVerbs,
    testing::Values(
        Case{{"contrast", "#777777", "white"}, "", 0, "4.47:1 AA-large\n", ""},
        Case{{"contrast", "black", "#FFF"}, "", 0, "21.00:1 AAA\n", ""},
        Case{{"contrast", "#0000FF", "#FFFFFF"}, "", 0, "8.59:1 AAA\n", ""},
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
    Simulate, ContrastVerbs,
    testing::Values(
        Case{{"simulate", "--as", "protanopia", "#FF0000", "#808080"},
             "",
             0,
             "#6D5F00\n#808080\n",
             ""},
        Case{
            {"simulate", "--as=protanopia", "--severity", "50", "#FF0000"}, "", 0, "#B45600\n", ""},
        Case{{"simulate", "--as", "Achromatopsia", "#FFFF00"}, "", 0, "#F7F7F7\n", ""},
        Case{{"simulate", "--as", "tritanopia"},
             "#0000FF\nnope\n",
             2,
             "#006B96\n",
             "line 2: cannot read 'nope'"},
        Case{{"simulate", "--as", "deutan", "#FF0000"}, "", 2, "", "unknown deficiency 'deutan'"},
        Case{{"simulate", "--as", "protanopia", "--severity", "5", "#FF0000"},
             "",
             2,
             "",
             "cannot read severity '5'"},
        Case{{"simulate", "--as", "protanopia", "--severity=100.5", "#FF0000"},
             "",
             2,
             "",
             "cannot read severity '100.5'"},
        Case{{"simulate", "--as", "protanopia", "--severity", "6x0", "#FF0000"},
             "",
             2,
             "",
             "cannot read severity '6x0'"},
        Case{{"simulate", "#FF0000"}, "", 2, "", "option --as is required"},
        Case{{"simulate", "--as"}, "", 2, "", "option --as needs a value"}));

} // namespace
