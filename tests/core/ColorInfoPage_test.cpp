#include "color/ColorInfoPage.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <iterator>

namespace
{

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

using ColorInfoSave = TempFolderTest;

TEST_F(ColorInfoSave, WritesThePageByteForByteOverAnOlderOneOrNamesTheFileItCannotWrite)
{
    const ColorInfo info = MakeColorInfo("#FFA1CC", "255", "161", "204");
    std::filesystem::copy_file(expectedPage, folder() / "expected.html");
    const std::string expected = readFile("expected.html");
    ASSERT_FALSE(expected.empty()) << expectedPage;
    EXPECT_EQ(ColorInfoPageText(info), expected);
    writeFile("#FFA1CC.htm", "an older page that is longer than nothing");
    SaveColorInfoPage(folder() / "#FFA1CC.htm", info);
    EXPECT_EQ(readFile("#FFA1CC.htm"), expected);

    // A failure names the file and leaves nothing behind.
    std::filesystem::create_directory(folder() / "page.htm");
    expectThrowNaming([&] { SaveColorInfoPage(folder() / "page.htm", info); }, "page.htm");
    EXPECT_TRUE(std::filesystem::is_directory(folder() / "page.htm"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder()),
                            std::filesystem::directory_iterator()),
              3)
        << "a temporary file was left behind";
}
