// The SQLite export: one database file, written in one transaction through one
// prepared statement per table, under a temporary name until it is complete.

#include <sqlite3.h>

#include <memory>
#include <system_error>
#include <vector>

#include "rxt4/data/StagedFile.h"
#include "rxt4/report/Export.h"
#include "rxt4/report/ExportTables.h"

namespace rxt4 {

namespace {

// Bumped whenever the tables change, so that readers can tell the layout apart.
constexpr int kSchemaVersion = 1;

const char* SqlType(ColumnType t) {
  switch (t) {
    case ColumnType::Text: return "TEXT";
    case ColumnType::Integer: return "INTEGER";
    case ColumnType::Real: return "REAL";
    case ColumnType::Png: return "BLOB";
  }
  return "";
}

std::string CreateStatement(const ExportTable& t) {
  std::string sql = "CREATE TABLE \"" + t.name + "\" (";
  for (const ExportColumn& c : t.columns) sql += "\"" + c.name + "\" " + SqlType(c.type) + ", ";
  sql += "PRIMARY KEY (";
  for (int k = 0; k < t.keyColumns; ++k)
    sql += (k ? ", \"" : "\"") + t.columns[static_cast<std::size_t>(k)].name + "\"";
  sql += t.smallRows ? ")) WITHOUT ROWID" : "))";
  return sql;
}

std::string InsertStatement(const ExportTable& t) {
  std::string sql = "INSERT INTO \"" + t.name + "\" VALUES (";
  for (std::size_t i = 0; i < t.columns.size(); ++i) sql += i ? ", ?" : "?";
  return sql + ")";
}

struct DatabaseCloser {
  void operator()(sqlite3* db) const { sqlite3_close(db); }
};
using Database = std::unique_ptr<sqlite3, DatabaseCloser>;

struct StatementFinalizer {
  void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

class SqliteSink : public TableSink {
 public:
  explicit SqliteSink(sqlite3* db) : db_(db) {}

  bool Exec(const std::string& sql) { return Check(sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr)); }

  bool Begin(const std::vector<ExportTable>& schema) override {
    for (const ExportTable& t : schema) {
      if (!Exec(CreateStatement(t))) return false;
      sqlite3_stmt* s = nullptr;
      if (!Check(sqlite3_prepare_v3(db_, InsertStatement(t).c_str(), -1, SQLITE_PREPARE_PERSISTENT, &s, nullptr)))
        return false;
      inserts_.emplace_back(s);
    }
    return true;
  }

  bool Insert(TableId table, std::span<const Cell> row) override {
    sqlite3_stmt* s = inserts_[static_cast<std::size_t>(table)].get();
    for (std::size_t i = 0; i < row.size(); ++i)
      if (!Check(Bind(s, static_cast<int>(i) + 1, row[i]))) return false;
    const int stepped = sqlite3_step(s);
    sqlite3_reset(s);
    return Check(stepped == SQLITE_DONE ? SQLITE_OK : stepped);
  }

  std::string error() const override { return error_; }

  // Finalizes the statements, which the database must not have open when it closes.
  void Finish() { inserts_.clear(); }

 private:
  static int Bind(sqlite3_stmt* s, int at, const Cell& c) {
    switch (c.kind) {
      case Cell::Kind::Null: return sqlite3_bind_null(s, at);
      case Cell::Kind::Integer: return sqlite3_bind_int64(s, at, c.integer);
      case Cell::Kind::Real: return sqlite3_bind_double(s, at, c.real);
      case Cell::Kind::Text:
        return sqlite3_bind_text64(s, at, c.text.data(), c.text.size(), SQLITE_STATIC, SQLITE_UTF8);
      case Cell::Kind::Bytes: return sqlite3_bind_blob64(s, at, c.text.data(), c.text.size(), SQLITE_STATIC);
    }
    return SQLITE_MISUSE;
  }

  bool Check(int rc) {
    if (rc == SQLITE_OK) return true;
    error_ = sqlite3_errmsg(db_);
    return false;
  }

  sqlite3* db_;
  std::vector<Statement> inserts_;  // indexed by TableId
  std::string error_;
};

JobOutcome Fail(const std::filesystem::path& file, const std::string& why) {
  return JobOutcome::Failed("cannot write " + file.string() + ": " + why);
}

}  // namespace

JobOutcome ExportSqlite(const MeasurementSource& selection, const std::filesystem::path& file, JobObserver& observer,
                        const std::atomic<bool>& abort) {
  // SQLite writes the staged file by its name; it is made (privately, exclusively)
  // before SQLite opens it.
  StagedFile staged(file, StagedFile::Mode::PathOnly);
  if (!staged.ok()) return Fail(file, staged.error().message());
  JobOutcome outcome;
  {
    sqlite3* opened = nullptr;
    const int rc = sqlite3_open_v2(staged.tempPath().c_str(), &opened, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOFOLLOW, nullptr);
    Database db(opened);
    if (rc != SQLITE_OK) return Fail(file, db ? sqlite3_errmsg(db.get()) : "out of memory");
    SqliteSink sink(db.get());
    // The file is thrown away on any failure, so it needs no journal and no syncs.
    const std::string setup =
        "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; PRAGMA locking_mode=EXCLUSIVE; "
        "PRAGMA cache_size=-65536; PRAGMA user_version=" +
        std::to_string(kSchemaVersion) + "; BEGIN";
    if (!sink.Exec(setup)) return Fail(file, sink.error());
    outcome = WriteExportRows(selection, sink, observer, abort);
    if (outcome.status == JobOutcome::Status::Failed) return Fail(file, outcome.message);
    if (!outcome.done()) return outcome;
    if (!sink.Exec("COMMIT")) return Fail(file, sink.error());
    sink.Finish();
    if (sqlite3_close(db.release()) != SQLITE_OK) return Fail(file, "the database could not be closed");
  }
  if (!staged.Commit()) return Fail(file, staged.error().message());
  return outcome;
}

}  // namespace rxt4
