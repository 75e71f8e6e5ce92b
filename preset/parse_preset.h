#pragma once
// ParsePreset: recognises a preset file of either device generation, unpacks
// it and fills the current-preset state and the block and modifier queues.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "preset/preset_state.h"

namespace tx {

constexpr size_t PRESET_BUFFER_SIZE = 8192;
using PresetBuffer = std::array<uint8_t, PRESET_BUFFER_SIZE>;

// A loaded file as the parser takes it: cut after 8192 bytes, or padded with spaces.
PresetBuffer FitPresetBuffer(std::string_view content);

// The two rejections.
inline constexpr std::string_view NOT_A_PRESET_TEXT = "This does not appear to be a valid Axe-FX Preset File!";
inline constexpr std::string_view NOT_A_PRESET_CAPTION = "Preset Warning";
inline constexpr std::string_view INVALID_DEVICE_TEXT = "Invalid Device Found";
inline constexpr std::string_view INVALID_DEVICE_CAPTION = "Axe-FX Parser";

// The text of the message the parser would reject the buffer with (header
// or model byte), or empty when it takes it. Shows nothing: callers that
// report rejections their own way ask first.
std::string_view PresetRejection(const PresetBuffer& buffer);

// True when the file was recognised and decoded. Always empties both queues
// first; a rejection shows its message box (information icon, OK) and leaves
// name, number and grid as they were. The device type changes at every call
// that passes the header check, also when the model byte is then rejected.
bool ParsePreset(const PresetBuffer& buffer, CurrentPreset& preset);
// The same on the process-wide current preset.
bool ParsePreset(const PresetBuffer& buffer);

}  // namespace tx
