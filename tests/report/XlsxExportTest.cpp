// The Excel workbook of the demonstration data read back by another program
// (Debian's python3-openpyxl): codes as text with their zeros, numbers as numbers,
// the frozen and filtered header rows, verdicts by word and fill, and the verdict
// counts of the check.

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <map>
#include <sstream>

#include "DemoArchive.h"
#include "rxt4/judge/FolderJudgement.h"
#include "rxt4/judge/ProfileCatalog.h"
#include "rxt4/report/Export.h"

namespace rxt4 {
namespace {

namespace fs = std::filesystem;
using test::DemoArchive;

// Prints "key=value" lines about the workbook given as the first argument.
constexpr const char* kReader = R"(
import sys, openpyxl
book = openpyxl.load_workbook(sys.argv[1])
print('sheets=' + ','.join(book.sheetnames))
def column(sheet, title):
    for cell in sheet[1]:
        if cell.value == title:
            return cell.column
    raise SystemExit('no column ' + title)
def kind(v):
    return 'none' if v is None else type(v).__name__
level = book['レベル']
print('level.frozen=' + str(level.freeze_panes))
print('level.filter=' + str(level.auto_filter.ref))
for title in ['セットフォルダ', 'No.', 'チャンネル', 'レベル (dBμV)', 'データNo.']:
    v = level.cell(row=2, column=column(level, title)).value
    print('level.' + title + '=' + kind(v) + ':' + str(v))
marker = level.cell(row=6, column=column(level, 'レベル (dBμV)')).value
print('level.marker=' + kind(marker) + ':' + str(marker))
readings = book['判定']
print('readings.frozen=' + str(readings.freeze_panes))
counts = {}
fills = {}
for title in ['レベル 判定', 'C/N 判定', 'MER 判定', 'BER 判定']:
    c = column(readings, title)
    for row in range(2, readings.max_row + 1):
        cell = readings.cell(row=row, column=c)
        if cell.value is None:
            continue
        counts[cell.value] = counts.get(cell.value, 0) + 1
        fills[cell.value] = cell.fill.fgColor.rgb
for word in sorted(counts):
    print('count.' + word + '=' + str(counts[word]))
    print('fill.' + word + '=' + str(fills[word]))
summary = book['概要']
print('summary.overall=' + str(summary['B3'].value))
)";

std::map<std::string, std::string> ReadBack(const fs::path& workbook, const fs::path& work) {
  const fs::path script = work / "read_workbook.py";
  std::ofstream(script) << kReader;
  const std::string out =
      test::CommandOutput("/usr/bin/python3 '" + script.string() + "' '" + workbook.string() + "' 2>&1");
  std::map<std::string, std::string> facts;
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);) {
    const std::size_t eq = line.find('=');
    facts[eq == std::string::npos ? "error" : line.substr(0, eq)] += eq == std::string::npos ? line : line.substr(eq + 1);
  }
  return facts;
}

