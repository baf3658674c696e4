#include "app/AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include <fcntl.h>
#include <unistd.h>

namespace
{

constexpr std::size_t bufferLimit = 1 << 16;

void writeAll(int fd, std::string_view bytes, const std::filesystem::path& file)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throwFileError("write", file, errno);
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

void syncFolder(const std::filesystem::path& file)
{
    const auto folder =
        file.parent_path().empty() ? std::filesystem::path(".") : file.parent_path();
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd); // best effort: the rename itself is already atomic
        ::close(fd);
    }
}

} // namespace

void throwFileError(const std::string& what, const std::filesystem::path& file, int error)
{
    throw std::runtime_error("cannot " + what + " " + file.string() + ": " + std::strerror(error));
}

AtomicRewrite::AtomicRewrite(std::filesystem::path target, std::filesystem::path temp)
    : m_target(std::move(target)), m_temp(std::move(temp))
{
    m_fd = ::open(m_temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (m_fd < 0)
        throwFileError("create", m_temp, errno);
    m_buffer.reserve(bufferLimit);
}

AtomicRewrite::~AtomicRewrite()
{
    if (m_fd >= 0)
        ::close(m_fd);
    if (!m_committed)
        ::unlink(m_temp.c_str());
}

void AtomicRewrite::write(std::string_view bytes)
{
    if (m_buffer.size() + bytes.size() > bufferLimit) {
        flushBuffer();
        if (bytes.size() > bufferLimit) {
            writeAll(m_fd, bytes, m_temp);
            return;
        }
    }
    m_buffer.append(bytes);
}

void AtomicRewrite::flushBuffer()
{
    writeAll(m_fd, m_buffer, m_temp);
    m_buffer.clear();
}

void AtomicRewrite::sync()
{
    flushBuffer();
    if (::fsync(m_fd) != 0)
        throwFileError("write", m_temp, errno);
}

void AtomicRewrite::commit()
{
    sync();
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0)
        throwFileError("write", m_temp, errno);
    if (::rename(m_temp.c_str(), m_target.c_str()) != 0)
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
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0)
        throwFileError("open", file, errno);
    try {
        writeAll(fd, bytes, file);
    } catch (...) {
        ::close(fd);
        throw;
    }
    if (::close(fd) != 0)
        throwFileError("write", file, errno);
}

void discardStaleTemp(const std::filesystem::path& temp) noexcept
{
    std::error_code ignored;
    std::filesystem::remove(temp, ignored);
}

std::optional<std::string> readWholeFile(const std::filesystem::path& file)
{
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            return std::nullopt;
        throwFileError("open", file, errno);
    }
    std::string text;
    char buffer[8192];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int error = errno;
            ::close(fd);
            throwFileError("read", file, error);
        }
        text.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
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
