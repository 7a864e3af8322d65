// The firmware update commands on the in-memory line: request bytes, the wake-up,
// version replies, the XMODEM-1K upload and the completion wait.

#include <gtest/gtest.h>

#include <memory>

#include "FakeUpdateInstrument.h"
#include "FirmwareImageBuilder.h"
#include "rxt4/link/FirmwareSendCommand.h"
#include "rxt4/link/UpdateEndCommand.h"
#include "rxt4/link/UpdateEntryCommand.h"
#include "rxt4/link/VersionCommand.h"

namespace rxt4 {
namespace {

using test::Bytes;
using test::FakeLine;
using test::FakePortBackend;
using test::ReplyFrame;

constexpr int kMaxSteps = 100000;

// Runs one command's steps as the update worker would, until it is done, fails or
// hands over at LinkStep::Version / LinkStep::Entry value 1.
bool Drive(CInstrumentCommand& c, CSerialPort& port) {
  StepHost quiet;
  for (int i = 0; i < kMaxSteps; ++i) {
    bool ok = true;
    switch (c.step()) {
      case LinkStep::Send: ok = c.Send(port); break;
      case LinkStep::Wait: ok = c.Wait(port); break;
      case LinkStep::Read: ok = c.Receive(port); break;
      case LinkStep::XmodemSend:
      case LinkStep::XmodemReceive: ok = c.RunOwnStep(c.step(), port, quiet).result == LinkResult::Success; break;
      case LinkStep::Entry:
        if (c.stepValue1() == 1) return true;
        c.setStep(LinkStep::Send);
        break;
      case LinkStep::Version:
      case LinkStep::Done: return true;
    }
    if (!ok) return false;
  }
  ADD_FAILURE() << "command did not end";
  return false;
}

class UpdateCommandTest : public ::testing::Test {
 protected:
  UpdateCommandTest() : line(std::make_shared<FakeLine>()), port(std::make_unique<FakePortBackend>(line)) {
    port.Open({"/dev/fake", 115200});
    instrument.Attach(*line);
  }

  // An image holding one TSNM part of exactly partBytes bytes.
  const CFirmwareImage& TsnmImage(std::size_t partBytes) {
    tsnm = imagetest::TsnmPart("1.00", imagetest::Pattern(partBytes - 32, 11));
    EXPECT_TRUE(image.Load(imagetest::WriteFile(dir / "t.img", tsnm)));
    return image;
  }

