// A palette color file of any bytes: counted, read page by page, appended to, cleaned of
// duplicates and shortened by one record, each result checked against a plain model of the
// records.

#include "FuzzSupport.h"

#include "palette/PaletteStore.h"

#include <cstdint>
#include <set>

namespace
{

int hex(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// RRGGBB as a color value, white for a record that is not six hexadecimal digits.
int colorOf(std::string_view record)
{
    int value = 0;
    for (int i = 5; i >= 0; i -= 2) {
        const int high = hex(record[i - 1]), low = hex(record[i]);
        if (high < 0 || low < 0)
            return 0xFFFFFF;
        value = value * 256 + high * 16 + low;
    }
    return value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    fuzz::fresh();
    fuzz::writeFile("p.rgb", bytes);
    PaletteStore store(fuzz::folder());

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
    std::string expected;
    for (int i = 1; i <= count; ++i)
        if (i != n || count == 0)
            expected += records[i - 1];
    if (count == 0)
        expected = bytes; // nothing to delete: the file stays as it was
    FUZZ_CHECK(fuzz::readFile("p.rgb") == expected);
    FUZZ_CHECK(!fuzz::exists("p.rgb.ctm"));

    // Appending lands right behind the last whole record.
    store.AppendColorRecord("p.rgb", "#1A2B3C");
    const std::string appended = fuzz::readFile("p.rgb");
    const std::size_t whole = expected.size() / 6 * 6;
    FUZZ_CHECK(appended.substr(0, whole) == expected.substr(0, whole));
    FUZZ_CHECK(appended.substr(whole, 6) == "1A2B3C");
    FUZZ_CHECK(appended.size() == std::max(whole + 6, expected.size()));

    // Duplicates go, first occurrences stay in order, exact text compared.
    std::set<std::string> seen;
    std::string unique;
    for (std::size_t at = 0; at + 6 <= appended.size(); at += 6)
        if (seen.insert(appended.substr(at, 6)).second)
            unique += appended.substr(at, 6);
    store.RemoveDuplicateRecords("p.rgb", store.CountColorRecords("p.rgb"));
    if (appended.size() / 6 >= 2)
        FUZZ_CHECK(fuzz::readFile("p.rgb") == unique);
    else
        FUZZ_CHECK(fuzz::readFile("p.rgb") == appended);
    FUZZ_CHECK(!fuzz::exists("p.rgb.tmp"));
    return 0;
}
