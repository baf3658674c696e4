#pragma once

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// An open file descriptor that closes itself.
class FileHandle
{
public:
    explicit FileHandle(int fd = -1) : m_fd(fd) {}
    ~FileHandle();
    FileHandle(FileHandle&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    FileHandle& operator=(FileHandle&& other) noexcept;
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    int get() const { return m_fd; }
    explicit operator bool() const { return m_fd >= 0; }
    // Closes now, reporting a failed close (a delayed write error) as errno; -1 on failure.
    int close();

private:
    int m_fd;
};

// Calls `call` again for as long as it fails with EINTR: a signal that arrived before the
// system call did any work is not a failure.
template <typename Call> auto retryInterrupted(Call call) -> decltype(call())
{
    decltype(call()) result;
    do
        result = call();
    while (result < 0 && errno == EINTR);
    return result;
}

// Test seam, never set by the program: called before each step of the functions below that reads
// or changes a file (the step's name and the file). A nonzero result makes that step fail with
// that errno, so tests can fail, or look at the folder before, every step of every rewrite.
inline int (*fileStepHook)(const char* step, const std::filesystem::path& file) = nullptr;

// Writes all of `bytes` to `fd`: at `offset` when given, else at the file position. Throws
// std::runtime_error naming `file`.
void writeAll(int fd, std::string_view bytes, const std::filesystem::path& file,
              std::optional<std::uint64_t> offset = std::nullopt);

// Reads `size` bytes at `offset` unless the file ends first; returns the bytes read. Throws
// std::runtime_error naming `file`.
std::size_t readAt(int fd, const std::filesystem::path& file, char* buffer, std::size_t size,
                   std::uint64_t offset);

// Rewrites a data file so that a crash at any moment leaves either the old or the new content:
// the new content goes to a temporary file (truncated first), is flushed to disk, and is then
// renamed over the original in one step. The original is never deleted first.
class AtomicRewrite
{
public:
    // Opens `temp` truncated. Throws std::runtime_error naming the file when it cannot.
    AtomicRewrite(std::filesystem::path target, std::filesystem::path temp);
    ~AtomicRewrite(); // without commit(): the temporary file is removed, the original untouched
    AtomicRewrite(const AtomicRewrite&) = delete;
    AtomicRewrite& operator=(const AtomicRewrite&) = delete;

    void write(std::string_view bytes);
    // Writes everything so far to the temporary file and syncs it, without the rename: a
    // rewrite of two files readies the second before the first is renamed, so that a crash
    // between the two renames can be finished. Throws on failure.
    void sync();
    // Flushes, syncs and renames the temporary file over the target. Throws on failure, in
    // which case the target keeps its old content.
    void commit();

private:
    void flushBuffer();

    std::filesystem::path m_target;
    std::filesystem::path m_temp;
    std::string m_buffer;
    FileHandle m_file;
    bool m_committed = false;
};

// Replaces the whole content of `target` through `temp` (see AtomicRewrite).
void rewriteFile(const std::filesystem::path& target, const std::filesystem::path& temp,
                 std::string_view content);

// Appends bytes to `file`, creating it when missing. Throws std::runtime_error naming the file.
void appendToFile(const std::filesystem::path& file, std::string_view bytes);

// The whole content of a file, or nothing when it does not exist. A read error throws
// std::runtime_error naming the file; it is never taken for the end of the file.
std::optional<std::string> readWholeFile(const std::filesystem::path& file);

// Splits 8-bit text into lines. A line ends at LF, together with the CRs right before it (CR LF,
// or CR CR LF from a file converted twice), or at a CR elsewhere (editors that end lines with
// CR alone). The program never writes a CR inside a line. The last line may lack its line end.
std::vector<std::string> splitLines(std::string_view text);

// A temporary file left by an interrupted run holds no data of value: remove it if present.
void discardStaleTemp(const std::filesystem::path& temp) noexcept;

// "cannot <what> <file>: <reason of errno>" as a runtime_error.
[[noreturn]] void throwFileError(const std::string& what, const std::filesystem::path& file,
                                 int error);
