#include "storage/DataFolder.h"

#include "storage/DataFiles.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

#include <fcntl.h>
#include <sys/file.h>
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
    if (fs::is_regular_file(exe / std::string(dataFiles::index), ec) &&
        ::access(exe.c_str(), W_OK) == 0)
        return {exe, DataFolderSource::Executable};
    return {inputs.userDir, DataFolderSource::User};
}

std::optional<std::string> namedDataFolderProblem(const fs::path& folder)
{
    std::error_code ec;
    const fs::file_status status = fs::status(folder, ec);
    if (fs::is_directory(status))
        return std::nullopt;
    const std::string name = "\"" + folder.string() + "\"";
    if (fs::exists(status))
        return name + " is not a folder";
    fs::path own = folder.lexically_normal();
    if (!own.has_filename())
        own = own.parent_path(); // "dir/" names "dir"
    const fs::path parent = own.has_parent_path() ? own.parent_path() : fs::path(".");
    if (!fs::is_directory(parent, ec))
        return "cannot create the data folder " + name + ": \"" + parent.string() +
               "\" is not an existing folder";
    if (::access(parent.c_str(), W_OK | X_OK) != 0)
        return "cannot create the data folder " + name + ": " + std::strerror(errno);
    return std::nullopt;
}

InstanceLock::InstanceLock(const fs::path& folder)
{
    const fs::path file = folder / std::string(dataFiles::instanceLock);
    m_fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (m_fd >= 0 && ::flock(m_fd, LOCK_EX | LOCK_NB) != 0)
        release();
}

InstanceLock::~InstanceLock()
{
    release();
}

void InstanceLock::release()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}
