#pragma once

#include <string>
#include <vector>

// `huebench pick [--to FORM] [--save PALETTE]`: the screen picker without the main window, for a
// keyboard shortcut. Each pick prints one line on standard output at once; Escape ends.

// True when the arguments after the program name (--data-dir anywhere) ask for the pick
// command; its options are parsed with every command's (ParsePickOptions).
bool namesPick(const std::vector<std::string>& args);

// Runs the pick command on a window-system application; returns the exit status: 0 when at
// least one color was picked, 1 when none was or the screen could not be read, 2 for a usage
// error (a message on standard error for both).
int runPickCommand(int argc, char** argv, const std::vector<std::string>& args);
