#pragma once

#include "cli/Cli.h"
#include "color/ColorParser.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The answer to one input of a verb: its text, or, when the input cannot be read, why.
struct InputAnswer {
    std::string text;  // one line, without its line end
    std::string error; // empty when the input was read; else the reason, a phrase
};

// Answers each input of a verb: the `inputs` given as arguments, or, when there are none, each
// line of io.in (a trailing carriage return dropped), so a list of any length can be piped
// through. Every input gets one line on io.out, so answers stay beside their inputs: the answer,
// or an empty line when the input could not be read; then io.err gets
// "huebench VERB: line N: cannot read 'INPUT'; REASON" (without "line N: " for arguments) and
// the next input is taken. Returns 0, or 2 when any input could not be read.
int AnswerEachInput(const std::vector<std::string>& inputs, CliIo& io, std::string_view verb,
                    const std::function<InputAnswer(std::string_view)>& answer);

// AnswerEachInput for inputs that are one color each, read by ReadColor (whose error is the
// reason).
int AnswerEachColor(const std::vector<std::string>& inputs, CliIo& io, std::string_view verb,
                    const std::function<std::string(const ParsedColor&)>& answer);
