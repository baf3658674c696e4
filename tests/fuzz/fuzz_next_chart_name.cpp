// The name of the next palette from the last index entry's file name, which may hold anything
// a hand-edited index holds; and the name the store picks for a new palette from such an index.

#include "FuzzSupport.h"

#include "palette/PaletteStore.h"

#include <algorithm>
#include <optional>

namespace
{

bool digitsOnly(std::string_view text)
{
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The number of "c<number>.rgb" with at most 19 digits and no leading zeros.
std::optional<unsigned long long> chartNumber(const std::string& name)
{
    if (name.size() < 6 || name.front() != 'c' || !name.ends_with(".rgb"))
        return std::nullopt;
    const std::string digits = name.substr(1, name.size() - 5);
    if (!digitsOnly(digits) || digits.size() > 19 || (digits.size() > 1 && digits[0] == '0'))
        return std::nullopt;
    return std::stoull(digits);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string file = fuzz::text(data, size);
    const std::string next = NextChartFileName({file, "Title", "0"});
    if (!next.empty()) {
        const auto number = chartNumber(next);
        FUZZ_CHECK(number.has_value() && *number > 0);
        // The number read is the text between the first character and the last four.
        const std::string digits = file.substr(1, file.size() - 5);
        FUZZ_CHECK(digitsOnly(digits) && std::stoull(digits) + 1 == *number);
    }
    if (file.find_first_of("\r\n") != std::string::npos)
        return 0;

    // The same name as the last entry of an index: the new palette's name is always usable.
    fuzz::fresh("colorchart.cci", "mycolor.rgb\r\nMine\r\n0\r\nrecent.rgb\r\nRecent\r\n2\r\n" +
                                      file + "\r\nLast\r\n0\r\n");
    PaletteStore store(fuzz::folder());
    const std::string name = store.NewChartFileName();
    FUZZ_CHECK(chartNumber(name).has_value() && !fuzz::exists(name));
    for (const auto& entry : store.ReadChartIndex())
        FUZZ_CHECK(entry.file != name);
    // Numbers of more than 18 digits are not taken from names (they could overflow); the
    // store then counts on from the highest number in use instead.
    if (!next.empty() && next.size() <= 1 + 18 + 4)
        FUZZ_CHECK(name == next);
    return 0;
}
