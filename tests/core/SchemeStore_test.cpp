#include "web/SchemeStore.h"

#include "TempFolder.h"

#include <fstream>
#include <functional>
#include <stdexcept>

namespace
{

// Records written by hand: Text, Background, NormalLink, VisitedLink, ActiveLink, HoverLink,
// each BBGGRR.
// White page, black text, links #0000FF, #800080, #FF0000, hover #FF6600.
const std::string classicRecord = "000000"
                                  "FFFFFF"
                                  "FF0000"
                                  "800080"
                                  "0000FF"
                                  "0066FF";
const std::string recA = "111111222222333333444444555555666666";
const std::string recB = "AAAAAABBBBBBCCCCCCDDDDDDEEEEEEFFFFFF";
const std::string recC = "0000FFFF000000FF00123456ABCDEF010203";
const std::string recD = "FEDCBA987654321000000001000100010000";

// The classic factory colors, as color values 0xBBGGRR.
const WebColorScheme classic{0xFFFFFF, 0x000000, 0xFF0000, 0x800080, 0x0000FF, 0x0066FF};

class SchemeStoreTest : public TempFolderTest
{
protected:
    SchemeStore store() const { return SchemeStore(folder()); }

    // Four schemes A, B, C, D in both files.
    void writeFour() const
    {
        writeFile("set.hcs", "\"A\"\r\n\"B\"\r\n\"C\"\r\n\"D\"\r\n");
        writeFile("colorset.dat", recA + recB + recC + recD);
    }

    void expectThrowNaming(const std::function<void()>& action, const std::string& file)
    {
        try {
            action();
            ADD_FAILURE() << "no exception";
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find(file), std::string::npos) << e.what();
        }
    }
};

TEST_F(SchemeStoreTest, FieldsAreReadInRecordOrderAsBlueGreenRed)
{
    writeFile("set.hcs", "\"x\"\r\n");
    writeFile("colorset.dat", "0000FF"   // Text: pure red
                              "FF0000"   // Background: pure blue
                              "00ff00"   // NormalLink: pure green, lower case
                              "563412"   // VisitedLink: #123456
                              "abcdef"   // ActiveLink: #EFCDAB
                              "000001"); // HoverLink: red 1
    const WebColorScheme s = store().ReadScheme(0);
    EXPECT_EQ(s.Text, bascommon::RGB(255, 0, 0));
    EXPECT_EQ(s.Background, bascommon::RGB(0, 0, 255));
    EXPECT_EQ(s.NormalLink, bascommon::RGB(0, 255, 0));
    EXPECT_EQ(s.VisitedLink, bascommon::RGB(0x12, 0x34, 0x56));
    EXPECT_EQ(s.ActiveLink, bascommon::RGB(0xEF, 0xCD, 0xAB));
    EXPECT_EQ(s.HoverLink, bascommon::RGB(1, 0, 0));
}

TEST_F(SchemeStoreTest, AppendWritesQuotedLineAndUpperCaseRecord)
{
    writeFile("set.hcs", "\"A\"\r\n");
    writeFile("colorset.dat", recA);
    const WebColorScheme s{bascommon::RGB(0, 0, 255),
                           bascommon::RGB(255, 0, 0),
                           bascommon::RGB(0x0A, 0xBC, 0xDE),
                           0,
                           0xFFFFFF,
                           0x123456};
    store().Append("My scheme", s);
    EXPECT_EQ(readFile("set.hcs"), "\"A\"\r\n\"My scheme\"\r\n");
    EXPECT_EQ(readFile("colorset.dat"), recA + "0000FF"
                                               "FF0000"
                                               "DEBC0A"
                                               "000000"
                                               "FFFFFF"
                                               "123456");
    EXPECT_EQ(store().ReadScheme(1), s);
    EXPECT_FALSE(exists("set.hct"));
    EXPECT_FALSE(exists("colorset.dam"));
}

TEST_F(SchemeStoreTest, NamesWithQuotesAndCommasReadBackIdentical)
{
    writeFile("set.hcs", "\"A\"\r\n");
    writeFile("colorset.dat", recA);
    const std::vector<std::string> odd = {"say \"hi\", then", "\"", "a,b,c", "\"\"", " ", "é ü"};
    for (const auto& name : odd)
        store().Append(name, classic);
    std::vector<std::string> expected = {"A"};
    expected.insert(expected.end(), odd.begin(), odd.end());
    EXPECT_EQ(store().ReadNames(), expected);
}

TEST_F(SchemeStoreTest, SavingTheSameNameTwiceGivesTwoEntries)
{
    writeFile("set.hcs", "\"A\"\r\n");
    writeFile("colorset.dat", recA);
    store().Append("Twin", classic);
    store().Append("Twin", classic);
    EXPECT_EQ(store().ReadNames(), (std::vector<std::string>{"A", "Twin", "Twin"}));
    EXPECT_EQ(readFile("colorset.dat").size(), 3u * 36);
}

