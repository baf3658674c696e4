#pragma once

#include "color/bascommon.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// The six colors of a web color scheme, each a color value (red in the low byte).
struct WebColorScheme {
    bascommon::ColorValue Background, Text, NormalLink, VisitedLink, ActiveLink, HoverLink;

    friend bool operator==(const WebColorScheme&, const WebColorScheme&) = default;
};

struct NamedScheme {
    std::string name;
    WebColorScheme colors;
};

// The schemes installed with the program, in list order. The first, a white page with black
// text and blue links, also supplies the colors of any record field that cannot be read.
const std::vector<NamedScheme>& factorySchemes();

// The saved schemes of one data folder: names in "set.hcs", colors in "colorset.dat".
//
// "set.hcs" holds one line per scheme, ended by CR LF: the name between double quotes, with no
// escaping. A reader removes only the first and the last character of each line, so quotes and
// commas inside a name survive; a line shorter than two characters is a scheme with an empty
// name. LF-only and CR-only line ends, and CR CR LF, are accepted on reading.
//
// "colorset.dat" holds one 36-byte record per scheme, in the same order, fields Text,
// Background, NormalLink, VisitedLink, ActiveLink, HoverLink, each six hexadecimal digits
// BBGGRR (written upper case, read in either case). A field that is missing or is not six
// hexadecimal digits reads as that field of the first factory scheme; the other fields of the
// record keep their stored colors.
//
// Append and Delete rewrite both files through "set.hct" and "colorset.dam" and leave them
// holding exactly one record per name, even when the files disagreed before: missing records
// are filled with the factory colors, records beyond the last name are dropped. A file that
// cannot be read or written throws std::runtime_error naming the file; both files then keep
// their old content. A crash at any point of a rewrite leaves both files as they were or both
// as rewritten: the next operation, a reading one included, finishes or drops what the crash
// left. Changes run under the folder's FolderLock, so running copies take turns.
class SchemeStore
{
public:
    explicit SchemeStore(std::filesystem::path folder);

    const std::filesystem::path& folder() const { return m_folder; }

    // Start-up repair: finishes or drops what an interrupted rewrite left, and writes the
    // factory schemes into both files when "set.hcs" is missing or holds no line, so that the
    // list always has a scheme at position 0.
    void ensureSchemes();

    // The names in file order; empty when "set.hcs" is missing.
    std::vector<std::string> ReadNames() const;
    // The colors of the scheme at list position `position` (record position + 1); a position
    // outside the file reads as the first factory scheme.
    WebColorScheme ReadScheme(int position) const;
    // Adds a scheme as the last entry. Line breaks inside the name become spaces, since the
    // name file has one name per line.
    void Append(const std::string& name, const WebColorScheme& scheme);
    // Removes the scheme at `position`; the others keep their order. A position outside the
    // names leaves both files unchanged.
    void Delete(int position);

private:
    std::vector<WebColorScheme> readSchemes(std::size_t count) const;
    void writeBoth(const std::vector<std::string>& names,
                   const std::vector<WebColorScheme>& schemes);
    void finishInterruptedRewrite() const;

    std::filesystem::path m_folder;
};

// One 36-character record: Text, Background, NormalLink, VisitedLink, ActiveLink, HoverLink,
// each BBGGRR in upper case.
std::string schemeRecord(const WebColorScheme& scheme);
// Reads one record (the first 36 characters of `record`, fewer when it is short); unreadable
// fields take the first factory scheme's colors.
WebColorScheme parseSchemeRecord(std::string_view record);
