#include <sqlite3.h>

#include <cstring>
#include <limits>
#include <vector>

#include "platform/storage/storage_table.h"
#include "platform/storage/storage_table_impl.h"

// Reading and writing rows: key lookups, walking in key or stored order, and
// changes to the current row.
namespace tx {

using namespace storage;

sqlite3_stmt* StorageTable::Impl::WalkStatement(int walkKind) {
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

int StorageTable::Fetch(int key, void* record) {
  Impl& m = *impl_;
  if (!m.open) return m.Fail(kNotOpen, "file is not open");
  if (key < 0 || static_cast<size_t>(key) >= m.layout.keys.size()) return m.Fail(kOther, "no such key");
  if (m.memory) return m.Answer(m.memory->Fetch(key, record));
  const KeyDef& k = m.layout.keys[static_cast<size_t>(key)];
  sqlite3_stmt*& slot = m.fetch[static_cast<size_t>(key)];
  if (!slot) {
    std::string where;
    for (size_t i = 0; i < k.fields.size(); ++i)
      where += (i ? " AND " : "") + Quoted(m.layout.fields[k.fields[i]].name) + " = ?";
    // Ordering by the whole index keeps the lookup on the index; the rowid
    // tie-break gives the row stored first.
    m.Prepared(slot, [&] {
      return "SELECT " + m.selectList() + " FROM " + m.table() + " WHERE " + where + " ORDER BY " +
             KeyColumns(m.layout, k) + ", rowid LIMIT 1";
    });
    if (!slot) return m.error;
  }
  BindKey(slot, 1, m.layout, k, static_cast<const unsigned char*>(record));
  int64_t rowid = 0;
  if (m.StepRow(slot, record, &rowid) != kOk) return m.error;  // the buffer changes only when a row is found
  m.MakeCurrent(rowid, record);
  return kOk;
}

bool StorageTable::Impl::DataVersionChecked() {
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

uint64_t StorageTable::ContentVersion() {
  Impl& m = *impl_;
  if (!m.open || m.memory || sqlite3_get_autocommit(m.db)) return 0;
  return m.DataVersionChecked() ? m.contentVersion : 0;
}

bool StorageTable::ReadCommitStamp(storage::CommitStamp& stamp) {
  Impl& m = *impl_;
  if (!m.open || m.memory) return false;
  // The connection's own file: the one its reads go to, whatever has
  // happened to the name since.
  sqlite3_file* file = nullptr;
  if (sqlite3_file_control(m.db, m.SchemaName().c_str(), SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK || !file ||
      !file->pMethods)
    return false;
  unsigned char header[40];
  if (file->pMethods->xRead(file, header, sizeof header, 0) != SQLITE_OK) return false;
  if (header[18] != 1 || header[19] != 1) return false;  // write-ahead log (or not a database)
  stamp.version = m.contentVersion;
  std::memcpy(stamp.header.data(), header + 24, stamp.header.size());
  return true;
}

int StorageTable::SetOrder(int key) {
  Impl& m = *impl_;
  if (key < kPhysicalOrder || key >= static_cast<int>(m.layout.keys.size())) return m.Fail(kOther, "no such key");
  m.order = key;
  m.pos = Impl::Pos::Start;
  if (m.memory) m.memory->SetOrder(key);
  return m.Ok();
}

int StorageTable::SetFrom(int key, const void* record) {
  Impl& m = *impl_;
  if (SetOrder(key) != kOk) return m.error;
  if (key == kPhysicalOrder) return kOk;
  if (m.memory) {
    m.memory->SetFrom(key, record);
    return kOk;
  }
  auto* p = static_cast<const unsigned char*>(record);
  m.posRecord.assign(p, p + m.layout.recordSize);
  m.pos = Impl::Pos::From;
  return kOk;
}

int StorageTable::Next(void* record) { return impl_->Walk(true, record); }
int StorageTable::Previous(void* record) { return impl_->Walk(false, record); }

int StorageTable::Impl::Walk(bool forward, void* record) {
  if (!open) return Fail(kNotOpen, "file is not open");
  if (memory) return Answer(forward ? memory->Next(record) : memory->Previous(record));
  sqlite3_stmt* s = WalkStatement(pos == Pos::Start ? (forward ? kFirst : kLast) : (forward ? kAfter : kBefore));
  if (!s) return error;
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
  if (StepRow(s, scratch.data(), &rowid) != kOk) return error;
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
int StorageTable::Impl::SameAsRead(bool* same) {
  sqlite3_stmt* s = Prepared(byRowid, [&] { return "SELECT " + selectList() + " FROM " + table() + " WHERE rowid = ?"; });
  if (!s) return error;
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

int StorageTable::Reget(void* record) {
  Impl& m = *impl_;
  if (!m.open) return m.Fail(kNotOpen, "file is not open");
  if (m.memory) return m.Answer(m.memory->Reget(record));
  if (!m.hasCurrent) return m.Fail(kNoRow, "no current row");
  sqlite3_stmt* s = m.Prepared(m.byRowid, [&] { return "SELECT " + m.selectList() + " FROM " + m.table() + " WHERE rowid = ?"; });
  if (!s) return m.error;
  sqlite3_bind_int64(s, 1, m.currentRowid);
  int64_t rowid = 0;
  if (m.StepRow(s, record, &rowid) != kOk) return m.error;
  m.MakeCurrent(rowid, record);
  return kOk;
}

int StorageTable::Append(const void* record) {
  Impl& m = *impl_;
  if (!m.open) return m.Fail(kNotOpen, "file is not open");
  if (m.memory) return m.Answer(m.memory->Append(record));
  m.Changed();
  sqlite3_stmt* s = m.Prepared(m.insert, [&] {
    std::string params;
    for (size_t i = 0; i < m.layout.fields.size(); ++i) params += i ? ", ?" : "?";
    return "INSERT INTO " + m.table() + " (" + ColumnList(m.layout) + ") VALUES (" + params + ")";
  });
  if (!s) return m.error;
  BindRecord(s, 1, m.layout, static_cast<const unsigned char*>(record));
  int rc = sqlite3_step(s);
  sqlite3_reset(s);
  if (rc != SQLITE_DONE) return m.FailSql(rc);
  m.MakeCurrent(sqlite3_last_insert_rowid(m.db), record);
  return m.Ok();
}

int StorageTable::Put(const void* record) {
  Impl& m = *impl_;
  if (!m.open) return m.Fail(kNotOpen, "file is not open");
  // Only another process can have changed a disk row under us; memory
  // tables are private to this one.
  if (m.memory) return m.Answer(m.memory->Put(record));
  m.Changed();
  if (!m.hasCurrent) return m.Fail(kNoRow, "no current row");
  bool same = true;
  if (m.SameAsRead(&same) != kOk) return m.error;
  if (!same) return m.Fail(kChanged, "row was changed by another process since it was read");
  sqlite3_stmt* s = m.Prepared(m.update, [&] {
    std::string set;
    for (size_t i = 0; i < m.layout.fields.size(); ++i) set += (i ? ", " : "") + Quoted(m.layout.fields[i].name) + " = ?";
    return "UPDATE " + m.table() + " SET " + set + " WHERE rowid = ?";
  });
  if (!s) return m.error;
  BindRecord(s, 1, m.layout, static_cast<const unsigned char*>(record));
  sqlite3_bind_int64(s, static_cast<int>(m.layout.fields.size()) + 1, m.currentRowid);
  int rc = sqlite3_step(s);
  sqlite3_reset(s);
  if (rc != SQLITE_DONE) return m.FailSql(rc);
  if (sqlite3_changes(m.db) == 0) return m.Fail(kChanged, "row was deleted by another process");
  m.MakeCurrent(m.currentRowid, record);
  return m.Ok();
}

int StorageTable::Delete() {
  Impl& m = *impl_;
  if (!m.open) return m.Fail(kNotOpen, "file is not open");
  if (m.memory) return m.Answer(m.memory->Delete());
  m.Changed();
  if (!m.hasCurrent) return m.Fail(kNoRow, "no current row");
  sqlite3_stmt* s = m.Prepared(m.remove, [&] { return "DELETE FROM " + m.table() + " WHERE rowid = ?"; });
  if (!s) return m.error;
  sqlite3_bind_int64(s, 1, m.currentRowid);
  int rc = sqlite3_step(s);
  sqlite3_reset(s);
  if (rc != SQLITE_DONE) return m.FailSql(rc);
  m.hasCurrent = false;
  return m.Ok();
}

int StorageTable::ExistingUniqueKey(const void* record) {
  Impl& m = *impl_;
  if (!m.open) return -1;
  if (m.memory) return m.memory->ExistingUniqueKey(record);
  std::vector<unsigned char> probe(m.layout.recordSize);
  for (size_t k = 0; k < m.layout.keys.size(); ++k) {
    if (!m.layout.keys[k].unique) continue;
    std::memcpy(probe.data(), record, probe.size());
    bool hadCurrent = m.hasCurrent;
    int64_t rowid = m.currentRowid;
    std::vector<unsigned char> current = m.current;
    int rc = Fetch(static_cast<int>(k), probe.data());
    m.hasCurrent = hadCurrent;
    m.currentRowid = rowid;
    m.current = std::move(current);
    if (rc == kOk) return static_cast<int>(k);
  }
  return -1;
}

long StorageTable::Count() {
  Impl& m = *impl_;
  if (!m.open) return m.Fail(kNotOpen, "file is not open"), -1;
  if (m.memory) {
    m.Ok();
    return m.memory->Count();
  }
  sqlite3_stmt* s = m.Prepared(m.count, [&] { return "SELECT count(*) FROM " + m.table(); });
  if (!s) return -1;
  int rc = sqlite3_step(s);
  long n = rc == SQLITE_ROW ? static_cast<long>(sqlite3_column_int64(s, 0)) : -1;
  sqlite3_reset(s);
  if (rc != SQLITE_ROW) return m.FailSql(rc), -1;
  m.Ok();
  return n;
}

int StorageTable::Empty() {
  Impl& m = *impl_;
  if (!m.open) return m.Fail(kNotOpen, "file is not open");
  if (m.memory) {
    m.memory->Empty();
    m.Rewind();
    return m.Ok();
  }
  m.Changed();
  sqlite3_stmt* s = m.Prepared(m.empty, [&] { return "DELETE FROM " + m.table(); });
  if (!s) return m.error;
  int rc = sqlite3_step(s);
  sqlite3_reset(s);
  if (rc != SQLITE_DONE) return m.FailSql(rc);
  m.Rewind();
  return m.Ok();
}

}  // namespace tx
