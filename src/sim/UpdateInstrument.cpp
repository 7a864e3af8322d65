#include "UpdateInstrument.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <thread>

#include "rxt4/link/Crc.h"
#include "rxt4/link/Frame.h"

namespace rxt4::sim {
namespace {

constexpr std::uint8_t kEsc = 0x1B;
constexpr std::uint8_t kStxByte = 0x02;
constexpr std::uint8_t kEot = 0x04;
constexpr std::uint8_t kAck = 0x06;
constexpr std::uint8_t kNak = 0x15;
constexpr std::uint8_t kCrcRequest = 0x43;  // "C"
constexpr std::size_t kBlockBytes = 1024;
constexpr std::size_t kPacketBytes = 3 + kBlockBytes + 2;
constexpr std::size_t kVersionChars = 8;
constexpr const char* kDefaultVersion = "0.00";

bool ParseNumber(std::string_view text, int& out) {
  int base = 10;
  if (text.starts_with("0x") || text.starts_with("0X")) {
    text.remove_prefix(2);
    base = 16;
  }
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out, base);
  return !text.empty() && ec == std::errc() && end == text.data() + text.size() && out >= 0;
}

// main, tsnm, dec or the type number.
bool ParseType(std::string_view text, int& type) {
  if (text == "main") type = 1;
  else if (text == "tsnm") type = 2;
  else if (text == "dec") type = 17;
  else if (!ParseNumber(text, type)) return false;
  return type == 1 || type == 2 || type == 17;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  for (;;) {
    const std::size_t at = text.find(separator);
    parts.push_back(text.substr(0, at));
    if (at == std::string_view::npos) return parts;
    text.remove_prefix(at + 1);
  }
}

const char* FileName(int type) {
  switch (type) {
    case 1: return "main.bin";
    case 2: return "tsnm.bin";
    case 17: return "dec.bin";
  }
  return "part.bin";
}

// A place to withhold an answer: version:TYPE, announce:TYPE, eot:TYPE or block:TYPE:N.
std::optional<std::string> ParseKey(const std::vector<std::string_view>& p) {
  int type = 0;
  int number = 0;
  if (p.size() == 2 && (p[0] == "version" || p[0] == "announce" || p[0] == "eot") && ParseType(p[1], type))
    return std::string(p[0]) + ":" + std::to_string(type);
  if (p.size() == 3 && p[0] == "block" && ParseType(p[1], type) && ParseNumber(p[2], number))
    return "block:" + std::to_string(type) + ":" + std::to_string(number);
  return std::nullopt;
}

// A reply code in hex (E1 or 0xE1).
bool ParseReplyCode(std::string_view text, int& code) {
  if (text.starts_with("0x") || text.starts_with("0X")) text.remove_prefix(2);
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), code, 16);
  return !text.empty() && ec == std::errc() && end == text.data() + text.size() && code >= 0xE0 && code <= 0xE3;
}

// Frames sent in pieces come in this many, this far apart.
constexpr int kSplitPieces = 3;
constexpr std::chrono::milliseconds kSplitPause{20};

std::string Hex(unsigned v) {
  char b[8];
  std::snprintf(b, sizeof b, "%02X", v);
  return b;
}

}  // namespace

bool UpdateSettings::Takes(std::string_view name) {
  return name == "--entry-esc" || name == "--entry-after-ms" || name == "--fw-version" ||
         name == "--version-status" || name == "--announce-status" || name == "--nak" || name == "--nak-eot" ||
         name == "--silent" || name == "--hangup" || name == "--delay" || name == "--split" ||
         name == "--completion" || name == "--completion-interval-ms" || name == "--received";
}

