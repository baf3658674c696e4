// Palette records and the palette index: byte layout, malformed records, rewrites, new names.

#include "palette/PaletteStore.h"
#include "palette/RecentColors.h"

#include "TempFolder.h"

#include <functional>
#include <set>

namespace fs = std::filesystem;
using bascommon::ColorValue;

namespace
{

const std::string fiveEntries =
    crlf({"mycolor.rgb", "My Colors", "0", "recent.rgb", "Recent", "2", "c1.rgb", "One", "0",
          "c2.rgb", "Two", "1", "c9.rgb", "Nine", "0"});

std::vector<std::string> files(const std::vector<ChartEntry>& entries)
{
    std::vector<std::string> names;
    for (const auto& entry : entries)
        names.push_back(entry.file);
    return names;
}

} // namespace

using PaletteStoreTest = TempFolderTest;

TEST_F(PaletteStoreTest, RecordsReadCaseInsensitivelyAndMalformedOrMissingOnesReadWhite)
{
    const struct {
        const char* record;
        ColorValue expected;
    } cases[] = {{"1a2B3c", 0x3C2B1A}, {"FF0000", 0x0000FF}, {"000000", 0x000000},
                 {"1G2B3C", 0xFFFFFF}, {"#12345", 0xFFFFFF}, {"\0\0\0\0\0\0", 0xFFFFFF}};
    std::string bytes;
    for (const auto& c : cases)
        bytes.append(c.record, 6);
    writeFile("p.rgb", bytes + "12");
    EXPECT_EQ(palettes().CountColorRecords("p.rgb"), 6);
    for (int n = 1; n <= static_cast<int>(std::size(cases)); ++n)
        EXPECT_EQ(palettes().ReadColorRecord("p.rgb", n), cases[n - 1].expected) << "record " << n;
    for (const int n : {0, 7, 1000})
        EXPECT_EQ(palettes().ReadColorRecord("p.rgb", n), 0xFFFFFF) << n;
    EXPECT_EQ(readFile("p.rgb"), bytes + "12") << "reading never repairs the file";
    EXPECT_EQ(palettes().ReadColorRecord("missing.rgb", 1), 0xFFFFFF);
    EXPECT_FALSE(exists("missing.rgb"));
    EXPECT_EQ(palettes().CountColorRecords("new.rgb"), 0);
    EXPECT_TRUE(exists("new.rgb"));
}

TEST_F(PaletteStoreTest, RewritesKeepWholeRecordsInOrderAndAppendGoesBehindTheLastOne)
{
    const struct {
        std::string before;
        std::function<void(PaletteStore&)> change;
        std::string after;
    } cases[] = {
        {"111111222222333", [](PaletteStore& p) { p.DeleteColorRecord("p.rgb", 1, 2); }, "222222"},
        {"111111222222", [](PaletteStore& p) { p.DeleteColorRecord("p.rgb", 3, 2); },
         "111111222222"},
        {"111111222222", [](PaletteStore& p) { p.DeleteColorRecord("p.rgb", 0, 2); },
         "111111222222"},
        // A count older than the file never costs the records behind it.
        {"111111222222333333", [](PaletteStore& p) { p.DeleteColorRecord("p.rgb", 2, 1); },
         "111111333333"},
        {"AAAAAAaaaaaaAAAAAA000000333",
         [](PaletteStore& p) { p.RemoveDuplicateRecords("p.rgb", 4); }, "AAAAAAaaaaaa000000"},
        {"111111AB", [](PaletteStore& p) { p.RemoveDuplicateRecords("p.rgb", 1); }, "111111AB"},
        {"AAAAAABBB", [](PaletteStore& p) { p.AppendColorRecord("p.rgb", "#0A0B0C"); },
         "AAAAAA0A0B0C"}};
    for (const auto& c : cases) {
        writeFile("p.rgb", c.before);
        PaletteStore store = palettes();
        c.change(store);
        EXPECT_EQ(readFile("p.rgb"), c.after) << c.before;
        EXPECT_FALSE(exists("p.rgb.ctm") || exists("p.rgb.tmp")) << c.before;
    }
    palettes().AppendColorRecord("c7.rgb", "#1A2B3C");
    EXPECT_EQ(readFile("c7.rgb"), "1A2B3C");
}

