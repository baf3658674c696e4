#include "app/AppDataFolder.h"

#include <QCoreApplication>
#include <QStandardPaths>

#include <cstdlib>
#include <stdexcept>

namespace fs = std::filesystem;

fs::path factoryDataFolder()
{
    const fs::path exeDir = QCoreApplication::applicationDirPath().toStdString();
    const fs::path installed = (exeDir / ".." / "share" / "huebench").lexically_normal();
    std::error_code ec;
    // A program run from its build folder has no installed data: its factory data is the
    // sources' data folder, which the build also copies beside it.
    if (!fs::exists(installed, ec) && fs::is_directory(HUEBENCH_SOURCE_DATA, ec))
        return HUEBENCH_SOURCE_DATA;
    return installed;
}

DataFolderChoice resolveDataFolder(const std::optional<std::string>& commandLineDir,
                                   bool seedUserFolder)
{
    DataFolderInputs inputs;
    if (commandLineDir)
        inputs.commandLine = fs::path(*commandLineDir);
    if (const char* env = std::getenv("HUEBENCH_DATA_DIR"); env && *env)
        inputs.environment = fs::path(env);
    inputs.executableDir = QCoreApplication::applicationDirPath().toStdString();
    inputs.userDir =
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString();
    DataFolderChoice choice = chooseDataFolder(inputs);
    if (choice.folder.empty())
        throw std::runtime_error("no per-user data folder is known (is HOME set?); "
                                 "name one with --data-dir");
    const bool named = choice.source == DataFolderSource::CommandLine ||
                       choice.source == DataFolderSource::Environment;
    if (named) {
        if (const auto problem = namedDataFolderProblem(choice.folder))
            throw UnusableDataFolder(*problem);
        std::error_code ec;
        if (seedUserFolder && !fs::exists(choice.folder, ec)) {
            if (!fs::create_directory(choice.folder, ec) && ec)
                throw UnusableDataFolder("cannot create the data folder \"" +
                                         choice.folder.string() + "\": " + ec.message());
            seedDataFolder(choice.folder, factoryDataFolder());
        }
    }
    if (choice.source == DataFolderSource::User && seedUserFolder)
        seedDataFolder(choice.folder, factoryDataFolder());
    return choice;
}
