#include "platform/storage/storage_table.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <limits>
#include <vector>

#include "platform/storage/record_codec.h"

namespace tx {

using namespace storage;

namespace {

enum Walk { kFirst, kLast, kAfter, kBefore, kWalkCount };

// The driver codes a SQLite result stands for.
int CodeFor(int rc) {
  switch (rc & 0xff) {
    case SQLITE_OK: case SQLITE_ROW: return kOk;
    case SQLITE_DONE: case SQLITE_NOTFOUND: return kNoRow;
    case SQLITE_CONSTRAINT: return rc == SQLITE_CONSTRAINT_UNIQUE || rc == SQLITE_CONSTRAINT_PRIMARYKEY ? kDuplicateKey : kOther;
    case SQLITE_BUSY: case SQLITE_LOCKED: return kHeld;
    case SQLITE_CORRUPT: case SQLITE_NOTADB: return kBadKeys;
    case SQLITE_READONLY: case SQLITE_PERM: case SQLITE_AUTH: return kNoAccess;
    case SQLITE_CANTOPEN: return errno == ENOENT ? kNoFile : kNoAccess;
    default: return kOther;
  }
}

}  // namespace

struct StorageTable::Impl {
  explicit Impl(const RecordLayout& l) : layout(l) {}

  const RecordLayout& layout;
  std::string name;
  sqlite3* db = nullptr;
  bool open = false;
  bool readOnly = false;
  int busyMs = 0;
  int error = kOk;
  std::string errorText;

  // Cached statements. Reading statements are indexed by order (0 physical,
  // k + 1 for key k) and walk.
  std::vector<sqlite3_stmt*> fetch, walk;
  sqlite3_stmt *insert = nullptr, *update = nullptr, *remove = nullptr, *byRowid = nullptr,
               *count = nullptr, *empty = nullptr;

  // Reading position: rewound, just behind/before the row `pos`/`posRowid`,
  // or around key values set by SetFrom.
  enum class Pos { Start, At, From } pos = Pos::Start;
  int order = kPhysicalOrder;
  std::vector<unsigned char> posRecord;
  int64_t posRowid = 0;

  // The row last read or written, as it was then.
  bool hasCurrent = false;
  int64_t currentRowid = 0;
  std::vector<unsigned char> currentImage;

  std::string table() const { return Quoted(TableName(layout)); }
  std::string selectList() const { return ColumnList(layout) + ", rowid"; }
  size_t rowidColumn() const { return layout.fields.size(); }

  int Fail(int code, std::string text) {
    error = code;
    errorText = std::move(text);
    return code;
  }
  int FailSql(int rc) {
    const char* msg = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    return Fail(CodeFor(rc), msg ? msg : "driver error");
  }
  int Ok() {
    error = kOk;
    errorText.clear();
    return kOk;
  }

  int Exec(const char* sql) {
    int rc = sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    return rc == SQLITE_OK ? Ok() : FailSql(rc);
  }

  // Prepares `sql` into `slot` once; later calls reuse it.
  sqlite3_stmt* Prepared(sqlite3_stmt*& slot, const std::string& sql) {
    if (!slot && sqlite3_prepare_v3(db, sql.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &slot, nullptr) != SQLITE_OK) {
      FailSql(sqlite3_errcode(db));
      slot = nullptr;
    }
    return slot;
  }

  void FinalizeAll() {
    for (auto* s : fetch) sqlite3_finalize(s);
    for (auto* s : walk) sqlite3_finalize(s);
    fetch.assign(layout.keys.size(), nullptr);
    walk.assign((layout.keys.size() + 1) * kWalkCount, nullptr);
    for (auto** s : {&insert, &update, &remove, &byRowid, &count, &empty}) {
      sqlite3_finalize(*s);
      *s = nullptr;
    }
  }

  void CloseDb() {
    FinalizeAll();
    if (db) sqlite3_close_v2(db);
    db = nullptr;
  }

  void Rewind() {
    pos = Pos::Start;
    hasCurrent = false;
  }

  void MakeCurrent(int64_t rowid, const void* record) {
    hasCurrent = true;
    currentRowid = rowid;
    auto* p = static_cast<const unsigned char*>(record);
    currentImage.assign(p, p + layout.recordSize);
  }

