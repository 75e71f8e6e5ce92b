#include "platform/storage/storage_group.h"

#include <sqlite3.h>

#include <algorithm>

#include "platform/storage/file_table.h"

namespace tx {

using namespace storage;

StorageGroup::StorageGroup() = default;

StorageGroup::~StorageGroup() {
  if (Running()) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
  End();
}

int StorageGroup::Fail(int code, const std::string& text) {
  error_ = code;
  errorText_ = text;
  return code;
}

int StorageGroup::FailSql(int rc) {
  return Fail(CodeFor(rc), db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc));
}

bool StorageGroup::Running() const { return db_ && !sqlite3_get_autocommit(db_); }

int StorageGroup::Join(StorageTable& table) {
  FileTable* file = table.File();
  if (db_) return Fail(kOther, "the group's transaction has begun");
  if (!table.IsOpen() || !file || file->readOnly || file->group) return Fail(kNoAccess, "the table is not open for writing");
  if (!sqlite3_get_autocommit(file->db)) return Fail(kOther, "the table runs a transaction of its own");
  if (std::find(tables_.begin(), tables_.end(), file) == tables_.end()) tables_.push_back(file);
  return Fail(kOk, {});
}

int StorageGroup::Begin() {
  if (db_) return Fail(kOther, "a transaction is already running");
  if (tables_.empty()) return Fail(kOther, "no table joined the group");
  // The first file is the connection's own: the record of a commit over
  // several files is kept beside it, which an in-memory main database
  // could not do.
  const FileTable& first = *tables_[0];
  int rc = sqlite3_open_v2(first.name.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
  if (rc != SQLITE_OK) {
    FailSql(rc);
    End();
    return error_;
  }
  sqlite3_extended_result_codes(db_, 1);
  int busyMs = 0;
  for (const FileTable* t : tables_) busyMs = std::max(busyMs, t->busyMs);
  sqlite3_busy_timeout(db_, busyMs);

  std::vector<std::string> schemas{"main"};
  for (size_t i = 1; i < tables_.size(); ++i) {
    schemas.push_back("t" + std::to_string(i));
    sqlite3_stmt* s = nullptr;
    rc = sqlite3_prepare_v2(db_, ("ATTACH DATABASE ?1 AS " + Quoted(schemas.back())).c_str(), -1, &s, nullptr);
    if (rc == SQLITE_OK) {
      sqlite3_bind_text(s, 1, tables_[i]->name.c_str(), -1, SQLITE_TRANSIENT);
      rc = sqlite3_step(s);
    }
    sqlite3_finalize(s);
    if (rc != SQLITE_OK && rc != SQLITE_DONE) {
      FailSql(rc);
      End();
      return error_;
    }
  }
  // In write-ahead-log mode each file commits on its own; such a file cannot
  // share the decision.
  for (size_t i = 0; i < schemas.size(); ++i) {
    sqlite3_stmt* s = nullptr;
    std::string mode;
    if (sqlite3_prepare_v2(db_, ("PRAGMA " + Quoted(schemas[i]) + ".journal_mode").c_str(), -1, &s, nullptr) ==
            SQLITE_OK &&
        sqlite3_step(s) == SQLITE_ROW)
      mode = reinterpret_cast<const char*>(sqlite3_column_text(s, 0));
    sqlite3_finalize(s);
    if (mode == "wal") {
      Fail(kOther, tables_[i]->name + " is in write-ahead-log mode");
      End();
      return error_;
    }
  }
  for (size_t i = 0; i < tables_.size(); ++i) tables_[i]->Join(this, db_, schemas[i]);
  // The write locks of every file now, waiting for other writers: a block
  // that could not get them all writes nothing.
  rc = sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) {
    FailSql(rc);
    if (error_ == kHeld) errorText_ = "the tables are busy: another process holds a lock on them";
    End();
    return error_;
  }
  return Fail(kOk, {});
}

int StorageGroup::Commit() {
  if (!Running()) return Fail(kOther, "no transaction is running");
  int rc = sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) {
    FailSql(rc);
    if (error_ == kHeld) errorText_ = "the tables are busy: another process is reading them";
    // A commit that failed may leave the transaction open (a lock that was
    // not granted): nothing of it is kept.
    if (!sqlite3_get_autocommit(db_)) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    End();
    return error_;
  }
  End();
  return Fail(kOk, {});
}

int StorageGroup::Rollback() {
  if (!Running()) {
    End();
    return Fail(kOther, "no transaction is running");
  }
  int rc = sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) FailSql(rc);
  End();
  return rc == SQLITE_OK ? Fail(kOk, {}) : error_;
}

void StorageGroup::End() {
  for (FileTable* t : tables_) {
    if (t->group == this) {
      t->Detach();
      t->Rewind();
    }
  }
  tables_.clear();
  if (db_) sqlite3_close_v2(db_);
  db_ = nullptr;
}

void StorageGroup::Forget(FileTable* table) {
  if (table->group == this) table->Detach();
  tables_.erase(std::remove(tables_.begin(), tables_.end(), table), tables_.end());
}

}  // namespace tx
