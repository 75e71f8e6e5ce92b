#include "base/display_text.h"

namespace tx {

size_t Utf8SequenceAt(std::string_view s, size_t i) {
  auto at = [&](size_t k) { return k < s.size() ? static_cast<unsigned char>(s[k]) : 0u; };
  auto tail = [&](size_t k) { return (at(k) & 0xC0u) == 0x80u; };
  unsigned c = at(i);
  if (c >= 0xC2 && c <= 0xDF) return tail(i + 1) ? 2 : 0;
  if (c >= 0xE0 && c <= 0xEF) {
    unsigned lo = c == 0xE0 ? 0xA0 : 0x80, hi = c == 0xED ? 0x9F : 0xBF;
    return at(i + 1) >= lo && at(i + 1) <= hi && tail(i + 2) ? 3 : 0;
  }
  if (c >= 0xF0 && c <= 0xF4) {
    unsigned lo = c == 0xF0 ? 0x90 : 0x80, hi = c == 0xF4 ? 0x8F : 0xBF;
    return at(i + 1) >= lo && at(i + 1) <= hi && tail(i + 2) && tail(i + 3) ? 4 : 0;
  }
  return 0;
}

std::string DisplayUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (size_t n = Utf8SequenceAt(text, i)) {
      out.append(text.substr(i, n));
      i += n - 1;
    } else {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

}  // namespace tx
