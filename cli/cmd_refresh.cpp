// refresh: imports the definition files under Masters/ into the master tables.
#include <cstdio>
#include <string>

#include "cli/commands.h"
#include "devicedefs/loader.h"
#include "platform/toolkit/console_toolkit.h"

namespace {

int Run(const std::vector<std::string>& args) {
  if (!args.empty()) return txcli::UsageError("refresh takes no arguments");
  // A table that cannot be opened costs the blocks that need it, not the
  // account of what was stored: the run goes on to its end.
  txcli::Console().SetHaltExits(false);
  tx::ImportReport r = tx::ImportDefinitions();
  // The desktop program stays silent about files that gave nothing; here the
  // administrator is told, and the import still counts as done.
  for (const std::string& note : r.unreadFiles)
    std::fprintf(stderr, "tonalyx-cli: refresh: %s; nothing imported from it\n", note.c_str());
  const std::vector<std::string> failures = tx::ImportFailureLines(r);
  for (const std::string& line : failures) std::fprintf(stderr, "tonalyx-cli: refresh: %s\n", line.c_str());
  if (!failures.empty() && !r.keptBlocks.empty())
    std::fprintf(stderr, "tonalyx-cli: refresh: the rows below are all that was appended\n");
  std::printf("DBEffects: %ld\nDBCabs: %ld\nDBSelection: %ld\nDBSelectionMaster: %ld\nDBScreenMaster: %ld\n",
              r.effects, r.cabs, r.selections, r.selectionMasters, r.screenMasters);
  return r.failedBlocks.empty() ? txcli::EXIT_OK : txcli::EXIT_FAILED;
}

txcli::Registration reg({"refresh", "",
                         "import Masters/Gen1 and Masters/Gen2 into the master tables; prints the rows appended",
                         Run});

}  // namespace
