#pragma once
// The message table of the error manager and its packed form: a 16-bit
// little-endian entry count, then per entry the id (16-bit little-endian), the
// level (one byte), the title and the text, each as one length byte followed
// by the characters.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tx {

struct MessageEntry {
  uint16_t id = 0;
  uint8_t FATALITY = 0;  // level 0..5
  std::string TITLE;
  std::string MESSAGE;
  std::string CATEGORY;  // empty for the built-in entries
};

// Entries of a packed block, in stored order. A block cut short yields the
// entries that are complete; `complete` tells whether the whole block was read.
std::vector<MessageEntry> UnpackMessages(const uint8_t* block, size_t length, bool* complete = nullptr);

// The packed form of `entries`. Titles and texts longer than 255 characters
// are cut, since their length must fit one byte.
std::vector<uint8_t> PackMessages(const std::vector<MessageEntry>& entries);

// The built-in messages as a packed block.
const std::vector<uint8_t>& BuiltinMessageBlock();

}  // namespace tx
