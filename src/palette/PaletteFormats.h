#pragma once

#include "color/bascommon.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Palette files of other programs: readers for GIMP palettes, Adobe swatch exchange, Photoshop
// swatches and plain text, writers for GIMP palettes, Adobe swatch exchange, plain text, CSS
// custom properties and design tokens JSON. Readers work on the bytes of a whole file and never
// throw for malformed content: rows and blocks they cannot use are skipped and listed, and a
// fault in the structure of the file stops the reading with its byte offset.

enum class PaletteFormat { Gpl, Ase, Aco, Txt, Css, Json };

// A file larger than this, or holding more colors, is refused before it is read in whole.
inline constexpr std::uint64_t maxPaletteFileBytes = std::uint64_t{64} << 20;
inline constexpr std::size_t maxPaletteColors = 1'000'000;

struct SwatchColor {
    bascommon::ColorValue color;
    std::string name; // UTF-8; "" when the file gives none
};

// A line or block a reader left out, and why ("value over 255", "color model "Spot" not
// supported").
struct SkippedPart {
    std::uint64_t where; // line number from 1 in text formats, byte offset from 0 in binary ones
    std::string reason;
};

// What kind of fault stopped the reading, for a message in plain words.
enum class FaultKind {
    NotThisFormat, // the content is not what the extension says
    CutShort,      // the file ends before its last color
    Damaged,       // a block or record inside the file contradicts itself
    Unsupported,   // a version of the format that is not read
    TooLarge,      // over maxPaletteFileBytes or maxPaletteColors
    NoColor,       // nothing in the file is a color
    NotRead,       // a format palettes are not imported from, or no known format at all
    NotAFile,      // a folder or a device
};

// A fault in the structure of a file: nothing of it is to be used.
struct PaletteFault {
    std::optional<std::uint64_t> offset; // byte offset from 0 where the fault was found
    std::string reason;                  // "block length 400 runs past the end of the file"
    FaultKind kind = FaultKind::Damaged;
    // What happened in plain words, set by readPaletteFile: "it ends before its last color".
    std::string plain;
};

struct PaletteReadResult {
    std::string title;               // the palette's name inside the file (UTF-8); "" when none
    std::vector<SwatchColor> colors; // in file order; groups are flattened
    std::vector<SkippedPart> skipped;
    bool lineNumbers = true; // skipped[].where counts lines (text formats) or bytes (binary)
    std::optional<PaletteFault> fault; // set: colors and skipped are empty
};

// GIMP palette: first line "GIMP Palette"; "Name:" gives the title, "Columns:" is ignored;
// blank lines and lines starting with "#" are ignored; rows "R G B [name]" with components
// 0-255 separated by spaces or tabs. A row that is not three such numbers is skipped.
PaletteReadResult readGpl(std::string_view bytes);
// Adobe swatch exchange (big-endian): "ASEF", version 1.x or 0.1, a block count, blocks of a
// 16-bit type and a 32-bit length. Color blocks in the models RGB, CMYK (device CMYK from the
// file's fractions, rounded once), LAB (CIELAB D50, L 0-1, a and b as is, gamut-mapped) and Gray
// (0 black, 1 white); values outside a model's range are clipped. Group starts (with a name, an
// empty name or an empty block) and ends are flattened; the first group's name is the title.
// Blocks of other types and colors of other models are skipped.
PaletteReadResult readAse(std::string_view bytes);
// Photoshop swatches: a version 1 section and an optional version 2 section of the same colors
// with names (the version 2 section is used when present), 16-bit big-endian words. Color
// spaces RGB (0-65535), HSB (hue 0-65535 for 0-360 degrees), CMYK (65535 no ink, device CMYK
// as for swatch exchange), Lab (L 0-10000, a and b signed hundredths, D50) and Grayscale (0-10000
// ink, 0 white); other color spaces are skipped.
PaletteReadResult readAco(std::string_view bytes);
// Plain text: one color per line in any form the color parser reads; blank lines and lines
// starting with "//" or ";" are ignored; other lines that are no color are skipped.
PaletteReadResult readTxt(std::string_view bytes);

