// The measurement report: plans the pages (title, tables, screens) first, so that
// every page can carry "n / N", then draws them one by one onto the PDF canvas.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <map>
#include <optional>
#include <vector>

#include "PdfCanvas.h"
#include "rxt4/data/Sjis.h"
#include "rxt4/data/StagedFile.h"
#include "rxt4/data/Strings.h"
#include "rxt4/data/TextRules.h"
#include "rxt4/report/CompanionWarnings.h"
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

// The measurements of one set folder and kind.
struct Group {
  std::size_t folder = 0;  // index into the source's folders
  std::size_t first = 0;   // its first measurement among the set folder's
  std::size_t count = 0;
  std::string heading;     // "<set folder> ／ <kind>"
  TransferKind kind = TransferKind::None;
};

// The groups of the set folders, in their order; within a set folder the kinds in
// tree order, as the source hands out the measurements.
std::vector<Group> Groups(const std::vector<SourceFolder>& folders) {
  std::vector<Group> groups;
  for (std::size_t f = 0; f < folders.size(); ++f) {
    std::size_t first = 0;
    for (TransferKind kind : kAllTransferKinds) {
      const auto count = static_cast<std::size_t>(folders[f].counts[static_cast<std::size_t>(kind)]);
      if (count == 0) continue;
      groups.push_back({f, first, count, EscapedName(folders[f].name) + " ／ " + Utf8(RootTextId(kind)), kind});
      first += count;
    }
  }
  return groups;
}

// One line of the title page.
struct Block {
  enum class Type { Title, Field, Space, Heading, Count } type;
  double height = 0;
  int ref = -1;  // Field/Count: line index
};

// What a flowing page shows from y on: a block of the title page, or a table's
// heading, header or a run of its rows (rows [first, first + count) of group ref, one
// below the other).
struct Segment {
  enum class Type { Block, TableHeading, TableHeader, TableRows } type;
  int ref = 0;  // Block: index into blocks_; the others: group index
  std::size_t first = 0;
  std::size_t count = 0;
  double y = 0;
};

struct TableLayout {
  double fontPt = kTableFontPt;
  std::vector<double> widths;
};

// The report's pages are planned from the counts alone: the title page, the flowing
// pages of the tables (a few segments each), then the screen pages, which are not
// stored but counted per group. Planning is linear in the number of measurements and
// keeps memory in the number of pages; the measurements themselves are read set
// folder by set folder as the pages are drawn.
class ReportBuilder {
 public:
  ReportBuilder(const MeasurementSource& source, const ReportOptions& o, PdfCanvas& canvas, ScreenSet& screens,
                JobObserver& observer, const std::atomic<bool>& abort)
      : source_(source),
        options_(o),
        canvas_(canvas),
        screens_(screens),
        abort_(abort),
        folders_(source.Folders()),
        groups_(Groups(folders_)),
        layouts_(groups_.size()),
        companions_(observer) {
    perPage_ = options_.screensPerPage == 2 ? 2 : 4;
  }

  // False when the abort was raised on the way.
  bool Plan() {
    PlanTitle();
    return Flow() && PlanScreens();
  }

  int pageCount() const { return static_cast<int>(pages_.size() + screenPages_); }

  // Draws page n; false (with error()) when its measurements could not be read again.
  bool DrawPage(int n) {
    const auto index = static_cast<std::size_t>(n);
    if (!HoldFoldersOf(index)) return false;
    if (index < pages_.size()) {
      for (const Segment& segment : pages_[index])
        if (!DrawSegment(segment)) break;  // aborted: the job ends at its next check
    } else {
      DrawScreens(index - pages_.size());
    }
    canvas_.SetFontSize(kFooterFontPt);
    canvas_.TextCentred(PdfCanvas::kPageWidthPt / 2, kFooterBaselinePt,
                        std::to_string(n + 1) + " / " + std::to_string(pageCount()));
    return true;
  }

  void FinishWarnings() { companions_.Finish(); }
  const std::string& error() const { return error_; }

 private:
  // How often the long loops look at the abort flag.
  static constexpr std::size_t kAbortCheckEvery = 4096;
  bool Aborted(std::size_t i) const { return i % kAbortCheckEvery == 0 && abort_.load(std::memory_order_relaxed); }

  // --- planning ---

