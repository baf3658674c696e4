#pragma once

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
};

struct CliVerb {
    std::string_view name;
    std::string_view summary; // one line in `huebench --help`
    std::string_view usage;   // the whole text of `huebench VERB --help`
    // Runs the verb on the arguments after its name; returns the exit status.
    int (*run)(const std::vector<std::string>& args, CliContext& context);
};

// True when the arguments (after the program name) ask for a verb: the first one that is not
// --data-dir and its folder is a word, not an option. Such a call never starts the window.
bool NamesVerb(const std::vector<std::string>& args);

// Takes the leading --data-dir DIR and --data-dir=DIR options off `args`, the last one's folder
// into `dataDir`; false when one lacks its folder.
bool TakeDataDirOptions(std::vector<std::string>& args, std::optional<std::string>& dataDir);

// Runs the verb the arguments name. `huebench VERB --help` prints the verb's usage. Returns the
// exit status, or nothing when the arguments name no verb (the window starts).
std::optional<int> RunVerb(const std::vector<std::string>& args, CliIo& io,
                           const DataFolderResolver& resolveDataFolder);

// The list of verbs with their summaries, for `huebench --help`.
std::string VerbsHelp();

// Writes "huebench VERB: MESSAGE" and a pointer to the verb's --help on io.err; returns 2.
int UsageError(CliIo& io, std::string_view verb, std::string_view message);
