#include "cli/Cli.h"

#include "color/ColorFormTable.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <array>
#include <memory>
#include <ostream>

// The verbs, in the order `huebench --help` lists them; each verb file defines its entry.
extern const CliVerb convertVerb;
extern const CliVerb contrastVerb, simulateVerb;
extern const CliVerb paletteVerb;
extern const CliVerb rampVerb, harmonyVerb, nameVerb;

namespace
{

const std::array verbs = {
    &convertVerb, &contrastVerb, &simulateVerb, &paletteVerb, &rampVerb, &harmonyVerb, &nameVerb,
};

constexpr std::string_view dataFolderText =
    "Without --data-dir, HUEBENCH_DATA_DIR names the data folder; else the program's\n"
    "own folder is used when it holds the data files and can be written, else the\n"
    "per-user data folder, seeded from the installed factory data.\n";

// The forms of convert, wrapped to the width of a terminal.
std::string formsText()
{
    std::string text = "Color forms of convert --to (huebench convert --help shows each one):\n ";
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

// The first argument that is neither --data-dir nor its folder: the verb, when there is one.
std::optional<std::string> firstWord(const std::vector<std::string>& args)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--data-dir")
            ++i;
        else if (args[i].rfind("--data-dir=", 0) != 0)
            return args[i];
    }
    return std::nullopt;
}

// The window's options and the verbs, declared once for the window and for every verb.
class Program
{
public:
    explicit Program(ProgramOptions& options, PickOptions* pick = nullptr)
    {
        const auto formatter = m_app.get_formatter();
        formatter->column_width(26);
        formatter->label("Positionals", "Arguments");
        formatter->label("Subcommands", "Commands");
        formatter->label("SUBCOMMAND", "COMMAND");
        m_app.set_help_flag("-h,--help", "print this help, then exit");
        m_app.add_option("--data-dir", options.dataDir, "keep palettes and schemes in DIR")
            ->type_name("DIR")
            ->check(CLI::Validator(
                [](const std::string& folder) {
                    return folder.empty() ? std::string("needs a folder") : std::string();
                },
                "", "folder"));
        m_app.add_flag("--print-data-dir", options.printDataDir,
                       "print the data folder that would be used, then exit");
        m_app.add_flag("--version", options.version, "print the version, then exit");
        for (const CliVerb* verb : verbs) {
            CLI::App* command =
                m_app.add_subcommand(std::string(verb->name), std::string(verb->summary));
            command->fallthrough();
            command->group("Commands");
            command->set_help_flag("-h,--help", "print this help, then exit");
            m_commands.push_back({command, verb->declare(*command)});
        }
        declarePick(pick);
        m_app.footer(std::string(dataFolderText) + "\n" + formsText());
    }

    CLI::App& app() { return m_app; }

    bool pickParsed() const { return m_pick && m_pick->parsed(); }

    // The runner of the verb the parse selected, with its name.
    std::pair<std::string, VerbRunner> selected() const
    {
        for (const auto& [command, runner] : m_commands)
            if (command->parsed())
                return {command->get_name(), runner};
        return {};
    }

    // The verb a failed parse had reached, for its message.
    std::string reached() const
    {
        for (const auto& [command, runner] : m_commands)
            if (command->parsed())
                return command->get_name();
        return pickParsed() ? "pick" : "";
    }

private:
    // The screen picker runs in the window system; its line is parsed here with the others.
    void declarePick(PickOptions* options)
    {
        m_pick = m_app.add_subcommand("pick", "pick colors from the screen and print them");
        m_pick->fallthrough();
        m_pick->group("Commands");
        m_pick->set_help_flag("-h,--help", "print this help, then exit");
        if (!options) {
            m_spare = std::make_unique<PickOptions>();
            options = m_spare.get();
        }
        m_pick->add_option("--to", options->to, "print each picked color in FORM (default hex)")
            ->type_name("FORM");
        m_pick
            ->add_option("--save", options->save,
                         "also append each pick to PALETTE, a title or file name from "
                         "huebench palette list")
            ->type_name("PALETTE");
        m_pick->footer(
            "Freezes the screen and picks colors from it with the magnifier, as the window's\n"
            "Pick&Save does, without the main window. Point and click, or move with the arrow\n"
            "keys (Shift: ten pixels) and press Enter or Space; 1, 3, 5 choose the sampled\n"
            "square, + and - the zoom; Escape ends. Each pick prints one line at once.\n"
            "\n"
            "Exit status: 0 when a color was picked, 1 when none was or the screen could not be\n"
            "read, 2 for wrong arguments. For a keyboard shortcut: huebench pick --to hex |\n"
            "wl-copy (on X11: xclip -selection clipboard).\n");
    }

