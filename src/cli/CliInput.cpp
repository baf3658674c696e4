#include "cli/CliInput.h"

#include "color/ColorParser.h"

#include <istream>
#include <ostream>

int AnswerEachInput(const std::vector<std::string>& inputs, CliIo& io, std::string_view verb,
                    std::string_view expected,
                    const std::function<std::optional<std::string>(std::string_view)>& answer)
{
    int status = 0;
    const auto take = [&](std::string_view input, long lineNumber) {
        if (const auto text = answer(input)) {
            io.out << *text << '\n';
            return;
        }
        io.err << "huebench " << verb << ": ";
        if (lineNumber > 0)
            io.err << "line " << lineNumber << ": ";
        io.err << "cannot read '" << input << "'; expected " << expected << '\n';
        status = 2;
    };
    if (!inputs.empty()) {
        for (const std::string& input : inputs)
            take(input, 0);
    } else {
        std::string line;
        for (long number = 1; std::getline(io.in, line); ++number) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            take(line, number);
        }
    }
    io.out.flush();
    return status;
}

int AnswerEachColor(const std::vector<std::string>& inputs, CliIo& io, std::string_view verb,
                    const std::function<std::string(bascommon::ColorValue)>& answer)
{
    return AnswerEachInput(inputs, io, verb, ColorFormsExpected,
                           [&answer](std::string_view input) -> std::optional<std::string> {
                               if (const auto color = ParseColor(input))
                                   return answer(*color);
                               return std::nullopt;
                           });
}
