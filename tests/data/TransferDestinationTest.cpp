// Where a download may go: a set folder, one that holds measurements, or a data folder;
// and the name of a new set folder inside a data folder.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "../common/TempFolder.h"
#include "rxt4/data/TransferDestination.h"

namespace rxt4::test {
namespace {

namespace fs = std::filesystem;

TEST(TransferDestinationTest, ChosenFoldersAreClassified) {
  const struct {
    const char* folder;                // the folder chosen, under the temporary folder
    std::vector<const char*> entries;  // files ("name") and folders ("name/") inside it
    DestinationKind kind;
  } cases[] = {
      {"0412", {}, DestinationKind::SetFolder},
      {"new/0413", {}, DestinationKind::SetFolder},  // not there yet
      {"0414", {"notes.txt", "photos/", "LEVEL/"}, DestinationKind::SetFolder},  // an empty kind folder
      {"0415", {"LEVEL/0415.CSV", "LEVEL/0415.cnt"}, DestinationKind::SetFolderWithData},
      {"0416", {"level/0416.csv"}, DestinationKind::SetFolderWithData},  // any letter case
      {"0417", {"MULTI/COUNT.CNT"}, DestinationKind::SetFolderWithData},
      {"RXT4", {}, DestinationKind::DataFolder},
      {"Site-RXT4/", {}, DestinationKind::DataFolder},
      {"missing/RXT4", {}, DestinationKind::DataFolder},
      {"rxt4", {}, DestinationKind::SetFolder},  // the name rule compares letter case, as the folder warning does
      {"archive", {"0412/BER/", "readme.txt"}, DestinationKind::DataFolder},
      {"archive2", {"0412/spectrum/0412.CSV"}, DestinationKind::DataFolder},
      {"archive3", {"0412/notes/"}, DestinationKind::SetFolder},  // a sub folder without kind folders
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.folder);
    TempFolder temp;
    const fs::path folder = temp.path() / c.folder;
    if (std::string(c.folder).rfind("new/", 0) != 0 && std::string(c.folder).rfind("missing/", 0) != 0)
      fs::create_directories(folder);
    for (const std::string entry : c.entries) {
      if (entry.back() == '/') fs::create_directories(folder / entry);
      else temp.Put(fs::relative(folder / entry, temp.path()), "x");
    }
    EXPECT_EQ(ClassifyDestination(folder), c.kind);
  }
}

TEST(TransferDestinationTest, NewSetFolderIsNamedAfterTheDateAndSkipsTakenNames) {
  TempFolder temp;
  EXPECT_EQ(NewSetFolderName(temp.path(), 4, 12), "0412");
  EXPECT_EQ(NewSetFolderName(temp.path(), 12, 3), "1203");
  fs::create_directories(temp.path() / "0412");
  EXPECT_EQ(NewSetFolderName(temp.path(), 4, 12), "0412-2");
  temp.Put("0412-2", "a file takes the name too");
  fs::create_directories(temp.path() / "0412-3");
  EXPECT_EQ(NewSetFolderName(temp.path(), 4, 12), "0412-4");
  EXPECT_EQ(NewSetFolderName(temp.path() / "not-there", 7, 7), "0707");
}

}  // namespace
}  // namespace rxt4::test
