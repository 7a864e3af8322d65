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

}  // namespace

void CFieldPanel::DrawName(Surface& dc, std::string name, int valueY, int labelX, int labelY, std::string_view label,
                           int top, int bottom1, int bottom2) const {
  const std::string trimmed(Trim(name));
  SelectFont(trimmed == LabelText(Label::BsPassThrough) ? kNarrowNameFont : kValueFont, dc);
  dc.TextOut(1, valueY, trimmed);
  SelectFont(kLabelFont, dc);
  dc.TextOut(labelX, labelY, label);
  dc.InvertRect(1, top, 64, top + 16);
  DrawFieldFrame(dc, 0, top, 128, bottom1, bottom2);
}

void CFieldPanel::DrawBandName(Surface& dc, std::string name) const {
  DrawName(dc, std::move(name), 136, 4, 114, LabelText(Label::BandName), kRow1Top, 128, 160);
}

void CFieldPanel::DrawSatelliteName(Surface& dc, std::string name) const {
  DrawName(dc, std::move(name), 136, 12, 114, LabelText(Label::SatelliteName), kRow1Top, 128, 160);
}

void CFieldPanel::DrawSatelliteName2(Surface& dc, std::string name) const {
  DrawName(dc, std::move(name), 192, 12, 169, LabelText(Label::SatelliteName), kRow2Top, 184, 216);
}

void CFieldPanel::DrawChannel(Surface& dc, std::string channel) const {
  SelectFont(kValueFont, dc);
  dc.TextOut(136, 136, channel);
  SelectFont(kLabelFont, dc);
  dc.TextOut(140, 113, LabelText(Label::Channel));
  dc.InvertRect(136, kRow1Top, 160, 128);
  DrawFieldFrame(dc, 136, kRow1Top, 184, 128, 160);
}

void CFieldPanel::DrawChannel2(Surface& dc, std::string channel) const {
  SelectFont(kValueFont, dc);
  dc.TextOut(136, 192, channel);
  SelectFont(kLabelFont, dc);
  dc.TextOut(140, 169, LabelText(Label::Channel));
  dc.InvertRect(136, kRow2Top, 160, 184);
  DrawFieldFrame(dc, 136, kRow2Top, 184, 184, 216);
}

void CFieldPanel::DrawPolarizationAt(Surface& dc, const std::string& polarization, int top) const {
  if (polarization != "V" && polarization != "H" && polarization != "L" && polarization != "R") return;
  SelectFont(kLabelFont, dc);
  dc.TextOut(165, top + 2, polarization);
  dc.SetPenColor(kBlack);
  dc.Polyline({{176, top}, {176, top + 15}, {159, top + 15}});
}

void CFieldPanel::DrawPolarization(Surface& dc, std::string polarization) const {
  DrawPolarizationAt(dc, polarization, kRow1Top);
}

void CFieldPanel::DrawPolarization2(Surface& dc, std::string polarization) const {
  DrawPolarizationAt(dc, polarization, kRow2Top);
}

void CFieldPanel::DrawFrequencyLeft(Surface& dc, std::string frequency) const {
  SelectFont(kValueFont, dc);
  dc.TextOut(1, 192, frequency);
  SelectFont(kLabelFont, dc);
  dc.TextOut(4, 170, LabelText(Label::Frequency));
  dc.TextOut(89, 200, LabelText(Label::MegaHertz));
  dc.InvertRect(1, kRow2Top, 51, 184);
  DrawFieldFrame(dc, 0, kRow2Top, 128, 184, 216);
}

