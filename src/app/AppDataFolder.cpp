#include "app/AppDataFolder.h"

#include <QCoreApplication>
#include <QStandardPaths>

#include <cstdlib>
#include <stdexcept>

namespace fs = std::filesystem;

fs::path factoryDataFolder()
{
    const fs::path exeDir = QCoreApplication::applicationDirPath().toStdString();
    return (exeDir / ".." / "share" / "huebench").lexically_normal();
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
    if (choice.source == DataFolderSource::User && seedUserFolder)
        seedDataFolder(choice.folder, factoryDataFolder());
    return choice;
}
