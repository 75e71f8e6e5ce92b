#pragma once
// Inside the driver: a table kept in its own SQLite file. Its two halves are
// the file (open, create, close, keys, transactions: file_table.cpp) and the
// rows (file_table_rows.cpp). Its state is open to StorageGroup, which moves
// the table onto the group's connection for a transaction over several
// files. Not for use outside platform/storage.
#include <sqlite3.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/storage/record_codec.h"
#include "platform/storage/storage_table.h"
#include "platform/storage/table_backend.h"

namespace tx {

class StorageGroup;

namespace storage {

// The driver code a SQLite result stands for.
int CodeFor(int rc);
// Routes the driver's writes through the program's file operations (once).
void UseFileSeam();
// The reading statements cached per order.
enum WalkKind { kFirst, kLast, kAfter, kBefore, kWalkCount };

class FileTable final : public TableBackend {
 public:
  FileTable(const RecordLayout& layout, DriverStatus& status);
  // A table dropped while still open belongs to work that never finished:
  // what it left uncommitted is not kept.
  ~FileTable() override;
  FileTable(const FileTable&) = delete;
  FileTable& operator=(const FileTable&) = delete;

  int Open(const std::string& name, bool writable) override;
  int Create(const std::string& name) override;
  int Close() override;
  bool IsReadOnly() const override { return readOnly; }
  void SetLockWait(int milliseconds) override;
  int RebuildKeys(bool open) override;
  int Fetch(int key, void* record) override;
  void SetOrder(int key) override;
  void SetFrom(int key, const void* record) override;
  int Walk(bool forward, void* record) override;
  int Reget(void* record) override;
  void Rewind() override {
    pos = Pos::Start;
    hasCurrent = false;
  }
  int Append(const void* record) override;
  int Put(const void* record) override;
  int Delete() override;
  int ExistingUniqueKey(const void* record) override;
  long Count() override;
  int Empty() override;
  int Begin() override;
  int Commit() override;
  int Rollback() override;
  bool InTransaction() const override { return db && !sqlite3_get_autocommit(db); }
  uint64_t ContentVersion() override;
  bool ReadCommitStamp(CommitStamp& stamp) override;

  const RecordLayout& layout;
  DriverStatus& status;
  std::string name;
  sqlite3* db = nullptr;
  bool readOnly = false;
  int busyMs = 0;

  // Cached statements. Reading statements are indexed by order (0 physical,
  // k + 1 for key k) and walk.
  std::vector<sqlite3_stmt*> fetch, walk;
  sqlite3_stmt *insert = nullptr, *update = nullptr, *remove = nullptr, *byRowid = nullptr,
               *count = nullptr, *empty = nullptr, *begin = nullptr, *commit = nullptr, *rollback = nullptr;

  // Reading position: rewound, just behind/before the row `pos`/`posRowid`,
  // or around key values set by SetFrom.
  enum class Pos { Start, At, From } pos = Pos::Start;
  int order = kPhysicalOrder;
  std::vector<unsigned char> posRecord;
  std::vector<unsigned char> scratch;  // a row being read, before it is checked
  int64_t posRowid = 0;

  // What ContentVersion answers: a number that changes with this
  // connection's writes and, as the data version shows once per
  // transaction, with other connections' commits.
  int64_t dataVersionSeen = -1;
  bool dataVersionChecked = false;  // the data version was compared in this transaction
  sqlite3_stmt* dataVersion = nullptr;
  // Never reused, not even by another table or a reopened file.
  uint64_t contentVersion = NextContentVersion();
  static uint64_t NextContentVersion() {
    static std::atomic<uint64_t> last{0};
    return ++last;
  }
  void Changed() { contentVersion = NextContentVersion(); }
  // Compares the data version once per transaction; false when it cannot be read.
  bool DataVersionChecked();

  // The row last read or written, as it was then.
  bool hasCurrent = false;
  int64_t currentRowid = 0;
  std::vector<unsigned char> current;

