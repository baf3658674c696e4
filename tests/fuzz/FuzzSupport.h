#pragma once

// Shared pieces of the fuzz targets: a private data folder per process (in memory when
// /dev/shm exists), whole-file reads and writes, and a check that stops the run with a message.

#include <cstdio>
#include <cstdlib>
#include <system_error>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

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

// An empty folder of this process; emptied by fresh(), removed at exit.
inline const std::filesystem::path& folder()
{
    struct Folder {
        std::filesystem::path path;
        ~Folder()
        {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
    };
    static const Folder made{[] {
        const std::filesystem::path base = std::filesystem::is_directory("/dev/shm")
                                               ? "/dev/shm"
                                               : std::filesystem::temp_directory_path();
        auto path = base / ("huebench-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        return path;
    }()};
    return made.path;
}

inline const std::filesystem::path& fresh()
{
    std::error_code ignored;
    for (const auto& item : std::filesystem::directory_iterator(folder(), ignored))
        std::filesystem::remove_all(item.path(), ignored);
    return folder();
}

inline void writeFile(const std::string& name, std::string_view bytes)
{
    std::ofstream(folder() / name, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
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
