#pragma once
// The desktop program's command line: "/ADMIN" (or --admin) shows "Refresh",
// "/DrawDebug" (or --draw-debug) sends canvas errors to the debug output,
// --workdir DIR chooses the working directory, and any other argument is a
// preset file to import once the main window is open (a file manager opens
// presets this way).
#include <string>
#include <vector>

namespace tx {

struct AppOptions {
  bool admin = false;
  bool drawDebug = false;
  bool help = false;
  bool version = false;
  std::string workdir;               // empty: the user's data directory
  std::vector<std::string> presets;  // as given
  std::string error;                 // a usage error, empty when none
};

AppOptions ParseAppOptions(const std::vector<std::string>& args);

inline constexpr const char* APP_USAGE =
    "Usage: tonalyx [--workdir DIR] [/ADMIN | --admin] [/DrawDebug | --draw-debug] [PRESET.syx...]\n"
    "       tonalyx --help | --version\n";

}  // namespace tx
