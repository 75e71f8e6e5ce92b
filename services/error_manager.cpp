#include "services/error_manager.h"

#include <atomic>
#include <ctime>
#include <deque>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <utility>

#include "base/runtime_error.h"
#include "services/messages_fill.h"

namespace tx {

namespace {

constexpr size_t kNameSize = 255;
constexpr size_t kMessageSize = 2000;
constexpr size_t kHistoryText = 1024;
const char kFatalSuffix[] = "  Press OK to end this application";
const char kHistoryCaption[] = "Errors History";

std::string Clip(std::string_view s, size_t n) { return std::string(s.substr(0, n)); }

std::atomic<uint64_t> nextSerial{1};

// Usage and anything unknown are handled as fatal.
int DispatchLevel(int level) {
  switch (level) {
    case MessageLevel::Silent: case MessageLevel::Question: case MessageLevel::Confirm: case MessageLevel::Notice:
      return level;
    default: return MessageLevel::Fatal;
  }
}

}  // namespace

struct ErrorManager::Context {
  std::string FIELDNAME, FILENAME, KEYNAME, MESSAGETEXT;
  std::string SAVEERROR;
  int32_t SAVEERRORCODE = 0;
  std::string SAVEFILEERROR, SAVEFILEERRORCODE;
  MessageEntry current;
  uint16_t PREVERRORID = 0;
};

struct ErrorManager::Impl {
  uint64_t serial = nextSerial++;
  mutable std::mutex CRITSECT;
  std::vector<MessageEntry> ERRORS;
  std::deque<HistoryEntry> HISTORY;
  std::vector<std::pair<std::thread::id, std::string>> PROCNAMES;
  std::unique_ptr<ErrorLog> ERRORLOG;

