#include "palette/PaletteStore.h"

#include "palette/FactoryIndex.h"
#include "storage/AtomicFile.h"
#include "storage/DataFolder.h"
#include "storage/FolderLock.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <optional>
#include <set>
#include <stdexcept>
#include <unordered_set>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using bascommon::ColorValue;

namespace
{

constexpr std::size_t recordSize = 6;
constexpr ColorValue white = 0xFFFFFF;
// Records moved per read while streaming a rewrite: large enough to keep system calls rare,
// small enough that a huge palette never sits in memory.
constexpr std::size_t chunkRecords = 8192;

// The index the program is installed with.
constexpr std::string_view factoryIndex = factoryIndexBytes;

std::string_view trimSpaces(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

bool isBlankLine(std::string_view line)
{
    return trimSpaces(line).empty();
}

std::vector<std::string> nonBlankLines(std::string_view text)
{
    auto lines = splitLines(text);
    std::erase_if(lines, [](const std::string& line) { return isBlankLine(line); });
    return lines;
}

std::string joinCrLf(const std::vector<std::string>& lines)
{
    std::string text;
    for (const auto& line : lines)
        text.append(line).append("\r\n");
    return text;
}

// "RRGGBB" as a color value with red in the low byte; white when a digit is not hexadecimal.
ColorValue recordColor(const char* record)
{
    int value = 0;
    for (std::size_t field = 0; field < 3; ++field) {
        const int high = bascommon::hexDigitValue(record[2 * field]);
        const int low = bascommon::hexDigitValue(record[2 * field + 1]);
        if (high < 0 || low < 0)
            return white;
        value |= (high * 16 + low) << (8 * field);
    }
    return value;
}

// The number a palette file name carries between its first character and its last four
// ("c12.rgb" carries 12): 1 to 18 decimal digits, else nothing.
std::optional<unsigned long long> numberInName(std::string_view name)
{
    if (name.size() < 6)
        return std::nullopt;
    const auto digits = name.substr(1, name.size() - 5);
    if (digits.size() > 18 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return std::stoull(std::string(digits));
}

// The number of a palette file the program names itself, "c<number>.rgb".
std::optional<unsigned long long> chartNumber(std::string_view name)
{
    if (name.empty() || name.front() != 'c' || !name.ends_with(".rgb"))
        return std::nullopt;
    return numberInName(name);
}

std::string chartName(unsigned long long number)
{
    return "c" + std::to_string(number) + ".rgb";
}

std::uint64_t fileSize(const FileHandle& file, const fs::path& path)
{
    struct stat st {
    };
    if (::fstat(file.get(), &st) != 0)
        throwFileError("read", path, errno);
    if (S_ISDIR(st.st_mode))
        throwFileError("read", path, EISDIR);
    return static_cast<std::uint64_t>(st.st_size);
}

// Opens a palette file for reading; an invalid handle when it does not exist.
FileHandle openPalette(const fs::path& path)
{
    FileHandle file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!file && errno != ENOENT)
        throwFileError("open", path, errno);
    return file;
}

int recordCount(std::uint64_t size)
{
    return static_cast<int>(std::min<std::uint64_t>(size / recordSize, INT_MAX));
}

// Streams every whole record of `source` through `visit(record)` in file order, a chunk at a
// time, never holding more than one chunk.
template <typename Visit>
void forEachRecord(const FileHandle& source, const fs::path& path, std::uint64_t records,
                   Visit&& visit)
{
    std::vector<char> chunk(chunkRecords * recordSize);
    for (std::uint64_t first = 0; first < records; first += chunkRecords) {
        const auto amount =
            static_cast<std::size_t>(std::min<std::uint64_t>(chunkRecords, records - first));
        const std::size_t bytes = amount * recordSize;
        if (readAt(source.get(), path, chunk.data(), bytes, first * recordSize) != bytes)
            throwFileError("read", path, EIO); // the file shrank while it was copied
        for (std::size_t i = 0; i < amount; ++i)
            visit(std::string_view(chunk.data() + i * recordSize, recordSize), first + i);
    }
}

} // namespace

ChartKind kindOf(const ChartEntry& entry)
{
    const auto kind = trimSpaces(entry.kind);
    if (kind == "0")
        return ChartKind::Permanent;
    if (kind == "1")
        return ChartKind::User;
    if (kind == "2")
        return ChartKind::Recent;
    return ChartKind::Other;
}

PaletteStore::PaletteStore(fs::path folder) : m_folder(std::move(folder)) {}

std::string_view PaletteStore::factoryIndexText()
{
    return factoryIndex;
}

fs::path PaletteStore::pathOf(std::string_view file) const
{
    return dataFilePath(m_folder, file);
}

fs::path PaletteStore::palettePath(std::string_view file) const
{
    // A hand-edited index must never make a palette command overwrite or delete the index, the
    // scheme files, the lock or the temporary file of a rewrite.
    if (dataFiles::isReservedName(file))
        throw std::runtime_error(
            "refusing to use \"" + std::string(file) +
            "\" as a palette file: the program keeps other data under that name");
    return pathOf(file);
}

void PaletteStore::writeIndexLines(const std::vector<std::string>& lines)
{
    rewriteFile(pathOf(indexName), pathOf(indexTempName), joinCrLf(lines));
}

void PaletteStore::rebuildIndex(const std::vector<std::string>& keptLines)
{
    auto lines = nonBlankLines(factoryIndex);
    std::set<std::string> listed;
    for (std::size_t i = 0; i < lines.size(); i += 3)
        listed.insert(lines[i]);
    // Palettes the user made are files c<N>.rgb; list those the factory index does not know so
    // that losing the index does not hide them. A folder that cannot be listed is an error: an
    // index rebuilt without them would hide them for good. (A missing folder fails at the write.)
    std::vector<std::pair<unsigned long long, std::string>> found;
    std::error_code ec;
    fs::directory_iterator items(m_folder, ec);
    for (; !ec && items != fs::directory_iterator(); items.increment(ec)) {
        const std::string name = items->path().filename().string();
        const auto number = chartNumber(name);
        if (!number || listed.contains(name))
            continue;
        if (items->is_regular_file(ec))
            found.emplace_back(*number, name);
        if (ec == std::errc::no_such_file_or_directory) // gone meanwhile, or a dangling link
            ec.clear();
    }
    if (ec && ec != std::errc::no_such_file_or_directory)
        throwFileError("list the files of", m_folder, ec.value());
    std::sort(found.begin(), found.end());
    for (const auto& [number, name] : found)
        lines.insert(lines.end(), {name, "Recovered palette " + name, "1"});
    lines.insert(lines.end(), keptLines.begin(), keptLines.end());
    writeIndexLines(lines);
}

void PaletteStore::RepairFile()
{
    const FolderLock lock(m_folder);
    const fs::path index = pathOf(indexName);
    discardStaleTemp(pathOf(indexTempName));
    const auto text = readWholeFile(index);
    if (!text) {
        rebuildIndex({});
        return;
    }
    const auto lines = nonBlankLines(*text);
    if (lines.size() < 3) {
        rebuildIndex(lines);
        return;
    }
    if (joinCrLf(lines) != *text)
        writeIndexLines(lines);
}

std::vector<ChartEntry> PaletteStore::ReadChartIndex() const
{
    const auto text = readWholeFile(pathOf(indexName));
    if (!text)
        return {};
    const auto lines = nonBlankLines(*text);
    std::vector<ChartEntry> entries;
    for (std::size_t i = 0; i + 3 <= lines.size(); i += 3)
        entries.push_back({lines[i], lines[i + 1], lines[i + 2]});
    return entries;
}

void PaletteStore::AppendChartEntry(const std::string& file, const std::string& title)
{
    palettePath(file); // refuses a name that is not a palette file name
    std::string oneLineTitle = title;
    std::replace_if(
        oneLineTitle.begin(), oneLineTitle.end(), [](char c) { return c == '\r' || c == '\n'; },
        ' ');
    const std::vector<std::string> entry{file, oneLineTitle, "1"};

    const FolderLock lock(m_folder);
    const fs::path index = pathOf(indexName);
    auto text = readWholeFile(index);
    if (!text || nonBlankLines(*text).size() < 3) {
        RepairFile();
        text = readWholeFile(index);
    }
    const std::string content = text.value_or("");
    const auto lines = nonBlankLines(content);
    const std::size_t whole = lines.size() - lines.size() % 3;
    const bool endsLine = content.empty() || content.back() == '\n';
    if (whole == lines.size() && endsLine) {
        appendToFile(index, joinCrLf(entry));
        return;
    }
    // Lines after the last whole group, or a last line without its line end, would swallow a
    // plain append: put the new group behind the whole groups and keep the rest after it.
    std::vector<std::string> rewritten(lines.begin(),
                                       lines.begin() + static_cast<std::ptrdiff_t>(whole));
    rewritten.insert(rewritten.end(), entry.begin(), entry.end());
    rewritten.insert(rewritten.end(), lines.begin() + static_cast<std::ptrdiff_t>(whole),
                     lines.end());
    writeIndexLines(rewritten);
}

void PaletteStore::DeleteChart(int Index)
{
    const FolderLock lock(m_folder);
    const fs::path index = pathOf(indexName);
    discardStaleTemp(pathOf(indexTempName));
    const auto text = readWholeFile(index);
    if (!text)
        return;
    auto lines = nonBlankLines(*text);
    const std::size_t position = Index < 2 ? 1 : static_cast<std::size_t>(Index);
    if (position > lines.size() / 3)
        return;
    const auto first = lines.begin() + static_cast<std::ptrdiff_t>((position - 1) * 3);
    lines.erase(first, first + 3);
    writeIndexLines(lines);
}

std::string NextChartFileName(const ChartEntry& last)
{
    const auto number = numberInName(last.file);
    return number ? chartName(*number + 1) : std::string();
}

std::string PaletteStore::NewChartFileName() const
{
    const auto entries = ReadChartIndex();
    std::set<std::string> listed;
    for (const auto& entry : entries)
        listed.insert(entry.file);
    auto inUse = [&](const std::string& name) {
        std::error_code ec;
        return listed.contains(name) || fs::exists(m_folder / name, ec);
    };

    std::string name = entries.empty() ? std::string() : NextChartFileName(entries.back());
    std::optional<unsigned long long> number = chartNumber(name);
    if (!number) {
        unsigned long long highest = 0;
        for (const auto& entry : entries)
            highest = std::max(highest, chartNumber(entry.file).value_or(0));
        std::error_code ec;
        for (const auto& item : fs::directory_iterator(m_folder, ec))
            highest = std::max(highest, chartNumber(item.path().filename().string()).value_or(0));
        number = highest + 1;
    }
    while (inUse(chartName(*number)))
        ++*number;
    return chartName(*number);
}

int PaletteStore::CountColorRecords(const std::string& file)
{
    const fs::path path = palettePath(file);
    const FolderLock lock(m_folder);
    discardStaleTemp(pathOf(file + std::string(dataFiles::deleteTempSuffix)));
    discardStaleTemp(pathOf(file + std::string(dataFiles::cleanTempSuffix)));
    FileHandle handle(::open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0644));
    if (!handle)
        throwFileError("open", path, errno);
    return recordCount(fileSize(handle, path));
}

