// The firmware update job on the in-memory line, and the texts and progress rules the
// dialog and the command line show.

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "FakeUpdateInstrument.h"
#include "FirmwareImageBuilder.h"
#include "rxt4/link/UpdateText.h"
#include "rxt4/link/UpdateThread.h"

namespace rxt4 {
namespace {

using test::Bytes;
using test::FakeLine;
using test::FakePortBackend;

struct Recorder final : UpdateObserver {
  void state(bool updating, int total) override {
    {
      std::lock_guard lock(mutex);
      states.emplace_back(updating, total);
    }
    changed.notify_all();
  }
  void progress(std::uint32_t block, std::uint32_t blocks) override {
    std::lock_guard lock(mutex);
    blocksSeen.emplace_back(block, blocks);
    if (steps.Take(block)) ++barSteps;
  }
  void versions(const std::string& instrument, const std::string& file) override {
    std::lock_guard lock(mutex);
    pairs.emplace_back(instrument, file);
    texts.Take(instrument, file);
  }
  void finished(LinkResult r, int v) override {
    std::lock_guard lock(mutex);
    ++finishedCalls;
    result = r;
    value = v;
  }

  // Waits until the job has reported a state (false after 10 s).
  bool WaitForState() {
    std::unique_lock lock(mutex);
    return changed.wait_for(lock, std::chrono::seconds(10), [this] { return !states.empty(); });
  }

  std::mutex mutex;
  std::condition_variable changed;
  std::vector<std::pair<bool, int>> states;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> blocksSeen;
  std::vector<std::pair<std::string, std::string>> pairs;
  UpdateProgressSteps steps;
  UpdateVersionTexts texts;
  int barSteps = 0;
  int finishedCalls = 0;
  LinkResult result = LinkResult::Cancelled;
  int value = -1;
};

class UpdateThreadTest : public ::testing::Test {
 protected:
  UpdateThreadTest() : line(std::make_shared<FakeLine>()) { instrument.Attach(*line); }

  std::filesystem::path WriteImage(const Bytes& bytes) { return imagetest::WriteFile(dir / "fw.img", bytes); }

  // Runs a whole update of the image file on the fake line at the given settings.
  void RunUpdate(const std::filesystem::path& path, int settingsBaud = 9600) {
    CUpdateThread job(&recorder, std::make_unique<FakePortBackend>(line));
    ASSERT_TRUE(job.Prepare(path));
    ASSERT_TRUE(job.Start({"/dev/ttyFAKE", settingsBaud}));
    job.Join();
    EXPECT_FALSE(job.running());
    EXPECT_EQ(job.outcome().result, recorder.result);
  }

  std::shared_ptr<FakeLine> line;
  test::FakeUpdateInstrument instrument;
  rxt4::test::TempFolder dir{"firmware"};
  Recorder recorder;
  const Bytes main = imagetest::MainPart("1.03    ", imagetest::Pattern(1500), imagetest::Pattern(548, 1));  // 2084
  const Bytes tsnm = imagetest::TsnmPart("T1.1", imagetest::Pattern(1024 - 32, 2));                       // 1024
  const Bytes dec = imagetest::DecPart("D7", imagetest::StoredRecord(imagetest::Pattern(100, 3)));         // 152
};

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) imagetest::Append(out, p);
  return out;
}

