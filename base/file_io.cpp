#include "base/file_io.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

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

namespace tx {

bool ReadFileStart(const std::string& path, size_t limit, std::string& content, std::string* reason) {
  content.clear();
  std::string why;
  const int fd = path.empty() ? -1 : ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    why = path.empty() ? "no file name" : std::strerror(errno);
  } else {
    content.resize(limit);
    size_t have = 0;
    while (have < content.size()) {
      const ssize_t n = ::read(fd, content.data() + have, content.size() - have);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) why = std::strerror(errno);
      if (n <= 0) break;
      have += static_cast<size_t>(n);
    }
    ::close(fd);
    content.resize(have);
    if (why.empty() && content.empty()) why = "the file is empty";
  }
  if (why.empty()) return true;
  content.clear();
  if (reason) *reason = why;
  return false;
}

}  // namespace tx
