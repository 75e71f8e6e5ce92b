#pragma once
// File operations that fail on purpose, through the program's one seam for
// them: the Nth write fails, the disk fills after so many bytes, or the
// process is killed at the Nth write, removal or rename.
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/file_io.h"

namespace txtest {

class FailingFiles : public tx::FileOps {
 public:
  static FailingFiles NthWriteFails(int n) { return FailingFiles(n, -1, 0); }
  static FailingFiles DiskFullAfter(long bytes) { return FailingFiles(0, bytes, 0); }
  static FailingFiles KilledAt(int n) { return FailingFiles(0, -1, n); }
  static FailingFiles Counting() { return FailingFiles(0, -1, 0); }

  ssize_t Write(int fd, const void* data, size_t size, off_t offset) override {
    ++writes;
    Step();
    if (writes == failAt_) {
      errno = EIO;
      return -1;
    }
    if (room_ >= 0) {
      if (room_ == 0) {
        errno = ENOSPC;
        return -1;
      }
      size = std::min(size, static_cast<size_t>(room_));
    }
    ssize_t n = FileOps::Write(fd, data, size, offset);
    if (n > 0) {
      bytes += n;
      if (room_ >= 0) room_ -= n;
    }
    return n;
  }
  int Sync(int fd) override {
    Step();
    return FileOps::Sync(fd);
  }
  int Rename(const char* from, const char* to) override {
    Step();
    return FileOps::Rename(from, to);
  }
  int Unlink(const char* path) override {
    Step();
    return FileOps::Unlink(path);
  }

  int writes = 0;  // writes asked for
  long bytes = 0;  // bytes stored
  int steps = 0;   // writes, syncs, renames and removals

 private:
  FailingFiles(int failAt, long room, int killAt) : failAt_(failAt), room_(room), killAt_(killAt) {}
  void Step() {
    if (++steps == killAt_) ::raise(SIGKILL);
  }
  int failAt_;
  long room_;
  int killAt_;
};

// The names in a directory with the content of each file: what a failed
// write must leave as it was.
inline std::string DirectoryState(const std::filesystem::path& dir) {
  std::vector<std::string> entries;
  for (const auto& e : std::filesystem::directory_iterator(dir)) {
    std::string entry = e.path().filename().string();
    if (e.is_regular_file()) {
      std::ifstream in(e.path(), std::ios::binary);
      entry += "\n" + std::string(std::istreambuf_iterator<char>(in), {});
    }
    entries.push_back(entry);
  }
  std::sort(entries.begin(), entries.end());
  std::string s;
  for (const std::string& e : entries) s += e + "\n--\n";
  return s;
}

// Puts file operations in place for a scope.
class FilesInPlace {
 public:
  explicit FilesInPlace(tx::FileOps& ops) : previous_(tx::SetFiles(&ops)) {}
  ~FilesInPlace() { tx::SetFiles(previous_); }
  FilesInPlace(const FilesInPlace&) = delete;
  FilesInPlace& operator=(const FilesInPlace&) = delete;

 private:
  tx::FileOps* previous_;
};

// Runs `attempt` (true when it reports success) with the 1st, 2nd, ...
// write failing until a run meets no failing write, then with the disk
// full from the start, after one byte and halfway through. Every run that
// met a failure must fail and leave `state()` (the target's content and
// what lies beside it) as it was before; the run without one must succeed.
// Returns the number of writes of a whole run.
template <class Attempt, class State>
int UnderEveryWriteFailure(Attempt attempt, State state) {
  // One run; false when it succeeded without meeting the failure.
  auto run = [&](FailingFiles files, int failingWrite, const std::string& what) {
    const auto before = state();
    bool ok;
    {
      FilesInPlace in(files);
      ok = attempt();
    }
    if (failingWrite > files.writes) {
      EXPECT_TRUE(ok) << what << " never came, yet the attempt failed";
      return std::pair{false, files.bytes};
    }
    EXPECT_FALSE(ok) << what << ": the failure went unnoticed";
    EXPECT_TRUE(state() == before) << what << ": the target or its directory changed";
    return std::pair{true, files.bytes};
  };
  int n = 1;
  long total = 0;
  for (;; ++n) {
    auto [met, bytes] = run(FailingFiles::NthWriteFails(n), n, "write " + std::to_string(n));
    if (!met) {
      total = bytes;
      break;
    }
  }
  EXPECT_GT(n, 1) << "nothing was written";
  for (long room : {0L, 1L, total / 2}) run(FailingFiles::DiskFullAfter(room), 1, "a full disk after " + std::to_string(room) + " bytes");
  return n - 1;
}

}  // namespace txtest
