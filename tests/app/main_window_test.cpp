// The main window on the console toolkit: start-up and shutdown, its
// controls, and every command with its failure rules, driven by scripted
// events and dialog answers.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <set>

#include "app/main_window.h"
#include "app/startup.h"
#include "outputs/block_image.h"
#include "page_player/sample_pages.h"
#include "platform/toolkit/console_toolkit.h"
#include "preset/parse_preset.h"
#include "report/report_manager.h"
#include "services/error_manager.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using tx::Event;
using tx::EventKind;

std::string Sample(const std::string& name) { return std::string(TONALYX_SOURCE_DIR) + "/examples/" + name; }

long PresetRows() {
  tx::TableSet& t = tx::Tables();
  long n = 0;
  t.MXPreset.Open();
  t.MXPreset.SetOrder(-1);
  while (t.MXPreset.Next() == 0) ++n;
  t.MXPreset.Close();
  return n;
}

// Notes what the book's progress window shows at every redisplay, as
// "Preset 2 of 3|33% Complete|33", and does what a user would once it shows
// a given preset.
class BookToolkit : public tx::ConsoleToolkit {
 public:
  BookToolkit() : tx::ConsoleToolkit(nullptr) {}
  void Redisplay(tx::WindowId w, int control = 0) override {
    tx::ConsoleToolkit::Redisplay(w, control);
    if (Layout(w).title != kProgress) return;
    const std::string preset = ControlText(w, tx::PROGRESS_USERSTRING);
    progress.push_back(preset + "|" + ControlText(w, tx::PROGRESS_PCTTEXT) + "|" +
                       std::to_string(Progress(w, tx::PROGRESS_THERMOMETER)));
    if (!userActs.empty() && userActs.front().first == preset) {
      if (acting) acting();
      QueueWindowEvent(userActs.front().second, kProgress);
      userActs.pop_front();
    }
  }
  static constexpr const char* kProgress = "Progress...";
  std::vector<std::string> progress;
  std::deque<std::pair<std::string, Event>> userActs;
  std::function<void()> acting;  // just before each of them
};

// Tables imported once for all tests; each test works in that directory.
class MainWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new txtest::TempDir;
    txtest::ScopedCwd cwd(dir_->path());
    txtest::ImportSampleDefinitions(dir_->path());
  }
  static void TearDownTestSuite() {
    delete dir_;
    dir_ = nullptr;
  }
  // MXPreset lives in memory while anyone holds it open: the test holds it,
  // so the rows outlast the window that filled them.
  void SetUp() override {
    tx::Tables().MXPreset.Open();
    toolkit.SetHaltExits(false);
    previous = tx::SetToolkit(&toolkit);
    tx::Current() = tx::CurrentPreset{};
    fs::remove(dir_->path() / tx::BLOCK_IMAGE_FILE);
  }
  void TearDown() override {
    tx::SetToolkit(previous);
    tx::Tables().MXPreset.Close();
  }

  // Runs the window with the scripted events; it closes when they run out.
  // A book writes one preset per timer tick.
  void Run(std::vector<Event> events, std::vector<std::string> args = {}, std::vector<std::string> files = {}) {
    toolkit.SetCommandLine(std::move(args));
    for (const Event& e : events) toolkit.QueueWindowEvent(e, tx::MAIN_WINDOW_TITLE);
    tx::MainWindow window(toolkit, tx::Tables(), tx::Current());
    int64_t now = 0;
    window.SetClock([&now] { return now += 1000; });
    window.Run(files);
    w = window.Window();
    presetPath = window.PresetPath();
  }
  std::string Text(int control) { return toolkit.ControlText(w, control); }

  static txtest::TempDir* dir_;
  txtest::ScopedCwd cwd{dir_->path()};
  BookToolkit toolkit;
  tx::WindowToolkit* previous = nullptr;
  tx::WindowId w = 0;
  std::string presetPath;
};
txtest::TempDir* MainWindowTest::dir_ = nullptr;

Event Press(int control) { return Event(EventKind::Accepted, control); }

