// Data folders as people leave them. The program reads what it can; an operation that cannot do
// its work names the file that stopped it and changes nothing.

#include "storage/FolderLock.h"
#include "palette/PaletteStore.h"
#include "web/SchemeStore.h"

#include "TempFolder.h"

#include <array>
#include <functional>
#include <stdexcept>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{

const std::string threeEntries = "mycolor.rgb\r\nMine\r\n0\r\nrecent.rgb\r\nRecent\r\n2\r\n"
                                 "c1.rgb\r\nOne\r\n1\r\n";
const WebColorScheme someScheme{0x010203, 0x040506, 0x070809, 0x0A0B0C, 0x0D0E0F, 0x101112};

using HostileFolderTest = TempFolderTest;

} // namespace

TEST_F(HostileFolderTest, AFolderInPlaceOfADataFileIsReportedAndNothingIsRebuiltOverIt)
{
    // Unreadable even for root: opening works, reading fails. Nothing may write defaults over it.
    for (const char* name : {"colorchart.cci", "c1.rgb", "set.hcs", "colorset.dat"})
        fs::create_directories(folder() / name / "inside");
    expectThrowNaming([&] { palettes().RepairFile(); }, "colorchart.cci");
    expectThrowNaming([&] { palettes().CountColorRecords("c1.rgb"); }, "c1.rgb");
    expectThrowNaming([&] { palettes().ReadColorRecord("c1.rgb", 1); }, "c1.rgb");
    expectThrowNaming([&] { palettes().RemoveDuplicateRecords("c1.rgb", 2); }, "c1.rgb");
    expectThrowNaming([&] { palettes().ClearChartFile("c1.rgb"); }, "c1.rgb");
    expectThrowNaming([&] { palettes().DeleteColorRecord("c1.rgb", 1, 1); }, "c1.rgb");
    expectThrowNaming([&] { (void)schemes().ReadNames(); }, "set.hcs");
    expectThrowNaming([&] { schemes().ensureSchemes(); }, "set.hcs");
    for (const char* name : {"colorchart.cci", "c1.rgb", "set.hcs", "colorset.dat"})
        EXPECT_TRUE(fs::exists(folder() / name / "inside")) << name;
    EXPECT_FALSE(exists("colorchart.cct"));
}

TEST_F(HostileFolderTest, AVanishedDataFolderFailsEveryWriteNamingTheFile)
{
    // Taken away while the program runs: reads find nothing, nothing is created elsewhere.
    const fs::path gone = folder() / "gone";
    fs::create_directory(gone);
    PaletteStore store(gone);
    SchemeStore saved(gone);
    fs::remove(gone);
    EXPECT_TRUE(store.ReadChartIndex().empty());
    EXPECT_EQ(store.ReadColorRecord("c1.rgb", 1), 0xFFFFFF);
    EXPECT_TRUE(saved.ReadNames().empty());
    expectThrowNaming([&] { store.AppendColorRecord("c1.rgb", "#000000"); }, "gone/c1.rgb");
    expectThrowNaming([&] { store.AppendChartEntry("c2.rgb", "T"); }, "gone/colorchart.cc");
    expectThrowNaming([&] { saved.Append("X", someScheme); }, "gone/colorset.dam");
    EXPECT_FALSE(fs::exists(gone));

    // A file standing where the folder should be.
    writeFile("gone", "not a folder");
    expectThrowNaming([&] { store.AppendColorRecord("c1.rgb", "#000000"); }, "gone/c1.rgb");
    expectThrowNaming([&] { (void)store.ReadChartIndex(); }, "gone/colorchart.cci");
    expectThrowNaming([&] { saved.Append("X", someScheme); }, "gone/");
    EXPECT_EQ(readFile("gone"), "not a folder");
}

