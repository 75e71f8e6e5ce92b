// assetgen: draws the block pictures of the block layout image as 24-bit BMP
// files: one per effect type, a dimmed "_bypass" variant of each, the empty
// grid slot ("block_block.bmp") and the shunt ("block_shunt.bmp"). With --ui
// it draws the program's other artwork instead (icons, window background).
//
//   assetgen OUTDIR [--scan DEFINITIONS.axeml]... [TYPE]...
//   assetgen --ui OUTDIR
//
// Types named in the definition files or on the command line that the table
// below does not know get a label made from their name.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "raster.h"

namespace {

using namespace assetgen;

// Sized for the grid: 65 x 57 pitch, a 21-pixel gap for the links, and the
// link rows (17 and 18 from the top of a picture) in the middle of it.
constexpr int kWidth = 44;
constexpr int kHeight = 36;
constexpr int kLinkRow = 17;
constexpr float kLinkGrey = 192.0f / 255.0f;

// Body of a block: inside the connector stubs and a one-pixel black margin,
// so the first grid row and column lose nothing when their edge is cut.
constexpr float kBodyLeft = 2, kBodyTop = 1, kBodyRight = 42, kBodyBottom = 35, kRadius = 5;

enum Family { DRIVES, AMPS_CABS, MODULATION, DELAY_REVERB, FILTERS_EQ, UTILITIES, UNDEFINED };

Colour FamilyColour(Family f) {
  switch (f) {
    case DRIVES: return Hex(0xE0850B);
    case AMPS_CABS: return Hex(0xC0392B);
    case MODULATION: return Hex(0x8E44AD);
    case DELAY_REVERB: return Hex(0x2E86C1);
    case FILTERS_EQ: return Hex(0x239B56);
    case UTILITIES: return Hex(0x5D7482);
    case UNDEFINED: return Hex(0x6E6E6E);
  }
  return Grey(0.5f);
}

struct BlockType {
  const char* name;   // type name in lower case, as in the file name
  const char* label;  // lines separated by '\n'
  Family family;
};

const BlockType kTypes[] = {
    {"amp", "AMP", AMPS_CABS},
    {"cab", "CAB", AMPS_CABS},
    {"tonematch", "TONE\nMATCH", AMPS_CABS},
    {"drive", "DRIVE", DRIVES},
    {"enhancer", "ENHANCE", UTILITIES},
    {"chorus", "CHORUS", MODULATION},
    {"quadchorus", "QUAD\nCHORUS", MODULATION},
    {"flanger", "FLANGER", MODULATION},
    {"phaser", "PHASER", MODULATION},
    {"tremolo", "TREM\nPAN", MODULATION},
    {"rotary", "ROTARY", MODULATION},
    {"pitch", "PITCH", MODULATION},
    {"ringmod", "RING\nMOD", MODULATION},
    {"synth", "SYNTH", MODULATION},
    {"vocoder", "VOCODER", MODULATION},
    {"delay", "DELAY", DELAY_REVERB},
    {"multidelay", "MULTI\nDELAY", DELAY_REVERB},
    {"megatap", "MEGA\nTAP", DELAY_REVERB},
    {"plex", "PLEX\nDELAY", DELAY_REVERB},
    {"reverb", "REVERB", DELAY_REVERB},
    {"filter", "FILTER", FILTERS_EQ},
    {"graphiceq", "GRAPH\nEQ", FILTERS_EQ},
    {"parametriceq", "PARA\nEQ", FILTERS_EQ},
    {"wah", "WAH", FILTERS_EQ},
    {"formant", "FORMANT", FILTERS_EQ},
    {"resonator", "RESO-\nNATOR", FILTERS_EQ},
    {"crossover", "X-OVER", FILTERS_EQ},
    {"compressor", "COMP", UTILITIES},
    {"multicomp", "MULTI\nCOMP", UTILITIES},
    {"gate", "GATE", UTILITIES},
    {"volume", "VOL\nPAN", UTILITIES},
    {"mixer", "MIXER", UTILITIES},
    {"looper", "LOOPER", UTILITIES},
    {"loop", "LOOPER", UTILITIES},
    {"fxloop", "FX\nLOOP", UTILITIES},
    {"input", "INPUT", UTILITIES},
    {"output", "OUTPUT", UTILITIES},
};

// Share of pixel (x, y) inside a rounded rectangle, by 4 x 4 supersampling.
float RoundRectCoverage(int x, int y, float left, float top, float right, float bottom, float radius) {
  int inside = 0;
  for (int sy = 0; sy < 4; ++sy)
    for (int sx = 0; sx < 4; ++sx) {
      const float px = x + (sx + 0.5f) / 4, py = y + (sy + 0.5f) / 4;
      if (px < left || px > right || py < top || py > bottom) continue;
      const float cx = std::clamp(px, left + radius, right - radius);
      const float cy = std::clamp(py, top + radius, bottom - radius);
      if ((px - cx) * (px - cx) + (py - cy) * (py - cy) <= radius * radius) ++inside;
    }
  return inside / 16.0f;
}

void LinkStubs(Picture& p) {
  for (int y = kLinkRow; y <= kLinkRow + 1; ++y)
    for (int x : {0, 1, kWidth - 2, kWidth - 1}) p.at(x, y) = Grey(kLinkGrey);
}

std::vector<std::string> Lines(const std::string& label) {
  std::vector<std::string> lines;
  std::stringstream in(label);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Centres the label in the body at the largest size that fits.
void Label(Picture& p, Font& font, const std::string& label, Colour colour, bool shadow) {
  const std::vector<std::string> lines = Lines(label);
  const int maxWidth = static_cast<int>(kBodyRight - kBodyLeft) - 3;
  const int maxHeight = static_cast<int>(kBodyBottom - kBodyTop) - 8;
  int size = lines.size() > 1 ? 12 : 14;
  int cap = 0, gap = 0;
  for (; size > 6; --size) {
    font.SetSize(size);
    cap = font.CapHeight();
    gap = std::max(3, size / 3);
    int widest = 0;
    for (const auto& line : lines) widest = std::max(widest, font.Advance(line));
    const int height = static_cast<int>(lines.size()) * cap + static_cast<int>(lines.size() - 1) * gap;
    if (widest <= maxWidth && height <= maxHeight) break;
  }
  const int total = static_cast<int>(lines.size()) * cap + static_cast<int>(lines.size() - 1) * gap;
  const float middle = (kBodyTop + kBodyBottom) / 2.0f;
  int baseline = static_cast<int>(std::lround(middle - total / 2.0f)) + cap;
  for (const auto& line : lines) {
    const int x = static_cast<int>(std::lround((kBodyLeft + kBodyRight) / 2.0f - font.Advance(line) / 2.0f));
    if (shadow) font.Draw(p, line, x + 1, baseline + 1, Grey(0), 0.45f);
    font.Draw(p, line, x, baseline, colour, 1.0f);
    baseline += cap + gap;
  }
}

// An effect block: a rounded body in the family colour, lit from above,
// with a light rim and the label in white.
Picture EffectBlock(Font& font, const std::string& label, Family family) {
  Picture p(kWidth, kHeight);
  const Colour base = FamilyColour(family);
  const Colour top = Mix(base, Grey(1), 0.22f), bottom = Mix(base, Grey(0), 0.30f);
  const Colour rim = Mix(base, Grey(1), 0.55f);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const float outer = RoundRectCoverage(x, y, kBodyLeft, kBodyTop, kBodyRight, kBodyBottom, kRadius);
      const float inner =
          RoundRectCoverage(x, y, kBodyLeft + 1, kBodyTop + 1, kBodyRight - 1, kBodyBottom - 1, kRadius - 1);
      const float t = (y - kBodyTop) / (kBodyBottom - kBodyTop);
      p.Blend(x, y, Mix(rim, Grey(0), 0.1f), outer);
      p.Blend(x, y, Mix(top, bottom, t), inner);
    }
  // A soft highlight along the top edge.
  for (int x = static_cast<int>(kBodyLeft) + 3; x < static_cast<int>(kBodyRight) - 3; ++x)
    p.Blend(x, static_cast<int>(kBodyTop) + 1, Grey(1), 0.25f);
  LinkStubs(p);
  Label(p, font, label, Grey(1), true);
  return p;
}

// The bypassed variant: the same block switched off. Dark, almost colourless
// body, a dashed rim that keeps a hint of the family, the label greyed out.
Picture BypassedBlock(Font& font, const std::string& label, Family family) {
  Picture p(kWidth, kHeight);
  const Colour base = FamilyColour(family);
  const Colour body = Mix(Grey(Luma(base)), Grey(0), 0.78f);
  const Colour rim = Mix(Mix(base, Grey(Luma(base)), 0.5f), Grey(0), 0.35f);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const float outer = RoundRectCoverage(x, y, kBodyLeft, kBodyTop, kBodyRight, kBodyBottom, kRadius);
      const float inner =
          RoundRectCoverage(x, y, kBodyLeft + 1, kBodyTop + 1, kBodyRight - 1, kBodyBottom - 1, kRadius - 1);
      const bool dash = ((x + y) / 3) % 2 == 0;
      p.Blend(x, y, dash ? rim : body, outer);
      p.Blend(x, y, body, inner);
    }
  LinkStubs(p);
  Label(p, font, label, Grey(0.47f), false);
  return p;
}

