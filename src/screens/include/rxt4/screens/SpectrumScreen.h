#pragma once
// CSpectrumScreen: a spectrum measurement as the instrument's spectrum screen: the
// level trace of one channel (read from the row's companion file) on a grid with a
// symmetric level scale, the edge and centre frequencies below it, band name,
// channel and modulation in the bottom rows. シフト + ← and → step the level scale
// through four ranges.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "rxt4/screens/CompanionData.h"
#include "rxt4/screens/CompanionScreen.h"

namespace rxt4 {

class CSpectrumScreen : public CCompanionScreen {
 public:
  static constexpr int kRangeCount = 4;

  explicit CSpectrumScreen(std::shared_ptr<const FontSet> fonts);

  // The key table (KeyBinding) of the screen.
  KeyOutcome PressKey(const KeyPress& press) override;
  void Draw(Surface& dc) override;
  // Derives the texts and reads the trace.
  void Format() override;

  // Key actions. They change the state only; the screen set then paints the area whole.
  // Without a trace they do nothing.
  // シフト + →: the next level range (3 wraps to 0).
  void NextRange();
  // シフト + ←: the previous level range (0 wraps to 3).
  void PreviousRange();

  // Sample n of the stored payload (signed 16-bit little-endian); 0 beyond it.
  std::int16_t Sample(int n) const;

  std::string lowFrequencyText;
  std::string centreFrequencyText;
  std::string highFrequencyText;
  std::array<std::uint8_t, kSpectrumPayloadBytes> samples{};  // the most a companion file gives (1972 samples)
  std::size_t sampleBytes = 0;
  int scaleIndex = 2;  // kept across data sets

 private:
  void DrawScaleLabels(Surface& dc) const;
  void DrawGrid(Surface& dc) const;
  void DrawFrequencyLabels(Surface& dc) const;
  void DrawTrace(Surface& dc) const;
};

}  // namespace rxt4
