#pragma once
// The keyed-file driver: one table of fixed-length records kept in its own
// SQLite database file, one column per field, one index per key
// (file_table.h); a memory-only table keeps its records natively
// (memory_table.h) with the same behaviour.
// Stored order is insertion order (rowid); among rows with equal key values the
// one stored first comes first. Every operation answers with a driver code
// (below) and leaves a readable text in ErrorText().
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "base/record_layout.h"
#include "platform/storage/commit_stamp.h"

namespace tx {

class StorageGroup;

namespace storage {
class FileTable;
constexpr int kOk = 0;
constexpr int kNoFile = 2;         // file not found
constexpr int kNoAccess = 5;       // no permission, read-only, or another process holds it for writing
constexpr int kNoRow = 33;         // no (further) row, or no current row
constexpr int kNotOpen = 37;       // operation on a table that is not open
constexpr int kDuplicateKey = 40;  // a unique key value exists already
constexpr int kHeld = 43;          // row or file locked by another process
constexpr int kBadKeys = 46;       // not a database, damaged, or keys missing: rebuild needed
constexpr int kAlreadyOpen = 52;
constexpr int kChanged = 89;       // row changed by another process since it was read
constexpr int kOther = 90;         // any other driver failure; ErrorText() says which
constexpr int kPhysicalOrder = -1; // SetOrder: stored order instead of a key
}  // namespace storage


class StorageTable {
 public:
  // The layout must outlive the table. A layout marked inMemory keeps its rows
  // in memory for the lifetime of this object; Close does not lose them.
  explicit StorageTable(const RecordLayout& layout);
  ~StorageTable();
  StorageTable(const StorageTable&) = delete;
  StorageTable& operator=(const StorageTable&) = delete;

  // Opens the file `name` (the memory name for memory tables). A writable open
  // fails with kNoAccess when the file cannot be written or another process
  // holds its write lock; a file that is not a database, or that holds another
  // layout, fails with kBadKeys and is left untouched.
  int Open(const std::string& name, bool writable);
  // Creates an empty table file; fails if a file of that name exists.
  int Create(const std::string& name);
  // Closes the file; a pending transaction is committed first. Destroying a
  // table that is still open rolls a pending transaction back instead.
  int Close();
  bool IsOpen() const;
  bool IsReadOnly() const;

  // Driver commands as text. "Recover=N": wait up to N seconds for locks held
  // by other processes before giving up (a lock left by a dead process is
  // released by the system; a live one gets this long to finish).
  int Send(std::string_view command);

  // Reads into `record` the first row (in key order, ties in stored order)
  // whose key components equal those in `record`. Becomes the current row.
  int Fetch(int key, void* record);
  // Reading order for Next/Previous (a key number or kPhysicalOrder); rewinds,
  // so Next reads the first row and Previous the last.
  int SetOrder(int key);
  // Positions so that Next reads the first row whose key is >= the key values
  // in `record` and Previous the last one whose key is <= them.
  int SetFrom(int key, const void* record);
  int Next(void* record);
  int Previous(void* record);
  // Re-reads the current row.
  int Reget(void* record);

  // Appends a row; it becomes the current row.
  int Append(const void* record);
  // Overwrites the current row. kChanged when another process changed it since
  // it was read (the row is left as that process wrote it).
  int Put(const void* record);
  // Deletes the current row; reading on continues after it.
  int Delete();
  // Index of the first unique key whose value in `record` is stored already, or -1.
  int ExistingUniqueKey(const void* record);

  int RebuildKeys();
  long Count();
  int Empty();

  int BeginTransaction();
  int Commit();
  int Rollback();
  bool InTransaction() const;
  // Inside a transaction: a number that stays the same for as long as rows
  // read by Fetch stay the same, across transactions too; it changes with
  // this connection's writes, another process's commits, and a reopen. 0
  // outside a transaction (and for memory tables), where nothing can be promised.
  uint64_t ContentVersion();
  // Reads the stamp without taking a lock. Two equal stamps mean nothing was
  // committed to the file, and this connection changed nothing, in between;
  // a stamp read while this connection holds the read lock belongs to the
  // content it reads. False when no such promise can be made: a memory
  // table, a file in write-ahead-log mode (which does not count its commits
  // there), or a header that cannot be read.
  bool ReadCommitStamp(storage::CommitStamp& stamp);

  int Error() const;
  const std::string& ErrorText() const;
  const RecordLayout& Layout() const;

 private:
  friend class StorageGroup;
  // The table's file, for a group's transaction; nullptr for a memory table.
  storage::FileTable* File();
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace tx
