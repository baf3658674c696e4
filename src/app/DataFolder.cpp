#include "app/DataFolder.h"

#include <stdexcept>
#include <string>

#include <unistd.h>

namespace fs = std::filesystem;

bool isPlainFileName(std::string_view name)
{
    if (name.empty() || name == "." || name == "..")
        return false;
    return name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

fs::path dataFilePath(const fs::path& folder, std::string_view name)
{
    if (!isPlainFileName(name))
        throw std::runtime_error("refusing to open \"" + std::string(name) +
                                 "\": not a plain file name inside the data folder");
    return folder / fs::path(std::string(name));
}

DataFolderChoice chooseDataFolder(const DataFolderInputs& inputs)
{
    if (inputs.commandLine)
        return {*inputs.commandLine, DataFolderSource::CommandLine};
    if (inputs.environment && !inputs.environment->empty())
        return {*inputs.environment, DataFolderSource::Environment};
    std::error_code ec;
    const auto& exe = inputs.executableDir;
    if (fs::is_regular_file(exe / "colorchart.cci", ec) && ::access(exe.c_str(), W_OK) == 0)
        return {exe, DataFolderSource::Executable};
    return {inputs.userDir, DataFolderSource::User};
}

void seedDataFolder(const fs::path& folder, const fs::path& factoryDir)
{
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec)
        throw std::runtime_error("cannot create " + folder.string() + ": " + ec.message());
    for (const auto& entry : fs::directory_iterator(factoryDir, ec)) {
        if (!entry.is_regular_file())
            continue;
        const fs::path target = folder / entry.path().filename();
        if (fs::exists(target, ec))
            continue;
        fs::copy_file(entry.path(), target, fs::copy_options::skip_existing, ec);
        if (ec)
            throw std::runtime_error("cannot copy " + entry.path().string() + " to " +
                                     target.string() + ": " + ec.message());
    }
    if (ec)
        throw std::runtime_error("cannot read " + factoryDir.string() + ": " + ec.message());
}
