#pragma once
// A growable list of fixed-width text rows with named fields: the in-memory
// queues the definition import works on. Every field is space-padded text;
// numbers stay text until a row is written to a table. Sorts are by text
// ("10" before "9") and stable; comparisons ignore trailing spaces.
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tx {

class TextQueue {
 public:
  struct Field {
    std::string name;  // without prefix, upper case ("EFFECTID")
    size_t width;
    size_t offset;
  };

  // fields: name and width of each field, in row order.
  TextQueue(std::string prefix, const std::vector<std::pair<std::string, size_t>>& fields);

  const std::string& prefix() const { return prefix_; }
  const std::vector<Field>& fields() const { return fields_; }
  size_t rowSize() const { return rowSize_; }
  // Field number by name (no prefix, letter case ignored), or -1.
  int FieldIndex(std::string_view name) const;
  // Field number by name; a name that is not there is a programming error.
  size_t F(std::string_view name) const;

  size_t size() const { return rows_; }
  bool empty() const { return rows_ == 0; }
  void Clear();

  // Appends a blank row and returns its number.
  size_t AppendBlank();

  // The whole field, padding included, and the field without trailing spaces.
  std::string_view Raw(size_t row, size_t field) const;
  std::string_view Text(size_t row, size_t field) const;
  // Stores text, cut or space-padded to the field's width.
  void Set(size_t row, size_t field, std::string_view text);
  // Copies a whole row from a queue of the same shape.
  void CopyRowFrom(const TextQueue& other, size_t row);

  // Stable sort on the given fields, in order, each ascending by text.
  void Sort(const std::vector<size_t>& keyFields);

  // On a queue sorted by keyFields: the rows whose key fields equal the given
  // texts (trailing spaces ignored), as [first, last).
  std::pair<size_t, size_t> EqualRange(const std::vector<size_t>& keyFields,
                                       const std::vector<std::string_view>& values) const;
  // The first such row, or -1.
  long Find(const std::vector<size_t>& keyFields, const std::vector<std::string_view>& values) const;

 private:
  const char* RowPtr(size_t row) const { return data_.data() + row * rowSize_; }
  char* RowPtr(size_t row) { return data_.data() + row * rowSize_; }
  // <0, 0, >0 comparing row's key fields with the given texts.
  int CompareKey(size_t row, const std::vector<size_t>& keyFields,
                 const std::vector<std::string_view>& values) const;

  std::string prefix_;
  std::vector<Field> fields_;
  size_t rowSize_ = 0;
  size_t rows_ = 0;
  std::vector<char> data_;
};

}  // namespace tx
