#include "platform/qt/print_server.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "platform/qt/page_printer.h"

namespace tx {

namespace {

void Answer(const char* word, std::string why = {}) {
  for (char& c : why)
    if (c == '\n' || c == '\r') c = ' ';
  if (why.empty())
    std::printf("%s\n", word);
  else
    std::printf("%s\t%s\n", word, why.c_str());
  std::fflush(stdout);
}

}  // namespace

int ServePrintJob(const std::vector<std::string>& args) {
  PrintTarget target;
  for (size_t i = 0; i < args.size(); ++i) {
    const bool hasValue = i + 1 < args.size();
    if (args[i] == "--printer" && hasValue) {
      target.printer = args[++i];
    } else if (args[i] == "--output" && hasValue) {
      target.pdfFile = args[++i];
    } else {
      Answer("refused", "the print service does not know '" + args[i] + "'");
      return 2;
    }
  }
  if (std::string problem = PrinterProblem(target); !problem.empty()) {
    Answer("refused", problem);
    return 1;
  }
  Answer("ready");
  std::string job;
  if (!std::getline(std::cin, job)) return 0;
  std::vector<std::string> pages;
  for (std::string line; std::getline(std::cin, line);)
    if (!line.empty()) pages.push_back(line);
  if (std::string problem = PrintPageFiles(pages, job, target); !problem.empty()) {
    Answer("failed", problem);
    return 1;
  }
  Answer("printed");
  return 0;
}

}  // namespace tx
