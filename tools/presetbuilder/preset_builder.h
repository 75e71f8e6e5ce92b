#pragma once
// Makes preset files (.syx bytes) of either device generation from a name, a
// number, a grid, block records and modifier records. For tests, benchmarks,
// fuzz seeds and the sample presets; Tonalyx itself never writes a preset.
//
// The decoded area is laid out as the decoder reads it (name, grid, then the
// records from unit 129 or 130: the modifier records first, then the block
// records, then a 0 unit), and then packed: nibble pairs for the first
// generation, 7-bit triples in 32 data messages for the second.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace txtools {

struct BuiltBlock {
  uint16_t effectId = 0;
  bool yActive = false;           // second generation: bit 15 of the first unit
  std::vector<uint16_t> values;   // raw values, parameter id 0 first
};

struct BuiltModifier {
  uint16_t id = 0;           // first unit, below 100
  uint16_t effectId = 0;     // the driven block
  uint16_t parameterId = 0;  // parameter id (second generation) or modifier id (first)
  uint16_t length = 0;       // length unit; 0 for the shortest record that holds both fields
};

class PresetBuilder {
 public:
  explicit PresetBuilder(int deviceType) : deviceType_(deviceType), model_(static_cast<uint8_t>(deviceType)) {
    if (deviceType != 1 && deviceType != 3) throw std::invalid_argument("device type must be 1 or 3");
  }

  bool gen2() const { return deviceType_ == 3; }
  size_t unitCount() const { return gen2() ? 2048 : 1024; }
  size_t recordStart() const { return gen2() ? 130 : 129; }

  // The model byte written at offset 4 (0 is also read as the first generation).
  PresetBuilder& Model(uint8_t byte) { model_ = byte; return *this; }
  PresetBuilder& Number(int number) { number_ = number; noNumber_ = false; return *this; }
  PresetBuilder& NoNumber() { noNumber_ = true; return *this; }
  PresetBuilder& Name(std::string name) { name_ = std::move(name); return *this; }
  // Row 1..4, column 1..12.
  PresetBuilder& Cell(int row, int column, uint16_t blockId, uint16_t inputMask = 0) {
    if (row < 1 || row > 4 || column < 1 || column > 12) throw std::out_of_range("grid cell");
    size_t j = static_cast<size_t>((column - 1) * 4 + row);  // pairs run down each column
    cells_[2 * (j - 1)] = blockId;
    cells_[2 * (j - 1) + 1] = inputMask;
    return *this;
  }
  PresetBuilder& Block(BuiltBlock block) { blocks_.push_back(std::move(block)); return *this; }
  PresetBuilder& Modifier(BuiltModifier modifier) { modifiers_.push_back(modifier); return *this; }

  // The decoded area the file carries.
  std::vector<uint16_t> Units() const {
    std::vector<uint16_t> a(unitCount(), 0);
    // Names are stored space-padded to their full width.
    auto nameChar = [&](size_t n) -> uint16_t { return n < name_.size() ? static_cast<uint8_t>(name_[n]) : ' '; };
    if (gen2()) {
      for (size_t n = 0; n < 30; ++n) a[2 + n] = nameChar(n);
    } else {
      a[0] = static_cast<uint16_t>(number_ & 0xFF);
      for (size_t n = 0; n < 20; ++n) a[1 + n] = nameChar(n);
    }
    size_t gridStart = gen2() ? 34 : 33;
    for (size_t i = 0; i < cells_.size(); ++i) a[gridStart + i] = cells_[i];

    size_t r = recordStart();
    size_t fieldAt = gen2() ? 10 : 8;
    auto put = [&](size_t at, uint16_t v) {
      if (at >= a.size()) throw std::length_error("records do not fit the decoded area");
      a[at] = v;
    };
    for (const auto& m : modifiers_) {
      uint16_t length = m.length ? m.length : static_cast<uint16_t>(fieldAt);
      put(r, m.id);
      put(r + 1, length);
      if (fieldAt + 1 < size_t{length} + 2u) {
        put(r + fieldAt, m.effectId);
        put(r + fieldAt + 1, m.parameterId);
      }
      r += size_t{length} + 2;
    }
    for (const auto& b : blocks_) {
      uint16_t first = gen2() ? static_cast<uint16_t>(b.effectId | (b.yActive ? 0x8000 : 0)) : b.effectId;
      put(r, first);
      put(r + 1, static_cast<uint16_t>(b.values.size()));
      for (size_t i = 0; i < b.values.size(); ++i) put(r + 2 + i, b.values[i]);
      r += b.values.size() + 2;
    }
    if (r < a.size()) a[r] = 0;  // ends the walk
    return a;
  }

  std::vector<uint8_t> Bytes() const { return Encode(Units()); }

  // Packs a decoded area (units beyond the generation's size are ignored,
  // missing ones are 0) into a complete file with this builder's header.
  std::vector<uint8_t> Encode(const std::vector<uint16_t>& units) const {
    auto unit = [&](size_t i) -> unsigned { return i < units.size() ? units[i] : 0u; };
    std::vector<uint8_t> f;
    if (!gen2()) {
      f = {0xF0, 0x00, 0x01, 0x74, model_, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00};
      for (size_t i = 0; i < 1024; ++i) {
        f.push_back(static_cast<uint8_t>(unit(i) & 0x0F));
        f.push_back(static_cast<uint8_t>((unit(i) >> 4) & 0x0F));
      }
      f.push_back(Checksum(f, 0, f.size()));
      f.push_back(0xF7);
      return f;
    }
    f = {0xF0, 0x00, 0x01, 0x74, model_, 0x77, static_cast<uint8_t>(noNumber_ ? 0x7F : 0x00),
         static_cast<uint8_t>(number_ & 0xFF), 0x00, 0x00, 0x00, 0xF7};
    for (size_t k = 0; k < 32; ++k) {
      size_t s = f.size();
      uint8_t head[8] = {0xF0, 0x00, 0x01, 0x74, model_, 0x78, static_cast<uint8_t>(k), 0x40};
      f.insert(f.end(), head, head + 8);
      for (size_t m = 0; m < 64; ++m) {
        unsigned w = unit(64 * k + m);
        f.push_back(static_cast<uint8_t>(w & 0x7F));
        f.push_back(static_cast<uint8_t>((w >> 7) & 0x7F));
        f.push_back(static_cast<uint8_t>((w >> 14) & 0x03));
      }
      f.push_back(Checksum(f, s, f.size()));
      f.push_back(0xF7);
    }
    return f;
  }

 private:
  static uint8_t Checksum(const std::vector<uint8_t>& f, size_t from, size_t to) {
    uint8_t x = 0;
    for (size_t i = from; i < to; ++i) x ^= f[i];
    return static_cast<uint8_t>(x & 0x7F);
  }

  int deviceType_;
  uint8_t model_;
  int number_ = 0;
  bool noNumber_ = false;
  std::string name_;
  std::vector<uint16_t> cells_ = std::vector<uint16_t>(96, 0);
  std::vector<BuiltBlock> blocks_;
  std::vector<BuiltModifier> modifiers_;
};

}  // namespace txtools
