#include "cli/staged_file.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace txcli {

StagedFile::~StagedFile() {
  if (temporary_.empty() || committed_) return;
  std::error_code ec;
  std::filesystem::remove(temporary_, ec);
}

bool StagedFile::Create() {
  // Beside the target, so the rename stays on one file system.
  std::filesystem::path path(target_);
  if (path.filename().empty()) {
    std::fprintf(stderr, "tonalyx-cli: Target OpenFile: Can't create target file %s\n", target_.c_str());
    return false;
  }
  std::string name = (path.parent_path() / ("." + path.filename().string() + ".XXXXXX")).string();
  int fd = mkstemp(name.data());
  if (fd < 0) {
    int err = errno;
    std::fprintf(stderr, "tonalyx-cli: Target OpenFile: ERROR:(%d) %s Can't create target file %s\n", err,
                 std::strerror(err), target_.c_str());
    return false;
  }
  // mkstemp makes the file private; the output gets the usual permissions.
  mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, 0666 & ~mask);
  close(fd);
  temporary_ = name;
  return true;
}

bool StagedFile::Commit() {
  std::error_code ec;
  std::filesystem::rename(temporary_, target_, ec);
  if (ec) {
    std::fprintf(stderr, "tonalyx-cli: Target CloseFile: ERROR:(%d) %s Can't create target file %s\n", ec.value(),
                 ec.message().c_str(), target_.c_str());
    return false;
  }
  committed_ = true;
  return true;
}

std::string StagedFile::Mention(std::string text) const {
  if (temporary_.empty()) return text;
  for (size_t at = text.find(temporary_); at != std::string::npos; at = text.find(temporary_, at + target_.size()))
    text.replace(at, temporary_.size(), target_);
  return text;
}

}  // namespace txcli
