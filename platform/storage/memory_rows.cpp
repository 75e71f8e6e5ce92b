#include "platform/storage/memory_rows.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <utility>

#include "platform/storage/record_codec.h"
#include "platform/storage/storage_table.h"

namespace tx::storage {

namespace {
constexpr int64_t kBeforeAll = -1;
constexpr int64_t kAfterAll = std::numeric_limits<int64_t>::max();
}  // namespace

MemoryRows::MemoryRows(const RecordLayout& layout) : layout_(layout), size_(layout.recordSize) {
  for (const KeyDef& k : layout.keys) {
    bool real = false;
    for (size_t f : k.fields) real = real || (layout.fields[f].type == FieldType::Real && layout.fields[f].count == 1);
    keyHasReal_.push_back(real);
  }
  rows_.byKey.resize(layout.keys.size());
  saved_.byKey.resize(layout.keys.size());
}

int MemoryRows::Compare(int key, const unsigned char* a, const unsigned char* b) const {
  return CompareKey(layout_, layout_.keys[static_cast<size_t>(key)], a, b);
}

size_t MemoryRows::LowerBound(int key, const unsigned char* record, int64_t slot) const {
  const std::vector<uint32_t>& list = rows_.byKey[static_cast<size_t>(key)];
  size_t lo = 0, hi = list.size();
  while (lo < hi) {
    size_t mid = lo + (hi - lo) / 2;
    int c = Compare(key, Image(list[mid]), record);
    if (c < 0 || (c == 0 && int64_t{list[mid]} < slot))
      lo = mid + 1;
    else
      hi = mid;
  }
  return lo;
}

bool MemoryRows::HasNoValue(int key, const unsigned char* record) const {
  if (!keyHasReal_[static_cast<size_t>(key)]) return false;
  for (size_t f : layout_.keys[static_cast<size_t>(key)].fields) {
    const FieldDef& field = layout_.fields[f];
    if (field.type != FieldType::Real || field.count != 1) continue;
    double v;
    std::memcpy(&v, record + field.offset, sizeof v);
    if (std::isnan(v)) return true;
  }
  return false;
}

// The first unique key whose value in `record` another row (not slot
// `except`) holds already, or -1.
int MemoryRows::UniqueClash(const unsigned char* record, int64_t except) const {
  for (size_t k = 0; k < layout_.keys.size(); ++k) {
    const int key = static_cast<int>(k);
    if (!layout_.keys[k].unique || HasNoValue(key, record)) continue;
    const std::vector<uint32_t>& list = rows_.byKey[k];
    for (size_t p = LowerBound(key, record, kBeforeAll); p < list.size(); ++p) {
      if (Compare(key, Image(list[p]), record) != 0) break;
      if (int64_t{list[p]} != except) return key;
    }
  }
  return -1;
}

void MemoryRows::Unlink(int key, uint32_t slot, const unsigned char* image) {
  std::vector<uint32_t>& list = rows_.byKey[static_cast<size_t>(key)];
  size_t p = LowerBound(key, image, slot);
  if (p < list.size() && list[p] == slot) list.erase(list.begin() + static_cast<std::ptrdiff_t>(p));
}

void MemoryRows::Link(int key, uint32_t slot, const unsigned char* image) {
  std::vector<uint32_t>& list = rows_.byKey[static_cast<size_t>(key)];
  // Rows mostly arrive in key order: appending at the end needs no search.
  if (list.empty() || (list.back() < slot && Compare(key, Image(list.back()), image) <= 0)) {
    list.push_back(slot);
    return;
  }
  list.insert(list.begin() + static_cast<std::ptrdiff_t>(LowerBound(key, image, slot)), slot);
}

// Called before every change: the first change of a transaction keeps a copy.
void MemoryRows::Touch() {
  if (!transaction_ || savedValid_) return;
  saved_ = rows_;
  savedValid_ = true;
}

void MemoryRows::Clear(Rows& rows) {
  rows.images.clear();
  rows.alive.clear();
  rows.live = 0;
  for (auto& list : rows.byKey) list.clear();
}

void MemoryRows::MakeCurrent(uint32_t slot) {
  hasCurrent_ = true;
  currentSlot_ = slot;
}

void MemoryRows::Rewind() {
  pos_ = Pos::Start;
  hasCurrent_ = false;
}

int MemoryRows::Fetch(int key, void* record) {
  auto* probe = static_cast<const unsigned char*>(record);
  if (HasNoValue(key, probe)) return kNoRow;
  const std::vector<uint32_t>& list = rows_.byKey[static_cast<size_t>(key)];
  size_t p = LowerBound(key, probe, kBeforeAll);
  if (p == list.size() || Compare(key, Image(list[p]), probe) != 0) return kNoRow;
  std::memcpy(record, Image(list[p]), size_);
  MakeCurrent(list[p]);
  return kOk;
}

void MemoryRows::SetOrder(int key) {
  order_ = key;
  pos_ = Pos::Start;
}

void MemoryRows::SetFrom(int key, const void* record) {
  SetOrder(key);
  if (key == kPhysicalOrder) return;
  auto* p = static_cast<const unsigned char*>(record);
  posRecord_.assign(p, p + size_);
  pos_ = Pos::From;
}

int MemoryRows::Walk(bool forward, void* record) {
  uint32_t slot;
  size_t index = 0;
  if (order_ == kPhysicalOrder) {
    const int64_t n = static_cast<int64_t>(rows_.alive.size());
    int64_t s;
    if (forward) {
      s = pos_ == Pos::Start ? 0 : posSlot_ + 1;
      while (s < n && !rows_.alive[static_cast<size_t>(s)]) ++s;
      if (s >= n) return kNoRow;
    } else {
      s = pos_ == Pos::Start ? n : std::min(posSlot_, n);
      while (s > 0 && !rows_.alive[static_cast<size_t>(s - 1)]) --s;
      if (s == 0) return kNoRow;
      --s;
    }
    slot = static_cast<uint32_t>(s);
  } else {
    const std::vector<uint32_t>& list = rows_.byKey[static_cast<size_t>(order_)];
    // p: forward the position to read, backward one past it.
    size_t p;
    if (pos_ == Pos::Start)
      p = forward ? 0 : list.size();
    else if (pos_ == Pos::At && posGeneration_ == generation_)
      p = forward ? posIndex_ + 1 : posIndex_;
    else if (pos_ == Pos::At)
      p = LowerBound(order_, posRecord_.data(), forward ? posSlot_ + 1 : posSlot_);
    else
      p = LowerBound(order_, posRecord_.data(), forward ? kBeforeAll : kAfterAll);
    if (forward ? p >= list.size() : p == 0) return kNoRow;
    index = forward ? p : p - 1;
    slot = list[index];
  }
  const unsigned char* image = Image(slot);
  std::memcpy(record, image, size_);
  posRecord_.assign(image, image + size_);
  posSlot_ = slot;
  posIndex_ = index;
  posGeneration_ = generation_;
  pos_ = Pos::At;
  MakeCurrent(slot);
  return kOk;
}

int MemoryRows::Reget(void* record) const {
  if (!hasCurrent_ || currentSlot_ >= rows_.alive.size() || !rows_.alive[currentSlot_]) return kNoRow;
  std::memcpy(record, Image(currentSlot_), size_);
  return kOk;
}

int MemoryRows::Append(const void* record) {
  auto* image = static_cast<const unsigned char*>(record);
  if (UniqueClash(image, kBeforeAll) >= 0) return kDuplicateKey;
  if (rows_.alive.size() >= std::numeric_limits<uint32_t>::max()) return kOther;
  Touch();
  const auto slot = static_cast<uint32_t>(rows_.alive.size());
  rows_.images.insert(rows_.images.end(), image, image + size_);
  rows_.alive.push_back(1);
  ++rows_.live;
  for (size_t k = 0; k < layout_.keys.size(); ++k) Link(static_cast<int>(k), slot, image);
  ++generation_;
  MakeCurrent(slot);
  return kOk;
}

int MemoryRows::Put(const void* record) {
  if (!hasCurrent_) return kNoRow;
  auto* image = static_cast<const unsigned char*>(record);
  if (UniqueClash(image, currentSlot_) >= 0) return kDuplicateKey;
  Touch();
  unsigned char* stored = Image(currentSlot_);
  for (size_t k = 0; k < layout_.keys.size(); ++k) {
    const int key = static_cast<int>(k);
    if (Compare(key, stored, image) == 0) continue;
    Unlink(key, currentSlot_, stored);
    Link(key, currentSlot_, image);
    ++generation_;
  }
  std::memmove(stored, image, size_);
  return kOk;
}

int MemoryRows::Delete() {
  if (!hasCurrent_) return kNoRow;
  Touch();
  for (size_t k = 0; k < layout_.keys.size(); ++k) Unlink(static_cast<int>(k), currentSlot_, Image(currentSlot_));
  rows_.alive[currentSlot_] = 0;
  --rows_.live;
  while (!rows_.alive.empty() && !rows_.alive.back()) {
    rows_.alive.pop_back();
    rows_.images.resize(rows_.images.size() - size_);
  }
  ++generation_;
  hasCurrent_ = false;
  return kOk;
}

int MemoryRows::ExistingUniqueKey(const void* record) const {
  return UniqueClash(static_cast<const unsigned char*>(record), kBeforeAll);
}

void MemoryRows::Empty() {
  // The rows as they were go aside whole: emptying and refilling the preset
  // table inside one transaction copies nothing.
  if (transaction_ && !savedValid_) {
    std::swap(rows_, saved_);
    savedValid_ = true;
  }
  Clear(rows_);
  ++generation_;
  Rewind();
}

void MemoryRows::Begin() {
  transaction_ = true;
  savedValid_ = false;
}

void MemoryRows::Commit() {
  transaction_ = false;
  savedValid_ = false;
}

void MemoryRows::Rollback() {
  if (savedValid_) std::swap(rows_, saved_);
  transaction_ = false;
  savedValid_ = false;
  ++generation_;
  Rewind();
}

}  // namespace tx::storage
