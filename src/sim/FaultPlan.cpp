#include "FaultPlan.h"

#include <charconv>
#include <sstream>

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
  if (name == "garbage" || name == "checksum" || name == "drop" || name == "status") {
    f.type = name == "garbage" ? FaultType::Garbage
             : name == "checksum" ? FaultType::Checksum
             : name == "drop" ? FaultType::Drop
                              : FaultType::Status;
    int code = 0;
    if (p.size() < 2 || p.size() > 3 || !ParseNumber(p[1], 16, code) || code > 0xFF) return bad("expected NAME:CMD[:N]");
    f.code = static_cast<std::uint8_t>(code);
    if (p.size() == 3 && (!ParseNumber(p[2], 10, f.remaining) || f.remaining < 1)) return bad("N must be 1 or more");
  } else if (name == "echo" || name == "hangup") {
    f.type = name == "echo" ? FaultType::Echo : FaultType::Hangup;
    f.code = 0x24;
    const std::size_t maxParts = f.type == FaultType::Echo ? 4 : 3;
    if (p.size() < 3 || p.size() > maxParts || !ParseNumber(p[1], 10, f.kind) || f.kind > 6 ||
        !ParseNumber(p[2], 10, f.block) || f.block > 0xFFFF)
      return bad(f.type == FaultType::Echo ? "expected echo:KIND:BLOCK[:K]" : "expected hangup:KIND:BLOCK");
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
    if ((type == FaultType::Echo || type == FaultType::Hangup) && (f.kind != kind || f.block != block)) continue;
    --f.remaining;
    return true;
  }
  return false;
}

const char* FaultSyntaxHelp() {
  return "      garbage:CMD[:N]      the next N replies to CMD (default 1) start with three noise bytes\n"
         "      checksum:CMD[:N]     the next N replies to CMD carry a wrong checksum\n"
         "      drop:CMD[:N]         the next N requests of CMD get no reply\n"
         "      status:CMD[:N]       the next N replies to CMD carry status 1\n"
         "      echo:KIND:BLOCK[:K]  K replies (default 1) to block BLOCK of kind KIND echo block BLOCK+1\n"
         "      hangup:KIND:BLOCK    hang up the line when block BLOCK of kind KIND is asked for\n"
         "                           (a fresh pseudo-terminal then appears under the same PATH)\n"
         "      CMD is a request code in hex (20, 23, 26, 24; 0x24 also works), KIND 0..6\n"
         "      (0 LEVEL, 1 BER, 2 CONSTEL, 3 SPECTRUM, 4 PROFILE, 5 SKY, 6 MULTI), BLOCK decimal.\n"
         "      Counted faults fire on consecutive matching requests; --fault may be repeated.\n";
}

}  // namespace rxt4::sim
