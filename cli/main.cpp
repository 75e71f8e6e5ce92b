// tonalyx-cli: the command-line front end over the same core as the desktop program.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/console_scope.h"
#include "tonalyx_version.h"

namespace txcli {

std::vector<Command>& Commands() {
  static std::vector<Command> commands;
  return commands;
}

int UsageError(const std::string& text) {
  std::fprintf(stderr, "tonalyx-cli: %s\n", text.c_str());
  std::fprintf(stderr, "Try 'tonalyx-cli --help'.\n");
  return EXIT_USAGE;
}

}  // namespace txcli

namespace {

void PrintHelp() {
  auto commands = txcli::Commands();
  std::sort(commands.begin(), commands.end(),
            [](const txcli::Command& a, const txcli::Command& b) { return std::strcmp(a.name, b.name) < 0; });
  std::printf("Usage: tonalyx-cli [--workdir DIR] [--verbose] COMMAND [ARGS...]\n"
              "       tonalyx-cli --help | --version\n\n"
              "Decodes Axe-FX and Axe-FX II presets against the definition tables kept in\n"
              "the working directory (default: the current directory). --verbose also\n"
              "traces the dialogs a command answers on the way.\n\nCommands:\n");
  for (const auto& c : commands) std::printf("  %-10s %s\n             %s\n", c.name, c.usage, c.summary);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  size_t i = 0;
  std::string workdir;
  bool verbose = false;
  for (; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      PrintHelp();
      return txcli::EXIT_OK;
    } else if (a == "--version" || a == "-V") {
      std::printf("tonalyx-cli %s\n", TONALYX_VERSION);
      return txcli::EXIT_OK;
    } else if (a == "--workdir") {
      if (i + 1 >= args.size()) return txcli::UsageError("--workdir needs a directory");
      workdir = args[++i];
    } else if (a.rfind("--workdir=", 0) == 0) {
      workdir = a.substr(10);
    } else if (a == "--verbose") {
      verbose = true;
    } else if (!a.empty() && a[0] == '-') {
      return txcli::UsageError("unknown option '" + a + "'");
    } else {
      break;
    }
  }
  if (i >= args.size()) return txcli::UsageError("no command given");
  const std::string name = args[i];
  std::vector<std::string> rest(args.begin() + static_cast<long>(i) + 1, args.end());
  for (const auto& c : txcli::Commands()) {
    if (name != c.name) continue;
    if (!workdir.empty()) {
      std::error_code ec;
      txcli::SetInvocationDir(std::filesystem::current_path(ec).string());
      std::filesystem::current_path(workdir, ec);
      if (ec) {
        std::fprintf(stderr, "tonalyx-cli: cannot use working directory '%s': %s\n", workdir.c_str(),
                     ec.message().c_str());
        return txcli::EXIT_USAGE;
      }
    }
    txcli::ConsoleScope console(verbose);
    return c.run(rest);
  }
  return txcli::UsageError("unknown command '" + name + "'");
}
