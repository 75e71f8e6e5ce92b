// decode: a preset file decoded against the tables of the working directory,
// the way the main window imports it, printed as text or as one JSON object.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "base/picture.h"
#include "cli/commands.h"
#include "cli/text_output.h"
#include "devicedefs/tables.h"
#include "preset/fill_preset_table.h"
#include "preset/parse_preset.h"

namespace {

using tx::PresetRecord;
using txcli::JsonString;
using txcli::Printable;

std::vector<PresetRecord> StoredRows(tx::TableSet& t) {
  std::vector<PresetRecord> rows;
  t.MXPreset.SetOrder(-1);
  while (t.MXPreset.Next() == tx::Level::Done) rows.push_back(t.preset);
  return rows;
}

const char* DeviceName(int type) {
  return type == tx::DEVICE_GEN1 ? "Axe-FX" : type == tx::DEVICE_GEN2 ? "Axe-FX II" : "unknown";
}

void PrintJson(const tx::PresetState& s, const std::vector<PresetRecord>& rows) {
  std::string out = "{\"deviceType\": " + std::to_string(s.deviceType) +
                    ", \"number\": " + std::to_string(s.PRESETNUMBER) +
                    ", \"name\": " + JsonString(s.PRESETNAME.view()) + ", \"grid\": [";
  for (int r = 0; r < tx::GRID_ROWS; ++r) {
    out += r ? ", [" : "[";
    for (int c = 0; c < tx::GRID_COLUMNS; ++c) {
      const auto& cell = s.grid[static_cast<size_t>(r)][static_cast<size_t>(c)];
      out += (c ? ", " : "") + std::string("{\"block\": ") + std::to_string(cell.blockId) +
             ", \"mask\": " + std::to_string(cell.inputMask) + "}";
    }
    out += "]";
  }
  out += "], \"rows\": [";
  for (size_t i = 0; i < rows.size(); ++i) {
    const PresetRecord& p = rows[i];
    out += (i ? ", " : "") + std::string("{\"effectId\": ") + std::to_string(p.EFFECTID) +
           ", \"effectName\": " + JsonString(p.EFFECTNAME.view()) +
           ", \"parameterId\": " + std::to_string(p.PARAMETERID) +
           ", \"screenName\": " + JsonString(p.SCREENNAME.view()) +
           ", \"xValue\": " + JsonString(p.XVALUE.view()) + ", \"yValue\": " + JsonString(p.YVALUE.view()) +
           ", \"unit\": " + JsonString(p.UNIT.view()) + ", \"modifier\": " + JsonString(p.MODIFIERFLAG.view()) +
           ", \"xActive\": " + JsonString(p.XACTIVE.view()) + ", \"yActive\": " + JsonString(p.YACTIVE.view()) + "}";
  }
  out += "]}\n";
  std::fwrite(out.data(), 1, out.size(), stdout);
}

void PrintText(const tx::PresetState& s, const std::vector<PresetRecord>& rows) {
  std::printf("Device type: %d (%s)\n", s.deviceType, DeviceName(s.deviceType));
  std::printf("Number:      %s\n", tx::FormatPicture("N03B", s.PRESETNUMBER).c_str());
  std::printf("Name:        %s\n", Printable(s.PRESETNAME.view()).c_str());
  std::printf("\nGrid (block id/input mask):\n    ");
  for (int c = 1; c <= tx::GRID_COLUMNS; ++c) std::printf(" %8d", c);
  std::printf("\n");
  for (int r = 0; r < tx::GRID_ROWS; ++r) {
    std::printf("  %d ", r + 1);
    for (int c = 0; c < tx::GRID_COLUMNS; ++c) {
      const auto& cell = s.grid[static_cast<size_t>(r)][static_cast<size_t>(c)];
      std::string text = std::to_string(cell.blockId) + "/" + std::to_string(cell.inputMask);
      std::printf(" %8s", text.c_str());
    }
    std::printf("\n");
  }
  std::printf("\n%zu parameter rows\n", rows.size());
  if (rows.empty()) return;
  std::printf("%-6s %-20s %-5s %-22s %-20s %-20s %-10s %s %s %s\n", "Effect", "Effect name", "Param", "Screen name",
              "X value", "Y value", "Unit", "M", "X", "Y");
  for (const PresetRecord& p : rows) {
    std::printf("%-6d %-20s %-5d %-22s %-20s %-20s %-10s %s %s %s\n", p.EFFECTID,
                Printable(p.EFFECTNAME.view()).c_str(), p.PARAMETERID, Printable(p.SCREENNAME.view()).c_str(),
                Printable(p.XVALUE.view()).c_str(), Printable(p.YVALUE.view()).c_str(),
                Printable(p.UNIT.view()).c_str(), std::string(p.MODIFIERFLAG.raw()).c_str(),
                std::string(p.XACTIVE.raw()).c_str(), std::string(p.YACTIVE.raw()).c_str());
  }
}

int Run(const std::vector<std::string>& args) {
  bool json = false;
  std::string path;
  for (const std::string& a : args) {
    if (a == "--json") {
      json = true;
    } else if (!a.empty() && a[0] == '-' && a != "-") {
      return txcli::UsageError("decode: unknown option '" + a + "'");
    } else if (path.empty()) {
      path = a;
    } else {
      return txcli::UsageError("decode takes one preset file");
    }
  }
  if (path.empty()) return txcli::UsageError("decode needs a preset file");

  tx::CurrentPreset& preset = tx::Current();
  if (const int read = txcli::ReadPresetFile(path, preset); read != txcli::EXIT_OK) return read;

  tx::TableSet& t = tx::Tables();
  if (!txcli::OpenForReading({&t.DBEffects, &t.DBSelection}) || t.MXPreset.Open() != tx::Level::Done)
    return txcli::EXIT_FAILED;
  txcli::WarnIfNoDefinitions(t, preset.state.deviceType);
  tx::PresetTableFiller filler(tx::AccessPresetTables(t));
  filler.FillPresetTable(preset);
  std::vector<PresetRecord> rows = StoredRows(t);
  const bool failed = txcli::ReadsFailed({&t.DBEffects, &t.DBSelection});
  for (tx::FileManager* table : {&t.DBEffects, &t.DBSelection, &t.MXPreset}) table->Close();
  if (failed) return txcli::EXIT_FAILED;

  if (json) {
    PrintJson(preset.state, rows);
  } else {
    PrintText(preset.state, rows);
  }
  return txcli::EXIT_OK;
}

txcli::Registration reg({"decode", "[--json] PRESET.syx",
                         "decode a preset file against the tables and print its blocks and values", Run});

}  // namespace
