#include <gtest/gtest.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "../common/Unprivileged.h"
#include "../common/TempFolder.h"
#include "rxt4/data/DataFolderModel.h"
#include "rxt4/data/DirectoryIndex.h"
#include "rxt4/data/FolderLoadJob.h"
#include "rxt4/data/Strings.h"

namespace rxt4 {
namespace {

using test::TempFolder;

struct Recorder : LoadObserver {
  std::vector<std::string> messages;  // "E:" file errors, "W:" count warnings, "F:" folder errors, in order
  void FileError(const std::string& m) override { messages.push_back("E:" + m); }
  void CountWarning(const std::string& m) override { messages.push_back("W:" + m); }
  void FolderError(const std::string& m) override { messages.push_back("F:" + m); }
};

// A table line: column 0, column 1 (data name), column 19 and empty others.
std::string Line(const std::string& no, const std::string& name, const std::string& count = "") {
  std::string line = no + "," + name;
  for (int c = 2; c < 30; ++c) line += "," + (c == 19 ? count : std::string());
  return line + "\n";
}

const std::string kHeader = "No.,name\n";
const std::string kWarning = " のデータ数が記録情報と異なります。\nデータが正常に表示できない可能性があります。\nCSVファイルを確認してください。";
const std::string kBadCount = " の記録情報が正しくありません。\nこのフォルダのデータは表示されません。";

// The tree below the top item as indented labels, one item per line with its number.
std::string Dump(const DataFolderModel& model, int number = 0, int depth = 0) {
  std::string text;
  for (int i = 0; i < model.ChildCount(number); ++i) {
    int child = model.ChildAt(number, i);
    EXPECT_EQ(model.Parent(child), number);
    EXPECT_EQ(model.RowInParent(child), i);
    text += std::string(depth * 2, ' ') + std::to_string(child) + " " + model.Label(child) + "\n";
    text += Dump(model, child, depth + 1);
  }
  return text;
}

constexpr const char* kEmptyRoots =
    "1 レベル測定データ\n2 BER測定データ\n3 コンスタレーションデータ\n4 スペクトラムデータ\n"
    "5 遅延プロファイルデータ\n6 スカパー測定データ\n7 多チャンネル測定データ\n";

TEST(DataFolderModel, LevelSetGivesFolderAndNumberedItems) {
  TempFolder dir;
  dir.Put("0412/LEVEL/0412.cnt", "3\n2.00");
  dir.Put("0412/LEVEL/0412.CSV", kHeader + Line("0001", "ABC") + Line("0002", "\x83\x8C\x83\x78\x83\x8B") + Line("0003", ""));
  DataFolderModel model;
  Recorder observer;
  model.Load(dir.path(), observer);
  EXPECT_TRUE(observer.messages.empty());
  EXPECT_EQ(Dump(model),
            "1 レベル測定データ\n  8 0412\n    9   1:ABC\n    10   2:レベル\n    11   3:\n"
            "2 BER測定データ\n3 コンスタレーションデータ\n4 スペクトラムデータ\n"
            "5 遅延プロファイルデータ\n6 スカパー測定データ\n7 多チャンネル測定データ\n");
  EXPECT_EQ(model.LabelSjis(10), "  2:\x83\x8C\x83\x78\x83\x8B");
  const CDataSet* second = model.Record(10);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->kind, DataKind::Level);
  EXPECT_EQ(second->indexText(), "2");
  EXPECT_EQ(second->countText(), "3");
  EXPECT_EQ(second->tablePath(), (dir.path() / "0412/LEVEL/0412.CSV").string());
  EXPECT_EQ(second->companionBase(), (dir.path() / "0412/LEVEL/0412.").string());
  EXPECT_EQ(second->row.Field(0), "0002");
  EXPECT_EQ(model.Kind(8), DataKind::None);
  EXPECT_EQ(model.Record(8)->indexText(), "");
  EXPECT_EQ(model.Kind(1), DataKind::None);
  EXPECT_EQ(model.Record(12), nullptr);
  EXPECT_EQ(model.Record(0), nullptr);
  EXPECT_EQ(model.measurementCount(), 3);
  EXPECT_EQ(model.MeasurementCountOf(TransferKind::Level), 3);
  EXPECT_EQ(model.FolderCount(TransferKind::Level), 1);

