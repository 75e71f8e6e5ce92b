// The Qt toolkit on the offscreen platform: layouts in dialog units, controls
// by number, the event queue, dialogs answered as a user would, drops, the
// right mouse button, the clipboard and the desktop.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "draw/bmp_builder.h"
#include "platform/qt/qt_driver.h"
#include "platform/qt/qt_toolkit.h"
#include "support/temp_dir.h"

namespace {

using tx::ControlKind;
using tx::ControlLayout;
using tx::Event;
using tx::EventKind;

class QtToolkitTest : public ::testing::Test {
 protected:
  tx::WindowLayout Layout() {
    tx::WindowLayout l;
    l.title = "Test";
    l.fontName = "DejaVu Sans";
    l.fontSize = 10;
    l.width = 300;
    l.height = 150;
    l.modal = false;
    l.acceptsDrops = true;
    l.statusBar = true;
    l.controls = {tx::PlacedControl(1, ControlKind::Button, "&Go", 10, 10, 50, 14),
                  tx::PlacedControl(2, ControlKind::Text, "Name", 10, 30, tx::AUTO_SIZE, tx::AUTO_SIZE),
                  tx::PlacedControl(3, ControlKind::Image, "", 40, 50, 200, 60),
                  tx::PlacedControl(4, ControlKind::Region, "", 30, 45, 220, 70),
                  tx::PlacedControl(5, ControlKind::List, "", 250, 10, 40, 40),
                  tx::PlacedControl(6, ControlKind::Spin, "3", 250, 60, 40, 12),
                  tx::PlacedControl(7, ControlKind::Option, "Mode", 250, 80, 45, 40),
                  tx::PlacedControl(8, ControlKind::Option, "One", 252, 90, 40, 10),
                  tx::PlacedControl(9, ControlKind::Option, "Two", 252, 102, 40, 10),
                  tx::PlacedControl(10, ControlKind::ProgressBar, "", 10, 120, 100, 10),
                  tx::PlacedControl(11, ControlKind::Text, "Z&oom:", 120, 120, 30, 10),
                  tx::PlacedControl(12, ControlKind::Combo, "", 150, 120, 70, 60)};
    l.controls[6].parent = 0;
    l.controls[7].parent = 7;
    l.controls[8].parent = 7;
    l.menus = {{"&File", {{101, "&Print"}, {102, "E&xit"}}}};
    return l;
  }
  // The next event, which must be waiting already: nothing here hangs on
  // one that never comes.
  Event Next(tx::WindowId w) {
    Event e(EventKind::Posted, 0, {}, -1);
    if (driver.Waiting(w) == 0) {
      ADD_FAILURE() << "no event waits";
      return e;
    }
    EXPECT_TRUE(toolkit.NextEvent(w, e));
    return e;
  }

