#pragma once
// The sink of the SQLite export: the tables created, one prepared statement per table,
// each row checked against its table's width before it is bound (a statement keeps
// the values of its last row, so a row one cell short would silently repeat the
// previous row's last value).

#include <sqlite3.h>

#include <memory>
#include <span>
#include <string>
#include <vector>

#include "rxt4/report/ExportTables.h"

namespace rxt4 {

class SqliteSink : public TableSink {
 public:
  explicit SqliteSink(sqlite3* db) : db_(db) {}

  bool Exec(const std::string& sql);
  bool Begin(const std::vector<ExportTable>& schema, bool samples) override;
  bool Insert(TableId table, std::span<const Cell> row) override;
  std::string error() const override { return error_; }

  // Finalizes the statements, which the database must not have open when it closes.
  void Finish() { tables_.clear(); }

 private:
  struct StatementFinalizer {
    void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
  };
  struct Table {
    std::string name;
    std::unique_ptr<sqlite3_stmt, StatementFinalizer> insert;  // null: the table is not written
    std::size_t width = 0;                                     // cells of a row
    std::vector<bool> bound;                                   // per cell: stored here (not the set folder's)
  };

  bool Check(int rc);

  sqlite3* db_;
  std::vector<Table> tables_;  // indexed by TableId
  std::vector<std::string> views_;
  std::string error_;
};

}  // namespace rxt4
