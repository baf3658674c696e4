// huebench palette list | export | import: the palettes of the data folder, in and out.
#include "cli/Cli.h"

#include "palette/PaletteFormats.h"
#include "palette/PaletteStore.h"
#include "storage/SaveAs.h"
#include "storage/DataFolder.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <ostream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace
{

constexpr std::string_view verb = "palette";

// The number of whole records without creating a missing file, as a listing must not.
std::uintmax_t recordsOf(const fs::path& folder, const std::string& file)
{
    std::error_code ec;
    const auto size = isPlainFileName(file) ? fs::file_size(folder / file, ec) : 0;
    return ec ? 0 : size / 6;
}

std::string trimmedKind(const std::string& kind)
{
    const auto first = kind.find_first_not_of(' ');
    return first == std::string::npos ? ""
                                      : kind.substr(first, kind.find_last_not_of(' ') - first + 1);
}

int list(const std::vector<std::string>& args, PaletteStore& store, CliIo& io)
{
    if (!args.empty())
        return UsageError(io, verb, "list takes no arguments, got '" + args[0] + "'");
    store.RepairFile();
    for (const auto& entry : store.ReadChartIndex())
        io.out << entry.file << '\t' << trimmedKind(entry.kind) << '\t'
               << recordsOf(store.folder(), entry.file) << '\t' << entry.title << '\n';
    return 0;
}

int exportPalette(const std::vector<std::string>& args, PaletteStore& store, CliIo& io)
{
    std::optional<std::string> name, formatName, target;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const bool valued = args[i] == "--format" || args[i] == "-o";
        if (valued && i + 1 >= args.size())
            return UsageError(io, verb, args[i] + " needs a value");
        if (args[i] == "--format")
            formatName = args[++i];
        else if (args[i] == "-o")
            target = args[++i];
        else if (!name && (args[i].empty() || args[i][0] != '-' || args[i] == "-"))
            name = args[i];
        else
            return UsageError(io, verb, "unexpected argument '" + args[i] + "'");
    }
    if (!name)
        return UsageError(io, verb,
                          "export needs a PALETTE: a title or a file name from the index");
    const auto format = formatName ? formatNamed(*formatName) : std::nullopt;
    if (!format || *format == PaletteFormat::Aco)
        return UsageError(io, verb,
                          "--format '" + formatName.value_or("") +
                              "': expected gpl, ase, css, json or txt");
    store.RepairFile();
    const auto entries = store.ReadChartIndex();
    auto found = std::find_if(entries.begin(), entries.end(),
                              [&](const ChartEntry& e) { return e.title == *name; });
    if (found == entries.end())
        found = std::find_if(entries.begin(), entries.end(),
                             [&](const ChartEntry& e) { return e.file == *name; });
    if (found == entries.end())
        return UsageError(io, verb,
                          "no palette titled or named '" + *name + "' (see huebench palette list)");
    const std::string bytes = store.ExportPalette(*found, *format);
    if (target)
        saveAs(*target, bytes);
    else
        io.out << bytes << std::flush;
    return 0;
}

int importPalette(const std::vector<std::string>& args, PaletteStore& store, CliIo& io)
{
    std::optional<std::string> file, title;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--title") {
            if (i + 1 >= args.size())
                return UsageError(io, verb, "--title needs a value");
            title = args[++i];
        } else if (!file && !args[i].empty() && args[i][0] != '-') {
            file = args[i];
        } else {
            return UsageError(io, verb, "unexpected argument '" + args[i] + "'");
        }
    }
    if (!file)
        return UsageError(io, verb, "import needs a FILE (.gpl, .ase, .aco or .txt)");
    auto result = readPaletteFile(*file);
    if (result.fault) {
        io.err << "huebench palette: " << faultMessage(*file, *result.fault) << '\n';
        return 2;
    }
    std::vector<bascommon::ColorValue> colors;
    colors.reserve(result.colors.size());
    for (const auto& swatch : result.colors)
        colors.push_back(swatch.color);
    const std::string created = store.ImportPalette(title.value_or(result.title), colors);
    for (const auto& entry : store.ReadChartIndex())
        if (entry.file == created)
            result.title = entry.title;
    io.out << created << '\t' << importSummary(result, result.title) << '\n';
    return 0;
}

std::optional<int> wholeNumber(const std::string& text)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() ? std::optional(value)
                                                                    : std::nullopt;
}