  tx::QtToolkit toolkit;
  tx::QtDriver driver{toolkit};
};

TEST_F(QtToolkitTest, ControlsSitWhereTheirDialogUnitsSayForTheWindowFont) {
  const tx::WindowId w = toolkit.OpenWindow(Layout());
  const tx::PixelSize unit = tx::QtToolkit::DialogUnitsToPixels("DejaVu Sans", 10, 400, 800);
  const tx::QtDriver::Rect image = driver.ControlRect(w, 3);
  EXPECT_NEAR(image.x, 40 * unit.width / 400.0, 1);
  EXPECT_NEAR(image.y, 50 * unit.height / 800.0, 1);
  EXPECT_NEAR(image.width, 200 * unit.width / 400.0, 1);
  EXPECT_NEAR(image.height, 60 * unit.height / 800.0, 1);
  EXPECT_EQ(toolkit.ControlPixelSize(w, 3).width, image.width);
  // A bigger font makes bigger units.
  const tx::PixelSize big = tx::QtToolkit::DialogUnitsToPixels("DejaVu Sans", 16, 400, 800);
  EXPECT_GT(big.width, unit.width);
  EXPECT_GT(big.height, unit.height);
}

TEST_F(QtToolkitTest, ControlPropertiesByNumber) {
  const tx::WindowId w = toolkit.OpenWindow(Layout());
  toolkit.SetControlText(w, 2, "Clean Chorus");
  EXPECT_EQ(toolkit.ControlText(w, 2), "Clean Chorus");
  EXPECT_EQ(driver.ShownText(w, 2), "Clean Chorus");
  toolkit.SetControlHidden(w, 1, true);
  EXPECT_TRUE(toolkit.ControlHidden(w, 1));
  EXPECT_FALSE(driver.Visible(w, 1));
  EXPECT_FALSE(driver.Click(w, 1));  // a hidden button cannot be pressed
  toolkit.SetListRows(w, 5, {"a\t1", "b\t2", "c\t3"});
  toolkit.SetControlSelection(w, 5, 2);
  EXPECT_EQ(toolkit.ControlSelection(w, 5), 2);
  toolkit.SetControlSelection(w, 7, 2);
  EXPECT_EQ(toolkit.ControlSelection(w, 7), 2);
  toolkit.SetControlRange(w, 6, 1, 9);
  toolkit.SetControlText(w, 6, "12");
  EXPECT_EQ(toolkit.ControlText(w, 6), "9");  // held to its range
  toolkit.SetControlEnabled(w, 101, false);
  EXPECT_FALSE(toolkit.ControlEnabled(w, 101));
  EXPECT_FALSE(driver.Click(w, 101));
  // Changes made by the program are not the user's: no events from them.
  toolkit.PostEvent(w, Event(EventKind::Posted, 0, {}, 42));
  EXPECT_EQ(Next(w).kind, EventKind::OpenWindow);
  const Event e = Next(w);
  EXPECT_EQ(e.kind, EventKind::Posted);
  EXPECT_EQ(e.code, 42);
  EXPECT_EQ(toolkit.ControlText(w, 99), "");  // no such control
}

TEST_F(QtToolkitTest, AnEditableListShowsItsTextAndTellsPickedFromTyped) {
  const tx::WindowId w = toolkit.OpenWindow(Layout());
  toolkit.SetListRows(w, 12, {"Tile pages", "Page Width", "50% Zoom"});
  toolkit.SetControlText(w, 12, "Page Width");
  toolkit.SetControlSelection(w, 12, 2);
  EXPECT_EQ(driver.ShownText(w, 12), "Page Width");
  EXPECT_EQ(toolkit.ControlSelection(w, 12), 2);
  toolkit.SetControlText(w, 12, "150% Zoom");
  EXPECT_EQ(driver.ShownText(w, 12), "150% Zoom");
  EXPECT_EQ(toolkit.ControlSelection(w, 12), 0);
  // The prompt's mnemonic is shown as such, not as an ampersand.
  EXPECT_EQ(driver.ShownText(w, 11), "Z&oom:");
  EXPECT_TRUE(driver.HasBuddy(w, 11));
  // A prompt labels the input after it in the layout, whatever the numbers;
  // with none after it, its mark is not shown.
  tx::WindowLayout dialog = Layout();
  dialog.controls = {tx::PlacedControl(4, ControlKind::Text, "&Page:", 6, 8, 30, 10), tx::PlacedControl(1, ControlKind::Spin, "1", 40, 6, 40, 12),
                     tx::PlacedControl(5, ControlKind::Text, "Rock && &Roll", 6, 24, 60, 10)};
  const tx::WindowId d = toolkit.OpenWindow(dialog);
  EXPECT_TRUE(driver.HasBuddy(d, 4));
  EXPECT_EQ(driver.ShownText(d, 5), "Rock & Roll");
}

TEST_F(QtToolkitTest, EventsComeOneAtATimeInTheOrderTheyHappened) {
  const tx::WindowId w = toolkit.OpenWindow(Layout());
  EXPECT_EQ(Next(w).kind, EventKind::OpenWindow);
  toolkit.PostEvent(w, Event(EventKind::Posted, 0, {}, 1));
  ASSERT_TRUE(driver.Click(w, 1));
  toolkit.PostEvent(w, Event(EventKind::Posted, 0, {}, 2));
  ASSERT_TRUE(driver.Click(w, 101));
  EXPECT_EQ(Next(w).code, 1);
  const Event go = Next(w);
  EXPECT_EQ(go.kind, EventKind::Accepted);
  EXPECT_EQ(go.control, 1);
  EXPECT_EQ(Next(w).code, 2);
  EXPECT_EQ(Next(w).control, 101);
  // Timer ticks come through the queue; a slow program gets one, not a pile.
  toolkit.SetTimer(w, 1);
  driver.TimerDue(w);
  driver.TimerDue(w);
  toolkit.PostEvent(w, Event(EventKind::Posted, 0, {}, 3));
  driver.TimerDue(w);
  EXPECT_EQ(Next(w).kind, EventKind::Timer);
  EXPECT_EQ(Next(w).code, 3);
  EXPECT_EQ(driver.Waiting(w), 0u);
  // A stopped timer does not tick, nor hands out a tick still waiting.
  driver.TimerDue(w);
  toolkit.SetTimer(w, 0);
  driver.TimerDue(w);
  EXPECT_EQ(driver.Waiting(w), 0u);
  // The clock's own ticks come through the event loop, however slow the machine.
  toolkit.SetTimer(w, 1);
  Event e;
  ASSERT_TRUE(toolkit.NextEvent(w, e));
  EXPECT_EQ(e.kind, EventKind::Timer);
  toolkit.SetTimer(w, 0);
  // Closing only asks; the window goes when the program closes it.
  ASSERT_TRUE(driver.RequestClose(w));
  EXPECT_EQ(Next(w).kind, EventKind::CloseRequested);
  EXPECT_TRUE(toolkit.IsOpen(w));
  toolkit.CloseWindow(w);
  EXPECT_FALSE(toolkit.IsOpen(w));
  EXPECT_FALSE(toolkit.NextEvent(w, e));
}

TEST_F(QtToolkitTest, DroppedFilesAndTheRightMouseButtonBecomeEvents) {
  const tx::WindowId w = toolkit.OpenWindow(Layout());
  Next(w);
  ASSERT_TRUE(driver.Drop(w, {"/tmp/one.syx", "/tmp/two.syx"}));
  const Event dropped = Next(w);
  EXPECT_EQ(dropped.path, "/tmp/one.syx");
  EXPECT_EQ(dropped.paths, (std::vector<std::string>{"/tmp/one.syx", "/tmp/two.syx"}));
  ASSERT_TRUE(driver.RightClick(w, 4));
  const Event e = Next(w);
  EXPECT_EQ(e.kind, EventKind::RightClick);
  EXPECT_EQ(e.control, 4);
  driver.ChooseNextPopupEntry(2);
  EXPECT_EQ(toolkit.PopupMenu(w, "Save Image...|Copy Image To Clipboard"), 2);
  driver.ChooseNextPopupEntry(0);
  EXPECT_EQ(toolkit.PopupMenu(w, "Save Image...|Copy Image To Clipboard"), 0);
  tx::WindowLayout noDrops = Layout();
  noDrops.acceptsDrops = false;
  EXPECT_FALSE(driver.Drop(toolkit.OpenWindow(noDrops), {"/tmp/one.syx"}));
}

TEST_F(QtToolkitTest, MessageBoxesAnswerWithTheButtonPressedOrTheDefault) {
  tx::MessageRequest m;
  m.text = "Line one|Line two";
  m.caption = "Question";
  m.icon = tx::MessageIcon::Question;
  m.buttons = tx::BUTTON_YES | tx::BUTTON_NO;
  m.defaultButton = tx::BUTTON_NO;
  m.barIsNewline = true;
  driver.AnswerNextMessage(tx::BUTTON_YES);
  EXPECT_EQ(toolkit.MessageBox(m), tx::BUTTON_YES);
  // Closed without a button: the default.
  driver.AnswerNextMessage(0);
  EXPECT_EQ(toolkit.MessageBox(m), tx::BUTTON_NO);
  m.buttons = tx::BUTTON_OK | tx::BUTTON_CANCEL;
  m.defaultButton = tx::BUTTON_OK;
  driver.AnswerNextMessage(0);
  EXPECT_EQ(toolkit.MessageBox(m), tx::BUTTON_CANCEL);
}

TEST_F(QtToolkitTest, FileDialogsGiveThePathOrNothingAndKeepTheWorkingDirectory) {
  txtest::TempDir dir;
  std::ofstream(dir.file("Clean.syx")) << "x";
  const auto cwd = std::filesystem::current_path();
  tx::FileDialogRequest open;
  open.title = "Axe-FX II Preset File Import";
  open.filter = "Preset Files (*.syx)|*.syx|All Files (*.*)|*.*";
  open.proposedPath = dir.file("Clean.syx");
  driver.AnswerNextFileDialog(dir.file("Clean.syx"));
  EXPECT_EQ(toolkit.FileDialog(open), dir.file("Clean.syx"));
  driver.AnswerNextFileDialog(std::nullopt);
  EXPECT_EQ(toolkit.FileDialog(open), std::nullopt);
  // A name typed without its extension gets the filter's.
  tx::FileDialogRequest save;
  save.save = true;
  save.title = "Save Preset Block Image";
  save.filter = "PNG File (*.png)|*.png";
  save.proposedPath = dir.file("Clean Chorus.png");
  driver.AnswerNextFileDialog(dir.file("mine"));
  EXPECT_EQ(toolkit.FileDialog(save), dir.file("mine.png"));
  EXPECT_EQ(std::filesystem::current_path(), cwd);
}

TEST_F(QtToolkitTest, ImageFromAnInMemoryBitmapGoesToTheClipboard) {
  const tx::WindowId w = toolkit.OpenWindow(Layout());
  // Green with a red top-left pixel, as the canvas hands its pictures over.
  toolkit.SetControlBitmap(w, 3, txtest::Bmp24(120, 40, [](int x, int y) { return x + y == 0 ? 0x0000FFu : 0x00FF00u; }));
  EXPECT_EQ(driver.PictureSize(w, 3).width, 120);
  EXPECT_EQ(driver.PicturePixel(w, 3, 0, 0), 0xFF0000);  // red, top left
  EXPECT_EQ(driver.PicturePixel(w, 3, 5, 5), 0x00FF00);
  ASSERT_TRUE(toolkit.CopyImageToClipboard(w, 3));
  EXPECT_EQ(driver.ClipboardImageSize().width, 120);
  EXPECT_EQ(driver.ClipboardImageSize().height, 40);
  EXPECT_FALSE(toolkit.CopyImageToClipboard(w, 2));  // not an image
}

TEST_F(QtToolkitTest, WindowsOffTheDesktopComeBackAndTheSessionMayEnd) {
  tx::WindowLayout l = Layout();
  l.resizable = true;
  const tx::WindowId w = toolkit.OpenWindow(l);
  tx::WindowGeometry g = toolkit.Geometry(w);
  g.x = -5000;
  g.y = 9000;
  toolkit.SetGeometry(w, g);
  toolkit.KeepOnDesktop(w);
  const tx::WindowGeometry back = toolkit.Geometry(w);
  EXPECT_GE(back.x, 0);
  EXPECT_GE(back.y, 0);
  EXPECT_LT(back.y, 9000);
  bool ended = false;
  toolkit.SetSessionEndHandlers([] { return false; }, [&] { ended = true; });
  EXPECT_FALSE(toolkit.AnswerSessionEnd());
  EXPECT_FALSE(ended);
  toolkit.SetSessionEndHandlers([] { return true; }, [&] { ended = true; });
  EXPECT_TRUE(toolkit.AnswerSessionEnd());
  EXPECT_TRUE(ended);
}

}  // namespace
