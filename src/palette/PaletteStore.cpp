#include "palette/PaletteStore.h"

// Placeholder: the palette store is being written.
PaletteStore::PaletteStore(std::filesystem::path folder) : m_folder(std::move(folder)) {}
void PaletteStore::RepairFile() {}
std::vector<ChartEntry> PaletteStore::ReadChartIndex() const { return {}; }
void PaletteStore::AppendChartEntry(const std::string&, const std::string&) {}
void PaletteStore::DeleteChart(int) {}
int PaletteStore::CountColorRecords(const std::string&) { return 0; }
bascommon::ColorValue PaletteStore::ReadColorRecord(const std::string&, int) { return 0xFFFFFF; }
void PaletteStore::AppendColorRecord(const std::string&, const std::string&) {}
void PaletteStore::DeleteColorRecord(const std::string&, int, int) {}
void PaletteStore::RemoveDuplicateRecords(const std::string&, int) {}
void PaletteStore::ClearChartFile(const std::string&) {}
std::string NextChartFileName(const ChartEntry&) { return "c1.rgb"; }
