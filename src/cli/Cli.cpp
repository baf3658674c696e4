#include "cli/Cli.h"

#include "color/ColorFormTable.h"

#include <algorithm>
#include <array>
#include <ostream>

// The verbs, in the order `huebench --help` lists them; each verb file defines its entry.
extern const CliVerb convertVerb;
extern const CliVerb contrastVerb, simulateVerb;
extern const CliVerb paletteVerb;

namespace
{

const std::array verbs = {
    &convertVerb,
    &contrastVerb,
    &simulateVerb,
    &paletteVerb,
};

const CliVerb* findVerb(std::string_view name)
{
    for (const CliVerb* verb : verbs)
        if (verb->name == name)
            return verb;
    return nullptr;
}

std::string verbNames()
{
    std::string names;
    for (const CliVerb* verb : verbs)
        names += (names.empty() ? "" : ", ") + std::string(verb->name);
    return names;
}

} // namespace

bool TakeDataDirOptions(std::vector<std::string>& args, std::optional<std::string>& dataDir)
{
    static const std::string eq = "--data-dir=";
    while (!args.empty()) {
        if (args[0] == "--data-dir") {
            if (args.size() < 2 || args[1].empty())
                return false;
            dataDir = args[1];
            args.erase(args.begin(), args.begin() + 2);
        } else if (args[0].rfind(eq, 0) == 0) {
            if (args[0].size() == eq.size())
                return false;
            dataDir = args[0].substr(eq.size());
            args.erase(args.begin());
        } else {
            break;
        }
    }
    return true;
}

bool NamesVerb(const std::vector<std::string>& args)
{
    std::vector<std::string> rest = args;
    std::optional<std::string> dataDir;
    return TakeDataDirOptions(rest, dataDir) && !rest.empty() && !rest[0].empty() &&
           rest[0][0] != '-';
}

std::optional<int> RunVerb(const std::vector<std::string>& args, CliIo& io,
                           const DataFolderResolver& resolveDataFolder)
{
    if (!NamesVerb(args))
        return std::nullopt;
    std::vector<std::string> rest = args;
    CliContext context{io, std::nullopt, resolveDataFolder};
    TakeDataDirOptions(rest, context.dataDir);
    const CliVerb* verb = findVerb(rest[0]);
    if (!verb) {
        io.err << "huebench: unknown command '" << rest[0] << "' (expected one of: " << verbNames()
               << ")\nTry 'huebench --help' for more information.\n";
        return 2;
    }
    rest.erase(rest.begin());
    for (const std::string& arg : rest) {
        if (arg == "--")
            break;
        if (arg == "--help" || arg == "-h") {
            io.out << verb->usage;
            return 0;
        }
    }
    return verb->run(rest, context);
}

std::string VerbsHelp()
{
    std::string text = "\nCommands (huebench COMMAND --help for each one's arguments):\n";
    for (const CliVerb* verb : verbs) {
        std::string name(verb->name);
        name.resize(std::max<std::size_t>(name.size() + 1, 19), ' ');
        text += "  " + name + std::string(verb->summary) + "\n";
    }
    // The forms of convert, wrapped to the width of the lines above.
    text += "\nColor forms of convert --to (huebench convert --help shows each one):\n ";
    std::size_t column = 1;
    for (const ColorFormRow& form : ColorFormTable()) {
        if (form.name.empty())
            continue;
        if (column + form.name.size() + 2 > 80) {
            text += "\n ";
            column = 1;
        }
        text += " " + std::string(form.name) + ",";
        column += form.name.size() + 2;
    }
    return text + " all\n";
}

int UsageError(CliIo& io, std::string_view verb, std::string_view message)
{
    io.err << "huebench " << verb << ": " << message << "\nTry 'huebench " << verb
           << " --help' for more information.\n";
    return 2;
}
