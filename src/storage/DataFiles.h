#pragma once

#include <string_view>

// The names of the files the program keeps in a data folder, besides the palette color files
// the index lists. A palette file name that equals one of these, or that ends like a temporary
// file, is refused, so a hand-edited index can never make a palette command overwrite them.
namespace dataFiles
{

inline constexpr std::string_view index = "colorchart.cci";     // the palette index
inline constexpr std::string_view indexTemp = "colorchart.cct"; // its rewrite
inline constexpr std::string_view recent = "recent.rgb";        // the recent colors palette
inline constexpr std::string_view firstPalette = "mycolor.rgb"; // the first factory palette
inline constexpr std::string_view schemeNames = "set.hcs";
inline constexpr std::string_view schemeNamesTemp = "set.hct";
inline constexpr std::string_view schemeRecords = "colorset.dat";
inline constexpr std::string_view schemeRecordsTemp = "colorset.dam";
inline constexpr std::string_view helpPage = "huebench.html";
inline constexpr std::string_view folderLock = ".huebench.lock";
inline constexpr std::string_view instanceLock = ".huebench-running.lock";
inline constexpr std::string_view seedRecord = ".factory-files"; // factory files offered so far

// Suffixes of the temporary files of a palette rewrite: "<palette>.ctm" when a record is
// deleted, "<palette>.tmp" when duplicates are removed.
inline constexpr std::string_view deleteTempSuffix = ".ctm";
inline constexpr std::string_view cleanTempSuffix = ".tmp";

// True for a name the program keeps other data under: never a palette color file.
constexpr bool isReservedName(std::string_view name)
{
    for (const std::string_view reserved :
         {index, indexTemp, schemeNames, schemeNamesTemp, schemeRecords, schemeRecordsTemp,
          helpPage, folderLock, instanceLock, seedRecord})
        if (name == reserved)
            return true;
    return name.ends_with(deleteTempSuffix) || name.ends_with(cleanTempSuffix);
}

} // namespace dataFiles
