#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/toolkit/console_toolkit.h"
#include "services/settings.h"
#include "services/settings_ini.h"
#include "support/failing_files.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

// Each test works in its own directory with ".\Corvane.INI" as start-up names it.
class SettingsTest : public ::testing::Test {
 protected:
  txtest::TempDir dir;
  txtest::ScopedCwd cwd{dir.path()};
  tx::SettingsManager settings;
  std::string ini = dir.file("Corvane.INI");
};

TEST_F(SettingsTest, ValuesRoundTripThroughTheIniFile) {
  settings.Init(".\\Corvane.INI", tx::STORE_INI);
  settings.Update("_PreviewWindow_", "XPos", "120");
  settings.Update("_PreviewWindow_", "Width", 640L);
  settings.Update("Other", "Name", "a value with spaces");
  EXPECT_EQ(settings.Fetch("_PreviewWindow_", "XPos"), "120");
  EXPECT_EQ(settings.Fetch("_previewwindow_", "width"), "640");  // names ignore case
  EXPECT_EQ(settings.Fetch("Other", "Name"), "a value with spaces");
  settings.Update("_PreviewWindow_", "XPos", "7");
  EXPECT_EQ(settings.Fetch("_PreviewWindow_", "XPos"), "7");
  EXPECT_EQ(ReadFile(ini), "[_PreviewWindow_]\nXPos=7\nWidth=640\n[Other]\nName=a value with spaces\n");

  // A second manager on the same file sees the same values.
  tx::SettingsManager again;
  again.Init(".\\Corvane.INI");
  EXPECT_EQ(again.Fetch("Other", "Name"), "a value with spaces");
}

TEST_F(SettingsTest, MissingFileSectionOrEntryGivesTheDefault) {
  settings.Init(".\\Corvane.INI");
  EXPECT_EQ(settings.Fetch("Nowhere", "Nothing", "dflt"), "dflt");
  EXPECT_EQ(settings.TryFetch("Nowhere", "Nothing"), "---Unknown---");
  EXPECT_FALSE(fs::exists(ini));  // reading creates nothing
  settings.Update("S", "E", "");
  EXPECT_EQ(settings.Fetch("S", "E", "dflt"), "");  // present but empty is not missing
  EXPECT_EQ(settings.TryFetch("S", "Other"), "---Unknown---");
}

TEST_F(SettingsTest, DeleteValueRemovesTheEntryOnly) {
  settings.Init(".\\Corvane.INI");
  settings.Update("S", "A", "1");
  settings.Update("S", "B", "2");
  settings.DeleteValue("S", "A");
  settings.DeleteValue("S", "Missing");
  EXPECT_EQ(settings.TryFetch("S", "A"), "---Unknown---");
  EXPECT_EQ(settings.Fetch("S", "B"), "2");
}

TEST_F(SettingsTest, CorruptFileIsReadAroundAndKept) {
  const char raw[] = "garbage\x01\x02 line\n[S]\r\nA = 5 \r\nnot an entry\n=novalue\n[broken\nB=6\n";
  WriteFile(ini, std::string(raw, sizeof raw - 1));
  settings.Init(".\\Corvane.INI");
  EXPECT_EQ(settings.Fetch("S", "A"), "5");
  EXPECT_EQ(settings.Fetch("S", "B"), "6");  // "[broken" is no header
  settings.Update("S", "C", "7");
  std::string text = ReadFile(ini);
  EXPECT_NE(text.find("garbage\x01\x02 line"), std::string::npos);
  EXPECT_NE(text.find("not an entry"), std::string::npos);
  EXPECT_NE(text.find("C=7"), std::string::npos);
}

TEST_F(SettingsTest, ValuesAndNamesStayOnOneLine) {
  settings.Init(".\\Corvane.INI");
  settings.Update("S", "E", "line1\nInjected=1\r\n[X]");
  EXPECT_EQ(settings.Fetch("S", "E"), "line1 Injected=1  [X]");
  EXPECT_EQ(settings.TryFetch("S", "Injected"), "---Unknown---");
}

