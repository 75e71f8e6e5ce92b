#pragma once
// Puts a console toolkit in place for the command that runs, so that message
// boxes (rejections, table errors) land on stderr; the previous toolkit comes
// back when the command ends. A fatal message ends the program with the
// command line's "failed" status rather than the level that asked for it.
#include <iostream>

#include "cli/commands.h"
#include "platform/toolkit/console_toolkit.h"

namespace txcli {

class ConsoleScope {
 public:
  explicit ConsoleScope(bool verbose = false) : console_(&std::cerr), previous_(tx::SetToolkit(&console_)) {
    console_.SetHaltStatus(EXIT_FAILED);
    console_.SetVerbose(verbose);
    SetConsole(&console_);
  }
  ~ConsoleScope() {
    SetConsole(nullptr);
    tx::SetToolkit(previous_);
  }
  ConsoleScope(const ConsoleScope&) = delete;
  ConsoleScope& operator=(const ConsoleScope&) = delete;
  tx::ConsoleToolkit& console() { return console_; }

 private:
  tx::ConsoleToolkit console_;
  tx::WindowToolkit* previous_;
};

}  // namespace txcli
