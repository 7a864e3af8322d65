// Downloads over a real pseudo-terminal from rxt4-sim: results, texts and files.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>

#include "../common/Unprivileged.h"
#include "SimProcess.h"
#include "rxt4/data/DataSetWriter.h"
#include "rxt4/data/DemoImages.h"
#include "rxt4/link/TransferText.h"
#include "rxt4/link/TransferThread.h"

namespace rxt4::test {
namespace {

namespace fs = std::filesystem;

// Records the job's events; lets the test wait for one.
class Recorder final : public TransferObserver {
 public:
  void progress(TransferKind kind, int percent) override {
    std::lock_guard lock(mutex_);
    lastProgress = static_cast<int>(kind) * 100 + percent;
    ++progressCount;
    changed_.notify_all();
  }
  void modeWait() override {
    std::lock_guard lock(mutex_);
    ++modeWaits;
    changed_.notify_all();
  }
  void finished(LinkResult r, int v) override {
    std::lock_guard lock(mutex_);
    ++finishedCount;
    result = r;
    value = v;
    changed_.notify_all();
  }
  template <class Predicate>
  bool WaitFor(Predicate p) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(20), p);
  }

  int lastProgress = -1;
  int progressCount = 0;
  int modeWaits = 0;
  int finishedCount = 0;
  LinkResult result = LinkResult::Success;
  int value = -99;

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
};