ColorValue PaletteStore::ReadColorRecord(const std::string& file, int n)
{
    const auto colors = ReadColorRecordsDown(file, n, 1);
    return colors.front();
}

std::vector<ColorValue> PaletteStore::ReadColorRecordsDown(const std::string& file, int first,
                                                           int amount)
{
    std::vector<ColorValue> colors(static_cast<std::size_t>(std::max(amount, 0)), white);
    const fs::path path = palettePath(file);
    const FileHandle handle = openPalette(path);
    if (!handle || colors.empty())
        return colors;
    // Records lowest..first hold the page; read them in one piece from the file.
    const long long lowest = std::max(1LL, static_cast<long long>(first) - amount + 1);
    if (first < 1)
        return colors;
    const auto span = static_cast<std::size_t>(first - lowest + 1);
    std::vector<char> bytes(span * recordSize);
    const auto offset = static_cast<std::uint64_t>(lowest - 1) * recordSize;
    const std::size_t got = readAt(handle.get(), path, bytes.data(), bytes.size(), offset);
    for (std::size_t i = 0; i < span; ++i) {
        const std::size_t at = (span - 1 - i) * recordSize; // record first - i
        if (at + recordSize <= got)
            colors[i] = recordColor(bytes.data() + at);
    }
    return colors;
}

