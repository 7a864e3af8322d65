#include "rxt4/screens/SkyScreen.h"

#include "ScreenRules.h"
#include "rxt4/data/Sjis.h"
#include "rxt4/data/TextRules.h"

namespace rxt4 {

namespace {

using Row = CFieldPanel::Row;

// The SKY screen's level range and C/N limits.
constexpr double kLevelLowerDbuv = 43;
constexpr double kLevelUpperDbuv = 105;
constexpr double kCnLowerDb = 5;
constexpr double kCnUpperDb = 20;

constexpr int kLevelLayout = 4;
constexpr int kBerLayout = 5;
constexpr int kCnLayout = 6;

}  // namespace

CSkyScreen::CSkyScreen(std::shared_ptr<const FontSet> fonts) : CTextScreen(std::move(fonts)) {}

void CSkyScreen::Format() {
  screenType = static_cast<int>(ParseInt(Field(row, Column::ScreenType)));
  DeriveBandClass(row);
  correctionOn = CorrectionOn(Field(row, Column::Correction));
  const LevelReading level = ReadLevel(Field(row, Column::Level), kLevelLowerDbuv, kLevelUpperDbuv);
  levelText = level.text;
  levelState = level.state;
  correction2On = CorrectionOn(Field(row, Column::Correction2));
  const LevelReading level2 = ReadLevel(Field(row, Column::Level2), kLevelLowerDbuv, kLevelUpperDbuv);
  level2Text = level2.text;
  level2State = level2.state;
  berText = std::string(Field(row, Column::Ber));
  ber2Text = std::string(Field(row, Column::Ber2));
  const ShownReading cn = ReadClamped(Field(row, Column::Cn), true, kCnLowerDb, kCnUpperDb);
  cnText = cn.text;
  cnFlag = cn.flag;
  const ShownReading cn2 = ReadClamped(Field(row, Column::Cn2), true, kCnLowerDb, kCnUpperDb);
  cn2Text = cn2.text;
  cn2Flag = cn2.flag;
  dataName = std::string(Field(row, Column::DataName));
  bandName = std::string(Field(row, Column::BandName));
  channelText = std::string(Field(row, Column::Channel));
  bandName2 = std::string(Field(row, Column::BandName2));
  channel2Text = std::string(Field(row, Column::Channel2));
  oscillatorText = std::string(Field(row, Column::Oscillator));
  kindName = screenType >= kLevelLayout && screenType <= kCnLayout ? ScreenTypeName(screenType) : std::string(" ");
  polarizationOrModulation = std::string(Field(row, Column::Polarization));
  polarization2 = std::string(Field(row, Column::Polarization2));
}

void CSkyScreen::Draw(Surface& dc) {
  if (screenType < kLevelLayout || screenType > kCnLayout) {
    ClearScreenArea(dc);
    return;
  }
  ClearScreenArea(dc);
  panel.DrawSatelliteName(dc, Row::First, bandName);
  panel.DrawSatelliteName(dc, Row::Second, bandName2);
  panel.DrawChannel(dc, Row::First, channelText);
  panel.DrawPolarization(dc, Row::First, polarizationOrModulation);
  panel.DrawChannel(dc, Row::Second, channel2Text);
  panel.DrawPolarization(dc, Row::Second, polarization2);
  if (screenType == kLevelLayout) {
    panel.DrawLevel(dc, Row::First, levelText, levelState);
    panel.DrawLevel(dc, Row::Second, level2Text, level2State);
    panel.DrawCorrectionMark(dc, Row::First, correctionOn);
    panel.DrawCorrectionMark(dc, Row::Second, correction2On);
  } else if (screenType == kBerLayout) {
    panel.DrawBer(dc, Row::First, berText);
    panel.DrawBer(dc, Row::Second, ber2Text);
  } else {
    panel.DrawCn(dc, Row::First, cnText, cnFlag);
    panel.DrawCn(dc, Row::Second, cn2Text, cn2Flag);
  }
  DrawOscillatorText(dc);
  DrawConverterLabel(dc);
  DrawSatelliteFooterBox(dc);
  DrawConverterPower(dc, Field(row, Column::ConverterPower));
}

}  // namespace rxt4
