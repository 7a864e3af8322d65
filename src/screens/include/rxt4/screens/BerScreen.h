#pragma once
// CBerScreen: one BER measurement as the instrument's BER screen.

#include <memory>
#include <string>

#include "rxt4/screens/TextScreen.h"

namespace rxt4 {

class CBerScreen : public CTextScreen {
 public:
  explicit CBerScreen(std::shared_ptr<const FontSet> fonts);

  void Draw(Surface& dc) override;
  void Format() override;

  std::string frequencyText;
  std::string cnText;
  int cnFlag = 0;
  std::string berText;
  std::string merText;
  int merFlag = 0;
  std::string layerText;
};

}  // namespace rxt4