TEST_F(SettingsTest, WritesLeaveNoTemporaryFiles) {
  settings.Init(".\\Corvane.INI");
  for (int i = 0; i < 5; ++i) settings.Update("S", "E" + std::to_string(i), std::to_string(i));
  int files = 0;
  for (const auto& e : fs::directory_iterator(dir.path())) {
    ++files;
    EXPECT_EQ(e.path().filename(), "Corvane.INI");
  }
  EXPECT_EQ(files, 1);
}

TEST_F(SettingsTest, FailedWriteIsSilentAndKeepsTheOldFile) {
  settings.Init(".\\Corvane.INI");
  settings.Update("S", "E", "old");
  if (geteuid() != 0) {
    // A directory we cannot write to: the temporary file cannot be made.
    ASSERT_EQ(chmod(dir.path().c_str(), 0555), 0);
    settings.Update("S", "E", "new");
    chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(settings.Fetch("S", "E"), "old");
  }
  // A file name that is a directory: nothing to read, nothing written.
  fs::create_directory(dir.file("Dir.INI"));
  tx::SettingsManager odd;
  odd.Init("Dir.INI");
  odd.Update("S", "E", "x");
  EXPECT_EQ(odd.Fetch("S", "E", "d"), "d");
  EXPECT_TRUE(fs::is_directory(dir.file("Dir.INI")));
}

TEST_F(SettingsTest, EveryFailingWriteKeepsTheOldFileAndLeavesNothingBeside) {
  settings.Init(".\\Corvane.INI");
  settings.Update("S", "E", "old");
  tx::IniFile next = tx::IniFile::Load(ini);
  for (int i = 0; i < 100; ++i) next.Set("S", "E" + std::to_string(i), std::string(40, 'v'));
  txtest::UnderEveryWriteFailure([&] { return next.Save(ini); }, [&] { return txtest::DirectoryState(dir.path()); });
}

// Entries are found through an index (a list of thousands of records is
// read entry by entry): the first of two equal names, whatever their case,
// until it is removed; new entries are found at once.
TEST_F(SettingsTest, TheFirstOfEqualEntriesCountsUntilRemoved) {
  WriteFile(ini, "[s]\nE=first\ne=second\n[S]\nE=third\n");
  tx::IniFile f = tx::IniFile::Load(ini);
  EXPECT_EQ(f.Get("S", "e"), "first");
  EXPECT_TRUE(f.Remove("s", "E"));
  EXPECT_EQ(f.Get("S", "E"), "second");
  f.Set("T", "New", "1");
  EXPECT_EQ(f.Get("t", "new"), "1");
  f.Set("S", "Added", "2");
  EXPECT_EQ(f.Get("s", "added"), "2");
  EXPECT_EQ(f.Get("S", "E"), "second");
}

TEST_F(SettingsTest, MissingDirectoryWriteIsSilent) {
  settings.Init("missing/Corvane.INI");
  settings.Update("S", "E", "v");
  EXPECT_EQ(settings.Fetch("S", "E", "d"), "d");
  EXPECT_FALSE(fs::exists(dir.file("missing")));
}

TEST_F(SettingsTest, OversizedFileIsNotLoadedNorReplaced) {
  WriteFile(ini, "[S]\nE=1\n");
  fs::resize_file(ini, 17u << 20);  // sparse: cheap to make
  settings.Init(".\\Corvane.INI");
  EXPECT_EQ(settings.Fetch("S", "E", "d"), "d");
  settings.Update("S", "E", "2");
  EXPECT_EQ(fs::file_size(ini), 17u << 20);
  EXPECT_EQ(ReadFile(ini).substr(0, 8), "[S]\nE=1\n");
}

TEST_F(SettingsTest, ChangesByAnotherWriterAreSeen) {
  settings.Init(".\\Corvane.INI");
  settings.Update("S", "E", "mine");
  EXPECT_EQ(settings.Fetch("S", "E"), "mine");
  WriteFile(ini + ".new", "[S]\nE=theirs\n");
  fs::rename(ini + ".new", ini);
  EXPECT_EQ(settings.Fetch("S", "E"), "theirs");
}

