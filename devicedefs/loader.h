#pragma once
// The definition import ("Refresh"): reads "Masters/Gen2" and "Masters/Gen1"
// (default.axeml and default.profile, relative to the working directory)
// into queues, joins them and appends rows to the five disk master tables.
//
// Every run appends; rows whose unique key exists already are refused by the
// table without a message. A definition file that is missing, unreadable or
// not well-formed gives no rows and the import goes on. Each block of writes
// between opening and closing the tables is one transaction over every
// table it writes: a block that fails to write (or a process killed in the
// middle of it) leaves no row of it in any table.
#include <string>
#include <vector>

#include "devicedefs/tables.h"

namespace tx {

struct ImportReport {
  // Rows appended, per table.
  long effects = 0;
  long cabs = 0;
  long selections = 0;
  long selectionMasters = 0;
  long screenMasters = 0;
  // Rows the tables refused for an existing unique key.
  long refused = 0;
  // Files that gave nothing to a load, each once: "path: why".
  std::vector<std::string> unreadFiles;
  // The blocks of writes, in order, whose rows are all stored (counted
  // above), and those of which no row was stored, with the reason.
  struct FailedBlock {
    std::string what;
    std::string cause;
  };
  std::vector<std::string> keptBlocks;
  std::vector<FailedBlock> failedBlocks;
};

ImportReport ImportDefinitions(TableSet& tables = Tables());

// What a run that could not store every block has to say: one line per block
// of which no row was stored, with the reason, then the blocks stored in full
// (or that nothing was). Nothing when every block was stored.
std::vector<std::string> ImportFailureLines(const ImportReport& report);

// The definition files, relative to the working directory.
extern const char* const kGen2Layout;
extern const char* const kGen2Profile;
extern const char* const kGen1Layout;
extern const char* const kGen1Profile;

}  // namespace tx
