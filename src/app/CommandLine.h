#pragma once

#include <optional>
#include <string>
#include <vector>

// What the command line asks for. Toolkit options (-platform, -display, ...) are removed by
// the toolkit before these arguments are parsed.
struct CommandLine {
    bool help = false;
    bool version = false;
    bool printDataDir = false;
    std::optional<std::string> dataDir;
    std::string error; // non-empty: the arguments were not understood
};

// Parses the arguments after the program name, in the grammar of the verbs: --help/-h,
// --version, --print-data-dir, --data-dir DIR and --data-dir=DIR. Anything else sets `error`.
CommandLine parseCommandLine(const std::vector<std::string>& args);

// The text of --help: the window's options, the verbs and the forms of convert.
std::string commandLineUsage();
