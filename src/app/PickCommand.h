#pragma once

#include <optional>
#include <string>
#include <vector>

struct ColorFormRow;

// `huebench pick [--to FORM] [--save PALETTE]`: the screen picker without the main window, for a
// keyboard shortcut. Each pick prints one line on standard output at once; Escape ends.

struct PickArguments {
    const ColorFormRow* form = nullptr; // the form of each printed line; hex unless --to
    std::optional<std::string> save;    // --save: a palette title or file name of the index
    bool help = false;                  // --help or -h
    std::string error;                  // non-empty: the arguments were not understood
};

// Parses the arguments after "pick": --to FORM (any `convert --to` form but "all"), --save
// PALETTE, both also as --to=FORM and --save=PALETTE, and --help.
PickArguments parsePickArguments(const std::vector<std::string>& args);

// The text of `huebench pick --help`.
std::string pickUsage();

// True when the arguments after the program name (leading --data-dir options allowed) ask for
// the pick command.
bool namesPick(const std::vector<std::string>& args);

// Runs the pick command on a window-system application; returns the exit status: 0 when at
// least one color was picked, 1 when none was or the screen could not be read, 2 for a usage
// error (a message on standard error for both).
int runPickCommand(int argc, char** argv, const std::vector<std::string>& args);
