#pragma once
// The verdict line under the instrument's screen: the selected measurement's verdict
// mark, then each judged reading with its value, verdict and limit ("レベル 68.2 dBμV
// 合格 (47〜81)"). One row of fixed height whose width the layout gives: a long text
// is elided with "…" and the whole text is the tool tip, so that the window keeps its
// size whatever the data and the locale.

#include <optional>

#include "ElidedLabel.h"
#include "rxt4/judge/Verdict.h"

namespace rxt4 {

class VerdictLine : public ElidedLabel {
  Q_OBJECT
 public:
  static constexpr int kHeightPx = 16;
  static constexpr int kMarkPx = 12;

  explicit VerdictLine(QWidget* parent = nullptr);

  // A measurement's verdict and its line; nothing: the line blank, without a mark.
  void Show(std::optional<Verdict> verdict, const QString& text);
  std::optional<Verdict> verdict() const { return verdict_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::optional<Verdict> verdict_;
};

}  // namespace rxt4
