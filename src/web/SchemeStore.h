#pragma once

#include "color/bascommon.h"

#include <filesystem>
#include <string>
#include <vector>

// The six colors of a web color scheme.
struct WebColorScheme {
    bascommon::ColorValue Background, Text, NormalLink, VisitedLink, ActiveLink, HoverLink;
};

// The saved schemes: names in "set.hcs", colors in "colorset.dat".
class SchemeStore {
public:
    explicit SchemeStore(std::filesystem::path folder);
    std::vector<std::string> ReadNames() const;
    WebColorScheme ReadScheme(int position) const;
    void Append(const std::string& name, const WebColorScheme& scheme);
    void Delete(int position);

private:
    std::filesystem::path m_folder;
};
