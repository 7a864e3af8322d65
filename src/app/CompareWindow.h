#pragma once
// 表示 → 比較...: two set folders (visits) of the data folder side by side: one row per
// reading of each place (kind, band, channel) with the value and verdict of both
// visits and the change, places met on one visit only included.

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "rxt4/judge/CompareRows.h"
#include "rxt4/judge/LimitsProfile.h"

class QComboBox;
class QPushButton;
class QTableWidget;

namespace rxt4 {

class DataFolderModel;

class CCompareWindow : public QDialog {
  Q_OBJECT
 public:
  // setFolders in visit order; before and after index into them. The model must
  // outlive the window (it is modal).
  CCompareWindow(const DataFolderModel& model, LimitsProfile profile, std::vector<std::string> setFolders,
                 std::size_t before, std::size_t after, QWidget* parent = nullptr);

  // 比較レポート...: called with the two set folders chosen (before, after); the
  // button shows only once this is set.
  void SetReportAction(std::function<void(const std::string&, const std::string&)> report);

  const std::vector<CompareRow>& rows() const { return rows_; }
  QTableWidget* table() const { return table_; }

 private:
  void Rebuild();

  const DataFolderModel& model_;
  LimitsProfile profile_;
  std::vector<std::string> setFolders_;
  std::vector<CompareRow> rows_;
  QComboBox* before_ = nullptr;
  QComboBox* after_ = nullptr;
  QTableWidget* table_ = nullptr;
  QPushButton* reportButton_ = nullptr;
  std::function<void(const std::string&, const std::string&)> report_;
};

}  // namespace rxt4
