// The measurement report: plans the pages (title, tables, screens) first, so that
// every page can carry "n / N", then draws them one by one onto the PDF canvas.

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>
#include <vector>

#include "PdfCanvas.h"
#include "rxt4/data/Sjis.h"
#include "rxt4/data/StagedFile.h"
#include "rxt4/data/Strings.h"
#include "rxt4/data/TextRules.h"
#include "rxt4/report/ExportTables.h"
#include "rxt4/report/Report.h"
#include "rxt4/screens/ScreenSet.h"

namespace rxt4 {

namespace {

// Page geometry (points).
constexpr double kMarginPt = 42.5;
constexpr double kContentWidthPt = PdfCanvas::kPageWidthPt - 2 * kMarginPt;
constexpr double kContentTopPt = 48;
constexpr double kContentBottomPt = PdfCanvas::kPageHeightPt - 44;
constexpr double kFooterBaselinePt = PdfCanvas::kPageHeightPt - 22;
// One screen pixel is one pixel at 96 dpi; pictures scale by whole multiples of it.
constexpr double kPointsPerPixel = 0.75;
constexpr double kScreenHeadingBaselinePt = 38;
constexpr double kScreenAreaTopPt = 48;
constexpr double kScreenAreaBottomPt = PdfCanvas::kPageHeightPt - 40;
constexpr double kCaptionPt = 16;

// Font sizes (points).
constexpr double kTitleFontPt = 22;
constexpr double kFieldFontPt = 10.5;
constexpr double kHeadingFontPt = 12;
constexpr double kTableFontPt = 7.5;
constexpr double kMinTableFontPt = 4.5;
constexpr double kCaptionFontPt = 8.5;
constexpr double kFooterFontPt = 8;

// Row heights (points).
constexpr double kTitleHeightPt = 64;
constexpr double kFieldHeightPt = 17;
constexpr double kSpaceHeightPt = 18;
constexpr double kHeadingHeightPt = 30;
constexpr double kHeaderHeightPt = 15;
constexpr double kRowHeightPt = 12.5;
constexpr double kCellPaddingPt = 4;
constexpr double kLabelWidthPt = 96;

std::string Utf8(StringId id) { return std::string(Text(id)); }

std::string Format(StringId id, int value) {
  char text[128];
  std::snprintf(text, sizeof text, Utf8(id).c_str(), value);
  return text;
}

// The table columns of a kind after the number: data name, band, channel and
// frequency, then the kind's own readings. -1 stands for the number.
std::vector<int> ReportFields(TransferKind kind) {
  std::vector<int> fields = {-1, 1, 2, 3, 5};
  switch (kind) {
    case TransferKind::Level: fields.insert(fields.end(), {6, 7, 8, 10}); break;
    case TransferKind::Ber: fields.insert(fields.end(), {21, 7, 22, 13, 8}); break;
    case TransferKind::Sky: fields.insert(fields.end(), {4, 6, 7, 21, 23, 24, 25, 26, 28, 27}); break;
    case TransferKind::Constellation: fields.insert(fields.end(), {22, 13, 8}); break;
    case TransferKind::Multi: fields.insert(fields.end(), {6, 17, 19}); break;
    default: fields.push_back(8); break;
  }
  return fields;
}

std::string CellText(const SelectedMeasurement& m, int field) {
  if (field < 0) return std::to_string(m.record.index);
  return DecodeSjis(Trim(m.record.firstRow().Field(field)));
}

// Numbers (and the markers that stand for them) are right-aligned, titles with them.
bool RightAligned(int field) { return field < 0 || IsNumericColumn(field); }

std::string HeaderText(int field) { return field < 0 ? Utf8(StringId::LabelDataNo) : std::string(ColumnTitle(field)); }

// Consecutive measurements of one set folder and kind.
struct Group {
  std::size_t first = 0;
  std::size_t count = 0;
  std::string heading;  // "<set folder> ／ <kind>"
  TransferKind kind = TransferKind::None;
};

std::vector<Group> Groups(const MeasurementSelection& s) {
  std::vector<Group> groups;
  for (std::size_t i = 0; i < s.measurements.size(); ++i) {
    const SelectedMeasurement& m = s.measurements[i];
    if (groups.empty() || s.measurements[groups.back().first].setFolder != m.setFolder || groups.back().kind != m.kind)
      groups.push_back({i, 0, m.setFolder + " ／ " + Utf8(RootTextId(m.kind)), m.kind});
    ++groups.back().count;
  }
  return groups;
}

// One line of the flowing part (title page and tables).
struct Block {
  enum class Type { Title, Field, Space, Heading, Count, TableHeading, TableHeader, TableRow } type;
  double height = 0;
  int ref = -1;   // Field/Count: line index; Table*: group index
  int index = 0;  // TableRow: measurement index
};

struct Placed {
  int block;
  double y;
};

struct Page {
  std::vector<Placed> placed;  // flowing pages
  int group = -1;              // screen pages: the group, its first picture and count
  std::size_t first = 0;
  std::size_t count = 0;
};

struct TableLayout {
  double fontPt = kTableFontPt;
  std::vector<double> widths;
};

class ReportBuilder {
 public:
  ReportBuilder(const MeasurementSelection& s, const ReportOptions& o, PdfCanvas& canvas, ScreenSet& screens)
      : selection_(s), options_(o), canvas_(canvas), screens_(screens), groups_(Groups(s)), layouts_(groups_.size()) {
    perPage_ = options_.screensPerPage == 2 ? 2 : 4;
  }