  // While a group's transaction runs, the table works on the group's
  // connection, where its file is attached under `schema`; its own
  // connection waits in `ownDb`.
  tx::StorageGroup* group = nullptr;
  sqlite3* ownDb = nullptr;
  std::string schema;
  void Join(tx::StorageGroup* g, sqlite3* shared, std::string alias) {
    FinalizeAll();
    ownDb = db;
    db = shared;
    schema = std::move(alias);
    group = g;
    Changed();
    dataVersionChecked = false;
  }
  void Detach() {
    if (!group) return;
    FinalizeAll();
    db = ownDb;
    ownDb = nullptr;
    schema.clear();
    group = nullptr;
    Changed();
    dataVersionChecked = false;
  }
  std::string SchemaName() const { return schema.empty() ? std::string("main") : schema; }

  std::string table() const {
    std::string quoted = Quoted(TableName(layout));
    return schema.empty() ? quoted : Quoted(schema) + "." + quoted;
  }
  std::string selectList() const { return ColumnList(layout) + ", rowid"; }
  size_t rowidColumn() const { return layout.fields.size(); }

  int Fail(int code, std::string_view text) { return status.Fail(code, text); }
  int FailSql(int rc) {
    const char* msg = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    return Fail(CodeFor(rc), msg ? msg : "driver error");
  }
  int Ok() { return status.Ok(); }

  int Exec(const char* sql) {
    int rc = sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    return rc == SQLITE_OK ? Ok() : FailSql(rc);
  }
  // As Exec for a statement run again and again (a transaction around every
  // preset decoded): spelled and prepared once.
  int Run(sqlite3_stmt*& slot, const char* sql) {
    sqlite3_stmt* s = Prepared(slot, [sql] { return std::string(sql); });
    if (!s) return status.error;
    int rc = sqlite3_step(s);
    sqlite3_reset(s);
    return rc == SQLITE_DONE ? Ok() : FailSql(rc);
  }

  // Prepares `sql` into `slot` once; later calls reuse it.
  // `makeSql` spells the statement; it runs only the first time.
  template <class MakeSql>
  sqlite3_stmt* Prepared(sqlite3_stmt*& slot, MakeSql&& makeSql) {
    if (slot) return slot;
    const std::string sql = makeSql();
    if (sqlite3_prepare_v3(db, sql.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &slot, nullptr) != SQLITE_OK) {
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
    for (auto** s : {&insert, &update, &remove, &byRowid, &count, &empty, &dataVersion, &begin, &commit, &rollback}) {
      sqlite3_finalize(*s);
      *s = nullptr;
    }
  }

  // A connection as every open of the table makes it: extended result
  // codes, and the wait for another process's lock. kOk, or the failure
  // with nothing left open.
  int Connect(const std::string& file, int flags) {
    int rc = sqlite3_open_v2(file.c_str(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
      FailSql(rc);
      CloseDb();
      return status.error;
    }
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, busyMs);
    return kOk;
  }

  void CloseDb() {
    Changed();
    dataVersionChecked = false;
    FinalizeAll();
    if (db) sqlite3_close_v2(db);
    db = nullptr;
  }

  void MakeCurrent(int64_t rowid, const void* record) {
    hasCurrent = true;
    currentRowid = rowid;
    auto* p = static_cast<const unsigned char*>(record);
    current.assign(p, p + layout.recordSize);
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
    if (Exec("BEGIN IMMEDIATE") != kOk) return status.error;
    std::vector<std::string> sql{CreateTableSql(layout)};
    for (const KeyDef& k : layout.keys) sql.push_back(CreateIndexSql(layout, k));
    for (const std::string& s : sql) {
      if (Exec(s.c_str()) != kOk) {
        int code = status.error;
        std::string text = status.text;
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        return Fail(code, text);
      }
    }
    return Exec("COMMIT");
  }

  int CheckSchema(bool writable, bool repair);
  int OpenDisk(const std::string& file, bool writable);
  bool UndoInterruptedWrite(const std::string& file);
  bool undoing = false;  // the open after undoing an interrupted write
  sqlite3_stmt* WalkStatement(int walkKind);
  int SameAsRead(bool* same);
};

}  // namespace storage
}  // namespace tx
