#include "app/SeedDataFolder.h"

#include "palette/PaletteStore.h"
#include "storage/AtomicFile.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace
{

// The seed record: one file name a line.
std::set<std::string> readSeedRecord(const fs::path& file)
{
    std::set<std::string> names;
    std::ifstream in(file, std::ios::binary);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            names.insert(line);
    }
    return names;
}

void writeSeedRecord(const fs::path& folder, const std::set<std::string>& names)
{
    std::string text;
    for (const auto& name : names)
        text += name + "\n";
    const fs::path record = dataFilePath(folder, seedRecordName);
    rewriteFile(record, fs::path(record) += ".tmp", text);
}

// The plain files of the factory folder, by name. Empty when the folder does not exist.
std::vector<std::string> factoryFileNames(const fs::path& factoryDir)
{
    std::vector<std::string> names;
    std::error_code ec;
    if (!fs::exists(factoryDir, ec))
        return names;
    fs::directory_iterator it(factoryDir, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        const std::string name = it->path().filename().string();
        if (it->is_regular_file(typeError) && isPlainFileName(name) && name != seedRecordName)
            names.push_back(name);
    }
    if (ec)
        throw std::runtime_error("cannot read " + factoryDir.string() + ": " + ec.message());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

void seedDataFolder(const fs::path& folder, const fs::path& factoryDir)
{
    const std::vector<std::string> factoryNames = factoryFileNames(factoryDir);
    if (factoryNames.empty())
        return;
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec)
        throw std::runtime_error("cannot create " + folder.string() + ": " + ec.message());

    const fs::path recordPath = dataFilePath(folder, seedRecordName);
    const bool firstSeeding = !fs::exists(recordPath, ec);
    std::set<std::string> offered = readSeedRecord(recordPath);

    std::map<std::string, ChartEntry> factoryPalettes;
    for (const auto& entry : PaletteStore(factoryDir).ReadChartIndex())
        factoryPalettes.emplace(entry.file, entry);
    std::set<std::string> userListed;
    if (!firstSeeding)
        for (const auto& entry : PaletteStore(folder).ReadChartIndex())
            userListed.insert(entry.file);

    std::vector<ChartEntry> newPalettes;
    bool recordChanged = firstSeeding;
    for (const auto& name : factoryNames) {
        if (!offered.insert(name).second)
            continue;
        recordChanged = true;
        const fs::path target = folder / name;
        if (fs::exists(fs::symlink_status(target, ec)))
            continue;
        const auto palette = factoryPalettes.find(name);
        const bool isPalette = palette != factoryPalettes.end();
        if (!firstSeeding && isPalette && userListed.contains(name))
            continue;
        fs::copy_file(factoryDir / name, target, fs::copy_options::none, ec);
        if (ec)
            throw std::runtime_error("cannot copy " + (factoryDir / name).string() + " to " +
                                     target.string() + ": " + ec.message());
        if (!firstSeeding && isPalette)
            newPalettes.push_back(palette->second);
    }

    PaletteStore userStore(folder);
    for (const auto& entry : newPalettes)
        userStore.AppendChartEntry(entry.file, entry.title);
    if (recordChanged)
        writeSeedRecord(folder, offered);
}
