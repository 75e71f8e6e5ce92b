#include "base/runtime_error.h"

#include <utility>

namespace tx {

namespace {
// As the error manager's contexts: an error recorded by a destructor run at
// exit, after the thread's own slot is gone, lands in one that is never freed.
thread_local bool slotGone = false;
struct Slot {
  RuntimeError error;
  ~Slot() { slotGone = true; }
};
}  // namespace

RuntimeError& CurrentRuntimeError() {
  thread_local Slot current;
  if (!slotGone) return current.error;
  static RuntimeError* late = new RuntimeError;
  return *late;
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