  void Add(Block::Type type, double height, int ref = -1) { blocks_.push_back({type, height, ref}); }

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
    AddField(Utf8(StringId::ReportDataFolder), Wrap(Characters(source_.DataFolderPath().string()), valueWidth));
    AddField(Utf8(StringId::ReportDate), {options_.date});
    std::vector<std::string> names;
    for (std::size_t i = 0; i < folders_.size(); ++i)
      names.push_back(EscapedName(folders_[i].name) + (i + 1 < folders_.size() ? "、" : ""));
    if (names.empty()) names.push_back("—");
    AddField(Utf8(StringId::ReportSetFolders), Wrap(names, valueWidth));
    Add(Block::Type::Space, kSpaceHeightPt);
    Add(Block::Type::Heading, kHeadingHeightPt);
    int total = 0;
    for (TransferKind kind : kAllTransferKinds) {
      int count = 0;
      for (const SourceFolder& f : folders_) count += f.counts[static_cast<std::size_t>(kind)];
      total += count;
      fields_.push_back({Utf8(RootTextId(kind)), std::to_string(count)});
      Add(Block::Type::Count, kFieldHeightPt, static_cast<int>(fields_.size()) - 1);
    }
    fields_.push_back({Utf8(StringId::ReportTotal), std::to_string(total)});
    Add(Block::Type::Count, kFieldHeightPt, static_cast<int>(fields_.size()) - 1);
  }

  void NewPage(double& y) {
    pages_.emplace_back();
    y = kContentTopPt;
  }

  // Places the title blocks and the tables on pages: the tables begin on a page of
  // their own; a table heading stays with its header and first row; a table that
  // goes on to the next page repeats its header there.
  bool Flow() {
    double y = kContentBottomPt;
    for (std::size_t b = 0; b < blocks_.size(); ++b) {
      if (b == 0 || y + blocks_[b].height > kContentBottomPt) NewPage(y);
      pages_.back().push_back({Segment::Type::Block, static_cast<int>(b), 0, 1, y});
      y += blocks_[b].height;
    }
    for (std::size_t g = 0; g < groups_.size(); ++g) {
      const int group = static_cast<int>(g);
      if (g == 0 || y + kHeadingHeightPt + kHeaderHeightPt + kRowHeightPt > kContentBottomPt) NewPage(y);
      pages_.back().push_back({Segment::Type::TableHeading, group, 0, 1, y});
      y += kHeadingHeightPt;
      pages_.back().push_back({Segment::Type::TableHeader, group, 0, 1, y});
      y += kHeaderHeightPt;
      Segment* rows = nullptr;
      for (std::size_t i = 0; i < groups_[g].count; ++i) {
        if (Aborted(i + 1)) return false;
        if (y + kRowHeightPt > kContentBottomPt) {
          NewPage(y);
          pages_.back().push_back({Segment::Type::TableHeader, group, 0, 1, y});
          y += kHeaderHeightPt;
          rows = nullptr;
        }
        if (rows == nullptr) rows = &pages_.back().emplace_back(Segment{Segment::Type::TableRows, group, i, 0, y});
        ++rows->count;
        y += kRowHeightPt;
      }
      if (abort_.load(std::memory_order_relaxed)) return false;
    }
    return true;
  }

  // The screen pages: each group's measurements perPage_ to a page, counted.
  bool PlanScreens() {
    screenPageStart_.reserve(groups_.size());
    for (const Group& g : groups_) {
      screenPageStart_.push_back(screenPages_);
      screenPages_ += (g.count + static_cast<std::size_t>(perPage_) - 1) / static_cast<std::size_t>(perPage_);
    }
    return !abort_.load(std::memory_order_relaxed);
  }

  // --- the measurements, set folder by set folder ---

  // Reads the set folders page n shows and lets go of the others.
  bool HoldFoldersOf(std::size_t n) {
    std::vector<std::size_t> wanted;
    if (n < pages_.size()) {
      for (const Segment& segment : pages_[n])
        if (segment.type != Segment::Type::Block) wanted.push_back(groups_[static_cast<std::size_t>(segment.ref)].folder);
    } else {
      wanted.push_back(groups_[ScreenGroupOf(n - pages_.size())].folder);
    }
    for (auto it = held_.begin(); it != held_.end();)
      it = std::find(wanted.begin(), wanted.end(), it->first) == wanted.end() ? held_.erase(it) : std::next(it);
    for (std::size_t f : wanted) {
      if (held_.count(f) != 0) continue;
      std::optional<FolderMeasurements> loaded = source_.Measurements(folders_[f], error_);
      if (!loaded) return false;
      held_.emplace(f, std::move(*loaded));
    }
    return true;
  }

  const SelectedMeasurement& At(std::size_t group, std::size_t i) const {
    const Group& g = groups_[group];
    return held_.at(g.folder).measurements[g.first + i];
  }

  std::size_t ScreenGroupOf(std::size_t screenPage) const {
    const auto after = std::upper_bound(screenPageStart_.begin(), screenPageStart_.end(), screenPage);
    return static_cast<std::size_t>(after - screenPageStart_.begin()) - 1;
  }

  // --- drawing ---

  bool DrawSegment(const Segment& segment) {
    switch (segment.type) {
      case Segment::Type::Block: DrawBlock(blocks_[static_cast<std::size_t>(segment.ref)], segment.y); return true;
      case Segment::Type::TableHeading: {
        const Group& g = groups_[static_cast<std::size_t>(segment.ref)];
        canvas_.SetFontSize(kHeadingFontPt);
        canvas_.Text(kMarginPt, segment.y + 22,
                     g.heading + "（" + Format(StringId::ReportCountUnit, static_cast<int>(g.count)) + "）");
        return true;
      }
      case Segment::Type::TableHeader: return DrawTableLine(segment.ref, std::nullopt, segment.y);
      case Segment::Type::TableRows: {
        double y = segment.y;
        for (std::size_t i = 0; i < segment.count; ++i) {
          if (!DrawTableLine(segment.ref, segment.first + i, y)) return false;
          y += kRowHeightPt;
        }
        return true;
      }
    }
    return true;
  }

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
      case Block::Type::Space: break;
    }
  }

  // Column widths from the widest text of each column; a table wider than the page
  // gets a smaller font, a narrower one shares the rest out among its text columns.
  // Nothing when the abort was raised while measuring.
  const TableLayout* LayoutOf(int group) {
    TableLayout& layout = layouts_[static_cast<std::size_t>(group)];
    if (!layout.widths.empty()) return &layout;
    const Group& g = groups_[static_cast<std::size_t>(group)];
    const std::vector<int> fields = ReportFields(g.kind);
    canvas_.SetFontSize(kTableFontPt);
    std::vector<double> widths;
    for (int f : fields) {
      double w = canvas_.TextWidth(HeaderText(f));
      for (std::size_t i = 0; i < g.count; ++i) {
        if (Aborted(i + 1)) return nullptr;
        w = std::max(w, canvas_.TextWidth(CellText(At(static_cast<std::size_t>(group), i), f)));
      }
      widths.push_back(w + 2 * kCellPaddingPt);
    }
    layout.widths = std::move(widths);
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
    return &layout;
  }

  bool DrawTableLine(int group, std::optional<std::size_t> measurement, double y) {
    const TableLayout* layout = LayoutOf(group);
    if (layout == nullptr) return false;
    const std::vector<int> fields = ReportFields(groups_[static_cast<std::size_t>(group)].kind);
    const double height = measurement ? kRowHeightPt : kHeaderHeightPt;
    double width = 0;
    for (double w : layout->widths) width += w;
    if (!measurement) canvas_.FillRect(kMarginPt, y, width, height, 0.88);
    canvas_.SetFontSize(layout->fontPt);
    double x = kMarginPt;
    for (std::size_t c = 0; c < fields.size(); ++c) {
      const int f = fields[c];
      const double w = layout->widths[c];
      const std::string text =
          measurement ? CellText(At(static_cast<std::size_t>(group), *measurement), f) : HeaderText(f);
      const double baseline = y + height / 2 + layout->fontPt * 0.36;
      canvas_.Clip(x, y, w, height);
      if (RightAligned(f))
        canvas_.TextRight(x + w - kCellPaddingPt, baseline, text);
      else
        canvas_.Text(x + kCellPaddingPt, baseline, text);
      canvas_.Unclip();
      x += w;
    }
    canvas_.Line(kMarginPt, y + height, kMarginPt + width, y + height, measurement ? 0.25 : 0.6);
    return true;
  }

  // Rounds to the 96 dpi pixel grid, so pictures land on whole pixels there.
  static double OnPixelGrid(double pt) { return std::round(pt / kPointsPerPixel) * kPointsPerPixel; }

  void DrawScreens(std::size_t screenPage) {
    const std::size_t group = ScreenGroupOf(screenPage);
    const Group& g = groups_[group];
    const std::size_t first = (screenPage - screenPageStart_[group]) * static_cast<std::size_t>(perPage_);
    const std::size_t count = std::min<std::size_t>(static_cast<std::size_t>(perPage_), g.count - first);
    canvas_.SetFontSize(kHeadingFontPt);
    canvas_.Text(kMarginPt, kScreenHeadingBaselinePt, g.heading);
    const int columns = perPage_ == 4 ? 2 : 1;
    const double scale = perPage_ == 4 ? kPointsPerPixel : 2 * kPointsPerPixel;
    const double w = Surface::kScreenAreaWidth * scale, h = Surface::kScreenAreaHeight * scale;
    const double gap = columns == 2 ? 24 : 0;
    const double left = OnPixelGrid((PdfCanvas::kPageWidthPt - columns * w - (columns - 1) * gap) / 2);
    const double slot = (kScreenAreaBottomPt - kScreenAreaTopPt) / 2;
    for (std::size_t i = 0; i < count; ++i) {
      const int row = static_cast<int>(i) / columns, column = static_cast<int>(i) % columns;
      const double x = OnPixelGrid(left + column * (w + gap));
      const double y = OnPixelGrid(kScreenAreaTopPt + row * slot + (slot - h - kCaptionPt) / 2);
      const SelectedMeasurement& m = At(group, first + i);
      companions_.Check(m.record);
      screens_.Select(m.record);
      screens_.Paint(surface_);
      canvas_.Picture(surface_.View(), x, y, scale);
      canvas_.SetFontSize(kCaptionFontPt);
      canvas_.Text(x, y + h + 12,
                   Utf8(StringId::LabelDataNo) + " " + std::to_string(m.record.index) + "  " + CellText(m, 1));
    }
  }

  const MeasurementSource& source_;
  const ReportOptions& options_;
  PdfCanvas& canvas_;
  ScreenSet& screens_;
  const std::atomic<bool>& abort_;
  std::vector<SourceFolder> folders_;
  std::vector<Group> groups_;
  std::vector<TableLayout> layouts_;
  std::vector<Block> blocks_;                                // the title page's
  std::vector<std::pair<std::string, std::string>> fields_;  // label, value
  std::vector<std::vector<Segment>> pages_;                  // the flowing pages
  std::vector<std::size_t> screenPageStart_;                 // per group: its first screen page
  std::size_t screenPages_ = 0;
  int perPage_ = 4;
  std::map<std::size_t, FolderMeasurements> held_;  // the set folders the page being drawn shows
  std::string error_;
  CompanionWarnings companions_;
  Surface surface_;
};

}  // namespace

