#include "storage/AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include <fcntl.h>
#include <unistd.h>

namespace
{

constexpr std::size_t bufferLimit = 1 << 16;

// Runs `call` unless the test seam fails this step: then -1 with errno set.
template <typename Call>
auto step(const char* name, const std::filesystem::path& file, Call call) -> decltype(call())
{
    if (fileStepHook)
        if (const int error = fileStepHook(name, file)) {
            errno = error;
            return -1;
        }
    return call();
}

void syncFolder(const std::filesystem::path& file)
{
    const auto folder =
        file.parent_path().empty() ? std::filesystem::path(".") : file.parent_path();
    const FileHandle handle(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (handle)
        ::fsync(handle.get()); // best effort: the rename itself is already atomic
}

} // namespace

FileHandle::~FileHandle()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

int FileHandle::close()
{
    return ::close(std::exchange(m_fd, -1));
}

void writeAll(int fd, std::string_view bytes, const std::filesystem::path& file,
              std::optional<std::uint64_t> offset)
{
    std::uint64_t done = 0;
    while (!bytes.empty()) {
        const ssize_t n = step("write", file, [&] {
            return retryInterrupted([&] {
                return offset ? ::pwrite(fd, bytes.data(), bytes.size(),
                                         static_cast<off_t>(*offset + done))
                              : ::write(fd, bytes.data(), bytes.size());
            });
        });
        if (n < 0)
            throwFileError("write", file, errno);
        bytes.remove_prefix(static_cast<std::size_t>(n));
        done += static_cast<std::uint64_t>(n);
    }
}

std::size_t readAt(int fd, const std::filesystem::path& file, char* buffer, std::size_t size,
                   std::uint64_t offset)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = step("read", file, [&] {
            return retryInterrupted([&] {
                return ::pread(fd, buffer + done, size - done, static_cast<off_t>(offset + done));
            });
        });
        if (n < 0)
            throwFileError("read", file, errno);
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

void throwFileError(const std::string& what, const std::filesystem::path& file, int error)
{
    throw std::runtime_error("cannot " + what + " " + file.string() + ": " + std::strerror(error));
}

AtomicRewrite::AtomicRewrite(std::filesystem::path target, std::filesystem::path temp)
    : m_target(std::move(target)), m_temp(std::move(temp))
{
    m_file = FileHandle(step("open", m_temp, [&] {
        return ::open(m_temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    }));
    if (!m_file)
        throwFileError("create", m_temp, errno);
    m_buffer.reserve(bufferLimit);
}

AtomicRewrite::~AtomicRewrite()
{
    m_file = FileHandle();
    if (!m_committed)
        step("unlink", m_temp, [&] { return ::unlink(m_temp.c_str()); });
}

void AtomicRewrite::write(std::string_view bytes)
{
    if (m_buffer.size() + bytes.size() > bufferLimit) {
        flushBuffer();
        if (bytes.size() > bufferLimit) {
            writeAll(m_file.get(), bytes, m_temp);
            return;
        }
    }
    m_buffer.append(bytes);
}

void AtomicRewrite::flushBuffer()
{
    writeAll(m_file.get(), m_buffer, m_temp);
    m_buffer.clear();
}

void AtomicRewrite::sync()
{
    flushBuffer();
    if (step("sync", m_temp, [&] { return ::fsync(m_file.get()); }) != 0)
        throwFileError("write", m_temp, errno);
}

void AtomicRewrite::commit()
{
    sync();
    if (step("close", m_temp, [&] { return m_file.close(); }) != 0)
        throwFileError("write", m_temp, errno);
    if (step("rename", m_target, [&] { return ::rename(m_temp.c_str(), m_target.c_str()); }) != 0)
        throwFileError("replace", m_target, errno);
    m_committed = true;
    syncFolder(m_target);
}

void rewriteFile(const std::filesystem::path& target, const std::filesystem::path& temp,
                 std::string_view content)
{
    AtomicRewrite rewrite(target, temp);
    rewrite.write(content);
    rewrite.commit();
}

void appendToFile(const std::filesystem::path& file, std::string_view bytes)
{
    FileHandle handle(step("open", file, [&] {
        return ::open(file.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    }));
    if (!handle)
        throwFileError("open", file, errno);
    writeAll(handle.get(), bytes, file);
    if (step("close", file, [&] { return handle.close(); }) != 0)
        throwFileError("write", file, errno);
}

void discardStaleTemp(const std::filesystem::path& temp) noexcept
{
    std::error_code ignored;
    step("unlink", temp, [&] {
        std::filesystem::remove(temp, ignored);
        return 0;
    });
}

std::optional<std::string> readWholeFile(const std::filesystem::path& file)
{
    const FileHandle handle(
        step("open", file, [&] { return ::open(file.c_str(), O_RDONLY | O_CLOEXEC); }));
    if (!handle) {
        if (errno == ENOENT)
            return std::nullopt;
        throwFileError("open", file, errno);
    }
    std::string text;
    char buffer[8192];
    for (;;) {
        const ssize_t n = step("read", file, [&] {
            return retryInterrupted([&] { return ::read(handle.get(), buffer, sizeof buffer); });
        });
        if (n < 0)
            throwFileError("read", file, errno);
        if (n == 0)
            break;
        text.append(buffer, static_cast<std::size_t>(n));
    }
    return text;
}

std::vector<std::string> splitLines(std::string_view text)
{
    std::vector<std::string> lines;
    while (!text.empty()) {
        const auto end = text.find_first_of("\r\n");
        lines.emplace_back(text.substr(0, end));
        if (end == std::string_view::npos)
            break;
        auto next = text.find_first_not_of('\r', end);
        next = next != std::string_view::npos && text[next] == '\n' ? next + 1 : end + 1;
        text.remove_prefix(next);
    }
    return lines;
}
