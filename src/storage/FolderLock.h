#pragma once

#include "storage/DataFiles.h"

#include <filesystem>
#include <string>

// Serialises the changes of the data files of one folder between running copies of the program
// (and between threads): an exclusive advisory lock (flock) on ".huebench.lock" in the folder,
// held from construction to destruction. Each change of a data file, and each removal of a
// temporary file left by an interrupted rewrite, runs under it, so two copies on one folder
// never write the same temporary file at once, never remove one the other is writing, and an
// append is never lost to the other copy's rewrite. Readers need no lock: a rewrite replaces a
// file by one rename, so a reader sees the old or the new content.
//
// The lock is released when the holder ends in any way, a crash included. Taking it again in
// the same thread while it is held only counts. When the lock file cannot be created (a folder
// that cannot be written, a folder standing at its name, a missing folder), the change goes on
// unlocked and reports its own failure, naming the data file, if it cannot write either.
class FolderLock
{
public:
    explicit FolderLock(const std::filesystem::path& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // False when the lock file could not be opened and the holder runs unlocked.
    bool locked() const { return m_locked; }

private:
    std::string m_key;
    bool m_locked = false;
};
