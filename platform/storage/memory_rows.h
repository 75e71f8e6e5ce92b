#pragma once
// The rows of a memory-only table, kept natively rather than in a database:
// the record images in stored order and, per key, the row numbers sorted by
// key values with ties in stored order. Nobody but this process sees them, so
// nothing is encoded, locked or re-checked. Answers with the driver codes of
// storage_table.h; the open state and argument checks stay with StorageTable.
#include <cstdint>
#include <vector>

#include "base/record_layout.h"

namespace tx::storage {

class MemoryRows {
 public:
  explicit MemoryRows(const RecordLayout& layout);

  int Fetch(int key, void* record);
  void SetOrder(int key);
  void SetFrom(int key, const void* record);
  int Next(void* record) { return Walk(true, record); }
  int Previous(void* record) { return Walk(false, record); }
  int Reget(void* record) const;

  int Append(const void* record);
  int Put(const void* record);
  int Delete();
  int ExistingUniqueKey(const void* record) const;
  long Count() const { return rows_.live; }
  void Empty();

  // A transaction keeps the rows as they stood before its first change, so
  // a rollback can bring them back.
  void Begin();
  void Commit();
  void Rollback();
  bool InTransaction() const { return transaction_; }

  // Back to the start of the current order, no current row.
  void Rewind();

 private:
  // Slot s holds row number s + 1. A deleted slot stays until no live row
  // follows it, so that, as with a database's row numbers, the next row
  // appended after deleting the last one takes its number.
  struct Rows {
    std::vector<unsigned char> images;
    std::vector<uint8_t> alive;
    long live = 0;
    std::vector<std::vector<uint32_t>> byKey;  // per key: live slots by key values, then slot
  };
  enum class Pos { Start, At, From };

  const unsigned char* Image(uint32_t slot) const { return rows_.images.data() + size_t{slot} * size_; }
  unsigned char* Image(uint32_t slot) { return rows_.images.data() + size_t{slot} * size_; }
  int Compare(int key, const unsigned char* a, const unsigned char* b) const;
  // First position in key `key`'s list not below (record's key values, slot).
  size_t LowerBound(int key, const unsigned char* record, int64_t slot) const;
  // A key value holding a NaN equals nothing, as a database NULL.
  bool HasNoValue(int key, const unsigned char* record) const;
  int UniqueClash(const unsigned char* record, int64_t except) const;
  void Unlink(int key, uint32_t slot, const unsigned char* image);
  void Link(int key, uint32_t slot, const unsigned char* image);
  void Touch();
  static void Clear(Rows& rows);
  int Walk(bool forward, void* record);
  void MakeCurrent(uint32_t slot);

  const RecordLayout& layout_;
  const size_t size_;
  std::vector<bool> keyHasReal_;
  Rows rows_, saved_;
  bool transaction_ = false;
  bool savedValid_ = false;  // saved_ holds the rows as they were before this transaction
  uint64_t generation_ = 0;  // changes whenever a key list changes

  int order_ = -1;
  Pos pos_ = Pos::Start;
  std::vector<unsigned char> posRecord_;
  int64_t posSlot_ = 0;
  size_t posIndex_ = 0;        // the position in the key list, while generation_ is posGeneration_
  uint64_t posGeneration_ = 0;

  bool hasCurrent_ = false;
  uint32_t currentSlot_ = 0;
};

}  // namespace tx::storage
