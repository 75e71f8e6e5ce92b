#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "platform/toolkit/console_toolkit.h"
#include "support/temp_dir.h"

namespace {

using tx::Event;
using tx::EventKind;

tx::WindowLayout MainLayout() {
  tx::WindowLayout l;
  l.title = "Tonalyx v1.13";
  l.icon = "Tonalyx.ico";
  l.fontName = "Tahoma";
  l.width = 521;
  l.height = 206;
  l.acceptsDrops = true;
  tx::ControlLayout close;
  close.number = 1;
  close.kind = tx::ControlKind::Button;
  close.text = "&Close";
  close.picture = "Stop 2.ico";
  close.x = 443;
  close.y = 181;
  close.width = 60;
  close.height = 16;
  l.controls.push_back(close);
  tx::ControlLayout refresh;
  refresh.number = 2;
  refresh.kind = tx::ControlKind::Button;
  refresh.text = "Refresh";
  refresh.hidden = true;
  refresh.x = 17;
  refresh.y = 181;
  refresh.height = 16;
  l.controls.push_back(refresh);
  tx::ControlLayout image;
  image.number = 5;
  image.kind = tx::ControlKind::Image;
  image.x = 40;
  image.y = 50;
  image.width = 442;
  image.height = 109;
  l.controls.push_back(image);
  return l;
}

std::vector<Event> Drain(tx::WindowToolkit& tk, tx::WindowId w, size_t limit = 100) {
  std::vector<Event> events;
  Event e;
  while (events.size() < limit && tk.NextEvent(w, e)) events.push_back(e);
  return events;
}

class ConsoleToolkitTest : public ::testing::Test {
 protected:
  tx::ConsoleToolkit tk{nullptr};
};

TEST_F(ConsoleToolkitTest, FirstEventIsOpenWindowThenPostedInPostingOrder) {
  tx::WindowId w = tk.OpenWindow(MainLayout());
  tk.PostEvent(w, Event(EventKind::Accepted, 3));
  tk.PostEvent(w, Event(EventKind::Dropped, 0, "/tmp/a.syx"));
  tk.PostEvent(w, Event(EventKind::Posted, 0, {}, 42));
  Event e;
  ASSERT_TRUE(tk.NextEvent(w, e));
  EXPECT_EQ(e.kind, EventKind::OpenWindow);
  ASSERT_TRUE(tk.NextEvent(w, e));
  EXPECT_EQ(e.kind, EventKind::Accepted);
  EXPECT_EQ(e.control, 3);
  ASSERT_TRUE(tk.NextEvent(w, e));
  EXPECT_EQ(e.kind, EventKind::Dropped);
  EXPECT_EQ(e.path, "/tmp/a.syx");
  // Posting while handling goes behind what is queued.
  tk.PostEvent(w, Event(EventKind::Posted, 0, {}, 43));
  ASSERT_TRUE(tk.NextEvent(w, e));
  EXPECT_EQ(e.code, 42);
  ASSERT_TRUE(tk.NextEvent(w, e));
  EXPECT_EQ(e.code, 43);
}

TEST_F(ConsoleToolkitTest, LoopEndsWhenTheWindowCloses) {
  tx::WindowId w = tk.OpenWindow(MainLayout());
  tk.PostEvent(w, Event(EventKind::Accepted, 1));
  tk.PostEvent(w, Event(EventKind::Accepted, 8));
  int handled = 0;
  Event e;
  while (tk.NextEvent(w, e)) {
    ++handled;
    if (e.kind == EventKind::Accepted && e.control == 1) tk.CloseWindow(w);
  }
  EXPECT_EQ(handled, 2);  // open, then the close button; the rest is dropped
  EXPECT_FALSE(tk.IsOpen(w));
  EXPECT_FALSE(tk.NextEvent(w, e));
  tk.PostEvent(w, Event(EventKind::Accepted, 1));
  EXPECT_FALSE(tk.NextEvent(w, e));
}

TEST_F(ConsoleToolkitTest, IdleWindowIsAskedToCloseThenClosed) {
  tx::WindowId w = tk.OpenWindow(MainLayout());
  std::vector<Event> events = Drain(tk, w);
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[1].kind, EventKind::CloseRequested);
  EXPECT_FALSE(tk.IsOpen(w));
}