std::string FileBytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::string> SortedNames(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// Every file under a, compared byte for byte with the same path under b (and no extra
// files in b but the job record a download stamps with its time).
void ExpectSameTree(const fs::path& a, const fs::path& b) {
  int files = 0;
  for (const auto& e : fs::recursive_directory_iterator(a)) {
    if (!e.is_regular_file()) continue;
    ++files;
    const fs::path rel = fs::relative(e.path(), a);
    ASSERT_TRUE(fs::exists(b / rel)) << rel;
    EXPECT_EQ(FileBytes(e.path()), FileBytes(b / rel)) << rel;
  }
  for (const auto& e : fs::recursive_directory_iterator(b))
    if (e.is_regular_file() && e.path().filename() != "job.toml") {
      EXPECT_TRUE(fs::exists(a / fs::relative(e.path(), b))) << e.path();
    }
  EXPECT_GT(files, 0);
}

// A 180-byte record: the fields, blanks, a line feed.
std::string Record(const std::string& fields) {
  std::string r = fields;
  r.resize(179, ' ');
  return r + '\n';
}

void PutLe32(KindImage& image, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) image.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

KindImage Image(const std::vector<std::string>& records, const std::vector<std::uint8_t>& tail = {}, int count = -1) {
  KindImage image = {'2', '.', '0', '0'};
  PutLe32(image, static_cast<std::uint32_t>(count >= 0 ? count : static_cast<int>(records.size())));
  for (const std::string& r : records) image.insert(image.end(), r.begin(), r.end());
  image.insert(image.end(), tail.begin(), tail.end());
  return image;
}

// Small images of every kind: a few blocks each, so most tests take milliseconds.
KindImages SmallImages() {
  KindImages images;
  images[0] = Image({Record("001,2024/04/12,10:00,LEVEL A"), Record("002,2024/04/12,10:05,LEVEL B")});
  images[1] = Image({Record("001,2024/04/12,11:00,BER")});
  std::vector<std::uint8_t> constel(4825);
  for (std::size_t i = 0; i < constel.size(); ++i) constel[i] = static_cast<std::uint8_t>(i * 7);
  images[2] = Image({Record("001,2024/04/12,12:00,CONSTEL")}, constel);
  std::vector<std::uint8_t> spectrum = {100, 0, 0, 0, 1, 0, 0, 0};
  for (int i = 0; i < 100; ++i) spectrum.push_back(static_cast<std::uint8_t>(200 - i));
  images[3] = Image({Record("001,2024/04/12,13:00,SPECTRUM")}, spectrum);
  images[4] = Image({});
  images[5] = Image({Record("001,2024/04/12,14:00,SKY")});
  // Multi-channel: the count is the number of channel tables (records tagged 001).
  images[6] = Image({Record("001,2024/04/12,15:00,MULTI 1"), Record("001,2024/04/12,15:00,MULTI 2")}, {}, 1);
  return images;
}

// Writes images into folder/<set> with the data set writer (the reference output).
fs::path WriteSet(const fs::path& folder, const std::string& set, const KindImages& images) {
  const fs::path setFolder = folder / set;
  fs::create_directories(setFolder);
  for (TransferKind k : kAllTransferKinds) {
    const KindImage& image = images[static_cast<std::size_t>(k)];
    DataSetWriter writer;
    writer.SelectKind(k);
    EXPECT_TRUE(writer.PrepareFolder(setFolder));
    EXPECT_TRUE(writer.Allocate(static_cast<std::uint32_t>(image.size())));
    writer.Append(image.data(), image.size());
    EXPECT_TRUE(writer.Write()) << KindFolderName(k);
  }
  return setFolder;
}

class EndToEndTest : public ::testing::Test {
 protected:
  EndToEndTest() : temp(::testing::UnitTest::GetInstance()->current_test_info()->name()) {}

  // Starts a simulator serving the small data set (plus extra arguments).
  std::unique_ptr<SimProcess> StartSim(std::vector<std::string> args, bool smallData = true) {
    if (smallData) {
      reference = WriteSet(temp.path() / "ref", "SET", SmallImages());
      args.insert(args.end(), {"--data", reference.string()});
    }
    auto sim = std::make_unique<SimProcess>(temp.path(), args);
    EXPECT_TRUE(sim->ready());
    return sim;
  }

  // Runs a whole job into <temp>/out/SET and returns its outcome.
  LinkOutcome Download(const std::string& port, int baud = 9600) {
    CTransferThread job(&recorder);
    CommSettings s;
    s.comPort = port;
    s.baudRate = baud;
    EXPECT_TRUE(job.Start(s, OutSet()));
    job.Join();
    EXPECT_EQ(recorder.finishedCount, 1);
    instrumentRate = job.instrumentBaudRate();
    return job.outcome();
  }

  fs::path OutSet() {
    fs::create_directories(temp.path() / "out" / "SET");
    return temp.path() / "out" / "SET";
  }

  TempFolder temp;
  fs::path reference;
  Recorder recorder;
  std::uint32_t instrumentRate = 0;  // as the last Download heard it
};

TEST_F(EndToEndTest, DemonstrationDataArrivesByteForByte) {
  auto sim = StartSim({}, false);
  LinkOutcome out = Download(sim->port());
  EXPECT_EQ(out.result, LinkResult::Success);
  EXPECT_EQ(TransferFinalText(out.result, out.value), "データ転送が完了しました。");
  EXPECT_EQ(TransferRatesText(out.result, out.value, 9600, instrumentRate), "");
  EXPECT_EQ(recorder.lastProgress, 700);
  EXPECT_EQ(recorder.modeWaits, 0);
  ExpectSameTree(WriteSet(temp.path() / "ref", "SET", BuildDemoImages()), OutSet());
}

TEST_F(EndToEndTest, ModeWaitThenSuccessAndCancelDuringModeWait) {
  {
    auto sim = StartSim({"--mode-wait", "1"});
    LinkOutcome out = Download(sim->port());
    EXPECT_EQ(out.result, LinkResult::Success);
    EXPECT_EQ(recorder.modeWaits, 1);
    ExpectSameTree(reference, OutSet());
  }
  Recorder waiting;
  auto sim = std::make_unique<SimProcess>(temp.path(), std::vector<std::string>{"--mode-wait", "1000"});
  ASSERT_TRUE(sim->ready());
  CTransferThread job(&waiting);
  CommSettings s;
  s.comPort = sim->port();
  ASSERT_TRUE(job.Start(s, OutSet()));
  ASSERT_TRUE(waiting.WaitFor([&] { return waiting.modeWaits > 0; }));
  job.Abort();
  job.Join();
  EXPECT_EQ(waiting.result, LinkResult::Cancelled);
  EXPECT_EQ(waiting.finishedCount, 1);
  EXPECT_EQ(TransferFinalText(waiting.result, waiting.value), "データ転送を中止しました。");
}

TEST_F(EndToEndTest, InstrumentAtAnotherRateIsNotConfirmed) {
  auto sim = StartSim({"--baud", "19200"});
  LinkOutcome out = Download(sim->port(), 9600);
  EXPECT_EQ(out.result, LinkResult::ReplyFailed);
  EXPECT_EQ(out.value, 0x23);
  EXPECT_EQ(TransferFinalText(out.result, out.value), "RXT4との接続が確認できません。");
  EXPECT_EQ(instrumentRate, 19200u);
  EXPECT_EQ(TransferRatesText(out.result, out.value, 9600, instrumentRate),
            "通信速度が一致しません（PC: 9600 bps、RXT4: 19200 bps）");
}

TEST_F(EndToEndTest, NoiseRepliesInPiecesAndLateRepliesAreTaken) {
  auto sim = StartSim({"--fault", "garbage:20", "--fault", "garbage:26", "--fault", "garbage:24:5", "--fault", "split:20",
                       "--fault", "split:24:4", "--fault", "delay:23:300", "--fault", "delay:24:200:2"});
  EXPECT_EQ(Download(sim->port()).result, LinkResult::Success);
  ExpectSameTree(reference, OutSet());
}

TEST_F(EndToEndTest, ThreeBadRepliesRecover) {
  // Two bad checksums and a wrong echo on the same block, a wrong kind and a wrong
  // total on others (a dropped reply costs a 5 s time-out, so silence is covered on
  // the fake line instead).
  auto sim = StartSim({"--fault", "checksum:24:2", "--fault", "echo:0:1:1", "--fault", "kind:1:0:3", "--fault",
                       "total:3:1:3"});
  EXPECT_EQ(Download(sim->port()).result, LinkResult::Success);
  ExpectSameTree(reference, OutSet());
}

TEST_F(EndToEndTest, FourthBadReplyFails) {
  auto sim = StartSim({"--fault", "echo:1:1:4"});
  fs::create_directories(OutSet() / "SKY");  // there before: not the job's to remove
  LinkOutcome out = Download(sim->port());
  EXPECT_EQ(out.result, LinkResult::ReplyFailed);
  EXPECT_EQ(out.value, 0x24);
  EXPECT_EQ(TransferFinalText(out.result, out.value), "通信に失敗しました。\nRXT4との接続を確認してください。");
  // LEVEL was complete before; BER never got its last block. The kind folders the
  // job made for BER and the later kinds are gone again; SKY stays.
  EXPECT_EQ(FileBytes(OutSet() / "LEVEL" / "SET.CSV"), FileBytes(reference / "LEVEL" / "SET.CSV"));
  EXPECT_EQ(SortedNames(OutSet()), (std::vector<std::string>{"LEVEL", "SKY"}));
}

TEST_F(EndToEndTest, NonzeroStatusAndATotalBeyondTheProtocolFail) {
  {
    auto sim = StartSim({"--fault", "status:20"});
    LinkOutcome out = Download(sim->port());
    EXPECT_EQ(out.result, LinkResult::ReplyFailed);
    EXPECT_EQ(out.value, 0x20);
  }
  Recorder second;
  auto sim = StartSim({"--fault", "total:2:0"});
  CTransferThread job(&second);
  ASSERT_TRUE(job.Start({sim->port(), 9600}, OutSet()));
  job.Join();
  EXPECT_EQ(job.outcome().result, LinkResult::ReplyFailed);
  EXPECT_EQ(job.outcome().value, 0x24);
  EXPECT_EQ(SortedNames(OutSet()), (std::vector<std::string>{"BER", "LEVEL"}));
}

TEST_F(EndToEndTest, PortThatDoesNotExist) {
  LinkOutcome out = Download((temp.path() / "no-such-port").string());
  EXPECT_EQ(out.result, LinkResult::PortOpenFailed);
  EXPECT_EQ(out.value, 0);
  EXPECT_EQ(TransferFinalText(out.result, out.value), "通信に失敗しました。\nRXT4との接続を確認してください。");
}

TEST_F(EndToEndTest, CancelDuringTheData) {
  // Paced at 9600 baud the demonstration data takes many seconds: cancel after the first block.
  auto sim = StartSim({"--line-rate"}, false);
  CTransferThread job(&recorder);
  CommSettings s;
  s.comPort = sim->port();
  ASSERT_TRUE(job.Start(s, OutSet()));
  ASSERT_TRUE(recorder.WaitFor([&] { return recorder.progressCount > 0; }));
  job.Abort();
  job.Join();
  EXPECT_EQ(recorder.result, LinkResult::Cancelled);
  EXPECT_EQ(recorder.value, 0);
  EXPECT_EQ(recorder.finishedCount, 1);
  EXPECT_FALSE(fs::exists(OutSet() / "MULTI"));
}

TEST_F(EndToEndTest, HangUpMidTransferKeepsEarlierKinds) {
  auto sim = StartSim({"--fault", "hangup:2:3"});
  LinkOutcome out = Download(sim->port());
  EXPECT_TRUE(out.result == LinkResult::WaitFailed || out.result == LinkResult::ReplyFailed) << ToInt(out.result);
  EXPECT_EQ(out.value, 0x24);
  EXPECT_EQ(TransferFinalText(out.result, out.value), "通信に失敗しました。\nRXT4との接続を確認してください。");
  for (const char* kind : {"LEVEL", "BER"}) {
    for (const char* ext : {".CSV", ".CNT"})
      EXPECT_EQ(FileBytes(OutSet() / kind / (std::string("SET") + ext)),
                FileBytes(reference / kind / (std::string("SET") + ext)));
  }
  // The kind folders are all made at set-up; those of the failing kind and the later ones are removed again.
  EXPECT_EQ(SortedNames(OutSet()), (std::vector<std::string>{"BER", "LEVEL"}));

  // The simulator plugs a fresh line in under the same name: a second attempt works.
  Recorder again;
  CTransferThread job(&again);
  CommSettings s;
  s.comPort = sim->port();
  ASSERT_TRUE(job.Start(s, temp.path()));
  job.Join();
  EXPECT_EQ(again.result, LinkResult::Success);
}

TEST_F(EndToEndTest, KindThatCannotBeSavedFailsNamingItsFolder) {
  auto sim = StartSim({});
  // A directory where the BER table should go makes writing that kind fail.
  fs::create_directories(OutSet() / "BER" / "SET.CSV");
  LinkOutcome out = Download(sim->port());
  EXPECT_EQ(out.result, LinkResult::NotSaved);
  EXPECT_EQ(out.value, 1 << 1);
  EXPECT_EQ(TransferFinalText(out.result, out.value),
            "データを保存できませんでした。\nBER\n保存先のフォルダを確認してください。");
  // The other kinds went on and were written.
  EXPECT_EQ(FileBytes(OutSet() / "SKY" / "SET.CSV"), FileBytes(reference / "SKY" / "SET.CSV"));
  EXPECT_EQ(FileBytes(OutSet() / "MULTI" / "COUNT.CNT"), FileBytes(reference / "MULTI" / "COUNT.CNT"));
}

// Every file under folder (relative path -> bytes), and its folders (-> "<folder>").
std::map<std::string, std::string> Tree(const fs::path& folder) {
  std::map<std::string, std::string> tree;
  for (const auto& e : fs::recursive_directory_iterator(folder))
    tree[fs::relative(e.path(), folder).string()] = e.is_directory() ? "<folder>" : FileBytes(e.path());
  return tree;
}

// An overwrite of a set folder holding an earlier download (the demonstration data,
// with its many companion files, and a file of the user's) ends with exactly the new
// download's files and the user's file, or, failed or cancelled, with the set folder
// exactly as it was; nothing of the attempt is left beside it.
TEST_F(EndToEndTest, AnOverwriteEndsWithTheNewDownloadOrTheOldSetFolderWhole) {
  const struct {
    const char* what;
    std::vector<std::string> sim;
    bool cancel;
    LinkResult result;
  } cases[] = {
      {"a hang-up in the fourth kind", {"--fault", "hangup:3:0"}, false, LinkResult::WaitFailed},
      {"a cancel", {"--line-rate"}, true, LinkResult::Cancelled},
      {"a clean run", {}, false, LinkResult::Success},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(temp.path() / "out");
    WriteSet(temp.path() / "out", "SET", BuildDemoImages());
    std::ofstream(OutSet() / "notes.txt") << "the user's";
    const auto before = Tree(OutSet());
    auto sim = StartSim(c.sim);
    Recorder events;
    CTransferThread job(&events);
    CommSettings s;
    s.comPort = sim->port();
    ASSERT_TRUE(job.Start(s, OutSet()));
    if (c.cancel) {
      ASSERT_TRUE(events.WaitFor([&] { return events.progressCount > 0; }));
      job.Abort();
    }
    job.Join();
    const LinkOutcome out = job.outcome();
    if (c.result == LinkResult::WaitFailed) {
      EXPECT_TRUE(out.result == LinkResult::WaitFailed || out.result == LinkResult::ReplyFailed) << ToInt(out.result);
    } else {
      EXPECT_EQ(out.result, c.result);
    }
    if (out.result == LinkResult::Success) {
      auto after = Tree(OutSet());
      EXPECT_EQ(after["notes.txt"], "the user's");
      after.erase("notes.txt");
      // The new download's job record, with its time.
      EXPECT_NE(after["job.toml"].find("measured_at = \""), std::string::npos) << after["job.toml"];
      after.erase("job.toml");
      EXPECT_EQ(after, Tree(reference));
    } else {
      EXPECT_EQ(Tree(OutSet()), before);
    }
    EXPECT_EQ(SortedNames(temp.path() / "out"), std::vector<std::string>{"SET"});
  }
}

TEST_F(EndToEndTest, AnOverwriteThatCannotRemoveTheEarlierDownloadIsRefusedFirst) {
  auto sim = StartSim({});
  WriteSet(temp.path() / "out", "SET", BuildDemoImages());
  fs::permissions(OutSet() / "CONSTEL", fs::perms::owner_read | fs::perms::owner_exec);
  const auto before = Tree(OutSet());
  LinkOutcome out;
  DownloadFolder::Problem problem;
  {
    WithoutPermissionOverride unprivileged;  // the worker started here is refused as a user is
    CTransferThread job(&recorder);
    CommSettings s;
    s.comPort = sim->port();
    ASSERT_TRUE(job.Start(s, OutSet()));
    job.Join();
    out = job.outcome();
    problem = job.folderProblem();
  }
  fs::permissions(OutSet() / "CONSTEL", fs::perms::owner_all);
  EXPECT_EQ(out.result, LinkResult::FolderRefused);
  EXPECT_EQ(TransferFinalText(out.result, out.value), "データを保存できませんでした。");
  EXPECT_EQ(TransferFolderText(problem),
            "保存先のフォルダに書き込めません: " + (OutSet() / "CONSTEL").string() + "（アクセスが許可されていません）");
  EXPECT_EQ(Tree(OutSet()), before);
  EXPECT_EQ(SortedNames(temp.path() / "out"), std::vector<std::string>{"SET"});
}

TEST(TransferTextTest, SeveralKindsAreJoinedAndTheFolderLineNamesFolderAndReason) {
  EXPECT_EQ(TransferFinalText(LinkResult::NotSaved, (1 << 0) | (1 << 6)),
            "データを保存できませんでした。\nLEVEL、MULTI\n保存先のフォルダを確認してください。");
  EXPECT_EQ(TransferFinalText(LinkResult::WaitFailed, 0x20), "RXT4との接続が確認できません。");
  EXPECT_EQ(TransferFinalText(LinkResult::SetupFailed, 0), "通信に失敗しました。\nRXT4との接続を確認してください。");
  // A folder that refuses the download is a saving failure, its reason in words.
  EXPECT_EQ(TransferFinalText(LinkResult::FolderRefused, 0), "データを保存できませんでした。");
  const struct {
    DownloadFolder::Problem problem;
    const char* line;
  } folders[] = {
      {{"/media/usb/0412", std::make_error_code(std::errc::read_only_file_system), false},
       "保存先のフォルダに書き込めません: /media/usb/0412（読み取り専用のメディアです）"},
      {{"/d/0412/LEVEL", std::make_error_code(std::errc::permission_denied), false},
       "保存先のフォルダに書き込めません: /d/0412/LEVEL（アクセスが許可されていません）"},
      {{"/d/0412", std::make_error_code(std::errc::no_space_on_device), false},
       "保存先のフォルダに書き込めません: /d/0412（ディスクの空き容量が足りません）"},
      {{"/d/0412", std::error_code(EPIPE, std::generic_category()), false},
       "保存先のフォルダに書き込めません: /d/0412（エラー 32: Broken pipe）"},
      {{"/d/0412", {}, true}, "保存先のフォルダには別のデータ転送が書き込んでいます: /d/0412"},
      {{"/d/0412", {}, false}, ""},
  };
  for (const auto& f : folders) EXPECT_EQ(TransferFolderText(f.problem), f.line);
  // The rates line only under a failed rate check with a rate the instrument gave.
  EXPECT_EQ(TransferRatesText(LinkResult::ReplyFailed, 0x23, 115200, 9600),
            "通信速度が一致しません（PC: 115200 bps、RXT4: 9600 bps）");
  EXPECT_EQ(TransferRatesText(LinkResult::WaitFailed, 0x23, 9600, 0), "");
  EXPECT_EQ(TransferRatesText(LinkResult::ReplyFailed, 0x24, 9600, 19200), "");
  EXPECT_EQ(TransferRatesText(LinkResult::Cancelled, 0x23, 9600, 19200), "");
}

}  // namespace
}  // namespace rxt4::test

