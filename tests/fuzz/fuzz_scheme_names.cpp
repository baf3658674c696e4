// The scheme name file as found on disk, whatever its lines hold: repaired at start-up, appended
// to and shortened; the two scheme files always end up agreeing, one record per name.

#include "FuzzSupport.h"

#include "web/SchemeStore.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::fresh("set.hcs", fuzz::text(data, size));
    fuzz::writeFile("colorset.dat", std::string(2 * 36, '1'));
    SchemeStore store(fuzz::folder());
    store.ensureSchemes();

    const WebColorScheme scheme{0x010203, 0x040506, 0x070809, 0x0A0B0C, 0x0D0E0F, 0x101112};
    store.Append("Saved \"here\", now\r\n", scheme);
    auto names = store.ReadNames();
    FUZZ_CHECK(!names.empty() && names.back() == "Saved \"here\", now  ");
    FUZZ_CHECK(store.ReadScheme(static_cast<int>(names.size()) - 1) == scheme);

    const std::size_t position = size % (names.size() + 1);
    store.Delete(static_cast<int>(position));
    if (position < names.size())
        names.erase(names.begin() + static_cast<std::ptrdiff_t>(position));
    FUZZ_CHECK(store.ReadNames() == names);
    FUZZ_CHECK(fuzz::readFile("colorset.dat").size() == names.size() * 36);
    FUZZ_CHECK(!fuzz::exists("set.hct") && !fuzz::exists("colorset.dam"));
    return 0;
}
