// The scheme color file as found on disk, against a name file of a few schemes: every record
// reads as six colors of 24 bits, a record of hexadecimal digits reads back as written, and a
// deletion keeps the others.

#include "FuzzSupport.h"

#include "web/SchemeStore.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

namespace
{

void expectColors(const WebColorScheme& s)
{
    for (const auto value :
         {s.Background, s.Text, s.NormalLink, s.VisitedLink, s.ActiveLink, s.HoverLink})
        FUZZ_CHECK(value >= 0 && value <= 0xFFFFFF);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string records = fuzz::text(data, size);
    const int schemes = size ? data[0] % 8 + 1 : 1;
    std::string names;
    for (int i = 0; i < schemes; ++i)
        names += "\"S" + std::to_string(i) + "\"\r\n";
    fuzz::fresh("set.hcs", names);
    fuzz::writeFile("colorset.dat", records);
    SchemeStore store(fuzz::folder());

    std::vector<WebColorScheme> read;
    for (int i = -1; i <= schemes; ++i) {
        const WebColorScheme scheme = store.ReadScheme(i);
        expectColors(scheme);
        const std::size_t offset = static_cast<std::size_t>(std::max(i, 0)) * 36;
        if (i >= 0 && i < schemes)
            read.push_back(scheme);
        if (i < 0 || offset + 36 > records.size())
            continue;
        const std::string record = records.substr(offset, 36);
        FUZZ_CHECK(parseSchemeRecord(record) == scheme);
        std::string upper = record;
        for (char& c : upper)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (std::all_of(record.begin(), record.end(),
                        [](unsigned char c) { return std::isxdigit(c); }))
            FUZZ_CHECK(schemeRecord(scheme) == upper);
    }
    expectColors(parseSchemeRecord(records));

    // Deleting a scheme keeps the colors of all others, as they were read.
    const int position = static_cast<int>(size % static_cast<std::size_t>(schemes));
    store.Delete(position);
    read.erase(read.begin() + position);
    FUZZ_CHECK(store.ReadNames().size() == read.size());
    FUZZ_CHECK(fuzz::readFile("colorset.dat").size() == read.size() * 36);
    for (std::size_t i = 0; i < read.size(); ++i)
        FUZZ_CHECK(store.ReadScheme(static_cast<int>(i)) == read[i]);
    return 0;
}
