// Presets decoded per second: ParsePreset + FillPresetTable of both
// generations against tables holding a realistic definition set (60 effect
// instances of 100 parameters for each generation, every tenth parameter a
// list, a selection row for every parameter). Prints one line per preset shape,
// for a decode on what earlier decodes kept and for the first one after the
// tables are opened.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "devicedefs/tables.h"
#include "platform/toolkit/console_toolkit.h"
#include "preset/fill_preset_table.h"
#include "preset/parse_preset.h"
#include "support/temp_dir.h"
#include "tools/presetbuilder/definition_rows.h"
#include "tools/presetbuilder/preset_builder.h"

namespace {

constexpr int INSTANCES = 60;
constexpr int PARAMETERS = 100;
constexpr int FIRST_ID = 100;
constexpr int TYPES = 20;

int TypeOf(int effectId) { return 1 + (effectId - FIRST_ID) % TYPES; }

void InsertDefinitions(tx::TableSet& t) {
  t.DBEffects.BeginTransaction();
  t.DBSelection.BeginTransaction();
  for (uint8_t device : {uint8_t{1}, uint8_t{3}}) {
    for (int e = FIRST_ID; e < FIRST_ID + INSTANCES; ++e) {
      for (int p = 0; p < PARAMETERS; ++p) {
        txtools::EffectRow r;
        r.deviceType = device;
        r.effectId = e;
        r.effectTypeId = TypeOf(e);
        r.parameterId = p;
        r.modifierId = p + 1;
        r.effectName = "Effect " + std::to_string(e);
        r.internalName = "FX" + std::to_string(e) + "_P" + std::to_string(p);
        r.screenName = "Parameter " + std::to_string(p);
        r.paramType = p % 3 == 0 ? "LOG" : "LIN";
        r.minimum = p % 3 == 0 ? 20 : -12;
        r.maximum = p % 3 == 0 ? 20000 : 12;
        r.precision = p % 4;
        r.numberOfValues = device == 3 ? 65534 : 255;
        r.unit = "dB";
        txtools::InsertEffect(t, r);
      }
    }
    // As the import writes them: a row for every parameter, all blank for
    // the numeric ones.
    for (int type = 1; type <= TYPES; ++type)
      for (int p = 0; p < PARAMETERS; ++p) {
        if (p % 10 == 0)
          txtools::InsertSelection(t, device, type, 0, p, {"Off", "On", "Clean", "Crunch", "Lead", "Bright"});
        else
          txtools::InsertSelection(t, device, type, 0, p, {});
      }
  }
  t.DBEffects.Commit();
  t.DBSelection.Commit();
}

// `blocks` blocks of `values` parameters (Y-capable second-generation types
// store them twice), one modifier per block.
std::vector<uint8_t> Preset(int device, int blocks, int values) {
  txtools::PresetBuilder b(device);
  b.Number(42).Name("Benchmark");
  for (int i = 0; i < blocks; ++i) {
    int id = FIRST_ID + (i * 7) % INSTANCES;
    bool y = device == 3 && tx::IsYCapableEffectType(TypeOf(id));
    txtools::BuiltBlock block;
    block.effectId = static_cast<uint16_t>(id);
    for (int v = 0; v < values * (y ? 2 : 1); ++v)
      block.values.push_back(static_cast<uint16_t>(v % 10 == 0 ? v % 5 : (v * 977) % (device == 3 ? 65535 : 256)));
    b.Cell(1 + i % 4, 1 + i / 4, block.effectId, 1);
    b.Block(block);
    b.Modifier({static_cast<uint16_t>(i), static_cast<uint16_t>(id), static_cast<uint16_t>(device == 3 ? 5 : 6), 0});
  }
  return b.Bytes();
}

struct Shape {
  const char* label;
  int device, blocks, values;
};

}  // namespace

