#include "services/messages_fill.h"

#include <cctype>

namespace tx {

namespace {

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

size_t FindIgnoringCase(std::string_view text, std::string_view what, size_t from) {
  if (what.empty() || what.size() > text.size()) return std::string_view::npos;
  for (size_t i = from; i + what.size() <= text.size(); ++i)
    if (SameIgnoringCase(text.substr(i, what.size()), what)) return i;
  return std::string_view::npos;
}

}  // namespace

std::string FillPlaceholders(std::string text, const std::vector<std::pair<std::string, std::string>>& values) {
  for (const auto& [name, value] : values) {
    if (SameIgnoringCase(name, value)) continue;
    size_t at = FindIgnoringCase(text, name, 0);
    while (at != std::string::npos) {
      text.replace(at, name.size(), value);
      at = FindIgnoringCase(text, name, at + value.size());
    }
  }
  return text;
}

}  // namespace tx