TEST_F(ConsoleToolkitTest, IdleWindowTakesItsDefaultButtonFirst) {
  tx::WindowLayout l = MainLayout();
  l.controls[0].defaultButton = true;
  tx::WindowId w = tk.OpenWindow(l);
  std::vector<Event> events = Drain(tk, w);
  ASSERT_GE(events.size(), 2u);
  EXPECT_EQ(events[1].kind, EventKind::Accepted);
  EXPECT_EQ(events[1].control, 1);
  // A disabled default button is not pressed.
  tx::WindowId w2 = tk.OpenWindow(l);
  tk.SetControlEnabled(w2, 1, false);
  events = Drain(tk, w2);
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[1].kind, EventKind::CloseRequested);
}

TEST_F(ConsoleToolkitTest, ScriptedEventsComeAfterPostedOnes) {
  tx::WindowId w = tk.OpenWindow(MainLayout());
  tk.QueueWindowEvent(Event(EventKind::RightClick, 12));
  tk.PostEvent(w, Event(EventKind::Accepted, 3));
  std::vector<Event> events = Drain(tk, w, 3);
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[1].kind, EventKind::Accepted);
  EXPECT_EQ(events[2].kind, EventKind::RightClick);
  EXPECT_EQ(events[2].control, 12);
}

TEST_F(ConsoleToolkitTest, TimerTicksAdvanceVirtualClockUntilStopped) {
  tx::WindowId w = tk.OpenWindow(MainLayout());
  tk.SetTimer(w, 25);
  EXPECT_EQ(tk.TimerInterval(w), 25);
  Event e;
  ASSERT_TRUE(tk.NextEvent(w, e));
  EXPECT_EQ(e.kind, EventKind::OpenWindow);
  int ticks = 0;
  while (tk.NextEvent(w, e)) {
    if (e.kind != EventKind::Timer) break;
    if (++ticks == 4) tk.SetTimer(w, 0);
  }
  EXPECT_EQ(ticks, 4);
  EXPECT_EQ(tk.Now(), 100);
  EXPECT_EQ(e.kind, EventKind::CloseRequested);  // nothing left once stopped
}

TEST_F(ConsoleToolkitTest, PostedEventsGoBeforeTimerTicks) {
  tx::WindowId w = tk.OpenWindow(MainLayout());
  tk.SetTimer(w, 1);
  Event e;
  tk.NextEvent(w, e);
  ASSERT_TRUE(tk.NextEvent(w, e));
  EXPECT_EQ(e.kind, EventKind::Timer);
  tk.PostEvent(w, Event(EventKind::CloseRequested));
  ASSERT_TRUE(tk.NextEvent(w, e));
  EXPECT_EQ(e.kind, EventKind::CloseRequested);
  tk.CloseWindow(w);
  EXPECT_FALSE(tk.NextEvent(w, e));
  EXPECT_EQ(tk.TimerInterval(w), 0);
}

TEST_F(ConsoleToolkitTest, ControlPropertiesAreAddressedByNumber) {
  tx::WindowId w = tk.OpenWindow(MainLayout());
  EXPECT_EQ(tk.ControlText(w, 1), "&Close");
  EXPECT_TRUE(tk.ControlHidden(w, 2));
  tk.SetControlHidden(w, 2, false);
  EXPECT_FALSE(tk.ControlHidden(w, 2));
  tk.SetControlText(w, 1, "Done");
  EXPECT_EQ(tk.ControlText(w, 1), "Done");
  EXPECT_EQ(tk.ControlPicture(w, 1), "Stop 2.ico");
  tk.SetControlBitmap(w, 5, {'B', 'M', 1, 2});
  EXPECT_EQ(tk.ControlBitmap(w, 5).size(), 4u);
  tk.SetControlSelection(w, 5, 3);
  EXPECT_EQ(tk.ControlSelection(w, 5), 3);
  tk.SetDefaultButton(w, 1);
  EXPECT_TRUE(tk.IsDefaultButton(w, 1));
  tk.SetProgress(w, 5, 150);
  EXPECT_EQ(tk.Progress(w, 5), 100);
  tk.SetControlTip(w, 1, "Enter a page number from 1 to 6");
  EXPECT_EQ(tk.ControlTip(w, 1), "Enter a page number from 1 to 6");
  tk.SetControlRange(w, 1, 1, 6);
  EXPECT_EQ(tk.ControlRange(w, 1), std::make_pair(1, 6));
  tk.SetStatusText(w, "Page 1 of 6");
  EXPECT_EQ(tk.StatusText(w), "Page 1 of 6");
  tk.Redisplay(w);
  tk.Redisplay(w, 6);
  EXPECT_EQ(tk.RedisplayCount(w), 2);
  // Unknown controls and windows are ignored and read as empty.
  tk.SetControlText(w, 99, "x");
  EXPECT_EQ(tk.ControlText(w, 99), "");
  EXPECT_EQ(tk.ControlText(77, 1), "");
  EXPECT_FALSE(tk.IsOpen(77));
}

