// Instrument replies of arbitrary bytes collected by the data read, version and
// update completion commands on the in-memory line, for a bounded number of steps.
// Input: byte 0 selects the command (modulo 3: 0x24 data read of the kind in byte 1,
// 0x61 version query, update completion wait); then chunks, each a length byte and
// that many bytes (short at the end), each arriving at one wait of the command.
// When byte 0 / 3 is odd each chunk is a payload that arrives framed with the
// expected reply code and a right checksum, so the commands' own checks are reached.

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <memory>
#include <span>

#include "FakePort.h"
#include "FuzzEntry.h"
#include "rxt4/data/Kinds.h"
#include "rxt4/link/CommSettings.h"
#include "rxt4/link/DataReadCommand.h"
#include "rxt4/link/SerialPort.h"
#include "rxt4/link/UpdateEndCommand.h"
#include "rxt4/link/VersionCommand.h"

namespace rxt4::fuzz {
namespace {

// Each step consumes at most one chunk, a retry or a block: far more than any input needs.
constexpr int kMaxSteps = 20000;

// Runs the command's steps as the workers do until it is done, hands over or fails.
void Drive(CInstrumentCommand& command, CSerialPort& port) {
  for (int i = 0; i < kMaxSteps; ++i) {
    bool ok = true;
    switch (command.step()) {
      case LinkStep::Send: ok = command.Send(port); break;
      case LinkStep::Wait: ok = command.Wait(port); break;
      case LinkStep::Read: ok = command.Receive(port); break;
      default: return;  // done, or a version reply handed over
    }
    if (!ok) return;
  }
  // Replies are finite: a command still running here loops without input.
  __builtin_trap();
}

// A reply frame around payload: STX, address, code, length, payload, ETX, byte sum.
test::Bytes Framed(std::uint8_t code, std::span<const std::uint8_t> payload) {
  test::Bytes frame;
  frame.reserve(payload.size() + 8);
  for (std::uint8_t b : {std::uint8_t{0x02}, std::uint8_t{0x00}, std::uint8_t{0x00}, std::uint8_t{0x01}, code,
                         static_cast<std::uint8_t>(payload.size())})
    frame.push_back(b);
  for (std::uint8_t b : payload) frame.push_back(b);
  frame.push_back(0x03);
  unsigned sum = 0;
  for (std::uint8_t b : frame) sum += b;
  frame.push_back(static_cast<std::uint8_t>(sum));
  return frame;
}

}  // namespace

RXT4_FUZZ_ENTRY(FuzzReply) {
  static const TempFolder folder("fuzz_reply");
  if (size < 2) return 0;
  folder.Clean();

  static constexpr std::uint8_t kReplyCodes[] = {CDataReadCommand::kReplyCode, CVersionCommand::kReplyCode,
                                                 CUpdateEndCommand::kReplyCode};
  const int command = data[0] % 3;
  const bool framed = data[0] / 3 % 2 == 1;
  auto line = std::make_shared<test::FakeLine>();
  for (std::size_t i = 2; i < size;) {
    const std::size_t length = std::min<std::size_t>(data[i], size - i - 1);
    const std::span<const std::uint8_t> chunk(data + i + 1, length);
    if (framed)
      line->Deliver(Framed(kReplyCodes[command], chunk));
    else
      line->Deliver(chunk);
    i += 1 + length;
  }
  CSerialPort port(std::make_unique<test::FakePortBackend>(line));
  CommSettings settings;
  settings.comPort = "/dev/fake";
  settings.baudRate = 115200;
  if (port.Open(settings) != PortError::Success) __builtin_trap();

  switch (command) {
    case 0: {
      CDataReadCommand read;
      if (!read.Setup(static_cast<TransferKind>(data[1] % kTransferKindCount), nullptr, folder.path()))
        __builtin_trap();
      Drive(read, port);
      if (read.writer().fill() > read.writer().imageSize()) __builtin_trap();
      break;
    }
    case 1: {
      CVersionCommand version(static_cast<PartType>(data[1] % 2 == 0 ? PartType::Main : PartType::Dec));
      Drive(version, port);
      if (version.step() == LinkStep::Version) (void)version.VersionText();
      break;
    }
    default: {
      CUpdateEndCommand end;
      Drive(end, port);
      break;
    }
  }
  return 0;
}

}  // namespace rxt4::fuzz
