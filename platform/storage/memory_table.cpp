#include "platform/storage/memory_table.h"

namespace tx::storage {

int MemoryTable::Failed(int code) {
  switch (code) {
    case kNoRow: return status_.Fail(code, "no row");
    case kDuplicateKey: return status_.Fail(code, "a unique key value is stored already");
    default: return status_.Fail(code, "too many rows");
  }
}

int MemoryTable::Close() {
  if (rows_.InTransaction()) rows_.Commit();
  rows_.Rewind();
  return status_.Ok();
}

long MemoryTable::Count() {
  status_.Ok();
  return rows_.Count();
}

int MemoryTable::Empty() {
  rows_.Empty();
  rows_.Rewind();
  return status_.Ok();
}

int MemoryTable::Begin() {
  if (rows_.InTransaction()) return status_.Fail(kOther, "a transaction is already running");
  rows_.Begin();
  return status_.Ok();
}

int MemoryTable::Commit() {
  if (!rows_.InTransaction()) return status_.Fail(kOther, "no transaction is running");
  rows_.Commit();
  return status_.Ok();
}

int MemoryTable::Rollback() {
  if (!rows_.InTransaction()) return status_.Fail(kOther, "no transaction is running");
  rows_.Rollback();
  rows_.Rewind();
  return status_.Ok();
}

}  // namespace tx::storage
