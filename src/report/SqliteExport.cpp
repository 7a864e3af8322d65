// The SQLite export: one database file, written in one transaction through one
// prepared statement per table, under a temporary name until it is complete.

#include <sqlite3.h>

#include <memory>
#include <system_error>
#include <vector>

#include "rxt4/data/Strings.h"
#include "rxt4/data/StagedFile.h"
#include "rxt4/report/Export.h"
#include "rxt4/report/ExportTables.h"
#include "SqliteSink.h"

namespace rxt4 {

namespace {

// Bumped whenever the tables change, so that readers can tell the layout apart.
constexpr int kSchemaVersion = 2;

const char* SqlType(ColumnType t) {
  switch (t) {
    case ColumnType::Text: return "TEXT";
    case ColumnType::Integer: return "INTEGER";
    case ColumnType::Real: return "REAL";
    case ColumnType::Png: return "BLOB";
  }
  return "";
}

std::string Quoted(const std::string& name) { return "\"" + name + "\""; }

bool Stored(const ExportTable& t, const ExportColumn& c) { return t.storedAs.empty() || !c.fromSets; }

std::string CreateStatement(const ExportTable& t) {
  const std::string& name = t.storedAs.empty() ? t.name : t.storedAs;
  std::string sql = "CREATE TABLE " + Quoted(name) + " (";
  bool first = true;
  for (const ExportColumn& c : t.columns) {
    if (!Stored(t, c)) continue;
    sql += (first ? "" : ", ") + Quoted(c.name) + " " + SqlType(c.type);
    if (t.refersToSets && c.name == "set_id") sql += " REFERENCES \"sets\"";
    first = false;
  }
  if (t.keyColumns > 0) {
    sql += ", PRIMARY KEY (";
    for (int k = 0; k < t.keyColumns; ++k) sql += (k ? ", " : "") + Quoted(t.columns[static_cast<std::size_t>(k)].name);
    sql += ")";
  }
  sql += t.smallRows ? ") WITHOUT ROWID" : ")";
  return sql;
}

// The view that shows a table stored without its set folder's columns whole.
std::string ViewStatement(const ExportTable& t) {
  std::string sql = "CREATE VIEW " + Quoted(t.name) + " AS SELECT ";
  for (std::size_t i = 0; i < t.columns.size(); ++i)
    sql += (i ? ", " : "") + std::string(t.columns[i].fromSets ? "s." : "r.") + Quoted(t.columns[i].name);
  return sql + " FROM " + Quoted(t.storedAs) + " AS r JOIN \"sets\" AS s ON s.\"set_id\" = r.\"set_id\"";
}

std::string InsertStatement(const ExportTable& t) {
  std::string sql = "INSERT INTO " + Quoted(t.storedAs.empty() ? t.name : t.storedAs) + " VALUES (";
  bool first = true;
  for (const ExportColumn& c : t.columns)
    if (Stored(t, c)) {
      sql += first ? "?" : ", ?";
      first = false;
    }
  return sql + ")";
}

int Bind(sqlite3_stmt* s, int at, const Cell& c) {
  switch (c.kind) {
    case Cell::Kind::Null: return sqlite3_bind_null(s, at);
    case Cell::Kind::Integer: return sqlite3_bind_int64(s, at, c.integer);
    case Cell::Kind::Real: return sqlite3_bind_double(s, at, c.real);
    case Cell::Kind::Text: return sqlite3_bind_text64(s, at, c.text.data(), c.text.size(), SQLITE_STATIC, SQLITE_UTF8);
    case Cell::Kind::Bytes: return sqlite3_bind_blob64(s, at, c.text.data(), c.text.size(), SQLITE_STATIC);
  }
  return SQLITE_MISUSE;
}

struct DatabaseCloser {
  void operator()(sqlite3* db) const { sqlite3_close(db); }
};
using Database = std::unique_ptr<sqlite3, DatabaseCloser>;

}  // namespace

bool SqliteSink::Exec(const std::string& sql) { return Check(sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr)); }

