#include "rxt4/screens/ConstelScreen.h"


#include "Labels.h"
#include "ScreenRules.h"
#include "rxt4/data/Paths.h"
#include "rxt4/data/Sjis.h"
#include "rxt4/data/TextRules.h"
#include "rxt4/screens/CompanionData.h"

namespace rxt4 {

namespace {

constexpr double kMerLowerDb = 5.0;
constexpr double kMerUpperDb = 30.0;
// A band name longer than this many bytes does not fit the field in font 0.
constexpr std::size_t kBandFieldBytes = 8;

// "      %3.1f" cut to its rightmost four characters: the MER field is one
// character narrower than the other readings.
std::string FormatMer(double value) { return FormatRight(4, "      %3.1f", value); }

}  // namespace

CConstelScreen::CConstelScreen(std::shared_ptr<const FontSet> fonts) : CCompanionScreen(std::move(fonts)) {}

void CConstelScreen::Format() {
  screenType = static_cast<int>(ParseInt(Field(row, Column::ScreenType)));
  DeriveBandClass(row);

  merFlag = 0;
  const std::string_view mer = Field(row, Column::Mer);
  if (mer == kNoMeasurement) {
    merText = "--.-";
  } else if (mer == kBelowRange) {
    merText = "__._";
  } else if (mer == kAboveRange) {
    merText = std::string(kAboveRangeShown);
  } else {
    // The limits apply to the value as read, before it is rounded for display.
    double v = ParseReal(mer);
    if (v <= kMerLowerDb) {
      v = kMerLowerDb;
      merFlag = 1;
    } else if (v >= kMerUpperDb) {
      v = kMerUpperDb;
      merFlag = 2;
    }
    merText = FormatMer(v);
  }

  dataName = std::string(Field(row, Column::DataName));
  bandName = std::string(Field(row, Column::BandName));
  channelText = std::string(Field(row, Column::Channel));
  oscillatorText = std::string(Field(row, Column::Oscillator));
  kindName = DrawsScreenType(screenType) ? ScreenTypeName(screenType) : std::string(" ");
  polarizationOrModulation = std::string(Field(row, Column::Modulation));
  layerText = std::string(Field(row, Column::Layer));
}

void CConstelScreen::Draw(Surface& dc) {
  if (!DrawsScreenType(screenType)) {
    ClearScreenArea(dc);
    return;
  }
  ClearScreenArea(dc);
  dc.SetPenColor(kBlack);

  // Band name: the narrow fonts keep long names inside the field.
  const std::string band(Trim(bandName));
  int font = 0;
  if (band.size() > kBandFieldBytes) font = 1;
  if (band == LabelText(Label::BsPassThrough)) font = 2;
  SelectFont(font, dc);
  dc.TextOut(3, 50, band);
  SelectFont(3, dc);
  dc.TextOut(4, 28, LabelText(Label::BandName));
  dc.InvertRect(1, 26, 64, 42);
  dc.Polyline({{0, 26}, {106, 26}, {108, 28}, {108, 42}});
  dc.Polyline({{110, 26}, {112, 28}, {112, 74}});

  // Channel.
  SelectFont(0, dc);
  dc.TextOut(8, 102, channelText);
  SelectFont(3, dc);
  dc.TextOut(5, 83, LabelText(Label::Channel));
  dc.InvertRect(1, 82, 25, 98);
  dc.Polyline({{0, 82}, {52, 82}, {54, 84}, {54, 98}});
  dc.Polyline({{56, 82}, {58, 84}, {58, 130}});

  // Layer.
  SelectFont(0, dc);
  dc.TextOut(80, 102, layerText);
  SelectFont(3, dc);
  dc.TextOut(68, 83, SjisText(StringId::LayerLabel));
  dc.InvertRect(64, 82, 100, 98);
  dc.Polyline({{64, 82}, {106, 82}, {108, 84}, {108, 98}});
  dc.Polyline({{110, 82}, {112, 84}, {112, 130}});

  // MER: the below-range marker is drawn as low dashes with a point above them.
  SelectFont(4, dc);
  if (merText == "__._") {
    dc.TextOut(3, 170, "-- -");
    dc.TextOut(39, 154, ".");
  } else {
    dc.TextOut(3, 154, merText);
  }
  SelectFont(3, dc);
  dc.TextOut(13, 138, LabelText(Label::Mer));
  dc.TextOut(80, 174, LabelText(Label::Decibel));
  if (merFlag == 1) dc.TextOut(80, 156, LabelText(Label::Below));
  if (merFlag == 2) dc.TextOut(80, 156, LabelText(Label::Above));
  dc.InvertRect(1, 138, 44, 154);
  dc.Polyline({{0, 138}, {106, 138}, {108, 140}, {108, 154}});
  dc.Polyline({{110, 138}, {112, 140}, {112, 186}});
  if (merFlag != 0) dc.InvertRect(79, 155, 108, 170);

  DrawDiagram(dc);

  DrawModulationText(dc);
  DrawModulationLabel(dc);
  DrawTerrestrialFooterBox(dc);
}

void CConstelScreen::DrawDiagram(Surface& dc) const {
  // Missing or unreadable: the area stays white.
  const std::filesystem::path file = CompanionPath(companionPath, Field(row, Column::No));
  if (const std::optional<std::string> diagram = ReadConstellationDiagram(file))
    DrawConstellationDiagram(*diagram, dc, kDiagramLeftX, kDiagramBottomY);
}

}  // namespace rxt4
