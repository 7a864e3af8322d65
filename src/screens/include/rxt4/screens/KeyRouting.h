#pragma once
// The instrument keys on the viewer: which action an arrow or the 決定 key runs,
// given the シフト state and the screen shown, and running it on a screen set. The
// viewer's buttons and keyboard and the command line's --keys share this table.

#include <optional>
#include <string_view>

#include "rxt4/data/Kinds.h"

namespace rxt4 {

class ScreenSet;
class Surface;

enum class InstrumentKey { Up, Down, Left, Right, Enter };

enum class KeyAction {
  None,            // the key does nothing here
  TreeKey,         // the tree gets a key-down of KeyRoute::treeVirtualKey
  MultiCursorLeft,
  MultiCursorRight,
  MultiRangeUp,
  MultiRangeDown,
  MultiScaleCoarser,
  MultiScaleFiner,
  MultiToggleReference,
  SpectrumNextRange,
  SpectrumPreviousRange,
  ProfileCursorLeft,   // takes the ← button's held ticks
  ProfileCursorRight,  // takes the → button's held ticks
  ProfileZoomIn,
  ProfileZoomOut,
  ProfileScrollEarlier,
  ProfileScrollLater,
};

struct KeyRoute {
  KeyAction action = KeyAction::None;
  int treeVirtualKey = 0;  // 37 ←, 38 ↑, 39 →, 40 ↓ for KeyAction::TreeKey, else 0
};

// Virtual-key code of an arrow key (37 ←, 38 ↑, 39 →, 40 ↓); 0 for 決定.
int VirtualKeyOf(InstrumentKey key);

// What a key does with シフト checked or not while the screen of `shown` is current
// (DataKind::None: nothing shown).
KeyRoute Route(InstrumentKey key, bool shift, DataKind shown);

// True for the actions that take the held ticks of the ← or → button.
bool TakesHeldTicks(KeyAction action);

// Runs a screen action on the screen set's screen of that kind, then paints the
// screen area dc whole (ScreenSet::Paint), so that it shows exactly what a Draw of
// the new state shows. heldTicks is the number of 1400 ms ticks the ← or → button
// has been held. False when nothing ran: KeyAction::None, KeyAction::TreeKey (the
// caller's tree handles it) or no screen.
bool Apply(KeyAction action, ScreenSet& screens, Surface& dc, int heldTicks = 0);

// Parses a key name of the command line: LEFT, RIGHT, UP, DOWN or ENTER, each
// optionally prefixed "SHIFT+" (letter case ignored); sets *shift. Nothing when the
// name is none of these.
std::optional<InstrumentKey> ParseKeyName(std::string_view name, bool* shift);

}  // namespace rxt4
