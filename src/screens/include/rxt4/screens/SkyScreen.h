#pragma once
// CSkyScreen: one SKY (satellite pay TV) measurement: two satellite channels of a row.

#include <memory>
#include <string>

#include "rxt4/screens/TextScreen.h"

namespace rxt4 {

class CSkyScreen : public CTextScreen {
 public:
  explicit CSkyScreen(std::shared_ptr<const FontSet> fonts);

  void Draw(Surface& dc) override;
  void Format() override;

  std::string channel2Text;
  std::string levelText;
  std::string level2Text;
  int levelState = 0;
  int level2State = 0;
  std::string berText;
  std::string ber2Text;
  std::string cnText;
  std::string cn2Text;
  int cnFlag = 0;
  int cn2Flag = 0;
  bool correctionOn = false;
  bool correction2On = false;
};

}  // namespace rxt4
