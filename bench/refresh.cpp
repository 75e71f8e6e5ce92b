// Time of the definition import ("refresh") into empty tables, against a floor
// measured in the same run: parsing the same four files with pugixml plus
// inserting the same number of rows into SQLite in one transaction.
//
// The generated set: Gen2 with 80 effect instances of 40 types, 120
// parameters per type, 2,000 selection lists of 256 items and an editor page
// per type; Gen1 likewise with 40 instances of 30 types, 60 parameters per
// type and lists of 100 items.
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "devicedefs/loader.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

struct SetSize {
  int types, instancesPerType, params, lists, items;
};

void Write(const fs::path& p, const std::string& text) {
  fs::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << text;
}

std::string Type(int t) { return "Type" + std::to_string(t); }
std::string Param(int t, int p) { return "T" + std::to_string(t) + "_P" + std::to_string(p); }

// A layout file: pool, parameter lists, cabinets (Gen2) and one editor page per type.
std::string Layout(const SetSize& s, bool gen2) {
  std::string x = "<?xml version=\"1.0\"?>\n<AxeML>\n<EffectPool>\n";
  int id = 100;
  for (int t = 0; t < s.types; ++t)
    for (int i = 0; i < s.instancesPerType; ++i, ++id)
      x += "<EffectPoolInstance ID=\"" + std::to_string(id) + "\" Name=\"" + Type(t) + " " + std::to_string(i + 1) +
           "\" Type=\"" + Type(t) + "\" TypeID=\"" + std::to_string(t + 1) + "\"/>\n";
  x += "</EffectPool>\n<EffectParameterLists>\n";
  for (int t = 0; t < s.types; ++t) {
    x += "<EffectParameters Name=\"" + Type(t) + "\"";
    if (gen2) x += " TypeID=\"" + std::to_string(t + 1) + "\" BypassParam=\"" + std::to_string(s.params - 1) + "\"";
    x += ">\n";
    for (int p = 0; p < s.params; ++p)
      x += "<EffectParameter ID=\"" + std::to_string(p) + "\" Name=\"" + Param(t, p) + "\" ModifierID=\"" +
           std::to_string(!gen2 && p == s.params - 1 ? 255 : p + 1) + "\"/>\n";
    x += "</EffectParameters>\n";
  }
  x += "</EffectParameterLists>\n";
  if (gen2) {
    x += "<CabPool>\n";
    for (int c = 0; c < 200; ++c)
      x += "<Cab ID=\"" + std::to_string(c) + "\" Name=\"Cabinet " + std::to_string(c) + "\"/>\n";
    x += "</CabPool>\n";
  }
  x += "<EditorLayouts>\n";
  for (int t = 0; t < s.types; ++t) {
    x += "<EditorControls Name=\"" + Type(t) + "\" Value=\"" + std::to_string(t) + "\" TypeID=\"" +
         std::to_string(t + 1) + "\" Type=\"Effect\" SyncVariantsToType=\"False\">\n"
         "<EffectVariant Name=\"Standard\" Value=\"0\" TypeID=\"" + std::to_string(t + 1) + "\">\n"
         "<Page Name=\"Main\" SubType=\"1\" Monitor=\"Output\" Layout=\"Grid4\">\n<Section PageSection=\"Knobs\">\n";
    for (int p = 0; p < s.params; ++p)
      x += std::string("<EditorControl Name=\"Control ") + std::to_string(p) + "\" Type=\"Knob\" " +
           (gen2 ? "ParameterName" : "parameterName") + "=\"" + Param(t, p) + "\" OffsetX=\"0\" OffsetY=\"0\"" +
           (p % 4 == 3 ? " RowFlag=\"Row\"" : "") + "/>\n";
    x += "</Section>\n</Page>\n</EffectVariant>\n</EditorControls>\n";
  }
  x += "</EditorLayouts>\n</AxeML>\n";
  return x;
}

std::string Items(int count, int seed) {
  std::string x;
  for (int k = 0; k < count; ++k) x += " Item" + std::to_string(k) + "=\"Entry " + std::to_string(seed) + "." + std::to_string(k) + "\"";
  return x;
}

std::string Scaling(int p) {
  return " ParamType=\"" + std::string(p % 3 == 0 ? "LIN" : p % 3 == 1 ? "LOG" : "INT") +
         "\" Default=\"5\" Minimum=\"1\" Maximum=\"10\" Precision=\"" + std::to_string(p % 4) +
         "\" Unit=\"dB\" NumVals=\"65534\"";
}

std::string Gen2Profile(const SetSize& s) {
  std::string x = "<?xml version=\"1.0\"?>\n<Profile>\n";
  int listsPerType = (s.lists + s.types - 1) / s.types, lists = 0;
  for (int t = 0; t < s.types; ++t) {
    x += "<Effect EffectID=\"" + std::to_string(100 + t * s.instancesPerType) + "\" TypeID=\"" + std::to_string(t + 1) +
         "\" EffectType=\"" + Type(t) + "\" VariantParamID=\"0\" EffectVariantID=\"0\">\n";
    // List texts sit on the parameter records themselves, as in the profile.
    for (int p = 0; p < s.params; ++p) {
      bool list = p < listsPerType && lists < s.lists;
      x += "<Parameter ParamID=\"" + std::to_string(p) + "\" BypassParamID=\"" + std::to_string(s.params - 1) + "\"" +
           Scaling(p) + (list ? Items(s.items, lists++) : "") + "/>\n";
    }
    x += "</Effect>\n";
  }
  return x + "</Profile>\n";
}