void PaletteStore::AppendColorRecord(const std::string& file, const std::string& colorText)
{
    if (colorText.size() < 7)
        throw std::invalid_argument("not a #RRGGBB color text: " + colorText);
    const fs::path path = palettePath(file);
    const FolderLock lock(m_folder);
    FileHandle handle(::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644));
    if (!handle)
        throwFileError("open", path, errno);
    // Right behind the last whole record, so that a part record left by an interrupted write
    // is overwritten rather than shifting every later record.
    const std::uint64_t end = fileSize(handle, path) / recordSize * recordSize;
    const std::string_view record(colorText.data() + 1, recordSize);
    writeAll(handle.get(), record, path, end);
}

void PaletteStore::DeleteColorRecord(const std::string& file, int n, int /*count*/)
{
    const fs::path path = palettePath(file);
    const fs::path temp = pathOf(file + std::string(dataFiles::deleteTempSuffix));
    const FolderLock lock(m_folder);
    const FileHandle source = openPalette(path);
    if (!source)
        return;
    const std::uint64_t records = fileSize(source, path) / recordSize;
    if (n < 1 || static_cast<std::uint64_t>(n) > records)
        return;
    const auto skipped = static_cast<std::uint64_t>(n - 1);
    AtomicRewrite rewrite(path, temp);
    forEachRecord(source, path, records, [&](std::string_view record, std::uint64_t index) {
        if (index != skipped)
            rewrite.write(record);
    });
    rewrite.commit();
}

void PaletteStore::RemoveDuplicateRecords(const std::string& file, int /*count*/)
{
    const fs::path path = palettePath(file);
    const fs::path temp = pathOf(file + std::string(dataFiles::cleanTempSuffix));
    const FolderLock lock(m_folder);
    const FileHandle source = openPalette(path);
    if (!source)
        return;
    const std::uint64_t records = fileSize(source, path) / recordSize;
    if (records < 2)
        return;
    // Keyed by the exact six bytes, so the result is the same as comparing each record with
    // every kept one as text, in time proportional to the record count.
    std::unordered_set<std::uint64_t> seen;
    seen.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(records, 1u << 24)));
    AtomicRewrite rewrite(path, temp);
    forEachRecord(source, path, records, [&](std::string_view record, std::uint64_t) {
        std::uint64_t key = 0;
        for (const char c : record)
            key = key << 8 | static_cast<unsigned char>(c);
        if (seen.insert(key).second)
            rewrite.write(record);
    });
    rewrite.commit();
}

void PaletteStore::ClearChartFile(const std::string& file)
{
    const fs::path path = palettePath(file);
    const FolderLock lock(m_folder);
    if (::unlink(path.c_str()) != 0 && errno != ENOENT)
        throwFileError("delete", path, errno);
}
