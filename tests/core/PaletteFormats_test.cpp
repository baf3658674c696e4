#include "palette/PaletteFormats.h"
#include "palette/PaletteStore.h"

#include "TempFolder.h"

#include <bit>
#include <cstdint>

namespace fs = std::filesystem;
using bascommon::ColorValue;
using bascommon::RGB;

namespace
{

// Big-endian pieces of the binary swatch files, written by hand from the format descriptions.
std::string be16(unsigned v)
{
    return {static_cast<char>(v >> 8 & 0xFF), static_cast<char>(v & 0xFF)};
}
std::string be32(std::uint32_t v)
{
    return be16(v >> 16) + be16(v & 0xFFFF);
}
std::string f32(float v)
{
    return be32(std::bit_cast<std::uint32_t>(v));
}
std::string utf16(const std::string& ascii)
{
    std::string units;
    for (const char c : ascii)
        units += be16(static_cast<unsigned char>(c));
    return units + be16(0);
}

// An .ase file being built; each block's offset is noted as it is added.
struct Ase {
    std::string bytes = "ASEF" + be16(1) + be16(0) + be32(0);
    std::uint32_t blocks = 0;

    std::uint64_t block(unsigned type, const std::string& body)
    {
        const std::uint64_t at = bytes.size();
        bytes += be16(type) + be32(static_cast<std::uint32_t>(body.size())) + body;
        bytes.replace(8, 4, be32(++blocks));
        return at;
    }
    static std::string name(const std::string& text)
    {
        return be16(static_cast<unsigned>(text.size() + 1)) + utf16(text);
    }
    std::uint64_t color(const std::string& title, const std::string& model,
                        std::initializer_list<float> values)
    {
        std::string body = name(title) + model;
        for (const float v : values)
            body += f32(v);
        return block(0x0001, body + be16(2));
    }
};

std::vector<ColorValue> colorsOf(const PaletteReadResult& result)
{
    std::vector<ColorValue> colors;
    for (const auto& swatch : result.colors)
        colors.push_back(swatch.color);
    return colors;
}

std::vector<std::uint64_t> skippedAt(const PaletteReadResult& result)
{
    std::vector<std::uint64_t> where;
    for (const auto& part : result.skipped)
        where.push_back(part.where);
    return where;
}

TEST(PaletteFormats, GplReadsHeaderCommentsTabsCrLfAndSkipsBadRows)
{
    const auto result = readGpl("GIMP Palette\r\nName: Sunset \r\nColumns: 4\r\n# a comment\r\n\r\n"
                                "255   0   0\tWarm red\r\n  0\t128\t 255\r\n256 0 0 Too bright\r\n"
                                "12 -3 4\r\n10 20\r\nten 20 30\r\n1 2 3");
    ASSERT_FALSE(result.fault);
    EXPECT_EQ(result.title, "Sunset");
    EXPECT_EQ(colorsOf(result),
              (std::vector<ColorValue>{RGB(255, 0, 0), RGB(0, 128, 255), RGB(1, 2, 3)}));
    EXPECT_EQ(result.colors[0].name, "Warm red");
    EXPECT_EQ(skippedAt(result), (std::vector<std::uint64_t>{8, 9, 10, 11}));
    EXPECT_EQ(result.skipped[0].reason, "value over 255");
    EXPECT_EQ(result.skipped[1].reason, "negative value");
}

TEST(PaletteFormats, AseReadsGroupsAndAllFourModels)
{
    Ase file;
    file.block(0xC001, Ase::name("Brand"));
    file.color("Orange", "RGB ", {1.0f, 0.2f, 0.0f});
    file.color("Process red", "CMYK", {0.0f, 1.0f, 1.0f, 0.0f});
    file.color("Black", "CMYK", {0.0f, 0.0f, 0.0f, 1.0f});
    file.block(0xC002, "");
    file.color("Lab red", "LAB ", {0.5429f, 80.81f, 69.89f}); // sRGB red under D50
    file.color("Lab gray", "LAB ", {0.5f, 0.0f, 0.0f});
    file.color("Gray", "Gray", {0.2f});
    file.color("Too bright", "RGB ", {1.5f, -0.5f, 0.0f});
    const auto spot = file.color("Odd model", "HSV ", {0.0f, 0.0f, 0.0f});
    const auto unknown = file.block(0x0002, "xyz");
    const auto result = readAse(file.bytes);
    ASSERT_FALSE(result.fault) << result.fault->reason;
    EXPECT_EQ(result.title, "Brand");
    EXPECT_EQ(colorsOf(result), (std::vector<ColorValue>{
                                    RGB(255, 51, 0), RGB(255, 0, 0), RGB(0, 0, 0), RGB(255, 0, 0),
                                    RGB(119, 119, 119), RGB(51, 51, 51), RGB(255, 0, 0)}));
    EXPECT_EQ(result.colors[1].name, "Process red");
    EXPECT_FALSE(result.lineNumbers);
    EXPECT_EQ(skippedAt(result), (std::vector<std::uint64_t>{spot, unknown}));
}

TEST(PaletteFormats, AseNamesDecodeSurrogatePairsAndMarkLoneHalves)
{
    // U+1F3A8 as a pair, e acute, a lone low half, a high half with no low one after it.
    Ase file;
    const std::string name =
        be16(6) + be16(0xD83C) + be16(0xDFA8) + be16(0xE9) + be16(0xDC00) + be16(0xD83C) + be16(0);
    file.block(0x0001, name + "RGB " + f32(1) + f32(0) + f32(0) + be16(2));
    const auto result = readAse(file.bytes);
    ASSERT_FALSE(result.fault) << result.fault->reason;
    EXPECT_EQ(result.colors.at(0).name, "\xF0\x9F\x8E\xA8\xC3\xA9\xEF\xBF\xBD\xEF\xBF\xBD");
    // Written back, a title of two- and four-byte characters keeps them.
    const std::string title = "Bl\xC3\xA9 \xF0\x9F\x8E\xA8";
    EXPECT_EQ(readAse(writePalette(PaletteFormat::Ase, title, {RGB(1, 2, 3)})).title, title);
}

// Swatch files as vendors write them: a group start that is an empty block, a color whose name
// is empty, version 0.1, and CMYK fractions between whole percents (88.24 % cyan, 0.49 % magenta,
// 82.35 % yellow, 29.41 % black: 255 (1 - ink) (1 - K) gives 21.17, 179.12, 31.77, where whole
// percents would give 22, 181, 33).
TEST(PaletteFormats, AseReadsVendorFilesEmptyGroupsVersionZeroPointOneAndCmykFractions)
{
    Ase file;
    file.block(0xC001, "");
    file.block(0x0001, be16(0) + "RGB " + f32(0) + f32(0) + f32(1) + be16(2));
    file.color("Brand green", "CMYK", {0.8824f, 0.0049f, 0.8235f, 0.2941f});
    file.block(0xC002, "");
    for (const unsigned minor : {0u, 1u}) {
        Ase copy = file;
        copy.bytes.replace(4, 4, be16(1 - minor) + be16(minor));
        const auto result = readAse(copy.bytes);
        ASSERT_FALSE(result.fault) << result.fault->reason;
        EXPECT_EQ(result.title, "");
        EXPECT_EQ(colorsOf(result), (std::vector<ColorValue>{RGB(0, 0, 255), RGB(21, 179, 32)}));
        EXPECT_EQ(result.colors[0].name, "");
    }
    for (const std::string& version : {be16(2) + be16(0), be16(0) + be16(2), be16(0) + be16(0)}) {
        Ase copy = file;
        copy.bytes.replace(4, 4, version);
        ASSERT_TRUE(readAse(copy.bytes).fault);
        EXPECT_EQ(readAse(copy.bytes).fault->offset, 4u);
    }
}

// Photoshop swatches: a color entry of the given space and words.
std::string acoEntry(unsigned space, std::array<unsigned, 4> w)
{
    return be16(space) + be16(w[0]) + be16(w[1]) + be16(w[2]) + be16(w[3]);
}

const std::vector<std::string> acoEntries{
    acoEntry(0, {65535, 32896, 0, 0}),     // RGB
    acoEntry(1, {21845, 65535, 65535, 0}), // HSB: 120 degrees, full
    acoEntry(2, {65535, 0, 0, 65535}),     // CMYK, 65535 for no ink: process red
    acoEntry(7, {5000, 0, 0, 0}),          // Lab L 50
    acoEntry(8, {2500, 0, 0, 0}),          // 25 % gray ink
    acoEntry(3, {1, 2, 3, 4}),             // a color book: not supported
};
const std::vector<ColorValue> acoColors{RGB(255, 128, 0), RGB(0, 255, 0), RGB(255, 0, 0),
                                        RGB(119, 119, 119), RGB(191, 191, 191)};

TEST(PaletteFormats, AcoReadsVersionOneAndTheNamedVersionTwoAfterIt)
{
    std::string v1 = be16(1) + be16(6), v2 = be16(2) + be16(6);
    for (std::size_t i = 0; i < acoEntries.size(); ++i) {
        v1 += acoEntries[i];
        v2 += acoEntries[i] + be32(3) + utf16("C" + std::to_string(i));
    }
    const auto first = readAco(v1);
    ASSERT_FALSE(first.fault);
    EXPECT_EQ(colorsOf(first), acoColors);
    EXPECT_EQ(skippedAt(first), (std::vector<std::uint64_t>{4 + 5 * 10}));

    const auto both = readAco(v1 + v2);
    ASSERT_FALSE(both.fault);
    EXPECT_EQ(colorsOf(both), acoColors);
    EXPECT_EQ(both.colors[4].name, "C4");
    EXPECT_EQ(skippedAt(both), (std::vector<std::uint64_t>{v1.size() + 4 + 5 * 20}));
    // Version 2 alone is read too.
    const auto second = readAco(v2);
    ASSERT_FALSE(second.fault);
    EXPECT_EQ(colorsOf(second), acoColors);
}

struct FaultCase {
    const char* name;
    std::string bytes;
    PaletteReadResult (*read)(std::string_view);
    std::uint64_t offset;
};

std::vector<FaultCase> faultCases()
{
    Ase two;
    two.color("A", "RGB ", {0, 0, 0});
    const std::uint64_t second = two.bytes.size();
    Ase truncated = two;
    truncated.bytes.replace(8, 4, be32(2));
    truncated.bytes += be16(1) + be16(0); // half a header, yet the file holds room for a block
    Ase pastEnd = two;
    pastEnd.block(0x0001, "");
    pastEnd.bytes.replace(second + 2, 4, be32(400));
    Ase longName;
    longName.block(0x0001, be16(100) + utf16("A"));
    Ase shortValues;
    shortValues.block(0x0001, Ase::name("A") + "RGB " + f32(1) + f32(1));
    const std::string aco =
        be16(1) + be16(2) + acoEntry(0, {0, 0, 0, 0}) + acoEntry(0, {1, 1, 1, 1});
    return {{"png as ase", "\x89PNG\r\n\x1a\n....", readAse, 0},
            {"ase ends inside a block header", truncated.bytes, readAse, second},
            {"ase block length past the end", pastEnd.bytes, readAse, second},
            {"ase name length beyond its block", longName.bytes, readAse, 12},
            {"ase values cut short", shortValues.bytes, readAse, 12},
            {"gpl without its first line", "Name: x\n1 2 3\n", readGpl, 0},
            {"gpl with a NUL byte", std::string("GIMP Palette\n1 2\0 3\n", 20), readGpl, 16},
            {"aco of version 3", be16(3) + be16(0), readAco, 0},
            {"aco cut inside a color", aco.substr(0, aco.size() - 1), readAco, 14},
            {"aco name length past the end",
             aco + be16(2) + be16(1) + acoEntry(0, {0, 0, 0, 0}) + be32(9) + utf16("ab"), readAco,
             aco.size() + 4}};
}

TEST(PaletteFormats, StructuralFaultsStopTheReadingAtTheirOffset)
{
    for (const auto& c : faultCases()) {
        const auto result = c.read(c.bytes);
        ASSERT_TRUE(result.fault) << c.name;
        EXPECT_EQ(result.fault->offset, c.offset) << c.name << ": " << result.fault->reason;
        EXPECT_TRUE(result.colors.empty() && result.skipped.empty()) << c.name;
    }
}

TEST(PaletteFormats, TextReadsOneColorPerLineAndSkipsTheRest)
{
    const auto result = readTxt("// brand\r\n#FF0000\r\n\r\n; note\r\n  #00ff00  \r\nbanana\r\n");
    EXPECT_EQ(colorsOf(result), (std::vector<ColorValue>{RGB(255, 0, 0), RGB(0, 255, 0)}));
    EXPECT_EQ(skippedAt(result), (std::vector<std::uint64_t>{6}));
}

TEST(PaletteFormats, CssAndDesignTokensNameEachColorAfterThePalette)
{
    const std::vector<ColorValue> colors{RGB(255, 128, 0), RGB(0, 0, 0)};
    EXPECT_EQ(writePalette(PaletteFormat::Css, "  My Colors! v2.", colors),
              ":root {\n  --my-colors-v2-1: #ff8000;\n  --my-colors-v2-2: #000000;\n}\n");
    EXPECT_EQ(writePalette(PaletteFormat::Json, "Web \"safe\"", {RGB(255, 51, 0)}),
              "{\n  \"Web \\\"safe\\\"\": {\n    \"web-safe-1\": {\n"
              "      \"$type\": \"color\",\n      \"$value\": {\n"
              "        \"colorSpace\": \"srgb\",\n        \"components\": [1, 0.2, 0],\n"
              "        \"hex\": \"#ff3300\"\n      }\n    }\n  }\n}\n");
    // A group name may not start with "$" nor hold "{", "}" or ".".
    EXPECT_EQ(writePalette(PaletteFormat::Json, "$$a{b}.c", {RGB(0, 0, 0)}).substr(0, 14),
              "{\n  \"a-b--c\": ");
}

using PaletteExchangeTest = TempFolderTest;

TEST_F(PaletteExchangeTest, EveryFactoryPaletteComesBackExactlyThroughGplAseAndText)
{
    fs::copy(HUEBENCH_FACTORY_DATA, folder(), fs::copy_options::recursive);
    PaletteStore store(folder());
    const auto factory = store.ReadChartIndex();
    for (const auto format : {PaletteFormat::Gpl, PaletteFormat::Ase, PaletteFormat::Txt}) {
        for (const auto& entry : factory) {
            const fs::path file = folder() / ("exported" + std::to_string(int(format)) + ".x");
            writeFile(file.filename().string(), store.ExportPalette(entry, format));
            const auto result = readPaletteFile(file);
            if (store.CountColorRecords(entry.file) == 0) {
                // An empty palette makes a file that imports nothing, and adds nothing.
                EXPECT_EQ(result.fault->kind, FaultKind::NoColor) << entry.file;
                continue;
            }
            ASSERT_FALSE(result.fault) << entry.file;
            if (format == PaletteFormat::Gpl) {
                EXPECT_EQ(result.title, entry.title);
            }
            EXPECT_TRUE(result.skipped.empty()) << entry.file;
            const std::string imported = store.ImportPalette(entry.title, colorsOf(result));
            EXPECT_EQ(readFile(imported), readFile(entry.file)) << entry.file << " " << int(format);
        }
    }
    // A blank title gets a name; an import is a user palette at the end of the index.
    const std::string file = store.ImportPalette(" ", {RGB(1, 2, 3), RGB(4, 5, 6)});
    const auto after = store.ReadChartIndex();
    EXPECT_EQ(after.back().file + " " + after.back().title, file + " Imported palette");
    EXPECT_EQ(kindOf(after.back()), ChartKind::User);
    EXPECT_EQ(store.ReadDisplayOrder(file), (std::vector<ColorValue>{RGB(1, 2, 3), RGB(4, 5, 6)}));
}

TEST_F(PaletteExchangeTest, FilesOverTheLimitsAreRefused)
{
    writeFile("big.gpl", "GIMP Palette\n");
    fs::resize_file(folder() / "big.gpl", maxPaletteFileBytes + 1);
    const auto big = readPaletteFile(folder() / "big.gpl");
    ASSERT_TRUE(big.fault);
    EXPECT_EQ(big.fault->reason, "the file is larger than 64 MiB");

    std::string many = "GIMP Palette\n";
    for (std::size_t i = 0; i <= maxPaletteColors; ++i)
        many += "1 2 3\n";
    ASSERT_TRUE(readGpl(many).fault);
    EXPECT_FALSE(readGpl(many.substr(0, many.size() - 6)).fault);
}

TEST_F(PaletteExchangeTest, TitleFallsBackToTheFileNameAndExtensionsDecideTheReader)
{
    writeFile("Old Style.GPL", "GIMP Palette\n1 2 3\n");
    writeFile("palette.ase", "GIMP Palette\n1 2 3\n");
    writeFile("sniffed.colors", "GIMP Palette\nName: Sniffed\n1 2 3\n");
    EXPECT_EQ(readPaletteFile(folder() / "Old Style.GPL").title, "Old Style");
    EXPECT_EQ(readPaletteFile(folder() / "palette.ase").fault->offset, 0u);
    EXPECT_EQ(readPaletteFile(folder() / "sniffed.colors").title, "Sniffed");
    // The export-only forms are never read, whatever the file holds.
    for (const char* name : {"tokens.json", "vars.css"}) {
        writeFile(name, "GIMP Palette\n1 2 3\n");
        EXPECT_TRUE(readPaletteFile(folder() / name).fault) << name;
    }
    EXPECT_THROW(readPaletteFile(folder() / "missing.gpl"), std::runtime_error);
}

// Files that import nothing, each refused with what happened in plain words first.
TEST_F(PaletteExchangeTest, RefusalsSayFirstWhatHappenedInPlainWords)
{
    Ase cut;
    cut.color("A", "RGB ", {0, 0, 0});
    cut.bytes.replace(8, 4, be32(29));
    Ase old;
    old.bytes.replace(4, 2, be16(2));
    Ase damaged;
    damaged.block(0xC001, be16(100) + utf16("Group"));
    const struct {
        const char* name;
        std::string bytes;
        const char* first; // the message's first line, after "Nothing was imported from NAME: "
    } cases[] = {
        {"cafe.ase", cut.bytes, "it ends before its last color."},
        {"head.ase", "ASEF", "it ends before its last color."},
        {"cut.aco", be16(1) + be16(2) + acoEntry(0, {0, 0, 0, 0}),
         "it ends before its last color."},
        {"old.ase", old.bytes,
         "its version of the Adobe swatch exchange format is not one that Hue Bench reads."},
        {"group.ase", damaged.bytes, "it is damaged inside."},
        {"empty.gpl", "", "the file is empty."},
        {"empty.txt", "", "the file is empty."},
        {"header.gpl", "GIMP Palette\nName: None\n", "it holds no color that Hue Bench can read."},
        {"notes.txt", "hello\nworld\n", "it holds no color that Hue Bench can read."},
        {"renamed.txt", "GIMP Palette\n255 0 0 Red\n",
         "it holds no color that Hue Bench can read; it looks like a GIMP palette."},
        {"swatches.gpl", cut.bytes,
         "it is not a GIMP palette; it looks like an Adobe swatch exchange file."},
        {"swatches.aco", "GIMP Palette\n1 2 3\n",
         "it is not a Photoshop swatches file; it looks "
         "like a GIMP palette."},
        {"vars.css", ":root { --a: #000; }", "palettes are not imported from CSS files."},
        {"image.bin", std::string("\x89PNG\0\0", 6),
         "it is not a palette file that Hue Bench knows."},
    };
    for (const auto& c : cases) {
        writeFile(c.name, c.bytes);
        const auto result = readPaletteFile(folder() / c.name);
        ASSERT_TRUE(result.fault) << c.name;
        const std::string message = faultMessage(folder() / c.name, *result.fault, "\n");
        EXPECT_EQ(message.substr(0, message.find('\n')),
                  "Nothing was imported from " + std::string(c.name) + ": " + c.first);
    }
    fs::create_directory(folder() / "folder.gpl");
    EXPECT_EQ(faultMessage("folder.gpl", *readPaletteFile(folder() / "folder.gpl").fault),
              "Nothing was imported from folder.gpl: it is a folder or a device, not a file. "
              "(not a regular file)");
    EXPECT_EQ(faultMessage("cafe.ase", *readPaletteFile(folder() / "cafe.ase").fault),
              "Nothing was imported from cafe.ase: it ends before its last color. (block count "
              "29 is more than the file holds at offset 8)");
}

TEST(PaletteFormats, SummaryListsTheFirstTenSkippedPlaces)
{
    PaletteReadResult result;
    result.colors.resize(1);
    for (std::uint64_t line = 1; line <= 12; ++line)
        result.skipped.push_back({line * 2, "value over 255"});
    const std::string summary = importSummary(result, "Sunset");
    EXPECT_EQ(summary.substr(0, summary.find("line 4")),
              "1 color imported into \"Sunset\".\n12 lines skipped:\nline 2: value over 255\n");
    EXPECT_NE(summary.find("line 20: value over 255\nand 2 more."), std::string::npos);
}

} // namespace