TEST_F(SettingsTest, UnreadableFileIsNeverReplaced) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads every file";
  WriteFile(ini, "[S]\nE=precious\n");
  ASSERT_EQ(chmod(ini.c_str(), 0200), 0);
  settings.Init(".\\Corvane.INI");
  settings.Update("S", "F", "1");
  chmod(ini.c_str(), 0644);
  EXPECT_EQ(ReadFile(ini), "[S]\nE=precious\n");
}

TEST_F(SettingsTest, FetchFieldCountsCommaFieldsFromOne) {
  settings.Init(".\\Corvane.INI");
  settings.Update("S", "E", "alpha,beta,gamma");
  EXPECT_EQ(settings.FetchField("S", "E", 1), "alpha");
  EXPECT_EQ(settings.FetchField("S", "E", 2), "beta");
  EXPECT_EQ(settings.FetchField("S", "E", 3), "gamma");
  EXPECT_EQ(settings.FetchField("S", "E", 7), "gamma");  // after the last comma
  settings.Update("S", "One", "single");
  EXPECT_EQ(settings.FetchField("S", "One", 2), "single");
  EXPECT_EQ(settings.FetchField("S", "Missing", 1), "");
  settings.Update("S", "Empty", "a,,c");
  EXPECT_EQ(settings.FetchField("S", "Empty", 2), "");
  // Only the first 1000 characters take part.
  settings.Update("S", "Long", std::string(1200, 'x') + ",tail");
  EXPECT_EQ(settings.FetchField("S", "Long", 2).size(), 1000u);
}

TEST_F(SettingsTest, SectorsListIsLoadedAtInitAndWrittenAtKill) {
  WriteFile(ini, "[__Dont_Touch_Me__]\nSectors=2\nSectors_1=a,b,c\nSectors_2=d,e\n");
  settings.Init(".\\Corvane.INI");
  ASSERT_NE(settings.Sectors(), nullptr);
  ASSERT_EQ(settings.Sectors()->size(), 2u);
  EXPECT_EQ((*settings.Sectors())[0].field3, "c");
  EXPECT_EQ((*settings.Sectors())[1].field2, "e");
  EXPECT_EQ((*settings.Sectors())[1].field3, "e");  // fewer fields: text after the last comma
  tx::SettingsSector added;
  added.field1 = "x";
  added.field2 = "y";
  added.field3 = "z";
  settings.Sectors()->push_back(added);
  settings.Kill();
  EXPECT_EQ(settings.Sectors(), nullptr);
  EXPECT_EQ(settings.Fetch("__Dont_Touch_Me__", "Sectors"), "3");
  EXPECT_EQ(settings.Fetch("__Dont_Touch_Me__", "Sectors_2"), "d,e,e");
  EXPECT_EQ(settings.Fetch("__Dont_Touch_Me__", "Sectors_3"), "x,y,z");
  settings.Kill();  // a second Kill has nothing left to write
}

TEST_F(SettingsTest, EmptySectorsWriteOnlyTheCount) {
  WriteFile(ini, "[__Dont_Touch_Me__]\nSectors=0\n");
  settings.Init(".\\Corvane.INI");
  ASSERT_NE(settings.Sectors(), nullptr);
  EXPECT_TRUE(settings.Sectors()->empty());
  settings.Kill();
  EXPECT_EQ(ReadFile(ini), "[__Dont_Touch_Me__]\nSectors=0\n");

  tx::SettingsManager fresh;
  fs::remove(ini);
  fresh.Init(".\\Corvane.INI");
  fresh.Kill();
  EXPECT_EQ(ReadFile(ini), "[__Dont_Touch_Me__]\nSectors=0\n");
}

TEST_F(SettingsTest, DamagedRecordCountsAreBounded) {
  WriteFile(ini, "[__Dont_Touch_Me__]\nSectors=banana\n[Q]\nList=-4\nHuge=99999999999\n");
  settings.Init(".\\Corvane.INI");
  EXPECT_TRUE(settings.Sectors()->empty());
  EXPECT_TRUE(settings.FetchRecords("Q", "List", 2).empty());
  EXPECT_TRUE(settings.FetchRecords("Q", "Huge", 1).empty());  // not a 32-bit number
  settings.Update("Q", "Big", "20000");
  EXPECT_EQ(settings.FetchRecords("Q", "Big", 1).size(), 10000u);
}