  // Reloading gives the same tree and numbers.
  std::string first = Dump(model);
  model.Load(dir.path(), observer);
  EXPECT_EQ(Dump(model), first);
}

TEST(DataFolderModel, CountMismatchWarnsAndKeepsTheRowsRead) {
  TempFolder dir;
  dir.Put("0412/LEVEL/0412.cnt", "4\n2.00");
  dir.Put("0412/LEVEL/0412.CSV", kHeader + Line("1", "a") + Line("2", "b") + Line("3", "c"));
  DataFolderModel model;
  Recorder observer;
  model.Load(dir.path(), observer);
  ASSERT_EQ(observer.messages.size(), 1u);
  EXPECT_EQ(observer.messages[0], "W:" + (dir.path() / "0412/LEVEL/0412.CSV").string() + kWarning);
  EXPECT_EQ(model.ChildCount(model.ChildAt(1, 0)), 3);
  EXPECT_EQ(model.Record(9)->countText(), "3");  // the rows actually read
}

TEST(DataFolderModel, SkipsKindFoldersWithoutUsableCountOrTable) {
  TempFolder dir;
  dir.Put("A/LEVEL/A.cnt", "2\n2.00");  // count file but no table: one file error
  dir.Put("A/BER/A.cnt", "1\n2.01");    // wrong version: skipped, and said
  dir.Put("A/BER/A.CSV", kHeader + Line("1", "x"));
  dir.Put("A/SKY/A.CSV", kHeader + Line("1", "x"));  // no count file: skipped silently
  dir.Put("A/CONSTEL/A.cnt", "0\n2.00");             // no rows: nothing, no message
  dir.Put("A/CONSTEL/A.CSV", kHeader);
  dir.Put("A/SPECTRUM/A.cnt", "1\r\n2.00\r\n");  // CR LF count file fails the version test, said
  dir.Put("A/SPECTRUM/A.CSV", kHeader + Line("1", "x"));
  std::filesystem::create_directories(dir.path() / "A/PROFILE/A.cnt");  // opens, cannot be read
  dir.Put("A/PROFILE/A.CSV", kHeader + Line("1", "x"));
  dir.Put("plain.txt", "not a set folder");
  std::filesystem::create_directories(dir.path() / "EMPTY/OTHER");
  DataFolderModel model;
  Recorder observer;
  model.Load(dir.path(), observer);
  EXPECT_EQ(observer.messages, (std::vector<std::string>{
                                   "E:ファイルまたはフォルダがありません: " + (dir.path() / "A/LEVEL/A.CSV").string(),
                                   "W:" + (dir.path() / "A/BER/A.cnt").string() + kBadCount,
                                   "W:" + (dir.path() / "A/SPECTRUM/A.cnt").string() + kBadCount,
                                   "E:フォルダです: " + (dir.path() / "A/PROFILE/A.cnt").string(),
                               }));
  EXPECT_EQ(Dump(model), kEmptyRoots);
}

// Damage worse than a table cut short is never silent: every case names its file or
// folder, and the tree keeps what a load of the damaged folder gives.
TEST(DataFolderModel, DamagedFilesAndUnreadableFoldersAreSaid) {
  TempFolder dir;
  namespace fs = std::filesystem;
  const fs::path d = dir.path() / "D";
  const std::string nul(6, '\0');
  struct Case {
    const char* what;
    std::function<void()> make;
    std::string message;  // "" for a quiet load
  } cases[] = {
      {"count file all NUL bytes", [&] { dir.Put("D/S/LEVEL/S.CNT", nul); dir.Put("D/S/LEVEL/S.CSV", kHeader); },
       "W:" + (d / "S/LEVEL/S.CNT").string() + kBadCount},
      {"count file a link loop", [&] { fs::create_directories(d / "S/BER"); fs::create_symlink("S.CNT", d / "S/BER/S.CNT"); },
       "E:" + std::string(Text(StringId::ErrnoLinkLoop)) + ": " + (d / "S/BER/S.CNT").string()},
      {"count file unreadable", [&] { dir.Put("D/S/SKY/S.CNT", "1\n2.00"); fs::permissions(d / "S/SKY/S.CNT", fs::perms::none); },
       "E:アクセスが許可されていません: " + (d / "S/SKY/S.CNT").string()},
      {"kind folder unreadable", [&] { dir.Put("D/S/LEVEL/S.CNT", "1\n2.00"); fs::permissions(d / "S/LEVEL", fs::perms::none); },
       "F:フォルダを読み込めません: " + (d / "S/LEVEL").string() + "（アクセスが許可されていません）"},
      {"set folder unreadable", [&] { dir.Put("D/S/LEVEL/S.CNT", "1\n2.00"); fs::permissions(d / "S", fs::perms::none); },
       "F:フォルダを読み込めません: " + (d / "S").string() + "（アクセスが許可されていません）"},
      {"data folder unreadable", [&] { dir.Put("D/S/LEVEL/S.CNT", "1\n2.00"); fs::permissions(d, fs::perms::none); },
       "F:フォルダを読み込めません: " + d.string() + "（アクセスが許可されていません）"},
      {"empty table, count 12", [&] { dir.Put("D/S/LEVEL/S.CNT", "12\n2.00"); dir.Put("D/S/LEVEL/S.CSV", ""); },
       "W:" + (d / "S/LEVEL/S.CSV").string() + kWarning},
      {"header only, count 12", [&] { dir.Put("D/S/LEVEL/S.CNT", "12\n2.00"); dir.Put("D/S/LEVEL/S.CSV", kHeader); },
       "W:" + (d / "S/LEVEL/S.CSV").string() + kWarning},
      {"carriage return only, count 12", [&] { dir.Put("D/S/LEVEL/S.CNT", "12\n2.00"); dir.Put("D/S/LEVEL/S.CSV", "\r"); },
       "W:" + (d / "S/LEVEL/S.CSV").string() + kWarning},
      {"multi-channel table without rows", [&] { dir.Put("D/S/MULTI/COUNT.CNT", "1\n2.00"); dir.Put("D/S/MULTI/01.CSV", kHeader); },
       "W:" + (d / "S/MULTI/01.CSV").string() + kWarning},
      {"header only, count 0", [&] { dir.Put("D/S/LEVEL/S.CNT", "0\n2.00"); dir.Put("D/S/LEVEL/S.CSV", kHeader); }, ""},
      {"kind folder empty", [&] { fs::create_directories(d / "S/LEVEL"); }, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    c.make();
    DataFolderModel model;
    Recorder observer;
    {
      test::WithoutPermissionOverride unprivileged;
      model.Load(d, observer);
    }
    EXPECT_EQ(observer.messages, c.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.message});
    EXPECT_EQ(model.measurementCount(), 0);
    for (const fs::path& p : {d, d / "S", d / "S/LEVEL", d / "S/SKY/S.CNT"})
      if (fs::exists(p)) fs::permissions(p, fs::perms::owner_all);
    fs::remove_all(d);
  }
}

TEST(DataFolderModel, MultiChannelStopsAtTheFirstTableWithoutRows) {
  TempFolder dir;
  dir.Put("M/MULTI/COUNT.CNT", "3\n2.00");
  dir.Put("M/MULTI/01.CSV", kHeader + Line("00101", "chA", "2") + Line("00102", "chB", "2"));
  // 02.CSV is missing; 03.CSV is a folder, which would give a second error if read.
  std::filesystem::create_directories(dir.path() / "M/MULTI/03.CSV");
  DataFolderModel model;
  Recorder observer;
  model.Load(dir.path(), observer);
  ASSERT_EQ(observer.messages.size(), 1u);
  EXPECT_EQ(observer.messages[0], "E:ファイルまたはフォルダがありません: " + (dir.path() / "M/MULTI/02.CSV").string());
  EXPECT_EQ(Dump(model, 7), "8 M\n  9   1:chA\n");
  const CDataSet* set = model.Record(9);
  EXPECT_EQ(set->kind, DataKind::Multi);
  EXPECT_EQ(set->indexText(), "1");
  EXPECT_EQ(set->countText(), "3");  // COUNT.CNT's text as stored
  EXPECT_EQ(set->rows.size(), 2u);
  EXPECT_TRUE(set->row.absent());
}

TEST(DataFolderModel, MultiChannelFolderItemComesBeforeItsTables) {
  TempFolder dir;
  dir.Put("M/MULTI/count.cnt", " 02abc\n2.00");
  DataFolderModel model;
  Recorder observer;
  model.Load(dir.path(), observer);
  EXPECT_EQ(Dump(model, 7), "8 M\n");
  ASSERT_EQ(observer.messages.size(), 1u);
  EXPECT_EQ(observer.messages[0].substr(0, 2), "E:");
}

TEST(DataFolderModel, MultiChannelCountWarningAndRowKeys) {
  TempFolder dir;
  dir.Put("M/MULTI/COUNT.CNT", "1\n2.00");
  std::string table = kHeader + Line("00101", "five", "4");
  for (int i = 2; i <= 5; ++i) table += Line("0010" + std::to_string(i), "r" + std::to_string(i));
  dir.Put("M/MULTI/01.CSV", table);
  DataFolderModel model;
  Recorder observer;
  model.Load(dir.path(), observer);
  ASSERT_EQ(observer.messages.size(), 1u);
  EXPECT_EQ(observer.messages[0], "W:" + (dir.path() / "M/MULTI/01.CSV").string() + kWarning);
  const CDataSet* set = model.Record(9);
  ASSERT_NE(set, nullptr);
  ASSERT_EQ(set->rows.size(), 5u);
  EXPECT_EQ(set->RowByKey("1").Field(1), "five");
  EXPECT_EQ(set->RowByKey("5").Field(0), "00105");
  EXPECT_TRUE(set->RowByKey("6").absent());
  EXPECT_TRUE(set->RowByKey("0").absent());
  EXPECT_TRUE(set->RowByKey("01").absent());
  EXPECT_EQ(model.Label(9), "  1:five");
}

TEST(DataFolderModel, NumbersFollowLoadOrderAcrossKinds) {
  TempFolder dir;
  // Kind folders in assorted letter case; file names in the other case.
  dir.Put("S/profile/S.CNT", "1\n2.00");
  dir.Put("S/profile/s.csv", kHeader + Line("001", "prof"));
  dir.Put("S/Multi/COUNT.cnt", "1\n2.00");
  dir.Put("S/Multi/01.csv", kHeader + Line("00101", "multi", "1"));
  dir.Put("S/BER/S.cnt", "1\n2.00");
  dir.Put("S/BER/S.CSV", kHeader + Line("001", "ber"));
  dir.Put("S/LEVEL/S.cnt", "2\n2.00");
  dir.Put("S/LEVEL/S.CSV", kHeader + Line("001", "lv1") + Line("002", "lv2") + "*\n" + Line("003", "after end"));
  DataFolderModel model;
  Recorder observer;
  model.Load(dir.path(), observer);
  EXPECT_TRUE(observer.messages.empty());
  // Loader order: LEVEL, BER, SKY, CONSTEL, MULTI, SPECTRUM, PROFILE.
  EXPECT_EQ(Dump(model),
            "1 レベル測定データ\n  8 S\n    9   1:lv1\n    10   2:lv2\n"
            "2 BER測定データ\n  11 S\n    12   1:ber\n"
            "3 コンスタレーションデータ\n4 スペクトラムデータ\n"
            "5 遅延プロファイルデータ\n  15 S\n    16   1:prof\n"
            "6 スカパー測定データ\n7 多チャンネル測定データ\n  13 S\n    14   1:multi\n");
  EXPECT_EQ(model.Record(16)->kind, DataKind::Profile);
  EXPECT_EQ(model.Record(16)->tablePath(), (dir.path() / "S/profile/s.csv").string());
  EXPECT_EQ(model.Record(14)->tablePath(), (dir.path() / "S/Multi/01.csv").string());
}

TEST(DataFolderModel, MissingAndEmptyDataFoldersGiveTheRootsOnly) {
  DataFolderModel model;
  EXPECT_EQ(model.RootCount(), 0);
  Recorder observer;
  TempFolder dir;
  model.Load(dir.path() / "missing", observer);
  EXPECT_EQ(Dump(model), kEmptyRoots);
  ASSERT_EQ(observer.messages.size(), 1u);  // a folder that cannot be read is said
  EXPECT_EQ(observer.messages[0],
            "F:フォルダを読み込めません: " + (dir.path() / "missing").string() + "（ファイルまたはフォルダがありません）");
  observer.messages.clear();
  model.Load(dir.path(), observer);
  EXPECT_EQ(Dump(model), kEmptyRoots);
  model.Load("", observer);  // the root of the file system: looked at, normally nothing there
  EXPECT_EQ(model.RootCount(), 7);
  EXPECT_EQ(model.Label(7), "多チャンネル測定データ");
  EXPECT_TRUE(observer.messages.empty());
}

TEST(DataFolderModel, SetFoldersAreTakenInNameOrder) {
  TempFolder dir;
  for (const char* set : {"S10", "s2", "S1", "b", "A", "0412", "412", "2", "a"}) {
    dir.Put(std::string(set) + "/LEVEL/" + set + ".CNT", "1\n2.00");
    dir.Put(std::string(set) + "/LEVEL/" + set + ".CSV", kHeader + Line("1", set));
  }
  DataFolderModel model;
  Recorder observer;
  model.Load(dir.path(), observer);
  // Digits as numbers, letters without case, then byte order; numbering follows.
  EXPECT_EQ(Dump(model, 1),
            "8 2\n  9   1:2\n10 0412\n  11   1:0412\n12 412\n  13   1:412\n14 A\n  15   1:A\n16 a\n  17   1:a\n"
            "18 b\n  19   1:b\n20 S1\n  21   1:S1\n22 s2\n  23   1:s2\n24 S10\n  25   1:S10\n");
}

// Everything a load gives, item by item, and its messages.
std::string FullDump(const DataFolderModel& model, const std::vector<LoadMessage>& messages) {
  std::string text = Dump(model);
  for (int n = 1; n <= model.itemCount(); ++n) {
    const CDataSet* r = model.Record(n);
    text += std::to_string(n) + " " + std::to_string(static_cast<int>(r->kind)) + " " + r->indexText() + " " +
            std::string(r->countText()) + " " + std::string(r->tablePath()) + " [" + std::string(r->row.Line()) + "]";
    for (const MeasurementRow& row : r->rows) text += " [" + std::string(row.Line()) + "]";
    text += "\n";
  }
  for (const LoadMessage& m : messages) text += (m.kind == LoadMessage::Kind::FileError ? "E:" : "W:") + m.text + "\n";
  return text;
}

// 24 set folders, in no listing order, holding every kind: good tables, count
// mismatches, missing tables, wrong versions, unreadable count files, gaps.
void MakeMixedArchive(const TempFolder& dir) {
  for (int s = 0; s < 24; ++s) {
    const std::string set = (s % 3 ? "s" : "S") + std::to_string(s * 7 % 24);
    for (TransferKind kind : kAllTransferKinds) {
      const int k = static_cast<int>(kind);
      const int variant = (s + k) % 6;
      const int rows = 1 + (s + k) % 4;
      // Some folders and tables spelled in lower case, as another writer might.
      const bool lower = s % 5 == 4 && k % 2 == 0;
      const std::string folder = set + "/" + (lower ? FoldCase(KindFolderName(kind)) : std::string(KindFolderName(kind))) + "/";
      const std::string csv = lower ? ".csv" : ".CSV";
      if (variant == 5) continue;  // no kind folder
      const std::string version = variant == 3 ? "2.01" : "2.00";
      if (kind == TransferKind::Multi) {
        dir.Put(folder + "COUNT.CNT", std::to_string(rows) + "\n" + version);
        for (int t = 1; t <= rows; ++t) {
          if (variant == 2 && t == 2) continue;  // a gap: later tables are not read
          std::string table = kHeader + Line("00" + std::to_string(t) + "1", set + "m" + std::to_string(t),
                                             variant == 1 ? "9" : "2");
          dir.Put(folder + "0" + std::to_string(t) + csv, table + Line("x", "second"));
        }
        continue;
      }
      if (variant == 4) {
        std::filesystem::create_directories(dir.path() / (folder + set + ".CNT"));
      } else {
        dir.Put(folder + set + ".CNT", std::to_string(rows + (variant == 1)) + "\n" + version);
      }
      if (variant == 2) continue;  // the table is missing
      std::string table = kHeader;
      for (int r = 1; r <= rows; ++r) table += Line(std::to_string(r), set + "-" + std::to_string(k) + "-" + std::to_string(r));
      dir.Put(folder + set + csv, table);
    }
  }
}

// FullDump of a load of folder.
std::string LoadDump(const std::filesystem::path& folder, const LoadOptions& options) {
  DataFolderModel model;
  std::vector<LoadMessage> messages;
  if (!model.Load(folder, messages, options)) return "cancelled";
  return FullDump(model, messages);
}

TEST(DataFolderModel, ParallelLoadGivesTheSequentialResult) {
  TempFolder dir;
  MakeMixedArchive(dir);
  DataFolderModel sequential;
  std::vector<LoadMessage> sequentialMessages;
  ASSERT_TRUE(sequential.Load(dir.path(), sequentialMessages, LoadOptions{1, false}));
  const std::string expected = FullDump(sequential, sequentialMessages);
  // The folder holds what the comparison is about: items of every kind and both messages.
  for (TransferKind kind : kAllTransferKinds) EXPECT_GT(sequential.MeasurementCountOf(kind), 0);
  EXPECT_NE(expected.find("\nE:"), std::string::npos);
  EXPECT_NE(expected.find("\nW:"), std::string::npos);
  EXPECT_EQ(Dump(sequential, 1).substr(0, 5), "8 S0\n");

  // File by file or in batches (where the system has them), on any number of threads.
  for (bool batched : {false, true}) {
    for (int threads : {1, 2, 8, 24}) {
      SCOPED_TRACE(std::to_string(threads) + (batched ? " batched" : ""));
      for (int run = 0; run < 2; ++run) EXPECT_EQ(LoadDump(dir.path(), LoadOptions{threads, batched}), expected);
    }
  }
  FolderLoadJob job;
  ASSERT_TRUE(job.Start(dir.path()));
  job.Join();
  EXPECT_FALSE(job.cancelled());
  EXPECT_EQ(job.setFoldersRead(), 24);
  EXPECT_EQ(job.setFolderTotal(), 24);
  EXPECT_EQ(FullDump(job.model(), job.messages()), expected);
}

// Forbids io_uring to this process, as container sandboxes often do: setting one up
// fails with EPERM.
bool ForbidIoUring() {
  sock_filter filter[] = {
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_io_uring_setup, 0, 1),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | EPERM),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
  };
  sock_fprog program{static_cast<unsigned short>(std::size(filter)), filter};
  return ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 && ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0;
}

