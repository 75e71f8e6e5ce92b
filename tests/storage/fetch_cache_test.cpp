// The lookup cache of the file tables: every key finds its own entry, through
// growth and after clearing, however alike the keys are.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/storage/fetch_cache.h"

namespace {

using tx::storage::FetchCache;

// Keys as the driver spells them: a key number and fixed-width values that
// differ only in a few low bytes; plus texts of every length up to 20.
std::vector<std::string> Keys() {
  std::vector<std::string> keys;
  for (int device : {1, 3})
    for (int32_t effect = 100; effect < 160; ++effect)
      for (int32_t parameter = 0; parameter < 60; ++parameter) {
        std::string k(1, '\0');
        k.push_back(static_cast<char>(device));
        k.append(reinterpret_cast<const char*>(&effect), 4);
        k.append(4, '\0');
        k.append(reinterpret_cast<const char*>(&parameter), 4);
        keys.push_back(k);
      }
  for (size_t n = 0; n <= 20; ++n) keys.push_back(std::string(1, '\2') + std::string(n, 'x'));
  keys.push_back(std::string(1, '\2') + std::string(3, '\0'));  // same bytes as a shorter key plus zeros
  return keys;
}

TEST(FetchCache, EveryKeyKeepsItsOwnEntryThroughGrowthAndClearing) {
  FetchCache cache;
  const std::vector<std::string> keys = Keys();
  ASSERT_GT(keys.size(), 4096u);  // several doublings of the index
  for (size_t i = 0; i < keys.size(); ++i) {
    tx::storage::CachedRow& row = cache.Find(keys[i]);
    ASSERT_FALSE(row.filled) << i;
    row.filled = true;
    row.rowid = static_cast<int64_t>(i);
  }
  EXPECT_EQ(cache.Size(), keys.size());
  for (size_t i = 0; i < keys.size(); ++i) {
    const tx::storage::CachedRow& row = cache.Find(keys[i]);
    ASSERT_TRUE(row.filled) << i;
    ASSERT_EQ(row.rowid, static_cast<int64_t>(i));
  }
  EXPECT_EQ(cache.Size(), keys.size());  // finding adds nothing

  cache.Clear();
  EXPECT_EQ(cache.Size(), 0u);
  for (const std::string& k : keys) ASSERT_FALSE(cache.Find(k).filled);
  EXPECT_EQ(cache.Size(), keys.size());
}

}  // namespace
