#pragma once
// CConstelScreen: a constellation measurement as the instrument's constellation
// screen: band name, channel, layer and MER fields on the left, the stored
// one-bit-per-pixel diagram (the row's companion file) on the right, the modulation
// in the bottom row. It has no key actions.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "rxt4/screens/Screen.h"

namespace rxt4 {

class CConstelScreen : public CScreen {
 public:
  // The diagram (CompanionData.h) lies with its bottom-left pixel here.
  static constexpr int kDiagramLeftX = 120;
  static constexpr int kDiagramBottomY = 218;

  explicit CConstelScreen(std::shared_ptr<const FontSet> fonts);

  // Copies the row and the companion base path (the table path up to and including
  // its last ".") and derives the texts; an absent row only resets bandClass to 0.
  void SetData(const MeasurementRow& row, std::string_view companionBase);
  // The record's row with the companion base of its table (SetData).
  void TakeRecord(const CDataSet& record) override { SetData(record.row, record.companionBase()); }
  std::optional<std::string> ShowDataName() const override { return DataNameLabel(); }
  void Draw(Surface& dc) override;
  void Format() override;

  // True for the screen types this screen draws (0 terrestrial, 1 one-seg, 7 VU/CATV).
  static bool DrawsScreenType(int type) { return type == 0 || type == 1 || type == 7; }

  MeasurementRow row;
  std::string companionPath;
  std::string channelText;
  std::string layerText = "_";
  std::string merText;
  int merFlag = 0;

 private:
  void DrawDiagram(Surface& dc) const;
};

}  // namespace rxt4