TEST_F(UpdateThreadTest, AllPartsAreSentInOrderAndTheCompletionIsAwaited) {
  instrument.escBeforeAnswer = 3;
  instrument.versionPayloads[1] = {0, '1', '.', '0', '2', ' ', ' ', ' ', ' '};
  instrument.completionStatuses = {2, 0};
  RunUpdate(WriteImage(Concat({main, tsnm, dec})));

  EXPECT_EQ(recorder.finishedCalls, 1);
  EXPECT_EQ(recorder.result, LinkResult::Success);
  EXPECT_EQ(line->baudRate, 115200);  // the settings' 9600 does not matter
  EXPECT_EQ(line->openedDevice, "/dev/ttyFAKE");
  EXPECT_EQ(instrument.announcedTypes, (std::vector<int>{1, 2, 17}));
  EXPECT_EQ(instrument.received[1], main);
  EXPECT_EQ(instrument.received[2], tsnm);
  EXPECT_EQ(instrument.received[17], dec);
  EXPECT_EQ(instrument.escCount, 4);

  // Waiting, then updating with 2084/1024+1 + 1024/1024+1 + 152/1024+1 = 3 + 2 + 1.
  ASSERT_EQ(recorder.states.size(), 2u);
  EXPECT_EQ(recorder.states[0], std::make_pair(false, 0));
  EXPECT_EQ(recorder.states[1], std::make_pair(true, 6));
  ASSERT_EQ(recorder.pairs.size(), 3u);
  EXPECT_EQ(recorder.pairs[0], std::make_pair(std::string("1.02    "), std::string("1.03    ")));
  EXPECT_EQ(recorder.pairs[1].second, "T1.1    ");
  EXPECT_EQ(UpdateFinalText(recorder.result, recorder.texts),
            "Ver.1.02 から Ver.1.03 にアップデートが完了しました。");
  // Blocks 1 2 3 | 1 2 | 1: the bar moves once per distinct number (block counts:
  // "C" -> 1, ACKs -> 2, 3, 4 (past the end), EOT ACK -> 0).
  EXPECT_EQ(recorder.barSteps, 3 + 2 + 2 + 1 + 1);
}

TEST_F(UpdateThreadTest, MainAndTsnmOnlyDoNotWaitForCompletion) {
  instrument.completionStatuses = {};
  RunUpdate(WriteImage(Concat({main, tsnm})));
  EXPECT_EQ(recorder.result, LinkResult::Success);
  EXPECT_EQ(instrument.announcedTypes, (std::vector<int>{1, 2}));
  EXPECT_EQ(recorder.pairs.size(), 2u);
  EXPECT_EQ(line->timeouts, 0);  // no wait for 0xE3 frames that never come
}

TEST_F(UpdateThreadTest, OnlyDec) {
  RunUpdate(WriteImage(dec));
  EXPECT_EQ(recorder.result, LinkResult::Success);
  EXPECT_EQ(instrument.announcedTypes, (std::vector<int>{17}));
  EXPECT_EQ(instrument.received[17], dec);
  ASSERT_EQ(recorder.states.size(), 2u);
  EXPECT_EQ(recorder.states[1].second, 1 + 1 + 1);
}

TEST_F(UpdateThreadTest, NaksAreResentAndDoNotMoveTheBar) {
  instrument.nakPackets = {1, 2, 4};
  RunUpdate(WriteImage(main));
  EXPECT_EQ(recorder.result, LinkResult::Success);
  EXPECT_EQ(instrument.received[1], main);
  EXPECT_EQ(instrument.packetCount, 3 + 3);
  EXPECT_EQ(recorder.barSteps, 4);  // 1, 2, 3, 4 whatever the NAKs
}

TEST_F(UpdateThreadTest, FailuresReportTheirResults) {
  struct Case {
    std::function<void(test::FakeUpdateInstrument&, FakeLine&)> set;
    LinkResult result;
    int value;
  };
  const std::vector<Case> cases = {
      {[](auto& i, auto&) { i.completionStatuses = {4}; }, LinkResult::ReplyFailed, 0},
      {[](auto& i, auto&) { i.completionStatuses = {1}; }, LinkResult::WaitFailed, 0},
      {[](auto& i, auto&) { i.announceStatus = 2; }, LinkResult::ReplyFailed, 0x62},
      {[](auto& i, auto&) { i.versionPayloads[1] = {5, 'x', 'x', 'x', 'x', 'x', 'x', 'x', 'x'}; },
       LinkResult::ReplyFailed, 0x61},
      {[](auto&, auto& l) { l.openErrors.push_back(PortError::OpenFailed); }, LinkResult::PortOpenFailed, 0},
      {[](auto&, auto& l) { l.writeErrors.push_back(PortError::WriteFailed); }, LinkResult::SendFailed, 0x1B},
  };
  for (const Case& c : cases) {
    line = std::make_shared<FakeLine>();
    instrument = {};
    instrument.Attach(*line);
    recorder.finishedCalls = 0;
    c.set(instrument, *line);
    RunUpdate(WriteImage(Concat({main, dec})));
    EXPECT_EQ(recorder.finishedCalls, 1);
    EXPECT_EQ(recorder.result, c.result);
    EXPECT_EQ(recorder.value, c.value);
    EXPECT_EQ(UpdateFinalText(recorder.result, recorder.texts),
              "通信に失敗しました。\nRXT4との接続を確認してください。");
  }
}

