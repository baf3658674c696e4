#include "app/CommandLine.h"

#include "cli/Cli.h"

#include <sstream>

CommandLine parseCommandLine(const std::vector<std::string>& args)
{
    std::istringstream in;
    std::ostringstream out, err;
    CliIo io{in, out, err};
    const ProgramOptions options = ParseProgramOptions(args, io);
    CommandLine result;
    result.help = options.exitStatus == 0;
    result.version = options.version;
    result.printDataDir = options.printDataDir;
    if (!options.dataDir.empty())
        result.dataDir = options.dataDir;
    if (options.exitStatus == 2) {
        // The message alone, without the program's name and the pointer to --help.
        std::string message = err.str().substr(0, err.str().find('\n'));
        constexpr std::string_view prefix = "huebench: ";
        if (message.rfind(prefix, 0) == 0)
            message.erase(0, prefix.size());
        result.error = message;
    }
    return result;
}

std::string commandLineUsage()
{
    return ProgramHelp();
}
