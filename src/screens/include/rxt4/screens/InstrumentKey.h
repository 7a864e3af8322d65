#pragma once
// The instrument's keys as the screens take them: an arrow or 決定, whether シフト is
// checked, and how long the ← or → button has been held; and what a screen did with
// one. The viewer's buttons and keyboard and `rxt4 render --keys` press them through
// ScreenSet::PressKey.

#include <optional>
#include <string_view>

namespace rxt4 {

enum class InstrumentKey { Up, Down, Left, Right, Enter };

struct KeyPress {
  InstrumentKey key = InstrumentKey::Enter;
  bool shift = false;  // シフト checked
  int heldTicks = 0;   // 1400 ms ticks the ← or → button has been held (the delay profile's marker speed)
};

// What a screen did with a key.
enum class KeyOutcome {
  Changed,  // the screen ran an action: its area must be painted whole
  Nothing,  // the key does nothing here
  Tree,     // the key is the tree's: it moves the selection (↑ ↓) or folds and unfolds (← →)
};

// Parses a key name of the command line: LEFT, RIGHT, UP, DOWN or ENTER, each
// optionally prefixed "SHIFT+" (letter case ignored); sets *shift. Nothing when the
// name is none of these.
std::optional<InstrumentKey> ParseKeyName(std::string_view name, bool* shift);

}  // namespace rxt4
