#pragma once
// The last runtime and driver error of the calling thread, as the storage
// driver and file layers leave it. The error manager copies it into a
// message's context when the message is raised.
#include <string>

namespace tx {

struct RuntimeError {
  int code = 0;                // runtime error code (90 = driver-specific error)
  std::string text;            // runtime error text
  std::string fileErrorCode;   // driver error code, as text
  std::string fileError;       // driver error message
};

RuntimeError& CurrentRuntimeError();  // per thread
void SetRuntimeError(int code, std::string text);
void SetDriverError(int code, std::string text, std::string driverCode, std::string driverText);
void ClearRuntimeError();

}  // namespace tx
