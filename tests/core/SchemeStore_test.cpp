// Scheme names and records: the byte layout of both files, records and names kept in step, what
// unreadable or missing parts read as, and the page code written from a scheme.

#include "web/SchemeCode.h"
#include "web/SchemeStore.h"

#include "TempFolder.h"

namespace
{

const std::string recA = "111111222222333333444444555555666666";
const std::string recB = "AAAAAABBBBBBCCCCCCDDDDDDEEEEEEFFFFFF";
const std::string recC = "0000FFFF000000FF00123456ABCDEF010203";
// White page, black text, links #0000FF, #800080, #FF0000, hover #FF6600; fields BBGGRR.
const std::string classicRecord = "000000FFFFFFFF00008000800000FF0066FF";
const WebColorScheme classic{0xFFFFFF, 0x000000, 0xFF0000, 0x800080, 0x0000FF, 0x0066FF};

using SchemeStoreTest = TempFolderTest;

TEST_F(SchemeStoreTest, RecordsAreBlueGreenRedFieldsInOrderAndAppendWritesThemUpperCase)
{
    writeSchemes("\"x\"\r\n", "0000FFFF000000ff00563412abcdef000001");
    EXPECT_EQ(schemes().ReadScheme(0),
              (WebColorScheme{0xFF0000, 0x0000FF, 0x00FF00, 0x563412, 0xABCDEF, 0x000001}));
    const WebColorScheme s{0xFF0000, 0x0000FF, 0xDEBC0A, 0, 0xFFFFFF, 0x123456};
    schemes().Append("My scheme", s);
    EXPECT_EQ(readFile("set.hcs"), "\"x\"\r\n\"My scheme\"\r\n");
    EXPECT_EQ(readFile("colorset.dat").substr(36), "0000FFFF0000DEBC0A000000FFFFFF123456");
    EXPECT_EQ(schemes().ReadScheme(1), s);
}

TEST_F(SchemeStoreTest, RecordsAreBroughtInStepWithTheNames)
{
    // Too few records: the cut-off one keeps whole fields only, the missing ones are classic.
    writeSchemes("\"A\"\r\n\"B\"\r\n\"C\"\r\n", recA + "FF00");
    schemes().Append("D", schemes().ReadScheme(0));
    EXPECT_EQ(readFile("colorset.dat"), recA + classicRecord + classicRecord + recA);
    writeSchemes("\"A\"\r\n\"B\"\r\n\"C\"\r\n", recA + recB);
    schemes().Delete(0);
    EXPECT_EQ(readFile("colorset.dat"), recB + classicRecord);
    for (const int outside : {-1, 2}) // nothing to delete: both files stay
        schemes().Delete(outside);
    EXPECT_EQ(readFile("set.hcs") + readFile("colorset.dat"),
              "\"B\"\r\n\"C\"\r\n" + recB + classicRecord);
    // Records without a name are dropped; missing files are created.
    writeSchemes("\"A\"", recA + recB + recC);
    schemes().Append("D", schemes().ReadScheme(2));
    EXPECT_EQ(readFile("set.hcs"), "\"A\"\r\n\"D\"\r\n");
    EXPECT_EQ(readFile("colorset.dat"), recA + recC);
    std::filesystem::remove(folder() / "set.hcs");
    std::filesystem::remove(folder() / "colorset.dat");
    schemes().Append("Only", classic);
    EXPECT_EQ(readFile("set.hcs") + readFile("colorset.dat"), "\"Only\"\r\n" + classicRecord);
}

TEST_F(SchemeStoreTest, UnreadablePartsReadAsClassicAndNamesKeepTheirPlaceUnderAnyLineEnd)
{
    writeSchemes("\"A\"\rx\r\r\n\r\n\"B\"\n\"C\"",
                 "0000FFGGGGGG00FF0000FF0000FF0012 456" // two fields not hexadecimal
                 "FF0000ABCD");                         // cut off in the second field
    EXPECT_EQ(schemes().ReadNames(), (std::vector<std::string>{"A", "", "", "B", "C"}));
    EXPECT_EQ(schemes().ReadScheme(0), (WebColorScheme{classic.Background, 0x0000FF, 0x00FF00,
                                                       0x00FF00, 0x00FF00, classic.HoverLink}));
    WebColorScheme second = classic;
    second.Text = 0xFF0000;
    EXPECT_EQ(schemes().ReadScheme(1), second);
    for (const int n : {2, -1, 1 << 30})
        EXPECT_EQ(schemes().ReadScheme(n), classic) << n;
    std::filesystem::remove(folder() / "colorset.dat");
    EXPECT_EQ(schemes().ReadScheme(0), classic);
}

TEST_F(SchemeStoreTest, MissingOrEmptyNameFileGetsTheFactorySchemesByteForByte)
{
    for (const bool empty : {true, false}) {
        std::filesystem::remove(folder() / "set.hcs");
        if (empty)
            writeFile("set.hcs", "");
        writeFile("colorset.dat", recA);
        schemes().ensureSchemes();
        EXPECT_EQ(readFile("set.hcs"), readBytes(std::string(HUEBENCH_FACTORY_DATA) + "/set.hcs"));
        EXPECT_EQ(readFile("colorset.dat"),
                  readBytes(std::string(HUEBENCH_FACTORY_DATA) + "/colorset.dat"));
        EXPECT_EQ(schemes().ReadNames().front(), "Classic Web");
        EXPECT_EQ(schemes().ReadScheme(0), classic);
    }
    writeSchemes("\"A\"\r\n", recA);
    schemes().ensureSchemes();
    EXPECT_EQ(readFile("set.hcs") + readFile("colorset.dat"), "\"A\"\r\n" + recA);
}

// #0A00FF, #00FF00, #123456, #ABCDEF, #000001, #FEDCBA: zero components, every letter digit, and
// a hover color unlike every other field.
constexpr WebColorScheme mixed{0xFF000A, 0x00FF00, 0x563412, 0xEFCDAB, 0x010000, 0xBADCFE};

TEST(SchemeCode, AllThreeTextsMatchByteForByte)
{
    for (const auto& [file, scheme] : {std::pair{"classic", classic}, {"mixed", mixed}}) {
        const std::string golden = std::string(HUEBENCH_TEST_DATA) + "/web/" + file;
        EXPECT_EQ(HtmlCode(scheme), readBytes(golden + ".html.txt"));
        EXPECT_EQ(ExternalCssCode(scheme), readBytes(golden + ".external.txt"));
        EXPECT_EQ(InlineCssCode(scheme), readBytes(golden + ".inline.txt"));
    }
}

} // namespace
