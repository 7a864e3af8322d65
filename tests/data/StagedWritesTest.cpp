// Staged writes: a file's temporary copy is private, its own and never a link's
// target; a download's set folder is held by one download and replaced whole.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "../common/Unprivileged.h"
#include "../common/TempFolder.h"
#include "rxt4/data/DownloadFolder.h"
#include "rxt4/data/StagedFile.h"

namespace rxt4 {
namespace {

namespace fs = std::filesystem;
using test::ReadAll;
using test::TempFolder;

std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// Every entry under folder: relative path -> bytes ("<folder>" for folders).
std::map<std::string, std::string> Tree(const fs::path& folder) {
  std::map<std::string, std::string> tree;
  for (const auto& e : fs::recursive_directory_iterator(folder))
    tree[fs::relative(e.path(), folder).string()] = e.is_directory() ? "<folder>" : ReadAll(e.path());
  return tree;
}

unsigned ModeOf(const fs::path& path) {
  struct stat info {};
  ::stat(path.c_str(), &info);
  return info.st_mode & 0777;
}

TEST(StagedFile, TwoWritersOfOneFileEachWriteTheirOwnAndALinkIsNeverFollowed) {
  TempFolder dir;
  const fs::path report = dir.path() / "r.pdf";
  // A link where a fixed temporary name would be: writing through it would destroy victim.
  dir.Put("victim", "keep");
  fs::create_symlink(dir.path() / "victim", dir.path() / "r.pdf.part");
  StagedFile first(report), second(report);
  ASSERT_TRUE(first.ok());
  ASSERT_TRUE(second.ok());
  EXPECT_NE(first.tempPath(), second.tempPath());
  EXPECT_EQ(ModeOf(first.tempPath()), 0600u);  // private while it is written
  ASSERT_TRUE(first.Write("first, whole"));
  ASSERT_TRUE(second.Write("second, whole"));
  ASSERT_TRUE(first.Commit());
  EXPECT_EQ(ReadAll(report), "first, whole");
  ASSERT_TRUE(second.Commit());
  EXPECT_EQ(ReadAll(report), "second, whole");  // the last to finish wins, whole
  EXPECT_EQ(ReadAll(dir.path() / "victim"), "keep");
  EXPECT_EQ(Names(dir.path()), (std::vector<std::string>{"r.pdf", "r.pdf.part", "victim"}));
  // Complete, it takes the mode a new file of the user gets.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  EXPECT_EQ(ModeOf(report), 0666u & ~mask);
}

TEST(StagedFile, TheFinalFileKeepsItsModeAndAFailureLeavesItWhole) {
  TempFolder dir;
  const fs::path file = dir.Put("table.csv", "earlier");
  fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  {
    StagedFile abandoned(file);
    ASSERT_TRUE(abandoned.Write("half"));
  }  // never committed: removed
  EXPECT_EQ(ReadAll(file), "earlier");
  StagedFile staged(file);
  ASSERT_TRUE(staged.Write("later"));
  ASSERT_TRUE(staged.Commit());
  EXPECT_EQ(ReadAll(file), "later");
  EXPECT_EQ(ModeOf(file), 0640u);
  EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"table.csv"});
}

TEST(StagedFile, PathOnlyAndClosedFilesAndNamesAtTheLengthLimit) {
  TempFolder dir;
  // Another writer writes by the path; a file put in its place is not committed.
  StagedFile database(dir.path() / "e.db", StagedFile::Mode::PathOnly);
  ASSERT_TRUE(database.ok());
  std::ofstream(database.tempPath(), std::ios::binary) << "rows";
  ASSERT_TRUE(database.Commit());
  EXPECT_EQ(ReadAll(dir.path() / "e.db"), "rows");
  StagedFile replaced(dir.path() / "f.db", StagedFile::Mode::PathOnly);
  fs::remove(replaced.tempPath());
  std::ofstream(replaced.tempPath()) << "someone else's";
  EXPECT_FALSE(replaced.Commit());
  EXPECT_FALSE(fs::exists(dir.path() / "f.db"));

  // A name as long as the file system allows still gets its temporary copy; closed
  // files wait for their commit without a descriptor.
  const std::string longName = std::string(245, 'n') + "_1.png";
  std::vector<std::unique_ptr<StagedFile>> images;
  for (const std::string& name : {longName, std::string("b.png")}) {
    images.push_back(std::make_unique<StagedFile>(dir.path() / name));
    ASSERT_TRUE(images.back()->Write(name)) << images.back()->error().message();
    ASSERT_TRUE(images.back()->Close());
  }
  for (auto& image : images) ASSERT_TRUE(image->Commit(false));
  EXPECT_EQ(FlushFolder(dir.path()), std::error_code());
  EXPECT_EQ(ReadAll(dir.path() / longName), longName);
}

// The earlier download of a set folder: tables and companion files, and a file of the user's.
void EarlierDownload(const TempFolder& dir) {
  dir.Put("D/0412/LEVEL/0412.CSV", "old level");
  dir.Put("D/0412/LEVEL/0412.CNT", "1\n2.00");
  for (int i = 1; i <= 3; ++i) dir.Put("D/0412/CONSTEL/0412.00" + std::to_string(i), "old diagram");
  dir.Put("D/0412/notes.txt", "the user's");
  dir.Put("D/0412/job.toml", "title = \"点検\"\nmeasured_at = \"2026-04-01 09:00\"\n");
}

