// The job record of a set folder and the company record: what reads back, what is
// refused (with its line), and that a refused write or a damaged file loses nothing.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../common/TempFolder.h"
#include "rxt4/data/DataFolderModel.h"
#include "rxt4/data/JobRecord.h"

namespace rxt4 {
namespace {

namespace fs = std::filesystem;
using test::ReadAll;
using test::TempFolder;

JobRecord FullRecord() {
  JobRecord r;
  r.title = "共聴設備 定期点検";
  r.customer = "山田ハウジング株式会社";
  r.property = "メゾン桜台 \"A棟\"";
  r.address = "東京都練馬区桜台1-2-3\n管理人室 C:\\鍵";
  r.measuredAt = "2026-04-12 10:30";
  r.weather = "晴れ";
  r.technician = "佐藤 一郎";
  r.instrument = {"RXT4", "A1234567", "1.20"};
  r.findings = "UHF 27ch のレベル不足。\tブースター調整で改善。";
  r.SetNote({TransferKind::Level, 1}, {"101号室 リビング", ""});
  r.SetNote({TransferKind::Multi, 12}, {"", "屋上\n分配器の後"});
  r.SetNote({TransferKind::Level, 2}, {"102号室 寝室", "端子交換"});
  return r;
}

TEST(JobRecord, ReadsBackWhatWasWrittenAndTheLoaderPassesOverIt) {
  TempFolder dir;
  const fs::path set = dir.path() / "0412";
  dir.Put("0412/LEVEL/0412.CSV", "No.,name\n0001,a" + std::string(28, ',') + "\n");
  dir.Put("0412/LEVEL/0412.CNT", "1");
  DataFolderModel before;
  std::vector<LoadMessage> messages;
  ASSERT_TRUE(before.Load(dir.path(), messages, LoadOptions{}));
  const int items = before.itemCount();
  const std::size_t messageCount = messages.size();

  // No file: an empty record, no error.
  JobRecordRead none = ReadJobRecord(set);
  EXPECT_FALSE(none.present);
  EXPECT_FALSE(none.error);
  EXPECT_TRUE(none.record.empty());

  RecordError error;
  ASSERT_TRUE(WriteJobRecord(set, FullRecord(), error)) << error.Text();
  JobRecordRead read = ReadJobRecord(set);
  EXPECT_TRUE(read.present);
  EXPECT_FALSE(read.error) << read.error.Text();
  EXPECT_EQ(read.record, FullRecord());
  EXPECT_EQ(read.record.Label(TransferKind::Level, 1), "101号室 リビング");
  EXPECT_EQ(read.record.Label(TransferKind::Ber, 1), "");

  DataFolderModel after;
  messages.clear();
  ASSERT_TRUE(after.Load(dir.path(), messages, LoadOptions{}));
  EXPECT_EQ(after.itemCount(), items);
  EXPECT_EQ(messages.size(), messageCount);
}

TEST(JobRecord, HandWrittenFormsRead) {
  struct Case {
    std::string text;
    std::string measuredAt;
    std::string label;  // of LEVEL:3
  };
  const Case cases[] = {
      {"measured_at = 2026-04-12T10:30:45\n", "2026-04-12 10:30", ""},
      {"measured_at = 2026-04-12\n", "2026-04-12", ""},
      {"measured_at = \"\"\n[measurement.level.3]\nlabel = \"玄関\"\n", "", "玄関"},
      {"instrument.model = \"RXT4\"\nmeasurement.LEVEL.3.label = 'x'\n", "", "x"},
  };
  for (const Case& c : cases) {
    JobRecord r;
    RecordError error;
    ASSERT_TRUE(ParseJobRecord(c.text, "job.toml", r, error)) << c.text << error.Text();
    EXPECT_EQ(r.measuredAt, c.measuredAt) << c.text;
    EXPECT_EQ(r.Label(TransferKind::Level, 3), c.label) << c.text;
  }
}

TEST(JobRecord, ADamagedFileIsRefusedWholeWithItsLine) {
  struct Case {
    std::string text;
    int line;
    std::string inReason;
  };
  const Case cases[] = {
      {"title = \"a\"\ntitle = \"b\"\n", 2, "TOML"},
      {"title = \"a\"\ntitel = \"b\"\n", 2, "titel"},
      {"title = 3\n", 1, "title"},
      {"\n\ninstrument = \"RXT4\"\n", 3, "[instrument]"},
      {"[instrument]\nmodel = \"a\"\nversion = \"1\"\n", 3, "version"},
      {"measured_at = \"12/04/2026\"\n", 1, "12/04/2026"},
      {"measured_at = \"2026-02-30 10:00\"\n", 1, "2026-02-30"},
      {"measured_at = 2026-04-12T10:30:00+09:00\n", 1, "measured_at"},
      {"[measurement.LEVLE.1]\nlabel = \"a\"\n", 1, "LEVLE"},
      {"[measurement.LEVEL.0]\nlabel = \"a\"\n", 1, "「0」"},
      {"[measurement.LEVEL.x1]\nlabel = \"a\"\n", 1, "x1"},
      {"[measurement.LEVEL.1]\nlabel = \"a\\nb\"\n", 2, "改行"},
      {"[measurement.LEVEL.1]\nnote = \"a\"\n", 2, "note"},
      {"title = \"a\\u0007\"\n", 1, "制御文字"},
      {"customer = \"" + std::string(kMaxFieldBytes + 1, 'a') + "\"\n", 1, "長すぎます"},
  };
  for (const Case& c : cases) {
    JobRecord r;
    r.title = "unchanged";
    RecordError error;
    EXPECT_FALSE(ParseJobRecord(c.text, "/x/0412/job.toml", r, error)) << c.text;
    EXPECT_EQ(error.kind, RecordError::Kind::Damaged) << c.text;
    EXPECT_EQ(error.line, c.line) << c.text << error.Text();
    EXPECT_NE(error.Text().find(c.inReason), std::string::npos) << c.text << error.Text();
    EXPECT_EQ(error.Text().rfind("/x/0412/job.toml:", 0), 0u) << error.Text();
    EXPECT_EQ(r.title, "unchanged");
  }
}

TEST(JobRecord, ARefusedOrFailedWriteLeavesTheEarlierFileAndADamagedOneIsReportedNotFatal) {
  TempFolder dir;
  const fs::path set = dir.path() / "0412";
  fs::create_directories(set);
  RecordError error;
  ASSERT_TRUE(WriteJobRecord(set, FullRecord(), error));
  const std::string good = ReadAll(JobRecordPath(set));

  JobRecord bad = FullRecord();
  bad.SetNote({TransferKind::Ber, 1}, {"two\nlines", ""});
  EXPECT_FALSE(WriteJobRecord(set, bad, error));
  EXPECT_EQ(error.kind, RecordError::Kind::Invalid);
  bad = FullRecord();
  bad.measuredAt = "yesterday";
  EXPECT_FALSE(WriteJobRecord(set, bad, error));
  EXPECT_EQ(error.kind, RecordError::Kind::Invalid);
  EXPECT_EQ(ReadAll(JobRecordPath(set)), good);
  EXPECT_EQ(fs::directory_iterator(set)->path().filename(), "job.toml");  // no temporary file left

  EXPECT_FALSE(WriteJobRecord(dir.path() / "missing", FullRecord(), error));
  EXPECT_EQ(error.kind, RecordError::Kind::WriteFailed);
  EXPECT_NE(error.Text().find((dir.path() / "missing" / "job.toml").string()), std::string::npos);

  dir.Put("0412/job.toml", "title = \"unterminated\n");
  JobRecordRead read = ReadJobRecord(set);
  EXPECT_TRUE(read.present);
  EXPECT_EQ(read.error.kind, RecordError::Kind::Damaged);
  EXPECT_TRUE(read.record.empty());

  fs::remove(JobRecordPath(set));
  fs::create_directory(JobRecordPath(set));  // a folder where the file should be
  read = ReadJobRecord(set);
  EXPECT_TRUE(read.present);
  EXPECT_EQ(read.error.kind, RecordError::Kind::Unreadable);
}

TEST(CompanyRecord, ReadsBackAndRefusesALogoThatIsNoPngOrSvg) {
  TempFolder dir;
  const fs::path file = CompanyRecordPath(dir.path());
  CompanyRecord company{"株式会社サンプル電設", "東京都千代田区1-1\n2F", "03-1234-5678", "logo.SVG"};
  RecordError error;
  ASSERT_TRUE(WriteCompanyRecord(file, company, error)) << error.Text();
  CompanyRecordRead read = ReadCompanyRecord(file);
  EXPECT_FALSE(read.error) << read.error.Text();
  EXPECT_EQ(read.record, company);
  EXPECT_EQ(CompanyLogoPath(read.record, dir.path()), dir.path() / "logo.SVG");
  EXPECT_EQ(CompanyLogoPath({"", "", "", "/abs/logo.png"}, dir.path()), fs::path("/abs/logo.png"));

  company.logo = "logo.jpg";
  EXPECT_FALSE(WriteCompanyRecord(file, company, error));
  EXPECT_EQ(error.kind, RecordError::Kind::Invalid);
  EXPECT_EQ(ReadCompanyRecord(file).record.logo, "logo.SVG");

  CompanyRecord r;
  EXPECT_FALSE(ParseCompanyRecord("name = \"a\"\nlogo = \"x.gif\"\n", "company.toml", r, error));
  EXPECT_EQ(error.line, 2);
}

TEST(JobRecord, FieldsAndMeasurementsByKey) {
  struct Case {
    std::string text;
    bool ok;
    TransferKind kind;
    int number;
  };
  const Case keys[] = {
      {"LEVEL:3", true, TransferKind::Level, 3},    {"multi:12", true, TransferKind::Multi, 12},
      {"PROFILE:999999", true, TransferKind::Profile, 999999},
      {"LEVEL", false, {}, 0},                       {"LEVEL:", false, {}, 0},
      {"LEVEL:0", false, {}, 0},                     {"LEVEL:-1", false, {}, 0},
      {"LEVEL:1000000", false, {}, 0},               {"WAVE:1", false, {}, 0},
  };
  for (const Case& c : keys) {
    std::string reason;
    std::optional<MeasurementKey> key = ParseMeasurementKey(c.text, reason);
    EXPECT_EQ(key.has_value(), c.ok) << c.text;
    if (key) EXPECT_EQ(*key, (MeasurementKey{c.kind, c.number})) << c.text;
    else EXPECT_FALSE(reason.empty()) << c.text;
  }
  ASSERT_NE(FindJobField("instrument.serial"), nullptr);
  EXPECT_EQ(FindJobField("件名"), FindJobField("title"));
  EXPECT_EQ(FindJobField("subject"), nullptr);
  EXPECT_EQ(FindCompanyField("電話")->field, CompanyField::Phone);
  const JobFieldInfo& at = *FindJobField("measured_at");
  for (std::string_view good : {"2028-02-29", "2026-12-31 23:59", ""})
    EXPECT_FALSE(CheckJobFieldText(at, good)) << good;
  for (std::string_view bad : {"2026-02-29", "2026-12-31 24:00", "2026-1-31", "2026-12-31T10:00"})
    EXPECT_TRUE(CheckJobFieldText(at, bad)) << bad;
  EXPECT_TRUE(CheckJobFieldText(*FindJobField("title"), "\xE3\x81"));  // cut UTF-8
}

}  // namespace
}  // namespace rxt4
