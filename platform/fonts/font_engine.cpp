#include "platform/fonts/font_engine.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <cmath>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <tuple>

#include "platform/fonts/font_program.h"

namespace tx {

namespace {

// 0x80..0x9F of Windows-1252; the rest of the code page is Latin-1.
constexpr uint16_t kHigh[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

int Scale(long value, int unitsPerEm) {
  return static_cast<int>(std::lround(static_cast<double>(value) * 1000.0 / unitsPerEm));
}

}  // namespace

uint32_t FontEngine::Cp1252ToUnicode(uint8_t code) {
  if (code >= 0x80 && code < 0xA0) return kHigh[code - 0x80];
  return code;
}

struct FontEngine::Impl {
  FT_Library library = nullptr;
  FcConfig* config = nullptr;  // our own, so it can be released with the engine
  bool fcReady = false;
  std::map<std::tuple<std::string, int, bool>, std::optional<FontMetrics>> cache;
  std::mutex lock;  // the cache, FreeType and fontconfig, for one caller at a time

  ~Impl() {
    if (library) FT_Done_FreeType(library);
    if (config) FcConfigDestroy(config);
  }

  // The file and face index fontconfig picks for the request.
  bool Find(const FontRequest& r, std::string& file, int& index) {
    if (!fcReady) return false;
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(r.face.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(r.weight));
    FcPatternAddInteger(pattern, FC_SLANT, r.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    // Only scalable outlines: the writer needs real advances, not a bitmap strike.
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return false;
    FcChar8* path = nullptr;
    bool ok = FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path;
    if (ok) {
      file = reinterpret_cast<const char*>(path);
      if (FcPatternGetInteger(match, FC_INDEX, 0, &index) != FcResultMatch) index = 0;
    }
    FcPatternDestroy(match);
    return ok;
  }
};

FontEngine::FontEngine() : impl_(std::make_unique<Impl>()) {
  impl_->config = FcInitLoadConfigAndFonts();
  impl_->fcReady = impl_->config != nullptr;
  if (FT_Init_FreeType(&impl_->library) != 0) impl_->library = nullptr;
}

FontEngine::~FontEngine() = default;

std::optional<FontMetrics> FontEngine::Metrics(const FontRequest& request) {
  std::lock_guard<std::mutex> guard(impl_->lock);
  return MetricsLocked(request);
}

const std::optional<FontMetrics>& FontEngine::MetricsLocked(const FontRequest& request) {
  auto key = std::make_tuple(request.face, request.weight, request.italic);
  auto cached = impl_->cache.find(key);
  if (cached != impl_->cache.end()) return cached->second;

  std::optional<FontMetrics> out;
  std::string file;
  int index = 0;
  FT_Face face = nullptr;
  if (!impl_->library) {
    lastError_ = "font library not available";
  } else if (!impl_->Find(request, file, index)) {
    lastError_ = "no font found for " + request.face;
  } else if (FT_New_Face(impl_->library, file.c_str(), index, &face) != 0) {
    lastError_ = "cannot open " + file;
    face = nullptr;
  } else if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0) {
    lastError_ = "not an outline font: " + file;
  } else {
    FontMetrics m;
    const int upem = face->units_per_EM;
    m.familyName = face->family_name ? face->family_name : request.face;
    m.fileName = file;
    m.faceIndex = index;
    m.bboxLeft = Scale(face->bbox.xMin, upem);
    m.bboxBottom = Scale(face->bbox.yMin, upem);
    m.bboxRight = Scale(face->bbox.xMax, upem);
    m.bboxTop = Scale(face->bbox.yMax, upem);
    m.ascent = Scale(face->ascender, upem);
    m.descent = -Scale(face->descender, upem);
    m.internalLeading = m.ascent + m.descent - 1000;
    m.externalLeading = std::max(0, Scale(face->height, upem) - m.ascent - m.descent);
    m.maxWidth = Scale(face->max_advance_width, upem);
    m.fixedPitch = FT_IS_FIXED_WIDTH(face);
    if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2)); os2 && os2->version != 0xFFFF) {
      m.weight = os2->usWeightClass;
      m.avgWidth = Scale(os2->xAvgCharWidth, upem);
    }
    if (auto* post = static_cast<TT_Postscript*>(FT_Get_Sfnt_Table(face, FT_SFNT_POST))) {
      m.italicAngle = static_cast<double>(post->italicAngle) / 65536.0;
    }
    FT_Select_Charmap(face, FT_ENCODING_UNICODE);
    int first = 0, last = 0;
    for (int code = 1; code < 256; ++code) {
      uint32_t cp = Cp1252ToUnicode(static_cast<uint8_t>(code));
      if (cp == 0) continue;
      FT_UInt glyph = FT_Get_Char_Index(face, cp);
      if (glyph == 0) continue;
      if (FT_Load_Glyph(face, glyph, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING) != 0) continue;
      m.widths[code] = Scale(face->glyph->advance.x, upem);
      m.glyphs[code] = static_cast<uint16_t>(glyph);
      if (first == 0) first = code;
      last = code;
    }
    m.firstChar = static_cast<uint8_t>(first);
    m.lastChar = static_cast<uint8_t>(last);
    if (m.avgWidth == 0 && m.widths[' '] > 0) m.avgWidth = m.widths[' '];
    out = std::move(m);
  }
  if (face) FT_Done_Face(face);
  return impl_->cache.emplace(key, std::move(out)).first->second;
}

long FontEngine::TextWidth(const FontRequest& request, std::string_view text) {
  std::lock_guard<std::mutex> guard(impl_->lock);
  const std::optional<FontMetrics>& m = MetricsLocked(request);
  if (!m) return 0;
  long sum = 0;
  for (unsigned char c : text) sum += m->widths[c];
  return sum;
}

std::optional<FontProgram> FontEngine::Program(const FontRequest& request, const std::array<bool, 256>& codes) {
  std::lock_guard<std::mutex> guard(impl_->lock);
  const std::optional<FontMetrics>& m = MetricsLocked(request);
  if (!m) return std::nullopt;
  std::ifstream in(m->fileName, std::ios::binary);
  const std::string file((std::istreambuf_iterator<char>(in)), {});
  if (!in.is_open() || file.empty()) {
    lastError_ = "cannot read " + m->fileName;
    return std::nullopt;
  }
  std::vector<uint16_t> glyphs;
  for (size_t code = 0; code < codes.size(); ++code)
    if (codes[code] && m->glyphs[code] != 0) glyphs.push_back(m->glyphs[code]);
  std::string why;
  FontProgram program;
  if (auto subset = TrueTypeProgram(file, m->faceIndex, glyphs, why)) {
    program.data = std::move(*subset);
    program.subset = true;
    return program;
  }
  // A face whose outlines cannot be followed goes whole.
  if (auto whole = TrueTypeProgram(file, m->faceIndex, std::nullopt, why)) {
    program.data = std::move(*whole);
    return program;
  }
  lastError_ = m->fileName + ": " + why;
  return std::nullopt;
}

FontEngine& SharedFontEngine() {
  static FontEngine engine;
  return engine;
}

}  // namespace tx