  void Plan() {
    PlanTitle();
    Flow();
    PlanScreens();
  }

  int pageCount() const { return static_cast<int>(pages_.size()); }

  void DrawPage(int n) {
    const Page& page = pages_[static_cast<std::size_t>(n)];
    if (page.group >= 0)
      DrawScreens(page);
    else
      for (const Placed& p : page.placed) DrawBlock(blocks_[static_cast<std::size_t>(p.block)], p.y);
    canvas_.SetFontSize(kFooterFontPt);
    canvas_.TextCentred(PdfCanvas::kPageWidthPt / 2, kFooterBaselinePt,
                        std::to_string(n + 1) + " / " + std::to_string(pageCount()));
  }

 private:
  // --- planning ---

  void Add(Block::Type type, double height, int ref = -1, int index = 0) {
    blocks_.push_back({type, height, ref, index});
  }

  void AddField(const std::string& label, const std::vector<std::string>& lines) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
      fields_.push_back({i == 0 ? label : std::string(), lines[i]});
      Add(Block::Type::Field, kFieldHeightPt, static_cast<int>(fields_.size()) - 1);
    }
  }

  // Greedy line filling of pieces (each kept whole unless it is wider than a line).
  std::vector<std::string> Wrap(const std::vector<std::string>& pieces, double width) {
    std::vector<std::string> lines(1);
    double used = 0;
    for (const std::string& piece : pieces) {
      const double w = canvas_.TextWidth(piece);
      if (used + w > width && !lines.back().empty()) {
        lines.emplace_back();
        used = 0;
      }
      if (w > width) {
        for (const std::string& part : Wrap(Characters(piece), width)) {
          if (!lines.back().empty()) lines.emplace_back();
          lines.back() = part;
        }
        used = canvas_.TextWidth(lines.back());
        continue;
      }
      lines.back() += piece;
      used += w;
    }
    return lines;
  }

  static std::vector<std::string> Characters(const std::string& text) {
    const std::string valid = ValidUtf8(text);
    std::vector<std::string> out;
    for (std::size_t i = 0; i < valid.size();) {
      std::size_t n = 1;
      while (i + n < valid.size() && (static_cast<unsigned char>(valid[i + n]) & 0xC0) == 0x80) ++n;
      out.push_back(valid.substr(i, n));
      i += n;
    }
    return out;
  }

