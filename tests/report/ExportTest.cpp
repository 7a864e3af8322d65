// The SQLite and CSV exports of the demonstration data, read back with SQLite and
// compared with the loader's records and the companion files' own bytes.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <fstream>

#include "DemoArchive.h"
#include "SqliteSink.h"
#include "rxt4/judge/FolderJudgement.h"
#include "rxt4/judge/ProfileCatalog.h"
#include "rxt4/report/SetDigest.h"
#include "rxt4/report/Export.h"

namespace rxt4 {
namespace {

namespace fs = std::filesystem;
using test::DemoArchive;

// Collects warnings.
class Recorder : public JobObserver {
 public:
  std::vector<std::string> warnings;
  void Progress(int, int) override {}
  void Warning(const std::string& message) override { warnings.push_back(message); }
};

class Database {
 public:
  explicit Database(const fs::path& file) { sqlite3_open_v2(file.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr); }
  ~Database() { sqlite3_close(db_); }
  // Every row of a query, the columns of a row joined by '|', rows by '\n'.
  std::string Query(const std::string& sql) const {
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &s, nullptr) != SQLITE_OK)
      return std::string("error: ") + sqlite3_errmsg(db_);
    std::string out;
    while (sqlite3_step(s) == SQLITE_ROW) {
      if (!out.empty()) out += '\n';
      for (int c = 0; c < sqlite3_column_count(s); ++c) {
        if (c) out += '|';
        const unsigned char* text = sqlite3_column_text(s, c);
        out += text ? reinterpret_cast<const char*>(text) : "NULL";
      }
    }
    sqlite3_finalize(s);
    return out;
  }

 private:
  sqlite3* db_ = nullptr;
};

// The default profile, as rxt4 check takes it; with the graph samples when asked.
ExportOptions Options(bool samples = true) {
  ExportOptions options;
  ProfileError error;
  EXPECT_TRUE(ProfileCatalog({InstalledLimitsFolder()}, 0).Find(kDefaultProfileName, options.profile, error))
      << error.Text();
  options.samples = samples;
  return options;
}

const fs::path& ExportedDatabase() {
  static const fs::path file = [] {
    const DemoArchive& demo = DemoArchive::Get();
    NullJobObserver quiet;
    const std::atomic<bool> never{false};
    const fs::path db = demo.work / "export.db";
    EXPECT_TRUE(ExportSqlite(demo.selection, db, Options(), quiet, never).done());
    return db;
  }();
  return file;
}

// The rows of a set folder, by its name.
std::string OfSet(const char* folder) {
  return std::string("set_id = (SELECT set_id FROM sets WHERE set_folder = '") + folder + "')";
}

TEST(SqliteExport, RowsPerKindAreTheLoadersMeasurements) {
  const DemoArchive& demo = DemoArchive::Get();
  const Database db(ExportedDatabase());
  const struct {
    TransferKind kind;
    const char* table;
  } tables[] = {{TransferKind::Level, "level"},
                {TransferKind::Ber, "ber"},
                {TransferKind::Constellation, "constellation"},
                {TransferKind::Spectrum, "spectrum"},
                {TransferKind::Profile, "profile"},
                {TransferKind::Sky, "sky"},
                {TransferKind::Multi, "multi"}};
  for (const auto& t : tables)
    EXPECT_EQ(db.Query(std::string("SELECT count(*) FROM ") + t.table),
              std::to_string(demo.model.MeasurementCountOf(t.kind)))
        << t.table;
  std::size_t channels = 0;
  for (const SelectedMeasurement& m : demo.selection.measurements) channels += m.record.rows.size();
  EXPECT_EQ(db.Query("SELECT count(*) FROM multi_channels"), std::to_string(channels));
  EXPECT_EQ(db.Query("SELECT count(*) FROM columns"), "30");
  EXPECT_EQ(db.Query("SELECT count(*) FROM constellation_images"), "6");
}