namespace rxt4::test {
namespace {

int SimExitStatus(const std::vector<std::string>& args) {
  pid_t pid = Spawn(std::string(RXT4_BIN_DIR) + "/rxt4-sim", args);
  int status = 0;
  if (pid <= 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

TEST(SimulatorArgumentsTest, BadFaultsAndArgumentsAreRefused) {
  TempFolder temp("sim_args");
  const std::string link = (temp.path() / "port").string();
  EXPECT_EQ(SimExitStatus({"--help"}), 0);
  EXPECT_EQ(SimExitStatus({}), 2);
  for (const char* fault : {"bogus:20", "drop", "drop:zz", "checksum:24:0", "echo:7:1", "echo:0", "hangup:0:1:2",
                            "delay:24", "delay:24:x", "split:24:0", "kind:0", "total:9:1"})
    EXPECT_EQ(SimExitStatus({"--link", link, "--fault", fault}), 2) << fault;
  for (const std::vector<std::string>& option : std::vector<std::vector<std::string>>{
           {"--split", "E5"}, {"--delay", "block:main"}, {"--hangup", "eot"}, {"--nak-eot", "main:0"},
           {"--entry-after-ms", "soon"}})
    EXPECT_EQ(SimExitStatus({"--update-mode", "--link", link, option[0], option[1]}), 2) << option[0];
  EXPECT_EQ(SimExitStatus({"--link", link, "--data", (temp.path() / "missing").string()}), 2);
  EXPECT_FALSE(std::filesystem::exists(link));
}

}  // namespace
}  // namespace rxt4::test
