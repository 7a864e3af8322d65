#pragma once
// ScreenSet: the seven screens of one viewer (one per DataKind) over one shared font
// set, and the hand-over of a selected measurement to the screen of its kind. The
// viewer and the command line render through it.

#include <array>
#include <memory>
#include <string_view>
#include <vector>

#include "rxt4/data/CDataSet.h"
#include "rxt4/data/Kinds.h"
#include "rxt4/data/MeasurementRow.h"
#include "rxt4/screens/Screen.h"

namespace rxt4 {

class ScreenSet {
 public:
  explicit ScreenSet(std::shared_ptr<const FontSet> fonts);

  // The screen of a kind; nullptr for DataKind::None or a kind without a screen.
  CScreen* Screen(DataKind kind) const;

  // Gives a single-row measurement to its kind's screen (SetData with the row, plus
  // the companion base of tablePath for the kinds with companion files) and makes it
  // current. Returns the screen, or nullptr (nothing current) when the kind has none.
  CScreen* Select(DataKind kind, const MeasurementRow& row, std::string_view tablePath);
  // Gives a tree record to the screen of its kind (by its kind: the row with the
  // table path, or the multi-channel rows) and makes that screen current; nullptr
  // (nothing current) for folder records and kinds without a screen.
  CScreen* Select(const CDataSet& record);
  // Gives the rows of a multi-channel table (rows[0] is key "1", in file order) to
  // the multi-channel screen and makes it current; nullptr when it has none.
  CScreen* SelectRows(const std::vector<MeasurementRow>& rows);
  // Forgets the current screen.
  void Deselect() { current_ = DataKind::None; }
  // The current screen, or nullptr.
  CScreen* Current() const { return Screen(current_); }
  DataKind currentKind() const { return current_; }

  // Paints the screen area as the main window does: the current screen's Draw (or a
  // cleared area when none is current), then the frame.
  void Paint(Surface& dc) const;

  const std::shared_ptr<const FontSet>& fonts() const { return fonts_; }

 private:
  static constexpr std::size_t kSlotCount = 9;  // indexed by DataKind value 0..8

  std::shared_ptr<const FontSet> fonts_;
  std::array<std::unique_ptr<CScreen>, kSlotCount> screens_;
  DataKind current_ = DataKind::None;
};

}  // namespace rxt4
