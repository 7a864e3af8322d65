#pragma once
// CConstelScreen: a constellation measurement as the instrument's constellation
// screen: band name, channel, layer and MER fields on the left, the stored
// one-bit-per-pixel diagram (the row's companion file) on the right, the modulation
// in the bottom row. It has no key actions.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "rxt4/screens/CompanionScreen.h"

namespace rxt4 {

class CConstelScreen : public CCompanionScreen {
 public:
  // The diagram (CompanionData.h) lies with its bottom-left pixel here.
  static constexpr int kDiagramLeftX = 120;
  static constexpr int kDiagramBottomY = 218;

  explicit CConstelScreen(std::shared_ptr<const FontSet> fonts);

  void Draw(Surface& dc) override;
  void Format() override;

  // True for the screen types this screen draws (0 terrestrial, 1 one-seg, 7 VU/CATV).
  static bool DrawsScreenType(int type) { return type == 0 || type == 1 || type == 7; }

  std::string layerText = "_";
  std::string merText;
  int merFlag = 0;

 private:
  void DrawDiagram(Surface& dc) const;
};

}  // namespace rxt4