TEST_F(PaletteStoreTest, RepairDropsBlankLinesAndEndsEveryLineWithCrLf)
{
    const struct {
        std::string before, after;
    } cases[] = {
        {"a.rgb\r\nA\r\n0\r\n\r\nb.rgb\r\nB\r\n1\r\n",
         crlf({"a.rgb", "A", "0", "b.rgb", "B", "1"})},
        {"a.rgb\r\nA\r\n0\r\n\r\n\r\n", crlf({"a.rgb", "A", "0"})},
        {"a.rgb\r\n   \r\nA\r\n0", crlf({"a.rgb", "A", "0"})},
        {"a.rgb\nA\n\t\n0\n", crlf({"a.rgb", "A", "\t", "0"})},
        {" a.rgb \r\n A \r\n 1 \r\n", crlf({" a.rgb ", " A ", " 1 "})},
        // From editors that end lines with CR alone, or converted twice (CR CR LF).
        {"a.rgb\rA\r0\rb.rgb\r\r\nB\r\r\n2\r\r\n", crlf({"a.rgb", "A", "0", "b.rgb", "B", "2"})}};
    for (const auto& c : cases) {
        writeFile("colorchart.cci", c.before);
        palettes().RepairFile();
        EXPECT_EQ(readFile("colorchart.cci"), c.after);
        EXPECT_FALSE(exists("colorchart.cct"));
    }
}

TEST_F(PaletteStoreTest, IndexReadsWholeGroupsAndKeepsTheRestInTheFile)
{
    writeFile("colorchart.cci", "a.rgb\r\nA\r\n 2 \r\n\r\nb.rgb\r\nB\r\n1\r\nleft.rgb\r\nover");
    palettes().RepairFile();
    const auto entries = palettes().ReadChartIndex();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].file, "a.rgb");
    EXPECT_EQ(entries[0].kind, " 2 ");
    EXPECT_EQ(kindOf(entries[0]), ChartKind::Recent);
    EXPECT_EQ(entries[1].title, "B");
    EXPECT_EQ(readFile("colorchart.cci"),
              crlf({"a.rgb", "A", " 2 ", "b.rgb", "B", "1", "left.rgb", "over"}));

    // A new entry goes behind the whole groups, its title on one line.
    palettes().AppendChartEntry("c3.rgb", "two\r\nlines");
    EXPECT_EQ(files(palettes().ReadChartIndex()),
              (std::vector<std::string>{"a.rgb", "b.rgb", "c3.rgb"}));
    EXPECT_EQ(readFile("colorchart.cci"), crlf({"a.rgb", "A", " 2 ", "b.rgb", "B", "1", "c3.rgb",
                                                "two  lines", "1", "left.rgb", "over"}));
}

TEST_F(PaletteStoreTest, DeleteChartRemovesOneGroup)
{
    const struct {
        int index;
        std::vector<std::string> left;
    } cases[] = {{1, {"recent.rgb", "c1.rgb", "c2.rgb", "c9.rgb"}},
                 {0, {"recent.rgb", "c1.rgb", "c2.rgb", "c9.rgb"}},
                 {4, {"mycolor.rgb", "recent.rgb", "c1.rgb", "c9.rgb"}},
                 {6, {"mycolor.rgb", "recent.rgb", "c1.rgb", "c2.rgb", "c9.rgb"}}};
    for (const auto& c : cases) {
        writeFile("colorchart.cci", fiveEntries);
        writeFile("c2.rgb", "123456");
        palettes().DeleteChart(c.index);
        EXPECT_EQ(files(palettes().ReadChartIndex()), c.left) << "Index " << c.index;
        EXPECT_EQ(readFile("c2.rgb"), "123456") << "the color file is the caller's";
        EXPECT_FALSE(exists("colorchart.cct"));
    }
}

TEST(NextChartFileName, CountsOnFromTheLastEntry)
{
    for (const auto& [last, next] : {std::pair{"c9.rgb", "c10.rgb"},
                                     {"c0009.rgb", "c10.rgb"},
                                     {"x41.rgb", "c42.rgb"},
                                     {"", ""},
                                     {"c.rgb", ""},
                                     {"c1x.rgb", ""},
                                     {"c99999999999999999999.rgb", ""}})
        EXPECT_EQ(NextChartFileName({last, "title", "0"}), next) << last;
}

TEST_F(PaletteStoreTest, NewPaletteNamesFollowTheLastEntryAndNeverTakeAFileInUse)
{
    writeFile("colorchart.cci", fiveEntries);
    EXPECT_EQ(palettes().NewChartFileName(), "c10.rgb");
    palettes().AppendChartEntry("c10.rgb", "Mine");
    EXPECT_EQ(readFile("colorchart.cci"), fiveEntries + crlf({"c10.rgb", "Mine", "1"}));
    palettes().AppendColorRecord("c10.rgb", "#123456");
    EXPECT_EQ(palettes().NewChartFileName(), "c11.rgb");
    palettes().DeleteChart(6);
    palettes().ClearChartFile("c10.rgb");
    EXPECT_EQ(palettes().NewChartFileName(), "c10.rgb");

    // A leftover color file of the next name would show foreign colors in the new palette.
    writeFile("colorchart.cci", fiveEntries);
    writeFile("c10.rgb", "FFFFFF");
    EXPECT_EQ(palettes().NewChartFileName(), "c11.rgb");

    // Without a number in the last entry: after the highest c<number>.rgb of index and folder.
    writeFile("colorchart.cci", crlf({"c4.rgb", "Four", "0", "mycolor.rgb", "Mine", "0"}));
    EXPECT_EQ(palettes().NewChartFileName(), "c11.rgb");
    fs::remove(folder() / "c10.rgb");
    EXPECT_EQ(palettes().NewChartFileName(), "c5.rgb");
    // ... and with none at all, the first.
    writeFile("colorchart.cci", crlf({"mycolor.rgb", "Mine", "0"}));
    EXPECT_EQ(palettes().NewChartFileName(), "c1.rgb");
}