struct Row {
  std::string name;
  tx::FixedString<10> code;
  int number = 0;
  long extra = 0;
};

Row MakeRow(std::string name, std::string_view code, int number, long extra) {
  Row r;
  r.name = std::move(name);
  r.code = code;
  r.number = number;
  r.extra = extra;
  return r;
}

TEST_F(SettingsTest, QueuesRoundTripWithUpToFourFields) {
  settings.Init(".\\Corvane.INI");
  std::vector<Row> rows = {MakeRow("first", "A1", 5, 9), MakeRow("second", "B2", -3, 0)};
  settings.UpdateQueue("Lists", "Rows", rows, &Row::name, &Row::code, &Row::number, &Row::extra);
  EXPECT_EQ(settings.Fetch("Lists", "Rows_1"), "first,A1,5,9");
  std::vector<Row> back = {MakeRow("kept", "", 0, 0)};
  settings.FetchQueue("Lists", "Rows", back, &Row::name, &Row::code, &Row::number, &Row::extra);
  ASSERT_EQ(back.size(), 3u);  // appended behind what was there
  EXPECT_EQ(back[1].name, "first");
  EXPECT_EQ(back[1].code, "A1");
  EXPECT_EQ(back[2].number, -3);
  EXPECT_EQ(back[1].extra, 9);

  std::vector<Row> one;
  settings.FetchQueue("Lists", "Rows", one, &Row::name);
  ASSERT_EQ(one.size(), 2u);
  EXPECT_EQ(one[1].name, "second");
  EXPECT_EQ(one[1].number, 0);
}

TEST_F(SettingsTest, QueueValuesAreCutTo5000Characters) {
  settings.Init(".\\Corvane.INI");
  std::vector<Row> rows = {MakeRow(std::string(6000, 'n'), "", 0, 0)};
  settings.UpdateQueue("Lists", "Long", rows, &Row::name);
  // Reading back is limited to 1024 characters anyway; the file holds 5000.
  EXPECT_NE(ReadFile(ini).find("Long_1=" + std::string(5000, 'n') + "\n"), std::string::npos);
}

TEST_F(SettingsTest, NoStoreReadsEmptyAndWritesNothing) {
  settings.Init(".\\Corvane.INI", tx::STORE_NONE);
  settings.Update("S", "E", "v");
  EXPECT_EQ(settings.Fetch("S", "E", "dflt"), "");
  EXPECT_EQ(settings.TryFetch("S", "E"), "");
  settings.Kill();
  EXPECT_FALSE(fs::exists(ini));
}

TEST_F(SettingsTest, ValuesAreCutTo1024Characters) {
  settings.Init(".\\Corvane.INI");
  settings.Update("S", "E", std::string(3000, 'v'));
  EXPECT_EQ(settings.Fetch("S", "E").size(), 1024u);
}

TEST_F(SettingsTest, FileNameIsCutTo260Characters) {
  settings.Init(std::string(300, 'f'), tx::STORE_NONE);
  EXPECT_EQ(settings.FileName().size(), 260u);
}

// The registry replacement lives under the user's configuration directory.
class RegistryStoreTest : public SettingsTest {
 protected:
  void SetUp() override {
    const char* old = std::getenv("XDG_CONFIG_HOME");
    if (old) saved = old;
    had = old != nullptr;
    setenv("XDG_CONFIG_HOME", dir.file("config").c_str(), 1);
  }
  void TearDown() override {
    if (had)
      setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    else
      unsetenv("XDG_CONFIG_HOME");
  }
  std::string saved;
  bool had = false;
};

TEST_F(RegistryStoreTest, ValuesLiveUnderRootFileAndSection) {
  settings.Init("Corvane", tx::STORE_REGISTRY, 0x80000001u);
  EXPECT_EQ(tx::SettingsManager::RegistryFile(), dir.file("config") + "/tonalyx/registry.ini");
  settings.Update("_PreviewWindow_", "XPos", "10");
  EXPECT_EQ(settings.Fetch("_PreviewWindow_", "XPos"), "10");
  EXPECT_EQ(settings.RegistryKeyPath("_PreviewWindow_"), "Corvane\\_PreviewWindow_");
  std::string text = ReadFile(tx::SettingsManager::RegistryFile());
  EXPECT_NE(text.find("[HKEY_CURRENT_USER\\Corvane\\_PreviewWindow_]\nXPos=10\n"), std::string::npos);
  EXPECT_FALSE(fs::exists(ini));
}

