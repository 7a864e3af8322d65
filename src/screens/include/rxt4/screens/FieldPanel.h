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

  // Level states passed to DrawLevel and DrawLevel2.
  static constexpr int kLevelShown = 0;
  static constexpr int kLevelNone = 1;
  static constexpr int kLevelAbove = 2;
  static constexpr int kLevelBelow = 3;

  // Band name field (row 1, left) labelled "バンド名".
  void DrawBandName(Surface& dc, std::string name) const;
  // Satellite name field (row 1, left) labelled "衛星名".
  void DrawSatelliteName(Surface& dc, std::string name) const;
  // Second satellite name field (row 2, left).
  void DrawSatelliteName2(Surface& dc, std::string name) const;
  // Channel field (row 1, middle).
  void DrawChannel(Surface& dc, std::string channel) const;
  // Channel field (row 2, middle).
  void DrawChannel2(Surface& dc, std::string channel) const;
  // Polarisation mark (row 1) when the text is exactly V, H, L or R.
  void DrawPolarization(Surface& dc, std::string polarization) const;
  // Polarisation mark (row 2) when the text is exactly V, H, L or R.
  void DrawPolarization2(Surface& dc, std::string polarization) const;
  // Frequency field, left form (row 2, x 0..128).
  void DrawFrequencyLeft(Surface& dc, std::string frequency) const;
  // Frequency field, centre form (row 2, x 56..184).
  void DrawFrequencyCentre(Surface& dc, std::string frequency) const;
  // Layer field (row 2, middle); its value is drawn last, over the outline.
  void DrawLayer(Surface& dc, std::string layer) const;
  // Level reading (row 1, right) by its state.
  void DrawLevel(Surface& dc, std::string text, int state) const;
  // Level reading (row 2, right) by its state.
  void DrawLevel2(Surface& dc, std::string text, int state) const;
  // C/N reading (row 1, right) with its limit flag.
  void DrawCn(Surface& dc, std::string text, int flag) const;
  // C/N reading (row 2, right) with its limit flag.
  void DrawCn2(Surface& dc, std::string text, int flag) const;
  // MER reading (row 2, right) with its limit flag.
  void DrawMer2(Surface& dc, std::string text, int flag) const;
  // Bit error rate (row 1, right).
  void DrawBer(Surface& dc, std::string text) const;
  // Bit error rate (row 2, right).
  void DrawBer2(Surface& dc, std::string text) const;
  // "補正" mark of row 1, or its erasure when off.
  void DrawCorrectionMark(Surface& dc, bool on) const;
  // "補正" mark of row 2, or its erasure when off.
  void DrawCorrectionMark2(Surface& dc, bool on) const;

 private:
  void DrawName(Surface& dc, std::string name, int valueY, int labelX, int labelY, std::string_view label, int top,
                int bottom1, int bottom2) const;
  void DrawPolarizationAt(Surface& dc, const std::string& polarization, int top) const;
  void DrawLevelAt(Surface& dc, const std::string& text, int state, int top) const;
  void DrawReadingAt(Surface& dc, const std::string& text, int flag, int top, std::string_view label, int labelX,
                     int labelY, int flagY) const;
  void DrawBerAt(Surface& dc, const std::string& text, int top) const;
  void DrawCorrectionAt(Surface& dc, bool on, int textY, int frameTop) const;
};

}  // namespace rxt4
