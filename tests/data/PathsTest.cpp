#include <gtest/gtest.h>

#include "../common/TempFolder.h"
#include "rxt4/data/Paths.h"

namespace rxt4 {
namespace {

using test::TempFolder;

TEST(Paths, ResolvePathIgnoresLetterCase) {
  TempFolder dir;
  dir.Put("0412/LEVEL/0412.CNT", "1\n2.00");
  dir.Put("0412/CONSTEL/0412.001", "x");
  EXPECT_EQ(ResolvePath(dir.path() / "0412/LEVEL/0412.cnt"), dir.path() / "0412/LEVEL/0412.CNT");
  EXPECT_EQ(ResolvePath(dir.path() / "0412/level/0412.cnt"), dir.path() / "0412/LEVEL/0412.CNT");
  EXPECT_EQ(ResolvePath(dir.path() / "0412/LEVEL"), dir.path() / "0412/LEVEL");
  // Nothing matches: the path comes back unchanged.
  EXPECT_EQ(ResolvePath(dir.path() / "0412/level/0413.cnt"), dir.path() / "0412/level/0413.cnt");
  EXPECT_EQ(ResolvePath(dir.path() / "none/x"), dir.path() / "none/x");
  EXPECT_EQ(ResolvePath(""), "");
}

TEST(Paths, CompanionFilesAreNamedByTheLastThreeCharactersOfColumn0) {
  EXPECT_EQ(CompanionBase("/d/0412/CONSTEL/0412.CSV"), "/d/0412/CONSTEL/0412.");
  EXPECT_EQ(CompanionBase("/d.x/0412"), "/d.");
  TempFolder dir;
  dir.Put("S/CONSTEL/S.001", "x");
  const std::string base = (dir.path() / "S/CONSTEL/S.").string();
  EXPECT_EQ(CompanionPath(base, "0001"), dir.path() / "S/CONSTEL/S.001");
  EXPECT_EQ(CompanionPath(base, "0007"), dir.path() / "S/CONSTEL/S.007");
  EXPECT_EQ(CompanionPath(base, "12"), dir.path() / "S/CONSTEL/S.12");
  // The base in another letter case still finds the file.
  EXPECT_EQ(CompanionPath((dir.path() / "S/constel/s.").string(), "001"), dir.path() / "S/CONSTEL/S.001");
}

}  // namespace
}  // namespace rxt4
