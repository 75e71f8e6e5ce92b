// The import against failing writes, a full disk and a process killed at
// any point: every block of it is in every table it writes, or in none.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "devicedefs/loader.h"
#include "import_support.h"
#include "support/failing_files.h"
#include "test_masters.h"

namespace {

namespace fs = std::filesystem;

// Rows per table and device type: DBScreenMaster 3 and 1, DBCabs, DBEffects
// 3 and 1, DBSelection 3 and 1, DBSelectionMaster 3 and 1.
using Counts = std::array<long, 9>;

// Read as a decode reads them: without write access.
Counts Count(tx::TableSet& t) {
  for (tx::FileManager* fm : {&t.DBScreenMaster, &t.DBCabs, &t.DBEffects, &t.DBSelection, &t.DBSelectionMaster})
    fm->OPENMODE = tx::OPEN_READ_ONLY;
  Counts c{};
  for (const auto& r : txtest::Rows(t.DBScreenMaster, t.screenMaster)) ++c[r.DEVICETYPE == 3 ? 0 : 1];
  c[2] = static_cast<long>(txtest::Rows(t.DBCabs, t.cab).size());
  for (const auto& r : txtest::Rows(t.DBEffects, t.effect)) ++c[r.DEVICETYPE == 3 ? 3 : 4];
  for (const auto& r : txtest::Rows(t.DBSelection, t.selection)) ++c[r.DEVICETYPE == 3 ? 5 : 6];
  for (const auto& r : txtest::Rows(t.DBSelectionMaster, t.selectionMaster)) ++c[r.DEVICETYPE == 3 ? 7 : 8];
  return c;
}

const char* const kBlocks[] = {"Gen2 screen layout", "Gen2 effects, cabinets and selection lists",
                               "Gen1 screen layout", "Gen1 effects and selection lists, and the flattened lists"};

// What the tables hold when exactly the blocks in `kept` were stored, from
// the counts of a whole import. The flattened lists of the second
// generation need its lists and the flattening block both.
Counts Expected(const Counts& whole, const std::set<int>& kept) {
  auto has = [&](int b) { return kept.count(b) > 0; };
  const bool in[9] = {has(0), has(2), has(1), has(1), has(3), has(1), has(3), has(1) && has(3), has(3)};
  Counts c{};
  for (size_t i = 0; i < c.size(); ++i) c[i] = in[i] ? whole[i] : 0;
  return c;
}

class ImportFaults : public ::testing::Test {
 protected:
  // A working directory with the definition files and the five tables,
  // created empty.
  // Each case syncs the tables a few hundred times: in memory when it can.
  static std::unique_ptr<txtest::TempDir> Scratch() {
    if (::access("/dev/shm", W_OK) == 0) return std::make_unique<txtest::TempDir>("/dev/shm");
    return std::make_unique<txtest::TempDir>();
  }
  // The definition files and the five tables, created empty, made once.
  static void SetUpTestSuite() {
    start_ = Scratch().release();
    txtest::ScopedCwd cwd(start_->path());
    {
      tx::TableSet t;
      tx::ImportDefinitions(t);
    }
    using namespace txtest::masters;
    txtest::WriteFile("Masters/Gen2/default.axeml", kGen2Layout);
    txtest::WriteFile("Masters/Gen2/default.profile", kGen2Profile);
    txtest::WriteFile("Masters/Gen1/default.axeml", kGen1Layout);
    txtest::WriteFile("Masters/Gen1/default.profile", kGen1Profile);
  }
  static void TearDownTestSuite() {
    delete start_;
    start_ = nullptr;
  }
  // A working directory as it was before the import.
  void Fresh() {
    cwd_.reset();
    dir_ = Scratch();
    fs::copy(start_->path(), dir_->path(), fs::copy_options::recursive);
    cwd_ = std::make_unique<txtest::ScopedCwd>(dir_->path());
  }
  // The next import runs clean and leaves no journal beside the tables. (A
  // commit over several files that fails, or is killed, after it began its
  // record of the files taking part but before any of them changed may leave
  // that record behind: the database neither needs nor reads it again.)
  void NextImportRunsClean(const std::string& what) {
    tx::TableSet t;
    EXPECT_TRUE(tx::ImportDefinitions(t).failedBlocks.empty()) << what;
    for (const auto& e : fs::directory_iterator(".")) {
      const std::string name = e.path().filename().string();
      EXPECT_EQ(name.find("-journal"), std::string::npos) << what << ": " << name;
    }
  }
  Counts Whole() {
    Fresh();
    tx::TableSet t;
    EXPECT_TRUE(tx::ImportDefinitions(t).failedBlocks.empty());
    return Count(t);
  }

