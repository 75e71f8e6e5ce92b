#include "base/file_io.h"

#include <stdio.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace tx {

ssize_t FileOps::Write(int fd, const void* data, size_t size, off_t offset) {
  return offset < 0 ? ::write(fd, data, size) : ::pwrite(fd, data, size, offset);
}

int FileOps::Sync(int fd) { return ::fsync(fd); }
int FileOps::Rename(const char* from, const char* to) { return ::rename(from, to); }
int FileOps::Unlink(const char* path) { return ::unlink(path); }

namespace {
// Never destroyed: the table driver writes through it until the very end.
FileOps* SystemFiles() {
  static FileOps* system = new FileOps;
  return system;
}
std::atomic<FileOps*> current{nullptr};
}  // namespace

FileOps& Files() {
  FileOps* ops = current.load();
  return ops ? *ops : *SystemFiles();
}

FileOps* SetFiles(FileOps* ops) {
  FileOps* previous = current.exchange(ops);
  return previous ? previous : SystemFiles();
}

bool WriteAll(int fd, std::string_view data) {
  size_t done = 0;
  while (done < data.size()) {
    ssize_t n = Files().Write(fd, data.data() + done, data.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) {
      errno = EIO;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace tx
