#pragma once
// Report pages of the sample presets, made the way "Print PDF" makes them:
// the definitions imported into fresh tables, each preset decoded, its block
// image drawn into "tmp01.png", and its MXPreset rows printed by the band
// engine in the Preset Report's layout and bands.
#include <filesystem>
#include <string>
#include <vector>

#include "devicedefs/loader.h"
#include "devicedefs/tables.h"
#include "draw/canvas.h"
#include "outputs/block_image.h"
#include "outputs/preset_report_layout.h"
#include "platform/reportengine/report_engine.h"
#include "preset/fill_preset_table.h"
#include "preset/parse_preset.h"
#include "base/file_io.h"

namespace txtest {

// In the current working directory, which holds fresh tables: decodes
// `preset`, draws its block image and prints its report. The page files are
// in `engine`'s directory until it goes.
inline std::vector<std::string> SamplePresetPages(const std::string& preset, tx::ReportEngine& engine) {
  std::vector<std::string> pages;
  std::string content;
  tx::CurrentPreset& current = tx::Current();
  if (!tx::ReadFileStart(preset, tx::PRESET_BUFFER_SIZE, content) || !tx::ParsePreset(tx::FitPresetBuffer(content), current)) return pages;
  tx::TableSet& t = tx::Tables();
  t.DBEffects.Open();
  t.DBSelection.Open();
  t.MXPreset.Open();
  tx::Canvas canvas;
  canvas.Init(tx::BLOCK_IMAGE_MIN_WIDTH, tx::BLOCK_IMAGE_MIN_HEIGHT);
  tx::TableEffectRows effects(t.DBEffects, t.effect);
  tx::DrawBlockImage(canvas, current, effects);
  tx::PresetTableFiller filler(tx::AccessPresetTables(t));
  filler.FillPresetTable(current);

  engine.Open(tx::PresetReportLayout());
  engine.RenderToPageFiles(&pages);
  tx::SetPresetValues(engine, current.state);
  tx::PrintBlockImageBand(engine, tx::BLOCK_IMAGE_FILE);
  t.MXPreset.SetOrder(-1);
  while (t.MXPreset.Next() == 0) tx::PrintParameterLine(engine, t.preset);
  engine.EndReport();
  t.MXPreset.Close();
  t.DBSelection.Close();
  t.DBEffects.Close();
  return pages;
}

// Fresh tables in `dir`, imported from the shipped definitions.
inline void ImportSampleDefinitions(const std::filesystem::path& dir) {
  namespace fs = std::filesystem;
  fs::copy(fs::path(TONALYX_SOURCE_DIR) / "Masters", dir / "Masters", fs::copy_options::recursive);
  fs::copy(fs::path(TONALYX_SOURCE_DIR) / "assets", dir / "assets", fs::copy_options::recursive);
  tx::ImportDefinitions(tx::Tables());
}

}  // namespace txtest