// An empty slot of the grid: a faint dotted outline.
Picture EmptySlot() {
  Picture p(kWidth, kHeight);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const float outer = RoundRectCoverage(x, y, kBodyLeft, kBodyTop, kBodyRight, kBodyBottom, kRadius);
      const float inner =
          RoundRectCoverage(x, y, kBodyLeft + 1, kBodyTop + 1, kBodyRight - 1, kBodyBottom - 1, kRadius - 1);
      const float ring = outer - inner;
      if (ring > 0 && (x + y) % 4 < 2) p.Blend(x, y, Grey(0.30f), ring);
    }
  return p;
}

// A shunt: the signal passes straight through the cell.
Picture Shunt() {
  Picture p(kWidth, kHeight);
  for (int x = 0; x < kWidth; ++x)
    for (int y = kLinkRow; y <= kLinkRow + 1; ++y) p.at(x, y) = Grey(kLinkGrey);
  return p;
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// A label for a type we have no entry for: its name in capitals, two words
// on two lines.
std::string LabelFromName(const std::string& name) {
  std::string label;
  for (char c : name) label += c == ' ' ? '\n' : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return label;
}

// Effect type names of a definition file: the Type of the effect pool
// instances, the Name of editor control groups of type "Effect", and the
// EffectType of profile parameters.
std::vector<std::string> ScanTypes(const std::string& path) {
  std::ifstream in(path);
  std::stringstream all;
  all << in.rdbuf();
  const std::string text = all.str();
  std::vector<std::string> types;
  const std::regex pool("<EffectPoolInstance\\b[^>]*\\bType=\"([^\"]+)\"");
  const std::regex group("<EditorControls\\b[^>]*\\bName=\"([^\"]+)\"[^>]*\\bType=\"Effect\"");
  const std::regex parameter("<Parameter\\b[^>]*\\bEffectType=\"([^\"]+)\"");
  for (const auto* re : {&pool, &group, &parameter})
    for (std::sregex_iterator it(text.begin(), text.end(), *re), end; it != end; ++it) types.push_back((*it)[1]);
  return types;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: assetgen OUTDIR [--scan FILE]... [TYPE]...\n       assetgen --ui OUTDIR\n");
    return 2;
  }
  if (std::string(argv[1]) == "--ui") {
    if (argc != 3 || !WriteUiArt(argv[2])) {
      std::fprintf(stderr, "assetgen: cannot write the artwork to %s\n", argc == 3 ? argv[2] : "?");
      return 1;
    }
    std::printf("artwork written to %s\n", argv[2]);
    return 0;
  }
  const std::string out = argv[1];
  std::map<std::string, std::pair<std::string, Family>> wanted;
  for (const BlockType& t : kTypes) wanted[t.name] = {t.label, t.family};
  std::vector<std::string> extra;
  for (int i = 2; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--scan" && i + 1 < argc) {
      for (auto& t : ScanTypes(argv[++i])) extra.push_back(t);
    } else {
      extra.push_back(a);
    }
  }
  for (const std::string& type : extra) {
    const std::string name = Lower(type);
    if (!wanted.count(name)) {
      std::printf("no entry for type \"%s\": labelled from its name\n", type.c_str());
      wanted[name] = {LabelFromName(type), UTILITIES};
    }
  }

  Font font("/usr/share/fonts/truetype/liberation/LiberationSansNarrow-Bold.ttf");
  if (!font.ok()) {
    std::fprintf(stderr, "assetgen: cannot load the Liberation Sans Narrow Bold font\n");
    return 1;
  }
  // "block_unknown.bmp" stands for an effect id the definitions do not know.
  bool ok = EmptySlot().WriteBmp(out + "/block_block.bmp") && Shunt().WriteBmp(out + "/block_shunt.bmp") &&
            EffectBlock(font, "?", UNDEFINED).WriteBmp(out + "/block_unknown.bmp");
  for (const auto& [name, entry] : wanted) {
    ok = ok && EffectBlock(font, entry.first, entry.second).WriteBmp(out + "/block_" + name + ".bmp");
    ok = ok && BypassedBlock(font, entry.first, entry.second).WriteBmp(out + "/block_" + name + "_bypass.bmp");
  }
  if (!ok) {
    std::fprintf(stderr, "assetgen: cannot write the pictures to %s\n", out.c_str());
    return 1;
  }
  std::printf("%zu block pictures written to %s\n", 3 + 2 * wanted.size(), out.c_str());
  return 0;
}
