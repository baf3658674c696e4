// The palette index as found on disk: repaired, read, extended and shortened.

#include "FuzzSupport.h"

#include "palette/PaletteStore.h"

#include <stdexcept>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    PaletteStore store(fuzz::fresh("colorchart.cci", fuzz::text(data, size)));
    store.RepairFile();
    for (const auto& entry : store.ReadChartIndex()) {
        try {
            store.CountColorRecords(entry.file);
        } catch (const std::runtime_error&) { // a name leading outside the folder
        }
    }
    store.AppendChartEntry(store.NewChartFileName(), "Fuzz\r\ntitle");
    store.DeleteChart(static_cast<int>(size % 7));
    return 0;
}
