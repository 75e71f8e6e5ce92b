#include "preset/parse_preset.h"

#include <algorithm>
#include <cstring>

#include "preset/preset_messages.h"

namespace tx {

namespace {

constexpr size_t GEN1_UNITS = 1024;
constexpr size_t GEN2_UNITS = 2048;
constexpr size_t GEN1_DATA_OFFSET = 11;
constexpr size_t GEN2_FIRST_MESSAGE = 12;
constexpr size_t GEN2_MESSAGE_SIZE = 202;
constexpr size_t GEN2_MESSAGES = 32;
constexpr size_t GEN2_WORDS_PER_MESSAGE = 64;

// The unpacked preset data: bytes (first generation) or words (second), one unit each.
struct DecodedArea {
  std::array<uint16_t, GEN2_UNITS> unit{};
  size_t size = 0;
  bool gen2 = false;
};

// Every offset below stays inside the 8192-byte buffer: the highest one read
// is 2058 (first generation) and 6473 (second). The bytes are deliberately
// not masked; the sums are only cut to the unit's width.
void DecodeGen1(const PresetBuffer& f, DecodedArea& a) {
  a.size = GEN1_UNITS;
  a.gen2 = false;
  for (size_t i = 0; i < GEN1_UNITS; ++i) {
    unsigned low = f[GEN1_DATA_OFFSET + 2 * i];
    unsigned high = f[GEN1_DATA_OFFSET + 1 + 2 * i];
    a.unit[i] = static_cast<uint16_t>((low + 16u * high) & 0xFFu);
  }
}

void DecodeGen2(const PresetBuffer& f, DecodedArea& a) {
  a.size = GEN2_UNITS;
  a.gen2 = true;
  for (size_t k = 0; k < GEN2_MESSAGES; ++k) {
    size_t s = GEN2_FIRST_MESSAGE + GEN2_MESSAGE_SIZE * k;
    for (size_t m = 0; m < GEN2_WORDS_PER_MESSAGE; ++m) {
      unsigned b0 = f[s + 8 + 3 * m];
      unsigned b1 = f[s + 9 + 3 * m];
      unsigned b2 = f[s + 10 + 3 * m];
      a.unit[GEN2_WORDS_PER_MESSAGE * k + m] = static_cast<uint16_t>((b0 + 128u * b1 + 16384u * b2) & 0xFFFFu);
    }
  }
}

void ReadHeaderFields(const PresetBuffer& f, const DecodedArea& a, PresetState& state) {
  state.PRESETNAME.clear();
  if (a.gen2) {
    state.PRESETNUMBER = f[6] == 0x7F ? 0 : f[7];
    for (size_t n = 1; n <= 30; ++n) state.PRESETNAME.data[n - 1] = static_cast<char>(a.unit[n + 1] & 0xFF);
  } else {
    state.PRESETNUMBER = a.unit[0];
    for (size_t n = 1; n <= 20; ++n) state.PRESETNAME.data[n - 1] = static_cast<char>(a.unit[n]);
  }
  // Pairs run down each column before moving to the next one.
  size_t base = a.gen2 ? 32 : 31;
  for (size_t j = 1; j <= GRID_ROWS * GRID_COLUMNS; ++j) {
    BlockCell& cell = state.grid[(j - 1) % GRID_ROWS][(j - 1) / GRID_ROWS];
    cell.blockId = a.unit[base + 2 * j];
    cell.inputMask = a.unit[base + 1 + 2 * j];
  }
}

void WalkRecords(const DecodedArea& a, CurrentPreset& preset) {
  const size_t n = a.size;
  size_t r = a.gen2 ? 130 : 129;
  const size_t effectAt = a.gen2 ? 10 : 8;

  while (r < n && a.unit[r] < 100) {
    // A modifier record whose fields would lie past the end is dropped, and
    // the walk ends there: nothing after it can be read.
    if (r + effectAt + 1 >= n) return;
    ModifierQueueEntry m;
    m.ID = a.unit[r];
    m.EFFECTID = a.unit[r + effectAt];
    m.PARAMETERID = a.unit[r + effectAt + 1];
    preset.MQ.push_back(m);
    r += size_t{a.unit[r + 1]} + 2;
  }

  while (n > 0 && r < n - 1 && a.unit[r] != 0) {
    BlockQueueEntry b;
    uint16_t first = a.unit[r];
    b.EFFECTID = a.gen2 ? (first & 0xFF) : first;
    b.XYSTATE = a.gen2 && (first & 0x8000) ? 1 : 0;
    size_t count = a.unit[r + 1];
    // A record cut short by the end of the area keeps the values that are
    // there and states that many; a second-generation count above 255 is
    // kept as stated (the Y half is found from it) but only 255 values fit.
    size_t available = n - (r + 2);
    size_t kept = std::min(count, available);
    b.PARAMETERCOUNT = static_cast<int32_t>(kept);
    size_t held = std::min<size_t>(kept, MAX_BLOCK_VALUES);
    for (size_t i = 1; i <= held; ++i) b.PARAMETERS[i - 1] = a.unit[r + 1 + i];
    // Equal effect ids stay in file order.
    auto at = std::upper_bound(preset.PQ.begin(), preset.PQ.end(), b.EFFECTID,
                               [](int32_t id, const BlockQueueEntry& e) { return id < e.EFFECTID; });
    preset.PQ.insert(at, b);
    r += 1 + count + 1;
  }
}

}  // namespace

PresetBuffer FitPresetBuffer(std::string_view content) {
  PresetBuffer buffer;
  buffer.fill(' ');
  if (!content.empty()) std::memcpy(buffer.data(), content.data(), std::min(content.size(), buffer.size()));
  return buffer;
}

namespace {
constexpr uint8_t kHeader[4] = {0xF0, 0x00, 0x01, 0x74};
bool HeaderMatches(const PresetBuffer& buffer) { return std::memcmp(buffer.data(), kHeader, sizeof kHeader) == 0; }
uint8_t DeviceTypeOf(const PresetBuffer& buffer) { return buffer[4] == 0 ? DEVICE_GEN1 : buffer[4]; }
}  // namespace

std::string_view PresetRejection(const PresetBuffer& buffer) {
  if (!HeaderMatches(buffer)) return NOT_A_PRESET_TEXT;
  const uint8_t type = DeviceTypeOf(buffer);
  return type == DEVICE_GEN1 || type == DEVICE_GEN2 ? std::string_view() : INVALID_DEVICE_TEXT;
}

bool ParsePreset(const PresetBuffer& buffer, CurrentPreset& preset) {
  preset.PQ.clear();
  preset.MQ.clear();
  if (!HeaderMatches(buffer)) {
    ShowPresetMessage(NOT_A_PRESET_TEXT, NOT_A_PRESET_CAPTION);
    return false;
  }
  preset.state.deviceType = DeviceTypeOf(buffer);
  DecodedArea area;
  if (preset.state.deviceType == DEVICE_GEN1) {
    DecodeGen1(buffer, area);
  } else if (preset.state.deviceType == DEVICE_GEN2) {
    DecodeGen2(buffer, area);
  } else {
    ShowPresetMessage(INVALID_DEVICE_TEXT, INVALID_DEVICE_CAPTION);
    return false;
  }
  ReadHeaderFields(buffer, area, preset.state);
  WalkRecords(area, preset);
  return true;
}

bool ParsePreset(const PresetBuffer& buffer) { return ParsePreset(buffer, Current()); }

CurrentPreset& Current() {
  static CurrentPreset current;
  return current;
}

}  // namespace tx
