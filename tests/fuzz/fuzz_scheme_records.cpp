// The scheme color file as found on disk, against a name file of one to eight schemes: read,
// and shortened by one scheme.

#include "FuzzSupport.h"

#include "web/SchemeStore.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const int schemes = size ? data[0] % 8 + 1 : 1;
    std::string names;
    for (int i = 0; i < schemes; ++i)
        names += "\"S" + std::to_string(i) + "\"\r\n";
    fuzz::fresh("set.hcs", names);
    fuzz::writeFile("colorset.dat", fuzz::text(data, size));
    SchemeStore store(fuzz::folder());
    for (int i = -1; i <= schemes; ++i)
        store.ReadScheme(i);
    store.Delete(static_cast<int>(size % static_cast<std::size_t>(schemes)));
    return 0;
}
