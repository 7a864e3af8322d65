// The transfer job's life: set-up failures, observer detach, destruction while running.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "FakeInstrument.h"
#include "FakePort.h"
#include "rxt4/link/TransferThread.h"

namespace rxt4::test {
namespace {

struct CountingObserver final : TransferObserver {
  std::atomic<int> modeWaits{0};
  std::atomic<int> finishedCount{0};
  std::atomic<int> result{-99};
  void progress(TransferKind, int) override {}
  void modeWait() override { ++modeWaits; }
  void finished(LinkResult r, int) override {
    result = ToInt(r);
    ++finishedCount;
  }
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
  static void WaitUntil(const std::function<bool()>& done) {
    for (int i = 0; i < 2000 && !done(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }

  std::shared_ptr<FakeLine> line = std::make_shared<FakeLine>();
  FakeInstrument instrument;
  CommSettings settings{"/dev/fake", 9600};
  std::filesystem::path folder = ::testing::TempDir();
};

TEST_F(TransferJobTest, MissingSetFolderIsASetUpFailure) {
  CountingObserver observer;
  CTransferThread job(&observer, std::make_unique<FakePortBackend>(line));
  ASSERT_TRUE(job.Start(settings, folder / "rxt4_no_such_folder" / "SET"));
  EXPECT_FALSE(job.Start(settings, folder));  // one attempt per job
  job.Join();
  EXPECT_EQ(job.outcome().result, LinkResult::SetupFailed);
  EXPECT_EQ(observer.finishedCount, 1);
  EXPECT_TRUE(line->written.empty());
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
  WaitUntil([&] { return observer.modeWaits > 0; });
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
    WaitUntil([&] { return observer.modeWaits > 2; });
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