  std::shared_ptr<FakeLine> line;
  CSerialPort port;
  test::FakeUpdateInstrument instrument;
  rxt4::test::TempFolder dir{"firmware"};
  CFirmwareImage image;
  Bytes tsnm;
};

TEST_F(UpdateCommandTest, RequestFrames) {
  EXPECT_EQ(CVersionCommand(PartType::Main).RequestFrame(), (Bytes{0x02, 0x00, 0x00, 0x01, 0x61, 0x01, 0x01, 0x03, 0x69}));

  // A Dec part of 0x012345 bytes: one stored record of 74513 bytes.
  const Bytes dec = imagetest::DecPart("D", imagetest::StoredRecord(imagetest::Pattern(74513)));
  ASSERT_EQ(dec.size(), 0x012345u);
  ASSERT_TRUE(image.Load(imagetest::WriteFile(dir / "d.img", dec)));
  CFirmwareSendCommand send;
  ASSERT_TRUE(send.Setup(image, PartType::Dec));
  EXPECT_EQ(send.RequestFrame(),
            (Bytes{0x02, 0x00, 0x00, 0x01, 0x62, 0x04, 0x11, 0x01, 0x23, 0x45, 0x03, 0xE6}));
  CFirmwareSendCommand absent;
  EXPECT_FALSE(absent.Setup(image, PartType::Main));
}

TEST_F(UpdateCommandTest, XmodemPackets) {
  TsnmImage(1500);
  const CFirmwarePart& part = *image.Part(PartType::Tsnm);
  std::array<std::uint8_t, kXmodemPacketBytes> packet{};

  BuildXmodemPacket(part, 2, packet);
  EXPECT_EQ(packet[0], 0x02);
  EXPECT_EQ(packet[1], 0x02);
  EXPECT_EQ(packet[2], 0xFD);
  EXPECT_EQ(Bytes(packet.begin() + 3, packet.begin() + 3 + 476), Bytes(tsnm.begin() + 1024, tsnm.end()));
  EXPECT_EQ(Bytes(packet.begin() + 3 + 476, packet.begin() + 1027), Bytes(548, 0x1A));

  // Block 256 wraps to 0 with complement 0xFF; a block of 0x1A only has the CRC FC 96.
  BuildXmodemPacket(part, 256, packet);
  EXPECT_EQ(packet[1], 0x00);
  EXPECT_EQ(packet[2], 0xFF);
  EXPECT_EQ(Bytes(packet.begin() + 3, packet.begin() + 1027), Bytes(1024, 0x1A));
  EXPECT_EQ(packet[1027], 0xFC);
  EXPECT_EQ(packet[1028], 0x96);
  BuildXmodemPacket(part, 257, packet);
  EXPECT_EQ(packet[1], 0x01);
  EXPECT_EQ(packet[2], 0xFE);
}

TEST_F(UpdateCommandTest, PartOf3072BytesGoesAsFourBlocksTheLastAll1A) {
  CFirmwareSendCommand send;
  ASSERT_TRUE(send.Setup(TsnmImage(3072), PartType::Tsnm));
  ASSERT_TRUE(Drive(send, port));
  EXPECT_EQ(send.step(), LinkStep::Done);
  // 0x62 frame, four packets, EOT.
  ASSERT_EQ(line->writes.size(), 6u);
  EXPECT_EQ(line->writes[0], (Bytes{0x02, 0x00, 0x00, 0x01, 0x62, 0x04, 0x02, 0x00, 0x0C, 0x00, 0x03, 0x7A}));
  for (int b = 1; b <= 4; ++b) {
    EXPECT_EQ(line->writes[b].size(), 1029u);
    EXPECT_EQ(line->writes[b][1], b);
  }
  EXPECT_EQ(Bytes(line->writes[4].begin() + 3, line->writes[4].begin() + 1027), Bytes(1024, 0x1A));
  EXPECT_EQ(line->writes[5], Bytes{0x04});
  EXPECT_EQ(instrument.received[2], tsnm);
  EXPECT_EQ(instrument.badPackets, 0);
  EXPECT_EQ(send.block(), 0u);  // after EOT
}

TEST_F(UpdateCommandTest, PartOf3073BytesAlsoGoesAsFourBlocks) {
  CFirmwareSendCommand send;
  ASSERT_TRUE(send.Setup(TsnmImage(3073), PartType::Tsnm));
  ASSERT_TRUE(Drive(send, port));
  ASSERT_EQ(line->writes.size(), 6u);
  EXPECT_EQ(line->writes[4][3], tsnm[3072]);
  EXPECT_EQ(Bytes(line->writes[4].begin() + 4, line->writes[4].begin() + 1027), Bytes(1023, 0x1A));
  EXPECT_EQ(instrument.received[2], tsnm);
}

TEST_F(UpdateCommandTest, NakSendsTheSameBlockAgainWithIdenticalBytes) {
  instrument.nakPackets = {2, 3, 5};
  CFirmwareSendCommand send;
  ASSERT_TRUE(send.Setup(TsnmImage(2100), PartType::Tsnm));
  ASSERT_TRUE(Drive(send, port));
  // Packets: 1, 2 (NAK), 2 (NAK), 2, 3 (NAK), 3, EOT.
  ASSERT_EQ(line->writes.size(), 1u + 6 + 1);
  EXPECT_EQ(line->writes[2], line->writes[3]);
  EXPECT_EQ(line->writes[3], line->writes[4]);
  EXPECT_EQ(line->writes[4][1], 2);
  EXPECT_EQ(line->writes[5], line->writes[6]);
  EXPECT_EQ(line->writes[6][1], 3);
  EXPECT_EQ(instrument.received[2], tsnm);
}

TEST_F(UpdateCommandTest, BlockCountersFollowTheAnswers) {
  CFirmwareSendCommand send;
  ASSERT_TRUE(send.Setup(TsnmImage(1100), PartType::Tsnm));
  line->onWrite = nullptr;  // answers scripted below
  ASSERT_TRUE(send.Send(port));
  line->Deliver(ReplyFrame(0xE2, {0}));
  ASSERT_TRUE(send.Wait(port));
  ASSERT_TRUE(send.Receive(port));
  EXPECT_EQ(send.phase(), CFirmwareSendCommand::kPhaseCrcRequest);
  EXPECT_EQ(send.timeoutMs(), 5000);
  EXPECT_EQ(send.step(), LinkStep::Wait);

  // Nothing queued: back to waiting.
  ASSERT_TRUE(send.ReadAnswer(port));
  EXPECT_EQ(send.step(), LinkStep::Wait);

  line->Queue(Bytes{0x43});
  ASSERT_TRUE(send.ReadAnswer(port));
  EXPECT_EQ(send.step(), LinkStep::XmodemSend);
  EXPECT_EQ(send.timeoutMs(), 10000);
  EXPECT_EQ(send.stepValue1(), 1);
  EXPECT_EQ(send.stepValue2(), 2);

  ASSERT_TRUE(send.SendPacket(port));
  line->Queue(Bytes{0x06});
  ASSERT_TRUE(send.ReadAnswer(port));
  EXPECT_EQ(send.phase(), CFirmwareSendCommand::kPhaseBlocks);
  EXPECT_EQ(send.stepValue1(), 2);
  ASSERT_TRUE(send.SendPacket(port));
  // The ACK of the last block ends the blocks; EOT goes out with the next SendPacket.
  line->Queue(Bytes{0x06});
  ASSERT_TRUE(send.ReadAnswer(port));
  EXPECT_EQ(send.phase(), CFirmwareSendCommand::kPhaseEnd);
  EXPECT_EQ(send.step(), LinkStep::XmodemSend);
  EXPECT_EQ(line->writes.size(), 3u);
  ASSERT_TRUE(send.SendPacket(port));
  EXPECT_EQ(line->writes.back(), Bytes{0x04});
  EXPECT_EQ(send.stepValue1(), 0);
  EXPECT_EQ(send.stepValue2(), 0);
  // After EOT, surplus bytes beyond the one read are left for the next wait.
  line->Queue(Bytes{0x06, 0x02, 0x00});
  ASSERT_TRUE(send.ReadAnswer(port));
  EXPECT_EQ(send.step(), LinkStep::Done);
  EXPECT_EQ(port.pendingCount(), 2u);
}

TEST_F(UpdateCommandTest, WrongAnswerBytesFailTheUpload) {
  TsnmImage(1100);
  struct Case {
    Bytes answers;  // queued one at a time after C
    const char* what;
  };
  // Not "C" first; a stray byte during the blocks; NAK after EOT.
  const std::vector<Case> cases = {{{0x15}, "no C"}, {{0x43, 0x43}, "C during blocks"},
                                   {{0x43, 0x06, 0x06, 0x15}, "NAK after EOT"}};
  for (const Case& c : cases) {
    CFirmwareSendCommand send;
    ASSERT_TRUE(send.Setup(image, PartType::Tsnm));
    line->onWrite = nullptr;
    ASSERT_TRUE(send.Send(port));
    line->Deliver(ReplyFrame(0xE2, {0}));
    ASSERT_TRUE(send.Wait(port));
    ASSERT_TRUE(send.Receive(port));
    bool ok = true;
    for (std::uint8_t answer : c.answers) {
      line->Queue(Bytes{answer});
      ok = send.ReadAnswer(port);
      if (!ok) break;
      ASSERT_TRUE(send.SendPacket(port));
    }
    EXPECT_FALSE(ok) << c.what;
  }
}

TEST_F(UpdateCommandTest, AnnounceWithNonzeroStatusOrSilenceFails) {
  TsnmImage(1100);
  instrument.announceStatus = 3;
  CFirmwareSendCommand send;
  ASSERT_TRUE(send.Setup(image, PartType::Tsnm));
  EXPECT_FALSE(Drive(send, port));

  line->onWrite = nullptr;  // nobody answers
  CFirmwareSendCommand silent;
  ASSERT_TRUE(silent.Setup(image, PartType::Tsnm));
  ASSERT_TRUE(silent.Send(port));
  EXPECT_FALSE(silent.Wait(port));
}

TEST_F(UpdateCommandTest, VersionReplies) {
  line->onWrite = nullptr;
  {
    CVersionCommand v(PartType::Tsnm);
    ASSERT_TRUE(v.Send(port));
    // Split over two waits.
    const Bytes reply = ReplyFrame(0xE1, {0, '1', '.', '0', '2', ' ', ' ', ' ', ' '});
    line->Deliver(std::span(reply).first(7));
    line->Deliver(std::span(reply).subspan(7));
    ASSERT_TRUE(Drive(v, port));
    EXPECT_EQ(v.step(), LinkStep::Version);
    const auto text = v.VersionText();
    EXPECT_EQ(std::string(text.begin(), text.end()), "1.02    ");
  }
  {
    // Five payload bytes: four characters, then zero bytes.
    CVersionCommand v(PartType::Main);
    line->Deliver(ReplyFrame(0xE1, {0, '2', '.', '0', '1'}));
    ASSERT_TRUE(Drive(v, port));
    EXPECT_EQ(v.step(), LinkStep::Version);
    const auto text = v.VersionText();
    EXPECT_EQ(std::string(text.begin(), text.end()), std::string("2.01\0\0\0\0", 8));
  }
  {
    // More than 9 payload bytes announced: refused without writing past the buffers.
    CVersionCommand v(PartType::Main);
    line->Deliver(ReplyFrame(0xE1, Bytes(40, '9')));
    EXPECT_FALSE(Drive(v, port));
    line->queued.clear();
  }
  {
    CVersionCommand v(PartType::Main);
    line->Deliver(ReplyFrame(0xE1, {1, '1', '.', '0', '0', ' ', ' ', ' ', ' '}));
    EXPECT_FALSE(Drive(v, port));  // nonzero status
  }
  {
    CVersionCommand v(PartType::Main);
    line->Deliver(ReplyFrame(0xE1, {}));
    EXPECT_FALSE(Drive(v, port));  // no status byte at all
  }
  {
    CVersionCommand v(PartType::Main);
    Bytes bad = ReplyFrame(0xE1, {0, '1', '.', '0', '0', ' ', ' ', ' ', ' '});
    bad.back() ^= 0xFF;
    line->Deliver(bad);
    EXPECT_FALSE(Drive(v, port));  // checksum
  }
}

TEST_F(UpdateCommandTest, WakeUpSendsEscUntilTheInstrumentAnswers) {
  instrument.escBeforeAnswer = 5;
  CUpdateEntryCommand entry;
  EXPECT_EQ(entry.step(), LinkStep::Entry);
  EXPECT_EQ(entry.stepValue1(), 0);
  ASSERT_TRUE(Drive(entry, port));
  EXPECT_EQ(entry.stepValue1(), 1);
  EXPECT_EQ(entry.step(), LinkStep::Entry);
  EXPECT_EQ(line->written, Bytes(6, 0x1B));
  EXPECT_EQ(line->polls, 0);  // no waits between ESC bytes
}

TEST_F(UpdateCommandTest, WakeUpAssemblesAReplySplitAcrossLooks) {
  const Bytes e0 = {0x02, 0x00, 0x00, 0x01, 0xE0, 0x00, 0x03, 0xE6};
  int esc = 0;
  line->onWrite = [&](FakeLine& l, std::span<const std::uint8_t>) {
    ++esc;
    if (esc == 2) l.Queue(Bytes{0x00, 0xE6, 0x02, 0x00, 0x00});  // noise, then the reply's start
    if (esc == 3) l.Queue(Bytes{0x01, 0xE0, 0x00});
    if (esc == 4) l.Queue(Bytes{0x03, 0xE6});
  };
  CUpdateEntryCommand entry;
  ASSERT_TRUE(Drive(entry, port));
  EXPECT_EQ(entry.stepValue1(), 1);
  EXPECT_EQ(esc, 4);

  // A complete frame of another code fails.
  esc = 0;
  line->onWrite = [&](FakeLine& l, std::span<const std::uint8_t>) {
    if (++esc == 1) l.Queue(ReplyFrame(0xE1, {}));
  };
  CUpdateEntryCommand wrong;
  EXPECT_FALSE(Drive(wrong, port));
  EXPECT_EQ(e0, ReplyFrame(0xE0, {}));
}

TEST_F(UpdateCommandTest, LateAnswersToEarlierEscBytesAreDropped) {
  line->onWrite = [&](FakeLine& l, std::span<const std::uint8_t>) {
    for (int i = 0; i < 3; ++i) l.Queue(ReplyFrame(0xE0, {}));
  };
  CUpdateEntryCommand entry;
  ASSERT_TRUE(Drive(entry, port));
  EXPECT_EQ(entry.stepValue1(), 1);
  EXPECT_TRUE(line->queued.empty());
  EXPECT_EQ(port.pendingCount(), 0u);
  // The version query that follows sees only its own reply.
  line->onWrite = nullptr;
  CVersionCommand v(PartType::Main);
  line->Deliver(ReplyFrame(0xE1, {0, '1', '.', '0', '0', ' ', ' ', ' ', ' '}));
  EXPECT_TRUE(Drive(v, port));
}

TEST_F(UpdateCommandTest, CompletionWait) {
  line->onWrite = nullptr;
  {
    CUpdateEndCommand end;
    EXPECT_EQ(end.step(), LinkStep::Wait);
    EXPECT_EQ(end.timeoutMs(), 20000);
    line->Deliver(ReplyFrame(0xE3, {2, 0, 0, 0, 0, 0, 0}));
    line->Deliver(ReplyFrame(0xE3, {1, 9, 9, 9, 9, 9, 9}));
    line->Deliver(ReplyFrame(0xE3, {0, 0, 0, 0, 0, 0, 0}));
    ASSERT_TRUE(Drive(end, port));
    EXPECT_EQ(end.step(), LinkStep::Done);
    EXPECT_TRUE(line->written.empty());
  }
  {
    CUpdateEndCommand end;
    line->Deliver(ReplyFrame(0xE3, {4, 0, 0, 0, 0, 0, 0}));
    EXPECT_FALSE(Drive(end, port));
  }
  {
    CUpdateEndCommand end;
    line->Deliver(ReplyFrame(0xE3, {3, 0, 0, 0, 0, 0, 0}));
    EXPECT_FALSE(Drive(end, port));  // status 3, then silence: the wait times out
    EXPECT_GE(line->timeouts, 1);
  }
}

}  // namespace
}  // namespace rxt4
