// Every rewrite of a palette or scheme file, stopped before each file step in turn (all of them
// run through the test hook of storage/AtomicFile) or failing at it: the files are then old or
// new, a failure is reported or harmless, and the next operation tidies up what was left.

#include "palette/PaletteStore.h"
#include "storage/AtomicFile.h"
#include "web/SchemeStore.h"

#include "TempFolder.h"

#include <functional>
#include <map>
#include <optional>

namespace fs = std::filesystem;

namespace
{

using Files = std::map<std::string, std::optional<std::string>>;
using Action = std::function<void(const fs::path&)>;

// The files a rewrite touches, how they read back, and the next operation a user would run.
struct Target {
    std::function<std::string(const fs::path&)> view;
    Action next;
    std::vector<std::string> files; // compared as old or new
    std::vector<std::string> temps; // gone after the next operation
};

struct RewriteCase {
    std::string name;
    Files before;
    Action rewrite;
    Target target;
};

std::optional<std::string> read(const fs::path& file)
{
    return fs::exists(file) ? std::optional(readBytes(file)) : std::nullopt;
}

std::string repeat(int count, const std::function<std::string(int)>& piece)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += piece(i);
    return text;
}

std::string indexText(int entries, const std::string& between = "")
{
    return repeat(entries, [&](int i) {
        return "c" + std::to_string(i + 1) + ".rgb\r\n" + between + "Palette\r\n1\r\n";
    });
}

// Records of 20 distinct colors over and over: duplicates everywhere.
std::string palette(int records)
{
    return repeat(records, [](int i) { return "A0B0" + std::to_string(10 + i % 20); });
}

std::string schemeNames(int count)
{
    return repeat(count, [](int i) { return "\"Scheme " + std::to_string(i) + ", \"q\"\"\r\n"; });
}

std::string schemeRecords(int count)
{
    return repeat(count * 6, [](int field) { return hex6(0x100000 + field); });
}

std::string schemeView(const fs::path& folder)
{
    const SchemeStore store(folder);
    std::string seen;
    const auto names = store.ReadNames();
    for (std::size_t i = 0; i < names.size(); ++i)
        seen += names[i] + "=" + schemeRecord(store.ReadScheme(static_cast<int>(i))) + "\n";
    return seen;
}

template <typename Store> Action on(std::function<void(Store&)> change)
{
    return [change](const fs::path& f) {
        Store store(f);
        change(store);
    };
}

