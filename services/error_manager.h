#pragma once
// The global error manager: messages raised by number, looked up in the
// message table, placeholders filled from the calling thread's context, and
// acted on by its level (MessageLevel: silent, question, notice, fatal).
// Display goes through the process-wide window toolkit; a fatal message ends
// the program through the toolkit's Halt.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/level.h"
#include "platform/toolkit/toolkit.h"
#include "services/message_ids.h"
#include "services/messages.h"
#include "services/messages_history.h"
#include "services/messages_log.h"

namespace tx {

class ErrorManager {
 public:
  // Loads the built-in messages and the default log ("TonalyxError.Log").
  ErrorManager();
  virtual ~ErrorManager();
  ErrorManager(const ErrorManager&) = delete;
  ErrorManager& operator=(const ErrorManager&) = delete;

  // Appends the entries of a packed block; later entries win over earlier
  // ones with the same id. A block cut short adds its complete entries.
  void AddMessages(const uint8_t* block, size_t length);
  void AddMessages(const std::vector<uint8_t>& block) { AddMessages(block.data(), block.size()); }

  // Context of the calling thread (names cut to 255 characters).
  void SetField(std::string_view name);
  void SetFile(std::string_view name);
  void SetKey(std::string_view name);
  // The text "%Message" stands for (cut to 255 characters).
  void SetMessageText(std::string_view text);
  // Copies the thread's last runtime and driver error into its context.
  void SetErrors();

  // Handles message `id` by its level: silent -> Level::Done; question ->
  // Done for Yes, else Cancelled; notice -> NotDone; fatal -> shown, then the
  // program halts (Fatal if the toolkit returns).
  virtual int Raise(uint16_t id);
  virtual int RaiseMessage(uint16_t id, std::string_view text);
  // Shows message `id` as a question with `buttons`; returns the button pressed.
  virtual unsigned Ask(uint16_t id, unsigned buttons, unsigned defaultButton);
  // The common display step: log, history, then the window; returns the button
  // pressed, or `defaultButton` when nothing was shown.
  virtual unsigned ShowMessage(std::string_view text, std::string_view title, MessageIcon icon,
                               unsigned buttons, unsigned defaultButton, unsigned style);

  // Makes message `id` the thread's current one without showing it.
  void SetId(uint16_t id);
  // The current message's text with its placeholders filled.
  std::string FilledMessage() const;

  void EnterProcedure(std::string_view name);
  void LeaveProcedure();

  // Shows the history as "Errors History" with Ok and Help.
  unsigned ViewHistory();
  std::vector<HistoryEntry> History() const;
  void ClearHistory();

  // Replaces the log object.
  void SetErrorLog(std::unique_ptr<ErrorLog> log);

  // Read-only views of the calling thread's context.
  const MessageEntry& Current() const;  // id 0 and empty texts when none
  uint16_t PreviousId() const;
  std::string FileName() const;
  std::string KeyName() const;
  std::string FieldName() const;
  std::string MessageText() const;
  // The name the calling thread registered last, or empty.
  std::string ProcedureName() const;

  bool SILENT = false;
  bool LOGERRORS = false;
  std::string DEFAULTCATEGORY = "Tonalyx";
  int HISTORYTHRESHOLD = 0;  // 0 keeps no history
  int HISTORYVIEWLEVEL = MessageLevel::Fatal;
  bool HISTORYRESETONVIEW = false;
  unsigned MSGSTYLE = 0;
  // Preselected button of the Yes/No question.
  unsigned questionDefault = BUTTON_YES;

 private:
  struct Context;
  struct Impl;
  Context& Ctx() const;
  std::unique_ptr<Impl> impl_;
};

// The process-wide manager that start-up creates.
ErrorManager& GlobalErrors();

}  // namespace tx