    CLI::App m_app{"A color utility for web and software designers.", "huebench"};
    CLI::App* m_pick = nullptr;
    std::unique_ptr<PickOptions> m_spare;
    std::vector<std::pair<CLI::App*, VerbRunner>> m_commands;
};

// Parses the whole line; nothing when it was taken, else the exit status after the help
// (0) or one message (2).
std::optional<int> parse(Program& program, const std::vector<std::string>& args, CliIo& io)
{
    try {
        program.app().parse(std::vector<std::string>(args.rbegin(), args.rend()));
        return std::nullopt;
    } catch (const CLI::CallForHelp&) {
        io.out << program.app().help();
        return 0;
    } catch (const CLI::ExtrasError& e) {
        // Named the way every message of the program names what it cannot take.
        const std::vector<std::string> rest = program.app().remaining(true);
        if (rest.empty())
            return UsageError(io, program.reached(), e.what());
        const std::string& first = rest.front();
        return UsageError(
            io, program.reached(),
            (first.size() > 1 && first[0] == '-' ? "unknown option '" : "unexpected argument '") +
                first + "'");
    } catch (const CLI::ParseError& e) {
        return UsageError(io, program.reached(), e.what());
    }
}

} // namespace

bool NamesVerb(const std::vector<std::string>& args)
{
    const auto word = firstWord(args);
    return word && !word->empty() && (*word)[0] != '-';
}

std::optional<int> RunVerb(const std::vector<std::string>& args, CliIo& io,
                           const DataFolderResolver& resolveDataFolder,
                           const ImageReader& readImage)
{
    if (!NamesVerb(args))
        return std::nullopt;
    const std::string word = *firstWord(args);
    if (word == "pick") {
        io.err << "huebench pick: needs the window system; run it as huebench pick\n";
        return 2;
    }
    if (!findVerb(word)) {
        io.err << "huebench: unknown command '" << word << "' (expected one of: " << verbNames()
               << ")\nTry 'huebench --help' for more information.\n";
        return 2;
    }
    ProgramOptions options;
    Program program(options);
    if (const auto status = parse(program, args, io))
        return status;
    CliContext context{io, std::nullopt, resolveDataFolder, readImage};
    if (!options.dataDir.empty())
        context.dataDir = options.dataDir;
    return program.selected().second(context);
}

ProgramOptions ParseProgramOptions(const std::vector<std::string>& args, CliIo& io)
{
    ProgramOptions options;
    Program program(options);
    if (const auto status = parse(program, args, io))
        options.exitStatus = status;
    return options;
}

bool NamesPick(const std::vector<std::string>& args)
{
    return firstWord(args) == std::optional<std::string>("pick");
}

PickOptions ParsePickOptions(const std::vector<std::string>& args, CliIo& io)
{
    ProgramOptions options;
    PickOptions pick;
    Program program(options, &pick);
    if (const auto status = parse(program, args, io))
        pick.exitStatus = status;
    if (!options.dataDir.empty())
        pick.dataDir = options.dataDir;
    return pick;
}

std::string ProgramHelp()
{
    ProgramOptions options;
    Program program(options);
    return program.app().help();
}

int UsageError(CliIo& io, std::string_view verb, std::string_view message)
{
    const std::string who = verb.empty() ? "huebench" : "huebench " + std::string(verb);
    io.err << who << ": " << message << "\nTry '" << who << " --help' for more information.\n";
    return 2;
}
