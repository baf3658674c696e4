// Importing a GIMP palette of 100,000 colors: reading the file and writing the new palette.
#include "palette/PaletteFormats.h"
#include "palette/PaletteStore.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

namespace fs = std::filesystem;

namespace
{

constexpr int colorCount = 100'000;

class ImportFolder
{
public:
    ImportFolder()
    {
        m_folder = fs::temp_directory_path() / ("huebench-import-" + std::to_string(::getpid()));
        fs::create_directories(m_folder);
        std::ofstream out(m_folder / "big.gpl", std::ios::binary);
        out << "GIMP Palette\nName: Big\nColumns: 16\n#\n";
        char row[48];
        for (int i = 0; i < colorCount; ++i) {
            std::snprintf(row, sizeof row, "%3d %3d %3d\tColor %d\n", i % 256, i / 256 % 256,
                          i * 7 % 256, i);
            out << row;
        }
    }
    ~ImportFolder() { fs::remove_all(m_folder); }
    const fs::path& folder() const { return m_folder; }

private:
    fs::path m_folder;
};

void ReadGpl(benchmark::State& state)
{
    const ImportFolder data;
    for (auto _ : state)
        benchmark::DoNotOptimize(readPaletteFile(data.folder() / "big.gpl").colors.size());
    state.SetItemsProcessed(state.iterations() * colorCount);
}

// Read and create the palette; the index grows by one entry per run, as it would for a user.
void ImportGpl(benchmark::State& state)
{
    const ImportFolder data;
    PaletteStore store(data.folder());
    store.RepairFile();
    for (auto _ : state) {
        const auto result = readPaletteFile(data.folder() / "big.gpl");
        benchmark::DoNotOptimize(store.ImportPalette(result.title, [&] {
            std::vector<bascommon::ColorValue> colors;
            for (const auto& swatch : result.colors)
                colors.push_back(swatch.color);
            return colors;
        }()));
    }
    state.SetItemsProcessed(state.iterations() * colorCount);
}

} // namespace

BENCHMARK(ReadGpl)->Unit(benchmark::kMillisecond);
BENCHMARK(ImportGpl)->Unit(benchmark::kMillisecond)->Iterations(5);

BENCHMARK_MAIN();
