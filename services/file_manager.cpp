#include "services/file_manager.h"

#include <charconv>
#include <map>
#include <mutex>
#include <string>
#include <thread>

#include "base/runtime_error.h"
#include "platform/storage/storage_table.h"
#include "platform/toolkit/buttons.h"
#include "services/error_manager.h"

namespace tx {

namespace {

bool WriteRequested(unsigned mode) { return (mode & 3u) != 0; }

}  // namespace

struct FileManager::Impl {
  const RecordLayout* layout = nullptr;
  std::string name;
  std::unique_ptr<StorageTable> driver;
  int totalOpens = 0;  // over all threads; the driver file closes when it reaches 0
  bool failureShown = false;  // the last open failed and said so
  int readError = 0;          // driver code of the first read that failed since the open
  // The per-thread opener: how often each thread has this table open. Kept
  // here rather than in thread-local storage, which the exit handlers free
  // before process-wide access objects like the table set are destroyed.
  std::mutex lock;
  std::map<std::thread::id, int> threadOpens;
  void Forget() {
    std::lock_guard<std::mutex> guard(lock);
    threadOpens.clear();
  }
};

FileManager::FileManager() : impl_(std::make_unique<Impl>()) {}

// A table still open here (the program ended in the middle of a command) is
// closed by its driver, which keeps nothing of an unfinished transaction.
FileManager::~FileManager() = default;

void FileManager::Init(void* buffer, size_t recordSize, const RecordLayout& layout, ErrorManager* errors) {
  if (impl_->driver && impl_->driver->IsOpen()) impl_->driver->Close();
  impl_->Forget();
  impl_->layout = &layout;
  impl_->name = layout.label;
  impl_->driver = std::make_unique<StorageTable>(layout);
  impl_->totalOpens = 0;
  BUFFER = buffer;
  FILENAME = layout.fileName;
  KEYS.clear();
  for (const KeyDef& k : layout.keys) KEYS.push_back(k.name);
  ERRORS = errors;
  OPENED = false;
  USED = 0;
  ATEOF = false;
  LASTERROR = 0;
  INITIALIZED = recordSize == layout.recordSize && buffer != nullptr;
  KILLED = false;
}

void FileManager::Kill() {
  if (impl_->driver && impl_->driver->IsOpen()) impl_->driver->Close();
  impl_->Forget();
  impl_->totalOpens = 0;
  OPENED = false;
  USED = 0;
  INITIALIZED = false;
  KILLED = true;
}

const std::string& FileManager::Name() const { return impl_->name; }
StorageTable* FileManager::Driver() { return impl_->driver.get(); }

bool FileManager::ReadCommitStamp(CommitStamp& stamp) {
  StorageTable* d = impl_->driver.get();
  return d && d->IsOpen() && d->ReadCommitStamp(stamp);
}

uint64_t FileManager::ContentVersion() {
  StorageTable* d = impl_->driver.get();
  return d && d->IsOpen() ? d->ContentVersion() : 0;
}

// The count of the calling thread; the map only grows while a thread has the
// table open, and a node once made stays where it is.
int& FileManager::ThreadCount() {
  std::lock_guard<std::mutex> guard(impl_->lock);
  return impl_->threadOpens[std::this_thread::get_id()];
}

void FileManager::ForgetThread() {
  std::lock_guard<std::mutex> guard(impl_->lock);
  impl_->threadOpens.erase(std::this_thread::get_id());
}

void FileManager::RecordDriverError() {
  StorageTable& d = *impl_->driver;
  LASTERROR = d.Error();
  // As SetDriverError, but assigned in place: every lookup that finds nothing
  // passes here, and that is no reason to allocate.
  RuntimeError& e = CurrentRuntimeError();
  char code[16];
  char* end = std::to_chars(code, code + sizeof code, d.Error()).ptr;
  e.code = 90;
  e.text.assign("File System Error");
  e.fileErrorCode.assign(code, end);
  e.fileError.assign(d.ErrorText());
}

// Raises message `id` for this table, or with report off only prepares it.
int FileManager::Throw(uint16_t id, bool report) {
  if (!ERRORS) return Level::NotDone;
  ERRORS->SetFile(impl_->name);
  if (!report) {
    ERRORS->SetErrors();
    ERRORS->SetId(id);
    return Level::NotDone;
  }
  return ERRORS->Raise(id);
}

int FileManager::ThrowMessage(uint16_t id, const std::string& text, bool report) {
  if (!ERRORS) return Level::NotDone;
  ERRORS->SetFile(impl_->name);
  if (!report) {
    ERRORS->SetErrors();
    ERRORS->SetId(id);
    return Level::NotDone;
  }
  return ERRORS->RaiseMessage(id, text);
}

// First request on this thread opens the driver file; an already open file
// counts as opened.
int FileManager::OpenDriver() {
  StorageTable& d = *impl_->driver;
  if (d.IsOpen()) return storage::kOk;
  int code = d.Open(FILENAME, WriteRequested(OPENMODE));
  return code == storage::kAlreadyOpen ? storage::kOk : code;
}

int FileManager::Open(bool report) {
  if (!INITIALIZED) return Level::Fatal;
  int result = Attempt(report);
  if (result == Level::Done)
    impl_->failureShown = false;
  else if (report)
    impl_->failureShown = true;
  return result;
}

int FileManager::Attempt(bool report) {
  int& count = ThreadCount();
  if (count > 0) {
    ++count;
    USED = ++impl_->totalOpens;
    return Level::Done;
  }
  StorageTable& d = *impl_->driver;
  // A lock another process holds is waited for, up to LOCKRECOVER seconds,
  // on the open and on every operation after it: a lock left by a dead
  // process is gone by then, and a live writer has had time to finish.
  // Failing at once would cost a reader its rows and a writer its work.
  d.Send("Recover=" + std::to_string(LOCKRECOVER));
  int result = Level::NotDone;
  for (int attempt = 0; attempt < 2; ++attempt) {
    int code = OpenDriver();
    if (code == storage::kOk) {
      count = 1;
      USED = ++impl_->totalOpens;
      OPENED = true;
      ATEOF = false;
      LASTERROR = 0;
      impl_->readError = 0;
      return Level::Done;
    }
    RecordDriverError();
    if (code == storage::kNoFile) {
      if (!CREATE) return Throw(Msg::FileNotOpened, report);
      if (d.Create(FILENAME) == storage::kOk) continue;
      RecordDriverError();
      return Throw(Msg::FileNotCreated, report);
    }
    if (code == storage::kNoAccess && WriteRequested(OPENMODE)) {
      result = Throw(Msg::AccessDenied, report);
      OPENMODE &= ~3u;
      continue;
    }
    if (code == storage::kBadKeys) {
      result = Throw(Msg::KeysInvalid, report);
      if (!REPAIR) return result;
      if (d.RebuildKeys() == storage::kOk) continue;
      RecordDriverError();
      return Throw(Msg::KeysNotBuilt, report);
    }
    return Throw(Msg::FileNotOpened, report);
  }
  return result;
}

int FileManager::Close() {
  int& count = ThreadCount();
  if (count <= 0) {
    ForgetThread();
    return Level::NotDone;
  }
  --count;
  int result = Level::Done;
  USED = --impl_->totalOpens;
  if (impl_->totalOpens <= 0) {
    impl_->totalOpens = USED = 0;
    if (impl_->driver->Close() != storage::kOk) {
      // Only a transaction left running can fail here, and its rows are lost.
      RecordDriverError();
      result = Throw(Msg::FileNotClosed, true);
    }
  }
  if (count == 0) ForgetThread();
  OPENED = impl_->driver->IsOpen();
  return result;
}

// Makes sure the table is open on this thread before an operation.
int FileManager::UseFile() {
  if (!INITIALIZED) return Level::Fatal;
  if (ThreadCount() > 0 && impl_->driver->IsOpen()) return Level::Done;
  if (!LAZYOPEN) return Level::Fatal;
  // A failure already shown is not shown again on every later operation; the
  // message is still prepared, and a later open that succeeds goes ahead.
  return Open(!impl_->failureShown) == Level::Done ? Level::Done : Level::Fatal;
}

int FileManager::Fetch(int key) {
  if (UseFile() != Level::Done) return Level::Fatal;
  int code = impl_->driver->Fetch(key, BUFFER);
  if (code == storage::kOk) {
    LASTERROR = 0;
    return FOUND;
  }
  RecordDriverError();
  if (code == storage::kNoRow) return NOT_FOUND;
  return ReadFailed(code);
}

// A lookup the driver could not answer (a damaged file, a lock held past the
// wait) is not a row that is missing: it is told once per open, and the
// table remembers it for callers that must not go on as if all were well.
int FileManager::ReadFailed(int code) {
  const bool first = impl_->readError == 0;
  if (first) impl_->readError = code;
  Throw(code == storage::kHeld ? Msg::RecordHeld : Msg::RecordNotRead, first);
  return Level::Fatal;
}

int FileManager::ReadError() const { return impl_->readError; }

int FileManager::SetOrder(int key) {
  if (UseFile() != Level::Done) return Level::Fatal;
  ATEOF = false;
  if (impl_->driver->SetOrder(key) == storage::kOk) return Level::Done;
  RecordDriverError();
  return Level::NotDone;
}

int FileManager::SetFrom(int key) {
  if (UseFile() != Level::Done) return Level::Fatal;
  ATEOF = false;
  if (impl_->driver->SetFrom(key, BUFFER) == storage::kOk) return Level::Done;
  RecordDriverError();
  return Level::NotDone;
}

int FileManager::Next(bool report) { return Read(true, report); }
int FileManager::Previous(bool report) { return Read(false, report); }

int FileManager::Read(bool forward, bool report) {
  if (UseFile() != Level::Done) return Level::Fatal;
  StorageTable& d = *impl_->driver;
  // A held row cannot be stepped over in this driver (the lock covers the
  // file), so skipping means trying again once the lock wait has run out.
  for (int tries = 0;; ++tries) {
    int code = forward ? d.Next(BUFFER) : d.Previous(BUFFER);
    if (code == storage::kOk) {
      LASTERROR = 0;
      return Level::Done;
    }
    RecordDriverError();
    if (code == storage::kNoRow) {
      ATEOF = true;
      return Level::NotDone;
    }
    if (code == storage::kHeld) {
      if (SKIPHELDRECORDS && tries < 2) continue;
      return Throw(Msg::RecordHeld, report);
    }
    int level = Throw(Msg::RecordNotRead, report);
    return report ? level : Level::Fatal;
  }
}

int FileManager::Insert(bool report) {
  if (UseFile() != Level::Done) return Level::Fatal;
  StorageTable& d = *impl_->driver;
  int code = d.Append(BUFFER);
  if (code == storage::kOk) {
    LASTERROR = 0;
    return Level::Done;
  }
  RecordDriverError();
  if (code == storage::kDuplicateKey) {
    int key = d.ExistingUniqueKey(BUFFER);
    std::string keyName = key >= 0 ? KEYS[static_cast<size_t>(key)] : std::string();
    if (ERRORS) ERRORS->SetKey(keyName);
    ThrowMessage(Msg::DuplicateKey, keyName, report);
    return Level::NotDone;
  }
  Throw(Msg::RecordNotInserted, report);
  return Level::NotDone;
}

int FileManager::Update(bool report) {
  if (UseFile() != Level::Done) return Level::Fatal;
  StorageTable& d = *impl_->driver;
  int code = d.Put(BUFFER);
  if (code == storage::kOk) {
    LASTERROR = 0;
    return Level::Done;
  }
  RecordDriverError();
  if (code == storage::kChanged) {
    Throw(Msg::RecordChangedElsewhereShown, report);
    d.Reget(BUFFER);  // show what the other process stored
    return Level::NotDone;
  }
  Throw(Msg::RecordNotUpdated, report);
  return Level::NotDone;
}

int FileManager::Delete(bool confirm) {
  if (UseFile() != Level::Done) return Level::Fatal;
  if (confirm && ERRORS) {
    ERRORS->SetFile(impl_->name);
    if (ERRORS->Ask(Msg::ConfirmDelete, BUTTON_YES | BUTTON_NO, BUTTON_NO) != BUTTON_YES) return Level::Cancelled;
  }
  if (impl_->driver->Delete() == storage::kOk) {
    LASTERROR = 0;
    return Level::Done;
  }
  RecordDriverError();
  Throw(Msg::RecordNotDeleted, true);
  return Level::NotDone;
}

int FileManager::Empty() {
  if (UseFile() != Level::Done) return Level::Fatal;
  ATEOF = false;
  if (impl_->driver->Empty() == storage::kOk) return Level::Done;
  RecordDriverError();
  return Level::NotDone;
}

long FileManager::Records() {
  if (UseFile() != Level::Done) return -1;
  long n = impl_->driver->Count();
  if (n < 0) RecordDriverError();
  return n;
}

int FileManager::BeginTransaction() {
  if (UseFile() != Level::Done) return Level::Fatal;
  if (impl_->driver->BeginTransaction() == storage::kOk) return Level::Done;
  RecordDriverError();
  return Level::NotDone;
}

int FileManager::Commit() {
  if (!impl_->driver || !impl_->driver->IsOpen()) return Level::Fatal;
  if (impl_->driver->Commit() == storage::kOk) return Level::Done;
  RecordDriverError();
  return Level::NotDone;
}

int FileManager::Rollback() {
  if (!impl_->driver || !impl_->driver->IsOpen()) return Level::Fatal;
  if (impl_->driver->Rollback() == storage::kOk) return Level::Done;
  RecordDriverError();
  return Level::NotDone;
}

int FileManager::RebuildKeys() {
  if (!INITIALIZED) return Level::Fatal;
  if (impl_->driver->RebuildKeys() == storage::kOk) return Level::Done;
  RecordDriverError();
  return Level::NotDone;
}

}  // namespace tx