TEST(MainWindowLayout, EveryControlOfTheWindowByNumber) {
  const tx::WindowLayout l = tx::MainWindowLayout();
  EXPECT_EQ(l.title, "Tonalyx v1.13");
  EXPECT_EQ(l.width, 521);
  EXPECT_EQ(l.height, 206);
  EXPECT_TRUE(l.centred);
  EXPECT_TRUE(l.acceptsDrops);
  EXPECT_EQ(l.fontName, "Tahoma");
  struct Want {
    int number;
    tx::ControlKind kind;
    const char* text;
    int x, y, width, height;
  };
  const int A = tx::AUTO_SIZE;
  const Want want[] = {
      {1, tx::ControlKind::Button, "&Close", 443, 181, 60, 16},
      {2, tx::ControlKind::Button, "Refresh", 17, 181, A, 16},
      {3, tx::ControlKind::Button, "Select Preset", 303, 11, 67, A},
      {4, tx::ControlKind::Panel, "", 17, 39, 486, 134},
      {5, tx::ControlKind::Image, "", 40, 50, 442, 109},
      {6, tx::ControlKind::Text, "", 24, 11, A, A},
      {7, tx::ControlKind::Text, "", 63, 11, 226, A},
      {8, tx::ControlKind::Button, "Print PDF", 374, 11, 61, A},
      {9, tx::ControlKind::Panel, "", 17, 6, 283, 26},
      {10, tx::ControlKind::Text, tx::CREDIT_LINE, 153, 187, A, A},
      {11, tx::ControlKind::Button, "Export XML", 438, 11, 65, A},
      {12, tx::ControlKind::Region, "", 17, 37, 486, 136},
  };
  ASSERT_EQ(l.controls.size(), std::size(want));
  for (size_t i = 0; i < std::size(want); ++i) {
    const tx::ControlLayout& c = l.controls[i];
    EXPECT_EQ(c.number, want[i].number);
    EXPECT_EQ(c.kind, want[i].kind) << c.number;
    EXPECT_EQ(c.text, want[i].text) << c.number;
    EXPECT_EQ(std::vector<int>({c.x, c.y, c.width, c.height}),
              std::vector<int>({want[i].x, want[i].y, want[i].width, want[i].height}))
        << c.number;
    EXPECT_EQ(c.hidden, c.number == tx::REFRESHBUTTON) << c.number;
  }
  for (int n : {6, 7}) {
    EXPECT_EQ(l.controls[n - 1].fontSize, 14);
    EXPECT_TRUE(l.controls[n - 1].bold);
    EXPECT_EQ(l.controls[n - 1].color, 0xF0F0F0);
  }
}

TEST(MainWindowLayout, NumberShowsAsThreeDigitsAndBlankForZero) {
  EXPECT_EQ(tx::ShownPresetNumber(7), "007");
  EXPECT_EQ(tx::ShownPresetNumber(383), "383");
  EXPECT_EQ(tx::ShownPresetNumber(0), "");
}

TEST_F(MainWindowTest, StartUpAndShutDownInOrder) {
  // What start-up has done by the time the main window opens.
  struct Recorder : tx::ConsoleToolkit {
    Recorder() : tx::ConsoleToolkit(nullptr) { SetHaltExits(false); }
    tx::WindowId OpenWindow(const tx::WindowLayout& layout) override {
      procedure = tx::GlobalErrors().ProcedureName();
      tablesOpen = tx::Tables().DBEffects.OPENED && tx::Tables().DBSelection.OPENED && tx::Tables().MXPreset.OPENED;
      iconBefore = !ApplicationIcon().empty();
      sessionAnswer = EndSession();
      return tx::ConsoleToolkit::OpenWindow(layout);
    }
    std::string procedure;
    bool tablesOpen = false, iconBefore = false, sessionAnswer = false;
  } recorder;
  fs::remove("Corvane.INI");
  tx::Tables().MXPreset.Close();
  EXPECT_EQ(tx::RunTonalyx(recorder), 0);
  EXPECT_EQ(recorder.procedure, "Main");
  EXPECT_TRUE(recorder.tablesOpen);
  EXPECT_TRUE(recorder.iconBefore);
  EXPECT_TRUE(recorder.sessionAnswer);
  // Closed down: window, tables, procedure name; the settings written back.
  EXPECT_FALSE(recorder.IsOpen(recorder.Windows().front()));
  EXPECT_FALSE(tx::Tables().MXPreset.OPENED);
  EXPECT_FALSE(tx::Tables().DBEffects.OPENED);
  EXPECT_EQ(tx::GlobalErrors().ProcedureName(), "");
  std::ifstream ini("Corvane.INI");
  std::string all((std::istreambuf_iterator<char>(ini)), std::istreambuf_iterator<char>());
  EXPECT_NE(all.find("[__Dont_Touch_Me__]"), std::string::npos);
  EXPECT_NE(all.find("Sectors=0"), std::string::npos);
  tx::Tables().MXPreset.Open();
}

