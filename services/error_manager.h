#pragma once
// The global error manager: messages raised by number, looked up in the
// message table, placeholders filled from the calling thread's context, and
// acted on by level (0 nothing, 1/4 question, 5 notice, 3 and others fatal).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace tx {

// Button bits of message boxes and questions.
enum Button : unsigned {
  BUTTON_OK = 1, BUTTON_YES = 2, BUTTON_NO = 4, BUTTON_ABORT = 8,
  BUTTON_RETRY = 16, BUTTON_IGNORE = 32, BUTTON_CANCEL = 64, BUTTON_HELP = 128
};

// Result levels shared by the library layers.
enum Level : int { LEVEL_BENIGN = 0, LEVEL_FATAL = 3, LEVEL_CANCEL = 4, LEVEL_NOTIFY = 5 };

class ErrorManager {
 public:
  ErrorManager();
  virtual ~ErrorManager();

  void AddMessages(const uint8_t* block, size_t length);
  void SetField(std::string_view name);
  void SetFile(std::string_view name);
  void SetKey(std::string_view name);
  void SetErrors();
  virtual int Raise(uint16_t id);
  virtual int RaiseMessage(uint16_t id, std::string_view text);
  virtual unsigned Ask(uint16_t id, unsigned buttons, unsigned defaultButton);
  void EnterProcedure(std::string_view name);
  void LeaveProcedure();

  bool SILENT = false;
  // Further state and operations: see the implementation.
 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// The process-wide manager that start-up creates.
ErrorManager& GlobalErrors();

}  // namespace tx
