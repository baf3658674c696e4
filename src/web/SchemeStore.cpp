#include "web/SchemeStore.h"

#include "storage/AtomicFile.h"
#include "storage/DataFiles.h"
#include "storage/FolderLock.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

constexpr std::string_view nameFile = dataFiles::schemeNames;
constexpr std::string_view nameTemp = dataFiles::schemeNamesTemp;
constexpr std::string_view recordFile = dataFiles::schemeRecords;
constexpr std::string_view recordTemp = dataFiles::schemeRecordsTemp;
constexpr std::size_t fieldSize = 6;
constexpr std::size_t recordSize = 6 * fieldSize;

// The name stored on a line: everything but its first and last character.
std::string nameOfLine(const std::string& line)
{
    return line.size() < 2 ? std::string() : line.substr(1, line.size() - 2);
}

// Six hexadecimal digits BBGGRR read as one number, which is the color value itself.
std::optional<bascommon::ColorValue> parseField(std::string_view field)
{
    if (field.size() != fieldSize)
        return std::nullopt;
    bascommon::ColorValue value = 0;
    for (const char c : field) {
        const int digit = bascommon::hexDigitValue(c);
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + digit;
    }
    return value;
}

// The record fields in file order.
constexpr std::array<bascommon::ColorValue WebColorScheme::*, 6> recordFields = {
    &WebColorScheme::Text,        &WebColorScheme::Background, &WebColorScheme::NormalLink,
    &WebColorScheme::VisitedLink, &WebColorScheme::ActiveLink, &WebColorScheme::HoverLink};

// A name must stay on one line of the name file.
std::string oneLine(std::string name)
{
    std::replace(name.begin(), name.end(), '\r', ' ');
    std::replace(name.begin(), name.end(), '\n', ' ');
    return name;
}

} // namespace

const std::vector<NamedScheme>& factorySchemes()
{
    // Background, Text, NormalLink, VisitedLink, ActiveLink, HoverLink as 0xBBGGRR.
    static const std::vector<NamedScheme> schemes = {
        {"Classic Web", {0xFFFFFF, 0x000000, 0xFF0000, 0x800080, 0x0000FF, 0x0066FF}},
        {"Night Reading", {0x241F1B, 0xE6E6E6, 0xFFB66C, 0xF59AC3, 0x727BFF, 0x66D8FF}},
        {"Sepia Paper", {0xD7ECF5, 0x2F2F3B, 0x13458B, 0x753E6B, 0x2222B2, 0x1E69D2}},
        {"Ocean Breeze", {0xFAF4E8, 0x402E0B, 0x996600, 0x8A4B5C, 0x0033CC, 0xCC9900}},
        {"Forest Trail", {0xEEF6F1, 0x1F3B1F, 0x327D2E, 0x9A1B6A, 0x2828C6, 0x177FF5}},
        {"High Contrast", {0x000000, 0xFFFFFF, 0x00FFFF, 0xFFFF00, 0xFF00FF, 0x00FF00}},
    };
    return schemes;
}

std::string schemeRecord(const WebColorScheme& scheme)
{
    std::string record;
    record.reserve(recordSize);
    for (const auto field : recordFields)
        record += bascommon::HexBGR(scheme.*field);
    return record;
}

WebColorScheme parseSchemeRecord(std::string_view record)
{
    WebColorScheme scheme = factorySchemes().front().colors;
    for (std::size_t i = 0; i < recordFields.size(); ++i) {
        const std::size_t offset = i * fieldSize;
        if (offset >= record.size())
            break;
        if (const auto value = parseField(record.substr(offset, fieldSize)))
            scheme.*recordFields[i] = *value;
    }
    return scheme;
}

SchemeStore::SchemeStore(std::filesystem::path folder) : m_folder(std::move(folder)) {}

void SchemeStore::ensureSchemes()
{
    const FolderLock lock(m_folder);
    finishInterruptedRewrite();
    const auto names = readWholeFile(m_folder / nameFile);
    if (names && !names->empty())
        return;
    std::vector<std::string> factoryNames;
    std::vector<WebColorScheme> factoryColors;
    for (const auto& scheme : factorySchemes()) {
        factoryNames.push_back(scheme.name);
        factoryColors.push_back(scheme.colors);
    }
    writeBoth(factoryNames, factoryColors);
}

