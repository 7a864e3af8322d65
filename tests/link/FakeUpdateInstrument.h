#pragma once
// A scripted instrument in its remote update mode for the fake line: answers ESC with
// 0xE0, 0x61 with a version, 0x62 with a status and then receives XMODEM-1K in CRC
// mode, checking every packet with its own CRC code; after the Dec part it reports
// completion with 0xE3 frames. Faults are set per test.

#include <cstdint>
#include <map>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "FakeInstrument.h"

namespace rxt4::test {

inline std::uint16_t BitCrc16(std::span<const std::uint8_t> bytes) {
  std::uint16_t crc = 0;
  for (std::uint8_t b : bytes) {
    crc ^= static_cast<std::uint16_t>(b << 8);
    for (int i = 0; i < 8; ++i) crc = static_cast<std::uint16_t>((crc & 0x8000) ? (crc << 1) ^ 0x1021 : crc << 1);
  }
  return crc;
}

struct FakeUpdateInstrument {
  // ESC bytes ignored before the 0xE0 answer; -1: never answer.
  int escBeforeAnswer = 0;
  // Version payloads by part type (status and 8 characters unless a test wants others).
  std::map<int, Bytes> versionPayloads;
  std::uint8_t announceStatus = 0;
  // Packet ordinals (1-based, counted over the whole update) answered with NAK.
  std::set<int> nakPackets;
  // Statuses of the 0xE3 frames sent after the Dec part, one frame per wait.
  std::vector<std::uint8_t> completionStatuses = {0};

  // What arrived.
  int escCount = 0;
  int packetCount = 0;
  int badPackets = 0;
  std::vector<int> announcedTypes;
  std::map<int, Bytes> received;  // by part type: the announced size's bytes

  Bytes VersionPayload(int type) const {
    auto it = versionPayloads.find(type);
    if (it != versionPayloads.end()) return it->second;
    return {0, 'I', 'N', 'S', 'T', '0', '0', '0', static_cast<std::uint8_t>('0' + type % 10)};
  }

  void Answer(FakeLine& line, std::span<const std::uint8_t> w) {
    if (receiving_) {
      Receive(line, w);
      return;
    }
    if (w.size() == 1 && w[0] == 0x1B) {
      ++escCount;
      if (escBeforeAnswer >= 0 && !answered_ && escCount > escBeforeAnswer) {
        answered_ = true;
        line.Queue(ReplyFrame(0xE0, {}));  // the ESC loop never waits: readable at once
      }
      return;
    }
    if (w.size() < 8 || w[0] != 0x02) return;
    if (w[4] == 0x61) {
      line.Deliver(ReplyFrame(0xE1, VersionPayload(w[6])));
    } else if (w[4] == 0x62) {
      type_ = w[6];
      size_ = (std::uint32_t{w[7]} << 16) | (std::uint32_t{w[8]} << 8) | w[9];
      announcedTypes.push_back(type_);
      line.Deliver(ReplyFrame(0xE2, {announceStatus}));
      if (announceStatus == 0) {
        line.Deliver({0x43});
        receiving_ = true;
        expected_ = 1;
        data_.clear();
      }
    }
  }

  void Attach(FakeLine& line) {
    line.onWrite = [this](FakeLine& l, std::span<const std::uint8_t> bytes) { Answer(l, bytes); };
  }

 private:
  void Receive(FakeLine& line, std::span<const std::uint8_t> w) {
    if (w.size() == 1 && w[0] == 0x04) {
      line.Deliver({0x06});
      receiving_ = false;
      data_.resize(std::min<std::size_t>(data_.size(), size_));
      received[type_] = data_;
      if (type_ == 17)
        for (std::uint8_t status : completionStatuses) line.Deliver(ReplyFrame(0xE3, {status, 1, 2, 3, 4, 5, 6}));
      return;
    }
    ++packetCount;
    const bool good = w.size() == 1029 && w[0] == 0x02 && w[1] == (expected_ & 0xFF) && w[2] == 255 - w[1] &&
                      BitCrc16(w.subspan(3, 1024)) == ((w[1027] << 8) | w[1028]);
    if (!good) ++badPackets;
    if (!good || nakPackets.count(packetCount)) {
      line.Deliver({0x15});
      return;
    }
    data_.insert(data_.end(), w.begin() + 3, w.begin() + 1027);
    ++expected_;
    line.Deliver({0x06});
  }

  bool answered_ = false;
  bool receiving_ = false;
  int type_ = 0;
  std::uint32_t size_ = 0;
  std::uint32_t expected_ = 1;
  Bytes data_;
};

}  // namespace rxt4::test