TEST_F(UpdateThreadTest, AbortWhileWaitingForTheUpdateModeIsACancel) {
  instrument.escBeforeAnswer = -1;  // never in update mode
  {
    CUpdateThread job(&recorder, std::make_unique<FakePortBackend>(line));
    ASSERT_TRUE(job.Prepare(WriteImage(main)));
    ASSERT_TRUE(job.Start({"/dev/ttyFAKE", 115200}));
    ASSERT_TRUE(recorder.WaitForState());
    job.Abort();
    job.Join();
  }
  EXPECT_EQ(recorder.finishedCalls, 1);
  EXPECT_EQ(recorder.result, LinkResult::Cancelled);
  EXPECT_EQ(recorder.value, 0);
  EXPECT_EQ(UpdateFinalText(recorder.result, recorder.texts), "アップデートを中止しました。");
  EXPECT_TRUE(instrument.announcedTypes.empty());
}

TEST_F(UpdateThreadTest, DestroyingARunningJobEndsItAndADetachedObserverHearsNothing) {
  instrument.escBeforeAnswer = -1;
  {
    CUpdateThread job(&recorder, std::make_unique<FakePortBackend>(line));
    ASSERT_TRUE(job.Prepare(WriteImage(main)));
    ASSERT_TRUE(job.Start({"/dev/ttyFAKE", 115200}));
    job.DetachObserver();
  }  // destructor aborts and joins
  EXPECT_EQ(recorder.finishedCalls, 0);
}

TEST_F(UpdateThreadTest, InvalidImagesAreNotStarted) {
  CUpdateThread job(&recorder, std::make_unique<FakePortBackend>(line));
  EXPECT_FALSE(job.Start({"/dev/ttyFAKE", 115200}));  // nothing prepared
  EXPECT_FALSE(job.Prepare(WriteImage(Bytes(64, 0))));
  EXPECT_FALSE(job.Prepare(dir / "missing.img"));
  EXPECT_FALSE(job.Start({"/dev/ttyFAKE", 115200}));
  EXPECT_FALSE(line->open);
  EXPECT_TRUE(line->written.empty());
  EXPECT_EQ(recorder.finishedCalls, 0);
}

TEST(UpdateTextTest, ProgressTotalStepsAndVersions) {
  rxt4::test::TempFolder dir{"firmware"};
  CFirmwareImage image;
  const Bytes dec = imagetest::DecPart("D", imagetest::StoredRecord(imagetest::Pattern(3000)));  // 3052
  ASSERT_TRUE(image.Load(imagetest::WriteFile(dir / "d.img", dec)));
  EXPECT_EQ(UpdateProgressTotal(image), 1 + 1 + 3052 / 1024 + 1);

  UpdateProgressSteps steps;
  const std::uint32_t reports[] = {1, 1, 2, 0, 2, 3, 3, 4, 0, 1};
  const bool moves[] = {true, false, true, false, false, true, false, true, false, true};
  for (std::size_t i = 0; i < std::size(reports); ++i) EXPECT_EQ(steps.Take(reports[i]), moves[i]) << i;

  EXPECT_EQ(TrimVersionText("1.02    "), "1.02");
  EXPECT_EQ(TrimVersionText(std::string("2.0\0\0\0\0\0", 8)), "2.0");
  EXPECT_EQ(TrimVersionText("  v 1\t "), "  v 1");

  UpdateVersionTexts texts;
  texts.Take("1.02    ", "1.03    ");
  texts.Take("9.99", "9.99");
  EXPECT_EQ(texts.oldVersion, "1.02");
  EXPECT_EQ(texts.newVersion, "1.03");
  EXPECT_EQ(UpdateDoneText(texts.oldVersion, texts.newVersion), "Ver.1.02 から Ver.1.03 にアップデートが完了しました。");
  // A version that looks like a format stays text.
  EXPECT_EQ(UpdateDoneText("%s%n", "\x83\x41"), "Ver.%s%n から Ver.ア にアップデートが完了しました。");
  EXPECT_FALSE(UpdateSucceeded(LinkResult::ImagePartMissing));
}

}  // namespace
}  // namespace rxt4
