#pragma once

// Shared pieces of the fuzz targets: a private data folder per process (in memory where /dev/shm
// exists), whole-file reads and writes, and a check that stops the run with a message.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
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

// A fuzz target that only runs `call` on every input as text, for the sanitizers to watch.
#define HUEBENCH_FUZZ_TARGET(call)                                                                 \
    extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)              \
    {                                                                                              \
        call(fuzz::text(data, size));                                                              \
        return 0;                                                                                  \
    }

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

} // namespace fuzz
