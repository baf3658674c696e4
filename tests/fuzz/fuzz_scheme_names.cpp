// The scheme name file as found on disk: listed, repaired at start-up, appended to and
// shortened; the two scheme files always end up agreeing, one record per name.

#include "FuzzSupport.h"

#include "storage/AtomicFile.h"
#include "web/SchemeStore.h"

#include <cstdint>

namespace
{

void expectInStep(const SchemeStore& store)
{
    const auto names = store.ReadNames();
    FUZZ_CHECK(fuzz::readFile("colorset.dat").size() == names.size() * 36);
    FUZZ_CHECK(!fuzz::exists("set.hct") && !fuzz::exists("colorset.dam"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text = fuzz::text(data, size);
    fuzz::fresh("set.hcs", text);
    fuzz::writeFile("colorset.dat", "000000FFFFFFFF0000800080"
                                    "0000FF0066FF"
                                    "111111222222333333444444555555666666");
    SchemeStore store(fuzz::folder());

    // Each line, whatever it holds, is a scheme named by all but its first and last character.
    const auto lines = splitLines(text);
    auto names = store.ReadNames();
    FUZZ_CHECK(names.size() == lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i)
        FUZZ_CHECK(names[i] ==
                   (lines[i].size() < 2 ? "" : lines[i].substr(1, lines[i].size() - 2)));

    store.ensureSchemes();
    names = store.ReadNames();
    FUZZ_CHECK(!names.empty());
    if (!lines.empty())
        FUZZ_CHECK(names.size() == lines.size());

    const WebColorScheme scheme{0x010203, 0x040506, 0x070809, 0x0A0B0C, 0x0D0E0F, 0x101112};
    store.Append("Saved \"here\", now\r\n", scheme);
    auto after = store.ReadNames();
    FUZZ_CHECK(after.size() == names.size() + 1);
    FUZZ_CHECK(after.back() == "Saved \"here\", now  ");
    FUZZ_CHECK(store.ReadScheme(static_cast<int>(names.size())) == scheme);
    expectInStep(store);

    const int position = static_cast<int>(size % (after.size() + 1));
    store.Delete(position);
    const auto shorter = store.ReadNames();
    FUZZ_CHECK(shorter.size() == after.size() - (position < static_cast<int>(after.size())));
    expectInStep(store);
    return 0;
}