TEST_F(ConsoleToolkitTest, PictureFileAndBitmapReplaceEachOther) {
  tx::WindowId w = tk.OpenWindow(MainLayout());
  tk.SetControlBitmap(w, 5, {'B', 'M'});
  tk.SetControlPicture(w, 5, "tmp01.png");
  EXPECT_TRUE(tk.ControlBitmap(w, 5).empty());
  EXPECT_EQ(tk.ControlPicture(w, 5), "tmp01.png");
  tk.SetControlBitmap(w, 5, {'B', 'M'});
  EXPECT_EQ(tk.ControlPicture(w, 5), "");
}

TEST_F(ConsoleToolkitTest, MenuItemsAreAddressedLikeControls) {
  tx::WindowLayout l = MainLayout();
  l.menus.push_back({"&File", {{101, "&Print"}, {102, "E&xit"}}});
  tx::WindowId w = tk.OpenWindow(l);
  EXPECT_TRUE(tk.ControlEnabled(w, 101));
  tk.SetControlEnabled(w, 101, false);
  EXPECT_FALSE(tk.ControlEnabled(w, 101));
  EXPECT_EQ(tk.ControlText(w, 102), "E&xit");
}

TEST_F(ConsoleToolkitTest, ControlSizeInPixelsFollowsDialogUnits) {
  tx::WindowId w = tk.OpenWindow(MainLayout());
  tx::PixelSize s = tk.ControlPixelSize(w, 5);
  EXPECT_EQ(s.width, 663);   // 442 units at 1.5 pixels
  EXPECT_EQ(s.height, 177);  // 109 units at 13/8 pixels
  tx::PixelSize autoSized = tk.ControlPixelSize(w, 2);
  EXPECT_GT(autoSized.width, 0);
  EXPECT_EQ(autoSized.height, 26);
}

TEST_F(ConsoleToolkitTest, CentredWindowAndKeepOnDesktop) {
  tk.SetDesktop(1000, 800);
  tx::WindowId w = tk.OpenWindow(MainLayout());
  tx::WindowGeometry g = tk.Geometry(w);
  EXPECT_EQ(g.width, 781);
  EXPECT_EQ(g.x, (1000 - 781) / 2);
  g.x = 900;
  g.y = -50;
  tk.SetGeometry(w, g);
  tk.KeepOnDesktop(w);
  g = tk.Geometry(w);
  EXPECT_EQ(g.x, 1000 - 781);
  EXPECT_EQ(g.y, 0);
  // A window already in view stays where it is.
  g.x = 10;
  g.y = 20;
  tk.SetGeometry(w, g);
  tk.KeepOnDesktop(w);
  EXPECT_EQ(tk.Geometry(w).x, 10);
  EXPECT_EQ(tk.Geometry(w).y, 20);
}

TEST_F(ConsoleToolkitTest, FixedSizeWindowKeepsItsSize) {
  tx::WindowLayout l = MainLayout();
  tx::WindowId fixed = tk.OpenWindow(l);
  l.resizable = true;
  tx::WindowId sizable = tk.OpenWindow(l);
  tx::WindowGeometry g{5, 6, 300, 200, false, false};
  tk.SetGeometry(fixed, g);
  tk.SetGeometry(sizable, g);
  EXPECT_FALSE(tk.Resizable(fixed));
  EXPECT_EQ(tk.Geometry(fixed).width, 781);
  EXPECT_EQ(tk.Geometry(fixed).x, 5);
  EXPECT_TRUE(tk.Resizable(sizable));
  EXPECT_EQ(tk.Geometry(sizable).width, 300);
}

TEST_F(ConsoleToolkitTest, HideShowAndClose) {
  tx::WindowId w = tk.OpenWindow(MainLayout());
  EXPECT_FALSE(tk.WindowHidden(w));
  tk.HideWindow(w);
  EXPECT_TRUE(tk.WindowHidden(w));
  tk.ShowWindow(w);
  EXPECT_FALSE(tk.WindowHidden(w));
  tk.CloseWindow(w);
  EXPECT_FALSE(tk.IsOpen(w));
  EXPECT_EQ(tk.Layout(w).title, "Tonalyx v1.13");
}

