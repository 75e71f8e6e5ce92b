#pragma once
// preset: reading a preset file. Recognising and unpacking it, matching its
// blocks and values with the definitions into the preset table, and turning
// raw values into the texts a user reads.
//   parse_preset.h       ParsePreset: the file into the current-preset state
//   preset_state.h       the current preset and its block and modifier queues
//   fill_preset_table.h  FillPresetTable: parameter rows into MXPreset
//   definition_lookup.h  the definition lookups a fill makes, and the tables it works on
//   direct_lookup.h      ... asking the tables every time
//   caching_lookup.h     ... keeping the answers while the tables vouch for them
//   definition_cache.h   what the caching lookups keep
//   format_value.h       a raw value as text
//   preset_messages.h    the parser's own two messages
#include "preset/fill_preset_table.h"
#include "preset/format_value.h"
#include "preset/parse_preset.h"
#include "preset/preset_state.h"