TEST_F(HostileFolderTest, HugePaletteIsCountedPagedAndExtendedWithoutReadingIt)
{
    // A sparse file of over 2 GB of zero bytes, then three records and a part record.
    const std::uint64_t zeroRecords = 357913942; // 2 GiB + 4 bytes
    const int count = static_cast<int>(zeroRecords) + 3;
    writeFile("big.rgb", "");
    fs::resize_file(folder() / "big.rgb", zeroRecords * 6);
    std::ofstream(folder() / "big.rgb", std::ios::binary | std::ios::app) << "1A2B3Cffffff000001AB";
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    PaletteStore store = palettes();
    EXPECT_EQ(store.CountColorRecords("big.rgb"), count);
    const auto page = store.ReadColorRecordsDown("big.rgb", count, 216);
    ASSERT_EQ(page.size(), 216u);
    // Zero bytes are no color.
    EXPECT_EQ(std::vector(page.begin(), page.begin() + 4),
              (std::vector<bascommon::ColorValue>{0x010000, 0xFFFFFF, 0x3C2B1A, 0xFFFFFF}));
    store.AppendColorRecord("big.rgb", "#0A0B0C");
    EXPECT_EQ(fs::file_size(folder() / "big.rgb"), (zeroRecords + 4) * 6);
    EXPECT_EQ(store.CountColorRecords("big.rgb"), count + 1);
    EXPECT_EQ(store.ReadColorRecord("big.rgb", count + 1), 0x0C0B0A);
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 64 * 1024) << "kB: the file was read whole";
}

TEST_F(HostileFolderTest, NamesOfAnyBytesAreKeptByteForByte)
{
    // Only a line break cannot be part of a name or title (it becomes a space).
    const std::string latin1File = "c\xE9\x01.rgb";
    const std::string title = "Farben \xC3\xA4\xC3\xB6 \x07\x1B[31m \"q\", \xFF\t end";
    writeFile("colorchart.cci", threeEntries);
    palettes().AppendChartEntry(latin1File, title + "\r\nline two");
    const auto entries = palettes().ReadChartIndex();
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries.back().file, latin1File);
    EXPECT_EQ(entries.back().title, title + "  line two");
    palettes().AppendColorRecord(latin1File, "#123456");
    EXPECT_EQ(palettes().ReadColorRecord(latin1File, 1), 0x563412);
    schemes().Append(title + "\r\nline two", someScheme);
    schemes().Append("\"", someScheme);
    EXPECT_EQ(schemes().ReadNames(), (std::vector<std::string>{title + "  line two", "\""}));

    // A NUL byte cannot be part of a file name: such a name is refused, nothing is created.
    const std::string withNul("c1\0.rgb", 7);
    expectThrowNaming([&] { palettes().CountColorRecords(withNul); }, "c1");
    EXPECT_FALSE(exists("c1"));
}

TEST_F(HostileFolderTest, AFileListedTwiceIsOnePaletteShownUnderBothEntries)
{
    // Deleting one entry keeps the other and the file (the caller deletes unlisted files).
    writeFile("colorchart.cci", threeEntries + "c1.rgb\r\nOne again\r\n1\r\n");
    palettes().AppendColorRecord("c1.rgb", "#ABCDEF");
    auto entries = palettes().ReadChartIndex();
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[2].file, entries[3].file);
    EXPECT_EQ(palettes().ReadColorRecord(entries[3].file, 1), 0xEFCDAB);
    palettes().DeleteChart(4);
    entries = palettes().ReadChartIndex();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[2].title, "One");
    EXPECT_EQ(palettes().CountColorRecords("c1.rgb"), 1);
    EXPECT_EQ(palettes().NewChartFileName(), "c2.rgb");
}

