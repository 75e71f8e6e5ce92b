// tonalyx-cli against damaged, locked, missing and odd inputs: each case is
// the smallest input that once went wrong, run as a separate process in a
// working directory refreshed from the shipped definitions.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

const std::string kTables[] = {"efx.mdl", "cab.mdl", "sel.mdl", "EdtSel.kvr", "EdtLay.kvr"};

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string Sample(const char* name) { return (fs::path(TONALYX_SOURCE_DIR) / "examples" / name).string(); }

struct Result {
  int status = -1;
  std::string out, err;
};

class CliFaults : public ::testing::Test {
 protected:
  // One refresh for the whole suite; every test works on a copy.
  static void SetUpTestSuite() {
    refreshed_ = new txtest::TempDir;
    fs::copy(fs::path(TONALYX_SOURCE_DIR) / "Masters", refreshed_->path() / "Masters", fs::copy_options::recursive);
    const std::string cmd = std::string(TONALYX_CLI) + " --workdir '" + refreshed_->path().string() +
                            "' refresh >/dev/null 2>&1";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
  }
  static void TearDownTestSuite() {
    delete refreshed_;
    refreshed_ = nullptr;
  }

  void SetUp() override {
    for (const std::string& t : kTables) fs::copy_file(refreshed_->path() / t, work_.path() / t);
    fs::create_directory_symlink(fs::path(TONALYX_SOURCE_DIR) / "assets", work_.path() / "assets");
  }

  Result Run(const std::string& args) {
    const std::string out = scratch_.file("out"), err = scratch_.file("err");
    const std::string cmd = std::string(TONALYX_CLI) + " --workdir '" + work_.path().string() + "' " + args + " >'" +
                            out + "' 2>'" + err + "'";
    const int raw = std::system(cmd.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, Slurp(out), Slurp(err)};
  }
  std::string Work(const std::string& name) const { return work_.file(name); }

  static txtest::TempDir* refreshed_;
  txtest::TempDir work_;
  txtest::TempDir scratch_;  // outputs of the runs, outside the working directory
};

txtest::TempDir* CliFaults::refreshed_ = nullptr;

const std::string kPreset = Sample("gen2_clean_chorus.syx");

// Every command that opens the tables, against every way a table file can be
// unusable: the message, then exit 1, and nothing going wrong on the way out.
TEST_F(CliFaults, UnusableTableGivesItsMessageThenExitOne) {
  const std::string commands[] = {"decode " + kPreset,          "xml " + kPreset + " out.xml",
                                  "png " + kPreset + " out.png", "pdf " + kPreset + " out.pdf",
                                  "print --output out.pdf " + kPreset, "refresh",
                                  "dump DBEffects"};
  for (const char* kind : {"garbage", "directory", "device link"}) {
    fs::remove(Work("efx.mdl"));
    if (kind == std::string("garbage")) std::ofstream(Work("efx.mdl")) << std::string(3000, 'x');
    if (kind == std::string("directory")) fs::create_directory(Work("efx.mdl"));
    if (kind == std::string("device link")) fs::create_symlink("/dev/null", Work("efx.mdl"));
    for (const std::string& command : commands) {
      SCOPED_TRACE(std::string(kind) + ": " + command);
      Result r = Run(command);
      EXPECT_EQ(r.status, 1) << r.err;
      EXPECT_TRUE(r.err.find("DBEffects") != std::string::npos || r.err.find("efx.mdl") != std::string::npos) << r.err;
      EXPECT_EQ(r.err.find("Press OK"), std::string::npos) << r.err;
    }
    fs::remove_all(Work("efx.mdl"));
  }
}

