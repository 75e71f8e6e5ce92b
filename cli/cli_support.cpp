// Helpers shared by the subcommands.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "cli/commands.h"
#include "draw/canvas.h"
#include "outputs/block_image.h"
#include "devicedefs/tables.h"
#include "platform/toolkit/console_toolkit.h"
#include "preset/fill_preset_table.h"
#include "preset/parse_preset.h"
#include "services/file_manager.h"

namespace txcli {

namespace {
std::string& InvocationDir() {
  static std::string dir;
  return dir;
}
tx::ConsoleToolkit* console = nullptr;
}  // namespace

void SetInvocationDir(const std::string& dir) { InvocationDir() = dir; }

std::string InputPath(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (path.empty() || fs::path(path).is_absolute() || fs::exists(path, ec) || InvocationDir().empty()) return path;
  fs::path there = fs::path(InvocationDir()) / path;
  return fs::exists(there, ec) ? there.string() : path;
}

tx::ConsoleToolkit& Console() { return *console; }
void SetConsole(tx::ConsoleToolkit* c) { console = c; }

namespace {
// Reads at most what the parser looks at: a device file or a huge file costs
// no more than a preset.
bool LoadPresetFile(const std::string& path, std::string& content) {
  content.clear();
  std::string reason;
  int fd = ::open(InputPath(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    reason = std::strerror(errno);
  } else {
    content.resize(tx::PRESET_BUFFER_SIZE);
    size_t have = 0;
    while (have < content.size()) {
      ssize_t n = ::read(fd, content.data() + have, content.size() - have);
      if (n < 0 && errno == EINTR) continue;
      // A directory opens but cannot be read (EISDIR).
      if (n < 0) reason = std::strerror(errno);
      if (n <= 0) break;
      have += static_cast<size_t>(n);
    }
    ::close(fd);
    content.resize(have);
    if (reason.empty() && content.empty()) reason = "the file is empty";
  }
  if (reason.empty()) return true;
  std::fprintf(stderr, "tonalyx-cli: cannot read '%s': %s\n", path.c_str(), reason.c_str());
  return false;
}
}  // namespace

int ReadPresetFile(const std::string& path, tx::CurrentPreset& preset) {
  std::string content;
  if (!LoadPresetFile(path, content)) return EXIT_UNREADABLE;
  return tx::ParsePreset(tx::FitPresetBuffer(content), preset) ? EXIT_OK : EXIT_FAILED;
}

bool OpenForReading(std::initializer_list<tx::FileManager*> tables) {
  for (tx::FileManager* table : tables) {
    table->OPENMODE = tx::OPEN_READ_ONLY;
    if (table->Open() != tx::Level::Done) return false;
  }
  return true;
}

void WarnIfNoDefinitions(tx::TableSet& t, uint8_t deviceType) {
  if (tx::DefinitionsHold(t, deviceType)) return;
  const char* device = deviceType == tx::DEVICE_GEN1 ? "Axe-FX" : deviceType == tx::DEVICE_GEN2 ? "Axe-FX II" : "";
  std::fprintf(stderr,
               "tonalyx-cli: warning: the definition tables hold nothing for the %s (device type %d), so no "
               "parameter can be shown; 'tonalyx-cli refresh' fills them from Masters/\n",
               device, deviceType);
}

bool ReadsFailed(std::initializer_list<tx::FileManager*> tables) {
  for (tx::FileManager* table : tables)
    if (table->ReadError() != 0) return true;
  return false;
}

// The block image of the preset in "tmp01.png", as the main window draws it
// after an import. False when the report cannot show this preset's image.
namespace {
bool DrawPresetImage(const tx::CurrentPreset& preset, tx::TableSet& t) {
  tx::Canvas canvas;
  canvas.Init(tx::BLOCK_IMAGE_MIN_WIDTH, tx::BLOCK_IMAGE_MIN_HEIGHT);
  tx::TableEffectRows effects(t.DBEffects, t.effect);
  if (tx::DrawBlockImage(canvas, preset, effects)) return true;
  std::error_code ec;
  // A picture left by another preset must not stand in for this one.
  if (std::filesystem::exists(tx::BLOCK_IMAGE_FILE, ec)) {
    std::fprintf(stderr, "tonalyx-cli: cannot write '%s'; the report would show another preset's block image\n",
                 tx::BLOCK_IMAGE_FILE);
    return false;
  }
  std::fprintf(stderr, "tonalyx-cli: warning: cannot write '%s'; the report shows no block image\n",
               tx::BLOCK_IMAGE_FILE);
  return true;
}
}  // namespace

int PrepareReport(const std::string& path, tx::CurrentPreset& preset) {
  if (const int read = ReadPresetFile(path, preset); read != EXIT_OK) return read;
  // As the main window does: the preset table lives in memory while open,
  // from the decoding to the report.
  tx::TableSet& t = tx::Tables();
  if (!OpenForReading({&t.DBEffects, &t.DBSelection}) || t.MXPreset.Open() != tx::Level::Done) return EXIT_FAILED;
  WarnIfNoDefinitions(t, preset.state.deviceType);
  tx::PresetTableFiller filler(tx::AccessPresetTables(t));
  filler.FillPresetTable(preset);
  const bool imageReady = DrawPresetImage(preset, t);
  const bool readFailed = ReadsFailed({&t.DBEffects, &t.DBSelection});
  t.DBSelection.Close();
  t.DBEffects.Close();
  if (!imageReady || readFailed) {
    t.MXPreset.Close();
    return EXIT_FAILED;
  }
  return EXIT_OK;
}

}  // namespace txcli
