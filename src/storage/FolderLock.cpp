#include "storage/FolderLock.h"

#include "storage/AtomicFile.h"

#include <cerrno>
#include <map>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace
{

struct Held {
    int fd = -1;
    int depth = 0;
};

// The locks this thread holds, by folder. flock belongs to an open file description, so a
// second open in the same thread would wait for itself: nested holders share the first one.
thread_local std::map<std::string, Held> held;

} // namespace

FolderLock::FolderLock(const std::filesystem::path& folder)
    : m_key((folder / std::string(dataFiles::folderLock)).lexically_normal().string())
{
    auto found = held.find(m_key);
    if (found != held.end()) {
        ++found->second.depth;
        m_locked = true;
        return;
    }
    const int fd = ::open(m_key.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0)
        return;
    if (retryInterrupted([fd] { return ::flock(fd, LOCK_EX); }) !=
        0) { // a file system without locks: go on as the only copy
        ::close(fd);
        return;
    }
    held.emplace(m_key, Held{fd, 1});
    m_locked = true;
}

FolderLock::~FolderLock()
{
    if (!m_locked)
        return;
    auto found = held.find(m_key);
    if (found == held.end() || --found->second.depth > 0)
        return;
    ::close(found->second.fd); // closing the only descriptor releases the lock
    held.erase(found);
}
