#pragma once
// CCompanionScreen: the base of the constellation, spectrum and delay profile
// screens, which draw one row together with the row's companion file (the table
// path up to and including its last ".", followed by the rightmost three characters
// of column 0).

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "rxt4/screens/Screen.h"

namespace rxt4 {

class CCompanionScreen : public CScreen {
 public:
  explicit CCompanionScreen(std::shared_ptr<const FontSet> fonts) : CScreen(std::move(fonts)) {}

  // Copies the row and the companion base path and derives the texts (Format); an
  // absent row only resets bandClass to 0.
  void SetData(const MeasurementRow& data, std::string_view companionBase) {
    if (!TakeRow(data, row)) return;
    companionPath = std::string(companionBase);
    Format();
  }
  // The record's row with the companion base of its table (SetData).
  void TakeRecord(const CDataSet& record) override { SetData(record.row, record.companionBase()); }
  std::optional<std::string> ShowDataName() const override { return DataNameLabel(); }

  MeasurementRow row;
  std::string companionPath;
  std::string channelText;
};

}  // namespace rxt4
