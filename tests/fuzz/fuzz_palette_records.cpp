// A palette color file of any bytes: counted, read page by page, appended to, cleaned of
// duplicates and shortened by one record, each result checked against a plain model of the
// records.

#include "FuzzSupport.h"

#include "palette/PaletteStore.h"

#include <algorithm>
#include <cctype>
#include <set>

namespace
{

// RRGGBB as a color value, white for a record that is not six hexadecimal digits.
int colorOf(const std::string& r)
{
    if (!std::all_of(r.begin(), r.end(), [](unsigned char c) { return std::isxdigit(c); }))
        return 0xFFFFFF;
    return std::stoi(r.substr(4, 2) + r.substr(2, 2) + r.substr(0, 2), nullptr, 16);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes = fuzz::text(data, size);
    PaletteStore store(fuzz::fresh("p.rgb", bytes));

    std::vector<std::string> records;
    for (std::size_t at = 0; at + 6 <= bytes.size(); at += 6)
        records.push_back(bytes.substr(at, 6));
    const int count = static_cast<int>(records.size());
    FUZZ_CHECK(store.CountColorRecords("p.rgb") == count);
    for (int n = 1; n <= count; ++n)
        FUZZ_CHECK(store.ReadColorRecord("p.rgb", n) == colorOf(records[n - 1]));
    for (const int outside : {0, -1, count + 1, 1 << 30})
        FUZZ_CHECK(store.ReadColorRecord("p.rgb", outside) == 0xFFFFFF);
    const auto page = store.ReadColorRecordsDown("p.rgb", count, 216);
    FUZZ_CHECK(page.size() == 216);
    for (int i = 0; i < 216; ++i)
        FUZZ_CHECK(page[i] == (count - i >= 1 ? colorOf(records[count - i - 1]) : 0xFFFFFF));

    // Deleting record n keeps every other whole record in order; a trailing part is dropped.
    const int n = count ? static_cast<int>(data[0]) % count + 1 : 1;
    store.DeleteColorRecord("p.rgb", n, count);
    std::string expected = count == 0 ? bytes : ""; // nothing to delete: the file stays
    for (int i = 1; i <= count; ++i)
        if (i != n)
            expected += records[i - 1];
    FUZZ_CHECK(fuzz::readFile("p.rgb") == expected && !fuzz::exists("p.rgb.ctm"));

    // Appending lands right behind the last whole record, over a part record.
    store.AppendColorRecord("p.rgb", "#1A2B3C");
    const std::string appended = fuzz::readFile("p.rgb");
    FUZZ_CHECK(appended == expected.substr(0, expected.size() / 6 * 6) + "1A2B3C");

    // Duplicates go, first occurrences stay in order, exact text compared.
    std::set<std::string> seen;
    std::string unique;
    for (std::size_t at = 0; at + 6 <= appended.size(); at += 6)
        if (seen.insert(appended.substr(at, 6)).second)
            unique += appended.substr(at, 6);
    store.RemoveDuplicateRecords("p.rgb", store.CountColorRecords("p.rgb"));
    FUZZ_CHECK(fuzz::readFile("p.rgb") == unique && !fuzz::exists("p.rgb.tmp"));
    return 0;
}