std::optional<std::string> UpdateSettings::Add(std::string_view name, std::string_view value) {
  const std::string bad = "bad value '" + std::string(value) + "' of " + std::string(name);
  const std::vector<std::string_view> p = Split(value, ':');
  int type = 0;
  int number = 0;
  if (name == "--entry-esc") {
    if (!ParseNumber(value, entryEsc)) return bad;
  } else if (name == "--fw-version") {
    if (p.size() < 2 || !ParseType(p[0], type)) return bad;
    std::string text(value.substr(p[0].size() + 1));
    if (text.size() > kVersionChars) return bad + ": at most 8 characters";
    versions[type] = text;
  } else if (name == "--version-status" || name == "--announce-status") {
    if (p.size() != 2 || !ParseType(p[0], type) || !ParseNumber(p[1], number) || number > 0xFF) return bad;
    (name == "--version-status" ? versionStatus : announceStatus)[type] = static_cast<std::uint8_t>(number);
  } else if (name == "--nak") {
    int times = 1;
    if (p.size() < 2 || p.size() > 3 || !ParseType(p[0], type) || !ParseNumber(p[1], number) || number < 1 ||
        (p.size() == 3 && (!ParseNumber(p[2], times) || times < 1)))
      return bad;
    naks[{type, number}] += times;
  } else if (name == "--nak-eot") {
    int times = 1;
    if (p.empty() || p.size() > 2 || !ParseType(p[0], type) || (p.size() == 2 && (!ParseNumber(p[1], times) || times < 1)))
      return bad;
    eotNaks[type] += times;
  } else if (name == "--silent" || name == "--hangup") {
    const auto key = ParseKey(p);
    if (!key) return bad;
    (name == "--silent" ? silent : hangups).insert(*key);
  } else if (name == "--delay") {
    if (p.size() < 3 || !ParseNumber(p.back(), number)) return bad;
    const auto key = ParseKey(std::vector<std::string_view>(p.begin(), p.end() - 1));
    if (!key) return bad;
    delaysMs[*key] = number;
  } else if (name == "--split") {
    if (!ParseReplyCode(value, number)) return bad;
    splitCodes.insert(static_cast<std::uint8_t>(number));
  } else if (name == "--entry-after-ms") {
    if (!ParseNumber(value, entryAfterMs)) return bad;
  } else if (name == "--completion") {
    completion.clear();
    for (std::string_view s : Split(value, ',')) {
      if (!ParseNumber(s, number) || number > 0xFF) return bad;
      completion.push_back(static_cast<std::uint8_t>(number));
    }
  } else if (name == "--completion-interval-ms") {
    if (!ParseNumber(value, completionIntervalMs)) return bad;
  } else if (name == "--received") {
    receivedDir = std::string(value);
    std::error_code ec;
    std::filesystem::create_directories(receivedDir, ec);
    if (!std::filesystem::is_directory(receivedDir)) return "cannot create " + receivedDir.string();
  } else {
    return "unknown option " + std::string(name);
  }
  return std::nullopt;
}

const char* UpdateOptionsHelp() {
  return "  --update-mode       act as the instrument in its remote update mode (pacing rate\n"
         "                      115200 unless --baud says otherwise); then:\n"
         "  --entry-esc N       answer the N-th ESC byte with 0xE0 (default 1); 0: never\n"
         "  --entry-after-ms MS ...and none that comes sooner than MS after the first ESC (a late start)\n"
         "  --fw-version TYPE:TEXT   version 0x61 reports for TYPE (default \"0.00\")\n"
         "  --version-status TYPE:S  status of the 0x61 reply for TYPE (default 0)\n"
         "  --announce-status TYPE:S status of the 0x62 reply for TYPE (default 0; nonzero: no upload)\n"
         "  --nak TYPE:BLOCK[:K]     answer block BLOCK of TYPE with NAK K times (default 1)\n"
         "  --nak-eot TYPE[:K]       answer the EOT of TYPE with NAK K times (default 1)\n"
         "  --silent WHAT       never answer: version:TYPE, announce:TYPE, block:TYPE:N or eot:TYPE\n"
         "  --hangup WHAT       hang up the line instead of answering WHAT (once)\n"
         "  --delay WHAT:MS     answer WHAT MS milliseconds late\n"
         "  --split CODE        frames with reply code CODE (E0..E3) come in three pieces, 20 ms apart\n"
         "  --completion S[,S...]    statuses of the 0xE3 frames after the Dec part (default 0)\n"
         "  --completion-interval-ms MS  pause before each 0xE3 frame (default 0)\n"
         "  --received DIR      write each received part as DIR/main.bin, tsnm.bin or dec.bin\n"
         "                      TYPE is main, tsnm, dec (or 1, 2, 17)\n";
}

