// Firmware updates over a real pseudo-terminal against rxt4-sim --update-mode: the
// update job and the rxt4 update and rxt4 image commands. Parts are small so that
// every case takes well under a second (the silent instrument one about a second).

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "FirmwareImageBuilder.h"
#include "SimProcess.h"
#include "rxt4/link/UpdateText.h"
#include "rxt4/link/UpdateThread.h"

namespace rxt4::test {
namespace {

namespace fs = std::filesystem;
using imagetest::Bytes;

constexpr const char* kFailedText = "通信に失敗しました。\nRXT4との接続を確認してください。";
constexpr const char* kInvalidText =
    "指定したファイルは有効なアップデート用ファイルではありません。\nフォルダ・ファイルを選択しなおしてください。";
constexpr const char* kWaitText = "リモート更新モードで接続します。\nRXT4 を更新モードで起動してください。";

class Recorder final : public UpdateObserver {
 public:
  void state(bool updating, int total) override {
    std::lock_guard lock(mutex_);
    states.emplace_back(updating, total);
    changed_.notify_all();
  }
  void progress(std::uint32_t block, std::uint32_t) override {
    std::lock_guard lock(mutex_);
    if (steps.Take(block)) ++barSteps;
  }
  void versions(const std::string& instrument, const std::string& file) override {
    std::lock_guard lock(mutex_);
    pairs.emplace_back(instrument, file);
    texts.Take(instrument, file);
  }
  void finished(LinkResult r, int) override {
    std::lock_guard lock(mutex_);
    ++finishedCount;
    result = r;
    changed_.notify_all();
  }
  template <class Predicate>
  bool WaitFor(Predicate p) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(10), p);
  }

  std::vector<std::pair<bool, int>> states;
  std::vector<std::pair<std::string, std::string>> pairs;
  UpdateProgressSteps steps;
  UpdateVersionTexts texts;
  int barSteps = 0;
  int finishedCount = 0;
  LinkResult result = LinkResult::Cancelled;

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
};

// Runs rxt4 with arguments in folder; when interruptOn is given, interrupts it (as
// Ctrl+C does) once its standard error holds that text (after 10 s without it too,
// so that a run that never says it ends all the same).
Outcome Rxt4(const fs::path& folder, const std::vector<std::string>& args, const std::string& interruptOn = {}) {
  Rxt4Process rxt4(folder, args);
  if (!interruptOn.empty()) {
    rxt4.WaitForError(interruptOn);
    rxt4.Interrupt();
  }
  return rxt4.Finish();
}

class UpdateEndToEndTest : public ::testing::Test {
 protected:
  UpdateEndToEndTest()
      : folder(::testing::UnitTest::GetInstance()->current_test_info()->name()),
        received(folder.path() / "rx"),
        settings(folder.path() / "cfg") {}

  // Starts the simulator in update mode writing what it receives to received.
  std::unique_ptr<SimProcess> StartSim(std::vector<std::string> args) {
    args.insert(args.begin(), {"--update-mode", "--received", received.string()});
    auto sim = std::make_unique<SimProcess>(folder.path(), args);
    EXPECT_TRUE(sim->ready());
    return sim;
  }

  fs::path Image(const Bytes& bytes) { return imagetest::WriteFile(folder.path() / "fw.img", bytes); }

  Bytes Received(const char* name) { return imagetest::ReadFile(received / name); }

  TempFolder folder;
  fs::path received;
  PrivateSettings settings;
  // Main 3136 bytes (4 blocks), TSNM 1024 (2 blocks: the last all 0x1A), Dec 1200 (2 blocks).
  const Bytes main = imagetest::MainPart("1.03", imagetest::Pattern(3000), imagetest::Pattern(100, 5));
  const Bytes tsnm = imagetest::TsnmPart("T2.00", imagetest::Pattern(992, 6));
  const Bytes dec = imagetest::DecPart(
      "D3.1", [] {
        Bytes r = imagetest::StoredRecord(imagetest::Pattern(900, 7));
        imagetest::Append(r, imagetest::DecRecord({0x41, 0x21, 0x40}, 5, 0x31, {0x41, 0x42, 0x42, 0x42, 0x42}));
        imagetest::Append(r, imagetest::StoredRecord(imagetest::Pattern(213, 8)));
        return r;
      }());
};

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) imagetest::Append(out, p);
  return out;
}

