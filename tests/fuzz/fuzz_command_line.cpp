// The command line: arguments split at NUL bytes, any content.

#include "FuzzSupport.h"

#include "app/CommandLine.h"

#include <sstream>

namespace
{

void parse(const std::string& text)
{
    std::vector<std::string> args{"huebench"};
    std::istringstream in(text);
    for (std::string arg; std::getline(in, arg, '\0');)
        args.push_back(arg);
    parseCommandLine(args);
}

} // namespace

HUEBENCH_FUZZ_TARGET(parse)