TEST_F(SchemeStoreTest, LineBreaksInsideANameBecomeSpaces)
{
    writeFile("set.hcs", "\"A\"\r\n");
    writeFile("colorset.dat", recA);
    store().Append("two\r\nlines\nhere", classic);
    EXPECT_EQ(readFile("set.hcs"), "\"A\"\r\n\"two  lines here\"\r\n");
}

struct DeleteCase {
    int position;
    const char* names;
    std::string records;
};

class SchemeStoreDelete : public SchemeStoreTest, public ::testing::WithParamInterface<DeleteCase>
{
};

TEST_P(SchemeStoreDelete, KeepsOthersInOrderInBothFiles)
{
    writeFour();
    store().Delete(GetParam().position);
    EXPECT_EQ(readFile("set.hcs"), GetParam().names);
    EXPECT_EQ(readFile("colorset.dat"), GetParam().records);
    EXPECT_FALSE(exists("set.hct"));
    EXPECT_FALSE(exists("colorset.dam"));
}

INSTANTIATE_TEST_SUITE_P(
    Positions, SchemeStoreDelete,
    ::testing::Values(DeleteCase{0, "\"B\"\r\n\"C\"\r\n\"D\"\r\n", recB + recC + recD},
                      DeleteCase{1, "\"A\"\r\n\"C\"\r\n\"D\"\r\n", recA + recC + recD},
                      DeleteCase{2, "\"A\"\r\n\"B\"\r\n\"D\"\r\n", recA + recB + recD},
                      DeleteCase{3, "\"A\"\r\n\"B\"\r\n\"C\"\r\n", recA + recB + recC}));

TEST_F(SchemeStoreTest, DeleteOutsideTheListChangesNothing)
{
    writeFour();
    store().Delete(4);
    store().Delete(-1);
    EXPECT_EQ(readFile("set.hcs"), "\"A\"\r\n\"B\"\r\n\"C\"\r\n\"D\"\r\n");
    EXPECT_EQ(readFile("colorset.dat"), recA + recB + recC + recD);
}

TEST_F(SchemeStoreTest, MissingOrEmptyNameFileGetsTheFactorySchemes)
{
    for (const char* names : {static_cast<const char*>(""), static_cast<const char*>(nullptr)}) {
        std::filesystem::remove(folder() / "set.hcs");
        if (names)
            writeFile("set.hcs", names);
        writeFile("colorset.dat", recA);
        store().ensureSchemes();
        const auto read = store().ReadNames();
        ASSERT_EQ(read.size(), factorySchemes().size());
        EXPECT_EQ(read.front(), "Classic Web");
        EXPECT_EQ(readFile("colorset.dat").substr(0, 36), classicRecord);
        EXPECT_EQ(readFile("colorset.dat").size(), 36 * factorySchemes().size());
    }
}