TEST(SqliteExport, TextsNumbersAndMarkers) {
  const Database db(ExportedDatabase());
  const std::string level = " FROM level WHERE set_folder = '0412' AND item = ";
  const std::string ber = " FROM ber WHERE set_folder = '0412' AND item = ";
  const struct {
    std::string sql;
    const char* expected;
  } cases[] = {
      {"SELECT data_name, band_name, channel" + level + "1", "27ch NHK総合|UHF|27"},
      {"SELECT frequency_mhz, level_dbuv, typeof(level_dbuv), level_dbuv_text" + level + "1", "557.143|68.2|real|NULL"},
      {"SELECT typeof(band_no), band_no, screen_type" + level + "1", "integer|30|0"},
      // The markers: no number, the stored text beside it.
      {"SELECT level_dbuv, level_dbuv_text, cn_db_text" + level + "5", "NULL|---.-|---.-"},
      {"SELECT level_dbuv, level_dbuv_text" + level + "7", "NULL|___._"},
      {"SELECT level_dbuv, level_dbuv_text" + level + "8", "NULL|~~~.~"},
      {"SELECT ber, ber_text" + ber + "4", "NULL|-.-----"},
      {"SELECT ber, ber_text" + ber + "2", "NULL|_._____"},
      {"SELECT ber, ber_text, cn_db" + ber + "1", "0.0002|NULL|31.2"},
      {"SELECT correction, correction_text" + level + "1", "NULL|OFF"},
      {"SELECT title FROM columns WHERE name = 'level_dbuv'", "レベル(dBμ)"},
      {"SELECT name FROM columns WHERE position = 29", "correction2"},
      {"SELECT channels, data_name FROM multi WHERE set_folder = '0412' AND item = 3", "25|試験:CATV 25ch"},
      {"SELECT count(*) FROM multi_channels WHERE set_folder = '0412' AND item = 3", "25"},
      // The delay profile in dB below its main path, which lies at delay 0.
      {"SELECT delay_us, db FROM profile_samples WHERE " + OfSet("0412") + " AND item = 1 AND sample IN (0, 1)",
       "0.0|0.0\n0.123046875|-7.0"},
      {"SELECT count(*), min(delay_us), max(db) FROM profile_samples WHERE " + OfSet("0412") + " AND item = 3",
       "8192|-504.0|0.0"},
      // A PNG of 200 x 193 pixels.
      {"SELECT hex(substr(png, 1, 8)), hex(substr(png, 17, 8)) FROM constellation_images WHERE " + OfSet("0412") +
           " AND item = 1",
       "89504E470D0A1A0A|000000C8000000C1"},
      // The spectrum's frequency axis as the screen lays it out: 234 samples from x 47
      // to x 280 of a plot from 554.50 to 560.07 MHz (557.143 MHz held in single precision).
      {"SELECT frequency_mhz FROM spectrum_samples WHERE " + OfSet("0412") + " AND item = 1 AND sample IN (0, 118, 233)",
       "554.7601\n557.288\n559.7517"},
  };
  for (const auto& c : cases) EXPECT_EQ(db.Query(c.sql), c.expected) << c.sql;
}

TEST(SqliteExport, SpectrumIsTheCompanionFilesSamples) {
  const DemoArchive& demo = DemoArchive::Get();
  const Database db(ExportedDatabase());
  const std::string samples = "SELECT db FROM spectrum_samples WHERE " + OfSet("0412") + " AND item = ";
  EXPECT_EQ(db.Query(samples + "1 AND sample < 3"), "-30.0\n-31.2\n-32.4");
  // The 1872-sample trace against the file's own bytes: signed 16-bit little-endian
  // tenths of a dB after an 8-byte header.
  const std::string file = test::FileBytes(demo.data / "0412" / "SPECTRUM" / "0412.004");
  ASSERT_EQ(file.size(), 8u + 2 * 1872);
  std::string expected;
  for (std::size_t at = 8; at + 1 < file.size(); at += 2) {
    const auto raw =
        static_cast<std::int16_t>(static_cast<unsigned char>(file[at]) | static_cast<unsigned char>(file[at + 1]) << 8);
    expected += (expected.empty() ? "" : "\n") + std::to_string(raw);
  }
  EXPECT_EQ(
      db.Query("SELECT CAST(round(db * 10) AS INTEGER) FROM spectrum_samples WHERE " + OfSet("0412") +
               " AND item = 4 ORDER BY sample"),
      expected);
}

