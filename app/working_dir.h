#pragma once
// Where the desktop program works, and what it finds there. The tables,
// "Corvane.INI" and "tmp01.png" live in the working directory, which is
// $XDG_DATA_HOME/tonalyx (~/.local/share/tonalyx) unless --workdir names
// another. The user's own directory is set up on first start from the shipped
// data (block pictures and sample definitions), and its tables are imported
// once from those definitions.
#include <string>

namespace tx {

// $XDG_DATA_HOME/tonalyx, or ~/.local/share/tonalyx; empty without a home.
std::string DefaultWorkDir();

// The folder of the shipped data: <prefix>/share/tonalyx beside the installed
// program, or the source tree for a program run from its build tree. Empty
// when neither holds the block pictures.
std::string ShippedDataDir();

// A picture of the program's own artwork ("assets/ui/NAME"), from the working
// directory or else the shipped data; empty when neither has it.
std::string UiPicture(const std::string& name);

struct WorkDirSetup {
  bool created = false;      // the directory did not exist
  long copied = 0;           // files copied from the shipped data
  bool imported = false;     // the tables were made from the definitions
  std::string error;         // why the directory cannot be used, empty when it can
};

// Makes `dir` the working directory, creating it and copying what is missing
// of the shipped data into it (never replacing a file the user has). When it
// has no tables yet, imports the definitions it now holds.
WorkDirSetup PrepareUserWorkDir(const std::string& dir, const std::string& shipped);

// Makes `dir` (as given with --workdir) the working directory as it is.
std::string EnterWorkDir(const std::string& dir);

}  // namespace tx