// Every rewrite, on data of `scale` (1: a few records; larger: files read and written in pieces).
std::vector<RewriteCase> rewriteCases(int scale)
{
    const Action repair = [](const fs::path& f) { PaletteStore(f).RepairFile(); };
    const Action start = [](const fs::path& f) { SchemeStore(f).ensureSchemes(); };
    auto fileView = [](std::string name) {
        return [name](const fs::path& f) { return read(f / name).value_or("<none>"); };
    };
    const Target paletteFile{fileView("p.rgb"),
                             [](const fs::path& f) { PaletteStore(f).CountColorRecords("p.rgb"); },
                             {"p.rgb"},
                             {"p.rgb.ctm", "p.rgb.tmp"}};
    const Target index{fileView("colorchart.cci"), repair, {"colorchart.cci"}, {"colorchart.cct"}};
    const Target schemeFiles{
        schemeView, start, {"set.hcs", "colorset.dat"}, {"set.hct", "colorset.dam"}};
    auto onPalette = [&](std::string name, std::string bytes, auto change) {
        return RewriteCase{name, {{"p.rgb", bytes}}, on<PaletteStore>(change), paletteFile};
    };
    auto onIndex = [&](std::string name, Files before, auto change) {
        return RewriteCase{name, before, on<PaletteStore>(change), index};
    };
    auto onSchemes = [&](std::string name, Files before, auto change) {
        return RewriteCase{name, before, on<SchemeStore>(change), schemeFiles};
    };
    // Every scheme read loads the whole record file, so the scheme cases grow more slowly.
    const int records = 300 * scale, entries = 30 * scale, schemes = 20 + 4 * scale;
    const Files schemesBefore{{"set.hcs", schemeNames(schemes)},
                              {"colorset.dat", schemeRecords(schemes)}};
    const WebColorScheme added{0x010203, 0x040506, 0x070809, 0x0A0B0C, 0x0D0E0F, 0x101112};

    std::vector<RewriteCase> cases;
    for (const int at : {0, 1, 2}) {
        const int n = at == 0 ? 1 : at == 1 ? records / 2 : records;
        cases.push_back(onPalette("DeleteColorRecord " + std::to_string(n), palette(records) + "12",
                                  [=](auto& p) { p.DeleteColorRecord("p.rgb", n, records); }));
        const int entry = at == 0 ? 1 : at == 1 ? entries / 2 : entries;
        cases.push_back(onIndex("DeleteChart " + std::to_string(entry),
                                {{"colorchart.cci", indexText(entries)}},
                                [=](auto& p) { p.DeleteChart(entry); }));
        const int scheme = at == 0 ? 0 : at == 1 ? schemes / 2 : schemes - 1;
        cases.push_back(onSchemes("scheme Delete " + std::to_string(scheme), schemesBefore,
                                  [=](auto& s) { s.Delete(scheme); }));
    }
    cases.push_back(onPalette("DeleteColorRecord of the only record", "123456",
                              [](auto& p) { p.DeleteColorRecord("p.rgb", 1, 1); }));
    cases.push_back(onPalette("RemoveDuplicateRecords", palette(records),
                              [=](auto& p) { p.RemoveDuplicateRecords("p.rgb", records); }));
    cases.push_back(onPalette("AppendColorRecord behind a part record", palette(3) + "AB",
                              [](auto& p) { p.AppendColorRecord("p.rgb", "#1A2B3C"); }));
    cases.push_back(
        onPalette("ClearChartFile", palette(10), [](auto& p) { p.ClearChartFile("p.rgb"); }));
    cases.back().target.next = [](const fs::path& f) {
        PaletteStore(f).ReadColorRecord("p.rgb", 1);
    };
    cases.push_back(onPalette("DeleteColorRecord over stale temporaries", palette(records),
                              [=](auto& p) { p.DeleteColorRecord("p.rgb", 2, records); }));
    cases.back().before["p.rgb.ctm"] = palette(3 * records);
    cases.back().before["p.rgb.tmp"] = "x";
    cases.push_back(onIndex("RepairFile", {{"colorchart.cci", indexText(entries, "\r\n")}},
                            [](auto& p) { p.RepairFile(); }));
    cases.push_back(onIndex("RepairFile of a lost index",
                            {{"c12.rgb", ""}, {"colorchart.cct", "half an ind"}},
                            [](auto& p) { p.RepairFile(); }));
    cases.push_back(onIndex("AppendChartEntry before a part entry",
                            {{"colorchart.cci", indexText(entries) + "c9.rgb\r\nNine"}},
                            [](auto& p) { p.AppendChartEntry("c10.rgb", "Ten"); }));
    // A new palette is listed only once its color file is whole.
    cases.push_back(
        onIndex("ImportPalette", {{"colorchart.cci", indexText(entries)}}, [=](auto& p) {
            p.ImportPalette("Imported", std::vector<bascommon::ColorValue>(records, 0x123456));
        }));
    const std::string imported = "c" + std::to_string(entries + 1) + ".rgb";
    cases.back().target = {[](const fs::path& f) {
                               std::string seen;
                               for (const auto& entry : PaletteStore(f).ReadChartIndex())
                                   seen +=
                                       entry.file + " " + read(f / entry.file).value_or("-") + "\n";
                               return seen;
                           },
                           [=](const fs::path& f) { PaletteStore(f).CountColorRecords(imported); },
                           {"colorchart.cci"},
                           {imported + ".ctm", "colorchart.cct"}};
    cases.push_back(onSchemes("scheme Append over the leftovers of an interrupted one",
                              {{"set.hcs", schemeNames(schemes)},
                               {"colorset.dat", schemeRecords(schemes + 1)},
                               {"set.hct", schemeNames(2)}},
                              [added](auto& s) { s.Append("Added \"one\"", added); }));
    cases.push_back(onSchemes("scheme start with an empty name file",
                              {{"set.hcs", ""}, {"colorset.dat", schemeRecords(2)}},
                              [](auto& s) { s.ensureSchemes(); }));
    return cases;
}

// The hook sees no context: the test in progress is reached through this.
std::function<int(const char*)> onStep;

int hook(const char* step, const fs::path&)
{
    return onStep ? onStep(step) : 0;
}

class CrashConsistencyTest : public TempFolderTest
{
protected:
    void TearDown() override
    {
        fileStepHook = nullptr;
        onStep = nullptr;
        fs::remove_all(base());
        TempFolderTest::TearDown();
    }

    // In memory where possible: the checks sync files thousands of times.
    fs::path base() const
    {
        return fs::is_directory("/dev/shm") ? "/dev/shm" / folder().filename() : folder();
    }
    fs::path live() const { return base() / "live"; }
    fs::path copy() const { return base() / "copy"; }