TEST_F(ConsoleToolkitTest, MessageBoxAnswersScriptedThenDefault) {
  std::ostringstream out;
  tx::ConsoleToolkit printing(&out);
  tx::MessageRequest r;
  r.text = "first|second";
  r.caption = "Preset Warning";
  r.icon = tx::MessageIcon::Information;
  r.buttons = tx::BUTTON_YES | tx::BUTTON_NO;
  r.defaultButton = tx::BUTTON_NO;
  r.barIsNewline = true;
  printing.QueueAnswer(tx::BUTTON_YES);
  EXPECT_EQ(printing.MessageBox(r), unsigned(tx::BUTTON_YES));
  EXPECT_EQ(printing.MessageBox(r), unsigned(tx::BUTTON_NO));
  EXPECT_EQ(out.str(), "Preset Warning\nfirst\nsecond\nPreset Warning\nfirst\nsecond\n");
  ASSERT_EQ(printing.Messages().size(), 2u);
  EXPECT_EQ(printing.Messages()[0].answer, unsigned(tx::BUTTON_YES));
  EXPECT_EQ(printing.Messages()[1].request.caption, "Preset Warning");

  // Bars kept when the caller does not ask for lines.
  r.barIsNewline = false;
  out.str("");
  printing.MessageBox(r);
  EXPECT_EQ(out.str(), "Preset Warning\nfirst|second\n");
}

TEST_F(ConsoleToolkitTest, DefaultOutsideTheButtonSetFallsToTheFirstButton) {
  tx::MessageRequest r;
  r.buttons = tx::BUTTON_RETRY | tx::BUTTON_CANCEL;
  r.defaultButton = tx::BUTTON_OK;
  EXPECT_EQ(tk.MessageBox(r), unsigned(tx::BUTTON_RETRY));
  r.buttons = 0;
  EXPECT_EQ(tk.MessageBox(r), unsigned(tx::BUTTON_OK));
}

TEST_F(ConsoleToolkitTest, FileDialogsAnswerFromQueueOrCancelAndKeepWorkingDirectory) {
  txtest::TempDir dir;
  txtest::ScopedCwd cwd(dir.path());
  tk.QueueFilePath("/presets/a.syx");
  tk.QueueFileCancel();
  tx::FileDialogRequest open{false, "Axe-FX II Preset File Import", "Preset Files (*.syx)|*.syx|All Files (*.*)|*.*",
                             ""};
  EXPECT_EQ(tk.FileDialog(open), std::optional<std::string>("/presets/a.syx"));
  EXPECT_EQ(tk.FileDialog(open), std::nullopt);
  EXPECT_EQ(tk.FileDialog(open), std::nullopt);  // queue empty: cancel
  ASSERT_EQ(tk.FileDialogs().size(), 3u);
  EXPECT_EQ(tk.FileDialogs()[0].title, "Axe-FX II Preset File Import");
  EXPECT_EQ(std::filesystem::current_path(), dir.path());
}

TEST(FileFilter, SplitsIntoLabelPatternPairs) {
  auto pairs = tx::ParseFileFilter("Preset Files (*.syx)|*.syx|All Files (*.*)|*.*");
  ASSERT_EQ(pairs.size(), 2u);
  EXPECT_EQ(pairs[0].first, "Preset Files (*.syx)");
  EXPECT_EQ(pairs[0].second, "*.syx");
  EXPECT_EQ(pairs[1].second, "*.*");
  EXPECT_EQ(tx::ParseFileFilter("PDF|*.pdf|").size(), 1u);
  EXPECT_EQ(tx::ParseFileFilter("Only a label").size(), 0u);
  EXPECT_EQ(tx::ParseFileFilter("").size(), 0u);
}

TEST_F(ConsoleToolkitTest, PopupMenuReturnsScriptedEntryOrNone) {
  tx::WindowId w = tk.OpenWindow(MainLayout());
  tk.QueueMenuChoice(2);
  tk.QueueMenuChoice(3);  // out of range: none
  EXPECT_EQ(tk.PopupMenu(w, "Save Image...|Copy Image To Clipboard"), 2);
  EXPECT_EQ(tk.PopupMenu(w, "Save Image...|Copy Image To Clipboard"), 0);
  EXPECT_EQ(tk.PopupMenu(w, "Save Image...|Copy Image To Clipboard"), 0);
  EXPECT_EQ(tk.Menus().size(), 3u);
}

TEST_F(ConsoleToolkitTest, ClipboardTakesTheImageControlsPicture) {
  tx::WindowId w = tk.OpenWindow(MainLayout());
  EXPECT_FALSE(tk.CopyImageToClipboard(w, 5));  // nothing drawn yet
  tk.SetControlBitmap(w, 5, {'B', 'M', 9});
  EXPECT_TRUE(tk.CopyImageToClipboard(w, 5));
  EXPECT_EQ(tk.ClipboardImage(), (std::vector<uint8_t>{'B', 'M', 9}));
}

