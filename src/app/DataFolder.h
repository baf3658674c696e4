#pragma once

#include <filesystem>
#include <optional>
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

// Copies every factory file that the folder lacks into it (creating the folder); an existing
// file is never overwritten. Throws std::runtime_error naming the file on failure.
void seedDataFolder(const std::filesystem::path& folder, const std::filesystem::path& factoryDir);
