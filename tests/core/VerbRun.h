#pragma once

// Runs a command-line verb with string streams in place of the terminal.

#include "cli/Cli.h"

#include <filesystem>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

struct VerbRun {
    int status; // -1: the arguments name no verb
    std::string out, err;
};

// The data folder is the one --data-dir names; without it a verb that asks for one fails.
inline VerbRun runVerb(const std::vector<std::string>& args, const std::string& input = "")
{
    std::istringstream in(input);
    std::ostringstream out, err;
    CliIo io{in, out, err};
    const auto status = RunVerb(args, io, [](const std::optional<std::string>& dataDir) {
        if (!dataDir)
            throw std::runtime_error("no data folder in this test");
        return std::filesystem::path(*dataDir);
    });
    return {status.value_or(-1), out.str(), err.str()};
}
