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
#include "rxt4/screens/Screen.h"

namespace rxt4 {

class CSpectrumScreen : public CScreen {
 public:
  static constexpr int kRangeCount = 4;

  explicit CSpectrumScreen(std::shared_ptr<const FontSet> fonts);

  // Copies the row and the companion base path and derives the texts and the trace;
  // an absent row only resets bandClass to 0.
  void SetData(const MeasurementRow& row, std::string_view companionBase);
  // The record's row with the companion base of its table (SetData).
  void TakeRecord(const CDataSet& record) override { SetData(record.row, record.companionBase()); }
  // The key table (KeyBinding) of the screen.
  KeyOutcome PressKey(const KeyPress& press) override;
  std::optional<std::string> ShowDataName() const override { return DataNameLabel(); }
  void Draw(Surface& dc) override;
  void Format() override;

  // Key actions. They change the state only; the caller then draws the screen whole.
  // Without a trace they do nothing.
  // シフト + →: the next level range (3 wraps to 0).
  void NextRange();
  // シフト + ←: the previous level range (0 wraps to 3).
  void PreviousRange();

  // Sample n of the stored payload (signed 16-bit little-endian); 0 beyond it.
  std::int16_t Sample(int n) const;

  MeasurementRow row;
  std::string companionPath;
  std::string channelText;
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
