#pragma once

#include <algorithm>
#include <cstdint>
#include <string_view>

// Line reading shared by the text palette readers.

// The text without spaces and tabs at either end.
inline std::string_view trimBlanks(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Calls visit(line, number from 1, byte offset) for each line, without its line end (LF, CR LF
// or a CR alone), until visit returns false. A UTF-8 byte order mark before the first line is
// left out.
template <typename Visit> void forEachLine(std::string_view text, Visit&& visit)
{
    std::size_t at = text.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    for (std::uint64_t number = 1; at < text.size(); ++number) {
        const std::size_t end = std::min(text.find_first_of("\r\n", at), text.size());
        if (!visit(text.substr(at, end - at), number, std::uint64_t{at}))
            return;
        at = end + (text.substr(end).starts_with("\r\n") ? 2 : 1);
    }
}