TEST_F(ConsoleToolkitTest, SessionEndIsAnsweredByTheHandlers) {
  EXPECT_TRUE(tk.EndSession());  // no handlers: may end
  int notices = 0;
  tk.SetSessionEndHandlers([] { return true; }, [&] { ++notices; });
  EXPECT_TRUE(tk.EndSession());
  EXPECT_EQ(notices, 1);
  tk.SetSessionEndHandlers([] { return false; }, [&] { ++notices; });
  EXPECT_FALSE(tk.EndSession());
  EXPECT_EQ(notices, 1);
}

TEST_F(ConsoleToolkitTest, IconAndDebugOutputAreRecorded) {
  std::ostringstream out;
  tx::ConsoleToolkit printing(&out);
  printing.SetApplicationIcon("Tonalyx.ico");
  printing.DebugOutput("canvas: bad bitmap");
  EXPECT_EQ(printing.ApplicationIcon(), "Tonalyx.ico");
  ASSERT_EQ(printing.DebugLines().size(), 1u);
  EXPECT_EQ(out.str(), "[debug] canvas: bad bitmap\n");
}

TEST_F(ConsoleToolkitTest, HaltUnderTestIsRecorded) {
  tk.SetHaltExits(false);
  tk.Halt(3);
  EXPECT_TRUE(tk.Halted());
  EXPECT_EQ(tk.HaltCode(), 3);
}

TEST(ConsoleToolkitDeath, HaltEndsTheProgram) {
  EXPECT_EXIT(
      {
        tx::ConsoleToolkit tk(nullptr);
        tk.Halt(3);
      },
      ::testing::ExitedWithCode(3), "");
}

TEST(ProcessToolkit, SetToolkitReplacesAndRestores) {
  tx::ConsoleToolkit mine(nullptr);
  tx::WindowToolkit* before = &tx::Toolkit();
  tx::WindowToolkit* previous = tx::SetToolkit(&mine);
  EXPECT_EQ(previous, before);
  EXPECT_EQ(&tx::Toolkit(), &mine);
  tx::SetToolkit(previous);
  EXPECT_EQ(&tx::Toolkit(), before);
  tx::SetToolkit(nullptr);
  EXPECT_EQ(&tx::Toolkit(), before);  // the default console toolkit
}

// The progress line of a visible window with a progress bar.
tx::WindowLayout ProgressLayout() {
  tx::WindowLayout l;
  l.title = "Progress...";
  tx::ControlLayout bar;
  bar.number = 1;
  bar.kind = tx::ControlKind::ProgressBar;
  tx::ControlLayout text;
  text.number = 2;
  text.kind = tx::ControlKind::Text;
  l.controls = {bar, text};
  return l;
}

void Step(tx::ConsoleToolkit& tk, tx::WindowId w, int percent) {
  tk.SetProgress(w, 1, percent);
  tk.SetControlText(w, 2, std::to_string(percent) + "% Complete");
  tk.Redisplay(w, 2);
  tk.Redisplay(w, 1);
}

TEST(ConsoleProgress, PlainLinesAtTheStartAndOncePerQuarter) {
  std::ostringstream out;
  tx::ConsoleToolkit tk(nullptr);
  tk.SetProgressOutput(&out, false);
  tx::WindowId w = tk.OpenWindow(ProgressLayout());
  for (int p : {1, 10, 24, 30, 55, 74, 100}) Step(tk, w, p);
  const std::string expected =
      "Progress... 1% Complete\nProgress... 30% Complete\nProgress... 55% Complete\nProgress... 100% Complete\n";
  EXPECT_EQ(out.str(), expected);
  tk.HideWindow(w);
  Step(tk, w, 50);
  tx::WindowId quiet = tk.OpenWindow(MainLayout());  // no bar, no line
  tk.Redisplay(quiet);
  EXPECT_EQ(out.str(), expected);
}

TEST(ConsoleProgress, OnATerminalOneLineIsRewrittenAndClearedBeforeAMessage) {
  std::ostringstream out;
  {
    tx::ConsoleToolkit tk(nullptr);
    tk.SetProgressOutput(&out, true);
    tx::WindowId w = tk.OpenWindow(ProgressLayout());
    Step(tk, w, 100);
    Step(tk, w, 5);
    EXPECT_EQ(out.str(), "\rProgress... 100% Complete\rProgress... 5% Complete  ");
    tk.MessageBox(tx::MessageRequest{"text", "caption"});
    EXPECT_EQ(out.str().substr(out.str().size() - 25), "\r" + std::string(23, ' ') + "\r");
    Step(tk, w, 6);
  }
  EXPECT_EQ(out.str().back(), '\r');  // the last line goes with the toolkit
}

}  // namespace
