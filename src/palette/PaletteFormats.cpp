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

PaletteReadResult faulty(std::optional<std::uint64_t> offset, std::string reason, FaultKind kind)
{
    PaletteReadResult result;
    result.fault = PaletteFault{offset, std::move(reason), kind, {}};
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

bool looksLikeGpl(std::string_view bytes)
{
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    return bytes.starts_with("GIMP Palette");
}

bool looksLikeAse(std::string_view bytes)
{
    return bytes.starts_with("ASEF");
}

// A version word of 1 or 2 opens a Photoshop swatches file; text never starts with a NUL byte.
bool looksLikeAco(std::string_view bytes)
{
    return bytes.size() >= 4 && bytes[0] == '\0' && (bytes[1] == '\1' || bytes[1] == '\2');
}

bool looksLikeText(std::string_view bytes)
{
    return bytes.find('\0') == std::string_view::npos;
}

constexpr std::string_view gplExtensions[] = {".gpl"};
constexpr std::string_view aseExtensions[] = {".ase"};
constexpr std::string_view acoExtensions[] = {".aco"};
constexpr std::string_view txtExtensions[] = {".txt"};
constexpr std::string_view cssExtensions[] = {".css"};
constexpr std::string_view jsonExtensions[] = {".json", ".tokens"};

const PaletteFormatInfo formats[] = {
    {PaletteFormat::Gpl, "gpl", gplExtensions, "GIMP palette", "a GIMP palette", readGpl, writeGpl,
     looksLikeGpl},
    {PaletteFormat::Ase, "ase", aseExtensions, "Adobe swatch exchange",
     "an Adobe swatch exchange file", readAse, writeAse, looksLikeAse},
    {PaletteFormat::Aco, "aco", acoExtensions, "Photoshop swatches", "a Photoshop swatches file",
     readAco, nullptr, looksLikeAco},
    {PaletteFormat::Txt, "txt", txtExtensions, "Text, one color a line", "a text file", readTxt,
     writeTxt, looksLikeText},
    {PaletteFormat::Css, "css", cssExtensions, "CSS custom properties", "a CSS file", nullptr,
     writeCss, nullptr},
    {PaletteFormat::Json, "json", jsonExtensions, "Design tokens", "a design tokens file", nullptr,
     writeJson, nullptr},
};

std::string lowerCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](char c) {
        return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    });
    return text;
}

std::string patternsOf(const PaletteFormatInfo& info)
{
    std::string patterns;
    for (const std::string_view extension : info.extensions)
        patterns += (patterns.empty() ? "*" : " *") + std::string(extension);
    return patterns;
}

} // namespace