JobOutcome WriteReport(const MeasurementSource& source, const std::filesystem::path& pdf,
                       const ReportOptions& options, JobObserver& observer, const std::atomic<bool>& abort) {
  StagedFile out(pdf);
  if (!out.ok()) return JobOutcome::Failed("cannot create " + pdf.string() + ": " + out.error().message());
  std::string fontWarning;
  std::shared_ptr<const FontSet> fonts = options.screenFonts;
  if (!fonts) {
    fonts = FontSet::CreateDefault(&fontWarning);
    if (!fontWarning.empty()) observer.Warning(FillIn(Text(StringId::ScreenFontBoxes), {fontWarning}));
    fontWarning.clear();
  }
  ScreenSet screens(fonts);
  {
    PdfCanvas canvas(out, Utf8(StringId::ReportTitle), &fontWarning);
    if (!fontWarning.empty()) observer.Warning(fontWarning);
    ReportBuilder builder(source, options, canvas, screens, observer, abort);
    if (!builder.Plan()) return JobOutcome::Cancelled();
    const int pages = builder.pageCount();
    for (int p = 0; p < pages; ++p) {
      if (abort.load(std::memory_order_relaxed)) return JobOutcome::Cancelled();
      if (p > 0) canvas.NextPage();
      const bool drawn = builder.DrawPage(p);
      if (abort.load(std::memory_order_relaxed)) return JobOutcome::Cancelled();
      if (!drawn) return JobOutcome::Failed(builder.error());
      if (!canvas.ok()) return JobOutcome::Failed("cannot write " + pdf.string() + ": " + canvas.error());
      observer.Progress(p + 1, pages);
    }
    builder.FinishWarnings();
    if (!canvas.Finish()) return JobOutcome::Failed("cannot write " + pdf.string() + ": " + canvas.error());
  }
  if (!out.Commit()) return JobOutcome::Failed("cannot write " + pdf.string() + ": " + out.error().message());
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
