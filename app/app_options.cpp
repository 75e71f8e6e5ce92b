#include "app/app_options.h"

#include "platform/toolkit/command_line.h"

namespace tx {

AppOptions ParseAppOptions(const std::vector<std::string>& args) {
  AppOptions o;
  bool filesOnly = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (filesOnly) {
      o.presets.push_back(a);
    } else if (a == "--") {
      filesOnly = true;
    } else if (CommandLine({a}).Has("/ADMIN")) {
      o.admin = true;
    } else if (CommandLine({a}).Has("/DrawDebug")) {
      o.drawDebug = true;
    } else if (a == "--help" || a == "-h") {
      o.help = true;
    } else if (a == "--version" || a == "-V") {
      o.version = true;
    } else if (a == "--workdir") {
      if (i + 1 >= args.size()) {
        o.error = "--workdir needs a directory";
        return o;
      }
      o.workdir = args[++i];
    } else if (a.rfind("--workdir=", 0) == 0) {
      o.workdir = a.substr(10);
      if (o.workdir.empty()) {
        o.error = "--workdir needs a directory";
        return o;
      }
    } else if (a.size() > 1 && a[0] == '-') {
      o.error = "unknown option '" + a + "'";
      return o;
    } else {
      o.presets.push_back(a);
    }
  }
  return o;
}

}  // namespace tx
