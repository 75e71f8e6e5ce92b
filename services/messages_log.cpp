#include "services/messages_log.h"

namespace tx {

namespace {
constexpr size_t kLogRecord = 1024;
}

ErrorLog::~ErrorLog() = default;

FileErrorLog::FileErrorLog(std::string fileName) : fileName_(std::move(fileName)) {}

FileErrorLog::~FileErrorLog() {
  if (file_) std::fclose(file_);
}

bool FileErrorLog::Open() {
  if (opens_ == 0) {
    // Append mode creates a missing file and never overwrites what is there.
    file_ = std::fopen(fileName_.c_str(), "a");
    if (!file_) return false;
  }
  ++opens_;
  return true;
}

bool FileErrorLog::Append(std::string_view line) {
  if (!file_) return false;
  std::string record(line.substr(0, kLogRecord));
  // A line break inside a value would split the record into two log lines.
  for (char& c : record)
    if (c == '\n' || c == '\r') c = ' ';
  record += '\n';
  return std::fwrite(record.data(), 1, record.size(), file_) == record.size();
}

void FileErrorLog::Close() {
  if (opens_ == 0) return;
  if (--opens_ == 0 && file_) {
    std::fclose(file_);
    file_ = nullptr;
  }
}

std::string ErrorLogLine(std::time_t when, std::string_view text) {
  std::tm tm{};
  localtime_r(&when, &tm);
  char date[64] = "";
  char time[64] = "";
  std::strftime(date, sizeof date, "%x", &tm);
  std::strftime(time, sizeof time, "%X", &tm);
  std::string line = date;
  line += "@";
  line += time;
  line += " --> ";
  line += text;
  return line;
}

}  // namespace tx