  static txtest::TempDir* start_;
  std::unique_ptr<txtest::TempDir> dir_;
  std::unique_ptr<txtest::ScopedCwd> cwd_;
};

txtest::TempDir* ImportFaults::start_ = nullptr;

// A write that fails, or a disk that fills, costs its block in every table
// it writes; the report names exactly the blocks that were stored.
TEST_F(ImportFaults, FailingWritesCostTheirWholeBlockAndTheReportSaysWhichWereKept) {
  const Counts whole = Whole();
  auto attempt = [&](txtest::FailingFiles files, const std::string& what) {
    Fresh();
    tx::TableSet t;
    tx::ImportReport r;
    {
      txtest::FilesInPlace in(files);
      r = tx::ImportDefinitions(t);
    }
    std::set<int> kept;
    for (const std::string& b : r.keptBlocks)
      for (int i = 0; i < 4; ++i)
        if (b == kBlocks[i]) kept.insert(i);
    EXPECT_EQ(kept.size() + r.failedBlocks.size(), 4u) << what;
    for (const auto& f : r.failedBlocks) EXPECT_FALSE(f.cause.empty()) << what << ": " << f.what;
    EXPECT_EQ(Count(t), Expected(whole, kept)) << what;
    NextImportRunsClean(what);
    return std::pair{r.failedBlocks.empty(), files.writes};
  };
  int n = 1;
  for (;; ++n) {
    auto [clean, writes] = attempt(txtest::FailingFiles::NthWriteFails(n), "write " + std::to_string(n));
    if (writes < n) {
      EXPECT_TRUE(clean);
      break;
    }
    EXPECT_FALSE(clean) << "write " << n << " failed unnoticed";
  }
  EXPECT_GT(n, 8);
  for (long room : {0L, 4096L, 20000L, 60000L})
    EXPECT_FALSE(attempt(txtest::FailingFiles::DiskFullAfter(room), "full at " + std::to_string(room)).first);
}

// Killed at every write, sync, rename and removal in turn, and at a few
// moments picked at random: the next reader finds the blocks before the
// kill stored and the rest absent, in every table.
TEST_F(ImportFaults, AKillAtAnyPointLeavesEveryBlockWholeOrAbsent) {
  const Counts whole = Whole();
  std::vector<Counts> states;
  for (int k = 0; k <= 4; ++k) {
    std::set<int> kept;
    for (int b = 0; b < k; ++b) kept.insert(b);
    states.push_back(Expected(whole, kept));
  }
  auto killed = [&](int step, int delayUs) {
    Fresh();
    pid_t child = fork();
    if (child == 0) {
      txtest::FailingFiles files = txtest::FailingFiles::KilledAt(step);
      txtest::FilesInPlace in(files);
      tx::TableSet t;
      tx::ImportDefinitions(t);
      _exit(0);
    }
    if (delayUs >= 0) {
      usleep(static_cast<useconds_t>(delayUs));
      kill(child, SIGKILL);
    }
    int status = 0;
    waitpid(child, &status, 0);
    const std::string what = step ? "killed at step " + std::to_string(step) : "killed after " + std::to_string(delayUs) + " us";
    tx::TableSet t;
    const Counts found = Count(t);
    EXPECT_NE(std::find(states.begin(), states.end(), found), states.end()) << what;
    if (step % 5 == 0) NextImportRunsClean(what);  // enough to see that nothing sticks
    return WIFSIGNALED(status);
  };
  int step = 1;
  while (killed(step, -1)) ++step;
  EXPECT_GT(step, 8);
  std::mt19937 random(12);
  for (int i = 0; i < 12; ++i) killed(0, static_cast<int>(random() % 60000));
}

}  // namespace