TEST_F(MainWindowTest, SelectPresetShowsNumberNameAndImageAndFillsTheRows) {
  toolkit.QueueFilePath(Sample("gen2_clean_chorus.syx"));
  Run({Press(tx::SELECTPRESETBUTTON), Press(tx::SELECTPRESETBUTTON)});
  ASSERT_EQ(toolkit.FileDialogs().size(), 2u);
  const tx::FileDialogRequest& r = toolkit.FileDialogs()[0];
  EXPECT_FALSE(r.save);
  EXPECT_EQ(r.title, "Axe-FX II Preset File Import");
  EXPECT_EQ(r.filter, "Preset Files (*.syx)|*.syx|All Files (*.*)|*.*");
  EXPECT_EQ(r.proposedPath, "");
  // The second dialog (cancelled) starts from the preset chosen before.
  EXPECT_EQ(toolkit.FileDialogs()[1].proposedPath, Sample("gen2_clean_chorus.syx"));
  EXPECT_EQ(Text(tx::PRESETNUMBER_2), "007");
  EXPECT_EQ(Text(tx::PRESETNAME), "Clean Chorus");
  EXPECT_FALSE(toolkit.ControlBitmap(w, tx::DRAW).empty());
  EXPECT_TRUE(fs::exists(tx::BLOCK_IMAGE_FILE));
  EXPECT_GT(PresetRows(), 20);
  EXPECT_TRUE(toolkit.Messages().empty());
}

TEST_F(MainWindowTest, ChoosingTheSameFileTwiceGivesOneSetOfRows) {
  toolkit.QueueFilePath(Sample("gen1_brit_crunch.syx"));
  Run({Press(tx::SELECTPRESETBUTTON)});
  const long once = PresetRows();
  toolkit.QueueFilePath(Sample("gen1_brit_crunch.syx"));
  toolkit.QueueFilePath(Sample("gen1_brit_crunch.syx"));
  Run({Press(tx::SELECTPRESETBUTTON), Press(tx::SELECTPRESETBUTTON)});
  EXPECT_GT(once, 0);
  EXPECT_EQ(PresetRows(), once);
}

TEST_F(MainWindowTest, RejectedFileKeepsTheShownPresetWhole) {
  std::ofstream("notes.syx") << "these are not the bytes of a preset";
  std::string badDevice("\xF0\x00\x01\x74\x07", 5);
  badDevice.resize(8192, ' ');
  std::ofstream("future.syx", std::ios::binary) << badDevice;
  Run({Event(EventKind::Dropped, 0, Sample("gen2_lead_pitch.syx"))});
  const long rows = PresetRows();
  const tx::CurrentPreset shown = tx::Current();
  Run({Event(EventKind::Dropped, 0, Sample("gen2_lead_pitch.syx")), Event(EventKind::Dropped, 0, "notes.syx"),
       Event(EventKind::Dropped, 0, "future.syx")});
  ASSERT_EQ(toolkit.Messages().size(), 2u);
  EXPECT_EQ(toolkit.Messages()[0].request.text, "This does not appear to be a valid Axe-FX Preset File!");
  EXPECT_EQ(toolkit.Messages()[1].request.text, "Invalid Device Found");
  EXPECT_EQ(Text(tx::PRESETNAME), "Lead + Pitch");
  EXPECT_EQ(PresetRows(), rows);
  // The device type and the queues too: the report and export still match the screen.
  EXPECT_EQ(tx::Current().state.deviceType, shown.state.deviceType);
  EXPECT_EQ(tx::Current().PQ.size(), shown.PQ.size());
}

