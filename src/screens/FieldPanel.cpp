#include "rxt4/screens/FieldPanel.h"

#include "Labels.h"
#include "rxt4/data/TextRules.h"

namespace rxt4 {

namespace {

constexpr int kValueFont = 0;
constexpr int kNarrowNameFont = 1;
constexpr int kLabelFont = 3;
constexpr int kLargeFont = 4;
constexpr int kMarkFont = 5;

// Tops of the two field rows.
constexpr int kRow1Top = 112;
constexpr int kRow2Top = 168;

// The large readings: left edge, the decimal point's cell, and how far the dashes of
// an out-of-range reading stand above or below their normal place.
constexpr int kReadingX = 192;
constexpr int kReadingPointX = 246;
constexpr int kHighDashShiftPx = -9;
constexpr int kLowDashShiftPx = 16;
constexpr std::string_view kReadingDashes = " -- -";

// The BER reading in the 24-pixel font.
constexpr int kBerX = 208;
constexpr int kBerPointX = 221;
constexpr int kBerLowShiftPx = 11;
constexpr std::string_view kBerDashes = "- -----";

constexpr std::string_view kUnderRangeShown = " __._";

int Top(CFieldPanel::Row row) { return row == CFieldPanel::Row::First ? kRow1Top : kRow2Top; }

// The label line of most fields: the second row's labels stand one pixel higher in
// their field than the first row's.
int LabelY(CFieldPanel::Row row) { return row == CFieldPanel::Row::First ? kRow1Top + 2 : kRow2Top + 1; }

}  // namespace

void CFieldPanel::DrawName(Surface& dc, std::string name, Row row, int labelX, std::string_view label) const {
  const int top = Top(row);
  const std::string trimmed(Trim(name));
  SelectFont(trimmed == LabelText(Label::BsPassThrough) ? kNarrowNameFont : kValueFont, dc);
  dc.TextOut(1, top + 24, trimmed);
  SelectFont(kLabelFont, dc);
  dc.TextOut(labelX, LabelY(row), label);
  dc.InvertRect(1, top, 64, top + 16);
  DrawFieldFrame(dc, 0, top, 128, top + 16, top + 48);
}

void CFieldPanel::DrawBandName(Surface& dc, std::string name) const {
  DrawName(dc, std::move(name), Row::First, 4, LabelText(Label::BandName));
}

void CFieldPanel::DrawSatelliteName(Surface& dc, Row row, std::string name) const {
  DrawName(dc, std::move(name), row, 12, LabelText(Label::SatelliteName));
}

void CFieldPanel::DrawChannel(Surface& dc, Row row, std::string channel) const {
  const int top = Top(row);
  SelectFont(kValueFont, dc);
  dc.TextOut(136, top + 24, channel);
  SelectFont(kLabelFont, dc);
  dc.TextOut(140, top + 1, LabelText(Label::Channel));
  dc.InvertRect(136, top, 160, top + 16);
  DrawFieldFrame(dc, 136, top, 184, top + 16, top + 48);
}

void CFieldPanel::DrawPolarization(Surface& dc, Row row, std::string polarization) const {
  if (polarization != "V" && polarization != "H" && polarization != "L" && polarization != "R") return;
  const int top = Top(row);
  SelectFont(kLabelFont, dc);
  dc.TextOut(165, top + 2, polarization);
  dc.SetPenColor(kBlack);
  dc.Polyline({{176, top}, {176, top + 15}, {159, top + 15}});
}

void CFieldPanel::DrawFrequency(Surface& dc, FrequencyPlace place, std::string frequency) const {
  // The two forms' coordinates: the value, the label, the unit, the label's inverted
  // box and the field's frame, each from the field's left edge.
  struct Form {
    int value, label, unit, invertLeft, invertRight, frameLeft, frameRight;
  };
  static constexpr Form kLeft{1, 4, 89, 1, 51, 0, 128};
  static constexpr Form kCentre{64, 60, 152, 56, 106, 56, 184};
  const Form& f = place == FrequencyPlace::Left ? kLeft : kCentre;
  SelectFont(kValueFont, dc);
  dc.TextOut(f.value, 192, frequency);
  SelectFont(kLabelFont, dc);
  dc.TextOut(f.label, 170, LabelText(Label::Frequency));
  dc.TextOut(f.unit, 200, LabelText(Label::MegaHertz));
  dc.InvertRect(f.invertLeft, kRow2Top, f.invertRight, 184);
  DrawFieldFrame(dc, f.frameLeft, kRow2Top, f.frameRight, 184, 216);
}

void CFieldPanel::DrawLayer(Surface& dc, std::string layer) const {
  // The value comes last so that its opaque cells lie over the outline.
  SelectFont(kLabelFont, dc);
  dc.TextOut(140, 170, SjisText(StringId::LayerLabel));
  dc.InvertRect(136, kRow2Top, 170, 184);
  DrawFieldFrame(dc, 136, kRow2Top, 184, 184, 216);
  SelectFont(kValueFont, dc);
  dc.TextOut(148, 192, layer);
}

void CFieldPanel::DrawLevel(Surface& dc, Row row, std::string text, int state) const {
  const int top = Top(row);
  const int normalY = top + 16;
  SelectFont(kLargeFont, dc);
  if (state == kLevelAbove || state == kLevelBelow) {
    dc.TextOut(kReadingX, normalY + (state == kLevelAbove ? kHighDashShiftPx : kLowDashShiftPx), kReadingDashes);
    dc.TextOut(kReadingPointX, normalY, ".");
  } else {
    dc.TextOut(kReadingX, normalY, text);
  }
  SelectFont(kLabelFont, dc);
  dc.TextOut(202, LabelY(row), LabelText(Label::Level));
  dc.TextOut(288, normalY + 18, SjisText(StringId::UnitDbMicroVolt));
  dc.InvertRect(kReadingX, top, 236, top + 16);
  DrawFieldFrame(dc, kReadingX, top, 320, top + 16, top + 16);
}

void CFieldPanel::DrawReading(Surface& dc, Row row, const std::string& text, int flag, std::string_view label,
                              int labelY) const {
  const int top = Top(row);
  const int normalY = top + 16;
  const int flagY = top + 19;
  SelectFont(kLargeFont, dc);
  if (text == kUnderRangeShown) {
    dc.TextOut(kReadingX, normalY + kLowDashShiftPx, kReadingDashes);
    dc.TextOut(kReadingPointX, normalY, ".");
  } else {
    dc.TextOut(kReadingX, normalY, text);
  }
  SelectFont(kLabelFont, dc);
  dc.TextOut(204, labelY, label);
  dc.TextOut(288, normalY + 18, LabelText(Label::Decibel));
  if (flag == 1) dc.TextOut(288, flagY, LabelText(Label::Below));
  if (flag == 2) dc.TextOut(288, flagY, LabelText(Label::Above));
  dc.InvertRect(kReadingX, top, 236, top + 16);
  DrawFieldFrame(dc, kReadingX, top, 320, top + 16, top + 16);
  if (flag != 0) dc.InvertRect(287, flagY - 1, 316, flagY + 14);
}

void CFieldPanel::DrawCn(Surface& dc, Row row, std::string text, int flag) const {
  DrawReading(dc, row, text, flag, LabelText(Label::Cn), LabelY(row));
}

void CFieldPanel::DrawMer(Surface& dc, Row row, std::string text, int flag) const {
  // The MER label stands where the first row's labels do, in either row.
  DrawReading(dc, row, text, flag, LabelText(Label::Mer), Top(row) + 2);
}

void CFieldPanel::DrawBer(Surface& dc, Row row, std::string text) const {
  const int top = Top(row);
  const int normalY = top + 24;
  SelectFont(kValueFont, dc);
  if (text == kBerBelowRange) {
    dc.TextOut(kBerX, normalY + kBerLowShiftPx, kBerDashes);
    dc.TextOut(kBerPointX, normalY, ".");
  } else {
    dc.TextOut(kBerX, normalY, text);
  }
  SelectFont(kLabelFont, dc);
  dc.TextOut(204, top + 2, LabelText(Label::Ber));
  dc.InvertRect(kReadingX, top, 236, top + 16);
  DrawFieldFrame(dc, kReadingX, top, 320, top + 16, top + 16);
}

void CFieldPanel::DrawCorrectionMark(Surface& dc, Row row, bool on) const {
  const int top = Top(row);
  SelectFont(kMarkFont, dc);
  dc.TextOut(288, top + 20, LabelText(on ? Label::Correction : Label::CorrectionOff));
  // The frame drawn white when off erases a mark left from the previous row.
  dc.FrameRect(286, top + 18, 314, top + 33, on ? kBlack : kWhite);
}

}  // namespace rxt4