// A selection handed out set folder by set folder, counting how many of its set
// folders a job holds at once.
class CountingSource : public MeasurementSource {
 public:
  explicit CountingSource(const MeasurementSource& source) : source_(source) {}
  const fs::path& DataFolderPath() const override { return source_.DataFolderPath(); }
  std::vector<SourceFolder> Folders() const override { return source_.Folders(); }
  std::optional<FolderMeasurements> Measurements(const SourceFolder& folder, std::string& error) const override {
    std::optional<FolderMeasurements> held = source_.Measurements(folder, error);
    if (!held) return held;
    const int now = ++nowHeld;
    for (int most = mostHeld; now > most && !mostHeld.compare_exchange_weak(most, now);) {
    }
    ++loads;
    held->owner = std::shared_ptr<const void>(nullptr, [keep = held->owner, this](const void*) { --nowHeld; });
    return held;
  }
  // Set folders are read on a thread of the export, one ahead of the one being written.
  mutable std::atomic<int> nowHeld = 0, mostHeld = 0, loads = 0;

 private:
  const MeasurementSource& source_;
};

// The same folder gives the same database, byte for byte: from the viewer's loaded
// selection, from the command line's set folder by set folder reading, and with no
// more than two set folders held at a time (the one written and the next one read).
TEST(SqliteExport, TheSameFolderGivesTheSameDatabase) {
  const DemoArchive& demo = DemoArchive::Get();
  NullJobObserver quiet;
  NullLoadObserver quietLoad;
  const std::atomic<bool> never{false};
  const fs::path again = demo.work / "again.db", streamed = demo.work / "streamed.db";
  ASSERT_TRUE(ExportSqlite(demo.selection, again, Options(), quiet, never).done());
  EXPECT_EQ(test::FileBytes(again), test::FileBytes(ExportedDatabase()));
  StreamedSelection reread;
  ASSERT_TRUE(reread.Scan(demo.data, {}, quietLoad));
  const CountingSource counted(reread);
  ASSERT_TRUE(ExportSqlite(counted, streamed, Options(), quiet, never).done());
  EXPECT_EQ(test::FileBytes(streamed), test::FileBytes(ExportedDatabase()));
  EXPECT_EQ(counted.loads, 2);
  EXPECT_LE(counted.mostHeld, 2);
  EXPECT_EQ(counted.nowHeld, 0);
}

TEST(SqliteExport, AMissingCompanionFileLeavesItsGraphOut) {
  const fs::path work = DemoArchive::Get().work / "missing";
  ASSERT_TRUE(WriteDemoFolder(work / "RXT4"));
  fs::remove(work / "RXT4" / "0413" / "SPECTRUM" / "0413.002");
  DataFolderModel model;
  NullLoadObserver quiet;
  model.Load(work / "RXT4", quiet);
  Recorder recorder;
  const std::atomic<bool> never{false};
  ASSERT_TRUE(
      ExportSqlite(SelectMeasurements(model, work / "RXT4", {"0413"}), work / "e.db", Options(), recorder, never).done());
  ASSERT_EQ(recorder.warnings.size(), 1u);
  EXPECT_NE(recorder.warnings[0].find("0413.002"), std::string::npos) << recorder.warnings[0];
  const Database db(work / "e.db");
  EXPECT_EQ(db.Query("SELECT item, count(*) FROM spectrum_samples GROUP BY item"), "1|234");
  EXPECT_EQ(db.Query("SELECT count(*), min(set_folder), max(set_folder) FROM spectrum"), "2|0413|0413");
}

