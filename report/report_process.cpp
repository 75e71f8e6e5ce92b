#include "report/report_process.h"

#include <algorithm>
#include <filesystem>

#include "services/file_manager.h"

namespace tx {

void ReportProcess::Init(FileManager& table, size_t recordSize, TakeRecordStep step) {
  table_ = &table;
  recordSize_ = recordSize;
  step_ = std::move(step);
}

void ReportProcess::SetProgress(WindowToolkit* toolkit, WindowId window, int bar, int text) {
  toolkit_ = toolkit;
  window_ = window;
  bar_ = bar;
  text_ = text;
}

uint8_t ReportProcess::Reset() {
  RECORDSPROCESSED = 0;
  PERCENTILE = -1;
  bytesRead_ = 0;
  fileSize_ = 0;
  if (!table_) return Level::Fatal;
  RECORDSTOPROCESS = givenCount_;
  if (RECORDSTOPROCESS == 0) {
    long count = table_->Records();
    if (count < 0) return Level::Fatal;
    RECORDSTOPROCESS = static_cast<int32_t>(std::min<long>(count, INT32_MAX));
    if (RECORDSTOPROCESS == 0) {
      std::error_code ec;
      auto size = std::filesystem::file_size(table_->FILENAME, ec);
      fileSize_ = ec ? 0 : static_cast<int64_t>(size);
    }
  }
  // Stored order, from the first row.
  return table_->SetOrder(-1) == Level::Done ? Level::Done : Level::Fatal;
}

uint8_t ReportProcess::Next() {
  if (!table_) return Level::Fatal;
  int r = table_->Next(true);
  if (r == Level::NotDone) return Level::NotDone;
  if (r != Level::Done) return Level::Fatal;
  bytesRead_ += static_cast<int64_t>(recordSize_);
  ShowPercentage();
  ++RECORDSPROCESSED;
  return Level::Done;
}

void ReportProcess::ShowPercentage() {
  if (!toolkit_ || !window_) return;
  double percent = 0;
  if (fileSize_ > 0)
    percent = static_cast<double>(bytesRead_) * 100.0 / static_cast<double>(fileSize_);
  else if (RECORDSTOPROCESS > 0)
    percent = (RECORDSPROCESSED + 1.0) / RECORDSTOPROCESS * 100.0;
  // Capped before the cut: a file that grew while read gives more than 100.
  const int shown = static_cast<int>(std::min(100.0, percent));
  if (shown == PERCENTILE) return;
  PERCENTILE = shown;
  toolkit_->SetProgress(window_, bar_, shown);
  toolkit_->SetControlText(window_, text_, std::to_string(shown) + "% Complete");
  toolkit_->Redisplay(window_, text_);
}

}  // namespace tx
