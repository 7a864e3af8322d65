#pragma once
// Rules the screens share: printing numbers into fixed fields, the single precision
// the instrument keeps its numbers in, and the readings of the level, BER and SKY
// screens.

#include <cstdio>
#include <string>
#include <string_view>

#include "rxt4/screens/Screen.h"

namespace rxt4 {

// printf of one value, whatever its length.
template <typename T>
std::string Printed(const char* format, T value) {
  char buffer[512];
  const int n = std::snprintf(buffer, sizeof buffer, format, value);
  if (n < 0) return {};
  if (static_cast<std::size_t>(n) < sizeof buffer) return std::string(buffer, static_cast<std::size_t>(n));
  std::string text(static_cast<std::size_t>(n) + 1, '\0');
  std::snprintf(text.data(), text.size(), format, value);
  text.resize(static_cast<std::size_t>(n));
  return text;
}

// printf of one value, cut to its rightmost `keep` characters: how the instrument
// right-aligns a number in a field of fixed width (a wide format, then the cut; a
// number too long for the field loses its leading digits).
template <typename T>
std::string FormatRight(std::size_t keep, const char* format, T value) {
  std::string text = Printed(format, value);
  return text.size() > keep ? text.substr(text.size() - keep) : text;
}

// A stored number in single precision, as the instrument holds it; numbers beyond
// the single precision range are held at its ends (converting them is undefined).
float SinglePrecision(double value);

// A level text and its state (0 shown, 1 no measurement, 2 above, 3 below range).
struct LevelReading {
  std::string text;
  int state = 0;
};

// Level display of a stored level column with the in-range limits lower..upper.
LevelReading ReadLevel(std::string_view stored, double lower, double upper);

// True unless the correction column, trimmed, is exactly "OFF".
bool CorrectionOn(std::string_view stored);

// Display text and limit flag of a C/N or MER column: markers shown as their
// display forms, numbers clamped to lower..upper when `clamp` is set.
struct ShownReading {
  std::string text;
  int flag = 0;
};
ShownReading ReadClamped(std::string_view stored, bool clamp, double lower, double upper);

// The texts the level and BER screens take from a row alike: data, band, channel and
// oscillator texts, and by band class (bandClass already derived) the frequency as an
// integer with the polarization (class 1) or with two decimals with the modulation.
void ReadFieldTexts(CScreen& screen, const MeasurementRow& row, std::string& channelText,
                    std::string& frequencyText);

}  // namespace rxt4
