// The measurement report: judges the set folders (the summary comes first), plans
// the pages (cover, the flowing pages of the summary, the tables and the compare
// pages, then the screens), so that every page can carry "n / N" and the bookmarks
// know their pages, then draws the pages one by one onto the PDF canvas.

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <map>
#include <optional>
#include <vector>

#include "PdfCanvas.h"
#include "ReportTables.h"
#include "rxt4/data/Sjis.h"
#include "rxt4/data/StagedFile.h"
#include "rxt4/data/Strings.h"
#include "rxt4/data/TextRules.h"
#include "rxt4/judge/ChannelPoints.h"
#include "rxt4/judge/FolderJudgement.h"
#include "rxt4/report/CompanionWarnings.h"
#include "rxt4/report/Report.h"
#include "rxt4/screens/ScreenSet.h"

namespace rxt4 {

namespace {

// Page geometry (points).
constexpr double kMarginPt = 42.5;
constexpr double kContentWidthPt = PdfCanvas::kPageWidthPt - 2 * kMarginPt;
constexpr double kRightPt = kMarginPt + kContentWidthPt;
constexpr double kContentTopPt = 48;
constexpr double kContentBottomPt = PdfCanvas::kPageHeightPt - 44;
constexpr double kLegendHeightPt = 26;  // the legend under the tables
constexpr double kFlowBottomPt = kContentBottomPt - kLegendHeightPt;
constexpr double kFooterBaselinePt = PdfCanvas::kPageHeightPt - 22;
// One screen pixel is one pixel at 96 dpi; pictures scale by whole multiples of it.
constexpr double kPointsPerPixel = 0.75;
constexpr double kScreenHeadingBaselinePt = 38;
constexpr double kScreenAreaTopPt = 48;
constexpr double kScreenAreaBottomPt = PdfCanvas::kPageHeightPt - 40;
constexpr double kCaptionLinePt = 11;

// Font sizes (points).
constexpr double kTitleFontPt = 24;
constexpr double kFieldFontPt = 10.5;
constexpr double kHeadingFontPt = 12;
constexpr double kVerdictFontPt = 30;
constexpr double kTableFontPt = 7.5;
constexpr double kMinTableFontPt = 4.5;
constexpr double kCaptionFontPt = 8;
constexpr double kFooterFontPt = 8;
constexpr double kLegendFontPt = 6.5;

// Row heights (points).
constexpr double kHeadingHeightPt = 30;
constexpr double kHeaderHeightPt = 15;
constexpr double kRowHeightPt = 12.5;
constexpr double kCellPaddingPt = 4;
constexpr double kVerdictBlockPt = 96;
constexpr double kTextBlockPt = 20;

// The report is the customer's document: its pages are in Japanese whatever language
// the user reads (its warnings follow the user's language).
std::string_view Page(StringId id) { return Text(id, Language::Japanese); }
std::string Utf8(StringId id) { return std::string(Page(id)); }

// "12 件": a count as the pages print it.
std::string CountText(std::size_t count) { return FillIn(Page(StringId::ReportCountUnit), {std::to_string(count)}); }

std::string Display(std::string_view sjis) { return DecodeSjis(Trim(sjis)); }

// A reading's value for the summary and the compare pages: the number with its unit,
// or the marker in words.
std::string ValueWords(const ReadingResult& r) {
  switch (r.kind) {
    case ValueKind::Number: {
      const std::string_view unit = ReadingUnit(r.reading, Language::Japanese);
      return Display(r.stored) + (unit.empty() ? "" : " " + std::string(unit));
    }
    case ValueKind::BelowRange: return Utf8(StringId::RptMarkerBelow);
    case ValueKind::AboveRange: return Utf8(StringId::RptMarkerAbove);
    case ValueKind::NoMeasurement: return Utf8(StringId::RptMarkerNone);
    case ValueKind::Unreadable: return Display(r.stored);
  }
  return {};
}

// "#2 ch 15" for a channel or field row, else the channel.
std::string PlaceText(int row, int field, std::string_view channelSjis) {
  const std::string channel = Display(channelSjis);
  if (row <= 0 && field <= 0) return channel;
  return FillIn(Page(StringId::CheckPlace), {std::to_string(row > 0 ? row : field), channel});
}

// The data folder's name (never its path).
std::string FolderName(const std::filesystem::path& folder) {
  std::filesystem::path p = folder;
  if (p.filename().empty()) p = p.parent_path();
  return EscapedName(p.filename().string());
}

// The measurements of one set folder and kind.
struct Group {
  std::size_t folder = 0;  // index into the source's folders
  std::size_t first = 0;   // its first measurement among the set folder's
  std::size_t count = 0;
  TransferKind kind = TransferKind::None;
  std::string setName;  // the set folder's name, printable
  std::string heading;  // "<set folder> ／ <kind>"
  // Known once judged: the table row each measurement begins (count + 1 of them),
  // each measurement's verdict, and the counts.
  std::vector<std::uint32_t> rowStart;
  std::vector<Verdict> verdicts;
  VerdictCounts counts;

  bool judged() const { return verdicts.size() == count && count > 0; }
  std::size_t rows() const {
    if (!rowStart.empty()) return rowStart.back();
    return kind == TransferKind::Sky ? 2 * count : count;
  }
  // The measurement and its table row of a row of the table.
  std::pair<std::size_t, int> At(std::size_t row) const {
    if (!rowStart.empty()) {
      const auto after = std::upper_bound(rowStart.begin(), rowStart.end(), static_cast<std::uint32_t>(row));
      const auto m = static_cast<std::size_t>(after - rowStart.begin()) - 1;
      return {m, static_cast<int>(row - rowStart[m])};
    }
    if (kind == TransferKind::Sky) return {row / 2, static_cast<int>(row % 2)};
    return {row, 0};
  }
};

// A table whose cells are made before the drawing (summary, compare).
struct StaticTable {
  std::vector<std::string> headers;
  std::vector<bool> right;
  std::vector<std::vector<std::string>> rows;
};

// A table as it flows over the pages: a set folder's kind, or a static table.
struct FlowTable {
  bool group = false;
  std::size_t ref = 0;  // group index or static table index
  std::string heading;  // drawn above its header where it begins; empty: none
  std::size_t rows = 0;
};

// A block of a flowing page that is not a table.
struct Block {
  enum class Type { Verdict, Text, Space } type;
  double height = 0;
  std::string text;
};

// What a flowing page shows from y on.
struct Segment {
  enum class Type { Block, TableHeading, TableHeader, TableRows } type;
  std::size_t ref = 0;  // Block: index into blocks_; the others: index into tables_
  std::size_t first = 0;  // TableRows: the first row; TableHeading: 1 when the table goes on from the page before
  std::size_t count = 0;
  double y = 0;
};

struct TableLayout {
  double fontPt = kTableFontPt;
  std::vector<double> widths;
  std::vector<TableColumn> columns;  // group tables: the columns shown
  std::vector<std::string> headers;
  std::vector<bool> right;
};

// Hears every judged measurement of the set folders and keeps what the report shows
// of it: per set folder and kind the verdicts and counts, the table rows, and every
// 不合格 and 注意 reading.
class Judging : public JudgementObserver {
 public:
  Judging(std::vector<Group>& groups, const std::vector<SourceFolder>& folders, const ReportOptions& options,
          std::vector<std::vector<std::string>>& findings)
      : groups_(groups), options_(options), findings_(findings) {
    for (std::size_t f = 0; f < folders.size(); ++f) folderOf_.emplace(folders[f].name, f);
    groupOf_.assign(folders.size(), {});
    for (auto& kinds : groupOf_) kinds.fill(-1);
    for (std::size_t g = 0; g < groups.size(); ++g)
      groupOf_[groups[g].folder][static_cast<std::size_t>(groups[g].kind)] = static_cast<int>(g);
  }

