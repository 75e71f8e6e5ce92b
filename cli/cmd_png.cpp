// png: a preset file's block layout image, drawn the way the main window
// draws it after an import: "tmp01.png" in the working directory, and a copy
// under the name given (the "Save Image..." path).
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "devicedefs/tables.h"
#include "draw/canvas.h"
#include "outputs/block_image.h"
#include "preset/parse_preset.h"
#include "services/file_manager.h"

namespace {

// The canvas of the command line: a block picture that cannot be drawn is
// one warning line per file (the image is still written, with the cell left
// black); the rest goes to the debug stream as ever, with --draw-debug.
class WarningCanvas : public tx::Canvas {
 public:
  void ReportError(const std::string& message, const std::string& operation) override {
    if ((operation == "Image" || operation == "Image()") && warned_.insert(message).second)
      std::fprintf(stderr, "tonalyx-cli: warning: %s\n", message.c_str());
    tx::Canvas::ReportError(message, operation);
  }

 private:
  std::set<std::string> warned_;
};

int Run(const std::vector<std::string>& args) {
  bool debug = false;
  std::vector<std::string> paths;
  for (const std::string& a : args) {
    if (a == "--draw-debug" || a == "/DrawDebug") {
      debug = true;
    } else if (!a.empty() && a[0] == '-' && a != "-") {
      return txcli::UsageError("png: unknown option '" + a + "'");
    } else {
      paths.push_back(a);
    }
  }
  if (paths.size() != 2) return txcli::UsageError("png needs a preset file and an output file");
  const std::string& presetPath = paths[0];
  const std::string& outPath = paths[1];

  tx::CurrentPreset& preset = tx::Current();
  if (const int read = txcli::ReadPresetFile(presetPath, preset); read != txcli::EXIT_OK) return read;

  tx::TableSet& t = tx::Tables();
  if (!txcli::OpenForReading({&t.DBEffects})) return txcli::EXIT_FAILED;
  txcli::WarnIfNoDefinitions(t, preset.state.deviceType);
  // Without a window the canvas is just big enough for the grid.
  WarningCanvas canvas;
  canvas.Init(tx::BLOCK_IMAGE_MIN_WIDTH, tx::BLOCK_IMAGE_MIN_HEIGHT);
  canvas.SetDebug(debug);
  canvas.SetDebugStream(stderr);
  tx::TableEffectRows effects(t.DBEffects, t.effect);
  // "tmp01.png" is the window's working copy: the image the user asked for
  // does not depend on it.
  if (!tx::DrawBlockImage(canvas, preset, effects))
    std::fprintf(stderr, "tonalyx-cli: warning: cannot write '%s': %s\n", tx::BLOCK_IMAGE_FILE,
                 canvas.WriteError().c_str());
  const bool failed = txcli::ReadsFailed({&t.DBEffects});
  t.DBEffects.Close();
  if (failed) return txcli::EXIT_FAILED;
  if (!tx::SaveBlockImage(canvas, outPath)) {
    std::fprintf(stderr, "tonalyx-cli: cannot write '%s': %s\n", outPath.c_str(), canvas.WriteError().c_str());
    return txcli::EXIT_FAILED;
  }
  return txcli::EXIT_OK;
}

txcli::Registration reg({"png", "[--draw-debug] PRESET.syx OUT.png",
                         "draw a preset's block layout image into tmp01.png and OUT.png", Run});

}  // namespace
