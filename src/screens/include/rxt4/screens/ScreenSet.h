#pragma once
// ScreenSet: the seven screens of one viewer (one per DataKind) over one shared font
// set. The one place where a tree record reaches its screen and an instrument key
// reaches the screen shown: the viewer, the report and `rxt4 render` all go through
// it.

#include <array>
#include <memory>

#include "rxt4/data/CDataSet.h"
#include "rxt4/data/Kinds.h"
#include "rxt4/screens/InstrumentKey.h"
#include "rxt4/screens/Screen.h"

namespace rxt4 {

// The screen that draws a kind's measurements; nullptr for DataKind::None.
std::unique_ptr<CScreen> MakeScreen(DataKind kind, std::shared_ptr<const FontSet> fonts);

class ScreenSet {
 public:
  explicit ScreenSet(std::shared_ptr<const FontSet> fonts);

  // The screen of a kind; nullptr for DataKind::None or a kind without a screen.
  CScreen* Screen(DataKind kind) const;

  // Hands a tree record to the screen of its kind (CScreen::TakeRecord) and makes
  // that screen current. Returns it, or nullptr (nothing current) for folder records.
  CScreen* Select(const CDataSet& record);
  // Forgets the current screen.
  void Deselect() { current_ = DataKind::None; }
  // The current screen, or nullptr.
  CScreen* Current() const { return Screen(current_); }
  DataKind currentKind() const { return current_; }

  // Paints the screen area as the main window does: the current screen's Draw (or a
  // cleared area when none is current), then the frame.
  void Paint(Surface& dc) const;

  // An instrument key pressed on the current screen (CScreen::PressKey); with nothing
  // shown, the arrows without シフト belong to the tree. When the screen changed, dc
  // is painted whole (Paint), so that it always shows exactly what a Draw of the new
  // state shows.
  KeyOutcome PressKey(const KeyPress& press, Surface& dc);

  const std::shared_ptr<const FontSet>& fonts() const { return fonts_; }

 private:
  static constexpr std::size_t kSlotCount = 9;  // indexed by DataKind value 0..8

  std::shared_ptr<const FontSet> fonts_;
  std::array<std::unique_ptr<CScreen>, kSlotCount> screens_;
  DataKind current_ = DataKind::None;
};

}  // namespace rxt4
