#pragma once
// Puts a console toolkit in place for one command, so that message boxes
// (rejections, table errors) land on stderr; the previous toolkit comes back
// when the command ends.
#include <iostream>

#include "platform/toolkit/console_toolkit.h"

namespace txcli {

class ConsoleScope {
 public:
  ConsoleScope() : console_(&std::cerr), previous_(tx::SetToolkit(&console_)) {}
  ~ConsoleScope() { tx::SetToolkit(previous_); }
  ConsoleScope(const ConsoleScope&) = delete;
  ConsoleScope& operator=(const ConsoleScope&) = delete;
  tx::ConsoleToolkit& console() { return console_; }

 private:
  tx::ConsoleToolkit console_;
  tx::WindowToolkit* previous_;
};

}  // namespace txcli