TEST_F(MainWindowTest, SeveralFilesOrAFolderDroppedBecomeOneBook) {
  fs::create_directory("set");
  fs::copy_file(Sample("gen2_clean_chorus.syx"), "set/a.syx");
  fs::copy_file(Sample("gen1_wah_trem.syx"), "set/b.syx");
  std::ofstream("set/notes.syx") << "not a preset";
  Event folder(EventKind::Dropped, 0, "set");
  Event two(EventKind::Dropped, 0, Sample("gen2_lead_pitch.syx"));
  two.paths = {Sample("gen2_lead_pitch.syx"), Sample("gen1_brit_crunch.syx")};
  toolkit.QueueAnswer(tx::BUTTON_YES);  // the folder as a book
  toolkit.QueueFilePath("book");
  toolkit.QueueAnswer(tx::BUTTON_OK);  // the outcome
  toolkit.QueueAnswer(tx::BUTTON_NO);  // the two files imported instead
  Run({folder, two});
  ASSERT_EQ(toolkit.Messages().size(), 3u);
  EXPECT_EQ(toolkit.Messages()[0].request.text, "Write the 3 preset files of the folder set as one PDF book?");
  EXPECT_EQ(toolkit.Messages()[1].request.text,
            "The book holds 2 presets on 5 pages.|1 files left out:|notes.syx: This does not appear to be a valid "
            "Axe-FX Preset File!");
  EXPECT_EQ(toolkit.Messages()[2].request.text, "Write the 2 files dropped as one PDF book?");
  ASSERT_EQ(toolkit.FileDialogs().size(), 1u);
  EXPECT_EQ(toolkit.FileDialogs()[0].title, "Save Preset Book");
  // The report's progress window counted the entries through to the end.
  EXPECT_EQ(toolkit.progress, std::vector<std::string>({"Preset 1 of 3|0% Complete|0", "Preset 2 of 3|33% Complete|33",
                                                         "Preset 3 of 3|66% Complete|66",
                                                         "Preset 3 of 3|100% Complete|100"}));
  const tx::WindowId progress = toolkit.Windows()[1];
  EXPECT_EQ(toolkit.Layout(progress).title, "Progress...");
  EXPECT_EQ(toolkit.Layout(progress).controls.size(), tx::ReportProgressLayout().controls.size());
  EXPECT_FALSE(toolkit.IsOpen(progress));
  std::ifstream book("book.PDF", std::ios::binary);
  std::string head(8, '\0');
  book.read(head.data(), 8);
  EXPECT_EQ(head, "%PDF-1.3");
  // Answered No: each file imported in turn, the last one shown.
  EXPECT_EQ(Text(tx::PRESETNAME), "Brit Crunch");
}

std::set<std::string> Listing(const fs::path& dir) {
  std::set<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.insert(e.path().filename().string());
  return names;
}

TEST_F(MainWindowTest, BookStoppedMidwayWritesNoFileAndLeavesNoImages) {
  fs::create_directories("four");
  fs::create_directories("scratch");
  for (const char* name : {"a.syx", "b.syx", "c.syx", "d.syx"})
    fs::copy_file(Sample("gen2_clean_chorus.syx"), fs::path("four") / name);
  std::ofstream("old.PDF") << "the book of last week";
  const char* tmp = std::getenv("TMPDIR");
  const std::optional<std::string> keptTmp = tmp ? std::optional<std::string>(tmp) : std::nullopt;
  setenv("TMPDIR", (fs::current_path() / "scratch").c_str(), 1);
  // Stopped by Cancel into an existing book, then by the close box into a new one.
  toolkit.userActs = {{"Preset 3 of 4", Press(tx::PROGRESS_CANCEL)}, {"Preset 2 of 4", Event(EventKind::CloseRequested)}};
  size_t imagesMidway = 0;
  toolkit.acting = [&] {
    for (const std::string& name : Listing("scratch")) imagesMidway += name.rfind("tonalyx-book-", 0) == 0 ? 1 : 0;
  };
  for (int i = 0; i < 2; ++i) {
    toolkit.QueueAnswer(tx::BUTTON_YES);
    toolkit.QueueAnswer(tx::BUTTON_OK);
  }
  toolkit.QueueFilePath("old.PDF");
  toolkit.QueueFilePath("new");
  const std::set<std::string> before = Listing(".");
  Run({Event(EventKind::Dropped, 0, "four"), Event(EventKind::Dropped, 0, "four")});
  if (keptTmp)
    setenv("TMPDIR", keptTmp->c_str(), 1);
  else
    unsetenv("TMPDIR");

  EXPECT_EQ(toolkit.progress, std::vector<std::string>({"Preset 1 of 4|0% Complete|0", "Preset 2 of 4|25% Complete|25",
                                                         "Preset 3 of 4|50% Complete|50", "Preset 1 of 4|0% Complete|0",
                                                         "Preset 2 of 4|25% Complete|25"}));
  ASSERT_EQ(toolkit.Messages().size(), 4u);
  for (size_t i : {1u, 3u}) {
    EXPECT_EQ(toolkit.Messages()[i].request.text, "The book was cancelled; no file was written.");
    EXPECT_EQ(toolkit.Messages()[i].request.icon, tx::MessageIcon::Information);
  }
  std::ifstream old("old.PDF");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(old), {}), "the book of last week");
  // No new book, no half-written document beside the target, and the
  // renderers' images, there while they ran, are gone.
  EXPECT_EQ(Listing("."), before);
  EXPECT_EQ(imagesMidway, 2u);
  EXPECT_TRUE(fs::is_empty("scratch"));
}

