#pragma once
// The file operations every writer goes through: the output files (PNG, XML,
// PDF, settings) and the table driver's files. Tests put operations of their
// own in place to make a chosen write fail, or fill the disk.
#include <sys/types.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace tx {

class FileOps {
 public:
  virtual ~FileOps() = default;
  // As write(2), or pwrite(2) when `offset` is 0 or more.
  virtual ssize_t Write(int fd, const void* data, size_t size, off_t offset = -1);
  // As fsync(2), rename(2) and unlink(2).
  virtual int Sync(int fd);
  virtual int Rename(const char* from, const char* to);
  virtual int Unlink(const char* path);
};

// The operations in use: the system's unless a test has put others in place.
FileOps& Files();
// Puts `ops` in place (nullptr: the system's again); returns what was in place.
FileOps* SetFiles(FileOps* ops);

// Writes all of data to fd, going on after interrupted or partial writes.
// False on the first real error (errno tells which).
bool WriteAll(int fd, std::string_view data);

// Reads at most `limit` bytes from the start of a file into `content`. False
// when it cannot be opened or read (a directory opens but does not read) or
// is empty; `reason` then says why.
bool ReadFileStart(const std::string& path, size_t limit, std::string& content, std::string* reason = nullptr);

}  // namespace tx
