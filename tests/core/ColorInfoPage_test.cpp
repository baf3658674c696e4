#include "color/ColorInfoPage.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

namespace
{

std::string readBytes(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> crlfLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (auto end = text.find("\r\n"); end != std::string::npos; end = text.find("\r\n", start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    EXPECT_EQ(start, text.size()) << "text after the last CR LF";
    return lines;
}

const std::filesystem::path expectedPage =
    std::filesystem::path(HUEBENCH_TEST_DATA) / "colorinfo_255_161_204.html";

} // namespace

// A pending edit in the main window shows as typed ("007") but converts as its number; text
// the main window's boxes never hold is read the way they would repair it.
TEST(ColorInfo, DecimalTextsAreKeptAndReadAsNumbers)
{
    const ColorInfo padded = MakeColorInfo("#07A1CC", "007", "161", "204");
    EXPECT_EQ(padded.r, "007");
    EXPECT_EQ(padded.cmyC, "248");

    const struct {
        const char* text;
        const char* cmy;
    } cases[] = {{"", "255"},     {"12a", "255"}, {"-5", "255"}, {"300", "0"},
                 {"0000", "255"}, {"99999", "0"}, {"0255", "0"}, {" 1", "255"}};
    for (const auto& t : cases)
        EXPECT_EQ(MakeColorInfo("#000000", t.text, "0", "0").cmyC, t.cmy) << '"' << t.text << '"';
}

TEST(ColorInfoPage, MatchesTheExpectedPageByteForByte)
{
    const std::string expected = readBytes(expectedPage);
    ASSERT_FALSE(expected.empty()) << expectedPage;
    EXPECT_EQ(ColorInfoPageText(MakeColorInfo("#FFA1CC", "255", "161", "204")), expected);
}

TEST(ColorInfoPage, HasNinetyOneLinesAndValuesInsertedUnchanged)
{
    ColorInfo info = MakeColorInfo("#0A00FF", "10", "0", "255");
    info.cmykK = "<K>";
    info.r = "010";
    const auto lines = crlfLines(ColorInfoPageText(info));
    ASSERT_EQ(lines.size(), 91u);
    EXPECT_EQ(lines[15], "<p align=center><font face=Tahoma size=2><b>#0A00FF</b></font></td>");
    EXPECT_EQ(lines[20], "<td width=33%><font face=Tahoma size=2>010</font></td>");
    // The K row: label over three lines, then the value.
    EXPECT_EQ(lines[64], "<td width=33%><font face=Tahoma size=2>K");
    EXPECT_EQ(lines[65], "</font>");
    EXPECT_EQ(lines[66], "</td>");
    EXPECT_EQ(lines[67], "<td width=33%><font face=Tahoma size=2><K></font></td>");
    EXPECT_EQ(lines[86], "<td width=80% bgcolor=#0A00FF></td>");
    EXPECT_EQ(lines[90], "</html>");
    for (const auto& line : lines)
        EXPECT_EQ(line.find("HLS"), std::string::npos) << line;
}

using ColorInfoSave = TempFolderTest;

TEST_F(ColorInfoSave, WritesAndReplacesThePage)
{
    const ColorInfo info = MakeColorInfo("#FFA1CC", "255", "161", "204");
    writeFile("#FFA1CC.htm", "an older page that is longer than nothing");
    SaveColorInfoPage(folder() / "#FFA1CC.htm", info);
    EXPECT_EQ(readFile("#FFA1CC.htm"), readBytes(expectedPage));
    SaveColorInfoPage(folder() / "#FFA1CC.htm", info);
    EXPECT_EQ(readFile("#FFA1CC.htm"), readBytes(expectedPage));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder()),
                            std::filesystem::directory_iterator()),
              1)
        << "a temporary file was left behind";
}

TEST_F(ColorInfoSave, FailureNamesTheFileAndLeavesNothingBehind)
{
    const ColorInfo info = MakeColorInfo("#FFA1CC", "255", "161", "204");
    std::filesystem::create_directory(folder() / "page.htm");
    try {
        SaveColorInfoPage(folder() / "page.htm", info);
        FAIL() << "saving over a folder succeeded";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("page.htm"), std::string::npos) << e.what();
    }
    EXPECT_TRUE(std::filesystem::is_directory(folder() / "page.htm"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder()),
                            std::filesystem::directory_iterator()),
              1)
        << "a temporary file was left behind";

    EXPECT_THROW(SaveColorInfoPage(folder() / "missing" / "page.htm", info), std::runtime_error);
}