  // Steps a reading statement that selects one row; ROW fills `record`.
  int StepRow(sqlite3_stmt* s, void* record, int64_t* rowid) {
    int rc = sqlite3_step(s);
    int result;
    if (rc == SQLITE_ROW) {
      ReadRecord(s, layout, static_cast<unsigned char*>(record));
      *rowid = sqlite3_column_int64(s, static_cast<int>(rowidColumn()));
      result = Ok();
    } else if (rc == SQLITE_DONE) {
      result = Fail(kNoRow, "no row");
    } else {
      result = FailSql(rc);
    }
    sqlite3_reset(s);
    return result;
  }

  int WriteSchema() {
    if (Exec("BEGIN IMMEDIATE") != kOk) return error;
    std::vector<std::string> sql{CreateTableSql(layout)};
    for (const KeyDef& k : layout.keys) sql.push_back(CreateIndexSql(layout, k));
    for (const std::string& s : sql) {
      if (Exec(s.c_str()) != kOk) {
        int code = error;
        std::string text = errorText;
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        return Fail(code, text);
      }
    }
    return Exec("COMMIT");
  }

  int CheckSchema(bool writable, bool repair);
  int OpenDisk(const std::string& file, bool writable);
  sqlite3_stmt* WalkStatement(int walkKind);
  int Walk(bool forward, void* record);
  int SameAsRead(bool* same);
};

// Confirms the file holds this layout's table and keys. A database with no
// tables at all (a new or zero-length file) gets them when writable. With
// `repair`, missing keys are created and all keys rebuilt.
int StorageTable::Impl::CheckSchema(bool writable, bool repair) {
  sqlite3_stmt* s = nullptr;
  int rc = sqlite3_prepare_v2(db, "SELECT type, name FROM sqlite_master", -1, &s, nullptr);
  if (rc != SQLITE_OK) return FailSql(rc);
  bool hasTable = false, anyTable = false;
  std::vector<std::string> indexes;
  const std::string tableName = TableName(layout);
  while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
    std::string type = reinterpret_cast<const char*>(sqlite3_column_text(s, 0));
    std::string name = reinterpret_cast<const char*>(sqlite3_column_text(s, 1));
    if (type == "table") {
      anyTable = true;
      if (name == tableName) hasTable = true;
    } else if (type == "index") {
      indexes.push_back(name);
    }
  }
  sqlite3_finalize(s);
  if (rc != SQLITE_DONE) return FailSql(rc);

  if (!hasTable) {
    if (anyTable) return Fail(kBadKeys, "file holds no " + tableName + " table");
    if (!writable) return Fail(kBadKeys, "file holds no table yet and is open read-only");
    return WriteSchema();
  }

  std::vector<std::string> columns;
  std::string pragma = "PRAGMA table_info(" + table() + ")";
  rc = sqlite3_prepare_v2(db, pragma.c_str(), -1, &s, nullptr);
  if (rc != SQLITE_OK) return FailSql(rc);
  while ((rc = sqlite3_step(s)) == SQLITE_ROW) columns.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(s, 1)));
  sqlite3_finalize(s);
  if (rc != SQLITE_DONE) return FailSql(rc);
  bool sameLayout = columns.size() == layout.fields.size();
  for (size_t i = 0; sameLayout && i < columns.size(); ++i) sameLayout = columns[i] == layout.fields[i].name;
  if (!sameLayout) return Fail(kBadKeys, "file holds a different record layout");

  for (const KeyDef& k : layout.keys) {
    bool present = false;
    for (const std::string& i : indexes) present = present || i == IndexName(k);
    if (present) continue;
    if (!repair) return Fail(kBadKeys, "key " + k.name + " is missing");
    std::string sql = CreateIndexSql(layout, k);
    if (Exec(sql.c_str()) != kOk) return error;
  }
  if (repair) return Exec(("REINDEX " + table()).c_str());
  return Ok();
}

int StorageTable::Impl::OpenDisk(const std::string& file, bool writable) {
  struct stat st;
  if (stat(file.c_str(), &st) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) return Fail(kNoFile, "file not found");
    return Fail(errno == EACCES ? kNoAccess : kOther, std::strerror(errno));
  }
  if (!S_ISREG(st.st_mode)) return Fail(kNoAccess, "not a regular file");
  if (access(file.c_str(), writable ? R_OK | W_OK : R_OK) != 0) return Fail(kNoAccess, std::strerror(errno));

  int flags = (writable ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY) | SQLITE_OPEN_NOMUTEX;
  int rc = sqlite3_open_v2(file.c_str(), &db, flags, nullptr);
  if (rc != SQLITE_OK) {
    FailSql(rc);
    CloseDb();
    return error;
  }
  sqlite3_extended_result_codes(db, 1);
  sqlite3_busy_timeout(db, busyMs);
  if (writable && sqlite3_db_readonly(db, "main") == 1) {
    CloseDb();
    return Fail(kNoAccess, "file is read-only");
  }
  if (CheckSchema(writable, false) != kOk) {
    int code = error == kHeld ? kNoAccess : error;
    std::string text = errorText;
    CloseDb();
    return Fail(code, text);
  }
  if (writable) {
    // Another process in the middle of writing holds the reserved lock;
    // sharing the file for writing with it is refused, reading is not.
    rc = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
      int code = CodeFor(rc);
      std::string text = sqlite3_errmsg(db);
      CloseDb();
      if (code == kHeld) return Fail(kNoAccess, "file is locked for writing by another process");
      return Fail(code, text);
    }
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
  }
  readOnly = !writable;
  return Ok();
}

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
  return Prepared(slot, sql);
}

