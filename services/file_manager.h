#pragma once
// The table access layer: one access object per table wraps the storage
// driver's handle, owns the open state and usage count, turns driver errors
// into error-manager messages by number and returns a result level
// (0 done, 5 not done / end of rows, 4 cancelled, 3 table unusable).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "services/record_layout.h"

namespace tx {

class ErrorManager;
class StorageTable;  // the driver's handle (platform/storage)

class FileManager {
 public:
  FileManager();
  virtual ~FileManager();

  // Buffer, record size, table name, error manager. The layout supplies the
  // field and key descriptions the driver needs.
  void Init(void* buffer, size_t recordSize, const RecordLayout& layout, ErrorManager* errors);

  int Open(bool report = true);
  int Close();

  // Reads the first row (in key order, ties in stored order) whose key
  // components equal those in the buffer. 0 found, 5 not found (no message).
  int Fetch(int key);

  // Sets the reading order for Next/Previous and rewinds: a key number, or
  // -1 for physical (stored) order. SetFrom positions at the first row whose
  // key is >= the buffer's key components.
  int SetOrder(int key);
  int SetFrom(int key);

  int Next(bool report = true);
  int Previous(bool report = true);
  int Insert(bool report = true);
  int Update(bool report = true);
  int Delete(bool confirm = false);

  // Deletes every row (used for the in-memory preset table).
  int Empty();
  // Number of rows stored.
  long Records();

  // Access object fields as the program names them.
  std::string FILENAME;
  void* BUFFER = nullptr;
  bool CREATE = false;
  int LOCKRECOVER = 0;
  unsigned OPENMODE = 0x22;  // read/write, deny write
  bool OPENED = false;
  int USED = 0;
  bool LAZYOPEN = true;
  bool ATEOF = false;
  bool SKIPHELDRECORDS = false;
  ErrorManager* ERRORS = nullptr;
  int LASTERROR = 0;
  bool INITIALIZED = false;
  bool KILLED = false;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace tx
