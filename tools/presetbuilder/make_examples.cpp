// Writes the sample presets of examples/ with the preset builder. The blocks,
// parameter counts and list parameters follow the sample definitions under
// Masters/, so every sample decodes to rows once "Refresh" has run.
//   make_examples OUTPUT_DIR
#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tools/presetbuilder/preset_builder.h"

namespace {

using txtools::BuiltBlock;
using txtools::BuiltModifier;
using txtools::PresetBuilder;

// What the sample definitions say about a block.
struct BlockKind {
  uint16_t id;
  int parameters;         // ids 0 .. parameters - 1; the last is the bypass
  std::set<int> lists;    // list parameters (raw value = entry index)
  bool y;                 // second generation: X and Y values stored
  std::map<int, int> steps = {};  // counted parameters: raw steps (NumVals)
};

const BlockKind COMPRESSOR{100, 9, {0, 5, 8}, false};
const BlockKind AMP1{106, 17, {0, 9, 16}, true};
const BlockKind AMP2{107, 17, {0, 9, 16}, true};
const BlockKind CAB1{108, 11, {0, 1, 7, 10}, true};
const BlockKind CAB2{109, 11, {0, 1, 7, 10}, true};
const BlockKind REVERB{110, 11, {0, 10}, true, {{7, 4}}};
const BlockKind DELAY{112, 13, {0, 2, 12}, true};
const BlockKind CHORUS{116, 10, {0, 4, 6, 9}, true, {{1, 6}}};
const BlockKind WAH{124, 7, {0, 6}, false};
const BlockKind VOLUME{127, 5, {1, 4}, false};
const BlockKind TREMOLO{128, 7, {0, 1, 3, 6}, false};
const BlockKind PITCH{130, 9, {0, 8}, true, {{5, 48}}};
const BlockKind DRIVE{133, 10, {0, 6, 9}, true};
const BlockKind GATE{139, 6, {0, 5}, false};

// Raw values of one state: list parameters get small entry numbers, the
// others a spread of positions over their range; `seed` varies the pattern.
std::vector<uint16_t> Values(const BlockKind& k, bool gen2, int seed, bool bypassed) {
  std::vector<uint16_t> v;
  const double full = gen2 ? 65534 : 255;
  for (int p = 0; p < k.parameters; ++p) {
    if (p == k.parameters - 1) {
      v.push_back(bypassed ? 1 : 0);
    } else if (k.lists.count(p)) {
      v.push_back(static_cast<uint16_t>((p + seed) % 3));
    } else if (auto n = k.steps.find(p); n != k.steps.end()) {
      v.push_back(static_cast<uint16_t>((p + seed) % (n->second + 1)));
    } else {
      double f = ((p * 7 + seed * 3) % 11) / 10.0;
      v.push_back(static_cast<uint16_t>(f * full + 0.5));
    }
  }
  return v;
}

// A block record: X values, and for Y-capable second-generation blocks the Y values after them.
BuiltBlock Block(const BlockKind& k, bool gen2, int seed, bool yActive = false, bool bypassed = false) {
  BuiltBlock b;
  b.effectId = k.id;
  b.yActive = gen2 && yActive;
  b.values = Values(k, gen2, seed, bypassed);
  if (gen2 && k.y) {
    auto y = Values(k, gen2, seed + 5, bypassed);
    b.values.insert(b.values.end(), y.begin(), y.end());
  }
  return b;
}

// Lays the blocks out in row 1, linked one after the other.
void Row(PresetBuilder& b, std::initializer_list<const BlockKind*> kinds) {
  int column = 1;
  for (const BlockKind* k : kinds) {
    b.Cell(1, column, k->id, column == 1 ? 0 : 1);
    ++column;
  }
}

bool Write(const std::string& dir, const std::string& name, const PresetBuilder& b) {
  auto bytes = b.Bytes();
  std::ofstream out(dir + "/" + name, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) {
    std::fprintf(stderr, "make_examples: cannot write %s/%s\n", dir.c_str(), name.c_str());
    return false;
  }
  std::printf("%s/%s (%zu bytes)\n", dir.c_str(), name.c_str(), bytes.size());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_examples OUTPUT_DIR\n");
    return 2;
  }
  const std::string dir = argv[1];
  bool ok = true;

  // Second generation: the amp in its Y state, a bypassed chorus, modifiers
  // on the amp's drive and the delay's time (parameter ids).
  PresetBuilder clean(3);
  clean.Number(7).Name("Clean Chorus");
  Row(clean, {&COMPRESSOR, &AMP1, &CAB1, &CHORUS, &DELAY, &REVERB});
  clean.Cell(2, 4, 0, 0);
  clean.Modifier({1, 106, 1, 0}).Modifier({2, 112, 1, 0}).Modifier({3, 106, 1, 0});
  clean.Block(Block(REVERB, true, 1)).Block(Block(COMPRESSOR, true, 2)).Block(Block(AMP1, true, 3, true));
  clean.Block(Block(CAB1, true, 4)).Block(Block(CHORUS, true, 5, false, true)).Block(Block(DELAY, true, 6));
  ok &= Write(dir, "gen2_clean_chorus.syx", clean);

  // Second generation without a number: drive and pitch in Y, a parallel
  // row for the volume, a modifier on a parameter the pitch does not store.
  PresetBuilder lead(3);
  lead.Number(99).NoNumber().Name("Lead + Pitch");
  Row(lead, {&GATE, &DRIVE, &AMP2, &CAB2, &PITCH});
  lead.Cell(2, 5, VOLUME.id, 1);
  lead.Modifier({4, 133, 2, 0}).Modifier({5, 130, 40, 0});
  lead.Block(Block(PITCH, true, 7, true)).Block(Block(AMP2, true, 8)).Block(Block(DRIVE, true, 9, true));
  lead.Block(Block(CAB2, true, 10)).Block(Block(GATE, true, 11)).Block(Block(VOLUME, true, 12));
  ok &= Write(dir, "gen2_lead_pitch.syx", lead);

  // First generation: modifiers name modifier ids (parameter n has n + 1).
  PresetBuilder crunch(1);
  crunch.Number(58).Name("Brit Crunch");
  Row(crunch, {&COMPRESSOR, &AMP1, &CAB1, &DELAY, &REVERB});
  crunch.Modifier({1, 106, 2, 0}).Modifier({2, 112, 4, 0});
  crunch.Block(Block(COMPRESSOR, false, 1)).Block(Block(AMP1, false, 2)).Block(Block(CAB1, false, 3));
  crunch.Block(Block(DELAY, false, 4)).Block(Block(REVERB, false, 5));
  ok &= Write(dir, "gen1_brit_crunch.syx", crunch);

  // First generation written with model byte 0, a bypassed tremolo.
  PresetBuilder wah(1);
  wah.Model(0).Number(12).Name("Wah Trem");
  Row(wah, {&WAH, &DRIVE, &AMP2, &CAB2, &TREMOLO, &VOLUME});
  wah.Block(Block(WAH, false, 6)).Block(Block(DRIVE, false, 7)).Block(Block(AMP2, false, 8));
  wah.Block(Block(CAB2, false, 9)).Block(Block(TREMOLO, false, 10, false, true)).Block(Block(VOLUME, false, 11));
  ok &= Write(dir, "gen1_wah_trem.syx", wah);

  return ok ? 0 : 1;
}