    static void reset(const RewriteCase& c, const fs::path& at)
    {
        fs::remove_all(at);
        fs::create_directories(at);
        for (const auto& [name, bytes] : c.before)
            std::ofstream(at / name, std::ios::binary) << *bytes;
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

    static Files snapshot(const RewriteCase& c, const fs::path& at)
    {
        Files files;
        for (const auto& name : c.target.files)
            files[name] = read(at / name);
        return files;
    }

    // What the program reads before and after an undisturbed run, and the files after next runs.
    struct Reference {
        std::string viewBefore, viewAfter;
        Files before, after;
    };

    Reference reference(const RewriteCase& c) const
    {
        Reference r;
        reset(c, live());
        r.viewBefore = c.target.view(live());
        c.target.next(live());
        r.before = snapshot(c, live());
        reset(c, live());
        c.rewrite(live());
        r.viewAfter = c.target.view(live());
        c.target.next(live());
        r.after = snapshot(c, live());
        EXPECT_NE(r.viewAfter, r.viewBefore) << c.name << " changes nothing";
        return r;
    }

    // The next operation leaves the files old or new and no temporary behind.
    static void expectNextRunTidiesUp(const RewriteCase& c, const Reference& r, const fs::path& at,
                                      const std::string& where)
    {
        c.target.next(at);
        const Files now = snapshot(c, at);
        EXPECT_TRUE(now == r.before || now == r.after) << c.name << ", " << where;
        for (const auto& temp : c.target.temps)
            EXPECT_FALSE(fs::exists(at / temp)) << c.name << ", " << where << ": " << temp;
    }

    // The files in `at` as a stop before step `step` left them, then after the next operation.
    static void expectOldOrNew(const RewriteCase& c, const Reference& r, const fs::path& at,
                               int step)
    {
        const std::string seen = c.target.view(at);
        EXPECT_TRUE(seen == r.viewBefore || seen == r.viewAfter)
            << c.name << ": stopped before step " << step << " the program reads neither";
        expectNextRunTidiesUp(c, r, at, "stopped before step " + std::to_string(step));
    }
};

} // namespace

TEST_F(CrashConsistencyTest, StoppedBeforeAnyFileStepTheFilesAreOldOrNewAndTheNextRunTidiesUp)
{
    int points = 0;
    for (const int scale : {1, 40}) {
        for (const auto& c : rewriteCases(scale)) {
            const Reference r = reference(c);
            reset(c, live());
            std::optional<Files> last;
            int step = 0;
            onStep = [&](const char*) {
                ++step;
                // Most steps change nothing on disk: a state already checked is not checked again.
                Files now = folderState(live());
                if (std::exchange(last, now) == now)
                    return 0;
                ++points;
                fs::remove_all(copy());
                fs::copy(live(), copy(), fs::copy_options::recursive);
                fileStepHook = nullptr;
                expectOldOrNew(c, r, copy(), step);
                fileStepHook = hook;
                return 0;
            };
            fileStepHook = hook;
            c.rewrite(live());
            fileStepHook = nullptr;
            expectOldOrNew(c, r, live(), step + 1);
            if (HasFailure())
                return;
        }
    }
    RecordProperty("crash_points", points);
    EXPECT_GE(points, 60);
}

TEST_F(CrashConsistencyTest, EachFailingFileStepIsReportedOrHarmlessAndLosesNothing)
{
    int failures = 0;
    for (const auto& c : rewriteCases(1)) {
        const Reference r = reference(c);
        for (int at = 1;; ++at) {
            reset(c, live());
            int step = 0;
            onStep = [&](const char*) { return ++step == at ? (at % 2 ? EIO : ENOSPC) : 0; };
            fileStepHook = hook;
            std::optional<std::string> error;
            try {
                c.rewrite(live());
            } catch (const std::exception& e) {
                error = e.what();
            }
            fileStepHook = nullptr;
            if (step < at)
                break;
            ++failures;
            const std::string seen = c.target.view(live());
            if (error) {
                EXPECT_NE(error->find(live().string()), std::string::npos) << c.name << *error;
                EXPECT_EQ(seen, r.viewBefore) << c.name << ": failed at step " << at << " ("
                                              << *error << ") but changed the files";
            } else {
                EXPECT_EQ(seen, r.viewAfter)
                    << c.name << ": failing step " << at << " was reported as success";
            }
            expectNextRunTidiesUp(c, r, live(), "failed step " + std::to_string(at));
            if (HasFailure())
                return;
        }
    }
    RecordProperty("failed_steps", failures);
}
