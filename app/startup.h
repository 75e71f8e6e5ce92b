#pragma once
// Start-up and shutdown of the desktop program, in this order: the error
// manager, the settings manager on ".\Corvane.INI", the table access objects,
// the application icon, the session-end answer; then the main window runs
// until it closes, and the settings manager is shut down.
#include <string>
#include <vector>

#include "platform/toolkit/toolkit.h"
#include "services/settings.h"

namespace tx {

inline constexpr const char* SETTINGS_FILE = ".\\Corvane.INI";

// Runs the program on `toolkit` in the current working directory; the files
// are imported once the main window has opened. Returns the exit status.
int RunTonalyx(WindowToolkit& toolkit, const std::vector<std::string>& startFiles = {});

}  // namespace tx
