#include "palette/PaletteFormats.h"

#include "palette/TextLines.h"
#include "storage/AtomicFile.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <stdexcept>
#include <variant>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using bascommon::ColorValue;

namespace
{

PaletteReadResult faulty(std::optional<std::uint64_t> offset, std::string reason)
{
    PaletteReadResult result;
    result.fault = PaletteFault{offset, std::move(reason)};
    return result;
}

// One number of a GIMP palette row: the reason it cannot be a component, or nothing.
std::optional<std::string> componentFault(std::string_view token, int& value)
{
    long long number = 0;
    const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), number);
    if (end != token.data() + token.size() || token.empty())
        return "not a color row (expected R G B from 0 to 255)";
    if (error == std::errc::result_out_of_range || number > 255)
        return "value over 255";
    if (number < 0)
        return "negative value";
    value = static_cast<int>(number);
    return std::nullopt;
}

// A GIMP palette color row: the color with its name, or the reason it is skipped.
std::variant<SwatchColor, std::string> gplRow(std::string_view line)
{
    std::array<int, 3> rgb{};
    for (int& value : rgb) {
        line = trimBlanks(line);
        const std::size_t end = std::min(line.find_first_of(" \t"), line.size());
        if (const auto fault = componentFault(line.substr(0, end), value))
            return *fault;
        line.remove_prefix(end);
    }
    return SwatchColor{bascommon::RGB(rgb[0], rgb[1], rgb[2]), asUtf8(trimBlanks(line))};
}

std::string jsonEscaped(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            static constexpr char digits[] = "0123456789abcdef";
            out += "\\u00";
            out += digits[c >> 4];
            out += digits[c & 0xF];
        } else {
            out += c;
        }
    }
    return out;
}

std::string lowerHex(ColorValue color)
{
    std::string text = bascommon::HexRGB(color);
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string shortest(double value)
{
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    return std::string(buffer, end);
}

std::string oneLine(std::string_view text)
{
    std::string line(text);
    std::replace_if(
        line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return line;
}

std::string writeGpl(std::string_view title, const std::vector<ColorValue>& colors)
{
    std::string out = "GIMP Palette\nName: " + oneLine(asUtf8(title)) + "\n#\n";
    char row[32];
    for (const ColorValue color : colors) {
        std::snprintf(row, sizeof row, "%3d %3d %3d\t", bascommon::GetRed(color),
                      bascommon::GetGreen(color), bascommon::GetBlue(color));
        out.append(row).append(bascommon::HexRGB(color)).append("\n");
    }
    return out;
}

std::string writeTxt(std::string_view title, const std::vector<ColorValue>& colors)
{
    std::string out = "// " + oneLine(asUtf8(title)) + "\n";
    for (const ColorValue color : colors)
        out.append(bascommon::HexRGB(color)).append("\n");
    return out;
}

std::string writeCss(std::string_view title, const std::vector<ColorValue>& colors)
{
    const std::string slug = paletteSlug(title);
    std::string out = ":root {\n";
    for (std::size_t i = 0; i < colors.size(); ++i)
        out.append("  --" + slug + "-" + std::to_string(i + 1) + ": " + lowerHex(colors[i]) +
                   ";\n");
    return out + "}\n";
}

// Token and group names may not start with "$" nor hold "{", "}" or ".".
std::string tokenGroupName(std::string_view title)
{
    std::string name = oneLine(asUtf8(title));
    std::replace_if(
        name.begin(), name.end(), [](char c) { return c == '{' || c == '}' || c == '.'; }, '-');
    name.erase(0, name.find_first_not_of('$'));
    return name.empty() ? "palette" : name;
}

std::string writeJson(std::string_view title, const std::vector<ColorValue>& colors)
{
    const std::string slug = paletteSlug(title);
    std::string out = "{\n  \"" + jsonEscaped(tokenGroupName(title)) + "\": {";
    for (std::size_t i = 0; i < colors.size(); ++i) {
        const ColorValue color = colors[i];
        out += i == 0 ? "\n" : ",\n";
        out += "    \"" + slug + "-" + std::to_string(i + 1) + "\": {\n";
        out += "      \"$type\": \"color\",\n";
        out += "      \"$value\": {\n        \"colorSpace\": \"srgb\",\n";
        out += "        \"components\": [" + shortest(bascommon::GetRed(color) / 255.0) + ", " +
               shortest(bascommon::GetGreen(color) / 255.0) + ", " +
               shortest(bascommon::GetBlue(color) / 255.0) + "],\n";
        out += "        \"hex\": \"" + lowerHex(color) + "\"\n      }\n    }";
    }
    return out + (colors.empty() ? "}\n}\n" : "\n  }\n}\n");
}

// The format of a file whose extension says nothing, from its first bytes.
PaletteFormat sniffFormat(std::string_view bytes)
{
    if (bytes.starts_with("ASEF"))
        return PaletteFormat::Ase;
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    return bytes.starts_with("GIMP Palette") ? PaletteFormat::Gpl : PaletteFormat::Txt;
}

} // namespace

PaletteReadResult readGpl(std::string_view bytes)
{
    if (const auto nul = bytes.find('\0'); nul != std::string_view::npos)
        return faulty(nul, "not a text file (a NUL byte)");
    PaletteReadResult result;
    std::optional<PaletteFault> fault;
    forEachLine(bytes, [&](std::string_view line, std::uint64_t number, std::uint64_t offset) {
        line = trimBlanks(line);
        if (number == 1) {
            if (line != "GIMP Palette")
                fault =
                    PaletteFault{0, "not a GIMP palette (the first line is not \"GIMP Palette\")"};
            return !fault;
        }
        if (line.empty() || line.starts_with('#') || line.starts_with("Columns:"))
            return true;
        if (line.starts_with("Name:")) {
            result.title = asUtf8(trimBlanks(line.substr(5)));
            return true;
        }
        auto row = gplRow(line);
        if (auto* reason = std::get_if<std::string>(&row)) {
            result.skipped.push_back({number, std::move(*reason)});
            return true;
        }
        result.colors.push_back(std::move(std::get<SwatchColor>(row)));
        if (result.colors.size() > maxPaletteColors)
            fault =
                PaletteFault{offset, "more than " + std::to_string(maxPaletteColors) + " colors"};
        return !fault;
    });
    if (bytes.empty())
        fault = PaletteFault{0, "not a GIMP palette (the file is empty)"};
    return fault ? faulty(fault->offset, fault->reason) : result;
}

std::optional<PaletteFormat> formatNamed(std::string_view name)
{
    static constexpr std::pair<std::string_view, PaletteFormat> names[] = {
        {"gpl", PaletteFormat::Gpl}, {"ase", PaletteFormat::Ase}, {"aco", PaletteFormat::Aco},
        {"txt", PaletteFormat::Txt}, {"css", PaletteFormat::Css}, {"json", PaletteFormat::Json}};
    for (const auto& [text, format] : names)
        if (text == name)
            return format;
    return std::nullopt;
}

std::optional<PaletteFormat> formatOfFile(const fs::path& file)
{
    std::string extension = file.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(), [](char c) {
        return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    });
    return extension.size() > 1 ? formatNamed(std::string_view(extension).substr(1)) : std::nullopt;
}