  // Searched from the end so that later entries replace earlier ones.
  const MessageEntry* Find(uint16_t id) const {
    for (auto it = ERRORS.rbegin(); it != ERRORS.rend(); ++it)
      if (it->id == id) return &*it;
    return nullptr;
  }
};

// Each thread keeps its own context per manager; managers are told apart by
// a serial number that is never reused, so a new manager never sees a
// context left by an old one at the same address.
namespace {
using ContextMap = std::unordered_map<uint64_t, std::shared_ptr<void>>;

// The exit handlers free the main thread's thread-local objects before the
// process-wide manager and the tables that report through it. A message
// raised after that (from a destructor run at exit) gets a context of its
// own that is never freed, instead of one already destroyed.
thread_local bool contextsGone = false;
struct ThreadContexts {
  ContextMap map;
  ~ThreadContexts() { contextsGone = true; }
};

ContextMap& Contexts() {
  thread_local ThreadContexts contexts;
  if (!contextsGone) return contexts.map;
  static ContextMap* late = new ContextMap;
  return *late;
}
}  // namespace

ErrorManager::Context& ErrorManager::Ctx() const {
  std::shared_ptr<void>& slot = Contexts()[impl_->serial];
  if (!slot) slot = std::make_shared<Context>();
  return *static_cast<Context*>(slot.get());
}

ErrorManager::ErrorManager() : impl_(std::make_unique<Impl>()) {
  impl_->ERRORLOG = std::make_unique<FileErrorLog>();
  AddMessages(BuiltinMessageBlock());
}

// Contexts are left to their threads: the main thread's are destroyed before
// the process-wide manager, so the manager must not reach for them here.
ErrorManager::~ErrorManager() = default;

void ErrorManager::AddMessages(const uint8_t* block, size_t length) {
  std::vector<MessageEntry> entries = UnpackMessages(block, length);
  std::lock_guard<std::mutex> guard(impl_->CRITSECT);
  for (MessageEntry& e : entries) impl_->ERRORS.push_back(std::move(e));
}

void ErrorManager::SetField(std::string_view name) { Ctx().FIELDNAME = Clip(name, kNameSize); }
void ErrorManager::SetFile(std::string_view name) { Ctx().FILENAME = Clip(name, kNameSize); }
void ErrorManager::SetKey(std::string_view name) { Ctx().KEYNAME = Clip(name, kNameSize); }
void ErrorManager::SetMessageText(std::string_view text) { Ctx().MESSAGETEXT = Clip(text, kNameSize); }

void ErrorManager::SetErrors() {
  Context& c = Ctx();
  const RuntimeError& e = CurrentRuntimeError();
  c.SAVEERRORCODE = e.code;
  c.SAVEERROR = Clip(e.text, kNameSize);
  c.SAVEFILEERRORCODE = Clip(e.fileErrorCode, kNameSize);
  c.SAVEFILEERROR = Clip(e.fileError, kNameSize);
}

void ErrorManager::SetId(uint16_t id) {
  Context& c = Ctx();
  c.PREVERRORID = c.current.id;
  std::lock_guard<std::mutex> guard(impl_->CRITSECT);
  const MessageEntry* e = impl_->Find(id);
  c.current = e ? *e : MessageEntry{};
}

std::string ErrorManager::FilledMessage() const {
  const Context& c = Ctx();
  std::string previous;
  {
    std::lock_guard<std::mutex> guard(impl_->CRITSECT);
    if (const MessageEntry* p = impl_->Find(c.PREVERRORID)) previous = p->MESSAGE;
  }
  std::string errorText;
  if (c.SAVEERRORCODE == 90 || c.SAVEERRORCODE == 100)
    errorText = c.SAVEFILEERROR + " (" + c.SAVEFILEERRORCODE + ")";
  else
    errorText = c.SAVEERROR + " (" + std::to_string(c.SAVEERRORCODE) + ")";
  // Longer placeholders go before the shorter ones they begin with.
  return FillPlaceholders(Clip(c.current.MESSAGE, kMessageSize),
                          {{"%FileErrorCode", c.SAVEFILEERRORCODE},
                           {"%FileError", c.SAVEFILEERROR},
                           {"%File", c.FILENAME},
                           {"%Key", c.KEYNAME},
                           {"%ErrorCode", std::to_string(c.SAVEERRORCODE)},
                           {"%ErrorText", errorText},
                           {"%Error", c.SAVEERROR},
                           {"%Message", c.MESSAGETEXT},
                           {"%Field", c.FIELDNAME},
                           {"%Procedure", ProcedureName()},
                           {"%Category", c.current.CATEGORY},
                           {"%Previous", previous}});
}

int ErrorManager::Raise(uint16_t id) {
  SetErrors();
  SetId(id);
  const MessageEntry& e = Ctx().current;
  std::string title = e.TITLE;
  switch (DispatchLevel(e.FATALITY)) {
    case MessageLevel::Silent:
      return Level::Done;
    case MessageLevel::Question:
    case MessageLevel::Confirm: {
      unsigned pressed = ShowMessage(FilledMessage(), title, MessageIcon::Question, BUTTON_YES | BUTTON_NO,
                                     questionDefault, MSGSTYLE);
      return pressed == BUTTON_YES ? Level::Done : Level::Cancelled;
    }
    case MessageLevel::Notice:
      ShowMessage(FilledMessage(), title, MessageIcon::Exclamation, BUTTON_OK, BUTTON_OK, MSGSTYLE);
      return Level::NotDone;
    default:
      ShowMessage(FilledMessage() + kFatalSuffix, title, MessageIcon::Exclamation, BUTTON_OK, BUTTON_OK,
                  MSGSTYLE);
      Toolkit().Halt(Level::Fatal);
      return Level::Fatal;
  }
}

int ErrorManager::RaiseMessage(uint16_t id, std::string_view text) {
  SetMessageText(text);
  return Raise(id);
}

unsigned ErrorManager::Ask(uint16_t id, unsigned buttons, unsigned defaultButton) {
  SetErrors();
  SetId(id);
  std::string title = Ctx().current.TITLE;
  return ShowMessage(FilledMessage(), title, MessageIcon::Question, buttons, defaultButton, MSGSTYLE);
}

unsigned ErrorManager::ShowMessage(std::string_view text, std::string_view title, MessageIcon icon,
                                   unsigned buttons, unsigned defaultButton, unsigned) {
  const MessageEntry& current = Ctx().current;
  int level = current.FATALITY;
  std::vector<HistoryEntry> toShow;
  bool showHistory = false;
  {
    std::lock_guard<std::mutex> guard(impl_->CRITSECT);
    if (LOGERRORS && impl_->ERRORLOG && impl_->ERRORLOG->Open()) {
      impl_->ERRORLOG->Append(ErrorLogLine(std::time(nullptr), text));
      impl_->ERRORLOG->Close();
    }
    if (HISTORYTHRESHOLD > 0) {
      while (impl_->HISTORY.size() >= static_cast<size_t>(HISTORYTHRESHOLD)) impl_->HISTORY.pop_front();
      impl_->HISTORY.push_back({Clip(text, kHistoryText), level,
                                current.CATEGORY.empty() ? DEFAULTCATEGORY : current.CATEGORY});
      // A fatal message counts as Fatal whatever level it is stored with,
      // so that it is never swallowed before the program ends.
      showHistory = DispatchLevel(level) == HISTORYVIEWLEVEL || level == HISTORYVIEWLEVEL;
      if (showHistory) toShow.assign(impl_->HISTORY.begin(), impl_->HISTORY.end());
    }
  }
  // The window is shown outside the lock: its event loop may raise again.
  if (SILENT) return defaultButton;
  if (HISTORYTHRESHOLD > 0) {
    if (!showHistory) return defaultButton;
    unsigned pressed = ShowHistoryWindow(Toolkit(), toShow, std::string(title), buttons, defaultButton);
    if (HISTORYRESETONVIEW) ClearHistory();
    return pressed;
  }
  MessageRequest request;
  request.text = std::string(text);
  request.caption = std::string(title);
  request.icon = icon;
  request.buttons = buttons;
  request.defaultButton = defaultButton;
  request.barIsNewline = true;
  constexpr size_t suffix = sizeof kFatalSuffix - 1;
  if (text.size() >= suffix && text.substr(text.size() - suffix) == kFatalSuffix) request.promptLength = suffix;
  return Toolkit().MessageBox(request);
}

void ErrorManager::EnterProcedure(std::string_view name) {
  std::lock_guard<std::mutex> guard(impl_->CRITSECT);
  impl_->PROCNAMES.emplace_back(std::this_thread::get_id(), Clip(name, kNameSize));
}

void ErrorManager::LeaveProcedure() {
  std::lock_guard<std::mutex> guard(impl_->CRITSECT);
  auto& names = impl_->PROCNAMES;
  for (auto it = names.rbegin(); it != names.rend(); ++it) {
    if (it->first == std::this_thread::get_id()) {
      names.erase(std::next(it).base());
      return;
    }
  }
}

std::string ErrorManager::ProcedureName() const {
  std::lock_guard<std::mutex> guard(impl_->CRITSECT);
  for (auto it = impl_->PROCNAMES.rbegin(); it != impl_->PROCNAMES.rend(); ++it)
    if (it->first == std::this_thread::get_id()) return it->second;
  return {};
}

unsigned ErrorManager::ViewHistory() {
  std::vector<HistoryEntry> entries = History();
  unsigned pressed = ShowHistoryWindow(Toolkit(), entries, kHistoryCaption, BUTTON_OK | BUTTON_HELP, BUTTON_OK);
  if (HISTORYRESETONVIEW) ClearHistory();
  return pressed;
}

std::vector<HistoryEntry> ErrorManager::History() const {
  std::lock_guard<std::mutex> guard(impl_->CRITSECT);
  return {impl_->HISTORY.begin(), impl_->HISTORY.end()};
}

void ErrorManager::ClearHistory() {
  std::lock_guard<std::mutex> guard(impl_->CRITSECT);
  impl_->HISTORY.clear();
}

void ErrorManager::SetErrorLog(std::unique_ptr<ErrorLog> log) {
  std::lock_guard<std::mutex> guard(impl_->CRITSECT);
  impl_->ERRORLOG = std::move(log);
}

const MessageEntry& ErrorManager::Current() const { return Ctx().current; }
uint16_t ErrorManager::PreviousId() const { return Ctx().PREVERRORID; }
std::string ErrorManager::FileName() const { return Ctx().FILENAME; }
std::string ErrorManager::KeyName() const { return Ctx().KEYNAME; }
std::string ErrorManager::FieldName() const { return Ctx().FIELDNAME; }
std::string ErrorManager::MessageText() const { return Ctx().MESSAGETEXT; }

ErrorManager& GlobalErrors() {
  static ErrorManager manager;
  return manager;
}

}  // namespace tx
