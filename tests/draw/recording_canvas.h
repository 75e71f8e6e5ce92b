#pragma once
// A canvas that keeps the errors it reports, for the tests to look at.
#include <string>
#include <utility>
#include <vector>

#include "draw/canvas.h"

namespace txtest {

class RecordingCanvas : public tx::Canvas {
 public:
  void ReportError(const std::string& message, const std::string& operation) override {
    errors.emplace_back(operation, message);
    tx::Canvas::ReportError(message, operation);
  }
  std::vector<std::pair<std::string, std::string>> errors;  // operation, message
};

}  // namespace txtest