TEST(DataFolderModel, WhereIoUringIsForbiddenTheLoadReadsFileByFile) {
  TempFolder dir;
  MakeMixedArchive(dir);

  // The load runs in a child process under the filter and sends back what it gave.
  int pipe[2];
  ASSERT_EQ(::pipe(pipe), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::close(pipe[0]);
    if (!ForbidIoUring()) ::_exit(5);
    if (BatchedReadsAvailable()) ::_exit(2);
    const std::string dump = LoadDump(dir.path(), LoadOptions{});
    for (std::size_t done = 0; done < dump.size();) {
      const ssize_t n = ::write(pipe[1], dump.data() + done, dump.size() - done);
      if (n <= 0) ::_exit(4);
      done += static_cast<std::size_t>(n);
    }
    ::_exit(0);
  }
  ::close(pipe[1]);
  std::string dump;
  char buffer[4096];
  for (ssize_t n; (n = ::read(pipe[0], buffer, sizeof buffer)) > 0;) dump.append(buffer, static_cast<std::size_t>(n));
  ::close(pipe[0]);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 5) GTEST_SKIP() << "this system lets no process filter its system calls";
  ASSERT_EQ(WEXITSTATUS(status), 0) << "2: batches stayed available; 4: the pipe";
  EXPECT_EQ(dump, LoadDump(dir.path(), LoadOptions{1, false}));
}

