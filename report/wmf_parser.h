#pragma once
// Turns the rendered pages of a report run (page metafiles, in page order)
// back into drawing calls on a report generator: document start, then per
// page its start, one call per report control and its end, then document
// finish. Run's result: Level::Done = the document was produced; otherwise the failing
// step's level, and neither FinishPage nor FinishDocument follows a failure.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "report/report_generator.h"

namespace tx {

class ErrorManager;
class WMFRecordParser;

class WMFParser {
 public:
  WMFParser();
  ~WMFParser();
  WMFParser(const WMFParser&) = delete;
  WMFParser& operator=(const WMFParser&) = delete;

  // With no error manager the parser makes one of its own.
  void Init(const std::vector<std::string>* pageList, IREPORTGENERATOR* generator, ErrorManager* errors = nullptr);
  // Bare image file names in the pages are completed with this prefix.
  void SetImageDirectory(std::string prefix) { imageDirectory_ = std::move(prefix); }
  uint8_t Run(bool showProgress);

  ErrorManager* Errors() const { return ERRORS; }

 private:
  uint8_t ProcessPage(const std::string& fileName);
  uint8_t RunWithProgress(size_t count);

  ErrorManager* ERRORS = nullptr;
  std::unique_ptr<ErrorManager> ownErrors_;  // when ERRORSCREATED
  uint8_t ERRORSCREATED = 0;
  const std::vector<std::string>* WMFQUEUE = nullptr;
  std::unique_ptr<WMFRecordParser> PARSER;
  IREPORTGENERATOR* REPORTGENERATOR = nullptr;
  std::string imageDirectory_;
};

}  // namespace tx