TEST_F(MainWindowTest, UnreadableFilesAndCancelledDialogsChangeNothingSilently) {
  std::ofstream("empty.syx").close();
  fs::create_directory("folder.syx");
  Run({Event(EventKind::Dropped, 0, Sample("gen1_wah_trem.syx"))});
  const std::string name = Text(tx::PRESETNAME);
  const long rows = PresetRows();
  toolkit.QueueFileCancel();
  toolkit.QueueFileCancel();
  toolkit.QueueMenuChoice(1);
  toolkit.QueueFileCancel();
  Run({Event(EventKind::Dropped, 0, Sample("gen1_wah_trem.syx")), Event(EventKind::Dropped, 0, "missing.syx"),
       Event(EventKind::Dropped, 0, "empty.syx"), Event(EventKind::Dropped, 0, "folder.syx"),
       Press(tx::SELECTPRESETBUTTON), Press(tx::EXPORTBUTTON), Event(EventKind::RightClick, tx::IMAGEREGION)});
  EXPECT_TRUE(toolkit.Messages().empty());
  EXPECT_EQ(Text(tx::PRESETNAME), name);
  EXPECT_EQ(PresetRows(), rows);
  EXPECT_EQ(toolkit.FileDialogs().size(), 3u);
  EXPECT_FALSE(fs::exists("Wah Trem.xml"));
  EXPECT_FALSE(fs::exists("Wah Trem.png"));
}

TEST_F(MainWindowTest, RefreshOnlyForTheAdministrator) {
  auto rows = [](tx::FileManager& table) {
    long n = 0;
    table.Open();
    table.SetOrder(-1);
    while (table.Next() == 0) ++n;
    table.Close();
    return n;
  };
  const long before = rows(tx::Tables().DBSelectionMaster);
  Run({Press(tx::REFRESHBUTTON)});
  EXPECT_TRUE(toolkit.ControlHidden(w, tx::REFRESHBUTTON));
  EXPECT_EQ(rows(tx::Tables().DBSelectionMaster), before);
  for (const char* flag : {"/ADMIN", "--admin"}) {
    Run({}, {flag});
    EXPECT_FALSE(toolkit.ControlHidden(w, tx::REFRESHBUTTON)) << flag;
  }
  // The administrator's Refresh imports again: the flattened lists grow.
  Run({Press(tx::REFRESHBUTTON)}, {"/ADMIN"});
  EXPECT_EQ(rows(tx::Tables().DBSelectionMaster), 2 * before);
}

