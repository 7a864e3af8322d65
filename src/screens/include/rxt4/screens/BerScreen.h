#pragma once
// CBerScreen: one BER measurement as the instrument's BER screen.

#include <memory>
#include <string>

#include "rxt4/screens/FieldPanel.h"

namespace rxt4 {

class CBerScreen : public CScreen {
 public:
  explicit CBerScreen(std::shared_ptr<const FontSet> fonts);

  // Copies the row and derives its texts; an absent row only resets bandClass to 0.
  void SetData(const MeasurementRow& row);
  // The record's row (SetData).
  void TakeRecord(const CDataSet& record) override { SetData(record.row); }
  std::optional<std::string> ShowDataName() const override { return DataNameLabel(); }
  void Draw(Surface& dc) override;
  void Format() override;

  MeasurementRow row;
  CFieldPanel panel;
  std::string channelText;
  std::string frequencyText;
  std::string cnText;
  int cnFlag = 0;
  std::string berText;
  std::string merText;
  int merFlag = 0;
  std::string layerText;
};

}  // namespace rxt4
