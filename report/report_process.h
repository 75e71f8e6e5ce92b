#pragma once
// The record reader of a report: walks the report's table in stored order,
// hands each record to the report procedure's take-record step and shows how
// far it got as a percentage ("45% Complete") in the progress window.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/toolkit/toolkit.h"

namespace tx {

class FileManager;

class ReportProcess {
 public:
  // Prints the record now in the table's buffer; its result is a level.
  using TakeRecordStep = std::function<uint8_t()>;

  ReportProcess() = default;
  virtual ~ReportProcess() = default;
  ReportProcess(const ReportProcess&) = delete;
  ReportProcess& operator=(const ReportProcess&) = delete;

  // The table (opened by the caller, rows of `recordSize` bytes) and the step.
  void Init(FileManager& table, size_t recordSize, TakeRecordStep step);
  // Where the percentage shows; without it nothing is shown.
  void SetProgress(WindowToolkit* toolkit, WindowId window, int bar, int text);
  // A count given here replaces the table's own at Reset (0: the table's).
  void SetRecordsToProcess(int32_t count) { givenCount_ = count; }

  // Re-opens the record set from its first record. 0, or 3 when the table
  // cannot be read.
  virtual uint8_t Reset();
  // 0 a record was read, 5 no more records, 3 fatal.
  virtual uint8_t Next();
  virtual uint8_t TakeRecord() { return step_ ? step_() : 0; }
  virtual uint8_t Close() { return 0; }

  // The read-ahead count the table may use (a hint; 0 = none asked).
  int32_t ReadAhead() const { return readAhead_; }
  void SetReadAhead(int32_t count) { readAhead_ = count; }

  int32_t RECORDSPROCESSED = 0;
  int32_t RECORDSTOPROCESS = 0;
  int PERCENTILE = -1;  // the percentage shown, -1 before the first

 private:
  void ShowPercentage();

  FileManager* table_ = nullptr;
  size_t recordSize_ = 0;
  TakeRecordStep step_;
  int32_t givenCount_ = 0;
  int32_t readAhead_ = 0;
  // When the table cannot tell its count, the share of its file read so far.
  int64_t fileSize_ = 0;
  int64_t bytesRead_ = 0;
  WindowToolkit* toolkit_ = nullptr;
  WindowId window_ = 0;
  int bar_ = 0, text_ = 0;
};

}  // namespace tx
