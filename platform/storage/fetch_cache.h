#pragma once
// Rows found by key lookups, remembered by key number and key values. Decoding
// a preset asks for a few hundred definition rows, each by a short key, so the
// entries sit in one array with their key bytes in another and an
// open-addressing index over both: no allocation per lookup and few memory
// reads.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

namespace tx::storage {

// An image keeps a row's bytes up to its last one that is not a space; the
// rest of the record is spaces.
using RowImage = std::shared_ptr<const std::vector<unsigned char>>;

struct CachedRow {
  bool filled = false;  // a lookup has been made
  bool found = false;
  int64_t rowid = 0;
  RowImage image;
};

class FetchCache {
 public:
  // The entry for `key`, added unfilled when new. Valid until the next Find or Clear.
  CachedRow& Find(std::string_view key) {
    const uint64_t hash = Hash(key);
    if (slots_.empty()) slots_.assign(1024, 0);
    size_t mask = slots_.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
      uint32_t slot = slots_[i];
      if (slot == 0) break;
      Entry& e = entries_[slot - 1];
      if (e.hash == hash && e.length == key.size() && std::memcmp(keys_.data() + e.offset, key.data(), key.size()) == 0)
        return e.row;
    }
    if ((entries_.size() + 1) * 2 > slots_.size()) Grow();
    mask = slots_.size() - 1;
    size_t i = hash & mask;
    while (slots_[i] != 0) i = (i + 1) & mask;
    entries_.push_back(Entry{hash, static_cast<uint32_t>(keys_.size()), static_cast<uint32_t>(key.size()), {}});
    keys_.insert(keys_.end(), key.begin(), key.end());
    slots_[i] = static_cast<uint32_t>(entries_.size());
    return entries_.back().row;
  }

  void Clear() {
    if (entries_.empty()) return;
    entries_.clear();
    keys_.clear();
    std::fill(slots_.begin(), slots_.end(), 0u);
  }

  size_t Size() const { return entries_.size(); }

 private:
  struct Entry {
    uint64_t hash;
    uint32_t offset, length;  // the key's bytes in keys_
    CachedRow row;
  };

  static uint64_t Hash(std::string_view key) {
    const char* p = key.data();
    size_t n = key.size();
    uint64_t h = 0x9E3779B97F4A7C15ull ^ n;
    for (; n >= 8; p += 8, n -= 8) {
      uint64_t w;
      std::memcpy(&w, p, 8);
      h = (h ^ w) * 0xBF58476D1CE4E5B9ull;
      h ^= h >> 31;
    }
    uint64_t w = 0;
    std::memcpy(&w, p, n);
    // Keys differ in a few bits of their last bytes: mix well before masking.
    h ^= w;
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDull;
    h ^= h >> 33;
    h *= 0xC4CEB9FE1A85EC53ull;
    return h ^ (h >> 33);
  }

  void Grow() {
    slots_.assign(slots_.size() * 2, 0);
    const size_t mask = slots_.size() - 1;
    for (size_t e = 0; e < entries_.size(); ++e) {
      size_t i = entries_[e].hash & mask;
      while (slots_[i] != 0) i = (i + 1) & mask;
      slots_[i] = static_cast<uint32_t>(e + 1);
    }
  }

  std::vector<Entry> entries_;
  std::vector<char> keys_;
  std::vector<uint32_t> slots_;  // entry number + 1, 0 for a free slot
};

}  // namespace tx::storage
