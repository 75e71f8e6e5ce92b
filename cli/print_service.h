#pragma once
// The print command's way to a printer. tonalyx-cli has no Qt of its own, so
// that every other command starts without loading it; printing goes through
// the desktop program installed beside it ("tonalyx"), started as a print
// service for one job: it says whether the printer can take a job, then takes
// the page files and plays them onto the printer.
//
//   PrintService service;
//   if (std::string why = service.Start(target); !why.empty()) ... // no printer
//   ... run the report ...
//   std::string why = service.Print(pageFiles, "Preset Report");
#include <sys/types.h>

#include <string>
#include <string_view>
#include <vector>

namespace txcli {

struct PrintTarget {
  std::string printer;  // empty: the system's default printer
  std::string pdfFile;  // not empty: the job is written to this PDF file instead
};

// The desktop program beside this one (symbolic links followed).
std::string DesktopProgram();

class PrintService {
 public:
  PrintService() = default;
  ~PrintService();
  PrintService(const PrintService&) = delete;
  PrintService& operator=(const PrintService&) = delete;

  // Starts the service; empty when the target can take a job, otherwise why
  // not ("no printer is set up", "unknown printer 'X'", no desktop program).
  std::string Start(const PrintTarget& target);
  // Hands over the job; empty once it went to the print system (or the PDF
  // file was written), otherwise why not. Once per service.
  std::string Print(const std::vector<std::string>& pageFiles, std::string_view jobName);

 private:
  bool Send(const std::string& text);
  // The next line from the service; false when it ended without one.
  bool ReadLine(std::string& line);
  // Why the service gave no answer.
  std::string Silent();
  void Stop();

  int socket_ = -1;
  pid_t pid_ = -1;
  std::string program_;
  std::string unread_;
};

}  // namespace txcli
