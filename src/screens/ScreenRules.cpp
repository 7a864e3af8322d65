#include "ScreenRules.h"

#include <algorithm>
#include <cfloat>

#include "rxt4/data/TextRules.h"
#include "rxt4/screens/FieldPanel.h"

namespace rxt4 {

float SinglePrecision(double value) {
  return static_cast<float>(std::clamp(value, static_cast<double>(-FLT_MAX), static_cast<double>(FLT_MAX)));
}

void ReadFieldTexts(CScreen& screen, const MeasurementRow& row, std::string& channelText,
                    std::string& frequencyText) {
  screen.dataName = std::string(Field(row, Column::DataName));
  screen.bandName = std::string(Field(row, Column::BandName));
  channelText = std::string(Field(row, Column::Channel));
  screen.oscillatorText = std::string(Field(row, Column::Oscillator));
  const double frequency = ParseReal(Field(row, Column::Frequency));
  if (screen.bandClass == 1) {
    frequencyText = CScreen::FormatInteger(frequency);
    screen.polarizationOrModulation = std::string(Field(row, Column::Polarization));
  } else {
    frequencyText = CScreen::FormatTwoDecimals(frequency);
    screen.polarizationOrModulation = std::string(Field(row, Column::Modulation));
  }
}

LevelReading ReadLevel(std::string_view stored, double lower, double upper) {
  LevelReading reading;
  if (stored == kNoMeasurement) {
    reading.text = std::string(kNoMeasurementShown);
    reading.state = CFieldPanel::kLevelNone;
  } else if (stored == kBelowRange) {
    reading.state = CFieldPanel::kLevelBelow;
  } else if (stored == kAboveRange) {
    reading.state = CFieldPanel::kLevelAbove;
  } else {
    const double v = ParseReal(stored);
    if (v < lower) {
      reading.state = CFieldPanel::kLevelBelow;
    } else if (v > upper) {
      reading.state = CFieldPanel::kLevelAbove;
    } else if (v >= lower && v <= upper) {
      reading.text = CScreen::FormatOneDecimal(v);
      reading.state = CFieldPanel::kLevelShown;
    } else {
      reading.state = CFieldPanel::kLevelBelow;  // not a number: nothing sensible to show
    }
  }
  return reading;
}

bool CorrectionOn(std::string_view stored) { return Trim(stored) != "OFF"; }

ShownReading ReadClamped(std::string_view stored, bool clamp, double lower, double upper) {
  ShownReading reading;
  if (std::optional<std::string> marker = CScreen::ShownMarker(stored)) {
    reading.text = std::move(*marker);
    return reading;
  }
  double v = ParseReal(stored);
  if (clamp) {
    const ClampedReading clamped = CScreen::Clamp(v, lower, upper);
    v = clamped.value;
    reading.flag = clamped.flag;
  }
  reading.text = CScreen::FormatOneDecimal(v);
  return reading;
}

}  // namespace rxt4
