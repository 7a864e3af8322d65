#include "rxt4/screens/MultiScreen.h"

#include <algorithm>
#include <cmath>

#include "Labels.h"
#include "ScreenRules.h"
#include "rxt4/data/Sjis.h"
#include "rxt4/data/TextRules.h"

namespace rxt4 {

namespace {


constexpr int kGraphBottomY = 192;
constexpr int kMarkY = 194;
// A stored cursor far outside the table is held here, which keeps the mark
// arithmetic in range; it still stands beside the bars.
constexpr long long kCursorBound = 10000;

const std::string& Sjis(int which) {
  static const std::string kTexts[] = {EncodeSjis("▲"),         EncodeSjis("△"),    EncodeSjis("補"),
                                       std::string("\x81\x40"), EncodeSjis("Δﾚﾍﾞﾙ"), EncodeSjis("BS･CS ")};
  return kTexts[which];
}
enum { kCursorMark, kReferenceMark, kCorrectionMark, kFullWidthBlank, kDeltaLevel, kSatellitePrefix };

// "   %3.1f", rightmost 5 characters.
std::string FormatLevel(double value) { return FormatRight(5, "   %3.1f", value); }

int HexDigit(std::string_view text) {
  if (text.empty()) return 0;
  const char c = text.front();
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return 0;
}

}  // namespace

CMultiScreen::CMultiScreen(std::shared_ptr<const FontSet> fonts) : CScreen(std::move(fonts)) { ResetTables(); }

void CMultiScreen::ResetTables() {
  levels.fill(0);
  levelStates.fill(kNoMeasurement);
  correctionFlags.fill(0);
  infoChannel_ = 0;
}

void CMultiScreen::SetData(const std::vector<MeasurementRow>& data) {
  referenceChannel = -1;
  channelCount = static_cast<int>(std::min<std::size_t>(data.size(), 1u << 20));
  rows.clear();
  ResetTables();
  if (channelCount == 0) return;
  rows = data;
  Format();
}

MeasurementRow CMultiScreen::RowOf(int channel) const {
  if (channel < 1 || static_cast<std::size_t>(channel) > rows.size()) return {};
  return rows[static_cast<std::size_t>(channel - 1)];
}

int CMultiScreen::TableChannels() const { return std::clamp(channelCount, 0, kMaxChannels); }

int CMultiScreen::BarLeft(int channel) const {
  const long long x = 32 + static_cast<long long>(channel - 1) * (barWidth + barGap);
  return static_cast<int>(std::clamp<long long>(x, -1000000, 1000000));
}

int CMultiScreen::MarkX(int channel) const {
  const long long x = static_cast<long long>(barWidth + barGap) * (channel - 1) + barWidth / 2 + 26;
  return static_cast<int>(std::clamp<long long>(x, -1000000, 1000000));
}

Rgb CMultiScreen::StateColour(int state) {
  switch (state) {
    case kNoMeasurement: return {64, 128, 64};
    case kBelow: return {32, 32, 255};
    case kAbove: return {255, 0, 0};
    default: return kBlack;
  }
}

int CMultiScreen::CombinedState(int referenceState, int cursorState) {
  static constexpr int kTable[4][4] = {{0, 1, 0, 3}, {1, 1, 1, 3}, {0, 1, 2, 3}, {3, 1, 3, 3}};
  return kTable[std::clamp(referenceState, 0, 3)][std::clamp(cursorState, 0, 3)];
}

double CMultiScreen::LowerLimit() const { return bandClass == 1 ? 43.0 : 20.0; }
double CMultiScreen::UpperLimit() const { return bandClass == 1 ? 105.0 : 120.0; }

int CMultiScreen::MaxTopLevelFor(int dpd) const {
  if (bandClass == 1) return 106;
  return dpd == 8 ? 148 : 132;
}

void CMultiScreen::Format() {
  if (channelCount <= 0) return;
  const MeasurementRow first = RowOf(1);
  const std::string mode(TrimRight(Field(first, Column::Mode)));
  if (mode == "VU/CATV") {
    bandClass = 2;
    kindName = mode;
  } else {
    bandClass = 1;
    kindName = Sjis(kSatellitePrefix) + mode;
  }
  powerText = std::string(Field(first, bandClass == 1 ? Column::ConverterPower : Column::BoosterPower));
  dataName = std::string(Field(first, Column::DataName));
  bandName = std::string(Field(first, Column::BandName));
  channelCount = static_cast<int>(std::clamp<long long>(ParseInt(Field(first, Column::ChannelCount)), -1, 1 << 20));

  const long long scale = ParseInt(Field(first, Column::ScaleWidth));  // 0, 1 or 2
  dbPerDivision = scale == 0 ? 8 : scale == 1 ? 4 : 2;
  maxTopLevel = MaxTopLevelFor(dbPerDivision);
  minBottomLevel = bandClass == 1 ? 42 : 20;
  topLevel = maxTopLevel;
  bottomLevel = topLevel - 8 * dbPerDivision;
  // The display width column holds the range offset: one hexadecimal digit.
  bottomLevel -= 4 * dbPerDivision * HexDigit(Field(first, Column::DisplayWidth));
  if (bottomLevel < minBottomLevel) bottomLevel = minBottomLevel;
  topLevel = bottomLevel + 8 * dbPerDivision;

  if (channelCount <= 10) {
    barWidth = 16;
    barGap = 8;
  } else if (channelCount <= 20) {
    barWidth = 8;
    barGap = 4;
  } else {
    barWidth = 2;
    barGap = 2;
  }
  cursorChannel =
      static_cast<int>(std::clamp(ParseInt(Field(first, Column::CursorPosition)), -kCursorBound, kCursorBound));
}

void CMultiScreen::DrawGrid(Surface& dc) const {
  dc.SetPenColor(kBlack);
  dc.MoveTo(24, 24);
  dc.LineTo(24, kGraphBottomY);
  dc.MoveTo(288, 24);
  dc.LineTo(288, kGraphBottomY);
  for (int y = 26; y <= 186; y += 20) {
    dc.MoveTo(20, y);
    dc.LineTo(292, y);
  }
  dc.MoveTo(0, kGraphBottomY);
  dc.LineTo(320, kGraphBottomY);
}

void CMultiScreen::DrawScaleLabels(Surface& dc) const {
  SelectFont(5, dc);
  for (int k = 0; k <= 8; ++k) {
    const std::string text = FormatRight(3, "    %d", topLevel - k * dbPerDivision);
    dc.TextOut(4, 21 + 20 * k, text);
    dc.TextOut(296, 21 + 20 * k, text);
  }
}

void CMultiScreen::DrawBar(Surface& dc, int channel) {
  const MeasurementRow r = RowOf(channel);
  if (r.absent() || channel < 1 || channel > kMaxChannels) return;
  const std::string_view stored = Field(r, Column::Level);
  const float level = SinglePrecision(ParseReal(stored));
  int state = kInRange;
  if (stored == rxt4::kNoMeasurement) state = kNoMeasurement;
  else if (level < LowerLimit()) state = kBelow;
  else if (level > UpperLimit()) state = kAbove;
  const auto i = static_cast<std::size_t>(channel);
  correctionFlags[i] = Field(r, Column::Correction) != "OFF " ? 1 : 0;
  levels[i] = level;
  levelStates[i] = state;

  const double pixelsPerDb = dbPerDivision == 8 ? 2.5 : dbPerDivision == 4 ? 5.0 : 10.0;
  int top = 0;
  if (level < bottomLevel) top = 189;
  else if (level > topLevel) top = 24;
  else top = static_cast<int>(std::trunc(186 - pixelsPerDb * (level - bottomLevel)));
  const int left = BarLeft(channel);
  dc.FillRect(left, top, left + barWidth, kGraphBottomY, StateColour(state));
}

void CMultiScreen::DrawCursorFields(Surface& dc) const {
  SelectFont(6, dc);
  dc.TextOut(4, 208, bandName);
  dc.TextOut(148, 208, channelText);
  dc.TextOut(236, 208, "     ");
  dc.TextOut(236, 213, "     ");
  const int info = infoChannel_;
  const bool known = info >= 1 && info <= kMaxChannels;
  if (known) {
    const auto i = static_cast<std::size_t>(info);
    int state = levelStates[i];
    double shown = cursorLevel;
    if (referenceChannel != -1) {
      // A reference without a bar has no level: it reads as no measurement.
      const bool referenceKnown = referenceChannel >= 1 && referenceChannel <= TableChannels();
      const int referenceState = referenceKnown ? levelStates[static_cast<std::size_t>(referenceChannel)] : kNoMeasurement;
      state = CombinedState(referenceState, state);
      if (state == kInRange) {
        shown = static_cast<double>(levels[i]) - (referenceKnown ? levels[static_cast<std::size_t>(referenceChannel)] : 0.0f);
        if (shown <= -100) shown = -99.9;
      }
    }
    switch (state) {
      case kInRange:
        dc.TextOut(236, 208, FormatLevel(shown));
        break;
      case kNoMeasurement:
        dc.TextOut(236, 208, kNoMeasurementShown);
        break;
      case kAbove:
        dc.TextOut(236, 203, " -- -");
        dc.TextOut(263, 208, ".");
        break;
      default:
        dc.TextOut(236, 213, " -- -");
        dc.TextOut(263, 208, ".");
        break;
    }
  }
  SelectFont(5, dc);
  if (known && correctionFlags[static_cast<std::size_t>(info)] == 1) {
    dc.TextOut(296, 196, Sjis(kCorrectionMark));
    dc.FrameRect(294, 194, 310, 210, kBlack);
  } else {
    dc.TextOut(296, 196, Sjis(kFullWidthBlank));
    dc.FrameRect(294, 194, 310, 210, kWhite);
  }
}

void CMultiScreen::DrawBottomRow(Surface& dc) const {
  if (bandClass == 1) {
    DrawConverterLabel(dc);
    DrawSatelliteFooterBox(dc);
    DrawOscillatorText(dc);
    DrawConverterPower(dc, powerText);
  } else if (bandClass == 2) {
    DrawModulationLabel(dc);
    DrawTerrestrialFooterBox(dc);
    DrawModulationText(dc);
  }
  FrameScreenArea(dc);
}

void CMultiScreen::DrawCursorInformation(Surface& dc) {
  // The tables end at channel 59: a cursor beyond them has no information, like a
  // cursor on a channel without a row, and the line stays as it was.
  if (cursorChannel < 1 || cursorChannel > kMaxChannels) return;
  const MeasurementRow r = RowOf(cursorChannel);
  if (r.absent()) return;
  oscillatorText = std::string(Field(r, Column::Oscillator));
  polarizationOrModulation = std::string(Field(r, Column::Modulation));
  channelText = std::string(Field(r, Column::Channel));
  cursorLevel = SinglePrecision(ParseReal(Field(r, Column::Level)));
  infoChannel_ = cursorChannel;
  DrawCursorFields(dc);
  DrawBottomRow(dc);
}

void CMultiScreen::DrawMarkerRow(Surface& dc) {
  dc.FillRect(1, 193, 292, 207, kWhite);
  SelectFont(5, dc);
  dc.SetBackgroundMode(BackgroundMode::Transparent);
  dc.TextOut(MarkX(cursorChannel), kMarkY, Sjis(kCursorMark));
  dc.SetBackgroundMode(BackgroundMode::Opaque);
  DrawCursorInformation(dc);
  if (referenceChannel != -1) {
    SelectFont(5, dc);
    dc.TextOut(MarkX(referenceChannel), kMarkY, Sjis(kReferenceMark));
  }
}

void CMultiScreen::DrawInfoLabels(Surface& dc) const {
  SelectFont(5, dc);
  dc.FillRect(128, 208, 144, 223, kWhite);
  dc.TextOut(130, 210, LabelText(Label::Channel));
  dc.FillRect(192, 208, 232, 223, kWhite);
  dc.TextOut(194, 210, referenceChannel == -1 ? LabelText(Label::Level) : Sjis(kDeltaLevel));
  dc.TextOut(282, 212, SjisText(StringId::UnitDbMicroVolt));
  dc.SetBackgroundMode(BackgroundMode::Opaque);
}

void CMultiScreen::InvertInfoLabels(Surface& dc) const {
  dc.InvertRect(128, 208, 144, 223);
  dc.InvertRect(192, 208, 232, 223);
}

void CMultiScreen::Draw(Surface& dc) {
  ClearScreenArea(dc);
  DrawGrid(dc);
  DrawScaleLabels(dc);
  const int bars = TableChannels();
  for (int i = 1; i <= bars; ++i) DrawBar(dc, i);
  DrawCursorInformation(dc);
  DrawMarkerRow(dc);
  DrawCursorFields(dc);
  DrawInfoLabels(dc);
  InvertInfoLabels(dc);
  DrawBottomRow(dc);
}

void CMultiScreen::CursorLeft() {
  const int limit = TableChannels();
  if (limit > 0) {
    const int next = cursorChannel - 1;
    cursorChannel = next < 1 || next > limit ? limit : next;
  }
}

void CMultiScreen::CursorRight() {
  const int limit = TableChannels();
  if (limit > 0) {
    const int next = cursorChannel + 1;
    cursorChannel = next > limit || next < 1 ? 1 : next;
  }
}

void CMultiScreen::RangeUp() {
  topLevel = std::min(topLevel + 4 * dbPerDivision, maxTopLevel);
  bottomLevel = topLevel - 8 * dbPerDivision;
}

void CMultiScreen::RangeDown() {
  bottomLevel = std::max(bottomLevel - 4 * dbPerDivision, minBottomLevel);
  topLevel = bottomLevel + 8 * dbPerDivision;
}

void CMultiScreen::Recentre() {
  const int m = (topLevel + bottomLevel) / 2;
  bottomLevel = m - 4 * dbPerDivision;
  topLevel = m + 4 * dbPerDivision;
}

void CMultiScreen::ScaleCoarser() {
  if (dbPerDivision < 8) dbPerDivision *= 2;
  if (bandClass != 1) maxTopLevel = MaxTopLevelFor(dbPerDivision);
  Recentre();
  if (topLevel > maxTopLevel) {
    topLevel = maxTopLevel;
    bottomLevel = maxTopLevel - 8 * dbPerDivision;
  }
  if (bottomLevel < minBottomLevel) {
    bottomLevel = minBottomLevel;
    topLevel = minBottomLevel + 8 * dbPerDivision;
  }
}

void CMultiScreen::ScaleFiner() {
  if (dbPerDivision > 2) dbPerDivision /= 2;
  if (bandClass != 1) maxTopLevel = MaxTopLevelFor(dbPerDivision);
  Recentre();
}

void CMultiScreen::ToggleReference() { referenceChannel = referenceChannel == -1 ? cursorChannel : -1; }

KeyOutcome CMultiScreen::PressKey(const KeyPress& press) {
  using K = InstrumentKey;
  static constexpr KeyBinding<CMultiScreen> kKeys[] = {
      {K::Left, false, [](CMultiScreen& s, int) { s.CursorLeft(); }},
      {K::Right, false, [](CMultiScreen& s, int) { s.CursorRight(); }},
      {K::Up, true, [](CMultiScreen& s, int) { s.RangeUp(); }},
      {K::Down, true, [](CMultiScreen& s, int) { s.RangeDown(); }},
      {K::Left, true, [](CMultiScreen& s, int) { s.ScaleCoarser(); }},
      {K::Right, true, [](CMultiScreen& s, int) { s.ScaleFiner(); }},
      // 決定 sets or clears the reference whatever the シフト state.
      {K::Enter, false, [](CMultiScreen& s, int) { s.ToggleReference(); }},
      {K::Enter, true, [](CMultiScreen& s, int) { s.ToggleReference(); }},
  };
  return PressFromTable(*this, kKeys, press);
}

}  // namespace rxt4
