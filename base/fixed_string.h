#pragma once
// The two fixed-size text fields of records:
// STRING(n) (FixedString): exactly n bytes of text, space-padded on the right,
// no terminator. Assigning a longer value cuts it; comparisons ignore trailing
// spaces. Record layouts embed this type directly, so it must stay a plain
// n-byte object.
// CSTRING(n) (CStringField): zero-terminated, at most n-1 characters.
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace tx {

// Text without its trailing spaces (leading spaces are kept).
inline std::string_view RightTrimmed(std::string_view s) {
  size_t n = s.size();
  while (n > 0 && s[n - 1] == ' ') --n;
  return s.substr(0, n);
}

// Equality that ignores trailing spaces on both sides.
inline bool SameText(std::string_view a, std::string_view b) { return RightTrimmed(a) == RightTrimmed(b); }

template <size_t N>
struct FixedString {
  char data[N];

  FixedString() { std::memset(data, ' ', N); }
  FixedString(std::string_view s) { assign(s); }  // NOLINT: assignment from text is the common case

  FixedString& operator=(std::string_view s) {
    assign(s);
    return *this;
  }

  void assign(std::string_view s) {
    size_t n = s.size() < N ? s.size() : N;
    std::memcpy(data, s.data(), n);
    std::memset(data + n, ' ', N - n);
  }
  void clear() { std::memset(data, ' ', N); }

  static constexpr size_t size() { return N; }
  // The whole field, padding included.
  std::string_view raw() const { return std::string_view(data, N); }
  // The value without trailing spaces.
  std::string_view view() const { return RightTrimmed(raw()); }
  std::string str() const { return std::string(view()); }
  bool blank() const { return view().empty(); }

  friend bool operator==(const FixedString& a, const FixedString& b) { return a.view() == b.view(); }
  friend bool operator==(const FixedString& a, std::string_view b) { return a.view() == RightTrimmed(b); }
  friend auto operator<=>(const FixedString& a, const FixedString& b) { return a.view() <=> b.view(); }
};

// CSTRING(n): zero-terminated, at most n-1 characters; a longer value is cut.
template <size_t N>
struct CStringField {
  char data[N] = {};

  CStringField() = default;
  CStringField(std::string_view s) { assign(s); }  // NOLINT: assignment from text is the common case
  CStringField& operator=(std::string_view s) {
    assign(s);
    return *this;
  }
  void assign(std::string_view s) {
    size_t n = s.size() < N - 1 ? s.size() : N - 1;
    std::memcpy(data, s.data(), n);
    std::memset(data + n, 0, N - n);
  }
  void clear() { std::memset(data, 0, N); }
  std::string_view view() const { return std::string_view(data, strnlen(data, N)); }
  std::string str() const { return std::string(view()); }
  bool empty() const { return data[0] == 0; }
  static constexpr size_t size() { return N; }
};

}  // namespace tx
