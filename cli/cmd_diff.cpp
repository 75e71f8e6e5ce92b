// diff: two preset files decoded against the tables and compared: blocks only
// in one of them, grid cells, block states and parameter values, as a short
// change list or one JSON object. Exits like diff(1): 0 same, 1 different,
// more is trouble.
#include <cstdio>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "base/picture.h"
#include "cli/commands.h"
#include "cli/preset_diff.h"
#include "cli/text_output.h"
#include "devicedefs/tables.h"
#include "platform/toolkit/console_toolkit.h"
#include "preset/fill_preset_table.h"
#include "preset/parse_preset.h"

namespace {

using txcli::BlockRef;
using txcli::DecodedPreset;
using txcli::JsonString;
using txcli::PresetDiff;
using txcli::Printable;

enum DiffExit { SAME = 0, DIFFERENT = 1, USAGE = 2, UNREADABLE = 3, REJECTED = 4, TABLES = 5 };

constexpr const char* kHelp =
    "Usage: tonalyx-cli [--workdir DIR] diff [--json] A.syx B.syx\n"
    "\n"
    "Decodes both presets against the tables and lists what differs, each kind in\n"
    "stored order: name, number or device; blocks only in A; blocks only in B; grid\n"
    "cells whose block or links changed; blocks whose X/Y state changed; parameters\n"
    "whose X value, Y value, unit or modifier mark differ, with both values.\n"
    "Nothing is printed when the presets are the same.\n"
    "\n"
    "--json prints one object:\n"
    "  {\"same\": false,\n"
    "   \"a\": {\"file\": \"A.syx\", \"deviceType\": 3, \"number\": 7, \"name\": \"Clean Chorus\"},\n"
    "   \"b\": {...the same for B},\n"
    "   \"changed\": [\"name\"],            (of \"deviceType\", \"number\", \"name\")\n"
    "   \"onlyInA\": [{\"effectId\": 108, \"effectName\": \"Cab 1\"}],\n"
    "   \"onlyInB\": [...],\n"
    "   \"grid\": [{\"row\": 1, \"column\": 3, \"a\": {\"block\": 108, \"mask\": 1},\n"
    "             \"b\": {\"block\": 0, \"mask\": 0}}],\n"
    "   \"states\": [{\"effectId\": 106, \"effectName\": \"Amp 1\", \"a\": \"X\", \"b\": \"Y\"}],\n"
    "   \"parameters\": [{\"effectId\": 106, \"effectName\": \"Amp 1\", \"parameterId\": 1,\n"
    "                   \"screenName\": \"Input Drive\",\n"
    "                   \"a\": {\"xValue\": \"5.00\", \"yValue\": \"9.00\", \"unit\": \"\", \"modifier\": \"*\"},\n"
    "                   \"b\": {...} or null when B's block has no such parameter}]}\n"
    "Values are texts as the report shows them; effect names are empty for blocks\n"
    "the definitions do not know.\n"
    "\n"
    "Exit status: 0 the presets are the same, 1 they differ, 2 usage, 3 a file\n"
    "cannot be read, 4 a file is not a preset (rejected), 5 the definition tables\n"
    "cannot be read.\n";

const char* DeviceName(int type) {
  return type == tx::DEVICE_GEN1 ? "Axe-FX" : type == tx::DEVICE_GEN2 ? "Axe-FX II" : "unknown";
}

std::string Number(int32_t n) { return n == 0 ? "(none)" : tx::FormatPicture("N03", n); }

// Reads and decodes one file without the parser's message box, so that the
// line can name the file. SAME when it is decoded.
int Load(const std::string& path, DecodedPreset& preset) {
  preset.file = path;
  std::string content, reason;
  if (!tx::ReadFileStart(txcli::InputPath(path), tx::PRESET_BUFFER_SIZE, content, &reason)) {
    std::fprintf(stderr, "tonalyx-cli: diff: cannot read '%s': %s\n", path.c_str(), reason.c_str());
    return UNREADABLE;
  }
  const tx::PresetBuffer buffer = tx::FitPresetBuffer(content);
  if (std::string_view why = tx::PresetRejection(buffer); !why.empty()) {
    std::fprintf(stderr, "tonalyx-cli: diff: '%s' is rejected: %.*s\n", path.c_str(), static_cast<int>(why.size()),
                 why.data());
    return REJECTED;
  }
  tx::CurrentPreset decoded;
  tx::ParsePreset(buffer, decoded);
  preset.state = decoded.state;
  preset.blocks = std::move(decoded.PQ);
  preset.modifiers = std::move(decoded.MQ);
  return SAME;
}

// Each preset gets a filler of its own: the variant value one preset leaves
// must not reach the other's blocks, so each reads as `decode` shows it.
void FillRows(tx::TableSet& t, DecodedPreset& preset) {
  tx::CurrentPreset current{preset.state, preset.blocks, preset.modifiers};
  tx::PresetTableFiller filler(tx::AccessPresetTables(t));
  filler.FillPresetTable(current);
  preset.rows.clear();
  t.MXPreset.SetOrder(-1);
  while (t.MXPreset.Next() == tx::Level::Done) preset.rows.push_back(t.preset);
}

std::string BlockText(const BlockRef& b) {
  return std::to_string(b.effectId) + (b.effectName.empty() ? "" : " " + Printable(b.effectName));
}

std::string CellText(const tx::BlockCell& cell, const DecodedPreset& a, const DecodedPreset& b) {
  std::string text;
  if (cell.blockId == 0) {
    text = "empty";
  } else {
    std::string name = a.EffectName(cell.blockId);
    if (name.empty()) name = b.EffectName(cell.blockId);
    text = "block " + BlockText({cell.blockId, name});
  }
  std::string rows;
  for (int bit = 0; bit < tx::GRID_ROWS; ++bit)
    if (cell.inputMask & (1u << bit)) rows += (rows.empty() ? "" : ", ") + std::to_string(bit + 1);
  if (!rows.empty()) text += " (linked from row " + rows + ")";
  return text;
}

std::string Value(const std::string& v) { return v.empty() ? "(blank)" : Printable(v); }

void PrintPlain(const PresetDiff& d, const DecodedPreset& a, const DecodedPreset& b) {
  if (d.Same()) return;
  auto header = [](const char* mark, const DecodedPreset& p) {
    const std::string number = p.state.PRESETNUMBER ? Number(p.state.PRESETNUMBER) + " " : "";
    std::printf("%s %s: %s%s (%s)\n", mark, Printable(p.file).c_str(), number.c_str(),
                Printable(p.state.PRESETNAME.view()).c_str(), DeviceName(p.state.deviceType));
  };
  header("---", a);
  header("+++", b);
  if (d.deviceTypeChanged)
    std::printf("device: %s -> %s\n", DeviceName(a.state.deviceType), DeviceName(b.state.deviceType));
  if (d.numberChanged)
    std::printf("number: %s -> %s\n", Number(a.state.PRESETNUMBER).c_str(), Number(b.state.PRESETNUMBER).c_str());
  if (d.nameChanged)
    std::printf("name: \"%s\" -> \"%s\"\n", Printable(a.state.PRESETNAME.view()).c_str(),
                Printable(b.state.PRESETNAME.view()).c_str());
  for (const auto& x : d.onlyInA) std::printf("only in A: block %s\n", BlockText(x).c_str());
  for (const auto& x : d.onlyInB) std::printf("only in B: block %s\n", BlockText(x).c_str());
  for (const auto& c : d.grid)
    std::printf("grid row %d, column %d: %s -> %s\n", c.row, c.column, CellText(c.a, a, b).c_str(),
                CellText(c.b, a, b).c_str());
  for (const auto& s : d.states)
    std::printf("state of block %s: %s -> %s\n", BlockText(s.block).c_str(), s.a ? "Y" : "X", s.b ? "Y" : "X");
  for (const auto& p : d.parameters) {
    std::string line = "block " + BlockText(p.block) + ", " + Printable(p.screenName) + ":";
    if (!p.a || !p.b) {
      line += p.a ? " only in A" : " only in B";
    } else {
      std::string sep = " ";
      auto field = [&](const char* what, const std::string& x, const std::string& y) {
        if (x == y) return;
        line += sep + what + " " + Value(x) + " -> " + Value(y);
        sep = "; ";
      };
      field("X", p.a->xValue, p.b->xValue);
      field("Y", p.a->yValue, p.b->yValue);
      field("unit", p.a->unit, p.b->unit);
      field("modifier", p.a->modifier, p.b->modifier);
    }
    std::printf("%s\n", line.c_str());
  }
}

std::string JsonBlock(const BlockRef& b) {
  return "{\"effectId\": " + std::to_string(b.effectId) + ", \"effectName\": " + JsonString(b.effectName);
}

std::string JsonPreset(const DecodedPreset& p) {
  return "{\"file\": " + JsonString(p.file) + ", \"deviceType\": " + std::to_string(p.state.deviceType) +
         ", \"number\": " + std::to_string(p.state.PRESETNUMBER) + ", \"name\": " + JsonString(p.state.PRESETNAME.view()) +
         "}";
}

std::string JsonCell(const tx::BlockCell& c) {
  return "{\"block\": " + std::to_string(c.blockId) + ", \"mask\": " + std::to_string(c.inputMask) + "}";
}

std::string JsonValues(const std::optional<txcli::ParameterValues>& v) {
  if (!v) return "null";
  return "{\"xValue\": " + JsonString(v->xValue) + ", \"yValue\": " + JsonString(v->yValue) +
         ", \"unit\": " + JsonString(v->unit) + ", \"modifier\": " + JsonString(v->modifier) + "}";
}

template <class T, class F>
std::string JsonList(const std::vector<T>& items, F each) {
  std::string out = "[";
  for (size_t i = 0; i < items.size(); ++i) out += (i ? ", " : "") + each(items[i]);
  return out + "]";
}

void PrintJson(const PresetDiff& d, const DecodedPreset& a, const DecodedPreset& b) {
  std::vector<std::string> changed;
  if (d.deviceTypeChanged) changed.push_back("deviceType");
  if (d.numberChanged) changed.push_back("number");
  if (d.nameChanged) changed.push_back("name");
  std::string out = std::string("{\"same\": ") + (d.Same() ? "true" : "false") + ", \"a\": " + JsonPreset(a) +
                    ", \"b\": " + JsonPreset(b) +
                    ", \"changed\": " + JsonList(changed, [](const std::string& s) { return JsonString(s); }) +
                    ", \"onlyInA\": " + JsonList(d.onlyInA, [](const BlockRef& x) { return JsonBlock(x) + "}"; }) +
                    ", \"onlyInB\": " + JsonList(d.onlyInB, [](const BlockRef& x) { return JsonBlock(x) + "}"; }) +
                    ", \"grid\": " + JsonList(d.grid, [](const txcli::CellChange& c) {
                      return "{\"row\": " + std::to_string(c.row) + ", \"column\": " + std::to_string(c.column) +
                             ", \"a\": " + JsonCell(c.a) + ", \"b\": " + JsonCell(c.b) + "}";
                    }) +
                    ", \"states\": " + JsonList(d.states, [](const txcli::StateChange& s) {
                      return JsonBlock(s.block) + ", \"a\": \"" + (s.a ? "Y" : "X") + "\", \"b\": \"" +
                             (s.b ? "Y" : "X") + "\"}";
                    }) +
                    ", \"parameters\": " + JsonList(d.parameters, [](const txcli::ParameterChange& p) {
                      return JsonBlock(p.block) + ", \"parameterId\": " + std::to_string(p.parameterId) +
                             ", \"screenName\": " + JsonString(p.screenName) + ", \"a\": " + JsonValues(p.a) +
                             ", \"b\": " + JsonValues(p.b) + "}";
                    }) +
                    "}\n";
  std::fwrite(out.data(), 1, out.size(), stdout);
}

int Run(const std::vector<std::string>& args) {
  bool json = false;
  std::vector<std::string> files;
  for (const std::string& a : args) {
    if (a == "--json") {
      json = true;
    } else if (a == "--help" || a == "-h") {
      std::fputs(kHelp, stdout);
      return SAME;
    } else if (!a.empty() && a[0] == '-' && a != "-") {
      return txcli::UsageError("diff: unknown option '" + a + "'");
    } else {
      files.push_back(a);
    }
  }
  if (files.size() != 2) return txcli::UsageError("diff needs two preset files");
  // 1 means "different" here: a fatal table message must not look like it.
  txcli::Console().SetHaltStatus(TABLES);

  DecodedPreset a, b;
  const int loadA = Load(files[0], a), loadB = Load(files[1], b);
  if (loadA == UNREADABLE || loadB == UNREADABLE) return UNREADABLE;
  if (loadA != SAME || loadB != SAME) return REJECTED;

  tx::TableSet& t = tx::Tables();
  if (!txcli::OpenForReading({&t.DBEffects, &t.DBSelection}) || t.MXPreset.Open() != tx::Level::Done) return TABLES;
  txcli::WarnIfNoDefinitions(t, a.state.deviceType);
  if (b.state.deviceType != a.state.deviceType) txcli::WarnIfNoDefinitions(t, b.state.deviceType);
  FillRows(t, a);
  FillRows(t, b);
  const bool failed = txcli::ReadsFailed({&t.DBEffects, &t.DBSelection});
  for (tx::FileManager* table : {&t.DBEffects, &t.DBSelection, &t.MXPreset}) table->Close();
  if (failed) return TABLES;

  const PresetDiff d = txcli::ComparePresets(a, b);
  if (json) {
    PrintJson(d, a, b);
  } else {
    PrintPlain(d, a, b);
  }
  return d.Same() ? SAME : DIFFERENT;
}

txcli::Registration reg({"diff", "[--json] A.syx B.syx",
                         "compare two presets: blocks, grid cells, states and values; 'diff --help' shows the JSON and exits", Run});

}  // namespace
