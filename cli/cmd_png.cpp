// png: a preset file's block layout image, drawn the way the main window
// draws it after an import: "tmp01.png" in the working directory, and a copy
// under the name given (the "Save Image..." path).
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/console_scope.h"
#include "devicedefs/tables.h"
#include "draw/canvas.h"
#include "outputs/block_image.h"
#include "preset/parse_preset.h"
#include "services/file_manager.h"

namespace {

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

  txcli::ConsoleScope console;
  tx::CurrentPreset& preset = tx::Current();
  if (const int read = txcli::ReadPresetFile(presetPath, preset); read != txcli::EXIT_OK) return read;

  tx::TableSet& t = tx::Tables();
  if (t.DBEffects.Open() != tx::Level::Done) return txcli::EXIT_FAILED;
  // Without a window the canvas is just big enough for the grid.
  tx::Canvas canvas;
  canvas.Init(tx::BLOCK_IMAGE_MIN_WIDTH, tx::BLOCK_IMAGE_MIN_HEIGHT);
  canvas.SetDebug(debug);
  canvas.SetDebugStream(stderr);
  tx::TableEffectRows effects(t.DBEffects, t.effect);
  const bool drawn = tx::DrawBlockImage(canvas, preset, effects);
  t.DBEffects.Close();
  if (!drawn) {
    std::fprintf(stderr, "tonalyx-cli: cannot write '%s'\n", tx::BLOCK_IMAGE_FILE);
    return txcli::EXIT_FAILED;
  }
  if (!tx::SaveBlockImage(canvas, outPath)) {
    std::fprintf(stderr, "tonalyx-cli: cannot write '%s'\n", outPath.c_str());
    return txcli::EXIT_FAILED;
  }
  return txcli::EXIT_OK;
}

txcli::Registration reg({"png", "[--draw-debug] PRESET.syx OUT.png",
                         "draw a preset's block layout image into tmp01.png and OUT.png", Run});

}  // namespace
