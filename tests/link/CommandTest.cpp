// Frames, reply collection and the four transfer commands on the in-memory line.

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "FakeInstrument.h"
#include "FakePort.h"
#include "../common/TempFolder.h"
#include "rxt4/link/BaudCheckCommand.h"
#include "rxt4/link/ConnectCommand.h"
#include "rxt4/link/DataReadCommand.h"
#include "rxt4/link/Frame.h"
#include "rxt4/link/QueueRunner.h"
#include "rxt4/link/SerialPort.h"
#include "rxt4/link/TransferModeCommand.h"
#include "rxt4/link/VersionCommand.h"

namespace rxt4::test {
namespace {

// The 0xA0 reply with status 0, as the instrument sends it.
const Bytes kConnectReply = {0x02, 0x00, 0x00, 0x01, 0xA0, 0x04, 0x00, 0x00, 0x00, 0x00, 0x03, 0xAA};

struct Recorder : TransferCommandListener {
  std::vector<std::pair<int, int>> progress;
  int modeWaits = 0;
  std::vector<int> notSaved;
  std::vector<std::pair<int, int>> retries;
  std::vector<std::uint32_t> rates;
  void OnProgress(TransferKind kind, int percent) override { progress.emplace_back(static_cast<int>(kind), percent); }
  void OnModeWait() override { ++modeWaits; }
  void OnKindNotSaved(TransferKind kind, const std::filesystem::path&, std::error_code) override { notSaved.push_back(static_cast<int>(kind)); }
  void OnRetry(TransferKind kind, int retry) override { retries.emplace_back(static_cast<int>(kind), retry); }
  void OnInstrumentRate(std::uint32_t rate) override { rates.push_back(rate); }
};

class CommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    port = std::make_unique<CSerialPort>(std::make_unique<FakePortBackend>(line));
    CommSettings s;
    s.comPort = "/dev/fake";
    s.baudRate = 9600;
    ASSERT_EQ(port->Open(s), PortError::Success);
    folder = scratch.path();
  }

  LinkOutcome RunOne(std::unique_ptr<CInstrumentCommand> command) {
    CQueueRunner runner(*port, abort);
    runner.Push(std::move(command));
    return runner.Run();
  }

  std::unique_ptr<CDataReadCommand> DataRead(TransferKind kind) {
    auto c = std::make_unique<CDataReadCommand>();
    EXPECT_TRUE(c->Setup(kind, &recorder, folder));
    return c;
  }

  std::shared_ptr<FakeLine> line = std::make_shared<FakeLine>();
  std::unique_ptr<CSerialPort> port;
  std::atomic<bool> abort{false};
  Recorder recorder;
  FakeInstrument instrument;
  TempFolder scratch{"cmd"};
  std::filesystem::path folder;
};

