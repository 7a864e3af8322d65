#pragma once
// The instrument in its remote update mode (rxt4-sim --update-mode): answers ESC with
// 0xE0, 0x61 with a part's version, 0x62 with a status and then receives the part as
// an XMODEM-1K receiver in CRC mode ("C", ACK or NAK per packet after checking block
// number, complement and CRC-16, ACK after EOT); after the Dec part it reports
// completion with 0xE3 frames. Each received part (the announced size's bytes) can be
// written to a folder as main.bin, tsnm.bin or dec.bin. Faults are set by options:
// silence, statuses, NAKs (on blocks and on EOT), held-back answers, frames in
// pieces, hang-ups, a late or absent wake-up.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "FrameParser.h"
#include "SimLink.h"

namespace rxt4::sim {

// What the update mode does, from the command line.
struct UpdateSettings {
  int entryEsc = 1;                                  // the ESC byte answered with 0xE0; 0: never
  int entryAfterMs = 0;                              // ...and not before this long after the first ESC
  std::map<int, std::string> versions;               // 0x61 version text by part type
  std::map<int, std::uint8_t> versionStatus;         // 0x61 status by part type
  std::map<int, std::uint8_t> announceStatus;        // 0x62 status by part type
  std::map<std::pair<int, int>, int> naks;           // (type, block) -> NAKs left
  std::map<int, int> eotNaks;                        // type -> NAKs left for its EOT
  std::set<std::string> silent;                      // "version:T", "announce:T", "block:T:N", "eot:T"
  std::set<std::string> hangups;                     // the same keys: hang up instead of answering
  std::map<std::string, int> delaysMs;               // the same keys: answer this much later
  std::set<std::uint8_t> splitCodes;                 // reply codes whose frames come in pieces
  std::vector<std::uint8_t> completion = {0};        // 0xE3 statuses after the Dec part
  int completionIntervalMs = 0;                      // pause before each 0xE3 frame
  std::filesystem::path receivedDir;                 // where received parts go (empty: nowhere)

  // True when name is an option of the update mode that takes a value.
  static bool Takes(std::string_view name);
  // Applies one option with its value; an error text when the value is bad.
  std::optional<std::string> Add(std::string_view name, std::string_view value);
};

// The update mode's options, for --help.
const char* UpdateOptionsHelp();

class UpdateInstrument final : public SimulatedInstrument {
 public:
  explicit UpdateInstrument(UpdateSettings settings);

  void OnReceived(std::span<const std::uint8_t> bytes, SimLink& link) override;
  void OnNewLine() override;

 private:
  enum class State { WaitingForEsc, Commands, Receiving };

  void OnEsc(std::span<const std::uint8_t>& bytes, SimLink& link);
  void OnCommands(std::span<const std::uint8_t> bytes, SimLink& link);
  void OnXmodem(SimLink& link);
  void OnPacket(SimLink& link);
  void EndOfPart(SimLink& link);
  void Reply(SimLink& link, std::uint8_t code, const std::vector<std::uint8_t>& payload);
  void Control(SimLink& link, std::uint8_t byte);
  // Silence, a hang-up or a pause before the answer to key; true when no answer is to follow.
  bool Withheld(const std::string& key, SimLink& link);

  UpdateSettings settings_;
  State state_ = State::WaitingForEsc;
  int escCount_ = 0;
  std::chrono::steady_clock::time_point firstEsc_{};
  FrameParser parser_;
  // The part being received.
  int type_ = 0;
  std::uint32_t size_ = 0;
  std::uint32_t expected_ = 1;  // next block number (1-based, not wrapped)
  std::vector<std::uint8_t> xmodem_;  // bytes of the packet in progress
  std::vector<std::uint8_t> data_;
};

}  // namespace rxt4::sim
