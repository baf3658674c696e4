// huebench palette list | export | import: the palettes of the data folder, in and out.
#include "cli/Cli.h"

#include "palette/ImagePalette.h"
#include "palette/PaletteFormats.h"
#include "palette/PaletteStore.h"
#include "storage/SaveAs.h"
#include "storage/DataFolder.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <charconv>
#include <memory>
#include <optional>
#include <ostream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace
{

constexpr std::string_view verb = "palette";

// The extensions of the files palettes are imported from: ".gpl, .ase, .aco or .txt".
std::string readExtensions()
{
    std::vector<std::string> extensions;
    for (const auto& info : paletteFormats())
        if (info.read)
            for (const std::string_view extension : info.extensions)
                extensions.emplace_back(extension);
    std::string list;
    for (std::size_t i = 0; i < extensions.size(); ++i)
        list += (i == 0 ? "" : i + 1 == extensions.size() ? " or " : ", ") + extensions[i];
    return list;
}

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

int list(PaletteStore& store, CliIo& io)
{
    store.RepairFile();
    for (const auto& entry : store.ReadChartIndex())
        io.out << entry.file << '\t' << trimmedKind(entry.kind) << '\t'
               << recordsOf(store.folder(), entry.file) << '\t' << entry.title << '\n';
    return 0;
}

// What the palette commands take; the one given is the parsed subcommand.
struct PaletteArguments {
    std::string name, formatName, target; // export
    std::string file, title;              // import, from-image
    bool titled = false;
    std::string colors; // from-image
};

int exportPalette(const PaletteArguments& args, PaletteStore& store, CliIo& io)
{
    const std::optional<std::string> name = args.name;
    const std::optional<std::string> formatName = args.formatName;
    const std::optional<std::string> target =
        args.target.empty() ? std::nullopt : std::optional(args.target);
    const auto format = formatName ? formatNamed(*formatName) : std::nullopt;
    if (!format || !canWrite(*format))
        return UsageError(
            io, verb, "--format '" + formatName.value_or("") + "': expected " + formatNames(true));
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

int importPalette(const PaletteArguments& args, PaletteStore& store, CliIo& io)
{
    const std::optional<std::string> file = args.file;
    const std::optional<std::string> title = args.titled ? std::optional(args.title) : std::nullopt;
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

int fromImage(const PaletteArguments& args, CliContext& context)
{
    CliIo& io = context.io;
    int count = imageColorsDefault;
    if (!args.colors.empty()) {
        const auto n = wholeNumber(args.colors);
        if (!n || *n < imageColorsMin || *n > imageColorsMax)
            return UsageError(io, verb, "--colors '" + args.colors + "': expected 1-64");
        count = *n;
    }
    if (!context.readImage) {
        io.err << "huebench palette: images cannot be read here\n";
        return 1;
    }
    const ImagePaletteResult palette = PaletteOfImage(context.readImage, args.file, count);
    if (!palette.error.empty()) {
        io.err << "huebench palette: " << args.file << ": " << palette.error << '\n';
        return 2;
    }
    std::vector<bascommon::ColorValue> colors;
    for (const DominantColor& dominant : palette.colors)
        colors.push_back(dominant.color);
    PaletteStore store(context.resolveDataFolder(context.dataDir));
    std::string title = args.titled ? args.title : fs::path(args.file).stem().string();
    const std::string created = store.ImportPalette(title, colors);
    for (const auto& entry : store.ReadChartIndex())
        if (entry.file == created)
            title = entry.title;
    io.out << created << '\t' << title << '\n';
    for (const DominantColor& dominant : palette.colors)
        io.out << bascommon::HexRGB(dominant.color) << '\t' << dominant.pixels << '\n';
    return 0;
}

int runPalette(const std::string& command, const PaletteArguments& args, CliContext& context)
{
    CliIo& io = context.io;
    try {
        if (command == "from-image")
            return fromImage(args, context);
        PaletteStore store(context.resolveDataFolder(context.dataDir));
        if (command == "list")
            return list(store, io);
        if (command == "export")
            return exportPalette(args, store, io);
        return importPalette(args, store, io);
    } catch (const std::runtime_error& e) {
        io.err << "huebench palette: " << e.what() << '\n';
        return 1;
    }
}

// One line per format palettes are written in: "           gpl    GIMP palette".
std::string writtenFormatLines()
{
    std::string lines;
    for (const auto& info : paletteFormats())
        if (info.write)
            lines += "  " + std::string(info.name) +
                     std::string(info.name.size() < 7 ? 7 - info.name.size() : 1, ' ') +
                     std::string(info.caption) + "\n";
    return lines;
}

VerbRunner declarePalette(CLI::App& command)
{
    auto args = std::make_shared<PaletteArguments>();
    const auto declare = [&](const char* name, const char* summary) {
        CLI::App* sub = command.add_subcommand(name, summary);
        sub->fallthrough();
        sub->group("Commands");
        sub->set_help_flag("-h,--help", "print this help, then exit");
        return sub;
    };
    declare("list", "one line per palette: file, kind, color count, title");
    CLI::App* exporting = declare("export", "write a palette in a file format");
    exporting->add_option("PALETTE", args->name, "a title or a file name from the list")
        ->type_name("")
        ->required();
    exporting->add_option("--format", args->formatName, formatNames(true))
        ->type_name("FORMAT")
        ->required();
    exporting->add_option("-o", args->target, "the file to write; else standard output")
        ->type_name("FILE");
    CLI::App* importing = declare("import", "add a palette from a palette file");
    importing->add_option("FILE", args->file, "a " + readExtensions() + " file")
        ->type_name("")
        ->required();
    importing->add_option("--title", args->title, "the new palette's title; else the file's")
        ->type_name("TITLE")
        ->each([args](const std::string&) { args->titled = true; });
    CLI::App* fromImageCommand =
        declare("from-image", "add a palette of an image's dominant colors");
    fromImageCommand->add_option("FILE", args->file, "a PNG, JPEG, BMP, GIF or WebP image")
        ->type_name("")
        ->required();
    fromImageCommand->add_option("--colors", args->colors, "how many colors, 1-64 (default 8)")
        ->type_name("N");
    fromImageCommand->add_option("--title", args->title, "the new palette's title; else the file's")
        ->type_name("TITLE")
        ->each([args](const std::string&) { args->titled = true; });
    command.footer(
        "export writes the palette in display order, newest color first, to FILE, else to\n"
        "standard output, as FORMAT:\n" +
        writtenFormatLines() + "import adds a new palette from a file (" + readExtensions() +
        "),\n"
        "its first color in cell 0, titled TITLE or by the file; prints its file name and a\n"
        "summary.\n"
        "from-image adds a new palette of the N dominant colors of an image, found by k-means\n"
        "in OKLab (transparent pixels ignored), the largest first in cell 0; prints the\n"
        "palette's file and title, then each color with its pixel count.\n"
        "\n"
        "Exit status: 0 done, 2 usage error or a file that cannot be imported, 1 a file that\n"
        "cannot be read or written.\n");
    return [args, command = &command](CliContext& context) {
        for (const CLI::App* sub : command->get_subcommands())
            return runPalette(sub->get_name(), *args, context);
        return UsageError(context.io, verb, "expected list, export, import or from-image");
    };
}

} // namespace

extern const CliVerb paletteVerb{"palette", "list the palettes, export one, import a palette file",
                                 declarePalette};