TEST_F(HostileFolderTest, TheProgramsOwnFilesAndNamesOutsideTheFolderAreNeverPalettes)
{
    writeFile("colorchart.cci", threeEntries);
    writeSchemes("\"A\"\r\n", std::string(36, 'B'));
    fs::create_directory(folder() / "sub");
    for (const std::string name :
         {"colorchart.cci", "colorchart.cct", "set.hcs", "set.hct", "colorset.dat", "colorset.dam",
          ".huebench.lock", "c1.rgb.ctm", "c1.rgb.tmp", "../outside.rgb", "/tmp/outside.rgb", "",
          "sub/x.rgb", ".."}) {
        expectThrowNaming([&] { palettes().CountColorRecords(name); }, name);
        expectThrowNaming([&] { palettes().ReadColorRecord(name, 1); }, name);
        expectThrowNaming([&] { palettes().RemoveDuplicateRecords(name, 2); }, name);
        expectThrowNaming([&] { palettes().ClearChartFile(name); }, name);
        expectThrowNaming([&] { palettes().AppendColorRecord(name, "#000000"); }, name);
        expectThrowNaming([&] { palettes().DeleteColorRecord(name, 1, 1); }, name);
        expectThrowNaming([&] { palettes().AppendChartEntry(name, "T"); }, name);
    }
    EXPECT_FALSE(fs::exists(folder().parent_path() / "outside.rgb"));
    EXPECT_TRUE(fs::is_empty(folder() / "sub"));
    EXPECT_EQ(readFile("colorchart.cci") + readFile("set.hcs") + readFile("colorset.dat"),
              threeEntries + "\"A\"\r\n" + std::string(36, 'B'));
}

TEST_F(HostileFolderTest, TwoCopiesWritingAtOnceLoseNothingOfEachOther)
{
    // One copy appends while the other rewrites the same files, deleting its own old entries:
    // at the end each file holds exactly the first copy's additions, in order.
    const int appends = 150, ownEntries = 50;
    // The palette, index and scheme names after `count` additions by copy `tag`.
    const auto added = [](char tag, int count, int listedEvery) {
        std::array<std::string, 3> files;
        for (int i = 0; i < count; ++i) {
            const std::string name = tag + std::to_string(i);
            files[0] += hex6((tag == 'a' ? 0xA00000 : 0xB00000) + i);
            if (i % listedEvery == 0) {
                files[1] += name + ".rgb\r\n" + name + "\r\n1\r\n";
                files[2] += "\"" + name + "\"\r\n";
            }
        }
        return files;
    };
    const auto own = added('b', ownEntries, 1);
    writeFile("p.rgb", own[0]);
    writeFile("colorchart.cci", own[1]);
    writeSchemes(own[2], std::string(36 * ownEntries, 'B'));

    // Each copy is a child process; both wait until the parent closes the pipe, then start.
    int go[2];
    ASSERT_EQ(::pipe(go), 0);
    const auto copy = [&](const std::function<void()>& work) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::close(go[1]);
            char start;
            int code = ::read(go[0], &start, 1) == 0 ? 0 : 3;
            try {
                work();
            } catch (const std::exception&) {
                code = 1;
            }
            ::_exit(code);
        }
        return pid;
    };
    const pid_t appender = copy([&] {
        PaletteStore store(folder());
        SchemeStore saved(folder());
        for (int i = 0; i < appends; ++i) {
            store.AppendColorRecord("p.rgb", "#" + hex6(0xA00000 + i));
            if (i % 3 == 0) {
                store.AppendChartEntry("a" + std::to_string(i) + ".rgb", "a" + std::to_string(i));
                saved.Append("a" + std::to_string(i), someScheme);
            }
        }
    });
    const pid_t rewriter = copy([&] {
        PaletteStore store(folder());
        SchemeStore saved(folder());
        for (int i = 0; i < ownEntries; ++i) {
            store.DeleteColorRecord("p.rgb", 1, store.CountColorRecords("p.rgb"));
            store.RemoveDuplicateRecords("p.rgb", store.CountColorRecords("p.rgb"));
            store.DeleteChart(1);
            store.RepairFile();
            saved.Delete(0);
        }
    });
    ::close(go[0]);
    ::close(go[1]);
    for (const pid_t pid : {appender, rewriter}) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << pid;
    }

    EXPECT_EQ((std::array{readFile("p.rgb"), readFile("colorchart.cci"), readFile("set.hcs")}),
              added('a', appends, 3));
    EXPECT_EQ(readFile("colorset.dat").size(), 36u * (appends / 3));
    for (const char* temp : {"p.rgb.ctm", "p.rgb.tmp", "colorchart.cct", "set.hct", "colorset.dam"})
        EXPECT_FALSE(exists(temp)) << temp;
}