int main(int argc, char** argv) {
  // An argument picks the shapes whose label holds it (for profiling one).
  const std::string only = argc > 1 ? argv[1] : "";
  txtest::TempDir dir;
  txtest::ScopedCwd cwd(dir.path());
  tx::ConsoleToolkit toolkit(nullptr);
  tx::SetToolkit(&toolkit);
  tx::TableSet tables;
  for (tx::FileManager* f : {&tables.DBEffects, &tables.DBSelection, &tables.MXPreset}) f->Open();
  InsertDefinitions(tables);
  tx::PresetTableFiller filler(tx::AccessPresetTables(tables));
  tx::CurrentPreset preset;

  const Shape shapes[] = {
      {"gen2, 1 block x 1 value", 3, 1, 1},
      {"gen1, 2 blocks x 10 values", 1, 2, 10},
      {"gen2, 2 blocks x 10 values", 3, 2, 10},
      {"gen1, 8 blocks x 20 values", 1, 8, 20},
      {"gen2, 8 blocks x 20 values", 3, 8, 20},
      {"gen1, 7 blocks x 100 values", 1, 7, 100},
      {"gen2, 8 blocks x 100 values", 3, 8, 100},
  };
  std::printf("%-30s %12s %12s %14s\n", "preset", "rows", "presets/s", "rows/s");
  for (const Shape& s : shapes) {
    if (std::string(s.label).find(only) == std::string::npos) continue;
    auto bytes = Preset(s.device, s.blocks, s.values);
    tx::PresetBuffer buffer = tx::FitPresetBuffer(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    long rows = 0;
    long runs = 0;
    auto start = std::chrono::steady_clock::now();
    double elapsed = 0;
    while (elapsed < 2.0) {
      for (int i = 0; i < 10; ++i) {
        tx::ParsePreset(buffer, preset);
        filler.FillPresetTable(preset);
      }
      runs += 10;
      elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    rows = tables.MXPreset.Records();
    std::printf("%-30s %12ld %12.0f %14.0f\n", s.label, rows, runs / elapsed, runs * rows / elapsed);
  }
  // The decode of a tonalyx-cli command: the definition tables just opened,
  // a new filler, nothing kept from an earlier decode.
  std::printf("first decode after opening the tables:\n");
  for (const Shape& s : shapes) {
    if (std::string(s.label).find(only) == std::string::npos) continue;
    auto bytes = Preset(s.device, s.blocks, s.values);
    tx::PresetBuffer buffer = tx::FitPresetBuffer(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    long runs = 0;
    auto start = std::chrono::steady_clock::now();
    double elapsed = 0;
    while (elapsed < 1.0) {
      for (tx::FileManager* f : {&tables.DBEffects, &tables.DBSelection}) f->Close();
      for (tx::FileManager* f : {&tables.DBEffects, &tables.DBSelection}) f->Open();
      tx::PresetTableFiller first(tx::AccessPresetTables(tables));
      tx::ParsePreset(buffer, preset);
      first.FillPresetTable(preset);
      ++runs;
      elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    const long rows = tables.MXPreset.Records();
    std::printf("%-30s %12ld %12.0f %14.0f\n", s.label, rows, runs / elapsed, runs * rows / elapsed);
  }
  if (only.empty()) {
    std::printf("parse only (gen2, 8 x 100): ");
    auto bytes = Preset(3, 8, 100);
    tx::PresetBuffer buffer = tx::FitPresetBuffer(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    long runs = 0;
    auto start = std::chrono::steady_clock::now();
    double elapsed = 0;
    while (elapsed < 1.0) {
      for (int i = 0; i < 100; ++i) tx::ParsePreset(buffer, preset);
      runs += 100;
      elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    std::printf("%.0f presets/s\n", runs / elapsed);
  }
  for (tx::FileManager* f : {&tables.DBEffects, &tables.DBSelection, &tables.MXPreset}) f->Close();
  tx::SetToolkit(nullptr);
  return 0;
}
