#pragma once
// Subcommands of tonalyx-cli. Each lives in its own cli/cmd_*.cpp file and
// registers itself with a static Registration object.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace tx {
struct CurrentPreset;
class ConsoleToolkit;
class FileManager;
struct TableSet;
}  // namespace tx

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

// What a report needs, as the main window leaves it after an import: the
// preset file read and decoded into `preset`, its rows in the open
// MXPreset, its block image in "tmp01.png", the definition tables closed.
// EXIT_OK; otherwise the exit status, the reason already given, and no table
// left open. A picture that cannot be written fails only when a report would
// show another preset's picture instead.
int PrepareReport(const std::string& path, tx::CurrentPreset& preset);

// Loads a preset file and decodes it into `preset` as the main window does;
// no more is read than the parser looks at, whatever the file. EXIT_OK;
// EXIT_UNREADABLE with the reason on stderr (an empty file counts as
// unreadable, as in the window); EXIT_FAILED when the file is rejected, with
// the message shown through the console.
int ReadPresetFile(const std::string& path, tx::CurrentPreset& preset);

// The console every command shows its messages through; main puts it in
// place (a fatal message ends the program with EXIT_FAILED).
tx::ConsoleToolkit& Console();
void SetConsole(tx::ConsoleToolkit* console);

// Opens tables the command only reads: no write access is asked for, so
// read-only table files and another process's write lock cost nothing.
// False when one cannot be opened (already reported).
bool OpenForReading(std::initializer_list<tx::FileManager*> tables);
// Says on stderr when the definitions hold nothing for the device type, so
// that an empty result is not taken for a preset without parameters.
void WarnIfNoDefinitions(tx::TableSet& tables, uint8_t deviceType);
// True when a lookup in one of the tables could not be answered (a damaged
// file, a lock held past the wait): the rows read are not whole. Already
// reported.
bool ReadsFailed(std::initializer_list<tx::FileManager*> tables);

}  // namespace txcli
