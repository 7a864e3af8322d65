#include "ScreenSide.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "ElidedLabel.h"
#include "ScreenView.h"
#include "Retranslate.h"

namespace rxt4 {
namespace {

// The title row and the data name row hold the ink of a 9-point line: fixed, so that
// the side, and so the snapshot, has one size whatever the locale and the fonts installed.
constexpr int kLabelRowPx = 14;
constexpr int kSideMarginPx = 9;
constexpr int kSideSpacingPx = 6;
constexpr int kNumberMinWidthPx = 32;
constexpr int kSlashMinWidthPx = 16;

}  // namespace

ScreenSide::ScreenSide(const Surface& surface, QWidget* parent) : QFrame(parent) {
  setObjectName(QStringLiteral("screenSide"));
  setFrameShape(QFrame::Box);
  setAutoFillBackground(true);
  auto boundLabel = [this](StringId text) {
    auto* label = new QLabel(this);
    BindText(label, text);
    return label;
  };
  title_ = new ElidedLabel(Qt::ElideRight, this);
  title_->setObjectName(QStringLiteral("title"));
  index_ = new QLabel(QStringLiteral("0"), this);
  index_->setObjectName(QStringLiteral("dataNo"));
  index_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  index_->setMinimumWidth(kNumberMinWidthPx);
  count_ = new QLabel(QStringLiteral("0"), this);
  count_->setObjectName(QStringLiteral("dataCount"));
  count_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  count_->setMinimumWidth(kNumberMinWidthPx);
  auto* slash = new QLabel(QStringLiteral("/"), this);
  slash->setAlignment(Qt::AlignCenter);
  slash->setMinimumWidth(kSlashMinWidthPx);
  auto* header = new QHBoxLayout;
  header->addWidget(title_, 1);
  header->addWidget(boundLabel(StringId::LabelDataNo));
  header->addWidget(index_);
  header->addWidget(slash);
  header->addWidget(count_);
  view_ = new ScreenView(surface, this);
  view_->setObjectName(QStringLiteral("screenArea"));
  // Cut at the frame: the side, and so the snapshot, keeps its size.
  dataName_ = new ElidedLabel(Qt::ElideRight, this);
  dataName_->setObjectName(QStringLiteral("dataName"));
  auto* footer = new QHBoxLayout;
  footer->addWidget(boundLabel(StringId::LabelDataName));
  footer->addWidget(dataName_, 1);
  auto* side = new QVBoxLayout(this);
  side->setContentsMargins(kSideMarginPx, kSideMarginPx, kSideMarginPx, kSideMarginPx);
  side->setSpacing(kSideSpacingPx);
  side->addLayout(header);
  side->addWidget(view_, 0, Qt::AlignCenter);
  side->addLayout(footer);
  for (QLabel* label : findChildren<QLabel*>()) label->setFixedHeight(kLabelRowPx);
  FitSize();
}

void ScreenSide::FitSize() {
  // The area, its frame and margins, and the two label rows: nothing that follows the font.
  const int edge = 2 * (kSideMarginPx + frameWidth());
  const QSize area = view_->sizeHint();
  setFixedSize(area.width() + edge, area.height() + 2 * (kLabelRowPx + kSideSpacingPx) + edge);
}

void ScreenSide::SetZoom(int zoom) {
  view_->SetZoom(zoom);
  FitSize();
  // Laid out at once rather than by the event loop, so that the window around it can
  // take its new size at once.
  layout()->invalidate();
  layout()->activate();
}

void ScreenSide::ShowLabels(const QString& title, const std::optional<QString>& dataName, const QString& index,
                            const QString& count) {
  title_->setText(title);
  if (dataName) dataName_->SetText(*dataName);
  index_->setText(index);
  count_->setText(count);
}

void ScreenSide::BlankLabels() {
  index_->setText(QStringLiteral("  "));
  count_->setText(QStringLiteral("  "));
  title_->setText(QStringLiteral(" "));
  dataName_->SetText(QStringLiteral(" "));
}

QString ScreenSide::dataName() const { return dataName_->text(); }

QImage ScreenSide::Render() { return grab().toImage(); }

}  // namespace rxt4
