#pragma once
// How the commands print preset texts: JSON strings, and plain lines that a
// terminal shows right whatever bytes a preset name holds.
#include <string>
#include <string_view>

namespace txcli {

// A JSON string literal; valid UTF-8 is kept, other bytes become \u escapes.
std::string JsonString(std::string_view s);
// Control characters as "?", bytes that are not UTF-8 taken as Latin-1.
std::string Printable(std::string_view s);

}  // namespace txcli
