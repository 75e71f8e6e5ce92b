// The one way every writer writes a file: what each kind of target becomes.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "base/file_replacer.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

size_t EntriesIn(const fs::path& dir) { return static_cast<size_t>(std::distance(fs::directory_iterator(dir), {})); }

bool WriteWhole(const std::string& path, const std::string& text, tx::FileReplacer& out) {
  return out.Open(path) && out.Write(text) && out.Commit();
}

TEST(FileReplacer, ReplacesAFileKeepingItsModeAndLeavesItAloneUntilTheEnd) {
  txtest::TempDir dir;
  const std::string path = dir.file("out.txt");
  std::ofstream(path) << "old";
  ::chmod(path.c_str(), 0640);
  tx::FileReplacer out;
  ASSERT_TRUE(out.Open(path));
  ASSERT_TRUE(out.Write("new"));
  EXPECT_EQ(Slurp(path), "old");
  out.Abandon();
  EXPECT_EQ(Slurp(path), "old");
  EXPECT_EQ(EntriesIn(dir.path()), 1u);
  ASSERT_TRUE(WriteWhole(path, "new", out)) << out.Error();
  EXPECT_EQ(Slurp(path), "new");
  struct stat st;
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

TEST(FileReplacer, LinksStayAndDevicesAndPipesAreWrittenInPlace) {
  txtest::TempDir dir;
  fs::create_directory(dir.path() / "real");
  std::ofstream(dir.file("real/file.txt")) << "old";
  fs::create_symlink("real/file.txt", dir.path() / "link.txt");
  tx::FileReplacer out;
  ASSERT_TRUE(WriteWhole(dir.file("link.txt"), "through", out)) << out.Error();
  EXPECT_TRUE(fs::is_symlink(dir.path() / "link.txt"));
  EXPECT_EQ(Slurp(dir.file("real/file.txt")), "through");

  // A twin of /dev/null, so that a fault here costs nothing outside the test.
  const std::string device = dir.file("null");
  if (::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) {
    ASSERT_TRUE(WriteWhole(device, "nothing", out)) << out.Error();
    EXPECT_TRUE(fs::is_character_file(device));
  }

  const std::string fifo = dir.file("pipe");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_FALSE(out.Open(fifo));  // nobody reads it: refused, not waited for
  EXPECT_EQ(out.ErrorCode(), ENXIO);
  std::string received;
  std::thread reader([&] { received = Slurp(fifo); });
  while (!out.Open(fifo)) std::this_thread::yield();  // until the reader is there
  ASSERT_TRUE(out.Write("piped") && out.Commit());
  reader.join();
  EXPECT_EQ(received, "piped");
  EXPECT_TRUE(fs::is_fifo(fifo));

  fs::create_directory(dir.path() / "folder");
  EXPECT_FALSE(out.Open(dir.file("folder")));
  EXPECT_EQ(out.ErrorCode(), EISDIR);
  EXPECT_EQ(out.Error(), "Is a directory");
}

// As cp: a file its owner may not write is refused (root may write it).
TEST(FileReplacer, ReadOnlyFileIsRefusedToItsOwner) {
  txtest::TempDir dir;
  const std::string path = dir.file("locked.txt");
  std::ofstream(path) << "old";
  ::chmod(path.c_str(), 0444);
  auto attempt = [&] {
    tx::FileReplacer out;
    return !out.Open(path) && out.ErrorCode() == EACCES && Slurp(path) == "old";
  };
  if (::geteuid() != 0) {
    EXPECT_TRUE(attempt());
    return;
  }
  ::chmod(dir.path().c_str(), 0777);
  ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) _exit(::setgid(65534) == 0 && ::setuid(65534) == 0 && attempt() ? 0 : 1);
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

}  // namespace
