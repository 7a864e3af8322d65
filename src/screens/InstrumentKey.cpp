#include "rxt4/screens/InstrumentKey.h"

#include <cctype>
#include <string>

namespace rxt4 {

std::optional<InstrumentKey> ParseKeyName(std::string_view name, bool* shift) {
  std::string upper;
  for (char c : name) upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  std::string_view rest = upper;
  bool shifted = false;
  constexpr std::string_view kShiftPrefix = "SHIFT+";
  if (rest.substr(0, kShiftPrefix.size()) == kShiftPrefix) {
    shifted = true;
    rest.remove_prefix(kShiftPrefix.size());
  }
  std::optional<InstrumentKey> key;
  if (rest == "LEFT") key = InstrumentKey::Left;
  else if (rest == "RIGHT") key = InstrumentKey::Right;
  else if (rest == "UP") key = InstrumentKey::Up;
  else if (rest == "DOWN") key = InstrumentKey::Down;
  else if (rest == "ENTER") key = InstrumentKey::Enter;
  if (key && shift != nullptr) *shift = shifted;
  return key;
}

}  // namespace rxt4
