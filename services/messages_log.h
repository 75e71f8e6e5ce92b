#pragma once
// The error log: one line per shown message, appended to a text file. The
// log is opened, written and closed for every line, so that several processes
// can share the file; opening is reference-counted.
#include <cstdio>
#include <ctime>
#include <string>
#include <string_view>

namespace tx {

class ErrorLog {
 public:
  virtual ~ErrorLog();
  virtual bool Open() = 0;
  virtual bool Append(std::string_view line) = 0;
  virtual void Close() = 0;
};

// Lines of up to 1024 characters in a text file, "TonalyxError.Log" unless told otherwise.
class FileErrorLog : public ErrorLog {
 public:
  explicit FileErrorLog(std::string fileName = "TonalyxError.Log");
  ~FileErrorLog() override;
  bool Open() override;
  bool Append(std::string_view line) override;
  void Close() override;
  const std::string& FileName() const { return fileName_; }

 private:
  std::string fileName_;
  std::FILE* file_ = nullptr;
  int opens_ = 0;
};

// The log line for `text` shown at `when`: short date, "@", long time, " --> ", text.
std::string ErrorLogLine(std::time_t when, std::string_view text);

}  // namespace tx