  void Measurement(std::size_t, const SetFolderSummary& summary, TransferKind kind, int, const CDataSet& record,
                   const MeasurementJudgement& judgement) override {
    const auto folder = folderOf_.find(summary.name);
    if (folder == folderOf_.end()) return;
    const int g = groupOf_[folder->second][static_cast<std::size_t>(kind)];
    if (g < 0) return;
    Group& group = groups_[static_cast<std::size_t>(g)];
    if (group.verdicts.size() >= group.count) return;  // more than counted: the set folder changed
    if (group.rowStart.empty()) group.rowStart.push_back(0);
    group.rowStart.push_back(group.rowStart.back() + static_cast<std::uint32_t>(TableRowsOf(record)));
    group.verdicts.push_back(judgement.verdict);
    group.counts.Add(judgement.verdict, judgement.reason);
    readings_.Add(judgement.counts);
    if (judgement.counts.fail == 0 && judgement.counts.caution == 0) return;
    std::string name = options_.label ? options_.label(summary.name, kind, record.index) : std::string();
    if (name.empty()) name = Display(record.firstRow().Field(Index(Column::DataName)));
    for (const PartJudgement& part : judgement.parts)
      for (std::size_t i = part.first; i < part.first + part.count; ++i) {
        const ReadingResult& r = judgement.readings[i];
        if (r.verdict != Verdict::Fail && r.verdict != Verdict::Caution) continue;
        findings_.push_back({group.heading, std::to_string(record.index), name,
                             PlaceText(part.row, part.field, part.channel), std::string(ReadingName(r.reading, Language::Japanese)),
                             ValueWords(r), VerdictMark(r.verdict), LimitOrReasonText(r, Language::Japanese)});
      }
  }

  // A set folder judged with measurements (a model may list set folders it holds none of).
  void SetFolderDone(std::size_t, const SetFolderSummary& summary) override {
    const auto folder = folderOf_.find(summary.name);
    if (folder != folderOf_.end() && summary.measurements.total() > 0) judged_.push_back(folder->second);
  }

  // The set folders judged so far (indices into the folders).
  const std::vector<std::size_t>& judged() const { return judged_; }
  // The readings of the measurements of the kinds reported.
  const VerdictCounts& readings() const { return readings_; }

 private:
  std::vector<Group>& groups_;
  const ReportOptions& options_;
  std::vector<std::vector<std::string>>& findings_;
  std::map<std::string, std::size_t> folderOf_;
  std::vector<std::array<int, kTransferKindCount>> groupOf_;
  std::vector<std::size_t> judged_;
  VerdictCounts readings_;
};

class ReportBuilder {
 public:
  ReportBuilder(const MeasurementSource& source, const ReportOptions& o, PdfCanvas& canvas, ScreenSet& screens,
                JobObserver& observer, const std::atomic<bool>& abort)
      : source_(source),
        options_(o),
        canvas_(canvas),
        screens_(screens),
        observer_(observer),
        abort_(abort),
        folders_(source.Folders()),
        cells_(screens.fonts(), o.profile.get()),
        companions_(observer) {
    perPage_ = options_.screensPerPage == 2 ? 2 : 4;
    MakeGroups();
  }

  // False when the abort was raised on the way, or (with error()) a set folder could
  // not be read again.
  bool Plan() {
    if (!Judge()) return false;
    PlanSummary();
    for (std::size_t g = 0; g < groups_.size(); ++g) {
      const Group& group = groups_[g];
      tables_.push_back({true, g,
                         group.heading + "（" + CountText(group.count) + "）",
                         group.rows()});
      if (g == 0) tableBreaks_.push_back(tables_.size() - 1);
    }
    if (!PlanCompare()) return false;
    return Flow() && PlanScreens();
  }

  int pageCount() const { return static_cast<int>(1 + pages_.size() + screenPages_); }

  // The bookmarks: the cover, the summary, each set folder and kind's table, the
  // compare pages and the screens.
  void Bookmarks() {
    canvas_.AddBookmark(0, Utf8(StringId::RptCoverBookmark), 1);
    canvas_.AddBookmark(0, Utf8(StringId::RptSummaryTitle), 2);
    int tables = 0, set = 0;
    std::size_t lastFolder = SIZE_MAX;
    for (std::size_t t = 0; t < tables_.size(); ++t) {
      const FlowTable& table = tables_[t];
      const int page = tablePage_[t] + 2;
      if (!table.group) continue;
      const Group& g = groups_[table.ref];
      if (tables == 0) tables = canvas_.AddBookmark(0, Utf8(StringId::RptTablesTitle), page);
      if (g.folder != lastFolder) {
        set = canvas_.AddBookmark(tables, g.setName, page);
        lastFolder = g.folder;
      }
      canvas_.AddBookmark(set, Utf8(RootTextId(g.kind)), page);
    }
    if (!compareTables_.empty()) {
      const int compare = canvas_.AddBookmark(0, compareTitle_, tablePage_[compareTables_.front()] + 2);
      for (std::size_t i = 0; i < compareTables_.size(); ++i)
        if (compareKinds_[i] != TransferKind::None)
          canvas_.AddBookmark(compare, Utf8(RootTextId(compareKinds_[i])), tablePage_[compareTables_[i]] + 2);
    }
    if (screenPages_ > 0) {
      const int first = static_cast<int>(1 + pages_.size()) + 1;
      const int screensMark = canvas_.AddBookmark(0, Utf8(StringId::RptScreensTitle), first);
      lastFolder = SIZE_MAX;
      for (std::size_t g = 0; g < groups_.size(); ++g) {
        if (slotStart_[g + 1] == slotStart_[g]) continue;
        const int page = first + static_cast<int>(slotStart_[g] / static_cast<std::size_t>(perPage_));
        if (groups_[g].folder != lastFolder) {
          set = canvas_.AddBookmark(screensMark, groups_[g].setName, page);
          lastFolder = groups_[g].folder;
        }
        canvas_.AddBookmark(set, Utf8(RootTextId(groups_[g].kind)), page);
      }
    }
  }

