#pragma once
// The table access layer: one access object per table wraps the storage
// driver's handle, owns the open state and usage count, turns driver errors
// into error-manager messages by number and returns a result level
// (Level: Done, NotDone / end of rows, Cancelled, Fatal = table unusable).
//
// Typical use:
//   fm.Init(&rec, sizeof rec, Layout(), &GlobalErrors());  fm.CREATE = true;
//   fm.Open();  rec.ID = 7;  if (fm.Fetch(0) == FOUND) ...;  fm.Close();
// Operations on a table not yet opened open it first (lazy open); a failure
// of that open already shown to the user is not shown again.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/level.h"
#include "base/record_layout.h"
#include "platform/storage/commit_stamp.h"

namespace tx {

class ErrorManager;
class StorageTable;  // the driver's handle (platform/storage)

// What a table's committed content was (see StorageTable::ReadCommitStamp).
using CommitStamp = storage::CommitStamp;

// What Fetch answers.
inline constexpr int FOUND = Level::Done;
inline constexpr int NOT_FOUND = Level::NotDone;

// OPENMODE for a table that is only read: read access, shared with readers
// and writers alike.
constexpr unsigned OPEN_READ_ONLY = 0x40;

class FileManager {
 public:
  FileManager();
  virtual ~FileManager();
  FileManager(const FileManager&) = delete;
  FileManager& operator=(const FileManager&) = delete;

  // Buffer, record size, table name (the layout's label), error manager. The
  // layout supplies the file name and the field and key descriptions; it must
  // outlive this object. The table's own set-up then sets CREATE and
  // LOCKRECOVER; the keys are the layout's, in its order.
  void Init(void* buffer, size_t recordSize, const RecordLayout& layout, ErrorManager* errors);
  // Closes the driver file whatever the usage count; Init is needed again.
  void Kill();

  // At most two attempts: a missing file is created (CREATE), a file that
  // cannot be written is opened read-only after "Access Denied". With report
  // off nothing is shown and a failure returns Level::NotDone.
  int Open(bool report = true);
  // Decrements the usage count; the last Close closes the driver file.
  int Close();

  // Reads the first row (in key order, ties in stored order) whose key
  // components equal those in the buffer. FOUND, or NOT_FOUND (no message;
  // the buffer is left as it was); Level::Fatal when the driver could not
  // tell (a damaged file, a lock held past the wait), said once per open.
  int Fetch(int key);
  // The driver code of the first lookup since the open that could not be
  // answered, or 0: a caller that read on knows whether its rows are whole.
  int ReadError() const;

  // Sets the reading order for Next/Previous and rewinds: a key number, or
  // -1 for physical (stored) order. SetFrom positions at the first row whose
  // key is >= the buffer's key components.
  int SetOrder(int key);
  int SetFrom(int key);

  // Level::Done with the row in the buffer; NotDone past the last/first row (ATEOF set, no message).
  int Next(bool report = true);
  int Previous(bool report = true);
  // Appends the buffer. A unique key that exists already: message 15 naming the key, 5.
  int Insert(bool report = true);
  // Writes the buffer over the row last read (or inserted).
  int Update(bool report = true);
  // Deletes the row last read; with `confirm` the user is asked first (4 on No).
  int Delete(bool confirm = false);

  // Deletes every row (used for the in-memory preset table).
  int Empty();
  // Number of rows stored, or -1 when the table cannot be used.
  long Records();

  // Frames a block of writes (the definition import): one transaction on this
  // table's file. A Close with the transaction still running commits it.
  int BeginTransaction();
  int Commit();
  int Rollback();

  // Rebuilds the keys of the file (creating any that are missing).
  int RebuildKeys();

  // While a transaction runs: a number that changes whenever rows read by
  // Fetch may have changed (see StorageTable::ContentVersion); 0 when closed
  // or outside a transaction.
  uint64_t ContentVersion();
  // See StorageTable::ReadCommitStamp; false when closed.
  bool ReadCommitStamp(CommitStamp& stamp);

  // The table's name ("DBEffects").
  const std::string& Name() const;
  // The driver handle, for the few callers that need it directly.
  StorageTable* Driver();

  // Access object fields as the program names them.
  std::string FILENAME;
  void* BUFFER = nullptr;
  std::vector<std::string> KEYS;  // key names, in key order
  bool CREATE = false;
  int LOCKRECOVER = 0;
  unsigned OPENMODE = 0x22;  // read/write, deny write; low two bits request write access
  bool OPENED = false;
  int USED = 0;  // opens not yet closed, over all threads (each thread's own count decides its Close)
  bool LAZYOPEN = true;
  bool ATEOF = false;
  bool SKIPHELDRECORDS = false;
  // Lets Open rebuild the keys when it finds them invalid.
  bool REPAIR = false;
  ErrorManager* ERRORS = nullptr;
  int LASTERROR = 0;
  bool INITIALIZED = false;
  bool KILLED = false;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;

  int& ThreadCount();
  void ForgetThread();
  int UseFile();
  int Read(bool forward, bool report);
  int ReadFailed(int code);
  int OpenDriver();
  int Attempt(bool report);
  int Throw(uint16_t id, bool report);
  int ThrowMessage(uint16_t id, const std::string& text, bool report);
  void RecordDriverError();
};

}  // namespace tx
