#include "cli/CliInput.h"

#include <istream>
#include <ostream>

int AnswerEachInput(const std::vector<std::string>& inputs, CliIo& io, std::string_view verb,
                    const std::function<InputAnswer(std::string_view)>& answer)
{
    int status = 0;
    const auto take = [&](std::string_view input, long lineNumber) {
        const InputAnswer a = answer(input);
        if (a.error.empty()) {
            io.out << a.text << '\n';
            return;
        }
        io.out << '\n';
        io.err << "huebench " << verb << ": ";
        if (lineNumber > 0)
            io.err << "line " << lineNumber << ": ";
        io.err << "cannot read '" << input << "'; " << a.error << '\n';
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
                    const std::function<std::string(const ParsedColor&)>& answer)
{
    return AnswerEachInput(inputs, io, verb, [&answer](std::string_view input) -> InputAnswer {
        ColorReading reading = ReadColor(input);
        if (!reading.color)
            return {{}, reading.error.empty() ? std::string("not a color") : reading.error};
        return {answer(*reading.color), {}};
    });
}
