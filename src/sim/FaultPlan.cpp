#include "FaultPlan.h"

#include <charconv>
#include <sstream>
#include <utility>

namespace rxt4::sim {
namespace {

std::vector<std::string> Split(const std::string& s) {
  std::vector<std::string> parts;
  std::stringstream in(s);
  std::string part;
  while (std::getline(in, part, ':')) parts.push_back(part);
  return parts;
}

bool ParseNumber(std::string text, int base, int& out) {
  if (base == 16 && (text.starts_with("0x") || text.starts_with("0X"))) text = text.substr(2);
  if (text.empty()) return false;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out, base);
  return ec == std::errc() && end == text.data() + text.size() && out >= 0;
}

}  // namespace

std::optional<std::string> FaultPlan::Add(const std::string& text) {
  const std::vector<std::string> p = Split(text);
  if (p.empty()) return "empty fault";
  Fault f;
  const std::string& name = p[0];
  auto bad = [&text](const char* why) { return std::optional<std::string>("bad fault '" + text + "': " + why); };
  static const std::pair<const char*, FaultType> kByCode[] = {
      {"garbage", FaultType::Garbage}, {"checksum", FaultType::Checksum}, {"drop", FaultType::Drop},
      {"status", FaultType::Status},   {"split", FaultType::Split},       {"delay", FaultType::Delay}};
  static const std::pair<const char*, FaultType> kByBlock[] = {
      {"echo", FaultType::Echo}, {"kind", FaultType::Kind}, {"total", FaultType::Total}, {"hangup", FaultType::Hangup}};
  auto find = [&name](const auto& table) -> std::optional<FaultType> {
    for (const auto& [n, type] : table)
      if (name == n) return type;
    return std::nullopt;
  };
  if (auto type = find(kByCode)) {
    f.type = *type;
    // delay carries its milliseconds before the count.
    const std::size_t countAt = f.type == FaultType::Delay ? 3 : 2;
    int code = 0;
    if (p.size() < countAt || p.size() > countAt + 1 || !ParseNumber(p[1], 16, code) || code > 0xFF ||
        (f.type == FaultType::Delay && !ParseNumber(p[2], 10, f.delayMs)))
      return bad(f.type == FaultType::Delay ? "expected delay:CMD:MS[:N]" : "expected NAME:CMD[:N]");
    f.code = static_cast<std::uint8_t>(code);
    if (p.size() == countAt + 1 && (!ParseNumber(p[countAt], 10, f.remaining) || f.remaining < 1))
      return bad("N must be 1 or more");
  } else if (auto blockType = find(kByBlock)) {
    f.type = *blockType;
    f.code = kDataReadCode;
    const std::size_t maxParts = f.type == FaultType::Hangup ? 3 : 4;
    if (p.size() < 3 || p.size() > maxParts || !ParseNumber(p[1], 10, f.kind) || f.kind > 6 ||
        !ParseNumber(p[2], 10, f.block) || f.block > 0xFFFF)
      return bad(f.type == FaultType::Hangup ? "expected hangup:KIND:BLOCK" : "expected NAME:KIND:BLOCK[:K]");
    if (p.size() == 4 && (!ParseNumber(p[3], 10, f.remaining) || f.remaining < 1)) return bad("K must be 1 or more");
  } else {
    return bad("unknown fault");
  }
  faults_.push_back(f);
  return std::nullopt;
}

bool FaultPlan::Take(FaultType type, std::uint8_t code, int kind, int block) {
  for (Fault& f : faults_) {
    if (f.type != type || f.remaining <= 0 || f.code != code) continue;
    if (f.kind >= 0 && (f.kind != kind || f.block != block)) continue;
    --f.remaining;
    return true;
  }
  return false;
}

int FaultPlan::TakeDelayMs(std::uint8_t code) {
  for (Fault& f : faults_) {
    if (f.type != FaultType::Delay || f.remaining <= 0 || f.code != code) continue;
    --f.remaining;
    return f.delayMs;
  }
  return 0;
}

const char* FaultSyntaxHelp() {
  return "      garbage:CMD[:N]      the next N replies to CMD (default 1) start with three noise bytes\n"
         "      checksum:CMD[:N]     the next N replies to CMD carry a wrong checksum\n"
         "      drop:CMD[:N]         the next N requests of CMD get no reply\n"
         "      status:CMD[:N]       the next N replies to CMD carry status 1\n"
         "      split:CMD[:N]        the next N replies to CMD arrive in three pieces, 20 ms apart\n"
         "      delay:CMD:MS[:N]     the next N replies to CMD are held back MS milliseconds\n"
         "      echo:KIND:BLOCK[:K]  K replies (default 1) to block BLOCK of kind KIND echo block BLOCK+1\n"
         "      kind:KIND:BLOCK[:K]  K replies to block BLOCK of kind KIND echo kind KIND+1 (0 after 6)\n"
         "      total:KIND:BLOCK[:K] K replies to block BLOCK of kind KIND carry a wrong total: block 0 one\n"
         "                           beyond the largest image the protocol can carry, later blocks one more\n"
         "                           than the true total\n"
         "      hangup:KIND:BLOCK    hang up the line when block BLOCK of kind KIND is asked for\n"
         "                           (a fresh pseudo-terminal then appears under the same PATH)\n"
         "      CMD is a request code in hex (20, 23, 26, 24; 0x24 also works), KIND 0..6\n"
         "      (0 LEVEL, 1 BER, 2 CONSTEL, 3 SPECTRUM, 4 PROFILE, 5 SKY, 6 MULTI), BLOCK decimal.\n"
         "      Counted faults fire on consecutive matching requests; --fault may be repeated.\n";
}

}  // namespace rxt4::sim
