#pragma once
// Where a download may go. The instrument's kinds are written as kind folders
// straight into the chosen folder, which so becomes a set folder; the viewer shows a
// set folder only as a child of the open data folder. Two choices would lose data
// from view or on disk: a set folder that already holds measurements (they are
// overwritten) and a data folder itself (its new kind folders are never shown).

#include <filesystem>
#include <string>

namespace rxt4 {

enum class DestinationKind {
  SetFolder,          // empty, or holding no measurement files: download into it
  SetFolderWithData,  // a kind folder in it holds files: ask before overwriting them
  DataFolder,         // its name ends in "RXT4", or it holds set folders: make a new set folder inside
};

// Classifies a chosen destination. A set folder is a folder holding a kind folder
// (LEVEL, BER, ... in any letter case); a folder that does not exist is a set folder
// unless its name ends in "RXT4".
DestinationKind ClassifyDestination(const std::filesystem::path& folder);

// True when the folder holds a kind folder (LEVEL, BER, ... in any letter case)
// itself: it is a set folder, not a data folder.
bool HoldsKindFolder(const std::filesystem::path& folder);

// The name of a new set folder inside dataFolder, after the date as the instrument
// names its own set folders: "MMDD", or "MMDD-2", "MMDD-3", ... when that name is taken.
std::string NewSetFolderName(const std::filesystem::path& dataFolder, int month, int day);

}  // namespace rxt4