TEST_F(CliFaults, OutputThatIsADeviceOrALinkIsWrittenThroughNotReplaced) {
  fs::create_symlink("real.xml", Work("link.xml"));
  ASSERT_EQ(Run("xml " + kPreset + " link.xml").status, 0);
  EXPECT_TRUE(fs::is_symlink(Work("link.xml")));
  EXPECT_NE(Slurp(Work("real.xml")).find("<Preset"), std::string::npos);
  if (::mknod(Work("null").c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) GTEST_SKIP() << "cannot make a device here";
  for (const char* command : {"png", "xml"}) {
    EXPECT_EQ(Run(std::string(command) + " " + kPreset + " null").status, 0) << command;
    struct stat st;
    ASSERT_EQ(::lstat(Work("null").c_str(), &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode)) << command;
  }
}

TEST_F(CliFaults, TablesNeverRefreshedDecodeEmptyAndSaySo) {
  for (const std::string& t : kTables) fs::remove(Work(t));
  Result r = Run("decode " + kPreset);
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("0 parameter rows"), std::string::npos) << r.out;
  EXPECT_NE(r.err.find("hold nothing for the Axe-FX II"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("refresh"), std::string::npos) << r.err;
}

TEST_F(CliFaults, DamagedTablePagesAreAnErrorNotAnEmptyTable) {
  // The first page (the schema) stays readable; the rows behind it do not.
  std::string bytes = Slurp(Work("efx.mdl"));
  ASSERT_GT(bytes.size(), 16384u);
  for (size_t i = 4096; i < bytes.size(); ++i) bytes[i] = static_cast<char>(0xA5);
  std::ofstream(Work("efx.mdl"), std::ios::binary) << bytes;
  Result r = Run("decode " + kPreset);
  EXPECT_EQ(r.status, 1) << r.out;
  EXPECT_NE(r.err.find("DBEffects"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("malformed"), std::string::npos) << r.err;
}

// A shared, administrator-refreshed set: nothing to write, nothing to warn of.
TEST_F(CliFaults, ReadOnlyTablesAreReadWithoutWarnings) {
  for (const std::string& t : kTables) fs::permissions(Work(t), fs::perms::owner_read | fs::perms::group_read);
  Result r = Run("decode " + kPreset);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_NE(r.out.find("Clean Chorus"), std::string::npos);
}

TEST_F(CliFaults, ImageIsWrittenWhenTmp01CannotBe) {
  fs::create_directory(Work("tmp01.png"));
  Result r = Run("png " + kPreset + " out.png");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(fs::is_regular_file(Work("out.png")));
  EXPECT_NE(r.err.find("warning: cannot write 'tmp01.png': "), std::string::npos) << r.err;
}

// The parser looks at 8192 bytes: an endless file is read no further.
TEST_F(CliFaults, EndlessInputIsReadOnlyAsFarAsAPresetGoes) {
  Result r = Run("decode /dev/zero");
  EXPECT_EQ(r.status, 1);
}

TEST_F(CliFaults, PathsAreTakenAsGiven) {
  std::ofstream(Work("a.png")) << "keep";
  ASSERT_EQ(Run("png " + kPreset + " 'a.png  '").status, 0);
  EXPECT_EQ(Slurp(Work("a.png")), "keep");
  EXPECT_TRUE(fs::is_regular_file(Work("a.png  ")));
}

TEST_F(CliFaults, WriteFailuresSayWhy) {
  fs::create_directory(Work("folder.png"));
  Result r = Run("png " + kPreset + " missing/out.png");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("No such file or directory"), std::string::npos) << r.err;
  r = Run("png " + kPreset + " folder.png");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("Is a directory"), std::string::npos) << r.err;
  r = Run("xml " + kPreset + " missing/out.xml");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("cannot write 'missing/out.xml': No such file or directory"), std::string::npos) << r.err;
}

// A placeable header and then the end of the file.
TEST_F(CliFaults, PageFileCutInItsHeaderIsNamedWithWhatIsWrong) {
  const unsigned char header[] = {0xD7, 0xCD, 0xC6, 0x9A, 0, 0, 0, 0, 0, 0, 0x64, 0, 0x64, 0, 0xA0, 0x05,
                                  0, 0, 0, 0, 0, 0, 1, 0, 9, 0};
  std::ofstream(Work("cut.wmf"), std::ios::binary).write(reinterpret_cast<const char*>(header), sizeof header);
  Result r = Run("pages2pdf out.pdf cut.wmf");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("cut.wmf"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("ends inside its header"), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(Work("out.pdf")));
}

