#include "app/CommandLine.h"

CommandLine parseCommandLine(const std::vector<std::string>& args)
{
    CommandLine result;
    static const std::string dataDirEq = "--data-dir=";
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            result.help = true;
        } else if (arg == "--version") {
            result.version = true;
        } else if (arg == "--print-data-dir") {
            result.printDataDir = true;
        } else if (arg == "--data-dir") {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                result.error = "option --data-dir needs a folder";
                return result;
            }
            result.dataDir = args[++i];
        } else if (arg.rfind(dataDirEq, 0) == 0) {
            if (arg.size() == dataDirEq.size()) {
                result.error = "option --data-dir needs a folder";
                return result;
            }
            result.dataDir = arg.substr(dataDirEq.size());
        } else if (arg.empty() || arg[0] != '-' || arg == "-") {
            result.error = "unexpected argument '" + arg + "'";
            return result;
        } else {
            result.error = "unknown option '" + arg + "'";
            return result;
        }
    }
    return result;
}

std::string commandLineUsage()
{
    return "Usage: huebench [OPTION]...\n"
           "   or: huebench pick [--to FORM] [--save PALETTE]\n"
           "   or: huebench COMMAND ARGUMENT...\n"
           "A color utility for web and software designers. pick picks colors from the\n"
           "screen and prints them, for a keyboard shortcut (huebench pick --help).\n"
           "\n"
           "  --data-dir DIR     keep palettes and schemes in DIR\n"
           "  --print-data-dir   print the data folder that would be used, then exit\n"
           "  --version          print the version, then exit\n"
           "  -h, --help         print this help, then exit\n"
           "\n"
           "Without --data-dir, HUEBENCH_DATA_DIR names the data folder; else the program's\n"
           "own folder is used when it holds the data files and can be written, else the\n"
           "per-user data folder, seeded from the installed factory data.\n";
}
