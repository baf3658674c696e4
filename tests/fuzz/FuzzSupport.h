#pragma once

// Shared pieces of the fuzz targets: a private data folder per process (in memory when
// /dev/shm exists), whole-file reads and writes, the palette file name rule, and a check that
// stops the run with a message.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include <unistd.h>

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);     \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

namespace fuzz
{

// A folder of this process, removed at exit (never destroyed before that).
inline const std::filesystem::path& folder()
{
    static const auto* const made = [] {
        const std::filesystem::path base = std::filesystem::is_directory("/dev/shm")
                                               ? "/dev/shm"
                                               : std::filesystem::temp_directory_path();
        auto* path =
            new std::filesystem::path(base / ("huebench-fuzz-" + std::to_string(::getpid())));
        std::filesystem::create_directories(*path);
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(folder(), ignored);
        });
        return path;
    }();
    return *made;
}

// The input as text.
inline std::string text(const std::uint8_t* data, std::size_t size)
{
    return {reinterpret_cast<const char*>(data), size};
}

inline void writeFile(const std::string& name, std::string_view bytes)
{
    std::ofstream(folder() / name, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The folder emptied, then holding the one file `name`.
inline const std::filesystem::path& fresh(const std::string& name, std::string_view bytes)
{
    std::error_code ignored;
    for (const auto& item : std::filesystem::directory_iterator(folder(), ignored))
        std::filesystem::remove_all(item.path(), ignored);
    writeFile(name, bytes);
    return folder();
}

inline std::string readFile(const std::string& name)
{
    std::ifstream in(folder() / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline bool exists(const std::string& name)
{
    return std::filesystem::exists(folder() / name);
}

inline bool digitsOnly(std::string_view text)
{
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The number of "c<number>.rgb" with at most 19 digits and no leading zeros.
inline std::optional<unsigned long long> chartNumber(const std::string& name)
{
    if (name.size() < 6 || name.front() != 'c' || !name.ends_with(".rgb"))
        return std::nullopt;
    const std::string digits = name.substr(1, name.size() - 5);
    if (!digitsOnly(digits) || digits.size() > 19 || (digits.size() > 1 && digits[0] == '0'))
        return std::nullopt;
    return std::stoull(digits);
}

} // namespace fuzz
