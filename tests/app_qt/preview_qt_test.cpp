// "Print PDF" on the Qt toolkit (offscreen): the Report Preview opens
// maximised with the pages drawn, Page Down turns to the next page, a click
// on a thumbnail opens it at page width, and the window's place is kept.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/main_window.h"
#include "page_player/sample_pages.h"
#include "platform/qt/qt_driver.h"
#include "platform/qt/qt_toolkit.h"
#include "report/print_preview.h"
#include "services/settings.h"
#include "support/temp_dir.h"

namespace {

TEST(PreviewOnQt, PagesShowTurnAndZoomAndTheWindowIsRemembered) {
  txtest::TempDir dir;
  txtest::ScopedCwd cwd(dir.path());
  txtest::ImportSampleDefinitions(dir.path());
  tx::GlobalSettings().Init(".\\Corvane.INI");
  tx::QtToolkit toolkit;
  tx::WindowToolkit* previous = tx::SetToolkit(&toolkit);
  tx::QtDriver driver(toolkit);
  tx::MainWindow window(toolkit, tx::Tables(), tx::Current());

  bool maximised = false;
  int32_t headerBar = -1, paper = -1;
  std::string firstStatus, nextStatus, clickedStatus;
  const std::string preset = std::string(TONALYX_SOURCE_DIR) + "/examples/gen2_clean_chorus.syx";
  // Each step runs once its window has dealt with everything before it; the
  // preview opens once the report has run (in timer ticks), however long that takes.
  const std::string mainTitle = tx::MAIN_WINDOW_TITLE, preview = "Report Preview";
  driver.WhenWaiting(mainTitle, [&] { driver.Drop(window.Window(), {preset}); });
  driver.WhenWaiting(mainTitle, [&] { driver.Click(window.Window(), tx::PRINTBUTTON); });
  tx::PixelSize view;
  driver.WhenWaiting(preview, [&] {
    const tx::WindowId p = driver.LastWindow();
    maximised = toolkit.Geometry(p).maximized;
    firstStatus = driver.StatusText(p);
    // Tile mode with one page: the page's black header bar and its white paper.
    view = toolkit.ControlPixelSize(p, tx::PREVIEW_PAGES);
    paper = driver.DrawnPixel(p, tx::PREVIEW_PAGES, view.width / 2, view.height - 12);
    for (int y = 0; y < view.height / 4 && headerBar != 0; ++y)
      headerBar = driver.DrawnPixel(p, tx::PREVIEW_PAGES, view.width / 2, y);
    driver.PressKey(p, tx::PREVIEW_PAGES, tx::KEY_PAGE_DOWN);
  });
  driver.WhenWaiting(preview, [&] {
    const tx::WindowId p = driver.LastWindow();
    nextStatus = driver.StatusText(p);
    driver.LeftClick(p, tx::PREVIEW_PAGES, view.width / 2, view.height / 2);
  });
  driver.WhenWaiting(preview, [&] {
    const tx::WindowId p = driver.LastWindow();
    clickedStatus = driver.StatusText(p);
    driver.Click(p, tx::PREVIEW_MENU_EXIT);
  });
  driver.WhenWaiting(mainTitle, [&] { driver.Click(window.Window(), tx::CANCELBUTTON); });
  window.Run();
  tx::SetToolkit(previous);
  tx::GlobalSettings().Kill();

  EXPECT_TRUE(maximised);
  EXPECT_EQ(firstStatus, "Page 1 of 3\tZoom: Tile Pages");
  EXPECT_EQ(nextStatus, "Page 2 of 3\tZoom: Tile Pages");
  EXPECT_EQ(clickedStatus, "Page 2 of 3\tZoom: Page Width");
  EXPECT_EQ(headerBar, 0);        // black, drawn by the page player
  EXPECT_EQ(paper, 0xFFFFFF);     // the page's paper
  std::ifstream ini("Corvane.INI");
  std::stringstream all;
  all << ini.rdbuf();
  EXPECT_NE(all.str().find("[_PreviewWindow_]"), std::string::npos) << all.str();
  EXPECT_NE(all.str().find("Maximize=Yes"), std::string::npos) << all.str();
}

}  // namespace
