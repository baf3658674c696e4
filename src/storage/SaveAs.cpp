#include "storage/SaveAs.h"

#include "storage/AtomicFile.h"

#include <cerrno>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{

constexpr int maxLinkHops = 40; // as the kernel allows before ELOOP

// The file a save to `chosen` must replace: `chosen` itself, or what its links point at.
fs::path followLinks(const fs::path& chosen)
{
    fs::path file = chosen;
    for (int hops = 0;; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(file, ec)))
            return file;
        if (hops == maxLinkHops)
            throwFileError("save", chosen, ELOOP);
        const fs::path link = fs::read_symlink(file, ec);
        if (ec)
            throwFileError("save", chosen, ec.value());
        file = link.is_absolute() ? link : file.parent_path() / link;
    }
}

// Creates a temporary file beside `file` under a name that was free, and sets `temp` to it.
FileHandle createTemp(const fs::path& file, const fs::path& chosen, fs::path& temp)
{
    const std::string stem = "." + file.filename().string() + "." + std::to_string(::getpid());
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = file.parent_path() / (stem + "-" + std::to_string(attempt) + ".tmp");
        FileHandle handle(
            ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
        if (handle)
            return handle;
        if (errno != EEXIST)
            break;
    }
    throwFileError("save", chosen, errno);
}

} // namespace

void saveAs(const fs::path& chosen, std::string_view content)
{
    const fs::path file = followLinks(chosen);
    struct stat existing {
    };
    const bool replacing = ::stat(file.c_str(), &existing) == 0;
    if (replacing && ::access(file.c_str(), W_OK) != 0)
        throwFileError("save", chosen, errno);

    fs::path temp;
    FileHandle handle = createTemp(file, chosen, temp);
    try {
        if (replacing && ::fchmod(handle.get(), existing.st_mode & 07777) != 0)
            throwFileError("save", chosen, errno);
        writeAll(handle.get(), content, chosen);
        if (::fsync(handle.get()) != 0 || handle.close() != 0)
            throwFileError("write", chosen, errno);
        if (::rename(temp.c_str(), file.c_str()) != 0)
            throwFileError("save", chosen, errno);
    } catch (...) {
        handle = FileHandle();
        ::unlink(temp.c_str());
        throw;
    }
}
