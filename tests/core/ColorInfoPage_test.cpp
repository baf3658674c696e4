#include "color/ColorInfoPage.h"
#include "storage/SaveAs.h"

#include "TempFolder.h"

#include <iterator>
#include <stdexcept>

namespace fs = std::filesystem;

// A pending edit shows as typed ("007") but converts as the main window would repair it.
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

using SaveAsTest = TempFolderTest;

TEST_F(SaveAsTest, ColorInfoPageIsWrittenByteForByteOverAnOlderOne)
{
    const ColorInfo info = MakeColorInfo("#FFA1CC", "255", "161", "204");
    fs::copy_file(fs::path(HUEBENCH_TEST_DATA) / "colorinfo_255_161_204.html",
                  folder() / "expected.html");
    const std::string expected = readFile("expected.html");
    EXPECT_EQ(ColorInfoPageText(info), expected);
    writeFile("#FFA1CC.htm", "an older page that is longer than nothing");
    SaveColorInfoPage(folder() / "#FFA1CC.htm", info);
    EXPECT_EQ(readFile("#FFA1CC.htm"), expected);
}

TEST_F(SaveAsTest, LinkIsFollowedEvenDanglingAndTheFileKeepsItsPermissions)
{
    // "<case>.htm" links to real/<case>.htm; the chain goes through a second link.
    fs::create_directory(folder() / "real");
    fs::create_symlink("real/relative.htm", folder() / "relative.htm");
    fs::create_symlink(folder() / "real" / "absolute.htm", folder() / "absolute.htm");
    fs::create_symlink("hop.htm", folder() / "chain.htm");
    fs::create_symlink("real/../real/chain.htm", folder() / "hop.htm");
    for (const std::string name : {"relative.htm", "absolute.htm", "chain.htm"}) {
        writeFile("real/" + name, "an older page");
        fs::permissions(folder() / "real" / name, fs::perms(0640));
        saveAs(folder() / name, "<html>");
        EXPECT_TRUE(fs::is_symlink(folder() / name));
        EXPECT_EQ(readFile("real/" + name), "<html>") << name;
        EXPECT_EQ(fs::status(folder() / "real" / name).permissions(), fs::perms(0640)) << name;
    }
    fs::create_symlink("real/made.htm", folder() / "page.htm");
    saveAs(folder() / "page.htm", "<html>");
    EXPECT_EQ(readFile("real/made.htm"), "<html>");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder() / "real"), {}), 4)
        << "a temporary file was left behind";
}

TEST_F(SaveAsTest, FailureNamesTheChosenFileAndLeavesNoTemporary)
{
    fs::create_directory(folder() / "a folder");
    fs::create_symlink("a folder", folder() / "to-folder.htm");
    fs::create_symlink("loop.htm", folder() / "loop.htm");
    for (const char* chosen : {"a folder", "to-folder.htm", "loop.htm", "missing/page.htm"}) {
        try {
            saveAs(folder() / chosen, "<html>");
            ADD_FAILURE() << chosen << ": no exception";
        } catch (const std::runtime_error& e) {
            const std::string message = e.what();
            EXPECT_NE(message.find(chosen), std::string::npos) << message;
            EXPECT_EQ(message.find(".tmp"), std::string::npos) << message;
        }
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(folder()), {}), 3);
    EXPECT_TRUE(fs::is_empty(folder() / "a folder"));
}
