// dump: prints every row of one disk master table as JSON.
#include <cstdio>
#include <iostream>

#include "cli/commands.h"
#include "devicedefs/table_dump.h"

namespace {

int Run(const std::vector<std::string>& args) {
  if (args.size() != 1) return txcli::UsageError("dump needs one table name");
  std::string error;
  if (tx::DumpTable(args[0], std::cout, error) != 0) {
    std::cout.flush();
    std::fprintf(stderr, "tonalyx-cli: dump: %s\n", error.c_str());
    return error.rfind("unknown table", 0) == 0 ? txcli::EXIT_USAGE : txcli::EXIT_FAILED;
  }
  return txcli::EXIT_OK;
}

txcli::Registration reg({"dump", "TABLE",
                         "print the rows of DBEffects, DBCabs, DBSelection, DBSelectionMaster or DBScreenMaster as JSON",
                         Run});

}  // namespace