TEST_F(CliFaults, DialogsAreTracedOnlyWhenVerbose) {
  Result r = Run("xml " + kPreset + " out.xml");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  r = Run("--verbose xml " + kPreset + " out.xml");
  EXPECT_EQ(r.err, "[save] Export Preset To XML\n");
}

TEST_F(CliFaults, MissingBlockPicturesAreOneWarningEach) {
  fs::remove(Work("assets"));
  Result r = Run("png " + kPreset + " out.png");
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(fs::is_regular_file(Work("out.png")));
  size_t lines = 0;
  for (size_t at = r.err.find("warning: Unable to open bitmap file: assets/block_"); at != std::string::npos;
       at = r.err.find("warning: Unable to open bitmap file: assets/block_", at + 1))
    ++lines;
  EXPECT_GT(lines, 0u) << r.err;
  EXPECT_EQ(lines, static_cast<size_t>(std::count(r.err.begin(), r.err.end(), '\n'))) << r.err;
  EXPECT_EQ(r.err.find("block_amp.bmp"), r.err.rfind("block_amp.bmp")) << "one line per file";
}

// A small file system of its own, gone with the test (root only).
class SmallDisk {
 public:
  SmallDisk(const fs::path& at, const char* size) : at_(at) {
    fs::create_directory(at_);
    mounted_ = ::mount("tonalyx-test", at_.c_str(), "tmpfs", 0, (std::string("size=") + size).c_str()) == 0;
  }
  ~SmallDisk() {
    if (mounted_) ::umount2(at_.c_str(), MNT_DETACH);
  }
  bool Mounted() const { return mounted_; }
  // Takes all the room there is left.
  void Fill() {
    std::ofstream filler(at_ / "filler", std::ios::binary);
    const std::string block(4096, 'f');
    while (filler.write(block.data(), static_cast<std::streamsize>(block.size()))) {
    }
  }

 private:
  fs::path at_;
  bool mounted_ = false;
};

std::string Listing(const fs::path& dir) {
  std::string s;
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  for (const std::string& n : names) s += n + "\n";
  return s;
}

// A disk that fills on the way: refresh keeps whole blocks only and says so;
// every writer fails with exit 1 and the system's reason, leaving the file
// that was there as it was and nothing beside it.
TEST_F(CliFaults, AFullDiskKeepsWholeBlocksAndOldFiles) {
  const fs::path disk = scratch_.path() / "disk";
  SmallDisk small(disk, "1m");
  if (!small.Mounted()) GTEST_SKIP() << "cannot mount a file system here";
  fs::copy(fs::path(TONALYX_SOURCE_DIR) / "Masters", disk / "Masters", fs::copy_options::recursive);
  const std::string at = " --workdir '" + disk.string() + "' ";
  Result r = Run(at + "refresh");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("could not write the Gen2 effects, cabinets and selection lists"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("full"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("stored in full: the Gen2 screen layout"), std::string::npos) << r.err;
  EXPECT_EQ(Run(at + "dump DBCabs").out, "[]\n");
  EXPECT_EQ(Run(at + "dump DBEffects").out.find("\"DEVICETYPE\":3"), std::string::npos);
  EXPECT_NE(Run(at + "dump DBScreenMaster").out.find("\"DEVICETYPE\":3"), std::string::npos);

  for (const char* name : {"out.png", "out.xml", "out.pdf"}) std::ofstream(disk / name) << "old";
  small.Fill();
  const std::string before = Listing(disk);
  const std::string page = (fs::path(TONALYX_SOURCE_DIR) / "tests/data/pages/report_page1.wmf").string();
  for (const std::string& command : {"png " + kPreset + " '" + (disk / "out.png").string() + "'",
                                     "xml " + kPreset + " '" + (disk / "out.xml").string() + "'",
                                     "pages2pdf '" + (disk / "out.pdf").string() + "' '" + page + "'"}) {
    r = Run(command);
    EXPECT_EQ(r.status, 1) << command;
    EXPECT_NE(r.err.find("No space left on device"), std::string::npos) << command << ": " << r.err;
  }
  for (const char* name : {"out.png", "out.xml", "out.pdf"}) EXPECT_EQ(Slurp(disk / name), "old") << name;
  EXPECT_EQ(Listing(disk), before);
}

}  // namespace