// One palette file format, with everything that differs from one format to the next. The File
// menu's dialogs, the command line's palette verbs and the fuzz targets all read this table.
struct PaletteFormatInfo {
    PaletteFormat format;
    std::string_view name;                        // on the command line: "gpl"
    std::span<const std::string_view> extensions; // with the dot, lower case; the first is written
    std::string_view caption;                     // in file dialogs: "GIMP palette"
    std::string_view fileNoun;                    // in messages: "a GIMP palette"
    PaletteReadResult (*read)(std::string_view bytes); // nullptr: palettes are not read from it
    std::string (*write)(std::string_view title, const std::vector<bascommon::ColorValue>& colors);
    // True when the bytes carry the format's own mark (a signature, a header); nullptr for a
    // format that is never read. Plain text, last, takes any bytes without a NUL.
    bool (*recognises)(std::string_view bytes);
};

// Every format, readable ones first in the order their content is recognised.
std::span<const PaletteFormatInfo> paletteFormats();
const PaletteFormatInfo& formatInfo(PaletteFormat format);

// The format named on the command line ("gpl", "ase", ...), of any use.
std::optional<PaletteFormat> formatNamed(std::string_view name);
// The format a file's extension names, in any case; nullopt for other extensions.
std::optional<PaletteFormat> formatOfFile(const std::filesystem::path& file);
// The first format, in table order, that recognises the bytes; nullopt when none does.
std::optional<PaletteFormat> formatOfContent(std::string_view bytes);
bool canRead(PaletteFormat format);
bool canWrite(PaletteFormat format);
// The names of the formats read (or written), as the command line lists them: "gpl, ase, aco or
// txt".
std::string formatNames(bool written);
// A file dialog's filter of the formats read (with all of them first and "All files" last) or
// written: "GIMP palette (*.gpl);;...".
std::string fileDialogFilter(bool written);
// The format of a filter entry of fileDialogFilter(true) ("Design tokens (*.json *.tokens)").
std::optional<PaletteFormat> formatOfFilter(std::string_view filterEntry);

// Reads a palette file by its extension (a file of another extension by its content, see
// formatOfContent). A file that yields no color is refused as well (FaultKind::NoColor), and
// every fault gets its plain words. A file over maxPaletteFileBytes is
// refused by its size before it is read. The title falls back to the file name without its
// extension. Throws std::runtime_error naming the file when it cannot be read.
PaletteReadResult readPaletteFile(const std::filesystem::path& file);

// The whole file in `format` (one that canWrite; others throw std::invalid_argument) for a palette
// titled `title` whose colors, in the order given, are `colors`: GIMP palettes and text end lines
// with LF; Adobe swatch exchange holds one group named after the palette of RGB colors; CSS is
// ":root {", one "  --<slug>-<n>: #rrggbb;" a line (n from 1), "}"; design tokens hold a group
// named after the palette with one color token "<slug>-<n>" per color (srgb components 0-1 and
// hex).
std::string writePalette(PaletteFormat format, std::string_view title,
                         const std::vector<bascommon::ColorValue>& colors);
// The Adobe swatch exchange case of writePalette.
std::string writeAse(std::string_view title, const std::vector<bascommon::ColorValue>& colors);

// The title as a CSS identifier part: ASCII letters (lower case) and digits, every other run of
// characters one "-", none at either end; "palette" when nothing is left.
std::string paletteSlug(std::string_view title);
// Text as UTF-8: kept when it is valid UTF-8, else read as Latin-1 (an index written by an
// 8-bit program).
std::string asUtf8(std::string_view text);

// The summary of an import, one sentence per line: the colors read, then the lines or blocks
// skipped and why, the first ten of them listed by line number or offset.
std::string importSummary(const PaletteReadResult& result, std::string_view title);
// "Nothing was imported from <file name>: <plain words>." then `separator`, then the detail
// "(<reason> at offset N)" (without the offset when the fault has none).
std::string faultMessage(const std::filesystem::path& file, const PaletteFault& fault,
                         std::string_view separator = " ");
