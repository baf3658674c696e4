#pragma once

#include "color/bascommon.h"
#include "palette/PaletteFormats.h"
#include "storage/DataFiles.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// One entry of the palette index "colorchart.cci": file name, title, kind ("0", "1", "2"),
// each exactly as read (the kind may carry spaces; compare it through kindOf).
struct ChartEntry {
    std::string file, title, kind;
};

// What a palette allows. Permanent ("0") and Recent ("2") entries are never removed by the
// program; User ("1") palettes are the ones the user created. Any other kind text is Other,
// which is allowed everything except being a target of "Add This Color To" and "Save To:".
enum class ChartKind { Permanent, User, Recent, Other };

// The kind of an entry, read after removing leading and trailing spaces.
ChartKind kindOf(const ChartEntry& entry);

// The palette index and the palette color files of one data folder.
//
// A palette color file is a sequence of 6-byte records "RRGGBB" (ASCII hexadecimal, upper or
// lower case), oldest first, numbered from 1; a trailing part record does not count. File
// names are the bare names of the index: one that is not a plain name inside the data folder
// (path separator, "..", absolute, empty), or that names one of the program's other files (the
// index, the scheme files, a temporary ".ctm"/".tmp"/".cct" file), is refused with
// std::runtime_error naming it.
// Every operation that cannot do its work throws std::runtime_error naming the file; a
// rewrite goes through a temporary file renamed over the original, so a failure or a crash
// leaves either the old or the new content. Every change runs under the folder's FolderLock,
// so two running copies on one folder take turns and neither loses the other's changes.
class PaletteStore
{
public:
    static constexpr std::string_view indexName = dataFiles::index;
    static constexpr std::string_view indexTempName = dataFiles::indexTemp;
    static constexpr std::string_view recentName = dataFiles::recent;
    static constexpr std::string_view firstName = dataFiles::firstPalette;

    explicit PaletteStore(std::filesystem::path folder);

    const std::filesystem::path& folder() const { return m_folder; }

    // Rewrites the index without lines that are empty or hold only spaces, every line ended by
    // CR LF (LF-only and CR-only line ends, and CR CR LF, are read as line ends too); other
    // lines stay byte for byte. Leaves the file alone when it is clean already.
    // A missing index, or one without a single whole entry, is rebuilt from the factory index
    // (followed by any lines it had), and palette files "c<number>.rgb" found in the folder
    // that the factory index does not list are added back as user palettes.
    void RepairFile();
    // The whole groups of three non-blank lines, in file order; lines after the last whole
    // group are kept in the file but not read. A missing index reads as empty.
    std::vector<ChartEntry> ReadChartIndex() const;
    // Adds a user palette (kind "1") at the end of the whole groups. Line breaks in the title
    // become spaces so that the entry stays three lines.
    void AppendChartEntry(const std::string& file, const std::string& title);
    // Removes the entry at 1-based position Index (1 or less: the first entry); a position
    // past the last entry changes nothing. The palette's color file stays (see ClearChartFile).
    void DeleteChart(int Index);

    // The file name the next new palette gets: NextChartFileName of the last entry, or, when
    // that name carries no number, "c" + (highest number of a c<number>.rgb in use) + 1; in
    // both cases moved on to the next number while the name is listed or exists as a file.
    std::string NewChartFileName() const;

    // Number of whole records, from the file size. A missing file is created empty (count 0).
    // Also discards temporary files an interrupted rewrite of this palette left behind.
    int CountColorRecords(const std::string& file);
    // Record n (from 1) as a color value (red in the low byte). A record that is not six
    // hexadecimal digits, a record number outside the file and a missing file read as white.
    bascommon::ColorValue ReadColorRecord(const std::string& file, int n);
    // Records first, first - 1, ..., down to first - amount + 1 (newest first, as a page shows
    // them), read in one pass; each as ReadColorRecord would read it.
    std::vector<bascommon::ColorValue> ReadColorRecordsDown(const std::string& file, int first,
                                                            int amount);
    // Appends the record for a "#RRGGBB" text right behind the last whole record (a trailing
    // part record is overwritten), creating the file when missing. Never reads the records.
    void AppendColorRecord(const std::string& file, const std::string& colorText);
    // Removes record n. `count` is the caller's record count; the file's own whole records are
    // what is kept, so no record is lost when the two differ. A record number outside the file
    // changes nothing.
    void DeleteColorRecord(const std::string& file, int n, int count);
    // Keeps the first occurrence of each record in file order, comparing the 6 bytes as exact
    // text (ff0000 and FF0000 differ). Fewer than two records: nothing is touched.
    void RemoveDuplicateRecords(const std::string& file, int count);
    // Deletes the palette's color file (a missing file is fine); the palette then reads empty.
    void ClearChartFile(const std::string& file);

    // Creates a user palette (kind "1") titled `title` (a blank title: "Imported palette") whose
    // cells show `colors` in the order given from cell 0 on: the records are written last to
    // first. The color file is written in full through a temporary file renamed into place
    // before the index entry is appended, so a crash leaves no new palette or the whole one.
    // Returns the new palette's file name.
    std::string ImportPalette(const std::string& title,
                              const std::vector<bascommon::ColorValue>& colors);
    // Every record of the palette newest first: the order of its cells from cell 0 of page 1.
    std::vector<bascommon::ColorValue> ReadDisplayOrder(const std::string& file);
    // The palette `entry` in display order as a whole file in `format` (not Aco).
    std::string ExportPalette(const ChartEntry& entry, PaletteFormat format);

    // The index the program is installed with.
    static std::string_view factoryIndexText();

private:
    std::filesystem::path pathOf(std::string_view file) const;
    std::filesystem::path palettePath(std::string_view file) const;
    void writeIndexLines(const std::vector<std::string>& lines);
    void rebuildIndex(const std::vector<std::string>& keptLines);

    std::filesystem::path m_folder;
};

// The file name after the last entry's: its last four characters (".rgb") and its first ("c")
// removed, the rest read as a decimal number N, the result "c" + (N + 1) + ".rgb" (c9.rgb gives
// c10.rgb). "" when the rest is not a number.
std::string NextChartFileName(const ChartEntry& last);