TEST(CsvExport, TheSameTablesInUtf8WithAByteOrderMark) {
  const DemoArchive& demo = DemoArchive::Get();
  NullJobObserver quiet;
  const std::atomic<bool> never{false};
  const fs::path csv = demo.work / "csv";
  ASSERT_TRUE(ExportCsv(demo.selection, csv, Options(), quiet, never).done());
  const std::string id = Database(ExportedDatabase()).Query("SELECT set_id FROM sets WHERE set_folder = '0412'");
  const std::string level = test::FileBytes(csv / "level.csv");
  EXPECT_EQ(level.rfind("\xEF\xBB\xBFset_id,item,set_folder,label,record_no,data_name,band_name,channel,polarization,"
                        "frequency_mhz,frequency_mhz_text,level_dbuv,level_dbuv_text,",
                        0),
            0u);
  EXPECT_EQ(std::count(level.begin(), level.end(), '\n'), 1 + 16);
  EXPECT_NE(level.find("\r\n" + id + ",1,0412,101号室 リビング,0001,27ch NHK総合,UHF,27,,557.143,,68.2,,32.5,,OFDM,"),
            std::string::npos)
      << level;
  EXPECT_NE(level.find(",5,0412,,0005,試験:未測定,N-SAT110,ND2,"), std::string::npos);
  EXPECT_NE(level.find(",,---.-,,---.-,"), std::string::npos);
  // The readings carry their set folder's columns, which the database keeps in "sets".
  const std::string readings = test::FileBytes(csv / "readings.csv");
  EXPECT_NE(readings.find("\r\n" + id + ",0412,"), std::string::npos);
  const std::string images = test::FileBytes(csv / "constellation_images.csv");
  EXPECT_NE(images.find("\r\n" + id + ",1,constellation_images/" + id + "_1.png\r\n"), std::string::npos) << images;
  EXPECT_EQ(test::FileBytes(csv / "constellation_images" / (id + "_1.png")).substr(0, 8), "\x89PNG\r\n\x1A\n");
}

// The readings of the demonstration data worked out by hand from the default profile
// (terrestrial 50-81 dBμV, BS and 110° CS 48-81, other satellites 57-81, BER at most
// 2.0E-4): every marker in words, and a marker judged as what it means.
TEST(SqliteExport, ReadingsHoldMarkersInWordsAndTheirVerdicts) {
  const Database db(ExportedDatabase());
  const std::string of = "SELECT %s FROM readings WHERE set_folder = '0412' AND kind = ";
  const struct {
    const char* where;
    const char* columns;
    const char* expected;
  } cases[] = {
      {"'level' AND item = 1", "band, channel, channel_no, frequency_mhz, level_dbuv, level_verdict, verdict",
       "UHF|27|27|557.143|68.2|合格|合格"},
      {"'level' AND item = 2", "level_dbuv, level_marker, level_verdict", "44.6|NULL|不合格"},
      // Analogue is never judged, whatever it holds.
      {"'level' AND item = 7", "service_class, level_dbuv, level_marker, level_verdict", "analogue|NULL|範囲外(下)|判定なし"},
      // Above the meter's range is above every maximum.
      {"'level' AND item = 8", "channel, channel_no, level_marker, level_verdict", "TP5|NULL|範囲外(上)|不合格"},
      {"'level' AND item = 5", "level_marker, level_verdict", "未測定|判定なし"},
      // A BER below the meter's range is better than every maximum; above it, worse.
      {"'ber' AND item = 2", "ber, ber_marker, ber_verdict, cn_db, cn_verdict, verdict", "NULL|範囲外(下)|合格|5.0|不合格|不合格"},
      {"'ber' AND item = 5", "ber_marker, ber_verdict", "範囲外(上)|不合格"},
      // A SKY row is two readings, one per field row; the second has no frequency column.
      {"'sky' AND item = 1 ORDER BY field_row", "field_row, band, channel, channel_no, frequency_mhz, level_dbuv, level_verdict",
       "1|JCSAT-3A|TP8|NULL|NULL|60.0|注意\n2|JCSAT-4A|13|13|NULL|58.5|注意"},
  };
  for (const auto& c : cases) {
    std::string sql = of;
    sql.replace(sql.find("%s"), 2, c.columns);
    EXPECT_EQ(db.Query(sql + c.where), c.expected) << c.where;
  }
  // The verdicts in the kind tables are the same, reading by reading.
  EXPECT_EQ(db.Query("SELECT verdict, verdict_reason, level_dbuv_verdict, level_dbuv_verdict_reason, cn_db_verdict "
                     "FROM level WHERE set_folder = '0412' AND item = 8"),
            "不合格|above_maximum|不合格|above_maximum|NULL");
  EXPECT_EQ(db.Query("SELECT verdict, ber_verdict, ber_verdict_reason, cn_db_verdict_reason FROM ber "
                     "WHERE set_folder = '0412' AND item = 2"),
            "不合格|合格|inside|below_minimum");
  EXPECT_EQ(db.Query("SELECT level_dbuv_verdict, level2_dbuv_verdict FROM sky WHERE set_folder = '0412' AND item = 1"),
            "注意|注意");
  EXPECT_EQ(db.Query("SELECT profile, level_min_dbuv, level_max_dbuv, ber_max FROM limits WHERE service_class = "
                     "'terrestrial'"),
            "テレビ端子|50.0|81.0|0.0002");
}

