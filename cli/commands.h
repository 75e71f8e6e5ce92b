#pragma once
// Subcommands of tonalyx-cli. Each lives in its own cli/cmd_*.cpp file and
// registers itself with a static Registration object.
#include <string>
#include <vector>

namespace tx {
struct CurrentPreset;
}

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

// Loads a preset file whole and decodes it into `preset` as the main window
// does. EXIT_OK; EXIT_UNREADABLE with the reason on stderr (an empty file
// counts as unreadable, as in the window); EXIT_FAILED when the file is
// rejected, with the message shown through the toolkit (a ConsoleScope must
// be in place).
int ReadPresetFile(const std::string& path, tx::CurrentPreset& preset);

}  // namespace txcli
