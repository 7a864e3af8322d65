#pragma once
// CMultiScreen: a multi-channel measurement (one row per channel) as the
// instrument's multi-channel level screen: coloured level bars on a scaled grid, a
// cursor mark with the cursor channel's band, channel and level, an optional
// reference mark that turns the level into a level difference, the correction mark
// and the band's bottom row. ← → move the cursor; シフト + ↑ ↓ shift the range,
// シフト + ← → change the scale; 決定 sets and clears the reference.

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "rxt4/screens/Screen.h"

namespace rxt4 {

class CMultiScreen : public CScreen {
 public:
  // The per-channel tables and the graph's width hold channels 1..59.
  static constexpr int kMaxChannels = 59;
  // Level states of a channel.
  static constexpr int kInRange = 0;
  static constexpr int kNoMeasurement = 1;
  static constexpr int kAbove = 2;
  static constexpr int kBelow = 3;

  explicit CMultiScreen(std::shared_ptr<const FontSet> fonts);

  // Takes copies of the rows of one table (rows[0] is channel "1"), clears the
  // reference and derives scale, range and cursor from the first row. An empty
  // vector only sets channelCount to 0.
  void SetData(const std::vector<MeasurementRow>& rows);
  // The record's rows (SetData).
  void TakeRecord(const CDataSet& record) override { SetData(record.rows); }
  // The key table (KeyBinding) of the screen.
  KeyOutcome PressKey(const KeyPress& press) override;
  std::optional<std::string> ShowDataName() const override { return DataNameLabel(); }
  void Draw(Surface& dc) override;
  void Format() override;
  // Turns the "ch" and level labels of the information line white on black.
  virtual void InvertInfoLabels(Surface& dc) const;

  // Key actions. They change the state only; the screen set then paints the area whole.
  // ← / →: the cursor one channel left / right, wrapping within 1..channelCount.
  void CursorLeft();
  void CursorRight();
  // シフト + ↑ / ↓: the level range up / down by half a screen, within the band's limits.
  void RangeUp();
  void RangeDown();
  // シフト + ← / →: twice / half the dB per division around the range's centre.
  void ScaleCoarser();
  void ScaleFiner();
  // 決定: sets the reference on the cursor channel, or clears it.
  void ToggleReference();

  // The row of channel i (1-based); absent when the table has none.
  MeasurementRow RowOf(int channel) const;
  // Channels the tables and bars hold: channelCount limited to 0..59.
  int TableChannels() const;
  // Left x of channel i's bar and the x of its marks.
  int BarLeft(int channel) const;
  int MarkX(int channel) const;
  // Bar colour of a level state.
  static Rgb StateColour(int state);
  // Combined state of a level difference: reference state (row) by cursor state.
  static int CombinedState(int referenceState, int cursorState);

  std::vector<MeasurementRow> rows;
  int channelCount = 0;
  int cursorChannel = 1;
  int referenceChannel = -1;
  // Indexed by channel 1..59 (entry 0 unused).
  std::array<float, kMaxChannels + 1> levels{};
  std::array<int, kMaxChannels + 1> levelStates{};
  std::array<int, kMaxChannels + 1> correctionFlags{};
  int dbPerDivision = 8;
  int topLevel = 0;
  int bottomLevel = 0;
  int maxTopLevel = 0;
  int minBottomLevel = 0;
  int barWidth = 16;
  int barGap = 8;
  float cursorLevel = 0;
  std::string channelText;
  std::string powerText;

 private:
  void ResetTables();
  void DrawGrid(Surface& dc) const;
  void DrawScaleLabels(Surface& dc) const;
  void DrawBar(Surface& dc, int channel);
  void DrawMarkerRow(Surface& dc);
  void DrawCursorInformation(Surface& dc);
  void DrawCursorFields(Surface& dc) const;
  void DrawBottomRow(Surface& dc) const;
  void DrawInfoLabels(Surface& dc) const;
  double LowerLimit() const;
  double UpperLimit() const;
  int MaxTopLevelFor(int dbPerDivisionValue) const;
  void Recentre();

  // The channel whose information the line shows (0 when none yet): the line keeps
  // it while the cursor stands on a channel without a row.
  int infoChannel_ = 0;
};

}  // namespace rxt4
