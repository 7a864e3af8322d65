#pragma once
// CProfileScreen: a delay profile measurement as the instrument's delay profile
// screen: received power over echo delay (dB relative to the main path) for a window
// of delays, a marker with the delay and D/U readout, four zoom steps and scrolling.
// The profile is read from the row's companion file.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "rxt4/screens/CompanionData.h"
#include "rxt4/screens/CompanionScreen.h"

namespace rxt4 {

class CProfileScreen : public CCompanionScreen {
 public:
  static constexpr int kGraphWidthPx = 260;  // the delay window's width; columns 0..260
  static constexpr int kMaxZoom = 3;

  explicit CProfileScreen(std::shared_ptr<const FontSet> fonts);

  // The key table (KeyBinding) of the screen.
  KeyOutcome PressKey(const KeyPress& press) override;
  void Draw(Surface& dc) override;
  // Derives the texts, loads the profile and resets zoom, position and marker.
  void Format() override;

  // Key actions. They change the state only; the screen set then paints the area whole.
  // Without a profile they do nothing.
  // → / ←: moves the marker by the mode's step, times (heldTicks + 1) below two ticks
  // held and times 3 from then on, wrapping around the 261 columns.
  void CursorRight(int heldTicks);
  void CursorLeft(int heldTicks);
  // シフト + → / ←: one zoom step in / out, keeping the window centre.
  void ZoomIn();
  void ZoomOut();
  // シフト + ↓ / ↑: scrolls the window one step toward earlier / later delays.
  void ScrollEarlier();
  void ScrollLater();

  // Loads a companion file into samples/sampleBytes/sampleCount/fftMode/peakValue;
  // false (no profile) when it is missing or malformed.
  bool LoadProfile(const std::string& file);

  // Window width W and scroll step S (µs) of the current mode and zoom; 0 without a profile.
  int WindowWidthUs() const;
  int ScrollStepUs() const;
  // Earliest and latest delay (µs) of the current mode.
  int EarliestDelayUs() const;
  int LatestDelayUs() const;
  // Delay of graph column i (single precision, as the instrument computes it).
  float ColumnDelay(int column) const;
  // Sample index of a delay: negative delays lie at the end of the buffer.
  int IndexOfDelay(float delayUs) const;
  // Largest sample from index a forward to index b (wrapping); a == b is that one sample.
  std::int16_t RangeMaximum(int a, int b) const;
  // Screen y of a value in tenths of a dB (0 dB at 26, -50 dB at 176).
  int YOfValue(int value) const;
  // The window for the current zoom and position, clamped to the mode's delays.
  void ComputeWindow();
  // Readout delay text: one decimal cut (not rounded), right-aligned in 6 characters.
  static std::string DelayText(float delayUs);
  // Readout D/U text: one decimal, right-aligned in 6 characters.
  static std::string RatioText(double du);

  std::array<std::int16_t, kMaxProfileSamples> samples{};
  std::uint32_t sampleBytes = 0;
  int sampleCount = 0;
  int fftMode = 0;
  std::int16_t peakValue = 0;
  int peakIndex = 0;  // where the peak search found the main path, before it was moved
  int zoom = 0;
  int position = 1;
  int cursor = 0;
  bool firstDraw = true;
  int leftDelay = 0;
  int rightDelay = 0;

 private:
  void DrawGraph(Surface& dc);
  void DrawMarker(Surface& dc) const;
  void DrawGuardLine(Surface& dc) const;
  void DrawReadout(Surface& dc) const;
  void MoveCursor(int heldTicks, int direction);
};

}  // namespace rxt4
