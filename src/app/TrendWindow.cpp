#include "TrendWindow.h"

#include <QApplication>
#include <QBuffer>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScatterSeries>
#include <QValueAxis>
#include <QVBoxLayout>
#include <cmath>

#include "UiPrompts.h"
#include "rxt4/data/DataFolderModel.h"
#include "rxt4/data/Sjis.h"
#include "rxt4/data/StagedFile.h"
#include "rxt4/report/TrendChart.h"

namespace rxt4 {

namespace {

constexpr int kMarkImagePx = 32;  // the light marker's square: the mark, room for an arrow
constexpr double kMarkRadiusPx = 6;
constexpr int kChartWidthPx = 900;
constexpr int kChartHeightPx = 500;
constexpr int kMaxVisitLabels = 24;  // more visits: every so many is named

// Colours that stay apart in grey as well; the shapes carry the verdict either way.
QColor ColourOf(Verdict v) {
  switch (v) {
    case Verdict::Pass: return QColor(26, 128, 56);
    case Verdict::Caution: return QColor(204, 115, 0);
    case Verdict::Fail: return QColor(199, 26, 26);
    case Verdict::None: return QColor(115, 115, 115);
  }
  return Qt::gray;
}

QString Display(const std::string& sjis) { return QString::fromStdString(DecodeSjis(sjis)); }

QString PlaceText(const PointKey& key) { return Display(key.band) + QLatin1Char(' ') + Display(key.channel); }

constexpr Reading kReadings[] = {Reading::Level, Reading::Cn, Reading::Mer, Reading::Ber};

QLineSeries* Horizontal(QChart* chart, double value, double from, double to, const QPen& pen, const QString& name) {
  auto* line = new QLineSeries(chart);
  line->setName(name);
  line->setPen(pen);
  line->append(from, value);
  line->append(to, value);
  return line;
}

}  // namespace

QImage VerdictMarkImage(Verdict verdict, int sizePx, bool below, bool above) {
  QImage image(sizePx, sizePx, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor colour = ColourOf(verdict);
  p.setPen(QPen(colour, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  const QPointF c(sizePx / 2.0, sizePx / 2.0);
  const double r = kMarkRadiusPx;
  switch (verdict) {
    case Verdict::Pass: p.drawEllipse(c, r, r); break;
    case Verdict::Caution: {
      const QPointF triangle[] = {c + QPointF(0, -r), c + QPointF(r, r * 0.8), c + QPointF(-r, r * 0.8)};
      p.drawPolygon(triangle, 3);
      break;
    }
    case Verdict::Fail:
      p.drawLine(c + QPointF(-r, -r), c + QPointF(r, r));
      p.drawLine(c + QPointF(r, -r), c + QPointF(-r, r));
      break;
    case Verdict::None: p.drawLine(c + QPointF(-r, 0), c + QPointF(r, 0)); break;
  }
  if (below || above) {
    // ▼ under a reading below the range, ▲ over one above it.
    const double s = 4, y = below ? c.y() + r + 7 : c.y() - r - 7, d = below ? 1 : -1;
    QPainterPath arrow;
    arrow.moveTo(c.x() - s, y - s * d);
    arrow.lineTo(c.x() + s, y - s * d);
    arrow.lineTo(c.x(), y + s * d);
    arrow.closeSubpath();
    p.fillPath(arrow, colour);
  }
  return image;
}

CTrendWindow::CTrendWindow(const DataFolderModel& model, std::map<std::string, std::string> measuredAt,
                           LimitsProfile profile, std::vector<PointKey> places, Reading reading, UiPrompts& prompts,
                           QWidget* parent)
    : QDialog(parent), model_(model), measuredAt_(std::move(measuredAt)), profile_(std::move(profile)),
      places_(std::move(places)), prompts_(prompts) {
  setObjectName(QStringLiteral("trendWindow"));
  setWindowTitle(Tr(StringId::TrendWindowTitle));

  place_ = new QComboBox(this);
  place_->setObjectName(QStringLiteral("trendPlace"));
  for (const PointKey& key : places_) place_->addItem(PlaceText(key));
  reading_ = new QComboBox(this);
  reading_->setObjectName(QStringLiteral("trendReading"));
  for (Reading r : kReadings) reading_->addItem(QString::fromUtf8(ReadingName(r)), static_cast<int>(r));
  reading_->setCurrentIndex(reading_->findData(static_cast<int>(reading)));
  auto* profileLabel = new QLabel(Tr(StringId::TrendProfile, {QString::fromStdString(profile_.name())}), this);

  auto* choices = new QHBoxLayout;
  choices->addWidget(new QLabel(Tr(StringId::TrendPlace), this));
  choices->addWidget(place_);
  choices->addSpacing(12);
  choices->addWidget(new QLabel(Tr(StringId::TrendReading), this));
  choices->addWidget(reading_);
  choices->addStretch();
  choices->addWidget(profileLabel);

  // What is saved and copied: the chart and the verdict legend under it.
  picture_ = new QWidget(this);
  picture_->setObjectName(QStringLiteral("trendPicture"));
  picture_->setAutoFillBackground(true);
  QPalette white = picture_->palette();
  white.setColor(QPalette::Window, Qt::white);
  picture_->setPalette(white);
  view_ = new QChartView(picture_);
  view_->setObjectName(QStringLiteral("trendChart"));
  view_->setRenderHint(QPainter::Antialiasing);
  view_->setMinimumSize(kChartWidthPx, kChartHeightPx);
  auto* legend = new QHBoxLayout;
  legend->addSpacing(16);
  for (Verdict v : {Verdict::Pass, Verdict::Caution, Verdict::Fail, Verdict::None}) {
    auto* mark = new QLabel(picture_);
    mark->setPixmap(QPixmap::fromImage(VerdictMarkImage(v, 20)));
    legend->addWidget(mark);
    legend->addWidget(new QLabel(QString::fromUtf8(VerdictText(v)), picture_));
    legend->addSpacing(14);
  }
  outside_ = new QLabel(Tr(StringId::TrendOutsideRange), picture_);
  legend->addWidget(outside_);
  legend->addStretch();
  auto* pictureLayout = new QVBoxLayout(picture_);
  pictureLayout->setContentsMargins(0, 0, 0, 6);
  pictureLayout->addWidget(view_, 1);
  pictureLayout->addLayout(legend);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* save = buttons->addButton(Tr(StringId::TrendSave), QDialogButtonBox::ActionRole);
  save->setObjectName(QStringLiteral("trendSave"));
  QPushButton* copy = buttons->addButton(Tr(StringId::TrendCopy), QDialogButtonBox::ActionRole);
  copy->setObjectName(QStringLiteral("trendCopy"));
  QPushButton* close = buttons->addButton(Tr(StringId::TrendClose), QDialogButtonBox::RejectRole);
  close->setDefault(true);
  connect(save, &QPushButton::clicked, this, &CTrendWindow::Save);
  connect(copy, &QPushButton::clicked, this, &CTrendWindow::Copy);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(choices);
  layout->addWidget(picture_, 1);
  layout->addWidget(buttons);

  connect(place_, &QComboBox::currentIndexChanged, this, &CTrendWindow::Rebuild);
  connect(reading_, &QComboBox::currentIndexChanged, this, &CTrendWindow::Rebuild);
  Rebuild();
}

void CTrendWindow::Rebuild() {
  TrendQuery query;
  const int place = place_->currentIndex();
  if (place >= 0 && place < static_cast<int>(places_.size())) {
    query.band = places_[static_cast<std::size_t>(place)].band;
    query.channel = places_[static_cast<std::size_t>(place)].channel;
  }
  query.reading = static_cast<Reading>(reading_->currentData().toInt());
  series_ = BuildTrend(model_, query, profile_, measuredAt_);

  auto* chart = new QChart;
  chart->setTitle(series_.points.empty() ? Tr(StringId::TrendNoPoints)
                                         : QString::fromStdString(TrendChartTitle(series_)));
  QFont titleFont = chart->titleFont();
  titleFont.setPointSizeF(titleFont.pointSizeF() * 1.3);
  chart->setTitleFont(titleFont);
  chart->legend()->setAlignment(Qt::AlignBottom);
  chart->legend()->setMarkerShape(QLegend::MarkerShapeFromSeries);  // solid and dashed lines apart

  const TrendAxis range = AxisOf(series_);
  const double n = static_cast<double>(series_.visits.size());
  const double from = -0.5, to = std::max(n, 1.0) - 0.5;
  auto* x = new QCategoryAxis(chart);
  x->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
  x->setRange(from, to);
  x->setTitleText(Tr(StringId::TrendAxisVisits));
  const std::size_t every = (series_.visits.size() + kMaxVisitLabels - 1) / kMaxVisitLabels;
  for (std::size_t i = 0; i < series_.visits.size(); i += std::max<std::size_t>(every, 1)) {
    const TrendVisit& v = series_.visits[i];
    QString label = QString::fromStdString(v.setFolder);
    if (!v.measuredAt.empty()) label += QStringLiteral("<br>") + QString::fromStdString(v.measuredAt);
    x->append(label, static_cast<double>(i));
  }
  x->setGridLineVisible(false);
  chart->addAxis(x, Qt::AlignBottom);
  QAbstractAxis* y = nullptr;
  if (range.logarithmic) {
    auto* log = new QLogValueAxis(chart);
    log->setBase(10);
    log->setLabelFormat(QStringLiteral("%.0E"));
    log->setRange(range.low, range.high);
    log->setMinorTickCount(-1);
    y = log;
  } else {
    auto* linear = new QValueAxis(chart);
    linear->setRange(range.low, range.high);
    linear->setTickType(QValueAxis::TicksDynamic);
    linear->setTickAnchor(0);
    const double span = range.high - range.low;
    linear->setTickInterval(span <= 20 ? 2 : span <= 50 ? 5 : span <= 100 ? 10 : 20);
    linear->setLabelFormat(QStringLiteral("%g"));
    y = linear;
  }
  const QString unit = QString::fromUtf8(ReadingUnit(query.reading));
  y->setTitleText(QString::fromUtf8(ReadingName(query.reading)) + (unit.isEmpty() ? QString() : QStringLiteral(" (") + unit + QLatin1Char(')')));
  chart->addAxis(y, Qt::AlignLeft);

  std::vector<QAbstractSeries*> added;
  auto add = [&](QAbstractSeries* s, bool inLegend) {
    chart->addSeries(s);
    s->attachAxis(x);
    s->attachAxis(y);
    if (!inLegend)
      for (QLegendMarker* m : chart->legend()->markers(s)) m->setVisible(false);
    added.push_back(s);
  };

  // The limits (solid) and their margins (dashed).
  const QPen limitPen(QColor(40, 40, 40), 1.6);
  QPen marginPen(QColor(40, 40, 40), 1, Qt::DashLine);
  const Reading r = query.reading;
  const QString margin = Tr(StringId::TrendMarginLine, {QString::fromStdString(LimitNumberText(r, series_.marginDb))});
  bool marginNamed = false;
  if (series_.min) {
    add(Horizontal(chart, *series_.min, from, to, limitPen,
                   Tr(StringId::TrendLimitMin, {QString::fromStdString(LimitNumberText(r, *series_.min))})), true);
    if (series_.marginDb > 0) {
      add(Horizontal(chart, *series_.min + series_.marginDb, from, to, marginPen, margin), true);
      marginNamed = true;
    }
  }
  if (series_.max) {
    add(Horizontal(chart, *series_.max, from, to, limitPen,
                   Tr(StringId::TrendLimitMax, {QString::fromStdString(LimitNumberText(r, *series_.max))})), true);
    if (series_.marginDb > 0) add(Horizontal(chart, *series_.max - series_.marginDb, from, to, marginPen, margin), !marginNamed);
  }

  // The readings: a line through the numbers, the marks over it, one series per mark.
  auto* line = new QLineSeries(chart);
  line->setName(QString::fromUtf8(ReadingName(r)));
  line->setPen(QPen(QColor(140, 153, 179), 1.5));
  bool outside = false;
  std::map<std::tuple<Verdict, bool, bool>, QScatterSeries*> marks;
  for (std::size_t i : TrendLinePoints(series_))
    line->append(static_cast<double>(series_.points[i].visit), PlotValue(series_.points[i].result, range));
  for (const TrendPoint& p : series_.points) {
    const double value = PlotValue(p.result, range);
    const bool below = p.result.kind == ValueKind::BelowRange, above = p.result.kind == ValueKind::AboveRange;
    outside = outside || below || above;
    QScatterSeries*& s = marks[{p.result.verdict, below, above}];
    if (!s) {
      s = new QScatterSeries(chart);
      s->setName(QString::fromUtf8(VerdictText(p.result.verdict)));
      s->setMarkerSize(kMarkImagePx);
      s->setLightMarker(VerdictMarkImage(p.result.verdict, kMarkImagePx, below, above));
    }
    s->append(static_cast<double>(p.visit), value);
  }
  add(line, true);
  for (auto& [key, s] : marks) add(s, false);
  outside_->setVisible(outside);

  QChart* old = view_->chart();
  view_->setChart(chart);
  delete old;
}

QImage CTrendWindow::Picture() const { return picture_->grab().toImage(); }

bool CTrendWindow::SavePicture(const QString& path, QString* reason) const {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!Picture().save(&buffer, "PNG")) {
    if (reason) *reason = QString::fromStdString(ReasonText(std::make_error_code(std::errc::not_enough_memory)));
    return false;
  }
  StagedFile file(FsPath(path));
  if (!file.Write(bytes.constData(), static_cast<std::size_t>(bytes.size())) || !file.Commit()) {
    if (reason) *reason = QString::fromStdString(ReasonText(file.error()));
    return false;
  }
  return true;
}

void CTrendWindow::Save() {
  const QString proposed = QString::fromStdString(TrendChartTitle(series_)).replace(QLatin1Char(' '), QLatin1Char('_')).replace(QLatin1Char('/'), QLatin1Char('_')) + QStringLiteral(".png");
  const std::optional<QString> path = prompts_.ChooseSaveFile(this, Tr(StringId::TrendSave), proposed,
                                                              Tr(StringId::TrendPngFilter), QStringLiteral("png"));
  if (!path) return;
  QString reason;
  if (!SavePicture(*path, &reason))
    prompts_.Inform(this, Tr(StringId::TrendSaveFailed, {*path, reason}), UiPrompts::Icon::Error);
}

void CTrendWindow::Copy() { QApplication::clipboard()->setImage(Picture()); }

}  // namespace rxt4
