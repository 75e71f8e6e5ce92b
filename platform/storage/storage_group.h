#pragma once
// One transaction over several table files. Each table keeps its own file;
// for the length of the transaction the files are attached to one connection
// of the group, so that the database's commit over several files decides for
// all of them at once: every row written inside is kept, or none is, in
// every file, whatever happens to the process on the way (a failed write, a
// full disk, a kill). The next connection to open a file finishes the
// decision left by a process that died.
//
//   StorageGroup g;  g.Join(effects);  g.Join(cabs);
//   g.Begin();  ... effects.Append(...), cabs.Append(...) ...  g.Commit();
//
// Begin waits for the write locks of other processes and Commit for their
// readers, each as long as the longest lock wait of the tables joined
// ("Recover="). Between Begin and the end of the transaction (Commit,
// Rollback, destruction) the tables' reads and writes go through the group;
// afterwards each is back on its own connection.
#include <string>
#include <vector>

#include "platform/storage/storage_table.h"

struct sqlite3;

namespace tx {

namespace storage {
class FileTable;
}

class StorageGroup {
 public:
  StorageGroup();
  ~StorageGroup();  // a transaction still running is rolled back
  StorageGroup(const StorageGroup&) = delete;
  StorageGroup& operator=(const StorageGroup&) = delete;

  // Adds a table that is open for writing. Before Begin only.
  int Join(StorageTable& table);
  // Takes the write lock of every file and starts the transaction.
  int Begin();
  // Keeps everything written since Begin, in every file, or (on failure)
  // nothing; either way the transaction is over.
  int Commit();
  int Rollback();
  bool Running() const;

  int Error() const { return error_; }
  const std::string& ErrorText() const { return errorText_; }

 private:
  friend class storage::FileTable;
  int Fail(int code, const std::string& text);
  int FailSql(int rc);
  void End();  // tables back on their own connections, the group's closed
  void Forget(storage::FileTable* table);

  std::vector<storage::FileTable*> tables_;
  sqlite3* db_ = nullptr;
  int error_ = 0;
  std::string errorText_;
};

}  // namespace tx
