#pragma once

#include "color/bascommon.h"

#include <filesystem>
#include <string>
#include <vector>

// One entry of the palette index "colorchart.cci": file name, title, kind ("0", "1", "2").
struct ChartEntry {
    std::string file, title, kind;
};

// The palette index and the palette color files of one data folder.
class PaletteStore {
public:
    explicit PaletteStore(std::filesystem::path folder);

    const std::filesystem::path& folder() const { return m_folder; }

    void RepairFile();
    std::vector<ChartEntry> ReadChartIndex() const;
    void AppendChartEntry(const std::string& file, const std::string& title);
    void DeleteChart(int Index);
    int CountColorRecords(const std::string& file);
    bascommon::ColorValue ReadColorRecord(const std::string& file, int n);
    void AppendColorRecord(const std::string& file, const std::string& colorText);
    void DeleteColorRecord(const std::string& file, int n, int count);
    void RemoveDuplicateRecords(const std::string& file, int count);
    void ClearChartFile(const std::string& file);

private:
    std::filesystem::path m_folder;
};

std::string NextChartFileName(const ChartEntry& last);
