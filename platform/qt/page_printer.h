#pragma once
// Report pages to a printer without any window: the page files drawn by the
// page player onto a QPrinter, each fitted to the paper. For the print
// service (print_server.h); Qt runs on its offscreen platform, display or not.
#include <string>
#include <string_view>
#include <vector>

namespace tx {

struct PrintTarget {
  std::string printer;  // empty: the system's default printer
  std::string pdfFile;  // not empty: the job is written to this PDF file instead
};

// Empty when the target can take a job; otherwise why not ("no printer is
// set up", "unknown printer 'X'").
std::string PrinterProblem(const PrintTarget& target);

// Empty once the job has been handed to the print system (or the PDF file
// written); otherwise why not.
std::string PrintPageFiles(const std::vector<std::string>& pageFiles, std::string_view jobName,
                           const PrintTarget& target);

}  // namespace tx
