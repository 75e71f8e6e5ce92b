#pragma once
// Inside the driver: the two ways a StorageTable keeps its rows, in a SQLite
// file (file_table.h) or in memory (memory_table.h), behind one interface.
// StorageTable checks the open state and the arguments and hands every
// operation on; a backend answers with a driver code and leaves a readable
// text in the table's status. Not for use outside platform/storage.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/storage/commit_stamp.h"
#include "platform/storage/storage_table.h"

namespace tx::storage {

// The answer of a table's last operation.
struct DriverStatus {
  int error = kOk;
  std::string text;

  int Fail(int code, std::string_view why) {
    error = code;
    text.assign(why.data(), why.size());
    return code;
  }
  int Ok() {
    error = kOk;
    text.clear();
    return kOk;
  }
};

// The operations of StorageTable (see there), on a table that is open unless
// said otherwise, with a key number already checked.
class TableBackend {
 public:
  virtual ~TableBackend() = default;

  // On a closed table.
  virtual int Open(const std::string& name, bool writable) = 0;
  virtual int Create(const std::string& name) = 0;
  // Commits a pending transaction first; closed afterwards whatever the answer.
  virtual int Close() = 0;
  virtual bool IsReadOnly() const = 0;
  // How long to wait for locks held by other processes ("Recover=").
  virtual void SetLockWait(int milliseconds) = 0;
  // Also on a closed table, where `open` says which.
  virtual int RebuildKeys(bool open) = 0;

  virtual int Fetch(int key, void* record) = 0;
  // Also on a closed table; both rewind.
  virtual void SetOrder(int key) = 0;
  virtual void SetFrom(int key, const void* record) = 0;
  virtual int Walk(bool forward, void* record) = 0;
  virtual int Reget(void* record) = 0;
  // Back to the start of the reading order, no current row.
  virtual void Rewind() = 0;

  virtual int Append(const void* record) = 0;
  virtual int Put(const void* record) = 0;
  virtual int Delete() = 0;
  virtual int ExistingUniqueKey(const void* record) = 0;
  virtual long Count() = 0;
  virtual int Empty() = 0;

  virtual int Begin() = 0;
  virtual int Commit() = 0;
  virtual int Rollback() = 0;
  virtual bool InTransaction() const = 0;
  virtual uint64_t ContentVersion() = 0;
  virtual bool ReadCommitStamp(CommitStamp& stamp) = 0;
};

}  // namespace tx::storage
