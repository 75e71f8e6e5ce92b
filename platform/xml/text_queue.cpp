#include "platform/xml/text_queue.h"

#include <algorithm>
#include <cstring>
#include <numeric>
#include <stdexcept>

#include "base/fixed_string.h"

namespace tx {

namespace {

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 'a' && x <= 'z') x = static_cast<unsigned char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<unsigned char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

int CompareText(std::string_view a, std::string_view b) {
  a = RightTrimmed(a);
  b = RightTrimmed(b);
  int c = a.compare(b);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

}  // namespace

TextQueue::TextQueue(std::string prefix, const std::vector<std::pair<std::string, size_t>>& fields)
    : prefix_(std::move(prefix)) {
  for (const auto& [name, width] : fields) {
    fields_.push_back({name, width, rowSize_});
    rowSize_ += width;
  }
}

int TextQueue::FieldIndex(std::string_view name) const {
  for (size_t i = 0; i < fields_.size(); ++i)
    if (SameNameIgnoringCase(fields_[i].name, name)) return static_cast<int>(i);
  return -1;
}

size_t TextQueue::F(std::string_view name) const {
  int i = FieldIndex(name);
  if (i < 0) throw std::logic_error("queue " + prefix_ + " has no field " + std::string(name));
  return static_cast<size_t>(i);
}

void TextQueue::Clear() {
  data_.clear();
  rows_ = 0;
}

size_t TextQueue::AppendBlank() {
  data_.resize(data_.size() + rowSize_, ' ');
  return rows_++;
}

std::string_view TextQueue::Raw(size_t row, size_t field) const {
  const Field& f = fields_[field];
  return std::string_view(RowPtr(row) + f.offset, f.width);
}

std::string_view TextQueue::Text(size_t row, size_t field) const { return RightTrimmed(Raw(row, field)); }

void TextQueue::Set(size_t row, size_t field, std::string_view text) {
  const Field& f = fields_[field];
  char* p = RowPtr(row) + f.offset;
  size_t n = std::min(text.size(), f.width);
  std::memcpy(p, text.data(), n);
  std::memset(p + n, ' ', f.width - n);
}

void TextQueue::CopyRowFrom(const TextQueue& other, size_t row) {
  size_t r = AppendBlank();
  std::memcpy(RowPtr(r), other.RowPtr(row), std::min(rowSize_, other.rowSize_));
}

void TextQueue::Sort(const std::vector<size_t>& keyFields) {
  std::vector<size_t> order(rows_);
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    for (size_t f : keyFields) {
      int c = CompareText(Raw(a, f), Raw(b, f));
      if (c != 0) return c < 0;
    }
    return false;
  });
  std::vector<char> sorted(data_.size());
  for (size_t i = 0; i < rows_; ++i) std::memcpy(sorted.data() + i * rowSize_, RowPtr(order[i]), rowSize_);
  data_.swap(sorted);
}

int TextQueue::CompareKey(size_t row, const std::vector<size_t>& keyFields,
                          const std::vector<std::string_view>& values) const {
  for (size_t k = 0; k < keyFields.size(); ++k) {
    int c = CompareText(Raw(row, keyFields[k]), values[k]);
    if (c != 0) return c;
  }
  return 0;
}

std::pair<size_t, size_t> TextQueue::EqualRange(const std::vector<size_t>& keyFields,
                                                const std::vector<std::string_view>& values) const {
  // Binary searches over row numbers: the queue is sorted on keyFields.
  size_t lo = 0, hi = rows_;
  while (lo < hi) {
    size_t mid = lo + (hi - lo) / 2;
    if (CompareKey(mid, keyFields, values) < 0) lo = mid + 1; else hi = mid;
  }
  size_t first = lo;
  hi = rows_;
  while (lo < hi) {
    size_t mid = lo + (hi - lo) / 2;
    if (CompareKey(mid, keyFields, values) <= 0) lo = mid + 1; else hi = mid;
  }
  return {first, lo};
}

long TextQueue::Find(const std::vector<size_t>& keyFields, const std::vector<std::string_view>& values) const {
  auto [first, last] = EqualRange(keyFields, values);
  return first < last ? static_cast<long>(first) : -1;
}

}  // namespace tx
