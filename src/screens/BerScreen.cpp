#include "rxt4/screens/BerScreen.h"

#include "ScreenRules.h"
#include "rxt4/data/Sjis.h"
#include "rxt4/data/TextRules.h"

namespace rxt4 {

namespace {

using Row = CFieldPanel::Row;

enum class Layout { None, Terrestrial, OneSegment, Satellite };

Layout LayoutOf(int type) {
  switch (type) {
    case 0: case 7: return Layout::Terrestrial;
    case 1: return Layout::OneSegment;
    case 2: case 3: case 9: return Layout::Satellite;
    default: return Layout::None;
  }
}

}  // namespace

CBerScreen::CBerScreen(std::shared_ptr<const FontSet> fonts) : CTextScreen(std::move(fonts)) {}

void CBerScreen::Format() {
  screenType = static_cast<int>(ParseInt(Field(row, Column::ScreenType)));
  DeriveBandClass(row);
  berText = std::string(Field(row, Column::Ber));

  const ShownReading mer = ReadClamped(Field(row, Column::Mer), screenType == 1, 5, 30);
  merText = mer.text;
  merFlag = mer.flag;

  bool clamp = true;
  double upper = 25;
  switch (screenType) {
    case 0: case 7: upper = 30; break;
    case 2: case 3: upper = 25; break;
    case 9: {
      // Two of the other satellites have a lower C/N ceiling.
      const std::string_view name = Trim(Field(row, Column::BandName));
      upper = (name == SjisText(StringId::SatJcsat3a) || name == SjisText(StringId::SatJcsat4a)) ? 20 : 25;
      break;
    }
    default: clamp = false; break;
  }
  const ShownReading cn = ReadClamped(Field(row, Column::Cn), clamp, 5, upper);
  cnText = cn.text;
  cnFlag = cn.flag;

  kindName = LayoutOf(screenType) != Layout::None ? ScreenTypeName(screenType) : std::string(" ");
  ReadFieldTexts(*this, row, channelText, frequencyText);
  layerText = std::string(Field(row, Column::Layer));
}

void CBerScreen::Draw(Surface& dc) {
  const Layout layout = LayoutOf(screenType);
  if (layout == Layout::None) {
    ClearScreenArea(dc);
    return;
  }
  ClearScreenArea(dc);
  if (layout == Layout::Satellite) {
    panel.DrawSatelliteName(dc, Row::First, bandName);
    panel.DrawChannel(dc, Row::First, channelText);
    panel.DrawPolarization(dc, Row::First, polarizationOrModulation);
    panel.DrawFrequency(dc, CFieldPanel::FrequencyPlace::Centre, frequencyText);
    panel.DrawBer(dc, Row::First, berText);
    panel.DrawCn(dc, Row::Second, cnText, cnFlag);
    DrawOscillatorText(dc);
    DrawConverterLabel(dc);
    DrawSatelliteFooterBox(dc);
    DrawConverterPower(dc, Field(row, Column::ConverterPower));
    return;
  }
  panel.DrawBandName(dc, bandName);
  panel.DrawChannel(dc, Row::First, channelText);
  panel.DrawFrequency(dc, CFieldPanel::FrequencyPlace::Left, frequencyText);
  panel.DrawBer(dc, Row::First, berText);
  if (layout == Layout::OneSegment) panel.DrawMer(dc, Row::Second, merText, merFlag);
  else panel.DrawCn(dc, Row::Second, cnText, cnFlag);
  panel.DrawLayer(dc, layerText);
  DrawModulationText(dc);
  DrawModulationLabel(dc);
  DrawTerrestrialFooterBox(dc);
}

}  // namespace rxt4
