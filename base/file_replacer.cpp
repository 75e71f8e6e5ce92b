#include "base/file_replacer.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/file_io.h"

namespace tx {

namespace {

std::string DirectoryOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file a path leads to: symbolic links followed, each relative one from
// the directory it sits in. A link to nothing leads to the file it names,
// which the write then creates.
int FollowLinks(std::string& path) {
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0) return errno == ENOENT ? 0 : errno;
    if (!S_ISLNK(st.st_mode)) return 0;
    std::string link(static_cast<size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
    ssize_t n = ::readlink(path.c_str(), link.data(), link.size());
    if (n < 0) return errno;
    if (static_cast<size_t>(n) >= link.size()) return ENAMETOOLONG;
    link.resize(static_cast<size_t>(n));
    path = link[0] == '/' ? link : DirectoryOf(path) + "/" + link;
  }
  return ELOOP;
}

mode_t NewFileMode() {
  mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

FileReplacer::~FileReplacer() { Abandon(); }

bool FileReplacer::Fail(int code, std::string text) {
  if (error_ == 0) {
    error_ = code ? code : EIO;
    errorText_ = text.empty() ? std::strerror(error_) : std::move(text);
  }
  return false;
}

bool FileReplacer::Open(const std::string& path) {
  Abandon();
  error_ = 0;
  errorText_.clear();
  if (Prepare(path)) return true;
  Abandon();
  return false;
}

bool FileReplacer::Prepare(const std::string& path) {
  if (path.empty()) return Fail(ENOENT);
  target_ = path;
  if (int e = FollowLinks(target_)) return Fail(e);

  struct stat st;
  const bool exists = ::stat(target_.c_str(), &st) == 0;
  if (!exists && errno != ENOENT) return Fail(errno);
  mode_t mode = NewFileMode();
  if (exists) {
    if (S_ISDIR(st.st_mode)) return Fail(EISDIR);
    if (S_ISCHR(st.st_mode) || S_ISFIFO(st.st_mode)) {
      // A FIFO nobody reads would hold the program up for ever: it is
      // refused rather than waited for.
      int fd = ::open(target_.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | (S_ISFIFO(st.st_mode) ? O_NONBLOCK : 0));
      if (fd < 0) return Fail(errno, errno == ENXIO ? "no program is reading from the FIFO" : std::string());
      if (S_ISFIFO(st.st_mode)) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
      fd_ = fd;
      inPlace_ = true;
      return true;
    }
    if (!S_ISREG(st.st_mode)) return Fail(EINVAL, "not a regular file, character device or FIFO");
    // As cp: a file its owner may not write is left alone (root may).
    if (::access(target_.c_str(), W_OK) != 0) return Fail(errno);
    mode = st.st_mode & 07777;
  }

  std::string name = NameOf(target_);
  temp_ = DirectoryOf(target_) + "/." + name.substr(0, 200) + ".XXXXXX";
  int fd = ::mkostemp(temp_.data(), O_CLOEXEC);
  if (fd < 0) {
    int e = errno;
    temp_.clear();
    return Fail(e);
  }
  fd_ = fd;
  inPlace_ = false;
  if (::fchmod(fd, mode) != 0) return Fail(errno);
  // Root replacing another user's file hands it back to them.
  if (exists && (st.st_uid != ::geteuid() || st.st_gid != ::getegid())) {
    if (::fchown(fd, st.st_uid, st.st_gid) != 0 && ::geteuid() == 0) return Fail(errno);
  }
  return true;
}

bool FileReplacer::Write(const void* data, size_t size) {
  if (fd_ < 0) return Fail(EBADF);
  if (error_) return false;
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    ssize_t n = Files().Write(fd_, p, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return Fail(n < 0 ? errno : EIO);
    p += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

bool FileReplacer::Commit() {
  if (fd_ < 0) return Fail(EBADF);
  if (error_) {
    Abandon();
    return false;
  }
  // A full disk may show only when the data reaches it.
  if (!inPlace_ && Files().Sync(fd_) != 0) Fail(errno);
  if (::close(fd_) != 0) Fail(errno);
  fd_ = -1;
  if (!error_ && !inPlace_ && Files().Rename(temp_.c_str(), target_.c_str()) != 0) Fail(errno);
  if (error_) {
    Abandon();
    return false;
  }
  temp_.clear();
  return true;
}

void FileReplacer::Abandon() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temp_.empty()) Files().Unlink(temp_.c_str());
  temp_.clear();
}

}  // namespace tx
