// The SQLite and CSV exports of the demonstration data, read back with SQLite and
// compared with the loader's records and the companion files' own bytes.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <atomic>
#include <cmath>

#include "DemoArchive.h"
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

const fs::path& ExportedDatabase() {
  static const fs::path file = [] {
    const DemoArchive& demo = DemoArchive::Get();
    NullJobObserver quiet;
    const std::atomic<bool> never{false};
    const fs::path db = demo.work / "export.db";
    EXPECT_TRUE(ExportSqlite(demo.selection, db, quiet, never).done());
    return db;
  }();
  return file;
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
      {"SELECT delay_us, db FROM profile_samples WHERE set_folder = '0412' AND item = 1 AND sample IN (0, 1)",
       "0.0|0.0\n0.123046875|-7.0"},
      {"SELECT count(*), min(delay_us), max(db) FROM profile_samples WHERE set_folder = '0412' AND item = 3",
       "8192|-504.0|0.0"},
      // A PNG of 200 x 193 pixels.
      {"SELECT hex(substr(png, 1, 8)), hex(substr(png, 17, 8)) FROM constellation_images "
       "WHERE set_folder = '0412' AND item = 1",
       "89504E470D0A1A0A|000000C8000000C1"},
  };
  for (const auto& c : cases) EXPECT_EQ(db.Query(c.sql), c.expected) << c.sql;
}

TEST(SqliteExport, SpectrumIsTheCompanionFilesSamples) {
  const DemoArchive& demo = DemoArchive::Get();
  const Database db(ExportedDatabase());
  const std::string samples = "SELECT db FROM spectrum_samples WHERE set_folder = '0412' AND item = ";
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
      db.Query("SELECT CAST(round(db * 10) AS INTEGER) FROM spectrum_samples WHERE set_folder = '0412' AND item = 4 "
               "ORDER BY sample"),
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
    mostHeld = std::max(mostHeld, ++nowHeld);
    ++loads;
    held->owner = std::shared_ptr<const void>(nullptr, [keep = held->owner, this](const void*) { --nowHeld; });
    return held;
  }
  mutable int nowHeld = 0, mostHeld = 0, loads = 0;

 private:
  const MeasurementSource& source_;
};

// The same folder gives the same database, byte for byte: from the viewer's loaded
// selection, from the command line's set folder by set folder reading, and with no
// more than one set folder held at a time.
TEST(SqliteExport, TheSameFolderGivesTheSameDatabase) {
  const DemoArchive& demo = DemoArchive::Get();
  NullJobObserver quiet;
  NullLoadObserver quietLoad;
  const std::atomic<bool> never{false};
  const fs::path again = demo.work / "again.db", streamed = demo.work / "streamed.db";
  ASSERT_TRUE(ExportSqlite(demo.selection, again, quiet, never).done());
  EXPECT_EQ(test::FileBytes(again), test::FileBytes(ExportedDatabase()));
  StreamedSelection reread;
  ASSERT_TRUE(reread.Scan(demo.data, {}, quietLoad));
  const CountingSource counted(reread);
  ASSERT_TRUE(ExportSqlite(counted, streamed, quiet, never).done());
  EXPECT_EQ(test::FileBytes(streamed), test::FileBytes(ExportedDatabase()));
  EXPECT_EQ(counted.loads, 2);
  EXPECT_EQ(counted.mostHeld, 1);
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
  ASSERT_TRUE(ExportSqlite(SelectMeasurements(model, work / "RXT4", {"0413"}), work / "e.db", recorder, never).done());
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
  ASSERT_TRUE(ExportCsv(demo.selection, csv, quiet, never).done());
  const std::string level = test::FileBytes(csv / "level.csv");
  EXPECT_EQ(level.rfind("\xEF\xBB\xBFset_folder,item,record_no,data_name,band_name,channel,polarization,frequency_mhz,"
                        "frequency_mhz_text,level_dbuv,level_dbuv_text,",
                        0),
            0u);
  EXPECT_EQ(std::count(level.begin(), level.end(), '\n'), 1 + 16);
  EXPECT_NE(level.find("\r\n0412,1,0001,27ch NHK総合,UHF,27,,557.143,,68.2,,32.5,,OFDM,"), std::string::npos)
      << level;
  EXPECT_NE(level.find("\r\n0412,5,0005,試験:未測定,N-SAT110,ND2,"), std::string::npos);
  EXPECT_NE(level.find(",,---.-,,---.-,"), std::string::npos);
  const std::string images = test::FileBytes(csv / "constellation_images.csv");
  EXPECT_NE(images.find("\r\n0412,1,constellation_images/0412_1.png\r\n"), std::string::npos) << images;
  EXPECT_EQ(test::FileBytes(csv / "constellation_images" / "0412_1.png").substr(0, 8), "\x89PNG\r\n\x1A\n");
}

}  // namespace
}  // namespace rxt4
