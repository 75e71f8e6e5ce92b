// The whole decode of one preset file: ParsePreset, then FillPresetTable
// against tables holding definition rows of both generations (numeric and
// list parameters, all-blank selection rows, Y-capable types, variants).
// Seeds: the sample presets under examples/.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "devicedefs/tables.h"
#include "platform/toolkit/console_toolkit.h"
#include "preset/fill_preset_table.h"
#include "preset/parse_preset.h"
#include "support/temp_dir.h"
#include "tools/presetbuilder/definition_rows.h"

namespace {

struct Fixture {
  txtest::TempDir dir;
  std::unique_ptr<tx::ConsoleToolkit> toolkit = std::make_unique<tx::ConsoleToolkit>(nullptr);
  std::unique_ptr<tx::TableSet> tables;
  std::unique_ptr<tx::PresetTableFiller> filler;
  std::unique_ptr<tx::PresetTableFiller> lookups;  // never keeps anything
  tx::CurrentPreset preset;
};

void Define(tx::TableSet& t) {
  t.DBEffects.BeginTransaction();
  t.DBSelection.BeginTransaction();
  for (uint8_t device : {uint8_t{1}, uint8_t{3}}) {
    for (int e = 100; e < 140; ++e) {
      int type = 1 + (e - 100) % 23;
      for (int variant = 0; variant < (e % 5 == 0 ? 2 : 1); ++variant) {
        for (int p = 0; p < 20; ++p) {
          txtools::EffectRow r;
          r.deviceType = device;
          r.effectId = e;
          r.effectTypeId = type;
          r.variantParameterId = e % 7 == 0 ? -1 : 0;
          r.variantId = variant;
          r.parameterId = p + variant * 5;
          r.modifierId = p % 4 == 0 ? 0 : p + 1;
          r.screenName = p % 6 == 0 ? "" : "Parameter";
          const char* kinds[] = {"LIN", "LOG", "INT", "", "XYZ"};
          r.paramType = kinds[p % 5];
          r.minimum = p % 8 == 0 ? 0 : (p % 3 == 0 ? -100 : 0.1);
          r.maximum = p % 9 == 0 ? -5 : 20000;
          r.precision = p % 6 - 1;  // -1 .. 4
          r.numberOfValues = p % 11 == 0 ? 0 : (device == 3 ? 65534 : 255);
          txtools::InsertEffect(t, r);
        }
      }
    }
    for (int type = 1; type <= 23; ++type) {
      txtools::InsertSelection(t, device, type, 0, 0, {"Off", "On", "A very long list entry of 32 ch"});
      txtools::InsertSelection(t, device, type, 0, 2, {});  // all blank: stays numeric
    }
  }
  t.DBEffects.Commit();
  t.DBSelection.Commit();
}

Fixture& Setup() {
  static Fixture* f = [] {
    auto* fx = new Fixture;
    tx::SetToolkit(fx->toolkit.get());
    // The tables are found relative to the working directory.
    static txtest::ScopedCwd cwd(fx->dir.path());
    fx->tables = std::make_unique<tx::TableSet>();
    for (tx::FileManager* m : {&fx->tables->DBEffects, &fx->tables->DBSelection, &fx->tables->MXPreset})
      if (m->Open() != 0) std::abort();
    Define(*fx->tables);
    fx->filler = std::make_unique<tx::PresetTableFiller>(tx::AccessPresetTables(*fx->tables));
    fx->lookups = std::make_unique<tx::PresetTableFiller>(tx::AccessPresetTables(*fx->tables));
    return fx;
  }();
  return *f;
}

// The preset table and the record buffers as the fill left them.
std::string Snapshot(tx::TableSet& t) {
  std::string s(reinterpret_cast<const char*>(&t.effect), sizeof t.effect);
  s.append(reinterpret_cast<const char*>(&t.selection), sizeof t.selection);
  t.MXPreset.SetOrder(-1);
  while (t.MXPreset.Next(false) == 0) s.append(reinterpret_cast<const char*>(&t.preset), sizeof t.preset);
  return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Fixture& f = Setup();
  tx::PresetBuffer buffer = tx::FitPresetBuffer(std::string_view(reinterpret_cast<const char*>(data), size));
  if (tx::ParsePreset(buffer, f.preset)) {
    // The filler keeps definitions from earlier inputs; it must answer as
    // the lookups themselves do. A second filler, fed the same inputs, runs
    // with a transaction held on the selections, which makes it use its
    // direct lookups: every definition read from the tables.
    f.filler->FillPresetTable(f.preset);
    const std::string kept = Snapshot(*f.tables);
    if (f.tables->DBSelection.BeginTransaction() != 0) std::abort();
    f.lookups->FillPresetTable(f.preset);
    f.tables->DBSelection.Commit();
    if (Snapshot(*f.tables) != kept || f.filler->VariantParameterValue() != f.lookups->VariantParameterValue())
      std::abort();
  }
  // The console toolkit records every message box; start a fresh one now
  // and then so the record does not grow for the whole run.
  if (f.toolkit->Messages().size() > 1000) {
    auto fresh = std::make_unique<tx::ConsoleToolkit>(nullptr);
    tx::SetToolkit(fresh.get());
    f.toolkit = std::move(fresh);
  }
  return 0;
}
