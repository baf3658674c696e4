#pragma once

#include "storage/DataFiles.h"
#include "storage/DataFolder.h"

#include <filesystem>

// Name of the record, inside a seeded folder, of the factory files already offered to it.
inline constexpr std::string_view seedRecordName = dataFiles::seedRecord;

// Fills a per-user data folder (creating it) from the installed factory data, and never
// overwrites a file the folder holds.
// - The first time (no seed record yet) every factory file that the folder lacks is copied.
// - Later (after an upgrade), only factory files that were never offered before are looked at,
//   so a file the user deleted or a palette the user cleared does not come back.
// - A new factory palette (listed in the factory index) is copied only when the user has no
//   file of that name and the user's index does not list it (the name is not the user's own
//   palette); it is then listed at the end of the user's index as a user palette, so the user
//   can remove it. Other new factory files (the help page, ...) are copied when missing.
// A missing factory folder seeds nothing. Throws std::runtime_error naming the file when a
// file cannot be copied or the folder cannot be created.
void seedDataFolder(const std::filesystem::path& folder, const std::filesystem::path& factoryDir);
