// tonalyx: the desktop program, on the Qt toolkit.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/app_options.h"
#include "app/startup.h"
#include "app/working_dir.h"
#include "platform/qt/print_server.h"
#include "platform/qt/qt_toolkit.h"
#include "tonalyx_version.h"

namespace {

// Preset files named on the command line are taken from where the program
// was started, before it moves to its working directory.
std::vector<std::string> AbsolutePaths(const std::vector<std::string>& files) {
  std::vector<std::string> out;
  for (const std::string& f : files) {
    std::error_code ec;
    std::filesystem::path p = std::filesystem::absolute(f, ec);
    out.push_back(ec ? f : p.string());
  }
  return out;
}

int Fail(tx::WindowToolkit& toolkit, const std::string& text) {
  std::fprintf(stderr, "tonalyx: %s\n", text.c_str());
  tx::MessageRequest m;
  m.caption = "Tonalyx";
  m.text = text;
  m.icon = tx::MessageIcon::Exclamation;
  toolkit.MessageBox(m);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  // tonalyx-cli prints through this program, which has Qt (it has none).
  if (!args.empty() && args[0] == tx::PRINT_SERVICE_FLAG) return tx::ServePrintJob({args.begin() + 1, args.end()});
  const tx::AppOptions options = tx::ParseAppOptions(args);
  if (!options.error.empty()) {
    std::fprintf(stderr, "tonalyx: %s\n%s", options.error.c_str(), tx::APP_USAGE);
    return 2;
  }
  if (options.help) {
    std::printf("%s\nShows Axe-FX and Axe-FX II presets: their block layout, a printable report and an\n"
                "XML export. The working directory (tables, settings) is $XDG_DATA_HOME/tonalyx\n"
                "unless --workdir names another.\n",
                tx::APP_USAGE);
    return 0;
  }
  if (options.version) {
    std::printf("Tonalyx %s\n", TONALYX_VERSION);
    return 0;
  }
  const std::vector<std::string> presets = AbsolutePaths(options.presets);

  tx::QtToolkit toolkit;
  tx::SetToolkit(&toolkit);
  toolkit.SetCommandLine(args);
  if (!options.workdir.empty()) {
    if (std::string error = tx::EnterWorkDir(options.workdir); !error.empty()) return Fail(toolkit, error);
  } else {
    const tx::WorkDirSetup setup = tx::PrepareUserWorkDir(tx::DefaultWorkDir(), tx::ShippedDataDir());
    if (!setup.error.empty()) return Fail(toolkit, setup.error);
  }
  // The report preview's toolbar pictures, from the program's own artwork.
  toolkit.SetStockPicture("~PRINT.ICO", tx::UiPicture("print.png"));
  toolkit.SetStockPicture("~EXIT.ICO", tx::UiPicture("close.png"));
  toolkit.SetStockPicture("~ZOOM.ICO", tx::UiPicture("zoom.png"));
  // The PDF writer's picture as an output target ("Exporting to PDF").
  toolkit.SetStockPicture("~EXP_PDF.ICO", tx::UiPicture("pdf.png"));
  const int status = tx::RunTonalyx(toolkit, presets);
  tx::SetToolkit(nullptr);
  return status;
}