TEST_F(PaletteStoreTest, MissingIndexIsRebuiltFromTheFactoryIndexWithUserPalettes)
{
    writeFile("c17.rgb", "123456");
    writeFile("c12.rgb", "ABCDEF");
    writeFile("c3.rgb", "ABCDEF"); // a factory palette: listed already
    writeFile("notes.rgb", "ABCDEF");
    palettes().RepairFile();
    EXPECT_EQ(readFile("colorchart.cci"), std::string(PaletteStore::factoryIndexText()) +
                                              crlf({"c12.rgb", "Recovered palette c12.rgb", "1",
                                                    "c17.rgb", "Recovered palette c17.rgb", "1"}));

    // An index without one whole entry gets the factory entries in front of its lines.
    writeFile("colorchart.cci", "\r\nlonely.rgb\r\n");
    fs::remove(folder() / "c12.rgb");
    fs::remove(folder() / "c17.rgb");
    palettes().RepairFile();
    EXPECT_EQ(readFile("colorchart.cci"),
              std::string(PaletteStore::factoryIndexText()) + crlf({"lonely.rgb"}));
}

TEST_F(PaletteStoreTest, FactoryDataMeetsTheIndexInvariants)
{
    PaletteStore factory(HUEBENCH_FACTORY_DATA);
    const auto entries = factory.ReadChartIndex();
    ASSERT_GE(entries.size(), 3u);
    EXPECT_EQ(entries[0].file + " " + entries[0].kind, "mycolor.rgb 0");
    EXPECT_EQ(kindOf(entries[0]), ChartKind::Permanent);
    EXPECT_EQ(entries[1].file + " " + entries[1].kind, "recent.rgb 2");
    EXPECT_FALSE(exists(fs::path(HUEBENCH_FACTORY_DATA) / "recent.rgb"));
    EXPECT_NE(NextChartFileName(entries.back()), "");
    int webSafePalettes = 0;
    for (std::size_t i = 2; i < entries.size(); ++i) {
        const std::string bytes = readBytes(fs::path(HUEBENCH_FACTORY_DATA) / entries[i].file);
        EXPECT_TRUE(!bytes.empty() && bytes.size() % 6 == 0) << entries[i].file;
        EXPECT_EQ(bytes.find_first_not_of("0123456789ABCDEF"), std::string::npos);
        if (entries[i].title != "Web Safe Colors")
            continue;
        ++webSafePalettes;
        std::set<ColorValue> colors;
        for (const ColorValue c : factory.ReadColorRecordsDown(entries[i].file, 216, 216)) {
            EXPECT_TRUE(bascommon::IsWebSafe(c)) << std::hex << c;
            colors.insert(c);
        }
        EXPECT_EQ(colors.size(), 216u);
        EXPECT_EQ(factory.ReadColorRecord(entries[i].file, 217), 0xFFFFFF);
    }
    EXPECT_EQ(webSafePalettes, 1);
}

TEST(RecentColors, RememberedUnlessBlackWhiteOrTakenFromTheRecentPaletteItself)
{
    const struct {
        ColorValue color;
        bool recentOnDisplay;
        ColorValue lastCell;
        bool append, reshow;
    } cases[] = {
        {0x336699, false, 0x336699, true, false}, // elsewhere, even the last cell's color
        {0x000000, false, 0x123456, false, false},
        {0xFFFFFF, false, 0x123456, false, false},
        {0x336699, true, 0x123456, true, true},   // on display: added and shown from page 1
        {0x336699, true, 0x336699, false, false}, // clicked in the recent palette itself
        {0x000000, true, 0x123456, false, false},
        {0x01000000, false, 0, false, false}, // stray high bits do not make black a color
    };
    for (const auto& c : cases) {
        const RecentStep step = RecentColorsRule(c.color, c.recentOnDisplay, c.lastCell);
        EXPECT_EQ((std::array{step.append, step.reshow}), (std::array{c.append, c.reshow}))
            << std::hex << c.color << " " << c.recentOnDisplay;
    }
}