std::string Gen1Profile(const SetSize& s) {
  std::string x = "<?xml version=\"1.0\"?>\n<Profile>\n";
  int listsPerType = (s.lists + s.types - 1) / s.types;
  for (int t = 0; t < s.types; ++t)
    for (int p = 0; p < s.params; ++p)
      x += "<Parameter EffectType=\"" + Type(t) + "\" EffectID=\"" + std::to_string(100 + t * s.instancesPerType) +
           "\" ParamID=\"" + std::to_string(p) + "\"" + Scaling(p) + (p < listsPerType ? Items(s.items, p) : "") +
           "/>\n";
  return x + "</Profile>\n";
}

double Seconds(std::chrono::steady_clock::time_point from) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

// The floor: the four files parsed once each, and as many rows as the import
// appended inserted into SQLite tables of the same shape, in one transaction.
double Floor(const fs::path& dir, const tx::ImportReport& r) {
  auto start = std::chrono::steady_clock::now();
  for (const char* f : {tx::kGen2Layout, tx::kGen2Profile, tx::kGen1Layout, tx::kGen1Profile}) {
    pugi::xml_document doc;
    if (!doc.load_file((dir / f).c_str())) std::fprintf(stderr, "floor: cannot parse %s\n", f);
  }
  fs::path db = dir / "floor.db";
  fs::remove(db);
  sqlite3* h = nullptr;
  sqlite3_open(db.c_str(), &h);
  auto exec = [&](const std::string& sql) { sqlite3_exec(h, sql.c_str(), nullptr, nullptr, nullptr); };
  auto table = [&](const char* name, int ints, int texts, long rows, int textWidth) {
    std::string cols, marks;
    for (int i = 0; i < ints + texts; ++i) {
      cols += (i ? ", c" : "c") + std::to_string(i) + (i < ints ? " INTEGER" : " TEXT");
      marks += i ? ", ?" : "?";
    }
    exec(std::string("CREATE TABLE ") + name + " (" + cols + ")");
    if (ints >= 4) exec(std::string("CREATE UNIQUE INDEX ") + name + "_k ON " + name + " (c0, c1, c2, c3)");
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(h, (std::string("INSERT INTO ") + name + " VALUES (" + marks + ")").c_str(), -1, &st, nullptr);
    std::string text(static_cast<size_t>(textWidth), 'x');
    for (long r = 0; r < rows; ++r) {
      for (int i = 0; i < ints; ++i) sqlite3_bind_int64(st, i + 1, i == 3 ? r : i);
      for (int i = 0; i < texts; ++i) sqlite3_bind_text(st, ints + i + 1, text.c_str(), -1, SQLITE_STATIC);
      sqlite3_step(st);
      sqlite3_reset(st);
    }
    sqlite3_finalize(st);
  };
  exec("BEGIN");
  table("eff", 14, 6, r.effects, 16);
  table("cab", 1, 1, r.cabs, 16);
  table("sel", 5, 256, r.selections, 12);
  table("slm", 6, 1, r.selectionMasters, 12);
  table("scm", 8, 17, r.screenMasters, 8);
  exec("COMMIT");
  sqlite3_close(h);
  return Seconds(start);
}

}  // namespace

int main() {
  txtest::TempDir dir;
  SetSize gen2{40, 2, 120, 2000, 256}, gen1{30, 2, 60, 600, 100};
  Write(dir.path() / tx::kGen2Layout, Layout(gen2, true));
  Write(dir.path() / tx::kGen2Profile, Gen2Profile(gen2));
  Write(dir.path() / tx::kGen1Layout, Layout(gen1, false));
  Write(dir.path() / tx::kGen1Profile, Gen1Profile(gen1));
  txtest::ScopedCwd cwd(dir.path());

  double best = 1e9, bestFloor = 1e9;
  tx::ImportReport report;
  for (int run = 0; run < 3; ++run) {
    for (const char* f : {"efx.mdl", "cab.mdl", "sel.mdl", "EdtSel.kvr", "EdtLay.kvr"}) fs::remove(f);
    tx::TableSet tables;
    auto start = std::chrono::steady_clock::now();
    report = tx::ImportDefinitions(tables);
    best = std::min(best, Seconds(start));
    bestFloor = std::min(bestFloor, Floor(dir.path(), report));
  }
  std::printf("rows: DBEffects %ld, DBCabs %ld, DBSelection %ld, DBSelectionMaster %ld, DBScreenMaster %ld"
              " (refused %ld)\n",
              report.effects, report.cabs, report.selections, report.selectionMasters, report.screenMasters,
              report.refused);
  for (const auto& u : report.unreadFiles) std::printf("unread: %s\n", u.c_str());
  std::printf("refresh %.3f s, floor %.3f s, ratio %.2f (target at most 2)\n", best, bestFloor, best / bestFloor);
  return 0;
}