// Another process reads "sel.mdl" past the lock wait: the blocks that write
// it are kept out of every table, and the administrator hears which.
TEST_F(MainWindowTest, RefreshThatCannotStoreABlockSaysWhichAndWhatWasKept) {
  tx::TableSet& t = tx::Tables();
  const auto all = {&t.DBEffects, &t.DBCabs, &t.DBSelection, &t.DBSelectionMaster, &t.DBScreenMaster};
  for (tx::FileManager* fm : all) fm->LOCKRECOVER = 0;
  sqlite3* reader = nullptr;
  ASSERT_EQ(sqlite3_open("sel.mdl", &reader), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(reader, "BEGIN; SELECT count(*) FROM DBSelection;", nullptr, nullptr, nullptr), SQLITE_OK);
  Run({Press(tx::REFRESHBUTTON)}, {"/ADMIN"});
  sqlite3_exec(reader, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(reader);
  for (tx::FileManager* fm : all) fm->LOCKRECOVER = 10;
  ASSERT_EQ(toolkit.Messages().size(), 1u);
  const tx::MessageRequest& m = toolkit.Messages()[0].request;
  EXPECT_EQ(m.caption, "Refresh");
  EXPECT_EQ(m.text.rfind("could not write the Gen2 effects, cabinets and selection lists: the tables are busy", 0), 0u)
      << m.text;
  EXPECT_NE(m.text.find("|stored in full: the Gen2 screen layout and the Gen1 screen layout"), std::string::npos)
      << m.text;
}

TEST_F(MainWindowTest, BlockImageMenuSavesAndCopiesThePicture) {
  toolkit.QueueMenuChoice(1);
  toolkit.QueueFilePath("saved.png");
  toolkit.QueueMenuChoice(2);
  Run({Event(EventKind::Dropped, 0, Sample("gen2_clean_chorus.syx")), Event(EventKind::RightClick, tx::IMAGEREGION),
       Event(EventKind::RightClick, tx::IMAGEREGION)});
  ASSERT_EQ(toolkit.Menus().size(), 2u);
  EXPECT_EQ(toolkit.Menus()[0], "Save Image...|Copy Image To Clipboard");
  EXPECT_EQ(toolkit.FileDialogs().back().title, "Save Preset Block Image");
  EXPECT_EQ(toolkit.FileDialogs().back().proposedPath, "Clean Chorus.png");
  EXPECT_GT(fs::file_size("saved.png"), 0u);
  EXPECT_EQ(toolkit.ClipboardImage(), toolkit.ControlBitmap(w, tx::DRAW));
}

TEST_F(MainWindowTest, ExportXmlProposesThePresetNameAndWritesTheRows) {
  toolkit.QueueFilePath("chorus.xml");
  Run({Event(EventKind::Dropped, 0, Sample("gen2_clean_chorus.syx")), Press(tx::EXPORTBUTTON)});
  EXPECT_EQ(toolkit.FileDialogs().back().title, "Export Preset To XML");
  EXPECT_EQ(toolkit.FileDialogs().back().proposedPath, "Clean Chorus.xml");
  std::ifstream xml("chorus.xml");
  std::string all((std::istreambuf_iterator<char>(xml)), std::istreambuf_iterator<char>());
  EXPECT_NE(all.find("<Preset Name=\"Clean Chorus\" Number=\"7\">"), std::string::npos);
}

TEST_F(MainWindowTest, FilesGivenAtStartAreImportedOnceTheWindowIsOpen) {
  Run({}, {}, {Sample("gen1_wah_trem.syx")});
  EXPECT_EQ(Text(tx::PRESETNAME), "Wah Trem");
  EXPECT_EQ(presetPath, Sample("gen1_wah_trem.syx"));
}

TEST_F(MainWindowTest, CloseButtonEndsTheWindowAndDrawDebugReachesTheCanvas) {
  struct Probe : tx::ConsoleToolkit {
    Probe() : tx::ConsoleToolkit(nullptr) {}
    bool NextEvent(tx::WindowId id, Event& e) override {
      ++asked;
      return tx::ConsoleToolkit::NextEvent(id, e);
    }
    int asked = 0;
  } probe;
  probe.SetCommandLine({"--draw-debug"});
  probe.QueueWindowEvent(Press(tx::CANCELBUTTON));
  probe.QueueWindowEvent(Press(tx::SELECTPRESETBUTTON));  // never reached
  tx::MainWindow window(probe, tx::Tables(), tx::Current());
  window.Run();
  EXPECT_EQ(probe.asked, 3);  // opened, Close, then the end
  EXPECT_TRUE(probe.FileDialogs().empty());
  EXPECT_TRUE(window.BlockCanvas().Debug());
}

}  // namespace