  void PlanTitle() {
    const double valueWidth = kContentWidthPt - kLabelWidthPt;
    canvas_.SetFontSize(kFieldFontPt);
    Add(Block::Type::Title, kTitleHeightPt);
    AddField(Utf8(StringId::ReportDataFolder), Wrap(Characters(selection_.dataFolder.string()), valueWidth));
    AddField(Utf8(StringId::ReportDate), {options_.date});
    std::vector<std::string> names;
    for (std::size_t i = 0; i < selection_.setFolders.size(); ++i)
      names.push_back(selection_.setFolders[i] + (i + 1 < selection_.setFolders.size() ? "、" : ""));
    if (names.empty()) names.push_back("—");
    AddField(Utf8(StringId::ReportSetFolders), Wrap(names, valueWidth));
    Add(Block::Type::Space, kSpaceHeightPt);
    Add(Block::Type::Heading, kHeadingHeightPt);
    for (TransferKind kind : kAllTransferKinds) {
      fields_.push_back({Utf8(RootTextId(kind)), std::to_string(selection_.CountOf(kind))});
      Add(Block::Type::Count, kFieldHeightPt, static_cast<int>(fields_.size()) - 1);
    }
    fields_.push_back({Utf8(StringId::ReportTotal), std::to_string(selection_.measurements.size())});
    Add(Block::Type::Count, kFieldHeightPt, static_cast<int>(fields_.size()) - 1);
    tablesStart_ = blocks_.size();
    for (std::size_t g = 0; g < groups_.size(); ++g) {
      Add(Block::Type::TableHeading, kHeadingHeightPt, static_cast<int>(g));
      Add(Block::Type::TableHeader, kHeaderHeightPt, static_cast<int>(g));
      for (std::size_t i = 0; i < groups_[g].count; ++i)
        Add(Block::Type::TableRow, kRowHeightPt, static_cast<int>(g), static_cast<int>(groups_[g].first + i));
    }
  }

  // Places the blocks on pages: the tables begin on a page of their own; a table
  // heading stays with its header and first row; a table that goes on to the next
  // page repeats its header there.
  void Flow() {
    double y = kContentBottomPt;
    for (std::size_t b = 0; b < blocks_.size(); ++b) {
      const Block& block = blocks_[b];
      double need = block.height;
      if (block.type == Block::Type::TableHeading) need += kHeaderHeightPt + kRowHeightPt;
      const bool breakHere = b == tablesStart_ || b == 0;
      if (breakHere || y + need > kContentBottomPt) {
        pages_.emplace_back();
        y = kContentTopPt;
        if (block.type == Block::Type::TableRow) {
          pages_.back().placed.push_back({HeaderOf(block.ref), y});
          y += kHeaderHeightPt;
        }
      }
      pages_.back().placed.push_back({static_cast<int>(b), y});
      y += block.height;
    }
  }

  int HeaderOf(int group) const {
    for (std::size_t b = tablesStart_; b < blocks_.size(); ++b)
      if (blocks_[b].type == Block::Type::TableHeader && blocks_[b].ref == group) return static_cast<int>(b);
    return 0;
  }

  void PlanScreens() {
    for (std::size_t g = 0; g < groups_.size(); ++g)
      for (std::size_t i = 0; i < groups_[g].count; i += static_cast<std::size_t>(perPage_))
        pages_.push_back({{},
                          static_cast<int>(g),
                          groups_[g].first + i,
                          std::min<std::size_t>(static_cast<std::size_t>(perPage_), groups_[g].count - i)});
  }

  // --- drawing ---