UpdateInstrument::UpdateInstrument(UpdateSettings settings) : settings_(std::move(settings)) {}

void UpdateInstrument::OnNewLine() {
  parser_.Clear();
  xmodem_.clear();
  if (state_ == State::Receiving) state_ = State::Commands;
}

void UpdateInstrument::OnReceived(std::span<const std::uint8_t> bytes, SimLink& link) {
  if (state_ == State::WaitingForEsc) OnEsc(bytes, link);
  if (bytes.empty()) return;
  if (state_ == State::Commands) {
    OnCommands(bytes, link);
  } else if (state_ == State::Receiving) {
    link.ReceiveTime(bytes.size());
    xmodem_.insert(xmodem_.end(), bytes.begin(), bytes.end());
    OnXmodem(link);
  }
}

void UpdateInstrument::OnEsc(std::span<const std::uint8_t>& bytes, SimLink& link) {
  // The ESC bytes are not paced: the PC sends them back to back without limit, and
  // a paced reader would stall its writes (a real line drains them continuously).
  while (!bytes.empty() && state_ == State::WaitingForEsc) {
    const std::uint8_t b = bytes.front();
    bytes = bytes.subspan(1);
    if (b != kEsc) continue;
    if (++escCount_ == 1) firstEsc_ = std::chrono::steady_clock::now();
    const bool late = std::chrono::steady_clock::now() - firstEsc_ >= std::chrono::milliseconds(settings_.entryAfterMs);
    if (settings_.entryEsc > 0 && escCount_ >= settings_.entryEsc && late) {
      link.Log("ESC " + std::to_string(escCount_) + ": update mode");
      Reply(link, 0xE0, {});
      state_ = State::Commands;
    }
  }
  // ESC bytes that were on their way when the answer went out are not requests.
  while (!bytes.empty() && bytes.front() == kEsc) bytes = bytes.subspan(1);
}

