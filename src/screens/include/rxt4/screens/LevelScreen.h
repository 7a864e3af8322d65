#pragma once
// CLevelScreen: one level measurement as the instrument's level screen.

#include <memory>
#include <string>

#include "rxt4/screens/FieldPanel.h"

namespace rxt4 {

class CLevelScreen : public CScreen {
 public:
  explicit CLevelScreen(std::shared_ptr<const FontSet> fonts);

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
  std::string levelText;
  int levelState = 0;
  std::string frequencyText;
  std::string cnText;
  int cnFlag = 0;
  bool correctionOn = false;
};

}  // namespace rxt4
