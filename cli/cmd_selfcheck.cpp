// selfcheck: a quick look that the program's foundations work on this machine.
#include <cstdio>

#include "base/fixed_string.h"
#include "cli/commands.h"

namespace {

int Run(const std::vector<std::string>& args) {
  if (!args.empty()) return txcli::UsageError("selfcheck takes no arguments");
  tx::FixedString<8> s("Tonalyx-check");
  bool ok = s == "Tonalyx-";
  std::printf("fixed-width text: %s\n", ok ? "ok" : "FAILED");
  return ok ? txcli::EXIT_OK : txcli::EXIT_FAILED;
}

txcli::Registration reg({"selfcheck", "", "check that the program's foundations work", Run});

}  // namespace
