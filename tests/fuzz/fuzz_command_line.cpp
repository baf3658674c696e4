// The command line: arguments split at NUL bytes, any content. Either an error or a clean
// result that says exactly what the arguments asked for.

#include "FuzzSupport.h"

#include "app/CommandLine.h"

#include <cstdint>
#include <optional>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::string> args(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0)
            args.emplace_back();
        else
            args.back() += static_cast<char>(data[i]);
    }
    const CommandLine parsed = parseCommandLine(args);
    if (!parsed.error.empty())
        return 0;

    bool help = false, version = false, print = false;
    std::optional<std::string> dir;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h")
            help = true;
        else if (arg == "--version")
            version = true;
        else if (arg == "--print-data-dir")
            print = true;
        else if (arg == "--data-dir")
            dir = args.at(++i);
        else if (arg.starts_with("--data-dir="))
            dir = arg.substr(11);
        else
            FUZZ_CHECK(false); // anything else must have been an error
    }
    FUZZ_CHECK(parsed.help == help && parsed.version == version && parsed.printDataDir == print);
    FUZZ_CHECK(parsed.dataDir == dir);
    FUZZ_CHECK(!dir || !dir->empty());
    return 0;
}