std::vector<std::string> SchemeStore::ReadNames() const
{
    finishInterruptedRewrite();
    std::vector<std::string> names;
    for (const auto& line : splitLines(readWholeFile(m_folder / nameFile).value_or("")))
        names.push_back(nameOfLine(line));
    return names;
}

WebColorScheme SchemeStore::ReadScheme(int position) const
{
    if (position < 0)
        return factorySchemes().front().colors;
    finishInterruptedRewrite();
    const std::string records = readWholeFile(m_folder / recordFile).value_or("");
    const std::size_t offset = static_cast<std::size_t>(position) * recordSize;
    if (offset >= records.size())
        return factorySchemes().front().colors;
    return parseSchemeRecord(std::string_view(records).substr(offset, recordSize));
}

std::vector<WebColorScheme> SchemeStore::readSchemes(std::size_t count) const
{
    const std::string records = readWholeFile(m_folder / recordFile).value_or("");
    std::vector<WebColorScheme> schemes;
    schemes.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t offset = std::min(i * recordSize, records.size());
        schemes.push_back(parseSchemeRecord(std::string_view(records).substr(offset, recordSize)));
    }
    return schemes;
}

void SchemeStore::Append(const std::string& name, const WebColorScheme& scheme)
{
    const FolderLock lock(m_folder);
    finishInterruptedRewrite();
    auto names = ReadNames();
    auto schemes = readSchemes(names.size());
    names.push_back(oneLine(name));
    schemes.push_back(scheme);
    writeBoth(names, schemes);
}

void SchemeStore::Delete(int position)
{
    const FolderLock lock(m_folder);
    finishInterruptedRewrite();
    auto names = ReadNames();
    if (position < 0 || static_cast<std::size_t>(position) >= names.size())
        return;
    auto schemes = readSchemes(names.size());
    names.erase(names.begin() + position);
    schemes.erase(schemes.begin() + position);
    writeBoth(names, schemes);
}

// Both files change together, and a crash at any point must leave them agreeing. The record
// file's temporary is created first and renamed first; the name file's temporary is complete
// and synced before that rename. So a "set.hct" without a "colorset.dam" beside it can only be
// a finished name file whose records are already in place, and the rewrite is completed by
// renaming it; in every other case the originals were never touched and the temporaries are
// dropped.
void SchemeStore::writeBoth(const std::vector<std::string>& names,
                            const std::vector<WebColorScheme>& schemes)
{
    const auto namePath = m_folder / nameFile;
    const auto recordPath = m_folder / recordFile;
    // Kept to put the records back should the name file fail after them.
    const auto oldRecords = readWholeFile(recordPath);

    AtomicRewrite recordRewrite(recordPath, m_folder / recordTemp);
    AtomicRewrite nameRewrite(namePath, m_folder / nameTemp);
    for (const auto& name : names)
        nameRewrite.write("\"" + name + "\"\r\n");
    nameRewrite.sync();
    for (const auto& scheme : schemes)
        recordRewrite.write(schemeRecord(scheme));

    recordRewrite.commit();
    try {
        nameRewrite.commit();
    } catch (...) {
        try {
            if (oldRecords)
                rewriteFile(recordPath, m_folder / recordTemp, *oldRecords);
            else
                std::filesystem::remove(recordPath);
        } catch (...) {
            // The name file's error is the one worth reporting.
        }
        throw;
    }
}

void SchemeStore::finishInterruptedRewrite() const
{
    const auto nameTempPath = m_folder / nameTemp;
    const auto recordTempPath = m_folder / recordTemp;
    struct stat st {
    };
    auto present = [&st](const std::filesystem::path& file) {
        return ::lstat(file.c_str(), &st) == 0;
    };
    if (!present(nameTempPath) && !present(recordTempPath))
        return;
    // A rewrite running in another copy holds the lock: wait for it, then look again.
    const FolderLock lock(m_folder);
    const bool nameTempIsFile = present(nameTempPath) && S_ISREG(st.st_mode);
    if (nameTempIsFile && !present(recordTempPath)) {
        // The sizes must agree as well, so that a stray file of that name is never taken in.
        const auto lines = splitLines(readWholeFile(nameTempPath).value_or("")).size();
        const auto records = readWholeFile(m_folder / recordFile).value_or("");
        if (records.size() == lines * recordSize &&
            ::rename(nameTempPath.c_str(), (m_folder / nameFile).c_str()) == 0)
            return;
    }
    discardStaleTemp(nameTempPath);
    discardStaleTemp(recordTempPath);
}
