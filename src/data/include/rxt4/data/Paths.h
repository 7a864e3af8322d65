#pragma once
// Paths and file names of a data folder: where the files of a set folder's kind
// folder are, named once for the loader, the writer and the demonstration data; and
// their lookup regardless of letter case on a case-sensitive file system
// (LEVEL/0412.cnt finds 0412.CNT).

#include <filesystem>
#include <string>
#include <string_view>

namespace rxt4 {

// The path itself when it exists; otherwise the existing path whose components
// equal it ignoring ASCII letter case; otherwise the path unchanged.
std::filesystem::path ResolvePath(const std::filesystem::path& path);

// The name of a set folder: the last component of its path (trailing separators ignored).
std::string SetFolderName(const std::filesystem::path& setFolder);

// The files of a kind folder of set folder NAME, as the writer names them (the loader
// finds them in any letter case): the measurement table "NAME.CSV" and count file
// "NAME.CNT", the companion files "NAME.001", "NAME.002", ...; in the multi-channel
// kind folder the tables "01.CSV", "02.CSV", ... and their count file "COUNT.CNT".
std::string TableFileName(std::string_view setName);
std::string CountFileName(std::string_view setName);
std::string CompanionFileName(std::string_view setName, unsigned block);
std::string MultiTableFileName(long long table);
std::string MultiCountFileName();

// The companion base of a table path: the path up to and including its last ".".
std::string CompanionBase(std::string_view tablePath);

// The companion file of a row: base (a companion base, or its last component alone)
// followed by the rightmost three characters of the row's record number (Column::No;
// the whole text when shorter).
std::string CompanionName(std::string_view companionBase, std::string_view recordNo);
// That file, resolved as ResolvePath does.
std::filesystem::path CompanionPath(std::string_view companionBase, std::string_view recordNo);

}  // namespace rxt4
