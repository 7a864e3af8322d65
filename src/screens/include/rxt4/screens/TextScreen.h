#pragma once
// CTextScreen: the base of the level, BER and SKY screens, which draw one row with
// the labelled fields of CFieldPanel.

#include <memory>
#include <optional>
#include <string>

#include "rxt4/screens/FieldPanel.h"

namespace rxt4 {

class CTextScreen : public CScreen {
 public:
  explicit CTextScreen(std::shared_ptr<const FontSet> fonts) : CScreen(fonts), panel(fonts) {}

  // Copies the row and derives its texts (Format); an absent row only resets bandClass to 0.
  void SetData(const MeasurementRow& data) {
    if (TakeRow(data, row)) Format();
  }
  // The record's row (SetData).
  void TakeRecord(const CDataSet& record) override { SetData(record.row); }
  std::optional<std::string> ShowDataName() const override { return DataNameLabel(); }

  MeasurementRow row;
  CFieldPanel panel;
  std::string channelText;
};

}  // namespace rxt4
