#pragma once
// Inside the driver: a memory-only table, its rows kept natively
// (memory_rows.h). Nobody but this process sees them: there is no file to
// open or repair, no lock to wait for, and no content another process could
// change. Not for use outside platform/storage.
#include "platform/storage/memory_rows.h"
#include "platform/storage/table_backend.h"

namespace tx::storage {

class MemoryTable final : public TableBackend {
 public:
  MemoryTable(const RecordLayout& layout, DriverStatus& status) : rows_(layout), status_(status) {}

  // The rows come into being on the first open and outlive every close.
  int Open(const std::string&, bool) override { return status_.Ok(); }
  int Create(const std::string&) override { return status_.Ok(); }
  int Close() override;
  bool IsReadOnly() const override { return false; }
  void SetLockWait(int) override {}
  int RebuildKeys(bool open) override { return open ? status_.Ok() : status_.Fail(kNotOpen, "file is not open"); }

  int Fetch(int key, void* record) override { return Answer(rows_.Fetch(key, record)); }
  void SetOrder(int key) override { rows_.SetOrder(key); }
  void SetFrom(int key, const void* record) override { rows_.SetFrom(key, record); }
  int Walk(bool forward, void* record) override { return Answer(forward ? rows_.Next(record) : rows_.Previous(record)); }
  int Reget(void* record) override { return Answer(rows_.Reget(record)); }
  void Rewind() override { rows_.Rewind(); }

  int Append(const void* record) override { return Answer(rows_.Append(record)); }
  int Put(const void* record) override { return Answer(rows_.Put(record)); }
  int Delete() override { return Answer(rows_.Delete()); }
  int ExistingUniqueKey(const void* record) override { return rows_.ExistingUniqueKey(record); }
  long Count() override;
  int Empty() override;

  int Begin() override;
  int Commit() override;
  int Rollback() override;
  bool InTransaction() const override { return rows_.InTransaction(); }
  // Nothing is promised: callers keep nothing they read from memory tables.
  uint64_t ContentVersion() override { return 0; }
  bool ReadCommitStamp(CommitStamp&) override { return false; }

 private:
  // The answer of the rows, with a text for its failures.
  int Answer(int code) { return code == kOk ? status_.Ok() : Failed(code); }
  int Failed(int code);

  MemoryRows rows_;
  DriverStatus& status_;
};

}  // namespace tx::storage
