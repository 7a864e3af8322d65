#pragma once
// Reading rules shared by the level, BER and SKY screens.

#include <string>
#include <string_view>

#include "rxt4/screens/Screen.h"

namespace rxt4 {

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
