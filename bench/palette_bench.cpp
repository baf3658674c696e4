// Palette files of 1,000,000 records: showing a page, appending, deleting, removing duplicates.
#include "palette/PaletteStore.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include <unistd.h>

namespace fs = std::filesystem;

namespace
{

constexpr int bigCount = 1'000'000;
constexpr int pageSize = 216;

// One folder for the whole run, holding the big palette as it was written first.
class BigPalette
{
public:
    BigPalette()
    {
        m_folder = fs::temp_directory_path() / ("huebench-bench-" + std::to_string(::getpid()));
        fs::create_directories(m_folder);
        // Half a million distinct colors, each about twice, in random order.
        std::mt19937 random(42);
        std::uniform_int_distribution<int> color(0, bigCount / 2 - 1);
        m_bytes.reserve(bigCount * 6);
        char record[8];
        for (int i = 0; i < bigCount; ++i) {
            std::snprintf(record, sizeof record, "%06X", color(random) * 31);
            m_bytes.append(record, 6);
        }
    }
    ~BigPalette() { fs::remove_all(m_folder); }

    // Puts the original 1,000,000 records back in `name`.
    void restore(const std::string& name) const
    {
        std::ofstream(m_folder / name, std::ios::binary | std::ios::trunc) << m_bytes;
    }
    PaletteStore store() const { return PaletteStore(m_folder); }

private:
    fs::path m_folder;
    std::string m_bytes;
};

const BigPalette& big()
{
    static const BigPalette palette;
    return palette;
}

// A page as the view paints it: the count (page 1 only), then 216 records by record number.
void ShowPage(benchmark::State& state, bool lastPage, bool onePass)
{
    big().restore("big.rgb");
    PaletteStore store = big().store();
    for (auto _ : state) {
        const int count = store.CountColorRecords("big.rgb");
        const int page = lastPage ? (count - 1) / pageSize + 1 : 1;
        const int first = count - (page - 1) * pageSize;
        const int amount = std::min(first, pageSize);
        int sum = 0;
        if (onePass) {
            for (const auto color : store.ReadColorRecordsDown("big.rgb", first, amount))
                sum += color;
        } else {
            for (int i = 0; i < amount; ++i)
                sum += store.ReadColorRecord("big.rgb", first - i);
        }
        benchmark::DoNotOptimize(sum);
    }
}

void FirstPageOnePass(benchmark::State& state)
{
    ShowPage(state, false, true);
}
void LastPageOnePass(benchmark::State& state)
{
    ShowPage(state, true, true);
}
void FirstPageRecordByRecord(benchmark::State& state)
{
    ShowPage(state, false, false);
}
void LastPageRecordByRecord(benchmark::State& state)
{
    ShowPage(state, true, false);
}

void Append(benchmark::State& state)
{
    big().restore("append.rgb");
    PaletteStore store = big().store();
    for (auto _ : state)
        store.AppendColorRecord("append.rgb", "#1A2B3C");
}

void DeleteMiddleRecord(benchmark::State& state)
{
    big().restore("delete.rgb");
    PaletteStore store = big().store();
    for (auto _ : state) {
        const int count = store.CountColorRecords("delete.rgb");
        store.DeleteColorRecord("delete.rgb", count / 2, count);
    }
}

void RemoveDuplicates(benchmark::State& state)
{
    PaletteStore store = big().store();
    for (auto _ : state) {
        state.PauseTiming();
        big().restore("dup.rgb");
        state.ResumeTiming();
        store.RemoveDuplicateRecords("dup.rgb", bigCount);
    }
    state.SetItemsProcessed(state.iterations() * bigCount);
}

} // namespace

BENCHMARK(FirstPageOnePass)->Unit(benchmark::kMicrosecond);
BENCHMARK(LastPageOnePass)->Unit(benchmark::kMicrosecond);
BENCHMARK(FirstPageRecordByRecord)->Unit(benchmark::kMicrosecond);
BENCHMARK(LastPageRecordByRecord)->Unit(benchmark::kMicrosecond);
BENCHMARK(Append)->Unit(benchmark::kMicrosecond);
BENCHMARK(DeleteMiddleRecord)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(RemoveDuplicates)->Unit(benchmark::kMillisecond)->Iterations(5);

BENCHMARK_MAIN();
