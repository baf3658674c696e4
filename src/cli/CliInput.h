#pragma once

#include "cli/Cli.h"
#include "color/bascommon.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Answers each input of a verb: the `inputs` given as arguments, or, when there are none, each
// line of io.in (a trailing carriage return dropped), so a list of any length can be piped
// through. `answer` gives the answer for one input (written to io.out followed by a line end)
// or nothing when it cannot read it: then io.err gets one line naming the input, its line number
// when it came from io.in, and `expected`, and the next input is taken. Returns 0, or 2 when
// any input could not be read.
int AnswerEachInput(const std::vector<std::string>& inputs, CliIo& io, std::string_view verb,
                    std::string_view expected,
                    const std::function<std::optional<std::string>(std::string_view)>& answer);

// AnswerEachInput for inputs that are one color each (read by ParseColor).
int AnswerEachColor(const std::vector<std::string>& inputs, CliIo& io, std::string_view verb,
                    const std::function<std::string(bascommon::ColorValue)>& answer);
