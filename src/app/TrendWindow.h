#pragma once
// 表示 → 推移...: the chart of one place (band and channel) of the selected measurement
// across every set folder of the data folder, in visit order: level, C/N, MER or BER,
// the profile's limits as lines, each reading marked by its verdict (○ 合格, △ 注意,
// × 不合格, – 判定なし: shape and colour). The chart can be saved as a PNG file and
// copied.

#include <QDialog>
#include <QImage>
#include <map>
#include <string>
#include <vector>

#include "rxt4/judge/LimitsProfile.h"
#include "rxt4/judge/Trend.h"

class QChartView;
class QComboBox;
class QLabel;

namespace rxt4 {

class DataFolderModel;
class UiPrompts;

class CTrendWindow : public QDialog {
  Q_OBJECT
 public:
  // places: those the selected measurement shows, the first shown first. The model
  // must outlive the window (it is modal).
  CTrendWindow(const DataFolderModel& model, std::map<std::string, std::string> measuredAt, LimitsProfile profile,
               std::vector<PointKey> places, Reading reading, UiPrompts& prompts, QWidget* parent = nullptr);

  const TrendSeries& series() const { return series_; }
  // The chart with its verdict legend, as saved and copied.
  QImage Picture() const;
  // Writes Picture() as a PNG file through a staged file; false with the reason.
  bool SavePicture(const QString& path, QString* reason) const;

 private:
  void Rebuild();
  void Save();
  void Copy();

  const DataFolderModel& model_;
  std::map<std::string, std::string> measuredAt_;
  LimitsProfile profile_;
  std::vector<PointKey> places_;
  UiPrompts& prompts_;
  TrendSeries series_;
  QComboBox* place_ = nullptr;
  QComboBox* reading_ = nullptr;
  QWidget* picture_ = nullptr;
  QChartView* view_ = nullptr;
  QLabel* outside_ = nullptr;
};

// The mark of a verdict as the chart draws it, centred in a square image of sizePx;
// below/above: a reading beyond the meter's range, with an arrow under or over it.
QImage VerdictMarkImage(Verdict verdict, int sizePx, bool below = false, bool above = false);

}  // namespace rxt4
