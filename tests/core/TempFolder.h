#pragma once

#include "palette/PaletteStore.h"
#include "web/SchemeStore.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>

inline std::string crlf(std::initializer_list<std::string> lines)
{
    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
    return text;
}

inline std::string readBytes(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::string hex6(int value)
{
    char text[8];
    std::snprintf(text, sizeof text, "%06X", value);
    return text;
}

inline void expectThrowNaming(const std::function<void()>& action, const std::string& name)
{
    try {
        action();
        ADD_FAILURE() << "no error; expected one naming " << name;
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find(name), std::string::npos) << e.what();
    }
}

// A fresh, empty folder per test, removed afterwards.
class TempFolderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::random_device rd;
        m_folder = std::filesystem::temp_directory_path() /
                   ("huebench-test-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(m_folder);
    }
    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::permissions(m_folder, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(m_folder, ignored);
    }

    const std::filesystem::path& folder() const { return m_folder; }

    void writeFile(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(m_folder / name, std::ios::binary) << bytes;
    }
    std::string readFile(const std::string& name) const { return readBytes(m_folder / name); }
    bool exists(const std::string& name) const { return std::filesystem::exists(m_folder / name); }

    PaletteStore palettes() const { return PaletteStore(m_folder); }
    SchemeStore schemes() const { return SchemeStore(m_folder); }
    void writeSchemes(const std::string& names, const std::string& records) const
    {
        writeFile("set.hcs", names);
        writeFile("colorset.dat", records);
    }

private:
    std::filesystem::path m_folder;
};
