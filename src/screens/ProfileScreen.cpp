#include "rxt4/screens/ProfileScreen.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "ScreenRules.h"
#include "rxt4/data/Paths.h"
#include "rxt4/data/Sjis.h"
#include "rxt4/data/TextRules.h"
#include "rxt4/screens/CompanionData.h"

namespace rxt4 {

namespace {

struct Window {
  int widthUs;
  int stepUs;
};
// Indexed by fftMode and zoom.
constexpr Window kWindows[4][4] = {{{0, 1}, {0, 1}, {0, 1}, {0, 1}},
                                   {{84, 21}, {42, 11}, {22, 6}, {12, 3}},
                                   {{168, 42}, {84, 21}, {42, 11}, {22, 6}},
                                   {{336, 84}, {168, 42}, {84, 21}, {42, 11}}};

// The graph's level lines: 0 dB at y 26, one every 10 dB (30 pixels) down to -50 dB at y 176.
constexpr int kTopY = 26;
constexpr int kBottomY = 176;
constexpr int kGridStepPx = 30;
// The samples are in tenths of a dB, so a level line (10 dB) is 100 of them.
constexpr double kDbPerSampleUnit = 0.1;
constexpr double kPxPerSampleUnit = kGridStepPx / 100.0;
constexpr int kGuardDelayUs = 126;  // the guard interval of the 8192-sample mode

// Position lists of ZoomIn, by the new zoom (1..3).
const std::vector<int> kZoomInPositions[4] = {
    {}, {0, 2}, {0, 2, 4, 6, 8}, {0, 2, 4, 6, 8, 9, 11, 13, 15, 17, 18}};
// Position lists of ZoomOut, by the new zoom (0..2) and, for zoom 2, by fftMode.
const std::vector<int> kZoomOutTo0 = {0, 1, 1, 1, 1};
const std::vector<int> kZoomOutTo1 = {0, 1, 1, 2, 2, 3, 3, 4, 4, 4, 4};
const std::vector<int> kZoomOutTo2[4] = {
    {},
    {0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 6, 6, 7, 7, 8, 8, 9, 9, 9, 9},
    {0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 6, 6, 7, 7, 8, 8, 9, 9, 10, 10, 10},
    {0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 10, 10, 10, 10}};

// Entry p of a list; positions beyond the list take its last entry.
int Entry(const std::vector<int>& list, int p) {
  if (list.empty()) return p;
  return list[static_cast<std::size_t>(std::clamp(p, 0, static_cast<int>(list.size()) - 1))];
}

std::string Sjis(const char* utf8) { return EncodeSjis(utf8); }

}  // namespace

CProfileScreen::CProfileScreen(std::shared_ptr<const FontSet> fonts) : CCompanionScreen(std::move(fonts)) {}

void CProfileScreen::Format() {
  screenType = static_cast<int>(ParseInt(Field(row, Column::ScreenType)));
  dataName = std::string(Field(row, Column::DataName));
  bandName = std::string(Field(row, Column::BandName));
  polarizationOrModulation = std::string(Field(row, Column::Modulation));
  channelText = std::string(Field(row, Column::Channel));
  companionPath = CompanionPath(companionPath, Field(row, Column::No)).string();
  kindName = screenType == 0 || screenType == 7 ? ScreenTypeName(screenType) : std::string(" ");
  LoadProfile(companionPath);
  cursor = 0;
  firstDraw = true;
  zoom = 0;
  position = 1;
}

bool CProfileScreen::LoadProfile(const std::string& file) {
  sampleBytes = 0;
  sampleCount = 0;
  fftMode = 0;
  peakIndex = 0;
  const std::optional<DelayProfile> profile = ReadDelayProfile(file);
  if (!profile) return false;
  std::copy(profile->samples.begin(), profile->samples.end(), samples.begin());
  fftMode = profile->fftMode;
  sampleBytes = profile->payloadBytes;
  sampleCount = static_cast<int>(profile->samples.size());
  peakValue = profile->peakValue;
  peakIndex = profile->peakIndex;
  return true;
}

int CProfileScreen::WindowWidthUs() const { return kWindows[std::clamp(fftMode, 0, 3)][std::clamp(zoom, 0, 3)].widthUs; }
int CProfileScreen::ScrollStepUs() const { return kWindows[std::clamp(fftMode, 0, 3)][std::clamp(zoom, 0, 3)].stepUs; }
int CProfileScreen::EarliestDelayUs() const { return ProfileModeOf(fftMode).earliestUs; }
int CProfileScreen::LatestDelayUs() const { return ProfileModeOf(fftMode).latestUs; }

void CProfileScreen::ComputeWindow() {
  const int w = WindowWidthUs(), s = ScrollStepUs();
  leftDelay = s * position - w / 2;
  rightDelay = leftDelay + w;
  if (leftDelay < EarliestDelayUs()) {
    leftDelay = EarliestDelayUs();
    rightDelay = leftDelay + w;
  } else if (rightDelay > LatestDelayUs()) {
    rightDelay = LatestDelayUs();
    leftDelay = rightDelay - w;
  }
}

float CProfileScreen::ColumnDelay(int column) const {
  return static_cast<float>(leftDelay) +
         static_cast<float>(rightDelay - leftDelay) * static_cast<float>(column) / static_cast<float>(kGraphWidthPx);
}

int CProfileScreen::IndexOfDelay(float delayUs) const {
  if (sampleCount <= 0) return 0;
  double v = static_cast<double>(delayUs) * kProfileSamplesPerUs;
  if (delayUs < 0) v += sampleCount;
  const long long index = static_cast<long long>(std::trunc(v));
  // Delays inside the mode's window always land inside the buffer; anything else
  // wraps rather than reading past it.
  return static_cast<int>(((index % sampleCount) + sampleCount) % sampleCount);
}

std::int16_t CProfileScreen::RangeMaximum(int a, int b) const {
  if (sampleCount <= 0) return 0;
  a = ((a % sampleCount) + sampleCount) % sampleCount;
  b = ((b % sampleCount) + sampleCount) % sampleCount;
  // The walk covers a up to (not including) b, wrapping at the end of the buffer. From
  // an index to the same index it is that one sample: walking the whole buffer would
  // put the profile's maximum (the main path) into every such column.
  const int count = a < b ? b - a : a > b ? sampleCount + b - a : 1;
  std::int16_t m = samples[static_cast<std::size_t>(a)];
  for (int k = 1; k < count; ++k) m = std::max(m, samples[static_cast<std::size_t>((a + k) % sampleCount)]);
  return m;
}

int CProfileScreen::YOfValue(int value) const {
  const double y = std::trunc((static_cast<double>(peakValue) - value) * kPxPerSampleUnit + kTopY);
  return static_cast<int>(std::clamp(y, static_cast<double>(kTopY), static_cast<double>(kBottomY)));
}

void CProfileScreen::DrawGraph(Surface& dc) {
  SelectFont(3, dc);
  dc.SetPenColor(kBlack);
  for (int j = 0; j < 5; ++j) {
    const int y = kTopY + kGridStepPx * j;
    const std::string shown = FormatRight(3, "  %d", -10 * j);
    dc.TextOut(4, y - 6, shown);
    dc.TextOut(307, y - 6, shown);
    dc.MoveTo(27, y);
    dc.LineTo(30, y);
    dc.MoveTo(300, y);
    dc.LineTo(303, y);
  }
  dc.MoveTo(33, 21);
  dc.LineTo(33, 178);
  dc.MoveTo(297, 21);
  dc.LineTo(297, 178);
  dc.MoveTo(33, 25);
  dc.LineTo(297, 25);
  dc.MoveTo(33, 177);
  dc.LineTo(297, 177);
  for (int y = kTopY; y <= kBottomY; y += kGridStepPx) DrawDottedLine(dc, 33, y, 297, y);
  if (sampleBytes == 0) return;

  ComputeWindow();
  dc.TextOut(25, 179, Printed("%d", leftDelay));
  dc.TextOut(285, 179, Printed("%d", rightDelay));

  dc.SetPenColor(kBlack);
  int previous = YOfValue(RangeMaximum(IndexOfDelay(ColumnDelay(-1)), IndexOfDelay(ColumnDelay(0))));
  for (int i = 1; i <= kGraphWidthPx; ++i) {
    const float t = ColumnDelay(i), before = ColumnDelay(i - 1);
    int y = YOfValue(RangeMaximum(IndexOfDelay(before), IndexOfDelay(t)));
    if (t >= 0 && before <= 0) {
      // The column of 0 µs is the main path.
      y = kTopY;
      if (firstDraw) cursor = i - 1;
    }
    dc.MoveTo(i + 34, previous);
    dc.LineTo(i + 35, y);
    previous = y;
  }

  if (leftDelay < 0 && 0 < rightDelay) {
    int z = 0;
    float best = std::fabs(ColumnDelay(0));
    for (int i = 1; i <= kGraphWidthPx; ++i) {
      const float d = std::fabs(ColumnDelay(i));
      if (d < best) {
        best = d;
        z = i;
      }
    }
    dc.TextOut(z + 23, 179, "0[us]");
  }
  firstDraw = false;
  DrawMarker(dc);
  DrawGuardLine(dc);
}

void CProfileScreen::DrawMarker(Surface& dc) const {
  static const std::string kMarker = Sjis("▼");
  SelectFont(3, dc);
  dc.SetPenColor(kBlack);
  dc.MoveTo(33, 21);
  dc.LineTo(33, kTopY);
  dc.MoveTo(297, 21);
  dc.LineTo(297, kTopY);
  dc.TextOut(cursor + 29, 11, kMarker);
  dc.InvertRect(cursor + 35, 31, cursor + 36, 171);
}

void CProfileScreen::DrawGuardLine(Surface& dc) const {
  if (fftMode != 3 || !(leftDelay <= kGuardDelayUs - 1 && rightDelay > kGuardDelayUs)) return;
  const int x = 35 + (kGuardDelayUs - leftDelay) * kGraphWidthPx / (rightDelay - leftDelay);
  DrawDottedLine(dc, x, 20, x, kBottomY);
}

std::string CProfileScreen::DelayText(float delayUs) {
  // "%f" with its last five characters removed: one decimal, cut rather than rounded.
  std::string text = Printed("     %f", static_cast<double>(delayUs));
  text.resize(text.size() > 5 ? text.size() - 5 : 0);
  return text.size() > 6 ? text.substr(text.size() - 6) : text;
}

std::string CProfileScreen::RatioText(double du) {
  return FormatRight(6, "     %.1f", du);
}

void CProfileScreen::DrawReadout(Surface& dc) const {
  static const std::string kPrefix = Sjis("遅延時間:");
  static const std::string kPlaceholder = Sjis("遅延時間:   . [us] D/U:   . [dB]");
  SelectFont(3, dc);
  if (sampleBytes == 0) {
    const BackgroundMode mode = dc.backgroundMode();
    dc.SetBackgroundMode(BackgroundMode::Transparent);
    dc.TextOut(73, 216, "          -- -          -- -");
    dc.TextOut(73, 210, kPlaceholder);
    dc.SetBackgroundMode(mode);
    return;
  }
  // Left of column 0 the readout steps back by the window over 260 in whole
  // microseconds (the trace's own start uses the column formula).
  const float t = ColumnDelay(cursor);
  const float before = cursor > 0 ? ColumnDelay(cursor - 1)
                                  : static_cast<float>(leftDelay - (rightDelay - leftDelay) / kGraphWidthPx);
  const int index = IndexOfDelay(t);
  const double du = index == 0 ? 0.0 : (RangeMaximum(IndexOfDelay(before), index) - samples[0]) * kDbPerSampleUnit;
  const std::string line = kPrefix + DelayText(t) + "[us] D/U:" + RatioText(du) + "[dB]";
  dc.TextOut(73, 210, line);
}

void CProfileScreen::Draw(Surface& dc) {
  ClearScreenArea(dc);
  DrawGraph(dc);
  SelectFont(3, dc);
  dc.TextOut(2, 192, bandName);
  DrawChannelTag(dc, channelText, 128, 192);
  dc.TextOut(2, 210, SjisText(StringId::MarkerLabel));
  dc.InvertRect(1, 208, 66, 224);
  dc.SetPenColor(kBlack);
  dc.Polyline({{66, 208}, {314, 208}, {316, 210}, {316, 224}});
  dc.Polyline({{318, 208}, {320, 210}, {320, 224}});
  DrawReadout(dc);
  DrawModulationText(dc);
  DrawModulationLabel(dc);
  DrawTerrestrialFooterBox(dc);
}

void CProfileScreen::MoveCursor(int heldTicks, int direction) {
  if (sampleBytes == 0) return;
  int base = 1;
  if (fftMode == 1) base = zoom >= 2 ? 4 : 3;
  else if (fftMode == 2) base = zoom == 3 ? 3 : 1;
  const int held = std::max(heldTicks, 0);
  const int step = base * (held < 2 ? held + 1 : 3);
  constexpr int kColumns = kGraphWidthPx + 1;
  cursor = ((cursor + direction * step) % kColumns + kColumns) % kColumns;
}

void CProfileScreen::CursorRight(int heldTicks) { MoveCursor(heldTicks, +1); }
void CProfileScreen::CursorLeft(int heldTicks) { MoveCursor(heldTicks, -1); }

void CProfileScreen::ZoomIn() {
  if (sampleBytes == 0 || zoom >= kMaxZoom) return;
  ++zoom;
  position = position >= 0 ? Entry(kZoomInPositions[zoom], position) : 2 * position;
}

void CProfileScreen::ZoomOut() {
  if (sampleBytes == 0 || zoom <= 0) return;
  --zoom;
  if (position >= 0) {
    const std::vector<int>& list = zoom == 0 ? kZoomOutTo0 : zoom == 1 ? kZoomOutTo1 : kZoomOutTo2[std::clamp(fftMode, 0, 3)];
    position = Entry(list, position);
  } else if (zoom <= 1) {
    position = 0;
  } else {
    position = position >= -2 ? -1 : -2;
  }
}

void CProfileScreen::ScrollEarlier() {
  if (sampleBytes == 0) return;
  const int s = ScrollStepUs();
  const int a = WindowWidthUs() / 2 + EarliestDelayUs();
  const int lowest = a / s - (a % s != 0 ? 1 : 0);
  if (position <= lowest) return;
  --position;
}

void CProfileScreen::ScrollLater() {
  if (sampleBytes == 0) return;
  const int s = ScrollStepUs();
  const int a = LatestDelayUs() - WindowWidthUs() / 2;
  const int highest = a / s + (a % s != 0 ? 1 : 0);
  if (position >= highest) return;
  ++position;
}

KeyOutcome CProfileScreen::PressKey(const KeyPress& press) {
  using K = InstrumentKey;
  static constexpr KeyBinding<CProfileScreen> kKeys[] = {
      {K::Left, false, [](CProfileScreen& s, int heldTicks) { s.CursorLeft(heldTicks); }},
      {K::Right, false, [](CProfileScreen& s, int heldTicks) { s.CursorRight(heldTicks); }},
      {K::Left, true, [](CProfileScreen& s, int) { s.ZoomOut(); }},
      {K::Right, true, [](CProfileScreen& s, int) { s.ZoomIn(); }},
      {K::Down, true, [](CProfileScreen& s, int) { s.ScrollEarlier(); }},
      {K::Up, true, [](CProfileScreen& s, int) { s.ScrollLater(); }},
  };
  return PressFromTable(*this, kKeys, press);
}

}  // namespace rxt4
