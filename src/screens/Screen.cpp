#include "rxt4/screens/Screen.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include "Labels.h"
#include "ScreenRules.h"
#include "rxt4/data/Sjis.h"
#include "rxt4/data/TextRules.h"

namespace rxt4 {

namespace {

// Field and footer bottom row of the instrument's screen.
constexpr int kFooterTop = 224;
constexpr int kFooterTextY = 225;
constexpr int kFooterBottom = 240;

}  // namespace

CScreen::CScreen(std::shared_ptr<const FontSet> fonts) : fonts_(std::move(fonts)) {
  if (!fonts_) fonts_ = FontSet::CreatePattern();
}

std::string CScreen::ShowKindName() const { return DecodeSjis(kindName); }

KeyOutcome CScreen::PressKey(const KeyPress& press) {
  const bool upDown = press.key == InstrumentKey::Up || press.key == InstrumentKey::Down;
  return upDown && !press.shift ? KeyOutcome::Tree : KeyOutcome::Nothing;
}

std::optional<std::string> CScreen::DataNameLabel() const { return DecodeSjis(dataName); }

bool CScreen::TakeRow(const MeasurementRow& data, MeasurementRow& into) {
  if (data.absent()) {
    bandClass = 0;
    return false;
  }
  into = data;
  return true;
}

void CScreen::SelectFont(int index, Surface& dc) const { dc.SelectFont(*fonts_, index); }

int CScreen::BandClassOf(long long number) {
  if (number < 26) return 1;
  if (number <= 42) return 2;
  return 3;
}

void CScreen::DeriveBandClass(const MeasurementRow& row) {
  bandNumber = ParseInt(Field(row, Column::BandNumber));
  bandClass = BandClassOf(bandNumber);
}

std::optional<StringId> CScreen::ScreenTypeNameId(int type) {
  static constexpr StringId kNames[kScreenTypeCount] = {
      StringId::ScreenTerrestrial, StringId::ScreenOneSeg,     StringId::ScreenBs,         StringId::ScreenE2Sky,
      StringId::ScreenSkyPerfect,  StringId::ScreenSkyPerfect, StringId::ScreenSkyPerfect, StringId::ScreenVuCatv,
      StringId::ScreenVuCatv,      StringId::ScreenOtherSatellite, StringId::ScreenOtherSatellite,
      StringId::ScreenCatvUp};
  if (type < 0 || type >= kScreenTypeCount) return std::nullopt;
  return kNames[type];
}

std::string CScreen::ScreenTypeName(int type) {
  const std::optional<StringId> id = ScreenTypeNameId(type);
  return id ? SjisText(*id) : std::string(" ");
}

std::string CScreen::FormatOneDecimal(double value) { return FormatRight(5, "      %3.1f", value); }

std::string CScreen::FormatTwoDecimals(double value) { return FormatRight(6, "      %4.2f", value); }

std::string CScreen::FormatInteger(double value) {
  // Truncated toward zero; values beyond the integer range (or not a number) are
  // held at its ends rather than converted with undefined results.
  long long integer = 0;
  if (std::isnan(value)) integer = 0;
  else if (value >= 9.2e18) integer = std::numeric_limits<long long>::max();
  else if (value <= -9.2e18) integer = std::numeric_limits<long long>::min();
  else integer = static_cast<long long>(std::trunc(value));
  return FormatRight(4, "    %lld", integer);
}

ClampedReading CScreen::Clamp(double value, double lower, double upper) {
  if (value <= lower) return {lower, 1};
  if (value >= upper) return {upper, 2};
  return {value, 0};
}

std::optional<std::string> CScreen::ShownMarker(std::string_view text) {
  if (text == kNoMeasurement) return std::string(kNoMeasurementShown);
  if (text == kBelowRange) return std::string(kBelowRangeShown);
  if (text == kAboveRange) return std::string(kAboveRangeShown);
  return std::nullopt;
}

void CScreen::ClearScreenArea(Surface& dc) { dc.FillRect(1, 1, dc.width() - 1, dc.height() - 1, kWhite); }


void CScreen::FrameScreenArea(Surface& dc) { dc.FrameRect(0, 0, dc.width(), dc.height(), kBlack); }

void CScreen::DrawFieldFrame(Surface& dc, int x0, int y, int right, int bottom1, int bottom2) {
  dc.SetPenColor(kBlack);
  dc.Polyline({{x0, y}, {right - 6, y}, {right - 4, y + 2}, {right - 4, bottom1}});
  dc.Polyline({{right - 2, y}, {right, y + 2}, {right, bottom2}});
}

void CScreen::DrawSatelliteFooterBox(Surface& dc) const {
  dc.InvertRect(1, kFooterTop, 64, 239);
  DrawFieldFrame(dc, 0, kFooterTop, 320, kFooterBottom, kFooterBottom);
}

void CScreen::DrawTerrestrialFooterBox(Surface& dc) const {
  dc.InvertRect(1, kFooterTop, 66, 239);
  DrawFieldFrame(dc, 0, kFooterTop, 160, kFooterBottom, kFooterBottom);
}

void CScreen::DrawConverterLabel(Surface& dc) const {
  SelectFont(3, dc);
  dc.FillRect(1, 225, 66, 240, kWhite);
  dc.TextOut(4, 226, SjisText(StringId::ConverterLabel));
}

void CScreen::DrawModulationLabel(Surface& dc) const {
  SelectFont(3, dc);
  dc.FillRect(1, 225, 66, 240, kWhite);
  dc.TextOut(4, 226, SjisText(StringId::ModulationLabel));
}

void CScreen::DrawOscillatorText(Surface& dc) const {
  if (!oscillatorText.empty() && oscillatorText.front() == '*') return;
  SelectFont(3, dc);
  dc.TextOut(232, kFooterTextY, oscillatorText + LabelText(Label::GigaHertz));
}

void CScreen::DrawModulationText(Surface& dc) const {
  SelectFont(3, dc);
  std::string text(Trim(polarizationOrModulation));
  const std::string& analog = SjisText(StringId::Analog);
  const std::string& analogKana = SjisText(StringId::AnalogKana);
  for (std::size_t at = text.find(analog); !analog.empty() && at != std::string::npos;
       at = text.find(analog, at + analogKana.size()))
    text.replace(at, analog.size(), analogKana);
  constexpr int kFieldX = 80;
  constexpr int kFieldChars = 8;
  dc.TextOut(kFieldX, kFooterTextY, "        ");
  const double shift = 3.5 * (kFieldChars - static_cast<double>(text.size()));
  dc.TextOut(kFieldX + static_cast<int>(std::trunc(std::max(shift, -1e6))), kFooterTextY, text);
}

void CScreen::DrawChannelTag(Surface& dc, std::string_view text, int x, int y) const {
  SelectFont(3, dc);
  dc.TextOut(x + 1, y + 1, LabelText(Label::Channel));
  dc.InvertRect(x, y, x + 16, y + 16);
  dc.TextOut(x + 33, y + 1, text);
}

void CScreen::DrawConverterPower(Surface& dc, std::string_view text) const {
  SelectFont(3, dc);
  dc.TextOut(140, kFooterTextY, text);
}

void CScreen::DrawDottedLine(Surface& dc, int x1, int y1, int x2, int y2) {
  const double dx = static_cast<double>(x2) - x1, dy = static_cast<double>(y2) - y1;
  const double length = std::sqrt(dx * dx + dy * dy);
  if (!(length >= 1)) return;
  const double ux = dx / length, uy = dy / length;
  const long long n = static_cast<long long>(length);
  dc.SetPenColor(kBlack);
  for (long long i = 0; i < n; i += 2) {
    const double a = static_cast<double>(i), b = static_cast<double>(i + 1);
    dc.MoveTo(static_cast<int>(x1 + ux * a), static_cast<int>(y1 + uy * a));
    dc.LineTo(static_cast<int>(x1 + ux * b), static_cast<int>(y1 + uy * b));
  }
}

}  // namespace rxt4
