// Every rewrite of a palette or scheme file, interrupted before each of its file system calls in
// turn: the files must then hold the old or the new content, never a mix and never nothing; the
// next operation must finish or drop whatever the interruption left; and a file call that fails
// must be reported, leaving the old content, or be harmless.

#include "palette/PaletteStore.h"
#include "web/SchemeStore.h"

#include "SyscallTracer.h"
#include "TempFolder.h"

#include <map>
#include <optional>
#include <sstream>
#include <utility>

namespace fs = std::filesystem;

#if defined(__SANITIZE_ADDRESS__)
// Every interruption forks this process: a small quarantine of freed memory keeps it small and
// the forks quick.
extern "C" const char* __asan_default_options()
{
    return "quarantine_size_mb=16";
}
#endif

namespace
{

using Files = std::map<std::string, std::optional<std::string>>;

struct RewriteCase {
    std::string name;
    std::function<void(const fs::path&)> setUp;       // the files as they were before
    std::function<void(const fs::path&)> rewrite;     // the operation under test
    std::function<std::string(const fs::path&)> view; // what the program reads back
    std::function<void(const fs::path&)> next;        // the next operation a user would run
    std::vector<std::string> files;                   // compared as old or new
    std::vector<std::string> temps;                   // gone after the next operation
};

void write(const fs::path& file, const std::string& bytes)
{
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

std::optional<std::string> read(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary | std::ios::ate);
    if (!in)
        return std::nullopt;
    std::string bytes(static_cast<std::size_t>(in.tellg()), '\0');
    in.seekg(0).read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

// Index entries c<first>.rgb ... c<last>.rgb, each with `between` after its file name line.
std::string index(int first, int last, const std::string& between = "")
{
    std::string text;
    for (int i = first; i <= last; ++i)
        text += "c" + std::to_string(i) + ".rgb\r\n" + between + "Palette " + std::to_string(i) +
                "\r\n1\r\n";
    return text;
}

// Records of 20 distinct colors over and over: duplicates everywhere.
std::string palette(int records)
{
    std::string bytes;
    for (int i = 0; i < records; ++i)
        bytes += "A0B0" + std::to_string(10 + i % 20);
    return bytes;
}

std::string schemeNames(int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "\"Scheme " + std::to_string(i) + ", \"quoted\"\"\r\n";
    return text;
}

std::string schemeRecords(int count)
{
    std::string text;
    for (int i = 0; i < count; ++i) {
        std::ostringstream record;
        for (int field = 0; field < 6; ++field)
            record << std::hex << std::uppercase << (0x100000 + i * 8 + field);
        text += record.str();
    }
    return text;
}

// The schemes as the program lists and loads them.
std::string schemeView(const fs::path& folder)
{
    const SchemeStore store(folder);
    std::string seen;
    const auto names = store.ReadNames();
    for (std::size_t i = 0; i < names.size(); ++i)
        seen += names[i] + "=" + schemeRecord(store.ReadScheme(static_cast<int>(i))) + "\n";
    return seen;
}

// Every rewrite, on data of `scale` (1: a few records; larger: files that are read and written
// in several pieces).
std::vector<RewriteCase> rewriteCases(int scale)
{
    auto count = [](const fs::path& f) { PaletteStore(f).CountColorRecords("p.rgb"); };
    auto repair = [](const fs::path& f) { PaletteStore(f).RepairFile(); };
    auto start = [](const fs::path& f) { SchemeStore(f).ensureSchemes(); };
    auto paletteFile = [](const fs::path& f) { return read(f / "p.rgb").value_or("<none>"); };
    auto indexFile = [](const fs::path& f) {
        return read(f / "colorchart.cci").value_or("<none>");
    };
    const std::vector<std::string> paletteTemps{"p.rgb.ctm", "p.rgb.tmp"};
    const std::vector<std::string> indexTemps{"colorchart.cct"};
    const std::vector<std::string> schemeFiles{"set.hcs", "colorset.dat"};
    const std::vector<std::string> schemeTemps{"set.hct", "colorset.dam"};
    // Every scheme read loads the whole record file, so the scheme cases grow more slowly.
    const int records = 300 * scale, entries = 30 * scale, schemes = 20 + 4 * scale;
    auto schemesOf = [](int n) {
        return [n](const fs::path& f) {
            write(f / "set.hcs", schemeNames(n));
            write(f / "colorset.dat", schemeRecords(n));
        };
    };
    const WebColorScheme added{0x010203, 0x040506, 0x070809, 0x0A0B0C, 0x0D0E0F, 0x101112};

    // The first, a middle and the last position; on the small data the middle one only.
    auto positions = [scale](int last) {
        return scale == 1 ? std::vector<int>{last / 2} : std::vector<int>{1, last / 2, last};
    };
    std::vector<RewriteCase> cases;
    for (const int n : positions(records)) {
        cases.push_back(
            {"DeleteColorRecord " + std::to_string(n),
             [=](const fs::path& f) { write(f / "p.rgb", palette(records) + "12"); },
             [=](const fs::path& f) { PaletteStore(f).DeleteColorRecord("p.rgb", n, records); },
             paletteFile,
             count,
             {"p.rgb"},
             paletteTemps});
    }
    cases.push_back({"DeleteColorRecord of the only record",
                     [](const fs::path& f) { write(f / "p.rgb", "123456"); },
                     [](const fs::path& f) { PaletteStore(f).DeleteColorRecord("p.rgb", 1, 1); },
                     paletteFile,
                     count,
                     {"p.rgb"},
                     paletteTemps});
    cases.push_back(
        {"DeleteColorRecord over stale temporaries",
         [=](const fs::path& f) {
             write(f / "p.rgb", palette(records));
             write(f / "p.rgb.ctm", palette(3 * records));
             write(f / "p.rgb.tmp", "x");
         },
         [=](const fs::path& f) { PaletteStore(f).DeleteColorRecord("p.rgb", 2, records); },
         paletteFile,
         count,
         {"p.rgb"},
         paletteTemps});
    cases.push_back(
        {"RemoveDuplicateRecords",
         [=](const fs::path& f) { write(f / "p.rgb", palette(records)); },
         [=](const fs::path& f) { PaletteStore(f).RemoveDuplicateRecords("p.rgb", records); },
         paletteFile,
         count,
         {"p.rgb"},
         paletteTemps});
    cases.push_back(
        {"AppendColorRecord behind a part record",
         [](const fs::path& f) { write(f / "p.rgb", palette(3) + "AB"); },
         [](const fs::path& f) { PaletteStore(f).AppendColorRecord("p.rgb", "#1A2B3C"); },
         paletteFile,
         count,
         {"p.rgb"},
         paletteTemps});
    cases.push_back({"ClearChartFile",
                     [](const fs::path& f) { write(f / "p.rgb", palette(10)); },
                     [](const fs::path& f) { PaletteStore(f).ClearChartFile("p.rgb"); },
                     paletteFile,
                     [](const fs::path& f) { PaletteStore(f).ReadColorRecord("p.rgb", 1); },
                     {"p.rgb"},
                     paletteTemps});
    cases.push_back(
        {"RepairFile",
         [=](const fs::path& f) { write(f / "colorchart.cci", index(1, entries, "\r\n")); },
         repair,
         indexFile,
         repair,
         {"colorchart.cci"},
         indexTemps});
    cases.push_back({"RepairFile of a lost index",
                     [](const fs::path& f) {
                         write(f / "c12.rgb", "");
                         write(f / "colorchart.cct", "half an ind");
                     },
                     repair,
                     indexFile,
                     repair,
                     {"colorchart.cci"},
                     indexTemps});
    for (const int position : positions(entries)) {
        cases.push_back({"DeleteChart " + std::to_string(position),
                         [=](const fs::path& f) { write(f / "colorchart.cci", index(1, entries)); },
                         [=](const fs::path& f) { PaletteStore(f).DeleteChart(position); },
                         indexFile,
                         repair,
                         {"colorchart.cci"},
                         indexTemps});
    }
    cases.push_back({"AppendChartEntry before a part entry",
                     [=](const fs::path& f) {
                         write(f / "colorchart.cci", index(1, entries) + "c9.rgb\r\nNine");
                     },
                     [](const fs::path& f) { PaletteStore(f).AppendChartEntry("c10.rgb", "Ten"); },
                     indexFile,
                     repair,
                     {"colorchart.cci"},
                     indexTemps});
    // A new palette is listed only once its color file is whole.
    auto listed = [](const fs::path& f) {
        std::string seen;
        for (const auto& entry : PaletteStore(f).ReadChartIndex())
            seen += entry.file + " " + read(f / entry.file).value_or("<none>") + "\n";
        return seen;
    };
    const std::string imported = "c" + std::to_string(entries + 1) + ".rgb";
    cases.push_back({"ImportPalette",
                     [=](const fs::path& f) { write(f / "colorchart.cci", index(1, entries)); },
                     [=](const fs::path& f) {
                         PaletteStore(f).ImportPalette(
                             "Imported", std::vector<bascommon::ColorValue>(records, 0x123456));
                     },
                     listed,
                     [=](const fs::path& f) { PaletteStore(f).CountColorRecords(imported); },
                     {"colorchart.cci"},
                     {imported + ".ctm", "colorchart.cct"}});
    for (const int n : positions(schemes)) {
        cases.push_back({"scheme Delete " + std::to_string(n - 1), schemesOf(schemes),
                         [=](const fs::path& f) { SchemeStore(f).Delete(n - 1); }, schemeView,
                         start, schemeFiles, schemeTemps});
    }
    cases.push_back({"scheme Append", schemesOf(schemes),
                     [added](const fs::path& f) { SchemeStore(f).Append("Added \"one\"", added); },
                     schemeView, start, schemeFiles, schemeTemps});
    cases.push_back({"scheme Append over leftovers",
                     [=](const fs::path& f) {
                         write(f / "set.hcs", schemeNames(schemes));
                         write(f / "colorset.dat", schemeRecords(schemes + 1));
                         write(f / "set.hct", schemeNames(2));
                     },
                     [added](const fs::path& f) { SchemeStore(f).Append("Added", added); },
                     schemeView, start, schemeFiles, schemeTemps});
    cases.push_back({"scheme start with an empty name file",
                     [](const fs::path& f) {
                         write(f / "set.hcs", "");
                         write(f / "colorset.dat", schemeRecords(2));
                     },
                     start, schemeView, start, schemeFiles, schemeTemps});
    return cases;
}

class CrashConsistencyTest : public TempFolderTest
{
protected:
    // In memory where possible: a crash leaves the same files on any file system, and the
    // checks run thousands of file operations.
    void SetUp() override
    {
        TempFolderTest::SetUp();
        m_base = fs::is_directory("/dev/shm") ? "/dev/shm" / folder().filename() : folder();
        fs::create_directories(m_base);
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all(m_base, ignored);
        TempFolderTest::TearDown();
    }

    // The data folder the operation runs on, and where a copy of it is checked.
    fs::path live() const { return m_base / "live"; }
    fs::path copy() const { return m_base / "copy"; }

    static void reset(const RewriteCase& c, const fs::path& at)
    {
        fs::remove_all(at);
        fs::create_directories(at);
        c.setUp(at);
    }

    // Every file of the folder with its content: the whole state a crash leaves.
    static Files folderState(const fs::path& at)
    {
        Files files;
        for (const auto& item : fs::directory_iterator(at))
            files[item.path().filename().string()] =
                item.is_regular_file() ? read(item.path()) : std::nullopt;
        return files;
    }

    // The calls before which the folder differs from what it was before the previous call:
    // interruptions anywhere else leave a state that one of these leaves too.
    std::vector<int> callsBeforeNewStates(const RewriteCase& c) const
    {
        reset(c, live());
        std::vector<int> calls;
        std::optional<Files> last;
        TraceControl control;
        control.beforeEachCall = [&](int call, long) {
            Files now = folderState(live());
            if (now != last)
                calls.push_back(call);
            last = std::move(now);
        };
        EXPECT_EQ(runTraced([&] { c.rewrite(live()); }, control).ending, TracedRun::Finished);
        return calls;
    }

    static Files snapshot(const RewriteCase& c, const fs::path& at)
    {
        Files files;
        for (const auto& name : c.files)
            files[name] = read(at / name);
        return files;
    }

    // What the program reads before and after an undisturbed run, and the files after the
    // next operation in both cases.
    struct Reference {
        std::string viewBefore, viewAfter;
        Files before, after;
    };

    Reference reference(const RewriteCase& c) const
    {
        Reference r;
        reset(c, live());
        r.viewBefore = c.view(live());
        c.next(live());
        r.before = snapshot(c, live());
        reset(c, live());
        c.rewrite(live());
        r.viewAfter = c.view(live());
        c.next(live());
        r.after = snapshot(c, live());
        EXPECT_NE(r.viewAfter, r.viewBefore) << c.name << " changes nothing";
        return r;
    }

    // The files in `at` as an interruption before file call `call` left them.
    void expectOldOrNew(const RewriteCase& c, const Reference& r, const fs::path& at, int call)
    {
        const std::string seen = c.view(at);
        EXPECT_TRUE(seen == r.viewBefore || seen == r.viewAfter)
            << c.name << ": stopped before file call " << call
            << " the program reads neither the old nor the new content";
        c.next(at);
        const Files now = snapshot(c, at);
        EXPECT_TRUE(now == r.before || now == r.after)
            << c.name << ": after a stop before file call " << call
            << " and the next operation, the files are neither old nor new";
        for (const auto& temp : c.temps)
            EXPECT_FALSE(fs::exists(at / temp)) << c.name << ", call " << call << ": " << temp;
    }

private:
    fs::path m_base;
};

} // namespace

TEST_F(CrashConsistencyTest, StoppedBeforeAnyFileCallTheFilesAreOldOrNewAndTheNextRunTidiesUp)
{
    // While the rewrite stands still before a file call, a copy of the folder is exactly what a
    // crash at that point leaves (a killed process leaves the completed calls' effects only).
    int points = 0;
    for (const int scale : {1, 10, 40}) {
        for (const auto& c : rewriteCases(scale)) {
            const Reference r = reference(c);
            reset(c, live());
            TraceControl control;
            std::optional<Files> last;
            control.beforeEachCall = [&](int call, long) {
                ++points;
                // Most calls change nothing on disk: a state already checked is not checked again.
                Files now = folderState(live());
                if (std::exchange(last, now) == now)
                    return;
                fs::remove_all(copy());
                fs::copy(live(), copy(), fs::copy_options::recursive);
                expectOldOrNew(c, r, copy(), call);
            };
            const TracedRun run = runTraced([&] { c.rewrite(live()); }, control);
            ASSERT_EQ(run.ending, TracedRun::Finished) << c.name << ": " << run.message;
            if (HasFailure())
                return;
        }
    }
    RecordProperty("crash_points", points);
    EXPECT_GE(points, 1000);
}

TEST_F(CrashConsistencyTest, KilledInEachStateTheFilesPassThroughTheyAreOldOrNewAfterwards)
{
    int kills = 0;
    for (const auto& c : rewriteCases(1)) {
        const Reference r = reference(c);
        for (const int at : callsBeforeNewStates(c)) {
            reset(c, live());
            const TracedRun run =
                runTraced([&] { c.rewrite(live()); }, {at, TraceAction::Kill, 0, {}});
            ASSERT_EQ(run.ending, TracedRun::Killed) << c.name << ", call " << at;
            ++kills;
            expectOldOrNew(c, r, live(), at);
            if (HasFailure())
                return;
        }
    }
    RecordProperty("kills", kills);
}

TEST_F(CrashConsistencyTest, EachFailingFileCallIsReportedOrHarmlessAndLosesNothing)
{
    int failures = 0;
    for (const auto& c : rewriteCases(1)) {
        const Reference r = reference(c);
        auto check = [&](const TracedRun& run) {
            const int at = run.fileCalls;
            EXPECT_NE(run.ending, TracedRun::Crashed) << c.name << ": file call " << at;
            const std::string seen = c.view(live());
            if (run.ending == TracedRun::Threw) {
                EXPECT_NE(run.message.find(live().string()), std::string::npos)
                    << c.name << ", call " << at << ": " << run.message;
                EXPECT_EQ(seen, r.viewBefore) << c.name << ": failed at file call " << at << " ("
                                              << run.message << ") but changed the files";
            } else {
                EXPECT_EQ(seen, r.viewAfter)
                    << c.name << ": failing file call " << at << " (system call " << run.stoppedCall
                    << ") was reported as success";
            }
            c.next(live());
            const Files now = snapshot(c, live());
            EXPECT_TRUE(now == r.before || now == r.after) << c.name << ", call " << at;
            for (const auto& temp : c.temps)
                EXPECT_FALSE(fs::exists(live() / temp))
                    << c.name << ", call " << at << ": " << temp;
        };
        failures += failEachCallInTurn([&] { reset(c, live()); }, [&] { c.rewrite(live()); },
                                       [](int at) { return at % 2 ? EIO : ENOSPC; }, check);
        if (HasFailure())
            return;
    }
    RecordProperty("failed_calls", failures);
}