void CFieldPanel::DrawFrequencyCentre(Surface& dc, std::string frequency) const {
  SelectFont(kValueFont, dc);
  dc.TextOut(64, 192, frequency);
  SelectFont(kLabelFont, dc);
  dc.TextOut(60, 170, LabelText(Label::Frequency));
  dc.TextOut(152, 200, LabelText(Label::MegaHertz));
  dc.InvertRect(56, kRow2Top, 106, 184);
  DrawFieldFrame(dc, 56, kRow2Top, 184, 184, 216);
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

void CFieldPanel::DrawLevelAt(Surface& dc, const std::string& text, int state, int top) const {
  const int normalY = top + 16;
  SelectFont(kLargeFont, dc);
  if (state == kLevelAbove || state == kLevelBelow) {
    dc.TextOut(kReadingX, normalY + (state == kLevelAbove ? kHighDashShiftPx : kLowDashShiftPx), kReadingDashes);
    dc.TextOut(kReadingPointX, normalY, ".");
  } else {
    dc.TextOut(kReadingX, normalY, text);
  }
  SelectFont(kLabelFont, dc);
  // The row 2 label stands one pixel higher than its field's other labels.
  dc.TextOut(202, top == kRow1Top ? 114 : 169, LabelText(Label::Level));
  dc.TextOut(288, normalY + 18, SjisText(StringId::UnitDbMicroVolt));
  dc.InvertRect(kReadingX, top, 236, top + 16);
  DrawFieldFrame(dc, kReadingX, top, 320, top + 16, top + 16);
}

void CFieldPanel::DrawLevel(Surface& dc, std::string text, int state) const { DrawLevelAt(dc, text, state, kRow1Top); }

void CFieldPanel::DrawLevel2(Surface& dc, std::string text, int state) const {
  DrawLevelAt(dc, text, state, kRow2Top);
}

void CFieldPanel::DrawReadingAt(Surface& dc, const std::string& text, int flag, int top, std::string_view label,
                                int labelX, int labelY, int flagY) const {
  const int normalY = top + 16;
  SelectFont(kLargeFont, dc);
  if (text == kUnderRangeShown) {
    dc.TextOut(kReadingX, normalY + kLowDashShiftPx, kReadingDashes);
    dc.TextOut(kReadingPointX, normalY, ".");
  } else {
    dc.TextOut(kReadingX, normalY, text);
  }
  SelectFont(kLabelFont, dc);
  dc.TextOut(labelX, labelY, label);
  dc.TextOut(288, normalY + 18, LabelText(Label::Decibel));
  if (flag == 1) dc.TextOut(288, flagY, LabelText(Label::Below));
  if (flag == 2) dc.TextOut(288, flagY, LabelText(Label::Above));
  dc.InvertRect(kReadingX, top, 236, top + 16);
  DrawFieldFrame(dc, kReadingX, top, 320, top + 16, top + 16);
  if (flag != 0) dc.InvertRect(287, flagY - 1, 316, flagY + 14);
}

void CFieldPanel::DrawCn(Surface& dc, std::string text, int flag) const {
  DrawReadingAt(dc, text, flag, kRow1Top, LabelText(Label::Cn), 204, 114, 131);
}

void CFieldPanel::DrawCn2(Surface& dc, std::string text, int flag) const {
  DrawReadingAt(dc, text, flag, kRow2Top, LabelText(Label::Cn), 204, 169, 187);
}

void CFieldPanel::DrawMer2(Surface& dc, std::string text, int flag) const {
  DrawReadingAt(dc, text, flag, kRow2Top, LabelText(Label::Mer), 204, 170, 187);
}

void CFieldPanel::DrawBerAt(Surface& dc, const std::string& text, int top) const {
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

void CFieldPanel::DrawBer(Surface& dc, std::string text) const { DrawBerAt(dc, text, kRow1Top); }

void CFieldPanel::DrawBer2(Surface& dc, std::string text) const { DrawBerAt(dc, text, kRow2Top); }

void CFieldPanel::DrawCorrectionAt(Surface& dc, bool on, int textY, int frameTop) const {
  SelectFont(kMarkFont, dc);
  dc.TextOut(288, textY, LabelText(on ? Label::Correction : Label::CorrectionOff));
  // The frame drawn white when off erases a mark left from the previous row.
  dc.FrameRect(286, frameTop, 314, frameTop + 15, on ? kBlack : kWhite);
}

void CFieldPanel::DrawCorrectionMark(Surface& dc, bool on) const { DrawCorrectionAt(dc, on, 132, 130); }

void CFieldPanel::DrawCorrectionMark2(Surface& dc, bool on) const { DrawCorrectionAt(dc, on, 188, 186); }

}  // namespace rxt4