TEST(XlsxExport, ReadBackByAnotherProgram) {
  const DemoArchive& demo = DemoArchive::Get();
  ExportOptions options;
  ProfileError error;
  ASSERT_TRUE(ProfileCatalog({InstalledLimitsFolder()}, 0).Find(kDefaultProfileName, options.profile, error));
  NullJobObserver quiet;
  const std::atomic<bool> never{false};
  const fs::path file = demo.work / "export.xlsx";
  ASSERT_TRUE(ExportXlsx(demo.selection, file, options, quiet, never).done());
  const std::map<std::string, std::string> facts = ReadBack(file, demo.work);
  ASSERT_EQ(facts.count("error"), 0u) << facts.at("error");

  EXPECT_EQ(facts.at("sheets"), "概要,判定,レベル,BER,スカパー,コンスタレーション,多チャンネル,スペクトラム,遅延プロファイル,判定基準");
  const struct {
    const char* key;
    const char* expected;
  } cells[] = {
      {"level.frozen", "A2"},
      {"level.filter", "A1:AY17"},  // 4 keys, 30 columns, 3 of the verdict, 14 of the readings
      {"readings.frozen", "A2"},
      // Codes keep their zeros; numbers are numbers.
      {"level.セットフォルダ", "str:0412"},
      {"level.No.", "str:0001"},
      {"level.チャンネル", "str:27"},
      {"level.レベル (dBμV)", "float:68.2"},
      {"level.データNo.", "int:1"},
      // Where the instrument stored a marker, the column shows it in its place.
      {"level.marker", "str:---.-"},
      {"fill.合格", "FFC6EFCE"},
      {"fill.注意", "FFFFEB9C"},
      {"fill.不合格", "FFFFC7CE"},
  };
  for (const auto& c : cells) {
    ASSERT_EQ(facts.count(c.key), 1u) << c.key;
    EXPECT_EQ(facts.at(c.key), c.expected) << c.key;
  }

  // The readings' verdicts are the check's.
  const FolderJudgement check(demo.model, options.profile);
  const VerdictCounts& r = check.Overall().readings;
  const std::pair<Verdict, int> counts[] = {
      {Verdict::Pass, r.pass}, {Verdict::Caution, r.caution}, {Verdict::Fail, r.fail}, {Verdict::None, r.none}};
  for (const auto& [verdict, n] : counts) {
    const std::string key = "count." + std::string(VerdictText(verdict));
    EXPECT_EQ(facts.count(key) ? facts.at(key) : "0", std::to_string(n)) << key;
  }
  EXPECT_EQ(facts.at("summary.overall"), VerdictText(check.Overall().verdict));
}

// A table longer than a sheet goes on in "NAME (2)", ...: each part with the header,
// frozen and filtered over its own rows, and no row lost or repeated.
TEST(XlsxExport, AFullSheetGoesOnInTheNext) {
  const DemoArchive& demo = DemoArchive::Get();
  ExportOptions options;
  options.workbookSheetRows = 10;
  NullJobObserver quiet;
  const std::atomic<bool> never{false};
  const fs::path file = demo.work / "parts.xlsx";
  ASSERT_TRUE(ExportXlsx(demo.selection, file, options, quiet, never).done());
  const fs::path script = demo.work / "read_parts.py";
  std::ofstream(script) << R"(
import sys, openpyxl
book = openpyxl.load_workbook(sys.argv[1])
rows = 0
for name in book.sheetnames:
    if name == 'レベル' or name.startswith('レベル ('):
        s = book[name]
        print(name, s.max_row, s.freeze_panes, s.auto_filter.ref, s['A1'].value)
        rows += s.max_row - 1
print('rows', rows)
)";
  const std::string out = test::CommandOutput("/usr/bin/python3 '" + script.string() + "' '" + file.string() + "' 2>&1");
  std::size_t level = 0;
  for (const SelectedMeasurement& m : demo.selection.measurements) level += m.kind == TransferKind::Level;
  ASSERT_GT(level, 9u);  // more rows than one part holds
  std::string expected;
  std::size_t left = level;
  for (int part = 1; left > 0; ++part) {
    const std::size_t n = std::min<std::size_t>(left, 9);
    expected += (part == 1 ? std::string("レベル") : "レベル (" + std::to_string(part) + ")") + " " +
                std::to_string(n + 1) + " A2 A1:AY" + std::to_string(n + 1) + " セットID\n";
    left -= n;
  }
  EXPECT_EQ(out, expected + "rows " + std::to_string(level) + "\n");
}

// A workbook that cannot be put in place leaves the earlier file as it was.
TEST(XlsxExport, AFailureLeavesTheEarlierFile) {
  const DemoArchive& demo = DemoArchive::Get();
  const fs::path folder = demo.work / "xlsx-failure";
  fs::create_directories(folder / "book.xlsx");  // a folder where the file would go
  NullJobObserver quiet;
  const std::atomic<bool> never{false};
  const JobOutcome outcome = ExportXlsx(demo.selection, folder / "book.xlsx", ExportOptions{}, quiet, never);
  EXPECT_EQ(outcome.status, JobOutcome::Status::Failed);
  EXPECT_NE(outcome.message.find("book.xlsx"), std::string::npos) << outcome.message;
  EXPECT_TRUE(fs::is_directory(folder / "book.xlsx"));
  std::size_t left = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(folder)) ++left;
  EXPECT_EQ(left, 1u);
}

}  // namespace
}  // namespace rxt4
