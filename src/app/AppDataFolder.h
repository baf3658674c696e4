#pragma once

#include "app/SeedDataFolder.h"

#include <optional>
#include <string>

// Resolves the data folder for this run from the command line, the environment and the
// program's installation, seeding a per-user folder from the factory data when it is used.
// Throws std::runtime_error when the chosen folder cannot be prepared.
DataFolderChoice resolveDataFolder(const std::optional<std::string>& commandLineDir,
                                   bool seedUserFolder);

// The folder that holds the factory data of an installed program, if any.
std::filesystem::path factoryDataFolder();
