#pragma once
// Subcommands of tonalyx-cli. Each lives in its own cli/cmd_*.cpp file and
// registers itself with a static Registration object.
#include <string>
#include <vector>

namespace txcli {

// Exit statuses shared by the subcommands.
enum Exit { EXIT_OK = 0, EXIT_FAILED = 1, EXIT_USAGE = 2, EXIT_UNREADABLE = 3 };

struct Command {
  const char* name;
  const char* usage;    // arguments after the name, for --help
  const char* summary;  // one line
  // Runs with the arguments after the subcommand name; the working directory
  // has already been switched to --workdir.
  int (*run)(const std::vector<std::string>& args);
};

std::vector<Command>& Commands();

struct Registration {
  explicit Registration(const Command& c) { Commands().push_back(c); }
};

// Prints "tonalyx-cli: <text>" on stderr and returns EXIT_USAGE.
int UsageError(const std::string& text);

// Paths are taken as given from the working directory (--workdir); an input
// file that is not there but exists relative to the directory the program was
// started from is taken from there.
void SetInvocationDir(const std::string& dir);
std::string InputPath(const std::string& path);

// Loads a preset file whole. On failure prints the reason on stderr and
// returns false (an empty file counts as unreadable, as in the window).
bool LoadPresetFile(const std::string& path, std::string& content);

}  // namespace txcli
