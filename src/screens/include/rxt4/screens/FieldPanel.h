#pragma once
// CFieldPanel: the labelled measurement fields of the level, BER and SKY screens.
// Each drawer paints one field completely (value, labels and units, the inverted
// label box, the outline) from its arguments; the panel holds no data.

#include <memory>
#include <string>

#include "rxt4/screens/Screen.h"

namespace rxt4 {

class CFieldPanel : public CScreen {
 public:
  explicit CFieldPanel(std::shared_ptr<const FontSet> fonts) : CScreen(std::move(fonts)) {}

  // Level states passed to DrawLevel.
  static constexpr int kLevelShown = 0;
  static constexpr int kLevelNone = 1;
  static constexpr int kLevelAbove = 2;
  static constexpr int kLevelBelow = 3;

  // The two rows of fields: the first at y 112, the second at y 168.
  enum class Row { First, Second };

  // Band name field (first row, left) labelled "バンド名".
  void DrawBandName(Surface& dc, std::string name) const;
  // Satellite name field (left) labelled "衛星名".
  void DrawSatelliteName(Surface& dc, Row row, std::string name) const;
  // Channel field (middle).
  void DrawChannel(Surface& dc, Row row, std::string channel) const;
  // Polarisation mark when the text is exactly V, H, L or R.
  void DrawPolarization(Surface& dc, Row row, std::string polarization) const;
  // Where the frequency field sits on the second row: left (x 0..128, terrestrial BER)
  // or centre (x 56..184, level and satellite BER).
  enum class FrequencyPlace { Left, Centre };
  void DrawFrequency(Surface& dc, FrequencyPlace place, std::string frequency) const;
  // Layer field (second row, middle); its value is drawn last, over the outline.
  void DrawLayer(Surface& dc, std::string layer) const;
  // Level reading (right) by its state.
  void DrawLevel(Surface& dc, Row row, std::string text, int state) const;
  // C/N reading (right) with its limit flag.
  void DrawCn(Surface& dc, Row row, std::string text, int flag) const;
  // MER reading (right) with its limit flag.
  void DrawMer(Surface& dc, Row row, std::string text, int flag) const;
  // Bit error rate (right).
  void DrawBer(Surface& dc, Row row, std::string text) const;
  // "補正" mark, or its erasure when off.
  void DrawCorrectionMark(Surface& dc, Row row, bool on) const;

 private:
  void DrawName(Surface& dc, std::string name, Row row, int labelX, std::string_view label) const;
  void DrawReading(Surface& dc, Row row, const std::string& text, int flag, std::string_view label, int labelY) const;
};

}  // namespace rxt4
