#include "rxt4/screens/LevelScreen.h"

#include <cmath>

#include "ScreenRules.h"
#include "rxt4/data/Sjis.h"
#include "rxt4/data/TextRules.h"

namespace rxt4 {

namespace {

using Row = CFieldPanel::Row;

enum class Layout { None, Terrestrial, Satellite, SatelliteWithCn };

Layout LayoutOf(int type) {
  switch (type) {
    case 0: case 7: case 8: case 11: return Layout::Terrestrial;
    case 2: case 3: case 9: return Layout::Satellite;
    case 10: return Layout::SatelliteWithCn;
    default: return Layout::None;
  }
}

// Screen types whose name the title label shows (type 4 is named but draws nothing).
bool Named(int type) { return LayoutOf(type) != Layout::None || type == 4; }

bool SatelliteRange(int type) { return type == 2 || type == 3 || type == 4 || type == 9 || type == 10; }

}  // namespace

CLevelScreen::CLevelScreen(std::shared_ptr<const FontSet> fonts) : CTextScreen(std::move(fonts)) {}

void CLevelScreen::Format() {
  screenType = static_cast<int>(ParseInt(Field(row, Column::ScreenType)));
  DeriveBandClass(row);
  correctionOn = CorrectionOn(Field(row, Column::Correction));
  kindName = Named(screenType) ? ScreenTypeName(screenType) : std::string(" ");
  const bool satellite = SatelliteRange(screenType);
  const LevelReading level = ReadLevel(Field(row, Column::Level), satellite ? 43 : 20, satellite ? 105 : 120);
  levelText = level.text;
  levelState = level.state;

  // Only the other-satellite C/N screen clamps, by band number.
  bool clamp = false;
  double upper = 0;
  if (screenType == 10) {
    if ((bandNumber >= 1 && bandNumber <= 4) || bandNumber == 7 || bandNumber == 8) {
      clamp = true;
      upper = 25;
    } else if (bandNumber == 5 || bandNumber == 6) {
      clamp = true;
      upper = 20;
    }
  }
  const ShownReading cn = ReadClamped(Field(row, Column::Cn), clamp, 5, upper);
  cnText = cn.text;
  cnFlag = cn.flag;

  ReadFieldTexts(*this, row, channelText, frequencyText);
}

void CLevelScreen::Draw(Surface& dc) {
  const Layout layout = LayoutOf(screenType);
  if (layout == Layout::None) {
    ClearScreenArea(dc);
    return;
  }
  ClearScreenArea(dc);
  if (layout == Layout::Terrestrial) {
    panel.DrawBandName(dc, bandName);
    panel.DrawChannel(dc, Row::First, channelText);
  } else {
    panel.DrawSatelliteName(dc, Row::First, bandName);
    panel.DrawChannel(dc, Row::First, channelText);
    panel.DrawPolarization(dc, Row::First, polarizationOrModulation);
  }
  panel.DrawFrequency(dc, CFieldPanel::FrequencyPlace::Centre, frequencyText);
  panel.DrawLevel(dc, Row::First, levelText, levelState);
  panel.DrawCorrectionMark(dc, Row::First, correctionOn);
  if (layout == Layout::SatelliteWithCn) panel.DrawCn(dc, Row::Second, cnText, cnFlag);
  if (layout == Layout::Terrestrial) {
    DrawModulationText(dc);
    DrawModulationLabel(dc);
    DrawTerrestrialFooterBox(dc);
  } else {
    DrawOscillatorText(dc);
    DrawConverterLabel(dc);
    DrawSatelliteFooterBox(dc);
    DrawConverterPower(dc, Field(row, Column::ConverterPower));
  }
}

}  // namespace rxt4
