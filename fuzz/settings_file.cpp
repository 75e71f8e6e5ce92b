// Arbitrary bytes as the settings file: loaded as start-up loads it (the
// bookkeeping list), then read as the preview reads it: values, fields,
// lists and window positions under every section the file names.
//
// Seed it with settings files the program wrote (any "Corvane.INI").
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/toolkit/console_toolkit.h"
#include "services/settings.h"
#include "services/settings_ini.h"

namespace {

std::string InputFile(const uint8_t* data, size_t size) {
  static const int fd = memfd_create("settings", 0);
  if (fd < 0 || ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)) return {};
  return "/proc/self/fd/" + std::to_string(fd);
}

// The names between "[" and "]" at the start of a line, and the names
// before "=": what to ask for.
void Names(const std::string& text, std::vector<std::string>& sections, std::vector<std::string>& entries) {
  size_t start = 0;
  while (start < text.size() && sections.size() + entries.size() < 16) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    if (!line.empty() && line[0] == '[') sections.push_back(line.substr(1, line.find(']') - 1));
    if (size_t eq = line.find('='); eq != std::string::npos) entries.push_back(line.substr(0, eq));
    start = end + 1;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string file = InputFile(data, size);
  if (file.empty()) return 0;
  static tx::ConsoleToolkit toolkit(nullptr);
  static const tx::WindowId window = [] {
    tx::WindowLayout layout;
    layout.width = 200;
    layout.height = 100;
    layout.resizable = true;
    return toolkit.OpenWindow(layout);
  }();

  tx::IniFile ini = tx::IniFile::Load(file);
  std::vector<std::string> sections{"__Dont_Touch_Me__"}, entries{"Sectors"};
  Names(ini.Text(), sections, entries);

  tx::SettingsManager settings;
  settings.Init(file);  // the bookkeeping list
  for (const std::string& section : sections) {
    for (const std::string& entry : ini.Entries(section)) ini.Get(section, entry);
    for (const std::string& entry : entries) {
      settings.TryFetch(section, entry);
      for (int n = 0; n <= 5; ++n) settings.FetchField(section, entry, n);
    }
    // A list reads up to ten thousand records, each looked up on its own:
    // one list per section is enough to cover it.
    settings.FetchRecords(section, entries.back(), 4);
    settings.FetchWindow(section, window, toolkit);
  }
  return 0;
}
