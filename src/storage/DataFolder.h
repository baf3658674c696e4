#pragma once

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

// Where the program keeps its data files, and which names may be opened there.

// True for a name that denotes a file directly inside the data folder: not empty, no path
// separator, not "." or "..", no NUL. Names read from data files are checked with this before
// any file is opened.
bool isPlainFileName(std::string_view name);

// folder / name. Throws std::runtime_error naming the file when `name` is not a plain name.
std::filesystem::path dataFilePath(const std::filesystem::path& folder, std::string_view name);

enum class DataFolderSource { CommandLine, Environment, Executable, User };

struct DataFolderInputs {
    std::optional<std::filesystem::path> commandLine; // --data-dir
    std::optional<std::filesystem::path> environment; // HUEBENCH_DATA_DIR
    std::filesystem::path executableDir;
    std::filesystem::path userDir; // the per-user application data folder
};

struct DataFolderChoice {
    std::filesystem::path folder;
    DataFolderSource source;
};

// The command line wins, then the environment, then the executable's folder when it holds the
// palette index and can be written, else the per-user folder.
DataFolderChoice chooseDataFolder(const DataFolderInputs& inputs);

// A folder named on the command line or in the environment that does not exist yet is made
// (in an existing parent folder; nothing deeper is made) and filled like a new per-user folder.
// Returns why `folder` cannot serve so, or nothing when it is a folder or can be made.
std::optional<std::string> namedDataFolderProblem(const std::filesystem::path& folder);

// The folder named on the command line or in the environment cannot be used: a usage error
// (exit status 2), unlike a file failure inside a usable folder.
class UnusableDataFolder : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Marks a data folder as in use by this running copy of the program. Only the first copy gets
// it; the kernel releases it when the process ends, however it ends.
class InstanceLock
{
public:
    explicit InstanceLock(const std::filesystem::path& folder);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // True when no other running copy holds the folder.
    bool owned() const { return m_fd >= 0; }
    void release();

private:
    int m_fd = -1;
};
