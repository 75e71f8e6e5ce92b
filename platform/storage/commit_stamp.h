#pragma once
#include <array>
#include <cstdint>

namespace tx {

namespace storage {
// What a table file's committed content was, as far as a look without any
// lock can tell: this connection's content version and the 16 header bytes
// from offset 24 (change counter, size, free list) that every commit of
// every connection changes, and by which SQLite itself tells whether its
// cached pages still hold.
struct CommitStamp {
  uint64_t version = 0;
  std::array<unsigned char, 16> header{};
  bool operator==(const CommitStamp&) const = default;
};
}  // namespace storage

}  // namespace tx