int fromImage(const std::vector<std::string>& args, CliContext& context)
{
    CliIo& io = context.io;
    std::optional<std::string> file, title;
    int count = imageColorsDefault;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const bool valued = args[i] == "--colors" || args[i] == "--title";
        if (valued && i + 1 >= args.size())
            return UsageError(io, verb, args[i] + " needs a value");
        if (args[i] == "--colors") {
            const auto n = wholeNumber(args[++i]);
            if (!n || *n < imageColorsMin || *n > imageColorsMax)
                return UsageError(io, verb, "--colors '" + args[i] + "': expected 1-64");
            count = *n;
        } else if (args[i] == "--title") {
            title = args[++i];
        } else if (!file && !args[i].empty() && args[i][0] != '-') {
            file = args[i];
        } else {
            return UsageError(io, verb, "unexpected argument '" + args[i] + "'");
        }
    }
    if (!file)
        return UsageError(io, verb, "from-image needs a FILE (PNG, JPEG, BMP, GIF or WebP)");
    if (!context.readImage) {
        io.err << "huebench palette: images cannot be read here\n";
        return 1;
    }
    const ImagePaletteResult palette = PaletteOfImage(context.readImage, *file, count);
    if (!palette.error.empty()) {
        io.err << "huebench palette: " << *file << ": " << palette.error << '\n';
        return 2;
    }
    std::vector<bascommon::ColorValue> colors;
    for (const DominantColor& dominant : palette.colors)
        colors.push_back(dominant.color);
    PaletteStore store(context.resolveDataFolder(context.dataDir));
    const std::string created =
        store.ImportPalette(title.value_or(fs::path(*file).stem().string()), colors);
    for (const auto& entry : store.ReadChartIndex())
        if (entry.file == created)
            title = entry.title;
    io.out << created << '\t' << title.value_or("") << '\n';
    for (const DominantColor& dominant : palette.colors)
        io.out << bascommon::HexRGB(dominant.color) << '\t' << dominant.pixels << '\n';
    return 0;
}

int runPalette(const std::vector<std::string>& args, CliContext& context)
{
    CliIo& io = context.io;
    if (args.empty())
        return UsageError(io, verb, "expected list, export, import or from-image");
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    const std::string& command = args[0];
    if (command != "list" && command != "export" && command != "import" && command != "from-image")
        return UsageError(
            io, verb, "unknown '" + command + "' (expected list, export, import or from-image)");
    try {
        if (command == "from-image")
            return fromImage(rest, context);
        PaletteStore store(context.resolveDataFolder(context.dataDir));
        if (command == "list")
            return list(rest, store, io);
        if (command == "export")
            return exportPalette(rest, store, io);
        return importPalette(rest, store, io);
    } catch (const std::runtime_error& e) {
        io.err << "huebench palette: " << e.what() << '\n';
        return 1;
    }
}

} // namespace

extern const CliVerb paletteVerb{
    "palette", "list the palettes, export one, import a palette file",
    "Usage: huebench [--data-dir DIR] palette list\n"
    "       huebench [--data-dir DIR] palette export PALETTE --format FORMAT [-o FILE]\n"
    "       huebench [--data-dir DIR] palette import FILE [--title TITLE]\n"
    "       huebench [--data-dir DIR] palette from-image FILE [--colors N] [--title TITLE]\n"
    "\n"
    "list     one line per palette: file, kind, color count, title (tab-separated)\n"
    "export   writes the palette (a title or a file name from the list) in display order,\n"
    "         newest color first, as FORMAT: gpl (GIMP), ase (Adobe swatch exchange),\n"
    "         css (custom properties), json (design tokens) or txt (one color a line);\n"
    "         to FILE, else to standard output\n"
    "import   adds a new palette from a .gpl, .ase, .aco or .txt file, its first color in\n"
    "         cell 0, titled TITLE or by the file; prints its file name and a summary\n"
    "from-image\n"
    "         adds a new palette of the N (1-64, default 8) dominant colors of a PNG, JPEG,\n"
    "         BMP, GIF or WebP image, found by k-means in OKLab (transparent pixels ignored),\n"
    "         the largest first in cell 0, titled TITLE or by the file name; prints the\n"
    "         palette's file and title, then each color with its pixel count\n"
    "\n"
    "Exit status: 0 done, 2 usage error or a file that cannot be imported, 1 a file that\n"
    "cannot be read or written.\n",
    runPalette};
