#pragma once
// One report page file: a Windows metafile, normally with the placeable
// header that gives its bounds and units per inch. The file is read once and
// split into records; every length is checked against the bytes held, and a
// record that would run past the end ends the page there.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tx {

struct WmfRecord {
  size_t offset = 0;  // of the size field, in the file
  size_t bytes = 0;   // whole record, size and function included
  uint16_t function = 0;
};

class WmfPage {
 public:
  // The page in `bytes`; nothing when they are not a metafile. `error` says why.
  static std::optional<WmfPage> Parse(std::vector<uint8_t> bytes, std::string* error = nullptr);
  static std::optional<WmfPage> Load(const std::string& path, std::string* error = nullptr);

  // Bounds in logical units and the units per inch, from the placeable header
  // (for a plain metafile: the first window extent, at 1440 units per inch).
  int left = 0, top = 0, right = 0, bottom = 0;
  int unitsPerInch = 1440;
  bool placeable = false;

  double WidthInches() const { return (right - left) / static_cast<double>(unitsPerInch); }
  double HeightInches() const { return (bottom - top) / static_cast<double>(unitsPerInch); }

  const std::vector<WmfRecord>& Records() const { return records_; }
  const std::vector<uint8_t>& Bytes() const { return bytes_; }

  // Parameter word i of a record (after size and function), 0 past its end.
  uint16_t Word(const WmfRecord& r, size_t i) const;
  int16_t Param(const WmfRecord& r, size_t i) const { return static_cast<int16_t>(Word(r, i)); }
  // Bytes of a record's parameters from byte `from` on (may be empty).
  const uint8_t* ParamBytes(const WmfRecord& r, size_t from, size_t& available) const;

 private:
  std::vector<uint8_t> bytes_;
  std::vector<WmfRecord> records_;
};

}  // namespace tx
