// Palettes in and out of the data folder in the formats of other programs.
#include "palette/PaletteStore.h"

#include "storage/AtomicFile.h"
#include "storage/DataFiles.h"
#include "storage/FolderLock.h"

#include <algorithm>
#include <stdexcept>

namespace fs = std::filesystem;
using bascommon::ColorValue;

std::string PaletteStore::ImportPalette(const std::string& title,
                                        const std::vector<ColorValue>& colors)
{
    std::string records;
    records.reserve(colors.size() * 6);
    for (auto color = colors.rbegin(); color != colors.rend(); ++color)
        records += bascommon::HexRGB(*color).substr(1);
    const bool blank = title.find_first_not_of(" \t") == std::string::npos;

    const FolderLock lock(m_folder);
    RepairFile();
    const std::string file = NewChartFileName();
    rewriteFile(palettePath(file), pathOf(file + std::string(dataFiles::deleteTempSuffix)),
                records);
    try {
        AppendChartEntry(file, blank ? "Imported palette" : title);
    } catch (...) {
        // The entry may have reached the index before the failure showed (a failed flush):
        // take it out again, then the color file; should that fail too, the file stays, so that
        // a listed palette is always whole.
        try {
            const auto entries = ReadChartIndex();
            for (std::size_t i = entries.size(); i-- > 0;)
                if (entries[i].file == file) {
                    DeleteChart(static_cast<int>(i) + 1);
                    break;
                }
            fs::remove(palettePath(file));
        } catch (...) {
        }
        throw;
    }
    return file;
}

std::vector<ColorValue> PaletteStore::ReadDisplayOrder(const std::string& file)
{
    const int count = CountColorRecords(file);
    return ReadColorRecordsDown(file, count, count);
}

std::string PaletteStore::ExportPalette(const ChartEntry& entry, PaletteFormat format)
{
    return writePalette(format, entry.title, ReadDisplayOrder(entry.file));
}