TEST_F(SchemeStoreTest, FactorySchemesMatchTheInstalledFiles)
{
    store().ensureSchemes();
    const auto installed = [](const char* name) {
        std::ifstream in(std::string(HUEBENCH_FACTORY_DATA) + "/" + name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };
    EXPECT_EQ(readFile("set.hcs"), installed("set.hcs"));
    EXPECT_EQ(readFile("colorset.dat"), installed("colorset.dat"));
    EXPECT_GE(factorySchemes().size(), 4u);
    EXPECT_EQ(store().ReadScheme(0), classic);
}

TEST_F(SchemeStoreTest, StartUpKeepsSavedSchemesAndDiscardsLeftovers)
{
    writeFour();
    writeFile("set.hct", "\"half\"\r\n");
    writeFile("colorset.dam", "123");
    store().ensureSchemes();
    EXPECT_EQ(store().ReadNames(), (std::vector<std::string>{"A", "B", "C", "D"}));
    EXPECT_EQ(readFile("colorset.dat"), recA + recB + recC + recD);
    EXPECT_FALSE(exists("set.hct"));
    EXPECT_FALSE(exists("colorset.dam"));
}

TEST_F(SchemeStoreTest, ShortLinesAreSchemesWithEmptyNames)
{
    // One-character and empty lines keep their position, so names stay beside their records.
    // LF-only ends and a last line without an end are read too.
    writeFile("set.hcs", "\"A\"\r\nx\r\n\r\n\"B\"\n\"C\"");
    EXPECT_EQ(store().ReadNames(), (std::vector<std::string>{"A", "", "", "B", "C"}));
}

TEST_F(SchemeStoreTest, UnreadableFieldsTakeTheClassicColorsAndKeepTheRest)
{
    writeFile("set.hcs", "\"A\"\r\n\"B\"\r\n\"C\"\r\n");
    // Record 1: Background "GGGGGG" and HoverLink "12 456" are not hexadecimal.
    // Record 2: cut off after Text and four characters of Background.
    writeFile("colorset.dat", "0000FF"
                              "GGGGGG"
                              "00FF00"
                              "00FF00"
                              "00FF00"
                              "12 456"
                              "FF0000"
                              "ABCD");
    const WebColorScheme first = store().ReadScheme(0);
    EXPECT_EQ(first, (WebColorScheme{classic.Background, bascommon::RGB(255, 0, 0),
                                     bascommon::RGB(0, 255, 0), bascommon::RGB(0, 255, 0),
                                     bascommon::RGB(0, 255, 0), classic.HoverLink}));
    WebColorScheme second = classic;
    second.Text = bascommon::RGB(0, 0, 255);
    EXPECT_EQ(store().ReadScheme(1), second);
    EXPECT_EQ(store().ReadScheme(2), classic); // no record at all
    EXPECT_EQ(store().ReadScheme(-1), classic);
    EXPECT_EQ(store().ReadScheme(1 << 30), classic);
}

TEST_F(SchemeStoreTest, MissingRecordFileReadsClassicColors)
{
    writeFile("set.hcs", "\"A\"\r\n");
    EXPECT_EQ(store().ReadScheme(0), classic);
    EXPECT_TRUE(store().ReadNames() == std::vector<std::string>{"A"});
}

TEST_F(SchemeStoreTest, AppendBringsFewerRecordsInStep)
{
    writeFile("set.hcs", "\"A\"\r\n\"B\"\r\n\"C\"\r\n");
    writeFile("colorset.dat", recA + "FF00");
    store().Append("D", store().ReadScheme(0));
    // The cut-off record keeps its readable part only as far as whole fields go.
    EXPECT_EQ(readFile("colorset.dat"), recA + classicRecord + classicRecord + recA);
    EXPECT_EQ(store().ReadNames().size(), 4u);
}

TEST_F(SchemeStoreTest, AppendDropsRecordsThatHaveNoName)
{
    writeFile("set.hcs", "\"A\"");
    writeFile("colorset.dat", recA + recB + recC);
    store().Append("D", store().ReadScheme(2));
    EXPECT_EQ(readFile("set.hcs"), "\"A\"\r\n\"D\"\r\n");
    EXPECT_EQ(readFile("colorset.dat"), recA + recC);
}

TEST_F(SchemeStoreTest, AppendToMissingFilesCreatesBoth)
{
    store().Append("Only", classic);
    EXPECT_EQ(readFile("set.hcs"), "\"Only\"\r\n");
    EXPECT_EQ(readFile("colorset.dat"), classicRecord);
}

TEST_F(SchemeStoreTest, DeleteBringsFewerRecordsInStep)
{
    writeFile("set.hcs", "\"A\"\r\n\"B\"\r\n\"C\"\r\n");
    writeFile("colorset.dat", recA + recB);
    store().Delete(0);
    EXPECT_EQ(readFile("colorset.dat"), recB + classicRecord);
}

TEST_F(SchemeStoreTest, FailedRewriteNamesTheFileAndKeepsBoth)
{
    // A non-empty folder where a temporary file must go cannot be opened or removed, even by
    // root.
    for (const char* temp : {"set.hct", "colorset.dam"}) {
        writeFour();
        std::filesystem::create_directories(folder() / temp / "blocker");
        expectThrowNaming([&] { store().Append("E", classic); }, temp);
        expectThrowNaming([&] { store().Delete(1); }, temp);
        EXPECT_EQ(readFile("set.hcs"), "\"A\"\r\n\"B\"\r\n\"C\"\r\n\"D\"\r\n");
        EXPECT_EQ(readFile("colorset.dat"), recA + recB + recC + recD);
        std::filesystem::remove_all(folder() / temp);
        EXPECT_FALSE(exists("set.hct"));
        EXPECT_FALSE(exists("colorset.dam"));
    }
}

TEST_F(SchemeStoreTest, UnreadableFileIsAnErrorNotAnEmptyList)
{
    std::filesystem::create_directory(folder() / "set.hcs");
    expectThrowNaming([&] { (void)store().ReadNames(); }, "set.hcs");
    expectThrowNaming([&] { store().ensureSchemes(); }, "set.hcs");
    std::filesystem::remove(folder() / "set.hcs");
    writeFile("set.hcs", "\"A\"\r\n");
    std::filesystem::create_directory(folder() / "colorset.dat");
    expectThrowNaming([&] { (void)store().ReadScheme(0); }, "colorset.dat");
    expectThrowNaming([&] { store().Append("B", classic); }, "colorset.dat");
    EXPECT_EQ(readFile("set.hcs"), "\"A\"\r\n");
}

TEST_F(SchemeStoreTest, MissingFolderReadsEmptyAndFailsToWrite)
{
    const SchemeStore gone(folder() / "missing");
    EXPECT_TRUE(gone.ReadNames().empty());
    SchemeStore writer(folder() / "missing");
    expectThrowNaming([&] { writer.Append("A", classic); }, "colorset.dam");
}

} // namespace