std::string FileText(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(FrameTest, RequestFramesCarryHeaderEtxAndSum) {
  EXPECT_EQ(BuildFrame(0x20, {}), (Bytes{0x02, 0x00, 0x00, 0x01, 0x20, 0x00, 0x03, 0x26}));
  EXPECT_EQ(CTransferModeCommand(nullptr, nullptr).RequestFrame(),
            (Bytes{0x02, 0x00, 0x00, 0x01, 0x26, 0x00, 0x03, 0x2C}));
  const Bytes payload = {0x03, 0xB4, 0x01, 0x02};
  EXPECT_EQ(BuildFrame(0x24, payload), (Bytes{0x02, 0x00, 0x00, 0x01, 0x24, 0x04, 0x03, 0xB4, 0x01, 0x02, 0x03, 0xE8}));
  CDataReadCommand read;
  const TempFolder set("frame");
  ASSERT_TRUE(read.Setup(TransferKind::Spectrum, nullptr, set.path()));
  EXPECT_EQ(read.RequestFrame(), (Bytes{0x02, 0x00, 0x00, 0x01, 0x24, 0x04, 0x03, 0xB4, 0x00, 0x00, 0x03, 0xE5}));
}

TEST_F(CommandTest, ReplyInThreePiecesIsAssembledOverThreeWaits) {
  line->onWrite = [](FakeLine& l, std::span<const std::uint8_t>) {
    l.Deliver({0x02, 0x00, 0x00, 0x01});
    l.Deliver({0xA0, 0x04, 0x00, 0x00});
    l.Deliver({0x00, 0x00, 0x03, 0xAA});
  };
  LinkOutcome out = RunOne(std::make_unique<CConnectCommand>());
  EXPECT_EQ(out.result, LinkResult::Success);
  EXPECT_EQ(line->polls, 3);
  EXPECT_EQ(line->written, (Bytes{0x02, 0x00, 0x00, 0x01, 0x20, 0x00, 0x03, 0x26}));
}

TEST_F(CommandTest, GarbageBeforeTheFrameIsDroppedWhenMoreIsQueued) {
  line->onWrite = [](FakeLine& l, std::span<const std::uint8_t>) {
    Bytes bytes = {0x55, 0xFF};
    bytes.insert(bytes.end(), kConnectReply.begin(), kConnectReply.end());
    l.Deliver(bytes);
  };
  EXPECT_EQ(RunOne(std::make_unique<CConnectCommand>()).result, LinkResult::Success);
  EXPECT_TRUE(line->queued.empty());
  EXPECT_EQ(port->pendingCount(), 0u);
}

TEST_F(CommandTest, ReplyIsNeverOverReadAndTheSurplusIsPending) {
  // Two complete replies at once: the first command takes exactly its frame.
  line->onWrite = [](FakeLine& l, std::span<const std::uint8_t>) {
    if (l.writes.size() > 1) return;
    Bytes two = kConnectReply;
    two.insert(two.end(), kConnectReply.begin(), kConnectReply.end());
    l.Deliver(two);
  };
  CQueueRunner runner(*port, abort);
  runner.Push(std::make_unique<CConnectCommand>());
  runner.Push(std::make_unique<CConnectCommand>());
  EXPECT_EQ(runner.Run().result, LinkResult::Success);
  EXPECT_TRUE(line->queued.empty());
}

TEST_F(CommandTest, ConnectFailures) {
  // Nonzero status, bad checksum, a different reply code, silence, port errors.
  struct Case {
    Bytes reply;
    LinkResult result;
  };
  const Case cases[] = {
      {{0x02, 0x00, 0x00, 0x01, 0xA0, 0x04, 0x01, 0x00, 0x00, 0x00, 0x03, 0xAB}, LinkResult::ReplyFailed},
      {{0x02, 0x00, 0x00, 0x01, 0xA0, 0x04, 0x00, 0x00, 0x00, 0x00, 0x03, 0xAB}, LinkResult::ReplyFailed},
      {{0x02, 0x00, 0x00, 0x01, 0xA3, 0x04, 0x00, 0x00, 0x00, 0x00, 0x03, 0xAD}, LinkResult::ReplyFailed},
      {{}, LinkResult::WaitFailed},
  };
  for (const Case& c : cases) {
    line->deliveries.clear();
    line->queued.clear();
    line->onWrite = [&c](FakeLine& l, std::span<const std::uint8_t>) {
      if (!c.reply.empty()) l.Deliver(c.reply);
    };
    LinkOutcome out = RunOne(std::make_unique<CConnectCommand>());
    EXPECT_EQ(out.result, c.result);
    EXPECT_EQ(out.value, 0x20);
  }
  line->onWrite = nullptr;
  line->writeErrors = {PortError::WriteFailed};
  EXPECT_EQ(RunOne(std::make_unique<CConnectCommand>()).result, LinkResult::SendFailed);
  line->onWrite = [](FakeLine& l, std::span<const std::uint8_t>) { l.Deliver(kConnectReply); };
  line->readErrors = {PortError::ReadFailed};
  EXPECT_EQ(RunOne(std::make_unique<CConnectCommand>()).result, LinkResult::ReplyFailed);
  line->queued.clear();
  line->queuedErrors = {PortError::ReadFailed};
  EXPECT_EQ(RunOne(std::make_unique<CConnectCommand>()).result, LinkResult::ReplyFailed);
}

TEST_F(CommandTest, BaudCheckCompares32BitRateWithThePort) {
  line->onWrite = [](FakeLine& l, std::span<const std::uint8_t>) {
    // 0xA3, status 0, 19200 = 00 00 4B 00
    l.Deliver({0x02, 0x00, 0x00, 0x01, 0xA3, 0x05, 0x00, 0x00, 0x00, 0x4B, 0x00, 0x03, 0xF9});
  };
  EXPECT_EQ(RunOne(std::make_unique<CBaudCheckCommand>(19200, &recorder)).result, LinkResult::Success);
  LinkOutcome out = RunOne(std::make_unique<CBaudCheckCommand>(9600, &recorder));
  EXPECT_EQ(out.result, LinkResult::ReplyFailed);
  EXPECT_EQ(out.value, 0x23);
  // The instrument's rate is heard whether or not it matches (the message names it).
  EXPECT_EQ(recorder.rates, (std::vector<std::uint32_t>{19200, 19200}));
}

TEST_F(CommandTest, ModeZeroReportsWaitsSleepsAndAsksAgain) {
  instrument.modeZeroPolls = 2;
  instrument.Attach(*line);
  std::vector<int> sleeps;
  LinkOutcome out =
      RunOne(std::make_unique<CTransferModeCommand>(&recorder, [&sleeps](int ms) { sleeps.push_back(ms); }));
  EXPECT_EQ(out.result, LinkResult::Success);
  EXPECT_EQ(recorder.modeWaits, 2);
  EXPECT_EQ(sleeps, (std::vector<int>{1000, 1000}));
  EXPECT_EQ(line->writes.size(), 3u);
}

TEST_F(CommandTest, ImageOfEightBytesIsOneExchange) {
  instrument.images[0] = KindImageBytes(0, {});
  instrument.Attach(*line);
  EXPECT_EQ(RunOne(DataRead(TransferKind::Level)).result, LinkResult::Success);
  EXPECT_EQ(instrument.requests24, 1);
  EXPECT_EQ(recorder.progress, (std::vector<std::pair<int, int>>{{0, 100}}));
  EXPECT_EQ(FileText(folder / "LEVEL" / (folder.filename().string() + ".CNT")), "0\n2.00");
}

TEST_F(CommandTest, ImageOf1088BytesEndsWithBlockSix) {
  // Six records of 180 bytes: blocks 1..6 carry 180 bytes each.
  Bytes body;
  for (int r = 0; r < 6; ++r) body.insert(body.end(), 180, static_cast<std::uint8_t>('a' + r));
  instrument.images[1] = KindImageBytes(6, body);
  ASSERT_EQ(instrument.images[1].size(), 1088u);
  instrument.Attach(*line);
  auto read = DataRead(TransferKind::Ber);
  EXPECT_EQ(RunOne(std::move(read)).result, LinkResult::Success);
  EXPECT_EQ(instrument.requests24, 7);
  EXPECT_EQ(recorder.progress, (std::vector<std::pair<int, int>>{
                                   {1, 14}, {1, 28}, {1, 42}, {1, 57}, {1, 71}, {1, 85}, {1, 100}}));
  // The last request asks for block 6.
  EXPECT_EQ(line->writes.back(), (Bytes{0x02, 0x00, 0x00, 0x01, 0x24, 0x04, 0x01, 0xB4, 0x00, 0x06, 0x03, 0xE9}));
  const std::string set = folder.filename().string();
  EXPECT_EQ(FileText(folder / "BER" / (set + ".CNT")), "6\n2.00");
  const std::string csv = FileText(folder / "BER" / (set + ".CSV"));
  ASSERT_GE(csv.size(), 1080u);
  EXPECT_EQ(csv.substr(csv.size() - 1080), std::string(body.begin(), body.end()));
}

TEST_F(CommandTest, BlockNumbersGoBigEndianIntoTheRequest) {
  // 0x0102 blocks of records: the request for block 0x0102 of kind 3.
  instrument.images[3] = KindImageBytes(0, Bytes(0x0102 * 180, 0x20));
  instrument.Attach(*line);
  EXPECT_EQ(RunOne(DataRead(TransferKind::Spectrum)).result, LinkResult::Success);
  ASSERT_EQ(line->writes.size(), 0x0103u);
  EXPECT_EQ(line->writes[0x0102], (Bytes{0x02, 0x00, 0x00, 0x01, 0x24, 0x04, 0x03, 0xB4, 0x01, 0x02, 0x03, 0xE8}));
}

TEST_F(CommandTest, ThreeBadRepliesAreRetriedTheFourthFails) {
  Bytes body(360, 'x');
  instrument.images[0] = KindImageBytes(2, body);
  instrument.Attach(*line);
  int spoiled = 0;
  int spoilLimit = 3;
  // Block 1 comes back echoing block 2 (a wrong echo), a bad checksum, silence...
  instrument.spoil = [&](std::uint8_t, Bytes& payload) {
    if (payload[8] != 1 || spoiled >= spoilLimit) return true;
    ++spoiled;
    if (spoiled == 2) return false;  // dropped: a time-out counts as a bad reply too
    payload[8] = 2;
    return true;
  };
  EXPECT_EQ(RunOne(DataRead(TransferKind::Level)).result, LinkResult::Success);
  EXPECT_EQ(instrument.requests24, 3 + 3);
  // Each asking again is heard, numbered; the block's progress follows the third.
  EXPECT_EQ(recorder.retries, (std::vector<std::pair<int, int>>{{0, 1}, {0, 2}, {0, 3}}));
  EXPECT_EQ(recorder.progress, (std::vector<std::pair<int, int>>{{0, 33}, {0, 66}, {0, 100}}));
  recorder.retries.clear();

  spoiled = 0;
  spoilLimit = 4;
  instrument.requests24 = 0;
  line->deliveries.clear();
  LinkOutcome out = RunOne(DataRead(TransferKind::Level));
  EXPECT_EQ(out.result, LinkResult::ReplyFailed);
  EXPECT_EQ(out.value, 0x24);
  EXPECT_EQ(instrument.requests24, 1 + 4);
  EXPECT_EQ(recorder.retries, (std::vector<std::pair<int, int>>{{0, 1}, {0, 2}, {0, 3}}));
}

TEST_F(CommandTest, BadChecksumIsRetried) {
  instrument.images[5] = KindImageBytes(0, {});
  instrument.Attach(*line);
  bool first = true;
  line->onWrite = [&](FakeLine& l, std::span<const std::uint8_t> bytes) {
    instrument.Answer(l, bytes);
    if (first) l.deliveries.back().back() ^= 0x01;
    first = false;
  };
  EXPECT_EQ(RunOne(DataRead(TransferKind::Sky)).result, LinkResult::Success);
  EXPECT_EQ(instrument.requests24, 2);
}

TEST_F(CommandTest, TotalsOutsideTheDataModelFailBeforeAllocation) {
  for (std::uint32_t total : {0u, 7u, 5898069u, 0xFFFFFFFFu}) {
    instrument.Attach(*line);
    instrument.spoil = [total](std::uint8_t, Bytes& p) {
      p[2] = static_cast<std::uint8_t>(total >> 24);
      p[3] = static_cast<std::uint8_t>(total >> 16);
      p[4] = static_cast<std::uint8_t>(total >> 8);
      p[5] = static_cast<std::uint8_t>(total);
      return true;
    };
    auto read = DataRead(TransferKind::Profile);
    CDataReadCommand* raw = read.get();
    CQueueRunner runner(*port, abort);
    runner.Push(std::move(read));
    // Keep the command alive to look at its writer: run step by step until it fails.
    ASSERT_TRUE(raw->Send(*port));
    ASSERT_TRUE(raw->Wait(*port));
    EXPECT_FALSE(raw->Receive(*port)) << total;
    EXPECT_EQ(raw->writer().imageSize(), 0u) << total;
    line->queued.clear();
    line->deliveries.clear();
  }
}

TEST_F(CommandTest, NonzeroBlockStatusFailsWithoutRetry) {
  instrument.images[0] = KindImageBytes(0, {});
  instrument.Attach(*line);
  instrument.spoil = [](std::uint8_t, Bytes& p) {
    p[0] = 1;
    return true;
  };
  LinkOutcome out = RunOne(DataRead(TransferKind::Level));
  EXPECT_EQ(out.result, LinkResult::ReplyFailed);
  EXPECT_EQ(instrument.requests24, 1);
}

TEST_F(CommandTest, QueueRunnerEndings) {
  {
    CQueueRunner runner(*port, abort);
    EXPECT_EQ(runner.Run().result, LinkResult::Success);
  }
  {
    CQueueRunner runner(*port, abort);
    runner.Push(nullptr);
    EXPECT_EQ(runner.Run().result, LinkResult::EmptyEntry);
  }
  {
    auto c = std::make_unique<CConnectCommand>();
    c->setStep(LinkStep::XmodemSend);  // a step only the update worker knows
    CQueueRunner runner(*port, abort);
    runner.Push(std::move(c));
    LinkOutcome out = runner.Run();
    EXPECT_EQ(out.result, LinkResult::EmptyEntry);
    EXPECT_EQ(out.value, 0x4CC);  // the step, as a trace shows it
  }
  {
    // A command's own step: a part version the image does not hold (no host: no image).
    auto v = std::make_unique<CVersionCommand>(PartType::Dec);
    v->setStep(LinkStep::Version);
    CQueueRunner runner(*port, abort);
    runner.Push(std::move(v));
    LinkOutcome out = runner.Run();
    EXPECT_EQ(out.result, LinkResult::ImagePartMissing);
    EXPECT_EQ(out.value, 17);
  }
  {
    abort = true;
    CQueueRunner runner(*port, abort);
    runner.Push(std::make_unique<CConnectCommand>());
    EXPECT_EQ(runner.Run().result, LinkResult::Cancelled);
    EXPECT_TRUE(line->written.empty());
  }
}

TEST(SerialPortTest, ClosedPortAndFlagRules) {
  auto line = std::make_shared<FakeLine>();
  CSerialPort port(std::make_unique<FakePortBackend>(line));
  std::uint8_t b[4] = {1, 2, 3, 4};
  std::size_t n = 4;
  std::uint32_t count = 0;
  EXPECT_EQ(port.Write(b, 4), PortError::NotOpen);
  EXPECT_EQ(port.Read(b, n), PortError::NotOpen);
  EXPECT_EQ(port.WaitEvent(10), PortError::NotOpen);
  EXPECT_EQ(port.GetInQueue(count), PortError::NotOpen);
  EXPECT_EQ(port.GetBaudRate(), 0);
  port.Abort();  // closed: no flag
  EXPECT_FALSE(port.aborted());

  CommSettings s;
  s.comPort = "COM12";
  s.baudRate = 19200;
  s.dataSize = 7;
  s.parity = 2;
  s.stopBits = 2;
  ASSERT_EQ(port.Open(s), PortError::Success);
  EXPECT_EQ(line->openedDevice, "COM12");
  EXPECT_EQ(port.GetBaudRate(), 19200);

  port.setPendingCount(5);
  EXPECT_EQ(port.WaitEvent(10), PortError::Success);
  EXPECT_EQ(port.pendingCount(), 0u);
  EXPECT_EQ(line->polls, 0);

  port.Abort();
  EXPECT_EQ(port.Write(b, 4), PortError::Aborted);
  EXPECT_EQ(line->written.size(), 4u);  // the write itself went through
  EXPECT_EQ(port.WaitEvent(10), PortError::Aborted);
  port.Close();
  EXPECT_FALSE(port.aborted());

  line->openErrors = {PortError::OpenFailed};
  EXPECT_EQ(port.Open(s), PortError::OpenFailed);
  EXPECT_FALSE(port.isOpen());
}

}  // namespace
}  // namespace rxt4::test
