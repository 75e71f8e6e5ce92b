#pragma once
// The desktop program's print service, for tonalyx-cli (which has no Qt):
// one job over standard input and output, without a window.
//
//   tonalyx --print-service [--printer NAME | --output FILE.pdf]
//
// Answers "ready", or "refused<TAB>why" and ends; then reads the job name
// and the page files, one a line, to the end of its input, prints them and
// answers "printed" or "failed<TAB>why". Input ending before the job name
// cancels the job. The exit status is 0 once the job was printed or
// cancelled, 1 when refused or failed, 2 for arguments it does not know.
#include <string>
#include <vector>

namespace tx {

inline constexpr const char* PRINT_SERVICE_FLAG = "--print-service";

// Runs the service with the arguments after the flag; the exit status.
int ServePrintJob(const std::vector<std::string>& args);

}  // namespace tx