std::string Joined(std::initializer_list<std::string_view> parts) {
  std::string out;
  for (std::string_view p : parts) out += (out.empty() ? "" : "|") + std::string(p);
  return out;
}

// Every set folder's row and every judged reading, counted by verdict, are what
// rxt4 check finds (FolderJudgement, which the check prints).
TEST(SqliteExport, SetsAndReadingsAgreeWithTheCheck) {
  const DemoArchive& demo = DemoArchive::Get();
  const FolderJudgement check(demo.model, Options().profile);
  const Database db(ExportedDatabase());
  ASSERT_EQ(db.Query("SELECT count(*) FROM sets"), std::to_string(check.SetFolders().size()));
  for (const SetFolderSummary& set : check.SetFolders()) {
    SCOPED_TRACE(set.name);
    const VerdictCounts& m = set.measurements;
    const VerdictCounts& r = set.readings;
    auto n = [](int v) { return std::to_string(v); };
    EXPECT_EQ(db.Query("SELECT verdict, measurements, measurements_pass, measurements_caution, measurements_fail, "
                       "measurements_none, readings_pass, readings_caution, readings_fail, readings_none, "
                       "readings_no_measurement FROM sets WHERE set_folder = '" + set.name + "'"),
              Joined({VerdictText(set.verdict), n(m.total()), n(m.pass), n(m.caution), n(m.fail), n(m.none), n(r.pass),
                      n(r.caution), n(r.fail), n(r.none), n(r.noMeasurement)}));
    // The view's verdict columns, one per reading.
    std::string each;
    for (const char* reading : {"level", "cn", "mer", "ber"})
      each += std::string(each.empty() ? "" : " UNION ALL ") + "SELECT " + reading + "_verdict AS v FROM readings WHERE set_folder = '" +
              set.name + "'";
    EXPECT_EQ(db.Query("SELECT count(v), sum(v = '合格'), sum(v = '注意'), sum(v = '不合格'), sum(v = '判定なし') FROM (" +
                       each + ")"),
              Joined({n(r.total()), n(r.pass), n(r.caution), n(r.fail), n(r.none)}));
    // The measurements' verdicts in the kind tables.
    std::string kinds;
    for (const char* table : {"level", "ber", "constellation", "spectrum", "profile", "sky", "multi"})
      kinds += std::string(kinds.empty() ? "" : " UNION ALL ") + "SELECT verdict AS v FROM " + table +
               " WHERE set_folder = '" + set.name + "'";
    EXPECT_EQ(db.Query("SELECT count(v), sum(v = '合格'), sum(v = '注意'), sum(v = '不合格'), sum(v = '判定なし') FROM (" +
                       kinds + ")"),
              Joined({n(m.total()), n(m.pass), n(m.caution), n(m.fail), n(m.none)}));
  }
}

