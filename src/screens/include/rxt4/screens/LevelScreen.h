#pragma once
// CLevelScreen: one level measurement as the instrument's level screen.

#include <memory>
#include <string>

#include "rxt4/screens/TextScreen.h"

namespace rxt4 {

class CLevelScreen : public CTextScreen {
 public:
  explicit CLevelScreen(std::shared_ptr<const FontSet> fonts);

  void Draw(Surface& dc) override;
  void Format() override;

  std::string levelText;
  int levelState = 0;
  std::string frequencyText;
  std::string cnText;
  int cnFlag = 0;
  bool correctionOn = false;
};

}  // namespace rxt4