PaletteReadResult readGpl(std::string_view bytes)
{
    if (const auto nul = bytes.find('\0'); nul != std::string_view::npos)
        return faulty(nul, "not a text file (a NUL byte)", FaultKind::NotThisFormat);
    PaletteReadResult result;
    std::optional<PaletteFault> fault;
    forEachLine(bytes, [&](std::string_view line, std::uint64_t number, std::uint64_t offset) {
        line = trimBlanks(line);
        if (number == 1) {
            if (line != "GIMP Palette")
                fault = PaletteFault{0,
                                     "not a GIMP palette (the first line is not \"GIMP Palette\")",
                                     FaultKind::NotThisFormat,
                                     {}};
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
            fault = PaletteFault{offset,
                                 "more than " + std::to_string(maxPaletteColors) + " colors",
                                 FaultKind::TooLarge,
                                 {}};
        return !fault;
    });
    if (bytes.empty())
        fault =
            PaletteFault{0, "not a GIMP palette (the file is empty)", FaultKind::NotThisFormat, {}};
    return fault ? faulty(fault->offset, fault->reason, fault->kind) : result;
}

std::span<const PaletteFormatInfo> paletteFormats()
{
    return formats;
}

const PaletteFormatInfo& formatInfo(PaletteFormat format)
{
    for (const auto& info : formats)
        if (info.format == format)
            return info;
    throw std::invalid_argument("unknown palette format");
}

std::optional<PaletteFormat> formatNamed(std::string_view name)
{
    for (const auto& info : formats)
        if (info.name == name)
            return info.format;
    return std::nullopt;
}

std::optional<PaletteFormat> formatOfFile(const fs::path& file)
{
    const std::string name = lowerCase(file.filename().string());
    for (const auto& info : formats)
        for (const std::string_view extension : info.extensions)
            if (name.size() > extension.size() && name.ends_with(extension))
                return info.format;
    return std::nullopt;
}

std::optional<PaletteFormat> formatOfContent(std::string_view bytes)
{
    for (const auto& info : formats)
        if (info.recognises && info.recognises(bytes))
            return info.format;
    return std::nullopt;
}

bool canRead(PaletteFormat format)
{
    return formatInfo(format).read != nullptr;
}

bool canWrite(PaletteFormat format)
{
    return formatInfo(format).write != nullptr;
}

std::string formatNames(bool written)
{
    std::vector<std::string> names;
    for (const auto& info : formats)
        if (written ? info.write != nullptr : info.read != nullptr)
            names.emplace_back(info.name);
    std::string list;
    for (std::size_t i = 0; i < names.size(); ++i)
        list += (i == 0 ? "" : i + 1 == names.size() ? " or " : ", ") + names[i];
    return list;
}

std::string fileDialogFilter(bool written)
{
    std::string all, entries;
    for (const auto& info : formats) {
        if (!(written ? info.write != nullptr : info.read != nullptr))
            continue;
        all += (all.empty() ? "" : " ") + patternsOf(info);
        entries += (entries.empty() ? "" : ";;") + std::string(info.caption) + " (" +
                   patternsOf(info) + ")";
    }
    return written ? entries : "Palettes (" + all + ");;" + entries + ";;All files (*)";
}

std::optional<PaletteFormat> formatOfFilter(std::string_view filterEntry)
{
    for (const auto& info : formats)
        if (filterEntry == std::string(info.caption) + " (" + patternsOf(info) + ")")
            return info.format;
    return std::nullopt;
}

namespace
{

// Why a file that was read yielded no color: what it skipped, or that it lists none.
std::string noColorReason(const PaletteReadResult& result)
{
    if (result.skipped.empty())
        return "the file lists no color";
    const SkippedPart& first = result.skipped.front();
    return std::to_string(result.skipped.size()) + (result.lineNumbers ? " line" : " block") +
           (result.skipped.size() == 1 ? "" : "s") + " skipped, the first " +
           (result.lineNumbers ? "line " : "at offset ") + std::to_string(first.where) + ": " +
           first.reason;
}

// "a GIMP palette" without its "a ", "an ... file" without its "an ".
std::string withoutArticle(std::string_view noun)
{
    return std::string(noun.substr(noun.find(' ') + 1));
}

// "; it looks like a GIMP palette" when the bytes carry the mark of a format other than the one
// they were read as (plain text, which takes anything, never counts).
std::string looksLike(std::optional<PaletteFormat> format, std::string_view bytes)
{
    for (const auto& info : paletteFormats())
        if (info.format != format && info.read && info.recognises &&
            info.recognises != looksLikeText && info.recognises(bytes))
            return "; it looks like " + std::string(info.fileNoun);
    return {};
}

// What happened, in the words of someone who never saw the inside of the format.
std::string plainWords(const PaletteFault& fault, std::optional<PaletteFormat> format,
                       std::string_view bytes)
{
    switch (fault.kind) {
    case FaultKind::NotThisFormat:
        return bytes.empty() ? "the file is empty"
                             : "it is not " + std::string(formatInfo(*format).fileNoun) +
                                   looksLike(format, bytes);
    case FaultKind::CutShort:
        return "it ends before its last color";
    case FaultKind::Damaged:
        return "it is damaged inside";
    case FaultKind::Unsupported:
        return "its version of the " + std::string(formatInfo(*format).caption) +
               " format is not one that Hue Bench reads";
    case FaultKind::TooLarge:
        return "it is too large (more than 64 MiB or " + std::to_string(maxPaletteColors) +
               " colors)";
    case FaultKind::NoColor:
        return bytes.empty()
                   ? "the file is empty"
                   : "it holds no color that Hue Bench can read" + looksLike(format, bytes);
    case FaultKind::NotRead:
        return format ? "palettes are not imported from " +
                            withoutArticle(formatInfo(*format).fileNoun) + "s"
                      : "it is not a palette file that Hue Bench knows";
    case FaultKind::NotAFile:
        return "it is a folder or a device, not a file";
    }
    return fault.reason;
}

} // namespace

PaletteReadResult readPaletteFile(const fs::path& file)
{
    struct stat st {
    };
    if (::stat(file.c_str(), &st) != 0)
        throwFileError("open", file, errno);
    // These faults need no format to be put in plain words.
    const auto refused = [](const char* reason, FaultKind kind) {
        PaletteReadResult result = faulty(std::nullopt, reason, kind);
        result.fault->plain = plainWords(*result.fault, std::nullopt, "?");
        return result;
    };
    if (!S_ISREG(st.st_mode))
        return refused("not a regular file", FaultKind::NotAFile);
    const auto tooLarge = [&] {
        return refused("the file is larger than 64 MiB", FaultKind::TooLarge);
    };
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

    const auto format = formatOfFile(file) ? formatOfFile(file) : formatOfContent(bytes);
    PaletteReadResult result =
        !format || !canRead(*format)
            ? faulty(std::nullopt, "palettes are not imported from this kind of file",
                     FaultKind::NotRead)
            : formatInfo(*format).read(bytes);
    if (!result.fault && result.colors.empty())
        result = faulty(std::nullopt, noColorReason(result), FaultKind::NoColor);
    if (result.fault) {
        result.fault->plain = plainWords(*result.fault, format, bytes);
        return result;
    }
    if (result.title.empty())
        result.title = asUtf8(file.stem().string());
    return result;
}

std::string writePalette(PaletteFormat format, std::string_view title,
                         const std::vector<ColorValue>& colors)
{
    const auto& info = formatInfo(format);
    if (!info.write)
        throw std::invalid_argument("palettes are not written as " + std::string(info.caption));
    return info.write(title, colors);
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

std::string faultMessage(const fs::path& file, const PaletteFault& fault,
                         std::string_view separator)
{
    std::string text = "Nothing was imported from " + asUtf8(file.filename().string()) + ": " +
                       (fault.plain.empty() ? fault.reason : fault.plain) + ".";
    if (fault.plain.empty() && !fault.offset)
        return text;
    text += std::string(separator) + "(" + (fault.plain.empty() ? "" : fault.reason);
    if (fault.offset)
        text += std::string(fault.plain.empty() ? "" : " ") + "at offset " +
                std::to_string(*fault.offset);
    return text + ")";
}
