#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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
    int m_fd = -1;
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
