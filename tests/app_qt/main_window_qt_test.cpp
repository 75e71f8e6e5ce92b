// The main window on the Qt toolkit (offscreen), worked through its widgets:
// a dropped preset shows, the right-click menu copies the picture, a
// cancelled dialog changes nothing, Close ends it.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/main_window.h"
#include "page_player/sample_pages.h"
#include "platform/qt/qt_driver.h"
#include "platform/qt/qt_toolkit.h"
#include "support/temp_dir.h"

namespace {

TEST(MainWindowOnQt, DropShowsThePresetAndTheMenuCopiesItsPicture) {
  txtest::TempDir dir;
  txtest::ScopedCwd cwd(dir.path());
  txtest::ImportSampleDefinitions(dir.path());
  tx::QtToolkit toolkit;
  tx::WindowToolkit* previous = tx::SetToolkit(&toolkit);
  tx::QtDriver driver(toolkit);
  tx::MainWindow window(toolkit, tx::Tables(), tx::Current());

  std::string number, name;
  tx::PixelSize picture, control, clipboard;
  bool refreshShown = true;
  const std::string preset = std::string(TONALYX_SOURCE_DIR) + "/examples/gen1_brit_crunch.syx";
  // Each step runs once the window has dealt with everything before it.
  const std::string mainTitle = tx::MAIN_WINDOW_TITLE;
  driver.WhenWaiting(mainTitle, [&] {
    refreshShown = driver.Visible(window.Window(), tx::REFRESHBUTTON);
    ASSERT_TRUE(driver.Drop(window.Window(), {preset}));
  });
  driver.WhenWaiting(mainTitle, [&] {
    const tx::WindowId w = window.Window();
    number = driver.ShownText(w, tx::PRESETNUMBER_2);
    name = driver.ShownText(w, tx::PRESETNAME);
    picture = driver.PictureSize(w, tx::DRAW);
    control = toolkit.ControlPixelSize(w, tx::DRAW);
    driver.ChooseNextPopupEntry(2);
    ASSERT_TRUE(driver.RightClick(w, tx::IMAGEREGION));
  });
  driver.WhenWaiting(mainTitle, [&] {
    clipboard = driver.ClipboardImageSize();
    driver.AnswerNextFileDialog(std::nullopt);
    ASSERT_TRUE(driver.Click(window.Window(), tx::SELECTPRESETBUTTON));
  });
  driver.WhenWaiting(mainTitle, [&] { ASSERT_TRUE(driver.Click(window.Window(), tx::CANCELBUTTON)); });
  window.Run();
  tx::SetToolkit(previous);

  EXPECT_FALSE(refreshShown);
  EXPECT_EQ(number, "058");
  EXPECT_EQ(name, "Brit Crunch");
  // The whole grid, shown unshrunk in its control.
  EXPECT_EQ(picture.width, tx::BLOCK_IMAGE_MIN_WIDTH);
  EXPECT_EQ(picture.height, tx::BLOCK_IMAGE_MIN_HEIGHT);
  EXPECT_GE(control.width, picture.width);
  EXPECT_GE(control.height, picture.height);
  EXPECT_EQ(clipboard.width, picture.width);
  EXPECT_EQ(window.PresetPath(), preset);  // the cancelled dialog kept it
  EXPECT_FALSE(toolkit.IsOpen(window.Window()));
}

}  // namespace