  void DrawBlock(const Block& b, double y) {
    switch (b.type) {
      case Block::Type::Title:
        canvas_.SetFontSize(kTitleFontPt);
        canvas_.Text(kMarginPt, y + 36, Utf8(StringId::ReportTitle));
        canvas_.Line(kMarginPt, y + 48, kMarginPt + kContentWidthPt, y + 48, 1.0);
        break;
      case Block::Type::Field:
      case Block::Type::Count: {
        const auto& [label, value] = fields_[static_cast<std::size_t>(b.ref)];
        canvas_.SetFontSize(kFieldFontPt);
        canvas_.Text(kMarginPt, y + 12, label);
        if (b.type == Block::Type::Field)
          canvas_.Text(kMarginPt + kLabelWidthPt, y + 12, value);
        else
          canvas_.TextRight(kMarginPt + 2 * kLabelWidthPt + 60, y + 12, value);
        break;
      }
      case Block::Type::Heading:
        canvas_.SetFontSize(kHeadingFontPt);
        canvas_.Text(kMarginPt, y + 20, Utf8(StringId::ReportCounts));
        break;
      case Block::Type::TableHeading: {
        const Group& g = groups_[static_cast<std::size_t>(b.ref)];
        canvas_.SetFontSize(kHeadingFontPt);
        canvas_.Text(kMarginPt, y + 22,
                     g.heading + "（" + Format(StringId::ReportCountUnit, static_cast<int>(g.count)) + "）");
        break;
      }
      case Block::Type::TableHeader: DrawTableLine(b.ref, std::nullopt, y); break;
      case Block::Type::TableRow: DrawTableLine(b.ref, b.index, y); break;
      case Block::Type::Space: break;
    }
  }

  // Column widths from the widest text of each column; a table wider than the page
  // gets a smaller font, a narrower one shares the rest out among its text columns.
  const TableLayout& LayoutOf(int group) {
    TableLayout& layout = layouts_[static_cast<std::size_t>(group)];
    if (!layout.widths.empty()) return layout;
    const Group& g = groups_[static_cast<std::size_t>(group)];
    const std::vector<int> fields = ReportFields(g.kind);
    canvas_.SetFontSize(kTableFontPt);
    for (int f : fields) {
      double w = canvas_.TextWidth(HeaderText(f));
      for (std::size_t i = 0; i < g.count; ++i)
        w = std::max(w, canvas_.TextWidth(CellText(selection_.measurements[g.first + i], f)));
      layout.widths.push_back(w + 2 * kCellPaddingPt);
    }
    double total = 0;
    for (double w : layout.widths) total += w;
    if (total > kContentWidthPt) {
      const double scale = std::max(kContentWidthPt / total, kMinTableFontPt / kTableFontPt);
      layout.fontPt = kTableFontPt * scale;
      for (double& w : layout.widths) w *= scale;
    } else {
      // The rest goes to the text columns, so that the right-aligned numbers keep
      // their column narrow and stay clear of the text that follows them.
      std::vector<std::size_t> texts;
      for (std::size_t c = 0; c < fields.size(); ++c)
        if (!RightAligned(fields[c])) texts.push_back(c);
      for (std::size_t c : texts) layout.widths[c] += (kContentWidthPt - total) / static_cast<double>(texts.size());
    }
    return layout;
  }

  void DrawTableLine(int group, std::optional<int> measurement, double y) {
    const TableLayout& layout = LayoutOf(group);
    const std::vector<int> fields = ReportFields(groups_[static_cast<std::size_t>(group)].kind);
    const double height = measurement ? kRowHeightPt : kHeaderHeightPt;
    double width = 0;
    for (double w : layout.widths) width += w;
    if (!measurement) canvas_.FillRect(kMarginPt, y, width, height, 0.88);
    canvas_.SetFontSize(layout.fontPt);
    double x = kMarginPt;
    for (std::size_t c = 0; c < fields.size(); ++c) {
      const int f = fields[c];
      const double w = layout.widths[c];
      const std::string text =
          measurement ? CellText(selection_.measurements[static_cast<std::size_t>(*measurement)], f) : HeaderText(f);
      const double baseline = y + height / 2 + layout.fontPt * 0.36;
      canvas_.Clip(x, y, w, height);
      if (RightAligned(f))
        canvas_.TextRight(x + w - kCellPaddingPt, baseline, text);
      else
        canvas_.Text(x + kCellPaddingPt, baseline, text);
      canvas_.Unclip();
      x += w;
    }
    canvas_.Line(kMarginPt, y + height, kMarginPt + width, y + height, measurement ? 0.25 : 0.6);
  }

  // Rounds to the 96 dpi pixel grid, so pictures land on whole pixels there.
  static double OnPixelGrid(double pt) { return std::round(pt / kPointsPerPixel) * kPointsPerPixel; }

