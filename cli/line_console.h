#pragma once
// The console of the commands that write a document: a message box is one
// line on stderr ("tonalyx-cli: CAPTION: TEXT"), and a fatal message does not
// end the program: the run fails and cleans up after itself.
#include <algorithm>
#include <cstdio>
#include <string>

#include "platform/toolkit/console_toolkit.h"

namespace txcli {

class LineConsole : public tx::ConsoleToolkit {
 public:
  LineConsole() : tx::ConsoleToolkit(nullptr) { SetHaltExits(false); }
  unsigned MessageBox(const tx::MessageRequest& request) override {
    std::string text = request.text.substr(0, request.text.size() - std::min(request.promptLength, request.text.size()));
    for (char& c : text)
      if (c == '|' || c == '\n') c = ' ';
    const unsigned answer = tx::ConsoleToolkit::MessageBox(request);
    std::fprintf(stderr, "tonalyx-cli: %s: %s\n", request.caption.c_str(), text.c_str());
    ++shown;
    return answer;
  }
  int shown = 0;
};

// Puts a toolkit in place for a scope.
class ToolkitScope {
 public:
  explicit ToolkitScope(tx::WindowToolkit& toolkit) : previous_(tx::SetToolkit(&toolkit)) {}
  ~ToolkitScope() { tx::SetToolkit(previous_); }
  ToolkitScope(const ToolkitScope&) = delete;
  ToolkitScope& operator=(const ToolkitScope&) = delete;

 private:
  tx::WindowToolkit* previous_;
};

}  // namespace txcli