TEST(DataFolderModel, ACancelledLoadKeepsWhatTheModelHeld) {
  TempFolder dir;
  MakeMixedArchive(dir);
  struct Finish : FolderLoadObserver {
    int calls = 0;
    bool cancelled = false;
    void finished(bool c) override {
      ++calls;
      cancelled = c;
    }
  } finish;
  FolderLoadJob job(&finish);
  job.Cancel();  // before it starts: nothing is read
  ASSERT_TRUE(job.Start(dir.path()));
  job.Join();
  EXPECT_TRUE(job.cancelled());
  EXPECT_EQ(finish.calls, 1);
  EXPECT_TRUE(finish.cancelled);
  EXPECT_EQ(job.setFoldersRead(), 0);
  EXPECT_EQ(job.setFolderTotal(), 24);
  EXPECT_EQ(job.model().RootCount(), 0);
  EXPECT_TRUE(job.messages().empty());
  EXPECT_FALSE(job.Start(dir.path()));  // a job runs once

  DataFolderModel model;
  std::vector<LoadMessage> messages;
  ASSERT_TRUE(model.Load(dir.path() / "S0", messages, LoadOptions{}));
  const std::string before = Dump(model);
  LoadProgress progress;
  progress.cancel = true;
  EXPECT_FALSE(model.Load(dir.path(), messages, LoadOptions{}, &progress));
  EXPECT_EQ(Dump(model), before);
}

}  // namespace
}  // namespace rxt4
