#include "web/SchemeCode.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace
{

std::string golden(const std::string& name)
{
    std::ifstream in(std::string(HUEBENCH_TEST_DATA) + "/web/" + name, std::ios::binary);
    EXPECT_TRUE(in.good()) << "missing golden file " << name;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Background, Text, NormalLink, VisitedLink, ActiveLink, HoverLink as color values (0xBBGGRR).
// White page, black text, links #0000FF, #800080, #FF0000, hover #FF6600.
constexpr WebColorScheme classic{0xFFFFFF, 0x000000, 0xFF0000, 0x800080, 0x0000FF, 0x0066FF};
// #0A00FF, #00FF00, #123456, #ABCDEF, #000001, #FEDCBA: zero components and every letter digit.
constexpr WebColorScheme mixed{0xFF000A, 0x00FF00, 0x563412, 0xEFCDAB, 0x010000, 0xBADCFE};

struct GoldenCase {
    const char* file;
    WebColorScheme scheme;
};

class SchemeCodeGolden : public ::testing::TestWithParam<GoldenCase>
{
};

TEST_P(SchemeCodeGolden, AllThreeTextsMatchByteForByte)
{
    const auto& [file, scheme] = GetParam();
    EXPECT_EQ(HtmlCode(scheme), golden(std::string(file) + ".html.txt"));
    EXPECT_EQ(ExternalCssCode(scheme), golden(std::string(file) + ".external.txt"));
    EXPECT_EQ(InlineCssCode(scheme), golden(std::string(file) + ".inline.txt"));
}

INSTANTIATE_TEST_SUITE_P(Schemes, SchemeCodeGolden,
                         ::testing::Values(GoldenCase{"classic", classic},
                                           GoldenCase{"mixed", mixed}));

TEST(SchemeCode, HoverColorReachesOnlyTheStyleSheets)
{
    WebColorScheme other = classic;
    other.HoverLink = 0x123456;
    EXPECT_EQ(HtmlCode(other), HtmlCode(classic));
    EXPECT_EQ(HtmlCode(classic).find("#FF6600"), std::string::npos);
    EXPECT_NE(ExternalCssCode(other), ExternalCssCode(classic));
    EXPECT_NE(ExternalCssCode(other).find("a:hover {color:#563412;}"), std::string::npos);
    EXPECT_NE(InlineCssCode(other), InlineCssCode(classic));
}

} // namespace
