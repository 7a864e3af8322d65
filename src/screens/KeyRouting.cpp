#include "rxt4/screens/KeyRouting.h"

#include <cctype>
#include <string>

#include "rxt4/screens/MultiScreen.h"
#include "rxt4/screens/ProfileScreen.h"
#include "rxt4/screens/ScreenSet.h"
#include "rxt4/screens/SpectrumScreen.h"

namespace rxt4 {

int VirtualKeyOf(InstrumentKey key) {
  switch (key) {
    case InstrumentKey::Left: return 37;
    case InstrumentKey::Up: return 38;
    case InstrumentKey::Right: return 39;
    case InstrumentKey::Down: return 40;
    default: return 0;
  }
}

KeyRoute Route(InstrumentKey key, bool shift, DataKind shown) {
  using A = KeyAction;
  const bool multi = shown == DataKind::Multi, spectrum = shown == DataKind::Spectrum,
             profile = shown == DataKind::Profile;
  auto tree = [&] { return KeyRoute{A::TreeKey, VirtualKeyOf(key)}; };
  auto action = [](A a) { return KeyRoute{a, 0}; };
  switch (key) {
    case InstrumentKey::Enter:
      return multi ? action(A::MultiToggleReference) : action(A::None);
    case InstrumentKey::Up:
      if (!shift) return tree();
      return action(multi ? A::MultiRangeUp : profile ? A::ProfileScrollLater : A::None);
    case InstrumentKey::Down:
      if (!shift) return tree();
      return action(multi ? A::MultiRangeDown : profile ? A::ProfileScrollEarlier : A::None);
    case InstrumentKey::Left:
      if (shown == DataKind::None) return shift ? action(A::None) : tree();
      if (multi) return action(shift ? A::MultiScaleCoarser : A::MultiCursorLeft);
      if (spectrum) return action(shift ? A::SpectrumPreviousRange : A::None);
      if (profile) return action(shift ? A::ProfileZoomOut : A::ProfileCursorLeft);
      return action(A::None);
    case InstrumentKey::Right:
      if (shown == DataKind::None) return shift ? action(A::None) : tree();
      if (multi) return action(shift ? A::MultiScaleFiner : A::MultiCursorRight);
      if (spectrum) return action(shift ? A::SpectrumNextRange : A::None);
      if (profile) return action(shift ? A::ProfileZoomIn : A::ProfileCursorRight);
      return action(A::None);
  }
  return action(A::None);
}

bool TakesHeldTicks(KeyAction action) {
  return action == KeyAction::ProfileCursorLeft || action == KeyAction::ProfileCursorRight;
}

namespace {

// Runs an action's change of state on its screen; the screen, or nullptr when nothing ran.
CScreen* ChangeState(KeyAction action, ScreenSet& screens, int heldTicks) {
  using A = KeyAction;
  switch (action) {
    case A::MultiCursorLeft: case A::MultiCursorRight: case A::MultiRangeUp: case A::MultiRangeDown:
    case A::MultiScaleCoarser: case A::MultiScaleFiner: case A::MultiToggleReference: {
      auto* screen = dynamic_cast<CMultiScreen*>(screens.Screen(DataKind::Multi));
      if (screen == nullptr) return nullptr;
      if (action == A::MultiCursorLeft) screen->CursorLeft();
      else if (action == A::MultiCursorRight) screen->CursorRight();
      else if (action == A::MultiRangeUp) screen->RangeUp();
      else if (action == A::MultiRangeDown) screen->RangeDown();
      else if (action == A::MultiScaleCoarser) screen->ScaleCoarser();
      else if (action == A::MultiScaleFiner) screen->ScaleFiner();
      else screen->ToggleReference();
      return screen;
    }
    case A::SpectrumNextRange: case A::SpectrumPreviousRange: {
      auto* screen = dynamic_cast<CSpectrumScreen*>(screens.Screen(DataKind::Spectrum));
      if (screen == nullptr) return nullptr;
      if (action == A::SpectrumNextRange) screen->NextRange();
      else screen->PreviousRange();
      return screen;
    }
    case A::ProfileCursorLeft: case A::ProfileCursorRight: case A::ProfileZoomIn: case A::ProfileZoomOut:
    case A::ProfileScrollEarlier: case A::ProfileScrollLater: {
      auto* screen = dynamic_cast<CProfileScreen*>(screens.Screen(DataKind::Profile));
      if (screen == nullptr) return nullptr;
      if (action == A::ProfileCursorLeft) screen->CursorLeft(heldTicks);
      else if (action == A::ProfileCursorRight) screen->CursorRight(heldTicks);
      else if (action == A::ProfileZoomIn) screen->ZoomIn();
      else if (action == A::ProfileZoomOut) screen->ZoomOut();
      else if (action == A::ProfileScrollEarlier) screen->ScrollEarlier();
      else screen->ScrollLater();
      return screen;
    }
    case A::None: case A::TreeKey:
      return nullptr;
  }
  return nullptr;
}

}  // namespace

bool Apply(KeyAction action, ScreenSet& screens, Surface& dc, int heldTicks) {
  if (ChangeState(action, screens, heldTicks) == nullptr) return false;
  // The one place where a key's effect reaches the screen area: it is painted whole,
  // so that it always shows exactly what a Draw of the new state shows (painting only
  // the changed parts left frame lines and the spectrum's centre line missing).
  screens.Paint(dc);
  return true;
}

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
