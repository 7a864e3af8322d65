// The transfer job's life: set-up failures (a set folder that takes no files),
// observer detach, destruction while running.

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>

#include "FakeInstrument.h"
#include "FakePort.h"
#include "../common/Unprivileged.h"
#include "SimProcess.h"
#include "rxt4/link/TransferThread.h"

namespace rxt4::test {
namespace {

namespace fs = std::filesystem;

struct CountingObserver final : TransferObserver {
  std::atomic<int> modeWaits{0};
  std::atomic<int> finishedCount{0};
  std::atomic<int> result{-99};
  void progress(TransferKind, int) override {}
  void modeWait() override {
    {
      std::lock_guard lock(mutex);
      ++modeWaits;
    }
    changed.notify_all();
  }
  void finished(LinkResult r, int) override {
    result = ToInt(r);
    ++finishedCount;
  }
  // Waits until the job has reported n mode waits (false after 10 s).
  bool WaitForModeWaits(int n) {
    std::unique_lock lock(mutex);
    return changed.wait_for(lock, std::chrono::seconds(10), [&] { return modeWaits >= n; });
  }
  std::mutex mutex;
  std::condition_variable changed;
};

class TransferJobTest : public ::testing::Test {
 protected:
  // A job on the fake line whose instrument never enters transfer mode.
  std::unique_ptr<CTransferThread> WaitingJob(TransferObserver* observer) {
    instrument.modeZeroPolls = 1 << 30;
    instrument.Attach(*line);
    auto job = std::make_unique<CTransferThread>(observer, std::make_unique<FakePortBackend>(line));
    job->setModePollIntervalMs(1);
    return job;
  }

  std::shared_ptr<FakeLine> line = std::make_shared<FakeLine>();
  FakeInstrument instrument;
  CommSettings settings{"/dev/fake", 9600};
  // A set folder of each test's own: a job holds its set folder against every other.
  TempFolder temp{::testing::UnitTest::GetInstance()->current_test_info()->name()};
  std::filesystem::path folder = temp.path();
};

TEST_F(TransferJobTest, SetFolderThatTakesNoFilesFailsBeforeTheFirstRequest) {
  TempFolder temp("job_folders");
  const fs::path base = temp.path();
  std::ofstream(base / "file") << "x";
  // SPECTRUM (the fourth kind) is a file: LEVEL, BER and CONSTEL are made before it fails.
  fs::create_directories(base / "SET" / "BER");
  std::ofstream(base / "SET" / "SPECTRUM") << "x";
  fs::create_directories(base / "locked");
  fs::permissions(base / "locked", fs::perms::owner_read | fs::perms::owner_exec);
  struct Case {
    fs::path set;
    fs::path named;
    std::errc reason;
  } cases[] = {
      {base / "missing" / "SET", base / "missing" / "SET", std::errc::no_such_file_or_directory},
      {base / "file", base / "file", std::errc::not_a_directory},
      {base / "SET", base / "SET" / "SPECTRUM", std::errc::file_exists},
      {base / "locked", base / "locked", std::errc::permission_denied},
  };
  for (const Case& c : cases) {
    CountingObserver observer;
    auto line = std::make_shared<FakeLine>();
    WithoutPermissionOverride unprivileged;  // the worker started here is refused as a user is
    CTransferThread job(&observer, std::make_unique<FakePortBackend>(line));
    ASSERT_TRUE(job.Start(settings, c.set));
    EXPECT_FALSE(job.Start(settings, folder));  // one attempt per job
    job.Join();
    EXPECT_EQ(job.outcome().result, LinkResult::FolderRefused) << c.set;
    EXPECT_EQ(observer.finishedCount, 1);
    EXPECT_TRUE(line->written.empty()) << c.set;
    EXPECT_TRUE(line->openedDevice.empty()) << c.set;  // refused before the port is opened
    EXPECT_EQ(job.folderProblem().folder, c.named);
    EXPECT_EQ(job.folderProblem().reason, std::make_error_code(c.reason)) << job.folderProblem().reason.message();
  }
  // The kind folders the job made are removed again; BER was there before and stays.
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(base / "SET")) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"BER", "SPECTRUM"}));
  fs::permissions(base / "locked", fs::perms::owner_all);
}

TEST_F(TransferJobTest, ASetFolderAnotherDownloadHoldsIsRefused) {
  DownloadFolder other;
  ASSERT_TRUE(other.Open(folder));
  CountingObserver observer;
  CTransferThread job(&observer, std::make_unique<FakePortBackend>(line));
  ASSERT_TRUE(job.Start(settings, folder));
  job.Join();
  EXPECT_EQ(job.outcome().result, LinkResult::FolderRefused);
  EXPECT_TRUE(job.folderProblem().busy);
  EXPECT_EQ(job.folderProblem().folder, folder);
  EXPECT_TRUE(line->openedDevice.empty());
}

TEST_F(TransferJobTest, PortOpenFailureIsResultOne) {
  CountingObserver observer;
  line->openErrors = {PortError::OpenFailed};
  CTransferThread job(&observer, std::make_unique<FakePortBackend>(line));
  ASSERT_TRUE(job.Start(settings, folder));
  job.Join();
  EXPECT_EQ(job.outcome().result, LinkResult::PortOpenFailed);
  EXPECT_EQ(observer.result, 1);
}

TEST_F(TransferJobTest, DetachedObserverHearsNothingMore) {
  CountingObserver observer;
  auto job = WaitingJob(&observer);
  ASSERT_TRUE(job->Start(settings, folder));
  ASSERT_TRUE(observer.WaitForModeWaits(1));
  job->DetachObserver();
  const int seen = observer.modeWaits;
  job->Abort();
  job->Join();
  EXPECT_EQ(observer.finishedCount, 0);
  EXPECT_EQ(observer.modeWaits, seen);
  EXPECT_EQ(job->outcome().result, LinkResult::Cancelled);
}

TEST_F(TransferJobTest, DestroyingARunningJobCancelsAndJoins) {
  CountingObserver observer;
  {
    auto job = WaitingJob(&observer);
    ASSERT_TRUE(job->Start(settings, folder));
    ASSERT_TRUE(observer.WaitForModeWaits(3));
  }
  EXPECT_EQ(observer.finishedCount, 1);
  EXPECT_EQ(observer.result, ToInt(LinkResult::Cancelled));
  EXPECT_FALSE(line->open);
}

TEST_F(TransferJobTest, AbortBeforeThePortIsOpenStillCancels) {
  CountingObserver observer;
  auto job = WaitingJob(&observer);
  job->Abort();
  ASSERT_TRUE(job->Start(settings, folder));
  job->Join();
  EXPECT_EQ(job->outcome().result, LinkResult::Cancelled);
  EXPECT_TRUE(line->written.empty());
}

}  // namespace
}  // namespace rxt4::test
