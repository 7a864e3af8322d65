#include "rxt4/screens/SpectrumScreen.h"

#include <algorithm>
#include <cmath>

#include "ScreenRules.h"
#include "rxt4/data/Paths.h"
#include "rxt4/data/Sjis.h"
#include "rxt4/data/TextRules.h"
#include "rxt4/screens/CompanionData.h"

namespace rxt4 {

namespace {

constexpr int kPlotTopY = 22;
constexpr int kPlotCentreY = 102;
constexpr int kPlotBottomY = 182;
constexpr int kPlotLeftX = kSpectrumPlotLeftX;
constexpr int kPlotRightX = kSpectrumPlotRightX;
constexpr int kCentreX = 165;

// Per range: pixels per sample unit (tenths of a dB) and the label value in dB.
constexpr double kPixelsPerUnit[CSpectrumScreen::kRangeCount] = {4.0, 1.6, 0.8, 0.4};
constexpr unsigned kLabelDb[CSpectrumScreen::kRangeCount] = {2, 5, 10, 20};

std::string FormatFrequency(double mhz) { return Printed("%.2f", mhz); }

}  // namespace

CSpectrumScreen::CSpectrumScreen(std::shared_ptr<const FontSet> fonts) : CCompanionScreen(std::move(fonts)) {}

std::int16_t CSpectrumScreen::Sample(int n) const {
  if (n < 0 || static_cast<std::size_t>(n) * 2 + 1 >= samples.size()) return 0;
  const auto i = static_cast<std::size_t>(n) * 2;
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(samples[i] | (samples[i + 1] << 8)));
}

void CSpectrumScreen::Format() {
  screenType = static_cast<int>(ParseInt(Field(row, Column::ScreenType)));
  dataName = std::string(Field(row, Column::DataName));
  bandName = std::string(Field(row, Column::BandName));
  polarizationOrModulation = std::string(Field(row, Column::Modulation));
  channelText = std::string(Field(row, Column::Channel));

  // The instrument holds the frequency in single precision.
  const float f = SinglePrecision(ParseReal(Field(row, Column::Frequency)));
  centreFrequencyText = FormatFrequency(f + 0.14);
  lowFrequencyText = FormatFrequency(f - kSpectrumBelowMhz);
  highFrequencyText = FormatFrequency(f + kSpectrumAboveMhz);

  kindName = screenType == 0 || screenType == 7 ? ScreenTypeName(screenType) : std::string(" ");

  // The trace: header (length and carried word, neither used) and up to the buffer's
  // size of payload. A header shorter than 8 bytes gives no trace.
  sampleBytes = 0;
  samples.fill(0);
  if (const std::optional<std::string> payload = ReadSpectrumPayload(CompanionPath(companionPath, Field(row, Column::No)))) {
    sampleBytes = payload->size();
    std::copy(payload->begin(), payload->end(), samples.begin());
  }
}

void CSpectrumScreen::DrawScaleLabels(Surface& dc) const {
  SelectFont(3, dc);
  const unsigned v = kLabelDb[std::clamp(scaleIndex, 0, kRangeCount - 1)];
  const std::string top = FormatRight(3, "  %u", v), bottom = FormatRight(3, " -%u", v);
  dc.TextOut(10, 16, top);
  dc.TextOut(297, 16, top);
  dc.TextOut(10, 176, bottom);
  dc.TextOut(297, 176, bottom);
  dc.TextOut(10, 96, "  0");
  dc.TextOut(297, 96, "  0");
}

void CSpectrumScreen::DrawGrid(Surface& dc) const {
  dc.SetPenColor(kBlack);
  dc.MoveTo(kPlotLeftX, kPlotTopY);
  dc.LineTo(kPlotRightX, kPlotTopY);
  dc.MoveTo(kPlotLeftX, kPlotBottomY);
  dc.LineTo(kPlotRightX, kPlotBottomY);
  for (int y : {62, 102, 142}) DrawDottedLine(dc, kPlotLeftX, y, kPlotRightX, y);
}

void CSpectrumScreen::DrawFrequencyLabels(Surface& dc) const {
  dc.TextOut(kPlotLeftX, 186, lowFrequencyText);
  dc.TextOut(kPlotRightX - dc.TextWidth(highFrequencyText), 186, highFrequencyText);
  dc.TextOut(kCentreX - dc.TextWidth(centreFrequencyText) / 2, 186, centreFrequencyText);
  if (sampleBytes != 0) DrawDottedLine(dc, kCentreX, kPlotTopY, kCentreX, kPlotBottomY);
}

void CSpectrumScreen::DrawTrace(Surface& dc) const {
  if (sampleBytes == 0) return;
  const int n = static_cast<int>(sampleBytes / 2);
  const SpectrumLayout layout = SpectrumTraceLayout(n);
  if (layout.sampleStep == 0) return;
  const double k = kPixelsPerUnit[std::clamp(scaleIndex, 0, kRangeCount - 1)];
  const int p = layout.pixelStep, q = layout.sampleStep;
  const int x0 = (kSpectrumTraceWidthPx - p * (n / q)) / 2 + kPlotLeftX;
  auto yOf = [&](int i) {
    const double y = std::trunc(kPlotCentreY - Sample(i) * k);
    return static_cast<int>(std::clamp(y, static_cast<double>(kPlotTopY), static_cast<double>(kPlotBottomY)));
  };
  dc.SetPenColor(kBlack);
  dc.MoveTo(x0, 16);
  dc.LineTo(x0, kPlotBottomY);
  int x = x0, previous = yOf(0), segments = 0;
  for (int i = 0; i < n; i += q) {
    const int y = yOf(i);
    dc.MoveTo(x, previous);
    dc.LineTo(x + p, y);
    x += p;
    previous = y;
    ++segments;
  }
  const int x1 = x0 + segments * p;
  dc.MoveTo(x1, 16);
  dc.LineTo(x1, kPlotBottomY);
}

void CSpectrumScreen::Draw(Surface& dc) {
  ClearScreenArea(dc);
  DrawScaleLabels(dc);
  DrawGrid(dc);
  DrawFrequencyLabels(dc);
  DrawTrace(dc);
  SelectFont(3, dc);
  dc.TextOut(4, 208, bandName);
  DrawChannelTag(dc, channelText, 128, 208);
  DrawModulationText(dc);
  DrawModulationLabel(dc);
  DrawTerrestrialFooterBox(dc);
}

void CSpectrumScreen::NextRange() {
  if (sampleBytes == 0) return;
  scaleIndex = scaleIndex >= kRangeCount - 1 || scaleIndex < 0 ? 0 : scaleIndex + 1;
}

void CSpectrumScreen::PreviousRange() {
  if (sampleBytes == 0) return;
  scaleIndex = scaleIndex <= 0 || scaleIndex >= kRangeCount ? kRangeCount - 1 : scaleIndex - 1;
}

KeyOutcome CSpectrumScreen::PressKey(const KeyPress& press) {
  static constexpr KeyBinding<CSpectrumScreen> kKeys[] = {
      {InstrumentKey::Left, true, [](CSpectrumScreen& s, int) { s.PreviousRange(); }},
      {InstrumentKey::Right, true, [](CSpectrumScreen& s, int) { s.NextRange(); }},
  };
  return PressFromTable(*this, kKeys, press);
}

}  // namespace rxt4
