#pragma once
// The program's command-line flags. A flag is asked for as the program knows
// it ("/ADMIN", "/DrawDebug") and matches that exact argument or its GNU-style
// alias ("--admin", "--draw-debug").
#include <string>
#include <string_view>
#include <vector>

namespace tx {

class CommandLine {
 public:
  CommandLine() = default;
  explicit CommandLine(std::vector<std::string> args) : args_(std::move(args)) {}
  // Arguments after the program name.
  static CommandLine FromMain(int argc, const char* const* argv);

  bool Has(std::string_view flag) const;
  const std::vector<std::string>& Args() const { return args_; }

  // "--draw-debug" for "/DrawDebug"; empty when `flag` is not a "/" flag.
  static std::string GnuAlias(std::string_view flag);

 private:
  std::vector<std::string> args_;
};

}  // namespace tx