bool canRead(PaletteFormat format)
{
    return format != PaletteFormat::Css && format != PaletteFormat::Json;
}

PaletteReadResult readPaletteFile(const fs::path& file)
{
    struct stat st {
    };
    if (::stat(file.c_str(), &st) != 0)
        throwFileError("open", file, errno);
    if (!S_ISREG(st.st_mode))
        return faulty(std::nullopt, "not a regular file");
    const auto tooLarge = [] { return faulty(std::nullopt, "the file is larger than 64 MiB"); };
    if (static_cast<std::uint64_t>(st.st_size) > maxPaletteFileBytes)
        return tooLarge();
    const FileHandle handle(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!handle)
        throwFileError("open", file, errno);
    // One byte more than allowed tells a file that grew since it was measured.
    std::string bytes(static_cast<std::size_t>(st.st_size) + 1, '\0');
    bytes.resize(readAt(handle.get(), file, bytes.data(), bytes.size(), 0));
    if (bytes.size() > maxPaletteFileBytes)
        return tooLarge();

    const PaletteFormat format = formatOfFile(file).value_or(sniffFormat(bytes));
    if (!canRead(format))
        return faulty(std::nullopt, "palettes are not imported from this kind of file");
    PaletteReadResult result = format == PaletteFormat::Gpl   ? readGpl(bytes)
                               : format == PaletteFormat::Ase ? readAse(bytes)
                               : format == PaletteFormat::Aco ? readAco(bytes)
                                                              : readTxt(bytes);
    if (!result.fault && result.title.empty())
        result.title = asUtf8(file.stem().string());
    return result;
}

std::string writePalette(PaletteFormat format, std::string_view title,
                         const std::vector<ColorValue>& colors)
{
    switch (format) {
    case PaletteFormat::Gpl:
        return writeGpl(title, colors);
    case PaletteFormat::Ase:
        return writeAse(title, colors);
    case PaletteFormat::Txt:
        return writeTxt(title, colors);
    case PaletteFormat::Css:
        return writeCss(title, colors);
    case PaletteFormat::Json:
        return writeJson(title, colors);
    case PaletteFormat::Aco:
        break;
    }
    throw std::invalid_argument("palettes are not written as Photoshop swatches");
}

std::string paletteSlug(std::string_view title)
{
    std::string slug;
    bool gap = false;
    for (const char c : title) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80 && std::isalnum(byte)) {
            if (gap && !slug.empty())
                slug += '-';
            slug += static_cast<char>(std::tolower(byte));
            gap = false;
        } else {
            gap = true;
        }
    }
    return slug.empty() ? "palette" : slug;
}

std::string importSummary(const PaletteReadResult& result, std::string_view title)
{
    const auto count = [](std::size_t n, const std::string& noun) {
        return std::to_string(n) + " " + noun + (n == 1 ? "" : "s");
    };
    std::string text =
        count(result.colors.size(), "color") + " imported into \"" + std::string(title) + "\".";
    if (result.skipped.empty())
        return text;
    const std::string unit = result.lineNumbers ? "line" : "block";
    text += "\n" + count(result.skipped.size(), unit) + " skipped:";
    const std::size_t listed = std::min<std::size_t>(result.skipped.size(), 10);
    for (std::size_t i = 0; i < listed; ++i)
        text += "\n" + std::string(result.lineNumbers ? "line " : "offset ") +
                std::to_string(result.skipped[i].where) + ": " + result.skipped[i].reason;
    if (listed < result.skipped.size())
        text += "\nand " + std::to_string(result.skipped.size() - listed) + " more.";
    return text;
}

std::string faultMessage(const fs::path& file, const PaletteFault& fault)
{
    std::string text = file.string() + ": " + fault.reason;
    if (fault.offset)
        text += " at offset " + std::to_string(*fault.offset);
    return text;
}
