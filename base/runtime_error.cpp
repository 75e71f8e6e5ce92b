#include "base/runtime_error.h"

#include <utility>

namespace tx {

RuntimeError& CurrentRuntimeError() {
  thread_local RuntimeError current;
  return current;
}

void SetRuntimeError(int code, std::string text) {
  RuntimeError& e = CurrentRuntimeError();
  e.code = code;
  e.text = std::move(text);
  e.fileErrorCode.clear();
  e.fileError.clear();
}

void SetDriverError(int code, std::string text, std::string driverCode, std::string driverText) {
  RuntimeError& e = CurrentRuntimeError();
  e.code = code;
  e.text = std::move(text);
  e.fileErrorCode = std::move(driverCode);
  e.fileError = std::move(driverText);
}

void ClearRuntimeError() { CurrentRuntimeError() = RuntimeError{}; }

}  // namespace tx
