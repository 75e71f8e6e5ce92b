#include "platform/storage/file_table.h"

// Opening, creating, closing and repairing table files; transactions.
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <limits>
#include <vector>

#include "platform/storage/storage_group.h"

namespace tx::storage {

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

// Confirms the file holds this layout's table and keys. A database with no
// tables at all (a new or zero-length file) gets them when writable. With
// `repair`, missing keys are created and all keys rebuilt.
int FileTable::CheckSchema(bool writable, bool repair) {
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
    if (Exec(sql.c_str()) != kOk) return status.error;
  }
  if (repair) return Exec(("REINDEX " + table()).c_str());
  return Ok();
}

int FileTable::OpenDisk(const std::string& file, bool writable) {
  struct stat st;
  if (stat(file.c_str(), &st) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) return Fail(kNoFile, "file not found");
    return Fail(errno == EACCES ? kNoAccess : kOther, std::strerror(errno));
  }
  if (!S_ISREG(st.st_mode)) return Fail(kOther, "not a regular file");
  if (access(file.c_str(), writable ? R_OK | W_OK : R_OK) != 0) return Fail(kNoAccess, std::strerror(errno));

  if (Connect(file, writable ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY) != kOk) return status.error;
  if (writable && sqlite3_db_readonly(db, "main") == 1) {
    CloseDb();
    return Fail(kNoAccess, "file is read-only");
  }
  if (CheckSchema(writable, false) != kOk) {
    // A write that never finished (a process killed in its commit) left its
    // journal to be played back, which a read-only connection cannot do.
    if (!writable && sqlite3_extended_errcode(db) == SQLITE_READONLY_ROLLBACK && !undoing) {
      CloseDb();
      if (!UndoInterruptedWrite(file)) return status.error;
      undoing = true;
      const int again = OpenDisk(file, false);
      undoing = false;
      return again;
    }
    // Held past the wait: a writer asks for read access instead; a reader
    // has nothing else to ask for.
    int code = status.error == kHeld && writable ? kNoAccess : status.error;
    std::string text = status.error == kHeld ? "the table is busy: another process holds its lock" : status.text;
    CloseDb();
    return Fail(code, text);
  }
  if (writable) {
    // Another process in the middle of writing holds the reserved lock;
    // sharing the file for writing with it is refused, reading is not.
    const int rc = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
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

// Opens the file for writing just long enough for the database to play back
// the journal of an interrupted write; a reader then finds the content as it
// was before that write. Without write access nothing can be done.
bool FileTable::UndoInterruptedWrite(const std::string& file) {
  if (access(file.c_str(), W_OK) != 0) {
    Fail(kNoAccess, "an interrupted write must be undone first, which needs write access to the table");
    return false;
  }
  sqlite3* fix = nullptr;
  int rc = sqlite3_open_v2(file.c_str(), &fix, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
  if (rc == SQLITE_OK) {
    sqlite3_busy_timeout(fix, busyMs);
    rc = sqlite3_exec(fix, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
  }
  if (rc != SQLITE_OK) Fail(CodeFor(rc), fix ? sqlite3_errmsg(fix) : sqlite3_errstr(rc));
  sqlite3_close_v2(fix);
  return rc == SQLITE_OK;
}

FileTable::FileTable(const RecordLayout& l, DriverStatus& s) : layout(l), status(s) {
  UseFileSeam();
  fetch.assign(layout.keys.size(), nullptr);
  walk.assign((layout.keys.size() + 1) * kWalkCount, nullptr);
}

FileTable::~FileTable() {
  if (group) group->Forget(this);
  if (db && !sqlite3_get_autocommit(db)) sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
  CloseDb();
}

int FileTable::Open(const std::string& file, bool writable) {
  name = file;
  if (OpenDisk(name, writable) != kOk) return status.error;
  return Ok();
}

int FileTable::Create(const std::string& file) {
  name = file;
  // O_EXCL: an existing file, whatever it holds, is never overwritten.
  int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) {
    if (errno == EEXIST) return Fail(kNoAccess, "file exists already");
    return Fail(errno == EACCES || errno == EROFS || errno == EPERM ? kNoAccess : errno == ENOENT ? kNoFile : kOther,
                std::strerror(errno));
  }
  ::close(fd);
  int rc = sqlite3_open_v2(name.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
  int result = rc == SQLITE_OK ? WriteSchema() : FailSql(rc);
  std::string text = status.text;
  CloseDb();
  if (result != kOk) {
    ::unlink(name.c_str());
    return Fail(result, text);
  }
  return Ok();
}

int FileTable::Close() {
  // Work appended inside a transaction is kept: losing a whole import because
  // the commit was forgotten would be the worse surprise. When it cannot be
  // kept the caller hears of it.
  // Rows written inside a group's transaction belong to it: the group
  // decides about them, not this close.
  if (group) group->Forget(this);
  int result = kOk;
  std::string text;
  if (db && !sqlite3_get_autocommit(db)) {
    int rc = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
      result = CodeFor(rc);
      text = std::string("pending changes were not saved: ") + sqlite3_errmsg(db);
      sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    }
  }
  Rewind();
  CloseDb();
  return result == kOk ? Ok() : Fail(result, text);
}

void FileTable::SetLockWait(int milliseconds) {
  busyMs = milliseconds;
  if (db) sqlite3_busy_timeout(db, busyMs);
}

int FileTable::RebuildKeys(bool open) {
  Changed();
  if (open) {
    if (readOnly) return Fail(kNoAccess, "file is open read-only");
    FinalizeAll();  // statements may refer to indexes about to be rebuilt
    return CheckSchema(true, true);
  }
  if (OpenDisk(name, true) != kOk && status.error != kBadKeys) return status.error;
  if (!db) {
    // The schema check refused the file; open it bare and repair what can be.
    if (Connect(name, SQLITE_OPEN_READWRITE) != kOk) return status.error;
  }
  int result = CheckSchema(true, true);
  std::string text = status.text;
  CloseDb();
  return Fail(result, result == kOk ? std::string() : text);
}

int FileTable::Begin() {
  if (!sqlite3_get_autocommit(db)) return Fail(kOther, "a transaction is already running");
  // Deferred: a block of reads takes only the read lock (and the file locks
  // once for the whole block); the first write then takes the write lock.
  dataVersionChecked = false;
  return Run(begin, "BEGIN");
}

int FileTable::Commit() {
  if (sqlite3_get_autocommit(db)) return Fail(kOther, "no transaction is running");
  dataVersionChecked = false;
  return Run(commit, "COMMIT");
}

int FileTable::Rollback() {
  if (sqlite3_get_autocommit(db)) return Fail(kOther, "no transaction is running");
  Changed();
  dataVersionChecked = false;
  int rc = Run(rollback, "ROLLBACK");
  Rewind();
  return rc;
}

}  // namespace tx::storage