  // Title, Author, Subject and Keywords.
  void Information() {
    std::string keywords = "RXT4, " + FolderName(source_.DataFolderPath());
    for (const SourceFolder& f : folders_) {
      if (keywords.size() > 400) break;
      keywords += ", " + EscapedName(f.name);
    }
    if (options_.profile) keywords += ", " + options_.profile->name();
    canvas_.SetInformation(options_.cover.company, options_.cover.subject, keywords);
  }

  // Draws page n (from 0); false (with error()) when its measurements could not be read again.
  bool DrawPage(int n) {
    const auto index = static_cast<std::size_t>(n);
    if (index == 0) {
      DrawCover();
    } else if (index - 1 < pages_.size()) {
      if (!HoldFoldersOf(index - 1)) return false;
      bool rows = false;
      for (const Segment& segment : pages_[index - 1]) {
        rows = rows || segment.type == Segment::Type::TableRows;
        if (!DrawSegment(segment)) return true;  // aborted: the job ends at its next check
      }
      if (rows) DrawLegend();
    } else {
      if (!HoldFoldersOf(index - 1)) return false;
      DrawScreens(index - 1 - pages_.size());
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
  bool Aborted() const { return abort_.load(std::memory_order_relaxed); }

  bool KindChosen(TransferKind kind) const {
    return options_.kinds.empty() || std::find(options_.kinds.begin(), options_.kinds.end(), kind) != options_.kinds.end();
  }

  void MakeGroups() {
    for (std::size_t f = 0; f < folders_.size(); ++f) {
      std::size_t first = 0;
      for (TransferKind kind : kAllTransferKinds) {
        const auto count = static_cast<std::size_t>(folders_[f].counts[static_cast<std::size_t>(kind)]);
        if (count == 0) continue;
        if (KindChosen(kind)) {
          Group& g = groups_.emplace_back();
          g.folder = f;
          g.first = first;
          g.count = count;
          g.kind = kind;
          g.setName = EscapedName(folders_[f].name);
          g.heading = g.setName + " ／ " + Utf8(RootTextId(kind));
        }
        first += count;
      }
    }
  }

  // --- judging ---

  // Judges the set folders one by one as `rxt4 check` does (FolderJudgement), from the
  // models the source gives; a source without models leaves them unjudged.
  bool Judge() {
    if (!options_.profile) return !Aborted();
    Judging judging(groups_, folders_, options_, findings_);
    std::vector<bool> done(folders_.size(), false);
    JudgeOptions one;
    one.threads = 1;
    for (std::size_t f = 0; f < folders_.size(); ++f) {
      if (Aborted()) return false;
      if (done[f] || folders_[f].total() == 0) continue;
      std::shared_ptr<const DataFolderModel> model = source_.ModelOf(folders_[f].name, error_);
      if (!model) {
        if (!error_.empty()) return false;
        break;  // nothing to judge with
      }
      std::vector<std::string> names;
      for (std::size_t k = f; k < folders_.size(); ++k)
        if (!done[k]) names.push_back(folders_[k].name);
      const FolderJudgement judgement(*model, *options_.profile, names, &judging, one);
      for (std::size_t k : judging.judged()) done[k] = true;
      done[f] = true;
      judged_ = true;
    }
    readingsNoMeasurement_ = judging.readings().noMeasurement;
    // A group whose set folder gave another number of measurements than it counted
    // is not judged (its drawing will say that the set folder changed).
    for (Group& g : groups_)
      if (!g.judged()) {
        g.rowStart.clear();
        g.verdicts.clear();
        g.counts = {};
      }
    return !Aborted();
  }

  // --- planning ---

  void AddBlock(Block::Type type, double height, std::string text = {}) {
    flow_.push_back({false, blocks_.size()});
    blocks_.push_back({type, height, std::move(text)});
  }
  void AddTable(FlowTable table) {
    flow_.push_back({true, tables_.size()});
    tables_.push_back(std::move(table));
  }
  std::size_t AddStatic(StaticTable table) {
    statics_.push_back(std::move(table));
    return statics_.size() - 1;
  }

  void PlanSummary() {
    AddBlock(Block::Type::Verdict, kVerdictBlockPt);
    if (!judged_) {
      AddBlock(Block::Type::Text, kTextBlockPt, Utf8(StringId::RptNotJudged));
      return;
    }
    StaticTable counts;
    counts.headers = {Utf8(StringId::RptHeadSetFolder), Utf8(StringId::RptHeadKind), Utf8(StringId::RptHeadCount),
                      Utf8(StringId::VerdictPass),      Utf8(StringId::VerdictCaution), Utf8(StringId::VerdictFail),
                      Utf8(StringId::VerdictNone),      Utf8(StringId::RptHeadVerdict)};
    counts.right = {false, false, true, true, true, true, true, false};
    auto row = [](const std::string& set, const std::string& kind, const VerdictCounts& c) {
      return std::vector<std::string>{set,
                                      kind,
                                      std::to_string(c.total()),
                                      std::to_string(c.pass),
                                      std::to_string(c.caution),
                                      std::to_string(c.fail),
                                      std::to_string(c.none),
                                      VerdictMark(c.worst())};
    };
    VerdictCounts set;
    for (std::size_t g = 0; g < groups_.size(); ++g) {
      const Group& group = groups_[g];
      counts.rows.push_back(row(group.setName, Utf8(RootTextId(group.kind)), group.counts));
      set.Add(group.counts);
      overall_.Add(group.counts);
      if (g + 1 == groups_.size() || groups_[g + 1].folder != group.folder) {
        counts.rows.push_back(row(group.setName, Utf8(StringId::RptSetTotal), set));
        set = {};
      }
    }
    counts.rows.push_back(row(Utf8(StringId::CheckOverall), "", overall_));
    const std::size_t countRows = counts.rows.size();
    AddTable({false, AddStatic(std::move(counts)), Utf8(StringId::RptSummaryCounts), countRows});
    if (findings_.empty()) {
      AddBlock(Block::Type::Space, 10);
      AddBlock(Block::Type::Text, kTextBlockPt, Utf8(StringId::RptNoFindings));
      return;
    }
    StaticTable list;
    list.headers = {Utf8(StringId::RptHeadSetFolder) + " ／ " + Utf8(StringId::RptHeadKind),
                    Utf8(StringId::RptHeadNo),
                    Utf8(StringId::RptHeadLabel),
                    Utf8(StringId::RptHeadChannel),
                    Utf8(StringId::RptHeadReading),
                    Utf8(StringId::RptHeadValue),
                    Utf8(StringId::RptHeadVerdict),
                    Utf8(StringId::RptHeadLimit)};
    list.right = {false, true, false, false, false, true, false, false};
    list.rows = std::move(findings_);
    const std::size_t listRows = list.rows.size();
    AddTable({false, AddStatic(std::move(list)), Utf8(StringId::RptFindings), listRows});
  }

  // The compare pages: the two set folders' points matched by band and channel.
  bool PlanCompare() {
    if (!options_.compare) return true;
    const auto& [nameA, nameB] = *options_.compare;
    std::shared_ptr<const DataFolderModel> models[2];
    const std::string* names[2] = {&nameA, &nameB};
    for (int i = 0; i < 2; ++i) {
      models[i] = source_.ModelOf(*names[i], error_);
      if (!models[i] && !error_.empty()) return false;
      const bool present = models[i] && std::find(models[i]->SetFolders().begin(), models[i]->SetFolders().end(),
                                                  *names[i]) != models[i]->SetFolders().end();
      if (!present) {
        observer_.Warn({JobWarning::Kind::CompareSetMissing, *names[i], 0});
        return !Aborted();
      }
    }
    const LimitsProfile none;
    const LimitsProfile& profile = options_.profile ? *options_.profile : none;
    before_ = PointsOfSet(*models[0], nameA, profile);
    after_ = PointsOfSet(*models[1], nameB, profile);
    const std::vector<ComparedPoint> compared = ComparePoints(before_, after_);
    compareTitle_ = FillIn(Page(StringId::RptCompareTitle), {EscapedName(nameA), EscapedName(nameB)});
    const std::string missing = Utf8(StringId::RptCompareMissing);
    auto nameOf = [&](const ChannelPoint* p, int side) -> std::string {
      if (p == nullptr) return {};
      const CDataSet* record = models[side]->Record(p->item);
      std::string label =
          record && options_.label ? options_.label(*names[side], p->key.kind, record->index) : std::string();
      return label.empty() ? Display(p->dataName) : label;
    };
    std::size_t at = 0;
    while (at < compared.size()) {
      const TransferKind kind = compared[at].key.kind;
      if (!KindChosen(kind)) {
        ++at;
        continue;
      }
      StaticTable table;
      table.headers = {Utf8(StringId::RptHeadLabel),
                       Utf8(StringId::RptHeadBand),
                       Utf8(StringId::RptHeadChannel),
                       Utf8(StringId::RptHeadReading),
                       FillIn(Page(StringId::RptCompareBefore), {EscapedName(nameA)}),
                       Utf8(StringId::RptHeadVerdict),
                       FillIn(Page(StringId::RptCompareAfter), {EscapedName(nameB)}),
                       Utf8(StringId::RptHeadVerdict),
                       Utf8(StringId::RptCompareChange)};
      table.right = {false, false, false, false, true, false, true, false, true};
      for (; at < compared.size() && compared[at].key.kind == kind; ++at) {
        const ComparedPoint& point = compared[at];
        const ChannelPoint* p = point.before ? point.before : point.after;
        const std::string name = point.before ? nameOf(point.before, 0) : nameOf(point.after, 1);
        for (const ReadingChange& change : point.readings) {
          std::string delta;
          if (change.change && change.reading != Reading::Ber) {
            char text[32];
            std::snprintf(text, sizeof text, "%+.1f dB", *change.change);
            delta = text;
          }
          table.rows.push_back({name, Display(point.key.band), PlaceText(p->row, p->field, point.key.channel),
                                std::string(ReadingName(change.reading, Language::Japanese)),
                                change.before ? ValueWords(*change.before) : missing,
                                change.before ? VerdictMark(change.before->verdict) : std::string(),
                                change.after ? ValueWords(*change.after) : missing,
                                change.after ? VerdictMark(change.after->verdict) : std::string(), delta});
        }
      }
      if (table.rows.empty()) continue;
      const std::size_t rows = table.rows.size();
      compareKinds_.push_back(kind);
      compareTables_.push_back(tables_.size());
      if (compareTables_.size() == 1) tableBreaks_.push_back(tables_.size());
      tables_.push_back({false, AddStatic(std::move(table)), compareTitle_ + " ／ " + Utf8(RootTextId(kind)), rows});
    }
    if (compareTables_.empty()) {
      // Said on a page of its own, after the tables.
      StaticTable nothing;
      nothing.headers = {Utf8(StringId::RptCompareNothing)};
      nothing.right = {false};
      tableBreaks_.push_back(tables_.size());
      compareKinds_.push_back(TransferKind::None);
      compareTables_.push_back(tables_.size());
      tables_.push_back({false, AddStatic(std::move(nothing)), compareTitle_, 0});
    }
    return !Aborted();
  }

  void NewPage(double& y) {
    pages_.emplace_back();
    y = kContentTopPt;
  }

  // Places the summary's blocks and tables, then the tables of the set folders and
  // kinds, then the compare tables: each part begins on a page of its own, a table
  // flows on after the one before it; its heading stays with its header and first
  // row; a table that goes on to the next page repeats its header there.
  bool Flow() {
    double y = kFlowBottomPt;
    NewPage(y);
    auto place = [&](std::size_t t) -> bool {
      const FlowTable& table = tables_[t];
      const double need = (table.heading.empty() ? 0 : kHeadingHeightPt) + kHeaderHeightPt +
                          (table.rows > 0 ? kRowHeightPt : 0);
      const bool breakHere = std::find(tableBreaks_.begin(), tableBreaks_.end(), t) != tableBreaks_.end();
      if (breakHere || y + need > kFlowBottomPt) NewPage(y);
      tablePage_[t] = static_cast<int>(pages_.size()) - 1;
      if (!table.heading.empty()) {
        pages_.back().push_back({Segment::Type::TableHeading, t, 0, 1, y});
        y += kHeadingHeightPt;
      }
      pages_.back().push_back({Segment::Type::TableHeader, t, 0, 1, y});
      y += kHeaderHeightPt;
      Segment* rows = nullptr;
      for (std::size_t i = 0; i < table.rows; ++i) {
        if (Aborted(i + 1)) return false;
        if (y + kRowHeightPt > kFlowBottomPt) {
          NewPage(y);
          if (!table.heading.empty()) {  // said again, as going on
            pages_.back().push_back({Segment::Type::TableHeading, t, 1, 1, y});
            y += kHeadingHeightPt;
          }
          pages_.back().push_back({Segment::Type::TableHeader, t, 0, 1, y});
          y += kHeaderHeightPt;
          rows = nullptr;
        }
        if (rows == nullptr) rows = &pages_.back().emplace_back(Segment{Segment::Type::TableRows, t, i, 0, y});
        ++rows->count;
        y += kRowHeightPt;
      }
      return !Aborted();
    };
    tablePage_.assign(tables_.size(), 0);
    std::vector<bool> placed(tables_.size(), false);
    for (const auto& [table, ref] : flow_) {
      if (table) {
        if (!place(ref)) return false;
        placed[ref] = true;
        continue;
      }
      const Block& b = blocks_[ref];
      if (y + b.height > kFlowBottomPt) NewPage(y);
      pages_.back().push_back({Segment::Type::Block, ref, 0, 1, y});
      y += b.height;
    }
    for (std::size_t t = 0; t < tables_.size(); ++t)
      if (!placed[t] && !place(t)) return false;
    return true;
  }

  // The screens' appendix: the chosen measurements of every group, perPage_ to a
  // page, flowing on from kind to kind.
  bool PlanScreens() {
    slotStart_.assign(1, 0);
    for (Group& g : groups_) {
      std::size_t slots = 0;
      if (options_.screens == ReportScreens::All) {
        slots = g.count;
      } else if (options_.screens == ReportScreens::Failed) {
        for (std::size_t m = 0; m < g.verdicts.size(); ++m)
          if (g.verdicts[m] == Verdict::Fail) picked_[&g - groups_.data()].push_back(static_cast<std::uint32_t>(m));
        slots = picked_[&g - groups_.data()].size();
      }
      slotStart_.push_back(slotStart_.back() + slots);
    }
    const std::size_t per = static_cast<std::size_t>(perPage_);
    screenPages_ = (slotStart_.back() + per - 1) / per;
    return !Aborted();
  }

  // The group and measurement of a screen slot.
  std::pair<std::size_t, std::size_t> Slot(std::size_t slot) const {
    const auto after = std::upper_bound(slotStart_.begin(), slotStart_.end(), slot);
    const auto g = static_cast<std::size_t>(after - slotStart_.begin()) - 1;
    const std::size_t i = slot - slotStart_[g];
    if (options_.screens == ReportScreens::Failed) return {g, picked_.at(g)[i]};
    return {g, i};
  }

  // --- the measurements, set folder by set folder ---

  // Reads the set folders flowing page n (or screen page n - flowing pages) shows and
  // lets go of the others.
  bool HoldFoldersOf(std::size_t n) {
    std::vector<std::size_t> wanted;
    if (n < pages_.size()) {
      for (const Segment& segment : pages_[n])
        if (segment.type != Segment::Type::Block && tables_[segment.ref].group)
          wanted.push_back(groups_[tables_[segment.ref].ref].folder);
    } else {
      const std::size_t per = static_cast<std::size_t>(perPage_);
      const std::size_t first = (n - pages_.size()) * per;
      for (std::size_t s = first; s < std::min(first + per, slotStart_.back()); ++s)
        wanted.push_back(groups_[Slot(s).first].folder);
    }
    bool released = false;
    for (auto it = held_.begin(); it != held_.end();) {
      const bool keep = std::find(wanted.begin(), wanted.end(), it->first) != wanted.end();
      released = released || !keep;
      it = keep ? std::next(it) : held_.erase(it);
    }
    if (released) cells_.Forget();
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

  std::string LabelOf(const Group& g, const SelectedMeasurement& m) const {
    return options_.label ? options_.label(folders_[g.folder].name, g.kind, m.record.index) : std::string();
  }

  // --- drawing ---

  // Text in a box of the given width: smaller when it does not fit, and cut there.
  void FitText(double x, double baseline, double width, const std::string& text, double size) {
    canvas_.SetFontSize(size);
    const double w = canvas_.TextWidth(text);
    if (w > width) canvas_.SetFontSize(std::max(size * width / w, 6.0));
    canvas_.Clip(x, baseline - size * 1.2, width, size * 1.6);
    canvas_.Text(x, baseline, text);
    canvas_.Unclip();
  }

  // Greedy filling of lines character by character.
  std::vector<std::string> WrapText(const std::string& text, double width) {
    std::vector<std::string> lines(1);
    const std::string valid = ValidUtf8(text);
    for (std::size_t i = 0; i < valid.size();) {
      std::size_t n = 1;
      while (i + n < valid.size() && (static_cast<unsigned char>(valid[i + n]) & 0xC0) == 0x80) ++n;
      const std::string ch = valid.substr(i, n);
      i += n;
      if (ch == "\n") {
        lines.emplace_back();
        continue;
      }
      if (!lines.back().empty() && canvas_.TextWidth(lines.back() + ch) > width) lines.emplace_back();
      lines.back() += ch;
    }
    return lines;
  }

  void DrawCover() {
    const ReportCover& c = options_.cover;
    canvas_.SetFontSize(kTitleFontPt);
    canvas_.Text(kMarginPt, 84, Utf8(StringId::ReportTitle));
    canvas_.SetFontSize(9.5);
    canvas_.TextRight(kRightPt, 62, Utf8(StringId::RptCoverNumber) + "  " + options_.number);
    canvas_.TextRight(kRightPt, 78, Utf8(StringId::RptCoverIssued) + "  " + options_.date);
    canvas_.Line(kMarginPt, 96, kRightPt, 96, 1.2);

    std::string data = FolderName(source_.DataFolderPath());
    if (!folders_.empty()) {
      data += "（";
      for (std::size_t i = 0; i < folders_.size() && i < 8; ++i) data += (i ? "、" : "") + EscapedName(folders_[i].name);
      if (folders_.size() > 8) data += "、… " + CountText(folders_.size());
      data += "）";
    }
    const std::pair<StringId, const std::string*> fields[] = {
        {StringId::RptCoverSubject, &c.subject},       {StringId::RptCoverCustomer, &c.customer},
        {StringId::RptCoverSite, &c.site},             {StringId::RptCoverAddress, &c.address},
        {StringId::RptCoverMeasuredAt, &c.measuredAt}, {StringId::RptCoverWeather, &c.weather},
        {StringId::RptCoverTechnician, &c.technician}, {StringId::RptCoverInstrument, &c.instrument},
        {StringId::RptCoverData, &data},
    };
    constexpr double kLabelW = 88, kRowH = 26;
    double y = 116;
    for (const auto& [label, value] : fields) {
      canvas_.FillRect(kMarginPt, y, kLabelW, kRowH, 0.92);
      canvas_.StrokeRect(kMarginPt, y, kLabelW, kRowH, 0.5);
      canvas_.StrokeRect(kMarginPt + kLabelW, y, kContentWidthPt - kLabelW, kRowH, 0.5);
      canvas_.SetFontSize(kFieldFontPt);
      canvas_.Text(kMarginPt + 6, y + 17, Utf8(label));
      FitText(kMarginPt + kLabelW + 8, y + 17.5, kContentWidthPt - kLabelW - 16, *value, 11.5);
      y += kRowH;
    }
    // 所見: a few lines.
    constexpr double kRemarksH = 96;
    canvas_.FillRect(kMarginPt, y, kLabelW, kRemarksH, 0.92);
    canvas_.StrokeRect(kMarginPt, y, kLabelW, kRemarksH, 0.5);
    canvas_.StrokeRect(kMarginPt + kLabelW, y, kContentWidthPt - kLabelW, kRemarksH, 0.5);
    canvas_.SetFontSize(kFieldFontPt);
    canvas_.Text(kMarginPt + 6, y + 17, Utf8(StringId::RptCoverRemarks));
    const std::vector<std::string> lines = WrapText(c.remarks, kContentWidthPt - kLabelW - 16);
    for (std::size_t i = 0; i < lines.size() && i < 5; ++i)
      canvas_.Text(kMarginPt + kLabelW + 8, y + 17 + 16 * static_cast<double>(i), lines[i]);

    // The overall verdict, as the summary gives it.
    if (judged_) {
      const double top = y + kRemarksH + 30;
      canvas_.FillRect(kMarginPt, top, kLabelW, 44, 0.92);
      canvas_.StrokeRect(kMarginPt, top, kLabelW, 44, 0.5);
      canvas_.StrokeRect(kMarginPt + kLabelW, top, 190, 44, 1.2);
      canvas_.SetFontSize(kFieldFontPt);
      canvas_.Text(kMarginPt + 6, top + 27, Utf8(StringId::RptSummaryTitle));
      canvas_.SetFontSize(22);
      canvas_.TextCentred(kMarginPt + kLabelW + 95, top + 31, VerdictMark(overall_.worst()));
      if (options_.profile)
        FitText(kMarginPt + kLabelW + 202, top + 27, kContentWidthPt - kLabelW - 202,
                FillIn(Page(StringId::RptSummaryProfile), {options_.profile->name()}), 9.5);
    }

    // The company, with its logo, and the boxes for the seal and the signature.
    const double companyTop = 620;
    double textTop = companyTop;
    if (!c.logo.empty()) {
      std::string extension = c.logo.extension().string();
      for (char& ch : extension) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
      const bool drawn = extension == ".svg" ? canvas_.SvgFile(c.logo, kMarginPt, companyTop, 170, 54)
                                             : canvas_.PngFile(c.logo, kMarginPt, companyTop, 170, 54);
      if (drawn)
        textTop += 62;
      else
        observer_.Warn({JobWarning::Kind::LogoUnreadable, c.logo.filename().string(), 0});
    }
    FitText(kMarginPt, textTop + 14, 300, c.company, 13);
    canvas_.SetFontSize(9.5);
    if (!c.companyAddress.empty()) FitText(kMarginPt, textTop + 32, 300, c.companyAddress, 9.5);
    if (!c.companyPhone.empty())
      FitText(kMarginPt, textTop + 47, 300, Utf8(StringId::RptCoverPhone) + " " + c.companyPhone, 9.5);
    constexpr double kBoxW = 84, kBoxH = 100, kBoxHead = 18;
    const StringId boxes[] = {StringId::RptCoverStamp, StringId::RptCoverSignature};
    for (int b = 0; b < 2; ++b) {
      const double x = kRightPt - (2 - b) * kBoxW - (1 - b) * 8;
      canvas_.FillRect(x, companyTop, kBoxW, kBoxHead, 0.92);
      canvas_.StrokeRect(x, companyTop, kBoxW, kBoxHead, 0.5);
      canvas_.StrokeRect(x, companyTop + kBoxHead, kBoxW, kBoxH - kBoxHead, 0.5);
      canvas_.SetFontSize(9.5);
      canvas_.TextCentred(x + kBoxW / 2, companyTop + 13, Utf8(boxes[b]));
    }
  }

  bool DrawSegment(const Segment& segment) {
    switch (segment.type) {
      case Segment::Type::Block: DrawBlock(blocks_[segment.ref], segment.y); return true;
      case Segment::Type::TableHeading:
        canvas_.SetFontSize(kHeadingFontPt);
        canvas_.Text(kMarginPt, segment.y + 22,
                     segment.first == 0 ? tables_[segment.ref].heading
                                        : FillIn(Page(StringId::RptContinued), {tables_[segment.ref].heading}));
        return true;
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
      case Block::Type::Verdict: {
        canvas_.SetFontSize(16);
        canvas_.Text(kMarginPt, y + 20, Utf8(StringId::RptSummaryTitle));
        const double boxY = y + 30, boxW = 190, boxH = 56;
        canvas_.StrokeRect(kMarginPt, boxY, boxW, boxH, 1.5);
        canvas_.SetFontSize(kVerdictFontPt);
        canvas_.TextCentred(kMarginPt + boxW / 2, boxY + 39, VerdictMark(judged_ ? overall_.worst() : Verdict::None));
        const double x = kMarginPt + boxW + 18, width = kRightPt - x;
        if (options_.profile)
          FitText(x, boxY + 12, width, FillIn(Page(StringId::RptSummaryProfile), {options_.profile->name()}),
                  kFieldFontPt);
        if (judged_)
          FitText(x, boxY + 30, width,
                  FillIn(Page(StringId::CheckSummary),
                         {Page(StringId::CheckOverall), VerdictText(overall_.worst(), Language::Japanese), std::to_string(overall_.total()),
                          std::to_string(overall_.pass), std::to_string(overall_.caution),
                          std::to_string(overall_.fail), std::to_string(overall_.none),
                          std::to_string(readingsNoMeasurement_)}),
                  9);
        FitText(x, boxY + 48, width, Utf8(StringId::RptLegendMarks), kLegendFontPt + 0.5);
        break;
      }
      case Block::Type::Text:
        canvas_.SetFontSize(kFieldFontPt);
        canvas_.Text(kMarginPt, y + 14, b.text);
        break;
      case Block::Type::Space: break;
    }
  }

  void DrawLegend() {
    const double y = kFlowBottomPt + 6;
    canvas_.Line(kMarginPt, y, kRightPt, y, 0.3);
    canvas_.SetFontSize(kLegendFontPt);
    canvas_.Text(kMarginPt, y + 9, Utf8(StringId::RptLegend));
    canvas_.Text(kMarginPt, y + 18, Utf8(StringId::RptLegendMarks));
  }

  // The header texts and alignment of a table, and for a group table its columns:
  // those it always shows, and the optional ones some row stores something in.
  void Columns(std::size_t t, TableLayout& layout) {
    const FlowTable& table = tables_[t];
    if (!table.group) {
      const StaticTable& s = statics_[table.ref];
      layout.headers = s.headers;
      layout.right = s.right;
      return;
    }
    const Group& g = groups_[table.ref];
    const std::size_t group = table.ref;
    bool labels = false;
    for (std::size_t m = 0; m < g.count && !labels; ++m) labels = !LabelOf(g, At(group, m)).empty();
    for (const TableColumn& column : KindColumns(g.kind, options_.profile && g.judged(), labels)) {
      bool shown = !column.optional;
      for (std::size_t r = 0; r < g.rows() && !shown; ++r) {
        const auto [m, sub] = g.At(r);
        shown = TableCells::Stored(At(group, m).record, sub, column);
      }
      if (!shown) continue;
      layout.columns.push_back(column);
      layout.headers.push_back(ColumnHeader(column));
      layout.right.push_back(RightAligned(column.field));
    }
  }

  void RowCells(std::size_t t, std::size_t row, const TableLayout& layout, std::vector<std::string>& cells) {
    const FlowTable& table = tables_[t];
    cells.clear();
    if (!table.group) {
      cells = statics_[table.ref].rows[row];
      return;
    }
    const Group& g = groups_[table.ref];
    const auto [m, sub] = g.At(row);
    const SelectedMeasurement& measurement = At(table.ref, m);
    const std::string label = LabelOf(g, measurement);
    for (const TableColumn& column : layout.columns) cells.push_back(cells_.Cell(measurement.record, label, sub, column));
  }

  // Column widths from the widest text of each column; a table wider than the page
  // gets a smaller font, a narrower one shares the rest out among its text columns.
  // Nothing when the abort was raised while measuring.
  const TableLayout* LayoutOf(std::size_t t) {
    auto found = layouts_.find(t);
    if (found != layouts_.end()) return &found->second;
    TableLayout layout;
    Columns(t, layout);
    canvas_.SetFontSize(kTableFontPt);
    std::vector<double> widths;
    for (const std::string& h : layout.headers) widths.push_back(canvas_.TextWidth(h));
    std::vector<std::string> cells;
    for (std::size_t r = 0; r < tables_[t].rows; ++r) {
      if (Aborted(r + 1)) return nullptr;
      RowCells(t, r, layout, cells);
      for (std::size_t c = 0; c < cells.size() && c < widths.size(); ++c)
        widths[c] = std::max(widths[c], canvas_.TextWidth(cells[c]));
    }
    for (double& w : widths) w += 2 * kCellPaddingPt;
    layout.widths = std::move(widths);
    double total = 0;
    for (double w : layout.widths) total += w;
    if (total > kContentWidthPt) {
      const double scale = std::max(kContentWidthPt / total, kMinTableFontPt / kTableFontPt);
      layout.fontPt = kTableFontPt * scale;
      for (double& w : layout.widths) w *= scale;
    } else if (total > 0) {
      // The rest goes to the text columns, so that the right-aligned numbers keep
      // their column narrow and stay clear of the text that follows them.
      std::vector<std::size_t> texts;
      for (std::size_t c = 0; c < layout.right.size(); ++c)
        if (!layout.right[c]) texts.push_back(c);
      for (std::size_t c : texts) layout.widths[c] += (kContentWidthPt - total) / static_cast<double>(texts.size());
    }
    return &layouts_.emplace(t, std::move(layout)).first->second;
  }

  bool DrawTableLine(std::size_t t, std::optional<std::size_t> row, double y) {
    const TableLayout* layout = LayoutOf(t);
    if (layout == nullptr) return false;
    const double height = row ? kRowHeightPt : kHeaderHeightPt;
    double width = 0;
    for (double w : layout->widths) width += w;
    if (!row) canvas_.FillRect(kMarginPt, y, width, height, 0.88);
    std::vector<std::string> texts;
    if (row)
      RowCells(t, *row, *layout, texts);
    else
      texts = layout->headers;
    canvas_.SetFontSize(layout->fontPt);
    double x = kMarginPt;
    for (std::size_t c = 0; c < layout->widths.size() && c < texts.size(); ++c) {
      const double w = layout->widths[c];
      const double baseline = y + height / 2 + layout->fontPt * 0.36;
      canvas_.Clip(x, y, w, height);
      if (layout->right[c])
        canvas_.TextRight(x + w - kCellPaddingPt, baseline, texts[c]);
      else
        canvas_.Text(x + kCellPaddingPt, baseline, texts[c]);
      canvas_.Unclip();
      x += w;
    }
    canvas_.Line(kMarginPt, y + height, kMarginPt + width, y + height, row ? 0.25 : 0.6);
    return true;
  }

  // Rounds to the 96 dpi pixel grid, so pictures land on whole pixels there.
  static double OnPixelGrid(double pt) { return std::round(pt / kPointsPerPixel) * kPointsPerPixel; }

  void DrawScreens(std::size_t screenPage) {
    const std::size_t per = static_cast<std::size_t>(perPage_);
    const std::size_t first = screenPage * per;
    const std::size_t count = std::min(per, slotStart_.back() - first);
    canvas_.SetFontSize(kHeadingFontPt);
    canvas_.Text(kMarginPt, kScreenHeadingBaselinePt, Utf8(StringId::RptScreensTitle));
    const int columns = perPage_ == 4 ? 2 : 1;
    const int captionLines = perPage_ == 4 ? 2 : 1;
    const double scale = perPage_ == 4 ? kPointsPerPixel : 2 * kPointsPerPixel;
    const double w = Surface::kScreenAreaWidth * scale, h = Surface::kScreenAreaHeight * scale;
    const double gap = columns == 2 ? 24 : 0;
    const double left = OnPixelGrid((PdfCanvas::kPageWidthPt - columns * w - (columns - 1) * gap) / 2);
    const double slot = (kScreenAreaBottomPt - kScreenAreaTopPt) / 2;
    const double captionH = captionLines * kCaptionLinePt + 4;
    for (std::size_t i = 0; i < count; ++i) {
      const auto [group, m] = Slot(first + i);
      const Group& g = groups_[group];
      const int row = static_cast<int>(i) / columns, column = static_cast<int>(i) % columns;
      const double x = OnPixelGrid(left + column * (w + gap));
      const double y = OnPixelGrid(kScreenAreaTopPt + row * slot + (slot - h - captionH) / 2);
      const SelectedMeasurement& measurement = At(group, m);
      companions_.Check(measurement.record);
      screens_.Select(measurement.record);
      screens_.Paint(surface_);
      canvas_.Picture(surface_.View(), x, y, scale);
      std::string name = LabelOf(g, measurement);
      if (name.empty()) name = Display(measurement.record.firstRow().Field(Index(Column::DataName)));
      const std::string what = FillIn(Page(StringId::RptCaption), {std::to_string(measurement.record.index), name});
      const std::string verdict = g.judged() ? VerdictMark(g.verdicts[m]) : std::string();
      canvas_.SetFontSize(kCaptionFontPt);
      if (captionLines == 2) {
        FitText(x, y + h + 11, w, what + (verdict.empty() ? "" : "  " + verdict), kCaptionFontPt);
        FitText(x, y + h + 11 + kCaptionLinePt, w, g.heading, kCaptionFontPt);
      } else {
        FitText(x, y + h + 11, w, g.heading + "  " + what + (verdict.empty() ? "" : "  " + verdict), kCaptionFontPt);
      }
    }
  }

  const MeasurementSource& source_;
  const ReportOptions& options_;
  PdfCanvas& canvas_;
  ScreenSet& screens_;
  JobObserver& observer_;
  const std::atomic<bool>& abort_;
  std::vector<SourceFolder> folders_;
  std::vector<Group> groups_;
  bool judged_ = false;
  VerdictCounts overall_;
  int readingsNoMeasurement_ = 0;
  std::vector<std::vector<std::string>> findings_;
  std::vector<StaticTable> statics_;
  std::vector<FlowTable> tables_;
  std::vector<Block> blocks_;
  std::vector<std::pair<bool, std::size_t>> flow_;  // the summary's items in order: (table?, index)
  std::vector<std::size_t> tableBreaks_;            // tables that begin a page
  std::vector<int> tablePage_;                      // per table: the flowing page of its heading
  std::vector<ChannelPoint> before_, after_;
  std::string compareTitle_;
  std::vector<std::size_t> compareTables_;
  std::vector<TransferKind> compareKinds_;
  std::map<std::size_t, TableLayout> layouts_;
  std::vector<std::vector<Segment>> pages_;  // the flowing pages
  std::vector<std::size_t> slotStart_;       // per group: its first screen slot; then the total
  std::map<std::size_t, std::vector<std::uint32_t>> picked_;  // --screens failed: per group, its measurements shown
  std::size_t screenPages_ = 0;
  int perPage_ = 4;
  std::map<std::size_t, FolderMeasurements> held_;  // the set folders the page being drawn shows
  std::string error_;
  TableCells cells_;
  CompanionWarnings companions_;
  Surface surface_;
};

}  // namespace

JobOutcome WriteReport(const MeasurementSource& source, const std::filesystem::path& pdf,
                       const ReportOptions& options, JobObserver& observer, const std::atomic<bool>& abort) {
  StagedFile out(pdf);
  if (!out.ok()) return JobOutcome::Failed(FillIn(Text(StringId::FileCreateFailed), {pdf.string(), ReasonText(out.error())}));
  std::shared_ptr<const FontSet> fonts = options.screenFonts;
  if (!fonts) {
    std::string fontWarning;
    fonts = FontSet::CreateDefault(&fontWarning);
    if (!fontWarning.empty()) observer.Warn({JobWarning::Kind::ScreenFontMissing, fontWarning, 0});
  }
  ScreenSet screens(fonts);
  {
    std::optional<JobWarning> fontWarning;
    PdfCanvas canvas(out, Utf8(StringId::ReportTitle), &fontWarning);
    if (fontWarning) observer.Warn(*fontWarning);
    ReportBuilder builder(source, options, canvas, screens, observer, abort);
    if (!builder.Plan()) {
      if (abort.load(std::memory_order_relaxed) || builder.error().empty()) return JobOutcome::Cancelled();
      return JobOutcome::Failed(builder.error());
    }
    builder.Information();
    const int pages = builder.pageCount();
    for (int p = 0; p < pages; ++p) {
      if (abort.load(std::memory_order_relaxed)) return JobOutcome::Cancelled();
      if (p > 0) canvas.NextPage();
      const bool drawn = builder.DrawPage(p);
      if (abort.load(std::memory_order_relaxed)) return JobOutcome::Cancelled();
      if (!drawn) return JobOutcome::Failed(builder.error());
      if (!canvas.ok()) return JobOutcome::Failed(FillIn(Text(StringId::FileWriteFailed), {pdf.string(), canvas.error()}));
      observer.Progress(p + 1, pages);
    }
    builder.Bookmarks();
    builder.FinishWarnings();
    if (!canvas.Finish()) return JobOutcome::Failed(FillIn(Text(StringId::FileWriteFailed), {pdf.string(), canvas.error()}));
  }
  if (!out.Commit()) return JobOutcome::Failed(FillIn(Text(StringId::FileWriteFailed), {pdf.string(), ReasonText(out.error())}));
  return {};
}

std::string ReportDateText(std::time_t when) {
  std::tm local{};
  localtime_r(&when, &local);
  auto two = [](int n) { return std::string(n < 10 ? "0" : "") + std::to_string(n); };
  return FillIn(Page(StringId::ReportDateFormat), {std::to_string(local.tm_year + 1900), two(local.tm_mon + 1), two(local.tm_mday)});
}

std::string ReportNumberText(std::time_t when) {
  std::tm local{};
  localtime_r(&when, &local);
  char text[32];
  const std::size_t n = std::strftime(text, sizeof text, "%Y%m%d-%H%M", &local);
  return std::string(text, n);
}

}  // namespace rxt4
