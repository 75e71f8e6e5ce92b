#include "platform/toolkit/toolkit.h"

#include <atomic>
#include <iostream>

#include "platform/toolkit/console_toolkit.h"

namespace tx {

const char* ButtonLabel(unsigned bit) {
  switch (bit) {
    case BUTTON_OK: return "O&k";
    case BUTTON_YES: return "&Yes";
    case BUTTON_NO: return "&No";
    case BUTTON_ABORT: return "&Abort";
    case BUTTON_RETRY: return "&Retry";
    case BUTTON_IGNORE: return "&Ignore";
    case BUTTON_CANCEL: return "&Cancel";
    case BUTTON_HELP: return "&Help";
    default: return "";
  }
}

std::vector<std::pair<std::string, std::string>> ParseFileFilter(std::string_view filter) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= filter.size()) {
    size_t bar = filter.find('|', start);
    if (bar == std::string_view::npos) bar = filter.size();
    parts.emplace_back(filter.substr(start, bar - start));
    start = bar + 1;
  }
  std::vector<std::pair<std::string, std::string>> pairs;
  for (size_t i = 0; i + 1 < parts.size(); i += 2) {
    if (parts[i].empty() && parts[i + 1].empty()) continue;
    pairs.emplace_back(parts[i], parts[i + 1]);
  }
  return pairs;
}

std::string BarsToNewlines(std::string_view text) {
  std::string s(text);
  for (char& c : s)
    if (c == '|') c = '\n';
  return s;
}

WindowToolkit::~WindowToolkit() = default;

namespace {

std::atomic<WindowToolkit*> current{nullptr};

WindowToolkit& DefaultToolkit() {
  static ConsoleToolkit console(&std::cerr);
  return console;
}

}  // namespace

WindowToolkit& Toolkit() {
  WindowToolkit* t = current.load();
  return t ? *t : DefaultToolkit();
}

WindowToolkit* SetToolkit(WindowToolkit* toolkit) {
  WindowToolkit* previous = current.exchange(toolkit);
  return previous ? previous : &DefaultToolkit();
}

}  // namespace tx
