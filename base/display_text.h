#pragma once
// Texts shown to the user come from two sources: definition texts, imported
// from XML as UTF-8, and preset names, single bytes. A valid UTF-8 sequence is
// kept as it is and any other byte above 127 is taken as Latin-1, so both read
// right and the result is always valid UTF-8.
#include <cstddef>
#include <string>
#include <string_view>

namespace tx {

// Length of the valid UTF-8 sequence of two to four bytes starting at `i`, or 0.
size_t Utf8SequenceAt(std::string_view s, size_t i);

// The text as UTF-8; control characters are kept.
std::string DisplayUtf8(std::string_view text);

}  // namespace tx