void UpdateInstrument::OnCommands(std::span<const std::uint8_t> bytes, SimLink& link) {
  parser_.Feed(bytes);
  while (auto request = parser_.Next()) {
    link.ReceiveTime(request->wireBytes);
    if (request->payload.empty()) continue;
    const int type = request->payload[0];
    const std::string t = std::to_string(type);
    if (request->code == 0x61) {
      link.Log("rx 61 version of part " + t);
      if (Withheld("version:" + t, link)) continue;
      std::vector<std::uint8_t> payload(1 + kVersionChars, ' ');
      auto status = settings_.versionStatus.find(type);
      payload[0] = status == settings_.versionStatus.end() ? 0 : status->second;
      auto v = settings_.versions.find(type);
      const std::string text = v == settings_.versions.end() ? kDefaultVersion : v->second;
      std::copy(text.begin(), text.end(), payload.begin() + 1);
      Reply(link, 0xE1, payload);
    } else if (request->code == 0x62 && request->payload.size() == 4) {
      const auto& p = request->payload;
      size_ = (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
      link.Log("rx 62 part " + t + ", " + std::to_string(size_) + " bytes");
      if (Withheld("announce:" + t, link)) continue;
      auto s = settings_.announceStatus.find(type);
      const std::uint8_t status = s == settings_.announceStatus.end() ? 0 : s->second;
      Reply(link, 0xE2, {status});
      if (status != 0) continue;
      type_ = type;
      expected_ = 1;
      data_.clear();
      xmodem_.clear();
      parser_.Clear();  // the PC sends nothing more before "C"
      state_ = State::Receiving;
      Control(link, kCrcRequest);
      return;
    } else {
      link.Log("rx " + Hex(request->code) + " ignored");
    }
  }
}

void UpdateInstrument::OnXmodem(SimLink& link) {
  while (!xmodem_.empty() && state_ == State::Receiving) {
    const std::uint8_t first = xmodem_.front();
    if (first == kEot) {
      xmodem_.erase(xmodem_.begin());
      EndOfPart(link);
      return;
    }
    if (first != kStxByte) {
      xmodem_.erase(xmodem_.begin());  // line noise between packets
      continue;
    }
    if (xmodem_.size() < kPacketBytes) return;
    OnPacket(link);
    xmodem_.erase(xmodem_.begin(), xmodem_.begin() + static_cast<std::ptrdiff_t>(kPacketBytes));
  }
}

void UpdateInstrument::OnPacket(SimLink& link) {
  const std::uint8_t number = xmodem_[1];
  const std::uint8_t complement = xmodem_[2];
  const std::span<const std::uint8_t> data(xmodem_.data() + 3, kBlockBytes);
  const std::uint16_t crc = static_cast<std::uint16_t>((xmodem_[3 + kBlockBytes] << 8) | xmodem_[4 + kBlockBytes]);
  const std::string where = std::to_string(type_) + ":" + std::to_string(expected_);
  if (complement != 0xFF - number || Crc16Xmodem(data) != crc) {
    link.Log("block " + where + ": bad packet, NAK");
    Control(link, kNak);
    return;
  }
  if (number == static_cast<std::uint8_t>(expected_ - 1)) {
    Control(link, kAck);  // a repeat of the block already taken (its ACK was lost)
    return;
  }
  if (number != static_cast<std::uint8_t>(expected_)) {
    link.Log("block " + where + ": wrong block number " + std::to_string(number) + ", NAK");
    Control(link, kNak);
    return;
  }
  if (Withheld("block:" + where, link)) return;
  if (auto nak = settings_.naks.find({type_, static_cast<int>(expected_)}); nak != settings_.naks.end()) {
    if (--nak->second == 0) settings_.naks.erase(nak);
    link.Log("block " + where + ": NAK (fault)");
    Control(link, kNak);
    return;
  }
  data_.insert(data_.end(), data.begin(), data.end());
  ++expected_;
  Control(link, kAck);
}

void UpdateInstrument::EndOfPart(SimLink& link) {
  const std::string t = std::to_string(type_);
  if (auto nak = settings_.eotNaks.find(type_); nak != settings_.eotNaks.end()) {
    if (--nak->second == 0) settings_.eotNaks.erase(nak);
    link.Log("EOT part " + t + ": NAK (fault)");
    Control(link, kNak);  // still receiving: a sender would send EOT again
    return;
  }
  state_ = State::Commands;
  if (data_.size() > size_) data_.resize(size_);
  link.Log("EOT part " + t + ": " + std::to_string(data_.size()) + " bytes");
  if (!settings_.receivedDir.empty()) {
    std::ofstream out(settings_.receivedDir / FileName(type_), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data_.data()), static_cast<std::streamsize>(data_.size()));
  }
  if (Withheld("eot:" + t, link)) return;
  Control(link, kAck);
  if (type_ != 17) return;
  for (std::uint8_t status : settings_.completion) {
    if (settings_.completionIntervalMs > 0)
      std::this_thread::sleep_for(std::chrono::milliseconds(settings_.completionIntervalMs));
    Reply(link, 0xE3, {status, 0, 0, 0, 0, 0, 0});
  }
}

void UpdateInstrument::Reply(SimLink& link, std::uint8_t code, const std::vector<std::uint8_t>& payload) {
  const std::vector<std::uint8_t> frame = BuildFrame(code, payload);
  if (settings_.splitCodes.count(code) == 0) {
    link.Send(frame);
    return;
  }
  const std::size_t piece = (frame.size() + kSplitPieces - 1) / kSplitPieces;
  for (std::size_t at = 0; at < frame.size(); at += piece) {
    if (at > 0) std::this_thread::sleep_for(kSplitPause);
    link.Send(std::span(frame).subspan(at, std::min(piece, frame.size() - at)));
  }
}

bool UpdateInstrument::Withheld(const std::string& key, SimLink& link) {
  if (settings_.hangups.erase(key) != 0) {
    link.Log(key + ": hang-up");
    link.Hangup();
    return true;
  }
  if (settings_.silent.count(key) != 0) {
    link.Log(key + ": silent");
    return true;
  }
  if (auto delay = settings_.delaysMs.find(key); delay != settings_.delaysMs.end()) {
    link.Log(key + ": answer held back " + std::to_string(delay->second) + " ms");
    std::this_thread::sleep_for(std::chrono::milliseconds(delay->second));
  }
  return false;
}

void UpdateInstrument::Control(SimLink& link, std::uint8_t byte) { link.Send(std::span(&byte, 1)); }

}  // namespace rxt4::sim
