// refresh: imports the definition files under Masters/ into the master tables.
#include <cstdio>

#include "cli/commands.h"
#include "devicedefs/loader.h"

namespace {

int Run(const std::vector<std::string>& args) {
  if (!args.empty()) return txcli::UsageError("refresh takes no arguments");
  tx::ImportReport r = tx::ImportDefinitions();
  // The desktop program stays silent about files that gave nothing; here the
  // administrator is told, and the import still counts as done.
  for (const std::string& note : r.unreadFiles)
    std::fprintf(stderr, "tonalyx-cli: refresh: %s; nothing imported from it\n", note.c_str());
  for (const std::string& block : r.failedBlocks)
    std::fprintf(stderr, "tonalyx-cli: refresh: could not write the %s; that part was rolled back\n", block.c_str());
  std::printf("DBEffects: %ld\nDBCabs: %ld\nDBSelection: %ld\nDBSelectionMaster: %ld\nDBScreenMaster: %ld\n",
              r.effects, r.cabs, r.selections, r.selectionMasters, r.screenMasters);
  return r.failedBlocks.empty() ? txcli::EXIT_OK : txcli::EXIT_FAILED;
}

txcli::Registration reg({"refresh", "",
                         "import Masters/Gen1 and Masters/Gen2 into the master tables; prints the rows appended",
                         Run});

}  // namespace
