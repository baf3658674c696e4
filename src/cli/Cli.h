#pragma once

#include "palette/ImagePalette.h"

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The command line `huebench VERB ARGS...`: verbs run without a window system, print their
// results on standard output and end with exit status 0 (done), 2 (usage error or input that
// cannot be read; a line on standard error names it and what was expected) or 1 (a file could
// not be read or written).

// The streams a verb reads and writes; tests pass string streams.
struct CliIo {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
};

// Chooses (and prepares) the data folder the way the window does: the --data-dir value when one
// was given, else HUEBENCH_DATA_DIR, the program's folder or the per-user folder. Throws
// std::runtime_error naming the folder when it cannot be prepared.
using DataFolderResolver =
    std::function<std::filesystem::path(const std::optional<std::string>& dataDir)>;

struct CliContext {
    CliIo& io;
    std::optional<std::string> dataDir; // --data-dir given before the verb
    DataFolderResolver resolveDataFolder;
    // Decodes image files (the window system's readers); empty where none is available.
    ImageReader readImage;
};

namespace CLI
{
class App;
}

// What runs a verb once its command line is parsed; returns the exit status.
using VerbRunner = std::function<int(CliContext& context)>;

struct CliVerb {
    std::string_view name;
    std::string_view summary; // one line in `huebench --help`
    // Declares the verb's options and arguments (and its help's closing text) on its command;
    // the runner reads what the parse stored.
    VerbRunner (*declare)(CLI::App& command);
};

// True when the arguments (after the program name) ask for a verb: the first one that is not
// --data-dir and its folder is a word, not an option. Such a call never starts the window.
// The whole line is then one grammar: "--opt X" and "--opt=X" alike, "--" ending the options,
// --data-dir anywhere on it.
bool NamesVerb(const std::vector<std::string>& args);

// Runs the verb the arguments name. `huebench VERB --help` prints the verb's generated usage.
// Returns the exit status (2 for arguments it cannot take, with one message on io.err), or
// nothing when the arguments name no verb (the window starts).
// `readImage` decodes the images of `palette from-image`.
std::optional<int> RunVerb(const std::vector<std::string>& args, CliIo& io,
                           const DataFolderResolver& resolveDataFolder,
                           const ImageReader& readImage = {});

// The generated help of the window's options and the verbs, `huebench --help`.
std::string ProgramHelp();

// The options of the whole line: the window's, and --data-dir, which verbs take too.
struct ProgramOptions {
    std::string dataDir; // empty: not given
    bool printDataDir = false;
    bool version = false;
    // Set when the line is answered already: 0 after --help, 2 after one message on io.err.
    std::optional<int> exitStatus;
};

// Parses a line that names no verb, as the window reads it.
ProgramOptions ParseProgramOptions(const std::vector<std::string>& args, CliIo& io);

// `huebench pick`, the one command that needs the window system, parsed with the others.
struct PickOptions {
    std::string to = "hex";
    std::optional<std::string> save; // a palette title or file name
    std::optional<std::string> dataDir;
    // Set when the line is answered already: 0 after --help, 2 after one message on io.err.
    std::optional<int> exitStatus;
};
bool NamesPick(const std::vector<std::string>& args);
PickOptions ParsePickOptions(const std::vector<std::string>& args, CliIo& io);

// Writes "huebench VERB: MESSAGE" and a pointer to the verb's --help on io.err; returns 2.
int UsageError(CliIo& io, std::string_view verb, std::string_view message);

// UsageError for a --to that names no form of the color forms table, listing them ("or all"
// where the verb also takes all of them).
int UnknownFormError(CliIo& io, std::string_view verb, std::string_view name, bool orAll);
