// xml: decodes a preset file and exports it as XML, the way "Export XML" does
// after an import; the save dialog is answered with the output name.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "platform/toolkit/console_toolkit.h"
#include "devicedefs/tables.h"
#include "outputs/xml_export.h"
#include "preset/fill_preset_table.h"
#include "preset/parse_preset.h"
#include "services/file_manager.h"

namespace {

int Run(const std::vector<std::string>& args) {
  if (args.size() != 2) return txcli::UsageError("xml needs a preset file and an output file");
  const std::string& presetPath = args[0];
  const std::string& outPath = args[1];

  tx::CurrentPreset& preset = tx::Current();
  if (const int read = txcli::ReadPresetFile(presetPath, preset); read != txcli::EXIT_OK) return read;

  // As the main window does: the three tables stay open from the decoding to
  // the export (the preset table lives in memory only while open).
  tx::TableSet& t = tx::Tables();
  if (!txcli::OpenForReading({&t.DBEffects, &t.DBSelection}) || t.MXPreset.Open() != tx::Level::Done)
    return txcli::EXIT_FAILED;
  txcli::WarnIfNoDefinitions(t, preset.state.deviceType);
  tx::PresetTableFiller filler(tx::AccessPresetTables(t));
  filler.FillPresetTable(preset);
  if (txcli::ReadsFailed({&t.DBEffects, &t.DBSelection})) return txcli::EXIT_FAILED;

  txcli::Console().QueueFilePath(outPath);
  std::string exportPath, error;
  const bool written = tx::ExportPresetXml(preset.state, t.MXPreset, t.preset, exportPath, &error);
  t.MXPreset.Close();
  t.DBSelection.Close();
  t.DBEffects.Close();
  if (!written) {
    std::fprintf(stderr, "tonalyx-cli: cannot write '%s': %s\n", outPath.c_str(), error.c_str());
    return txcli::EXIT_FAILED;
  }
  return txcli::EXIT_OK;
}

txcli::Registration reg({"xml", "PRESET.syx OUT.xml", "decode a preset file and export it as XML to OUT.xml", Run});

}  // namespace