TEST_F(UpdateEndToEndTest, AllThreePartsArriveByteExactInOrder) {
  auto sim = StartSim({"--fw-version", "main:1.02", "--fw-version", "tsnm:T1.99", "--fw-version", "dec:D3.0",
                       "--completion", "2,0", "--completion-interval-ms", "20"});
  Recorder recorder;
  {
    CUpdateThread job(&recorder);
    ASSERT_TRUE(job.Prepare(Image(Concat({main, tsnm, dec}))));
    ASSERT_TRUE(job.Start({sim->port(), 9600}));
    ASSERT_TRUE(recorder.WaitFor([&] { return recorder.finishedCount > 0; }));
  }
  EXPECT_EQ(recorder.result, LinkResult::Success);
  EXPECT_EQ(Received("main.bin"), main);
  EXPECT_EQ(Received("tsnm.bin"), tsnm);
  EXPECT_EQ(Received("dec.bin"), dec);
  const std::vector<std::pair<std::string, std::string>> pairs = {
      {"1.02    ", "1.03    "}, {"T1.99   ", "T2.00   "}, {"D3.0    ", "D3.1    "}};
  EXPECT_EQ(recorder.pairs, pairs);
  ASSERT_EQ(recorder.states.size(), 2u);
  EXPECT_EQ(recorder.states[1], std::make_pair(true, 4 + 2 + 2));
  EXPECT_EQ(UpdateFinalText(recorder.result, recorder.texts), "Ver.1.02 から Ver.1.03 にアップデートが完了しました。");
}

TEST_F(UpdateEndToEndTest, CommandLineMainAndTsnmOnlyDoesNotWaitForCompletion) {
  // A completion status that would fail the update if it were awaited.
  auto sim = StartSim({"--fw-version", "main:1.02    ", "--completion", "4"});
  const Outcome run = Rxt4(folder.path(), {"update", "--port", sim->port(), Image(Concat({main, tsnm}))});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "Ver.1.02 から Ver.1.03 にアップデートが完了しました。\n");
  EXPECT_NE(run.err.find(kWaitText), std::string::npos);
  EXPECT_NE(run.err.find("アップデート中。\nUSBケーブルを抜かないでください。"), std::string::npos);
  EXPECT_EQ(Received("main.bin"), main);
  EXPECT_EQ(Received("tsnm.bin"), tsnm);
  EXPECT_FALSE(fs::exists(received / "dec.bin"));
}

TEST_F(UpdateEndToEndTest, CommandLineOnlyDecWithNaks) {
  auto sim = StartSim({"--entry-esc", "20", "--nak", "dec:1", "--nak", "dec:2:3", "--completion", "1,3,0"});
  const Outcome run = Rxt4(folder.path(), {"update", "--port", sim->port(), Image(dec)});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "Ver.0.00 から Ver.D3.1 にアップデートが完了しました。\n");
  EXPECT_EQ(Received("dec.bin"), dec);
  EXPECT_FALSE(fs::exists(received / "main.bin"));
}

TEST_F(UpdateEndToEndTest, NaksFramesInPiecesLateAnswersAndALateStartOnEveryPart) {
  auto sim = StartSim({"--nak", "main:1", "--nak", "main:4:2", "--nak", "tsnm:2", "--nak", "dec:2", "--entry-after-ms",
                       "150", "--delay", "block:tsnm:1:100", "--split", "E0", "--split", "E1", "--split", "E2",
                       "--split", "E3"});
  const Outcome run = Rxt4(folder.path(), {"update", "--port", sim->port(), Image(Concat({main, tsnm, dec}))});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Received("main.bin"), main);
  EXPECT_EQ(Received("tsnm.bin"), tsnm);
  EXPECT_EQ(Received("dec.bin"), dec);
}

TEST_F(UpdateEndToEndTest, FailuresShowTheFailureText) {
  const std::vector<std::vector<std::string>> faults = {
      {"--completion", "2,4"},              // a failing completion status
      {"--announce-status", "tsnm:1"},      // the instrument refuses a part
      {"--version-status", "dec:3"},        // a negative version reply
      {"--silent", "version:tsnm"},         // no version reply within 1000 ms
      {"--nak-eot", "tsnm"},                // the end of a part is refused
      {"--hangup", "block:main:2"},         // the cable is pulled
  };
  for (const auto& fault : faults) {
    fs::remove_all(received);
    auto sim = StartSim(fault);
    const Outcome run = Rxt4(folder.path(), {"update", "--port", sim->port(), Image(Concat({main, tsnm, dec}))});
    EXPECT_EQ(run.status, 1) << fault[0] << " " << fault[1];
    EXPECT_EQ(run.out, std::string(kFailedText) + "\n") << fault[0];
  }
}