  void DrawScreens(const Page& page) {
    const Group& g = groups_[static_cast<std::size_t>(page.group)];
    canvas_.SetFontSize(kHeadingFontPt);
    canvas_.Text(kMarginPt, kScreenHeadingBaselinePt, g.heading);
    const int columns = perPage_ == 4 ? 2 : 1;
    const double scale = perPage_ == 4 ? kPointsPerPixel : 2 * kPointsPerPixel;
    const double w = Surface::kScreenAreaWidth * scale, h = Surface::kScreenAreaHeight * scale;
    const double gap = columns == 2 ? 24 : 0;
    const double left = OnPixelGrid((PdfCanvas::kPageWidthPt - columns * w - (columns - 1) * gap) / 2);
    const double slot = (kScreenAreaBottomPt - kScreenAreaTopPt) / 2;
    for (std::size_t i = 0; i < page.count; ++i) {
      const int row = static_cast<int>(i) / columns, column = static_cast<int>(i) % columns;
      const double x = OnPixelGrid(left + column * (w + gap));
      const double y = OnPixelGrid(kScreenAreaTopPt + row * slot + (slot - h - kCaptionPt) / 2);
      const SelectedMeasurement& m = selection_.measurements[page.first + i];
      screens_.Select(m.record);
      screens_.Paint(surface_);
      canvas_.Picture(surface_.View(), x, y, scale);
      canvas_.SetFontSize(kCaptionFontPt);
      canvas_.Text(x, y + h + 12,
                   Utf8(StringId::LabelDataNo) + " " + std::to_string(m.record.index) + "  " + CellText(m, 1));
    }
  }

  const MeasurementSelection& selection_;
  const ReportOptions& options_;
  PdfCanvas& canvas_;
  ScreenSet& screens_;
  std::vector<Group> groups_;
  std::vector<TableLayout> layouts_;
  std::vector<Block> blocks_;
  std::vector<std::pair<std::string, std::string>> fields_;  // label, value
  std::vector<Page> pages_;
  std::size_t tablesStart_ = 0;
  int perPage_ = 4;
  Surface surface_;
};

}  // namespace

JobOutcome WriteReport(const MeasurementSelection& selection, const std::filesystem::path& pdf,
                       const ReportOptions& options, JobObserver& observer, const std::atomic<bool>& abort) {
  StagedFile out(pdf);
  if (!out.ok()) return JobOutcome::Failed("cannot create " + pdf.string() + ": " + std::strerror(errno));
  std::string fontWarning;
  std::shared_ptr<const FontSet> fonts = options.screenFonts;
  if (!fonts) {
    fonts = FontSet::CreateDefault(&fontWarning);
    if (!fontWarning.empty()) observer.Warning("screens: " + fontWarning + "; texts are drawn as boxes");
    fontWarning.clear();
  }
  ScreenSet screens(fonts);
  {
    PdfCanvas canvas(out, Utf8(StringId::ReportTitle), &fontWarning);
    if (!fontWarning.empty()) observer.Warning("report: " + fontWarning);
    ReportBuilder builder(selection, options, canvas, screens);
    builder.Plan();
    const int pages = builder.pageCount();
    for (int p = 0; p < pages; ++p) {
      if (abort.load(std::memory_order_relaxed)) return JobOutcome::Cancelled();
      if (p > 0) canvas.NextPage();
      builder.DrawPage(p);
      if (!canvas.ok()) return JobOutcome::Failed("cannot write " + pdf.string() + ": " + canvas.error());
      observer.Progress(p + 1, pages);
    }
    if (!canvas.Finish()) return JobOutcome::Failed("cannot write " + pdf.string() + ": " + canvas.error());
  }
  if (!out.Commit()) return JobOutcome::Failed("cannot write " + pdf.string() + ": " + std::strerror(errno));
  return {};
}

std::string ReportDateText(std::time_t when) {
  std::tm local{};
  localtime_r(&when, &local);
  char text[64];
  const std::size_t n = std::strftime(text, sizeof text, Utf8(StringId::ReportDateFormat).c_str(), &local);
  return std::string(text, n);
}

}  // namespace rxt4
