#include "outputs/book_pages.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "base/file_io.h"
#include "devicedefs/tables.h"
#include "outputs/block_image.h"
#include "outputs/preset_report_layout.h"
#include "preset/parse_preset.h"

namespace tx {

namespace {

bool WritePlainFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string& why) {
  if (bytes.empty()) {
    why = "the picture could not be encoded";
    return false;
  }
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  const bool ok = fd >= 0 && WriteAll(fd, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  if (!ok) why = std::strerror(errno);
  if (fd >= 0 && ::close(fd) != 0 && ok) {
    why = std::strerror(errno);
    return false;
  }
  return ok;
}

}  // namespace

std::string BookTitle(const PresetState& state, const std::string& file) {
  std::string name = state.PRESETNAME.str();
  // A name may hold any byte; an outline title shows no control characters.
  for (char& c : name)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  while (!name.empty() && name.back() == ' ') name.pop_back();
  while (!name.empty() && name.front() == ' ') name.erase(name.begin());
  if (name.empty()) name = std::filesystem::path(file).stem().string();
  if (state.PRESETNUMBER == 0) return name;
  char number[16];
  std::snprintf(number, sizeof number, "%03d", static_cast<int>(state.PRESETNUMBER));
  return std::string(number) + " " + name;
}

PresetPagesRenderer::PresetPagesRenderer(TableSet& tables, std::string imageDirectory)
    : t_(tables), filler_(AccessPresetTables(tables)), imageDirectory_(std::move(imageDirectory)) {
  canvas_.Init(BLOCK_IMAGE_MIN_WIDTH, BLOCK_IMAGE_MIN_HEIGHT);
}

PresetPages PresetPagesRenderer::Render(const std::string& file, size_t index) {
  PresetPages out;
  out.file = file;
  std::string content, reason;
  if (!ReadFileStart(file, PRESET_BUFFER_SIZE, content, &reason)) {
    out.skipReason = "cannot read: " + reason;
    return out;
  }
  const PresetBuffer buffer = FitPresetBuffer(content);
  if (std::string_view why = PresetRejection(buffer); !why.empty()) {
    out.skipReason = std::string(why);
    return out;
  }
  CurrentPreset preset;
  ParsePreset(buffer, preset);
  out.title = BookTitle(preset.state, file);

  // Each preset reads as it does alone, whatever the one before it left.
  filler_.ResetVariantParameterValue();
  filler_.FillPresetTable(preset);
  if (t_.DBEffects.ReadError() != 0 || t_.DBSelection.ReadError() != 0) {
    out.fatal = true;
    out.skipReason = "the definition tables could not be read";
    return out;
  }
  if (t_.MXPreset.Records() <= 0) {
    out.skipReason = "no parameter of its blocks is in the definition tables";
    return out;
  }

  char name[32];
  std::snprintf(name, sizeof name, "block%05zu.png", index + 1);
  std::string image = (std::filesystem::path(imageDirectory_) / name).string();
  TableEffectRows effects(t_.DBEffects, t_.effect);
  DrawBlockGrid(canvas_, preset, effects);
  // Without its picture the preset still has its pages; no other preset's
  // picture can stand in, since every preset has a file name of its own.
  // The file is the book's own, for the writer to read once: written
  // plainly, not replaced with the care a user's file gets.
  std::string why;
  if (!WritePlainFile(image, canvas_.EncodedPNG(), why)) {
    out.warning = "its block image could not be written (" + why + "); its pages show none";
    image.clear();
  }

  out.engine = std::make_unique<ReportEngine>();
  ReportEngine& engine = *out.engine;
  // The book's writer places pictures from their files.
  engine.SetPictureStandIns(true);
  if (engine.Open(PresetReportLayout()) != Level::Done) {
    out.fatal = true;
    out.skipReason = "no place for the report's page files";
    return out;
  }
  engine.RenderToPageFiles(&out.pages);
  SetPresetValues(engine, preset.state);
  int result = PrintBlockImageBand(engine, image);
  t_.MXPreset.SetOrder(-1);
  while (result == Level::Done && t_.MXPreset.Next() == Level::Done) result = PrintParameterLine(engine, t_.preset);
  if (result == Level::Done) result = engine.EndReport();
  if (result != Level::Done) {
    out.fatal = true;
    out.skipReason = "the report's page files could not be written";
  }
  return out;
}

}  // namespace tx
