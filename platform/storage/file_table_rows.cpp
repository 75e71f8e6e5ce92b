#include <sqlite3.h>

#include <cstring>
#include <limits>
#include <vector>

#include "platform/storage/file_table.h"

// Reading and writing rows: key lookups, walking in key or stored order, and
// changes to the current row.
namespace tx::storage {

sqlite3_stmt* FileTable::WalkStatement(int walkKind) {
  sqlite3_stmt*& slot = walk[static_cast<size_t>(order + 1) * kWalkCount + walkKind];
  if (slot) return slot;
  std::string sql = "SELECT " + selectList() + " FROM " + table();
  if (order == kPhysicalOrder) {
    static const char* tail[] = {" ORDER BY rowid LIMIT 1", " ORDER BY rowid DESC LIMIT 1",
                                 " WHERE rowid > ?1 ORDER BY rowid LIMIT 1",
                                 " WHERE rowid < ?1 ORDER BY rowid DESC LIMIT 1"};
    sql += tail[walkKind];
  } else {
    const KeyDef& k = layout.keys[static_cast<size_t>(order)];
    std::string cols = KeyColumns(layout, k) + ", rowid";
    std::string params;
    for (size_t i = 0; i <= k.fields.size(); ++i) params += i ? ", ?" : "?";
    switch (walkKind) {
      case kFirst: sql += " ORDER BY " + cols; break;
      case kLast: sql += " ORDER BY " + KeyColumns(layout, k, " DESC") + ", rowid DESC"; break;
      case kAfter: sql += " WHERE (" + cols + ") > (" + params + ") ORDER BY " + cols; break;
      case kBefore:
        sql += " WHERE (" + cols + ") < (" + params + ") ORDER BY " + KeyColumns(layout, k, " DESC") + ", rowid DESC";
        break;
    }
    sql += " LIMIT 1";
  }
  return Prepared(slot, [&] { return sql; });
}

int FileTable::Fetch(int key, void* record) {
  const KeyDef& k = layout.keys[static_cast<size_t>(key)];
  sqlite3_stmt*& slot = fetch[static_cast<size_t>(key)];
  if (!slot) {
    std::string where;
    for (size_t i = 0; i < k.fields.size(); ++i)
      where += (i ? " AND " : "") + Quoted(layout.fields[k.fields[i]].name) + " = ?";
    // Ordering by the whole index keeps the lookup on the index; the rowid
    // tie-break gives the row stored first.
    Prepared(slot, [&] {
      return "SELECT " + selectList() + " FROM " + table() + " WHERE " + where + " ORDER BY " +
             KeyColumns(layout, k) + ", rowid LIMIT 1";
    });
    if (!slot) return status.error;
  }
  BindKey(slot, 1, layout, k, static_cast<const unsigned char*>(record));
  int64_t rowid = 0;
  if (StepRow(slot, record, &rowid) != kOk) return status.error;  // the buffer changes only when a row is found
  MakeCurrent(rowid, record);
  return kOk;
}

bool FileTable::DataVersionChecked() {
  if (dataVersionChecked) return true;
  sqlite3_stmt* s = Prepared(dataVersion, [&] { return "PRAGMA " + Quoted(SchemaName()) + ".data_version"; });
  if (!s) return false;
  int rc = sqlite3_step(s);
  int64_t version = rc == SQLITE_ROW ? sqlite3_column_int64(s, 0) : -1;
  sqlite3_reset(s);
  if (rc != SQLITE_ROW) return false;
  if (version != dataVersionSeen) Changed();
  dataVersionSeen = version;
  dataVersionChecked = true;
  return true;
}

uint64_t FileTable::ContentVersion() {
  if (sqlite3_get_autocommit(db)) return 0;
  return DataVersionChecked() ? contentVersion : 0;
}

bool FileTable::ReadCommitStamp(CommitStamp& stamp) {
  // The connection's own file: the one its reads go to, whatever has
  // happened to the name since.
  sqlite3_file* file = nullptr;
  if (sqlite3_file_control(db, SchemaName().c_str(), SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK || !file ||
      !file->pMethods)
    return false;
  unsigned char header[40];
  if (file->pMethods->xRead(file, header, sizeof header, 0) != SQLITE_OK) return false;
  if (header[18] != 1 || header[19] != 1) return false;  // write-ahead log (or not a database)
  stamp.version = contentVersion;
  std::memcpy(stamp.header.data(), header + 24, stamp.header.size());
  return true;
}

void FileTable::SetOrder(int key) {
  order = key;
  pos = Pos::Start;
}

void FileTable::SetFrom(int key, const void* record) {
  SetOrder(key);
  auto* p = static_cast<const unsigned char*>(record);
  posRecord.assign(p, p + layout.recordSize);
  pos = Pos::From;
}

int FileTable::Walk(bool forward, void* record) {
  sqlite3_stmt* s = WalkStatement(pos == Pos::Start ? (forward ? kFirst : kLast) : (forward ? kAfter : kBefore));
  if (!s) return status.error;
  if (pos != Pos::Start) {
    // SetFrom leaves the position just in front of (or behind) every row
    // carrying the given key values.
    int64_t rowid = pos == Pos::At ? posRowid
                    : forward      ? std::numeric_limits<int64_t>::min()
                                   : std::numeric_limits<int64_t>::max();
    int next = 1;
    if (order != kPhysicalOrder) {
      const KeyDef& k = layout.keys[static_cast<size_t>(order)];
      BindKey(s, 1, layout, k, posRecord.data());
      next += static_cast<int>(k.fields.size());
    }
    sqlite3_bind_int64(s, next, rowid);
  }
  int64_t rowid = 0;
  scratch.assign(static_cast<unsigned char*>(record), static_cast<unsigned char*>(record) + layout.recordSize);
  if (StepRow(s, scratch.data(), &rowid) != kOk) return status.error;
  // A damaged index can send the search backwards; reading would then go
  // round for ever. Every row must lie beyond the last one in reading order.
  if (pos != Pos::Start) {
    const KeyDef* k = order == kPhysicalOrder ? nullptr : &layout.keys[static_cast<size_t>(order)];
    int c = k ? CompareKey(layout, *k, scratch.data(), posRecord.data()) : 0;
    if (c == 0 && pos == Pos::At) c = rowid < posRowid ? -1 : rowid > posRowid ? 1 : 0;
    bool beyond = forward ? (c > 0 || (c == 0 && pos == Pos::From)) : (c < 0 || (c == 0 && pos == Pos::From));
    if (!beyond) return Fail(kBadKeys, (k ? "key " + k->name : std::string("stored order")) + " is out of order");
  }
  std::memcpy(record, scratch.data(), layout.recordSize);
  posRecord = scratch;
  posRowid = rowid;
  pos = Pos::At;
  MakeCurrent(rowid, record);
  return kOk;
}

// Whether the current row is still stored as it was read.
int FileTable::SameAsRead(bool* same) {
  sqlite3_stmt* s = Prepared(byRowid, [&] { return "SELECT " + selectList() + " FROM " + table() + " WHERE rowid = ?"; });
  if (!s) return status.error;
  sqlite3_bind_int64(s, 1, currentRowid);
  const std::vector<unsigned char>& read = current;
  std::vector<unsigned char> stored(read);
  int64_t rowid = 0;
  int rc = StepRow(s, stored.data(), &rowid);
  if (rc == kNoRow) {
    *same = false;
    return Ok();
  }
  if (rc != kOk) return rc;
  *same = stored == read;
  return kOk;
}

int FileTable::Reget(void* record) {
  if (!hasCurrent) return Fail(kNoRow, "no current row");
  sqlite3_stmt* s = Prepared(byRowid, [&] { return "SELECT " + selectList() + " FROM " + table() + " WHERE rowid = ?"; });
  if (!s) return status.error;
  sqlite3_bind_int64(s, 1, currentRowid);
  int64_t rowid = 0;
  if (StepRow(s, record, &rowid) != kOk) return status.error;
  MakeCurrent(rowid, record);
  return kOk;
}

int FileTable::Append(const void* record) {
  Changed();
  sqlite3_stmt* s = Prepared(insert, [&] {
    std::string params;
    for (size_t i = 0; i < layout.fields.size(); ++i) params += i ? ", ?" : "?";
    return "INSERT INTO " + table() + " (" + ColumnList(layout) + ") VALUES (" + params + ")";
  });
  if (!s) return status.error;
  BindRecord(s, 1, layout, static_cast<const unsigned char*>(record));
  int rc = sqlite3_step(s);
  sqlite3_reset(s);
  if (rc != SQLITE_DONE) return FailSql(rc);
  MakeCurrent(sqlite3_last_insert_rowid(db), record);
  return Ok();
}

int FileTable::Put(const void* record) {
  Changed();
  if (!hasCurrent) return Fail(kNoRow, "no current row");
  bool same = true;
  if (SameAsRead(&same) != kOk) return status.error;
  if (!same) return Fail(kChanged, "row was changed by another process since it was read");
  sqlite3_stmt* s = Prepared(update, [&] {
    std::string set;
    for (size_t i = 0; i < layout.fields.size(); ++i) set += (i ? ", " : "") + Quoted(layout.fields[i].name) + " = ?";
    return "UPDATE " + table() + " SET " + set + " WHERE rowid = ?";
  });
  if (!s) return status.error;
  BindRecord(s, 1, layout, static_cast<const unsigned char*>(record));
  sqlite3_bind_int64(s, static_cast<int>(layout.fields.size()) + 1, currentRowid);
  int rc = sqlite3_step(s);
  sqlite3_reset(s);
  if (rc != SQLITE_DONE) return FailSql(rc);
  if (sqlite3_changes(db) == 0) return Fail(kChanged, "row was deleted by another process");
  MakeCurrent(currentRowid, record);
  return Ok();
}

int FileTable::Delete() {
  Changed();
  if (!hasCurrent) return Fail(kNoRow, "no current row");
  sqlite3_stmt* s = Prepared(remove, [&] { return "DELETE FROM " + table() + " WHERE rowid = ?"; });
  if (!s) return status.error;
  sqlite3_bind_int64(s, 1, currentRowid);
  int rc = sqlite3_step(s);
  sqlite3_reset(s);
  if (rc != SQLITE_DONE) return FailSql(rc);
  hasCurrent = false;
  return Ok();
}

int FileTable::ExistingUniqueKey(const void* record) {
  std::vector<unsigned char> probe(layout.recordSize);
  for (size_t k = 0; k < layout.keys.size(); ++k) {
    if (!layout.keys[k].unique) continue;
    std::memcpy(probe.data(), record, probe.size());
    bool hadCurrent = hasCurrent;
    int64_t rowid = currentRowid;
    std::vector<unsigned char> read = current;
    int rc = Fetch(static_cast<int>(k), probe.data());
    hasCurrent = hadCurrent;
    currentRowid = rowid;
    current = std::move(read);
    if (rc == kOk) return static_cast<int>(k);
  }
  return -1;
}

long FileTable::Count() {
  sqlite3_stmt* s = Prepared(count, [&] { return "SELECT count(*) FROM " + table(); });
  if (!s) return -1;
  int rc = sqlite3_step(s);
  long n = rc == SQLITE_ROW ? static_cast<long>(sqlite3_column_int64(s, 0)) : -1;
  sqlite3_reset(s);
  if (rc != SQLITE_ROW) return FailSql(rc), -1;
  Ok();
  return n;
}

int FileTable::Empty() {
  Changed();
  sqlite3_stmt* s = Prepared(empty, [&] { return "DELETE FROM " + table(); });
  if (!s) return status.error;
  int rc = sqlite3_step(s);
  sqlite3_reset(s);
  if (rc != SQLITE_DONE) return FailSql(rc);
  Rewind();
  return Ok();
}

}  // namespace tx::storage
