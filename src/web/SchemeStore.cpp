#include "web/SchemeStore.h"

// Placeholder: the scheme store is being written.
SchemeStore::SchemeStore(std::filesystem::path folder) : m_folder(std::move(folder)) {}
std::vector<std::string> SchemeStore::ReadNames() const { return {}; }
WebColorScheme SchemeStore::ReadScheme(int) const
{
    return {0xFFFFFF, 0, 0xFF0000, 0x800080, 0x0000FF, 0x0000FF};
}
void SchemeStore::Append(const std::string&, const WebColorScheme&) {}
void SchemeStore::Delete(int) {}