TEST_F(RegistryStoreTest, EmptyFileNameUsesTheSectionAlone) {
  settings.Init("", tx::STORE_REGISTRY);
  EXPECT_EQ(settings.RootKey(), 0x80000000u);
  EXPECT_EQ(settings.RegistryKeyPath("Section"), "Section");
  settings.Update("Section", "E", "v");
  EXPECT_NE(ReadFile(tx::SettingsManager::RegistryFile()).find("[HKEY_CLASSES_ROOT\\Section]"), std::string::npos);
}

TEST_F(RegistryStoreTest, EmptyValueDeletesAndReadsAsDefault) {
  settings.Init("Corvane", tx::STORE_REGISTRY);
  settings.Update("S", "E", "v");
  settings.Update("S", "E", "");
  EXPECT_EQ(settings.TryFetch("S", "E"), "---Unknown---");
  EXPECT_EQ(ReadFile(tx::SettingsManager::RegistryFile()).find("E="), std::string::npos);
  EXPECT_EQ(tx::SettingsManager::RootName(0x12u), "00000012");
}

TEST_F(RegistryStoreTest, FallsBackToHomeConfig) {
  unsetenv("XDG_CONFIG_HOME");
  std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
  setenv("HOME", dir.file("home").c_str(), 1);
  EXPECT_EQ(tx::SettingsManager::RegistryFile(), dir.file("home") + "/.config/tonalyx/registry.ini");
  setenv("XDG_CONFIG_HOME", "relative/path", 1);  // not absolute: ignored
  EXPECT_EQ(tx::SettingsManager::RegistryFile(), dir.file("home") + "/.config/tonalyx/registry.ini");
  setenv("HOME", home.c_str(), 1);
}

class WindowSettingsTest : public SettingsTest {
 protected:
  void SetUp() override { settings.Init(".\\Corvane.INI"); }
  tx::WindowId Open(bool resizable) {
    tx::WindowLayout l;
    l.title = "Report Preview";
    l.width = 400;
    l.height = 300;
    l.resizable = resizable;
    return toolkit.OpenWindow(l);
  }
  tx::ConsoleToolkit toolkit{nullptr};
};

TEST_F(WindowSettingsTest, PositionRoundTrips) {
  tx::WindowId w = Open(true);
  toolkit.SetGeometry(w, {30, 40, 500, 350, false, false});
  settings.UpdateWindow("_PreviewWindow_", w, toolkit);
  EXPECT_EQ(settings.Fetch("_PreviewWindow_", "Maximize"), "No");
  EXPECT_EQ(settings.Fetch("_PreviewWindow_", "Minimize"), "No");
  EXPECT_EQ(settings.Fetch("_PreviewWindow_", "XPos"), "30");
  EXPECT_EQ(settings.Fetch("_PreviewWindow_", "Height"), "350");

  tx::WindowId again = Open(true);
  settings.FetchWindow("_PreviewWindow_", again, toolkit);
  tx::WindowGeometry g = toolkit.Geometry(again);
  EXPECT_EQ(g.x, 30);
  EXPECT_EQ(g.y, 40);
  EXPECT_EQ(g.width, 500);
  EXPECT_EQ(g.height, 350);
  EXPECT_FALSE(g.maximized);
}

TEST_F(WindowSettingsTest, MissingMaximizeLeavesTheWindowAlone) {
  settings.Update("_PreviewWindow_", "XPos", "5");
  settings.Update("_PreviewWindow_", "YPos", "6");
  tx::WindowId w = Open(true);
  tx::WindowGeometry before = toolkit.Geometry(w);
  settings.FetchWindow("_PreviewWindow_", w, toolkit);
  tx::WindowGeometry after = toolkit.Geometry(w);
  EXPECT_EQ(after.x, before.x);
  EXPECT_EQ(after.y, before.y);
  settings.Update("_PreviewWindow_", "Maximize", "maybe");
  settings.FetchWindow("_PreviewWindow_", w, toolkit);
  EXPECT_EQ(toolkit.Geometry(w).x, before.x);
}