StorageTable::StorageTable(const RecordLayout& layout) : impl_(std::make_unique<Impl>(layout)) {
  impl_->fetch.assign(layout.keys.size(), nullptr);
  impl_->walk.assign((layout.keys.size() + 1) * kWalkCount, nullptr);
}

StorageTable::~StorageTable() {
  if (impl_->open) Close();
  impl_->CloseDb();
}

int StorageTable::Open(const std::string& name, bool writable) {
  Impl& m = *impl_;
  if (m.open) return m.Fail(kAlreadyOpen, "file is already open");
  m.name = name;
  m.Rewind();
  m.order = kPhysicalOrder;
  if (m.layout.inMemory) {
    if (!m.db) {
      int rc = sqlite3_open_v2(":memory:", &m.db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
      if (rc != SQLITE_OK) {
        m.FailSql(rc);
        m.CloseDb();
        return m.error;
      }
      sqlite3_extended_result_codes(m.db, 1);
      if (m.WriteSchema() != kOk) {
        int code = m.error;
        std::string text = m.errorText;
        m.CloseDb();
        return m.Fail(code, text);
      }
    }
    m.readOnly = false;
    m.open = true;
    return m.Ok();
  }
  if (m.OpenDisk(name, writable) != kOk) return m.error;
  m.open = true;
  return m.Ok();
}

int StorageTable::Create(const std::string& name) {
  Impl& m = *impl_;
  if (m.open) return m.Fail(kAlreadyOpen, "file is already open");
  m.name = name;
  if (m.layout.inMemory) return m.Ok();  // a memory table comes into being on open
  // O_EXCL: an existing file, whatever it holds, is never overwritten.
  int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) {
    if (errno == EEXIST) return m.Fail(kNoAccess, "file exists already");
    return m.Fail(errno == EACCES || errno == EROFS || errno == EPERM ? kNoAccess : errno == ENOENT ? kNoFile : kOther,
                  std::strerror(errno));
  }
  ::close(fd);
  int rc = sqlite3_open_v2(name.c_str(), &m.db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
  int result = rc == SQLITE_OK ? m.WriteSchema() : m.FailSql(rc);
  std::string text = m.errorText;
  m.CloseDb();
  if (result != kOk) {
    ::unlink(name.c_str());
    return m.Fail(result, text);
  }
  return m.Ok();
}

int StorageTable::Close() {
  Impl& m = *impl_;
  if (!m.open) return m.Fail(kNotOpen, "file is not open");
  // Work appended inside a transaction is kept: losing a whole import because
  // the commit was forgotten would be the worse surprise. When it cannot be
  // kept the caller hears of it.
  int result = kOk;
  std::string text;
  if (m.db && !sqlite3_get_autocommit(m.db)) {
    int rc = sqlite3_exec(m.db, "COMMIT", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
      result = CodeFor(rc);
      text = std::string("pending changes were not saved: ") + sqlite3_errmsg(m.db);
      sqlite3_exec(m.db, "ROLLBACK", nullptr, nullptr, nullptr);
    }
  }
  m.open = false;
  m.Rewind();
  if (!m.layout.inMemory) m.CloseDb();
  return result == kOk ? m.Ok() : m.Fail(result, text);
}

bool StorageTable::IsOpen() const { return impl_->open; }
bool StorageTable::IsReadOnly() const { return impl_->readOnly; }

int StorageTable::Send(std::string_view command) {
  Impl& m = *impl_;
  constexpr std::string_view recover = "Recover=";
  if (command.substr(0, recover.size()) == recover) {
    long seconds = 0;
    for (char c : command.substr(recover.size())) {
      if (c < '0' || c > '9' || seconds > 86400) return m.Fail(kOther, "bad Recover= value");
      seconds = seconds * 10 + (c - '0');
    }
    m.busyMs = static_cast<int>(seconds * 1000);
    if (m.db) sqlite3_busy_timeout(m.db, m.busyMs);
    return m.Ok();
  }
  return m.Fail(kOther, "unknown driver command");
}

int StorageTable::Fetch(int key, void* record) {
  Impl& m = *impl_;
  if (!m.open) return m.Fail(kNotOpen, "file is not open");
  if (key < 0 || static_cast<size_t>(key) >= m.layout.keys.size()) return m.Fail(kOther, "no such key");
  const KeyDef& k = m.layout.keys[static_cast<size_t>(key)];
  sqlite3_stmt*& slot = m.fetch[static_cast<size_t>(key)];
  if (!slot) {
    std::string where;
    for (size_t i = 0; i < k.fields.size(); ++i)
      where += (i ? " AND " : "") + Quoted(m.layout.fields[k.fields[i]].name) + " = ?";
    // Ordering by the whole index keeps the lookup on the index; the rowid
    // tie-break gives the row stored first.
    m.Prepared(slot, "SELECT " + m.selectList() + " FROM " + m.table() + " WHERE " + where + " ORDER BY " +
                         KeyColumns(m.layout, k) + ", rowid LIMIT 1");
    if (!slot) return m.error;
  }
  BindKey(slot, 1, m.layout, k, static_cast<const unsigned char*>(record));
  int64_t rowid = 0;
  int rc = m.StepRow(slot, record, &rowid);  // the buffer changes only when a row is found
  if (rc != kOk) return rc;
  m.MakeCurrent(rowid, record);
  return kOk;
}

int StorageTable::SetOrder(int key) {
  Impl& m = *impl_;
  if (key < kPhysicalOrder || key >= static_cast<int>(m.layout.keys.size())) return m.Fail(kOther, "no such key");
  m.order = key;
  m.pos = Impl::Pos::Start;
  return m.Ok();
}

int StorageTable::SetFrom(int key, const void* record) {
  Impl& m = *impl_;
  if (SetOrder(key) != kOk) return m.error;
  if (key == kPhysicalOrder) return kOk;
  auto* p = static_cast<const unsigned char*>(record);
  m.posRecord.assign(p, p + m.layout.recordSize);
  m.pos = Impl::Pos::From;
  return kOk;
}

int StorageTable::Next(void* record) { return impl_->Walk(true, record); }
int StorageTable::Previous(void* record) { return impl_->Walk(false, record); }

int StorageTable::Impl::Walk(bool forward, void* record) {
  if (!open) return Fail(kNotOpen, "file is not open");
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
  if (StepRow(s, record, &rowid) != kOk) return error;
  auto* p = static_cast<const unsigned char*>(record);
  posRecord.assign(p, p + layout.recordSize);
  posRowid = rowid;
  pos = Pos::At;
  MakeCurrent(rowid, record);
  return kOk;
}

// Whether the current row is still stored as it was read.
int StorageTable::Impl::SameAsRead(bool* same) {
  sqlite3_stmt* s = Prepared(byRowid, "SELECT " + selectList() + " FROM " + table() + " WHERE rowid = ?");
  if (!s) return error;
  sqlite3_bind_int64(s, 1, currentRowid);
  std::vector<unsigned char> stored(currentImage);
  int64_t rowid = 0;
  int rc = StepRow(s, stored.data(), &rowid);
  if (rc == kNoRow) {
    *same = false;
    return Ok();
  }
  if (rc != kOk) return rc;
  *same = stored == currentImage;
  return kOk;
}

int StorageTable::Reget(void* record) {
  Impl& m = *impl_;
  if (!m.open) return m.Fail(kNotOpen, "file is not open");
  if (!m.hasCurrent) return m.Fail(kNoRow, "no current row");
  sqlite3_stmt* s = m.Prepared(m.byRowid, "SELECT " + m.selectList() + " FROM " + m.table() + " WHERE rowid = ?");
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
  std::string params;
  for (size_t i = 0; i < m.layout.fields.size(); ++i) params += i ? ", ?" : "?";
  sqlite3_stmt* s = m.Prepared(m.insert, "INSERT INTO " + m.table() + " (" + ColumnList(m.layout) + ") VALUES (" + params + ")");
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
  if (!m.hasCurrent) return m.Fail(kNoRow, "no current row");
  if (!m.layout.inMemory) {
    // Only another process can have changed a disk row under us; memory
    // tables are private to this one.
    bool same = true;
    if (m.SameAsRead(&same) != kOk) return m.error;
    if (!same) return m.Fail(kChanged, "row was changed by another process since it was read");
  }
  std::string set;
  for (size_t i = 0; i < m.layout.fields.size(); ++i) set += (i ? ", " : "") + Quoted(m.layout.fields[i].name) + " = ?";
  sqlite3_stmt* s = m.Prepared(m.update, "UPDATE " + m.table() + " SET " + set + " WHERE rowid = ?");
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
  if (!m.hasCurrent) return m.Fail(kNoRow, "no current row");
  sqlite3_stmt* s = m.Prepared(m.remove, "DELETE FROM " + m.table() + " WHERE rowid = ?");
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
  std::vector<unsigned char> probe(m.layout.recordSize);
  for (size_t k = 0; k < m.layout.keys.size(); ++k) {
    if (!m.layout.keys[k].unique) continue;
    std::memcpy(probe.data(), record, probe.size());
    bool hadCurrent = m.hasCurrent;
    int64_t rowid = m.currentRowid;
    std::vector<unsigned char> image = m.currentImage;
    int rc = Fetch(static_cast<int>(k), probe.data());
    m.hasCurrent = hadCurrent;
    m.currentRowid = rowid;
    m.currentImage = std::move(image);
    if (rc == kOk) return static_cast<int>(k);
  }
  return -1;
}

int StorageTable::RebuildKeys() {
  Impl& m = *impl_;
  if (m.layout.inMemory) return m.open ? m.Exec(("REINDEX " + m.table()).c_str()) : m.Fail(kNotOpen, "file is not open");
  bool wasOpen = m.open;
  if (wasOpen) {
    if (m.readOnly) return m.Fail(kNoAccess, "file is open read-only");
    m.FinalizeAll();  // statements may refer to indexes about to be rebuilt
    return m.CheckSchema(true, true);
  }
  if (m.OpenDisk(m.name, true) != kOk && m.error != kBadKeys) return m.error;
  if (!m.db) {
    // The schema check refused the file; open it bare and repair what can be.
    int rc = sqlite3_open_v2(m.name.c_str(), &m.db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
      m.FailSql(rc);
      m.CloseDb();
      return m.error;
    }
    sqlite3_extended_result_codes(m.db, 1);
    sqlite3_busy_timeout(m.db, m.busyMs);
  }
  int result = m.CheckSchema(true, true);
  std::string text = m.errorText;
  m.CloseDb();
  return m.Fail(result, result == kOk ? std::string() : text);
}

long StorageTable::Count() {
  Impl& m = *impl_;
  if (!m.open) return m.Fail(kNotOpen, "file is not open"), -1;
  sqlite3_stmt* s = m.Prepared(m.count, "SELECT count(*) FROM " + m.table());
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
  sqlite3_stmt* s = m.Prepared(m.empty, "DELETE FROM " + m.table());
  if (!s) return m.error;
  int rc = sqlite3_step(s);
  sqlite3_reset(s);
  if (rc != SQLITE_DONE) return m.FailSql(rc);
  m.Rewind();
  return m.Ok();
}

int StorageTable::BeginTransaction() {
  Impl& m = *impl_;
  if (!m.open) return m.Fail(kNotOpen, "file is not open");
  if (!sqlite3_get_autocommit(m.db)) return m.Fail(kOther, "a transaction is already running");
  // Deferred: a block of reads takes only the read lock (and the file locks
  // once for the whole block); the first write then takes the write lock.
  return m.Exec("BEGIN");
}

int StorageTable::Commit() {
  Impl& m = *impl_;
  if (!m.open) return m.Fail(kNotOpen, "file is not open");
  if (sqlite3_get_autocommit(m.db)) return m.Fail(kOther, "no transaction is running");
  return m.Exec("COMMIT");
}

int StorageTable::Rollback() {
  Impl& m = *impl_;
  if (!m.open) return m.Fail(kNotOpen, "file is not open");
  if (sqlite3_get_autocommit(m.db)) return m.Fail(kOther, "no transaction is running");
  int rc = m.Exec("ROLLBACK");
  m.Rewind();
  return rc;
}

bool StorageTable::InTransaction() const { return impl_->open && impl_->db && !sqlite3_get_autocommit(impl_->db); }

int StorageTable::Error() const { return impl_->error; }
const std::string& StorageTable::ErrorText() const { return impl_->errorText; }
const RecordLayout& StorageTable::Layout() const { return impl_->layout; }

}  // namespace tx