TEST(DownloadFolder, AnOverwriteIsStagedBesideAndSwappedInWhole) {
  TempFolder dir;
  EarlierDownload(dir);
  const fs::path set = dir.path() / "D/0412";
  const auto before = Tree(set);
  {
    // Failed or cancelled: never committed, the set folder stays as it was.
    DownloadFolder folder;
    ASSERT_TRUE(folder.Open(set));
    ASSERT_TRUE(folder.staged());
    EXPECT_EQ(folder.writeFolder().parent_path(), set.parent_path());
    EXPECT_EQ(folder.setName(), "0412");
    dir.Put(fs::relative(folder.writeFolder() / "LEVEL/0412.CSV", dir.path()), "new level");
    ASSERT_TRUE(folder.StampJobRecord("2026-04-12 10:30", {"RXT4", "", ""}));
  }
  EXPECT_EQ(Tree(set), before);
  EXPECT_EQ(Names(dir.path() / "D"), std::vector<std::string>{"0412"});

  DownloadFolder folder;
  ASSERT_TRUE(folder.Open(set));
  dir.Put(fs::relative(folder.writeFolder() / "LEVEL/0412.CSV", dir.path()), "new level");
  dir.Put(fs::relative(folder.writeFolder() / "CONSTEL/0412.001", dir.path()), "new diagram");
  ASSERT_TRUE(folder.StampJobRecord("2026-04-12 10:30", {"RXT4", "", ""}));
  ASSERT_TRUE(folder.Commit());
  // The job record comes along with the download's 測定日時 and what it knew of the instrument.
  JobRecord stamped;
  stamped.title = "点検";
  stamped.measuredAt = "2026-04-12 10:30";
  stamped.instrument.model = "RXT4";
  EXPECT_EQ(Tree(set), (std::map<std::string, std::string>{{"CONSTEL", "<folder>"},
                                                           {"CONSTEL/0412.001", "new diagram"},
                                                           {"LEVEL", "<folder>"},
                                                           {"LEVEL/0412.CSV", "new level"},
                                                           {"job.toml", FormatJobRecord(stamped)},
                                                           {"notes.txt", "the user's"}}));
  EXPECT_EQ(Names(dir.path() / "D"), std::vector<std::string>{"0412"});
}

TEST(DownloadFolder, ADamagedJobRecordIsLeftAsItIsAndANewSetFolderGetsOne) {
  TempFolder dir;
  EarlierDownload(dir);
  dir.Put("D/0412/job.toml", "title = \"unterminated\n");
  const fs::path set = dir.path() / "D/0412";
  {
    DownloadFolder folder;
    ASSERT_TRUE(folder.Open(set));
    dir.Put(fs::relative(folder.writeFolder() / "LEVEL/0412.CSV", dir.path()), "new level");
    ASSERT_TRUE(folder.StampJobRecord("2026-04-12 10:30", {"RXT4", "", ""}));
    EXPECT_EQ(folder.keptRecord().kind, RecordError::Kind::Damaged);
    ASSERT_TRUE(folder.Commit());
  }
  EXPECT_EQ(ReadAll(set / "job.toml"), "title = \"unterminated\n");
  EXPECT_EQ(ReadAll(set / "LEVEL/0412.CSV"), "new level");

  fs::create_directories(dir.path() / "D/NEW");
  DownloadFolder folder;
  ASSERT_TRUE(folder.Open(dir.path() / "D/NEW"));
  EXPECT_FALSE(folder.staged());
  ASSERT_TRUE(folder.StampJobRecord("2026-04-13 08:05", {"RXT4", "", ""}));
  ASSERT_TRUE(folder.Commit());
  EXPECT_EQ(ReadJobRecord(dir.path() / "D/NEW").record.measuredAt, "2026-04-13 08:05");
}

TEST(DownloadFolder, HeldByOneDownloadAndRefusedWhenItCannotBeOverwritten) {
  TempFolder dir;
  fs::create_directories(dir.path() / "D/EMPTY/LEVEL");
  EarlierDownload(dir);
  const struct {
    const char* what;
    fs::path set;
    fs::path refused;  // empty: taken
    std::error_code reason;
  } cases[] = {
      {"a set folder without measurements is written directly", dir.path() / "D/EMPTY", {}, {}},
      {"a missing set folder", dir.path() / "D/NONE", dir.path() / "D/NONE",
       std::make_error_code(std::errc::no_such_file_or_directory)},
      {"a read-only kind folder of the earlier download", dir.path() / "D/0412", dir.path() / "D/0412/CONSTEL",
       std::make_error_code(std::errc::permission_denied)},
  };
  fs::permissions(dir.path() / "D/0412/CONSTEL", fs::perms::owner_read | fs::perms::owner_exec);
  const auto before = Tree(dir.path() / "D/0412");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    test::WithoutPermissionOverride unprivileged;
    DownloadFolder folder;
    EXPECT_EQ(folder.Open(c.set), c.refused.empty());
    EXPECT_EQ(folder.problem().folder, c.refused);
    EXPECT_EQ(folder.problem().reason, c.reason);
    if (c.refused.empty()) {
      EXPECT_EQ(folder.writeFolder(), c.set);
    }
  }
  fs::permissions(dir.path() / "D/0412/CONSTEL", fs::perms::owner_all);
  EXPECT_EQ(Tree(dir.path() / "D/0412"), before);
  EXPECT_EQ(Names(dir.path() / "D"), (std::vector<std::string>{"0412", "EMPTY"}));

  // A second download for a set folder is refused while the first holds it.
  DownloadFolder first, second;
  ASSERT_TRUE(first.Open(dir.path() / "D/EMPTY"));
  EXPECT_FALSE(second.Open(dir.path() / "D/EMPTY"));
  EXPECT_TRUE(second.problem().busy);
}

}  // namespace
}  // namespace rxt4
