// refresh: imports the definition files under Masters/ into the master tables.
#include <cstdio>
#include <string>

#include "cli/commands.h"
#include "devicedefs/loader.h"
#include "platform/toolkit/console_toolkit.h"

namespace {

// "a", "a and b", "a, b and c".
std::string Listed(const std::vector<std::string>& items) {
  std::string s;
  for (size_t i = 0; i < items.size(); ++i) {
    if (i > 0) s += i + 1 == items.size() ? " and " : ", ";
    s += "the " + items[i];
  }
  return s;
}

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
  for (const auto& block : r.failedBlocks)
    std::fprintf(stderr, "tonalyx-cli: refresh: could not write the %s: %s; no row of it was stored\n",
                 block.what.c_str(), block.cause.c_str());
  if (!r.failedBlocks.empty()) {
    if (r.keptBlocks.empty())
      std::fprintf(stderr, "tonalyx-cli: refresh: nothing was stored; the tables are as they were\n");
    else
      std::fprintf(stderr, "tonalyx-cli: refresh: stored in full: %s; the rows below are all that was appended\n",
                   Listed(r.keptBlocks).c_str());
  }
  std::printf("DBEffects: %ld\nDBCabs: %ld\nDBSelection: %ld\nDBSelectionMaster: %ld\nDBScreenMaster: %ld\n",
              r.effects, r.cabs, r.selections, r.selectionMasters, r.screenMasters);
  return r.failedBlocks.empty() ? txcli::EXIT_OK : txcli::EXIT_FAILED;
}

txcli::Registration reg({"refresh", "",
                         "import Masters/Gen1 and Masters/Gen2 into the master tables; prints the rows appended",
                         Run});

}  // namespace