bool SqliteSink::Begin(const std::vector<ExportTable>& schema, bool samples) {
  for (const ExportTable& t : schema) {
    Table& table = tables_.emplace_back();
    table.name = t.name;
    if (t.graph && !samples) continue;
    if (!Exec(CreateStatement(t))) return false;
    if (!t.storedAs.empty()) views_.push_back(ViewStatement(t));
    sqlite3_stmt* s = nullptr;
    if (!Check(sqlite3_prepare_v3(db_, InsertStatement(t).c_str(), -1, SQLITE_PREPARE_PERSISTENT, &s, nullptr)))
      return false;
    table.insert.reset(s);
    table.width = t.columns.size();
    for (const ExportColumn& c : t.columns) table.bound.push_back(Stored(t, c));
  }
  // The views once every table they read is there.
  for (const std::string& view : views_)
    if (!Exec(view)) return false;
  return true;
}

bool SqliteSink::Insert(TableId id, std::span<const Cell> row) {
  Table& table = tables_[static_cast<std::size_t>(id)];
  if (!table.insert) return true;  // graph data not asked for
  if (row.size() != table.width) {
    error_ = "table " + table.name + ": a row of " + std::to_string(row.size()) + " cells for " +
             std::to_string(table.width) + " columns";
    return false;
  }
  sqlite3_stmt* s = table.insert.get();
  int at = 0;
  for (std::size_t i = 0; i < row.size(); ++i)
    if (table.bound[i] && !Check(Bind(s, ++at, row[i]))) return false;
  const int stepped = sqlite3_step(s);
  sqlite3_reset(s);
  return Check(stepped == SQLITE_DONE ? SQLITE_OK : stepped);
}

bool SqliteSink::Check(int rc) {
  if (rc == SQLITE_OK) return true;
  error_ = sqlite3_errmsg(db_);
  return false;
}

namespace {

JobOutcome Fail(const std::filesystem::path& file, const std::string& why) {
  return JobOutcome::Failed(FillIn(Text(StringId::FileWriteFailed), {file.string(), why}));
}

}  // namespace

JobOutcome ExportSqlite(const MeasurementSource& selection, const std::filesystem::path& file,
                        const ExportOptions& options, JobObserver& observer, const std::atomic<bool>& abort) {
  // SQLite writes the staged file by its name; it is made (privately, exclusively)
  // before SQLite opens it. One thread uses the connection: it needs no locks.
  StagedFile staged(file, StagedFile::Mode::PathOnly);
  if (!staged.ok()) return Fail(file, ReasonText(staged.error()));
  JobOutcome outcome;
  {
    sqlite3* opened = nullptr;
    const int rc = sqlite3_open_v2(staged.tempPath().c_str(), &opened, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOFOLLOW | SQLITE_OPEN_NOMUTEX, nullptr);
    Database db(opened);
    if (rc != SQLITE_OK) return Fail(file, db ? sqlite3_errmsg(db.get()) : "out of memory");
    SqliteSink sink(db.get());
    // The file is thrown away on any failure, so it needs no journal and no syncs.
    const std::string setup =
        "PRAGMA page_size=16384; PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; PRAGMA locking_mode=EXCLUSIVE; "
        "PRAGMA cache_size=-65536; PRAGMA user_version=" +
        std::to_string(kSchemaVersion) + "; BEGIN";
    if (!sink.Exec(setup)) return Fail(file, sink.error());
    outcome = WriteExportRows(selection, sink, options, observer, abort);
    if (outcome.status == JobOutcome::Status::Failed) return Fail(file, outcome.message);
    if (!outcome.done()) return outcome;
    if (!sink.Exec("COMMIT")) return Fail(file, sink.error());
    sink.Finish();
    if (sqlite3_close(db.release()) != SQLITE_OK) return Fail(file, "the database could not be closed");
  }
  if (!staged.Commit()) return Fail(file, ReasonText(staged.error()));
  return outcome;
}

}  // namespace rxt4