TEST_F(UpdateEndToEndTest, CancelWhileWaitingForTheUpdateModeReportsACancel) {
  auto sim = StartSim({"--entry-esc", "0"});
  const Outcome run = Rxt4(folder.path(), {"update", "--port", sim->port(), Image(main)}, kWaitText);
  EXPECT_EQ(run.status, 130);
  EXPECT_EQ(run.out, "アップデートを中止しました。\n");
  EXPECT_FALSE(fs::exists(received / "main.bin"));

  // The job itself: the port operation the abort interrupts fails, and the job ends
  // as cancelled.
  Recorder recorder;
  {
    CUpdateThread job(&recorder);
    ASSERT_TRUE(job.Prepare(Image(main)));
    ASSERT_TRUE(job.Start({sim->port(), 115200}));
    ASSERT_TRUE(recorder.WaitFor([&] { return !recorder.states.empty(); }));
    job.Abort();
    ASSERT_TRUE(recorder.WaitFor([&] { return recorder.finishedCount > 0; }));
  }
  EXPECT_EQ(recorder.result, LinkResult::Cancelled);
  EXPECT_EQ(UpdateFinalText(recorder.result, recorder.texts), "アップデートを中止しました。");
}

TEST_F(UpdateEndToEndTest, InvalidImagesAreRefusedBeforeThePortIsOpened) {
  auto sim = StartSim({});
  Bytes broken = Concat({main, tsnm});
  broken[40] ^= 0x01;  // a CRC error in Main
  for (const Bytes& image : {broken, Bytes(100, 0), Concat({main, Bytes(10, 0)})}) {
    const Outcome run = Rxt4(folder.path(), {"update", "--port", sim->port(), Image(image)});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, std::string(kInvalidText) + "\n");
    EXPECT_EQ(run.out, "");
  }
  // A port that does not exist is never reached either.
  const Outcome missing = Rxt4(folder.path(), {"update", "--port", "/nonexistent/tty", Image(broken)});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, std::string(kInvalidText) + "\n");
  EXPECT_FALSE(fs::exists(received / "main.bin"));

  // The simulator is still waiting for its first ESC: a valid image goes through.
  const Outcome good = Rxt4(folder.path(), {"update", "--port", sim->port(), Image(main)});
  EXPECT_EQ(good.status, 0) << good.err;
  EXPECT_EQ(Received("main.bin"), main);
}

TEST_F(UpdateEndToEndTest, CommandLineArgumentsAndImageListing) {
  EXPECT_EQ(Rxt4(folder.path(), {"update", "--help"}).status, 0);
  EXPECT_EQ(Rxt4(folder.path(), {"update"}).status, 2);
  EXPECT_EQ(Rxt4(folder.path(), {"update", "fw.img"}).status, 2);
  EXPECT_EQ(Rxt4(folder.path(), {"update", "--port"}).status, 2);
  EXPECT_EQ(Rxt4(folder.path(), {"update", "--port", "p", "a.img", "b.img"}).status, 2);
  EXPECT_EQ(Rxt4(folder.path(), {"update", "--speed", "1", "--port", "p", "a.img"}).status, 2);
  EXPECT_EQ(Rxt4(folder.path(), {"image", "--help"}).status, 0);
  EXPECT_EQ(Rxt4(folder.path(), {"image"}).status, 2);
  EXPECT_EQ(Rxt4(folder.path(), {"image", "a.img", "b.img"}).status, 2);

  const Outcome list = Rxt4(folder.path(), {"image", Image(Concat({main, tsnm, dec}))});
  EXPECT_EQ(list.status, 0);
  EXPECT_EQ(list.out,
            " 1  Main       3136 bytes  version \"1.03\"\n"
            " 2  TSNM       1024 bytes  version \"T2.00\"\n"
            "17  Dec        1200 bytes  version \"D3.1\"\n");
  const Outcome invalid = Rxt4(folder.path(), {"image", Image(Bytes(64, 0))});
  EXPECT_EQ(invalid.status, 1);
  EXPECT_EQ(invalid.err, std::string(kInvalidText) + "\nMain、TSNM、Dec のどの部分もありません\n");
  EXPECT_EQ(invalid.out, "");
}

}  // namespace
}  // namespace rxt4::test