TEST_F(WindowSettingsTest, MaximizedWindowStoresNoPosition) {
  tx::WindowId w = Open(true);
  toolkit.SetGeometry(w, {1, 2, 300, 200, false, false});
  settings.UpdateWindow("W", w, toolkit);
  toolkit.SetGeometry(w, {1, 2, 300, 200, true, false});
  settings.UpdateWindow("W", w, toolkit);
  EXPECT_EQ(settings.Fetch("W", "Maximize"), "Yes");
  for (const char* e : {"XPos", "YPos", "Width", "Height"}) EXPECT_EQ(settings.TryFetch("W", e), "---Unknown---") << e;

  tx::WindowId other = Open(true);
  tx::WindowGeometry before = toolkit.Geometry(other);
  settings.FetchWindow("W", other, toolkit);
  tx::WindowGeometry after = toolkit.Geometry(other);
  EXPECT_TRUE(after.maximized);
  EXPECT_EQ(after.x, before.x);  // absent numbers stay absent
  EXPECT_EQ(after.width, before.width);
}

TEST_F(WindowSettingsTest, FixedSizeWindowStoresAndTakesNoSize) {
  tx::WindowId w = Open(false);
  settings.UpdateWindow("W", w, toolkit);
  EXPECT_EQ(settings.TryFetch("W", "Width"), "---Unknown---");
  EXPECT_NE(settings.TryFetch("W", "XPos"), "---Unknown---");
  settings.Update("W", "Width", "999");
  tx::WindowId other = Open(false);
  int width = toolkit.Geometry(other).width;
  settings.FetchWindow("W", other, toolkit);
  EXPECT_EQ(toolkit.Geometry(other).width, width);
}

TEST_F(WindowSettingsTest, MinimizedStateIsRestoredAndJunkNumbersIgnored) {
  settings.Update("W", "Maximize", "No");
  settings.Update("W", "Minimize", "Yes");
  settings.Update("W", "XPos", "12abc");
  settings.Update("W", "YPos", "-20");
  tx::WindowId w = Open(true);
  int x = toolkit.Geometry(w).x;
  settings.FetchWindow("W", w, toolkit);
  EXPECT_TRUE(toolkit.Geometry(w).minimized);
  EXPECT_EQ(toolkit.Geometry(w).x, x);
  EXPECT_EQ(toolkit.Geometry(w).y, -20);
}

TEST(IniFile, KeepsCommentsAndOrderWhenWriting) {
  txtest::TempDir dir;
  std::string path = dir.file("t.ini");
  WriteFile(path, "; settings\n[A]\nx=1\n\n[B]\ny=2\n");
  tx::IniFile f = tx::IniFile::Load(path);
  f.Set("A", "z", "3");
  f.Set("C", "w", "4");
  ASSERT_TRUE(f.Save(path));
  EXPECT_EQ(ReadFile(path), "; settings\n[A]\nx=1\nz=3\n\n[B]\ny=2\n[C]\nw=4\n");
  EXPECT_EQ(f.Entries("a"), (std::vector<std::string>{"x", "z"}));
}

}  // namespace

namespace {

TEST(SettingsThreads, ConcurrentUpdatesAreAllKept) {
  txtest::TempDir dir;
  txtest::ScopedCwd cwd(dir.path());
  tx::SettingsManager settings;
  settings.Init(".\\Corvane.INI");
  std::vector<std::thread> threads;
  for (int t = 0; t < 3; ++t)
    threads.emplace_back([&settings, t] {
      for (int i = 0; i < 10; ++i) settings.Update("T" + std::to_string(t), "E" + std::to_string(i), std::to_string(i));
    });
  for (auto& th : threads) th.join();
  for (int t = 0; t < 3; ++t)
    for (int i = 0; i < 10; ++i)
      EXPECT_EQ(settings.Fetch("T" + std::to_string(t), "E" + std::to_string(i)), std::to_string(i));
}

}  // namespace