// Without --samples no graph table is there at all.
TEST(SqliteExport, GraphSamplesOnlyWhenAskedFor) {
  const DemoArchive& demo = DemoArchive::Get();
  NullJobObserver quiet;
  const std::atomic<bool> never{false};
  const fs::path file = demo.work / "plain.db";
  ASSERT_TRUE(ExportSqlite(demo.selection, file, Options(false), quiet, never).done());
  const Database db(file);
  EXPECT_EQ(db.Query("SELECT count(*) FROM sqlite_master WHERE name IN ('spectrum_samples', 'profile_samples', "
                     "'constellation_images')"),
            "0");
  EXPECT_EQ(db.Query("SELECT count(*) FROM spectrum"), Database(ExportedDatabase()).Query("SELECT count(*) FROM spectrum"));
}

// set_id is the set folder's files, not where they lie: the same download in two
// places is one set; another download of the same name is another; a job record or
// any other file beside the kind folders changes nothing.
TEST(SetDigest, TheFilesNotThePlace) {
  const fs::path work = DemoArchive::Get().work / "digest";
  ASSERT_TRUE(WriteDemoFolder(work / "a" / "RXT4"));
  fs::create_directories(work / "b");
  fs::copy(work / "a" / "RXT4", work / "b" / "RXT4", fs::copy_options::recursive);
  std::string error;
  auto id = [&](const fs::path& set) {
    const std::optional<SetDigest> d = DigestSetFolder(set, error);
    EXPECT_TRUE(d) << error;
    return d ? d->id : std::string();
  };
  const std::string first = id(work / "a" / "RXT4" / "0412");
  EXPECT_EQ(first.size(), 16u);
  EXPECT_EQ(id(work / "b" / "RXT4" / "0412"), first);
  std::ofstream(work / "b" / "RXT4" / "0412" / "job.toml") << "customer = \"x\"\n";
  EXPECT_EQ(id(work / "b" / "RXT4" / "0412"), first);
  EXPECT_NE(id(work / "a" / "RXT4" / "0413"), first);
  // One byte of a table; a companion file gone.
  const fs::path table = work / "b" / "RXT4" / "0412" / "LEVEL" / "0412.CSV";
  const std::string bytes = test::FileBytes(table);
  std::ofstream(table, std::ios::binary) << bytes.substr(0, bytes.size() - 1) << '\x7F';
  EXPECT_NE(id(work / "b" / "RXT4" / "0412"), first);
  std::ofstream(table, std::ios::binary) << bytes;
  EXPECT_EQ(id(work / "b" / "RXT4" / "0412"), first);
  fs::remove(work / "b" / "RXT4" / "0412" / "SPECTRUM" / "0412.001");
  EXPECT_NE(id(work / "b" / "RXT4" / "0412"), first);
  EXPECT_FALSE(DigestSetFolder(work / "missing", error));
  EXPECT_NE(error.find("missing"), std::string::npos) << error;
}

// A row one cell short is refused with the table named, never stored with the cell the
// previous row left bound.
TEST(SqliteExport, ARowOfTheWrongWidthIsRefused) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(":memory:", &db), SQLITE_OK);
  {
    SqliteSink sink(db);
    ASSERT_TRUE(sink.Exec("BEGIN"));
    ASSERT_TRUE(sink.Begin(ExportSchema(), false));
    const Cell full[] = {Cell::Text("a"), Cell::Int(1), Cell::Text("t")};
    EXPECT_TRUE(sink.Insert(TableId::Columns, full));
    const Cell shortRow[] = {Cell::Text("b"), Cell::Int(2)};
    EXPECT_FALSE(sink.Insert(TableId::Columns, shortRow));
    EXPECT_NE(sink.error().find("columns"), std::string::npos) << sink.error();
    // A graph table not asked for takes its rows without a word.
    const Cell sample[] = {Cell::Text("a"), Cell::Int(1), Cell::Int(0), Cell::Null(), Cell::Real(0)};
    EXPECT_TRUE(sink.Insert(TableId::SpectrumSamples, sample));
    sink.Finish();
  }
  sqlite3_close(db);
}

}  // namespace
}  // namespace rxt4
