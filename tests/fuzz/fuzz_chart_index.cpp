// The palette index as found on disk: repaired, read, extended and shortened. A repaired index
// holds every non-blank line of the original in order, each ended by CR LF; repairing twice
// changes nothing; names read from it never lead outside the data folder.

#include "FuzzSupport.h"

#include "palette/PaletteStore.h"
#include "storage/AtomicFile.h"
#include "storage/DataFolder.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>

namespace
{

bool blank(const std::string& line)
{
    return line.find_first_not_of(' ') == std::string::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string original = fuzz::text(data, size);
    PaletteStore store(fuzz::fresh("colorchart.cci", original));

    store.RepairFile();
    const std::string repaired = fuzz::readFile("colorchart.cci");
    FUZZ_CHECK(!repaired.empty() && repaired.ends_with("\r\n"));
    const auto lines = splitLines(repaired);
    FUZZ_CHECK(std::none_of(lines.begin(), lines.end(), blank));
    std::vector<std::string> kept = splitLines(original);
    std::erase_if(kept, blank);
    if (kept.size() >= 3)
        FUZZ_CHECK(lines == kept); // nothing lost, nothing added, order kept
    else
        FUZZ_CHECK(std::equal(kept.rbegin(), kept.rend(), lines.rbegin())); // rebuilt, kept last
    FUZZ_CHECK(!fuzz::exists("colorchart.cct"));

    store.RepairFile();
    FUZZ_CHECK(fuzz::readFile("colorchart.cci") == repaired);

    const auto entries = store.ReadChartIndex();
    FUZZ_CHECK(entries.size() == lines.size() / 3 && !entries.empty());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        FUZZ_CHECK(entries[i].file == lines[3 * i] && entries[i].title == lines[3 * i + 1]);
        const auto& file = entries[i].file;
        if (isPlainFileName(file)) {
            FUZZ_CHECK(dataFilePath(fuzz::folder(), file).parent_path() == fuzz::folder());
            continue;
        }
        try {
            store.CountColorRecords(file);
            FUZZ_CHECK(false); // a name leading outside the folder must be refused
        } catch (const std::runtime_error&) {
        }
    }

    // A new palette gets a name of its own, and the index keeps whole groups around it.
    const std::string name = store.NewChartFileName();
    for (const auto& entry : entries)
        FUZZ_CHECK(entry.file != name);
    store.AppendChartEntry(name, "Fuzz\r\ntitle");
    auto after = store.ReadChartIndex();
    FUZZ_CHECK(after.size() == entries.size() + 1);
    FUZZ_CHECK(after.back().file == name && after.back().title == "Fuzz  title");
    FUZZ_CHECK(kindOf(after.back()) == ChartKind::User);

    store.DeleteChart(static_cast<int>(after.size()));
    after = store.ReadChartIndex();
    FUZZ_CHECK(after.size() == entries.size());
    const int position = static_cast<int>(size % 7);
    store.DeleteChart(position);
    const bool removes = static_cast<std::size_t>(std::max(position, 1)) <= entries.size();
    FUZZ_CHECK(store.ReadChartIndex().size() == entries.size() - (removes ? 1 : 0));
    return 0;
}
