// The print preview driven through the console toolkit: what it shows after
// each command (status line, page rectangles, enabled commands), the zoom and
// tile rules, saving through a target, the page selection and the windows it
// remembers.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "report/print_preview.h"
#include "report/report_target_selector.h"
#include "report/wmf_parser.h"
#include "report_run_support.h"
#include "services/settings.h"

namespace {

using tx::Event;
using tx::EventKind;

// Keeps every status line and page set the preview shows, not only the last.
class RecordingConsole : public tx::ConsoleToolkit {
 public:
  RecordingConsole() : tx::ConsoleToolkit(nullptr) {}
  void SetStatusText(tx::WindowId w, std::string_view text) override {
    status.emplace_back(text);
    tx::ConsoleToolkit::SetStatusText(w, text);
  }
  void SetControlPages(tx::WindowId w, int control, std::vector<tx::PageImage> pages, tx::PixelSize content) override {
    shown.push_back(pages);
    tx::ConsoleToolkit::SetControlPages(w, control, std::move(pages), content);
  }
  std::vector<std::string> status;
  std::vector<std::vector<tx::PageImage>> shown;
};

class PrintPreviewTest : public ::testing::Test {
 protected:
  PrintPreviewTest() : cwd_(dir_.path()), previous_(tx::SetToolkit(&console_)) {}
  ~PrintPreviewTest() override { tx::SetToolkit(previous_); }

  void MakePages(int count) {
    ASSERT_EQ(engine_.Open(txtest::RowReportLayout(1)), tx::Level::Done);
    engine_.RenderToPageFiles(&pages_);
    for (int i = 1; i <= count; ++i) {
      engine_.SetValue("ROW", "Page" + std::to_string(i));
      ASSERT_EQ(engine_.PrintBand("row"), tx::Level::Done);
    }
    ASSERT_EQ(engine_.EndReport(), tx::Level::Done);
    preview_.Init(&pages_, &selector_, &parser_, &errors_);
  }
  void Accept(int control) { console_.QueueWindowEvent(Event{EventKind::Accepted, control}, "Report Preview"); }
  void Type(int control, const std::string& text) { console_.QueueControlText(control, text, "Report Preview"); }
  uint8_t Show(int16_t zoom = 0, uint16_t across = 1, uint16_t down = 1) {
    Accept(tx::PREVIEW_MENU_EXIT);
    return preview_.Display(zoom, 1, across, down);
  }
  tx::WindowId Window() const { return preview_.Window(); }
  std::string Status(size_t i) const { return i < console_.status.size() ? console_.status[i] : "?"; }
  const tx::PageImage& Page(size_t set, size_t i) const { return console_.shown.at(set).at(i); }

  txtest::TempDir dir_;
  txtest::ScopedCwd cwd_;
  RecordingConsole console_;
  tx::WindowToolkit* previous_;
  tx::ErrorManager errors_;
  tx::ReportEngine engine_;
  std::vector<std::string> pages_;
  tx::ReportTargetSelector selector_;
  tx::WMFParser parser_;
  tx::PrintPreview preview_;
};

TEST_F(PrintPreviewTest, OpensInTileModeWithTheStateLineOfTheFirstPage) {
  MakePages(6);
  EXPECT_EQ(Show(0), 0);
  tx::WindowId w = Window();
  EXPECT_EQ(console_.Layout(w).title, "Report Preview");
  EXPECT_EQ(Status(0), "Page 1 of 6\tZoom: Tile Pages");
  ASSERT_EQ(console_.shown.front().size(), 1u);
  EXPECT_TRUE(Page(0, 0).selected);
  EXPECT_EQ(Page(0, 0).file, pages_[0]);
  EXPECT_EQ(console_.ControlRange(w, tx::PREVIEW_PAGE), std::make_pair(1, 6));
  EXPECT_EQ(console_.ControlTip(w, tx::PREVIEW_PAGE), "Enter a page number from 1 to 6");
  EXPECT_FALSE(console_.ControlEnabled(w, tx::PREVIEW_MENU_PREVIOUS));
  EXPECT_TRUE(console_.ControlEnabled(w, tx::PREVIEW_MENU_NEXT));
  EXPECT_TRUE(console_.ControlEnabled(w, tx::PREVIEW_ACROSS));
  EXPECT_FALSE(console_.ControlEnabled(w, tx::PREVIEW_MENU_SAVE_AS));  // no target registered
  EXPECT_EQ(console_.ListRows(w, tx::PREVIEW_ZOOM).size(), 7u);
  EXPECT_EQ(console_.ControlText(w, tx::PREVIEW_ZOOM), "Tile pages");
  // Without user zoom only the prompt and the list go; the toolbar's zoom stays.
  EXPECT_TRUE(console_.ControlHidden(w, tx::PREVIEW_ZOOM));
  EXPECT_TRUE(console_.ControlHidden(w, tx::PREVIEW_ZOOM_PROMPT));
  EXPECT_FALSE(console_.ControlHidden(w, tx::PREVIEW_TOOL_ZOOM));
  EXPECT_EQ(pages_.size(), 6u);  // Exit keeps every page
  for (const auto& p : pages_) EXPECT_TRUE(std::filesystem::exists(p));

  // A single page leaves nothing to move through.
  tx::PrintPreview single;
  std::vector<std::string> one{pages_[0]};
  single.Init(&one, nullptr, &parser_);
  Accept(tx::PREVIEW_MENU_EXIT);
  single.Display(100, 1, 1, 1);
  for (int c : {tx::PREVIEW_PAGE, tx::PREVIEW_ACROSS, tx::PREVIEW_DOWN, tx::PREVIEW_MENU_JUMP,
                tx::PREVIEW_MENU_DISPLAY, tx::PREVIEW_MENU_NEXT})
    EXPECT_FALSE(console_.ControlEnabled(single.Window(), c)) << c;
  EXPECT_EQ(console_.StatusText(single.Window()), "Page 1 of 1\tZoom: 100%");
}

TEST_F(PrintPreviewTest, ZoomFromTheMenuThePopUpAndTypedText) {
  MakePages(3);
  Accept(tx::PREVIEW_MENU_ZOOM + 5);  // 100% Zoom
  Type(tx::PREVIEW_ZOOM, "-150");
  Type(tx::PREVIEW_ZOOM, "zoom?");  // no number: the zoom stays
  Accept(tx::PREVIEW_TOOL_ZOOM);
  console_.QueueMenuChoice(2);  // Page Width
  Type(tx::PREVIEW_ZOOM, "Tile pages");
  Show(0);
  EXPECT_EQ(Status(1), "Page 1 of 3\tZoom: 100%");
  EXPECT_EQ(Page(1, 0).width, 816);  // 8.5 inches at 96 pixels
  EXPECT_EQ(Page(1, 0).height, 1056);
  EXPECT_FALSE(Page(1, 0).selected);
  EXPECT_EQ(Status(2), "Page 1 of 3\tZoom: 150%");
  EXPECT_EQ(Page(2, 0).width, 1224);
  EXPECT_EQ(Status(3), Status(2));
  EXPECT_EQ(Status(4), "Page 1 of 3\tZoom: Page Width");
  const tx::PixelSize view = console_.ControlPixelSize(Window(), tx::PREVIEW_PAGES);
  EXPECT_EQ(Page(3, 0).width, view.width - 6);
  EXPECT_EQ(Status(5), "Page 1 of 3\tZoom: Tile Pages");
  EXPECT_EQ(console_.Menus().back(), "Tile pages|Page Width|50% Zoom|75% Zoom|100% Zoom|200% Zoom|300% Zoom");

  // A zoom that is not a choice starts as a typed one.
  Show(-150);
  EXPECT_EQ(preview_.ZOOMINDEX, 0);
  EXPECT_EQ(console_.ControlText(Window(), tx::PREVIEW_ZOOM), "150% Zoom");
}

TEST_F(PrintPreviewTest, TheTileGridFollowsThePageAndLowersWhatDoesNotFit) {
  MakePages(6);
  Type(tx::PREVIEW_PAGE, "5");     // 3 x 1 from page 1: page 5 is outside
  Type(tx::PREVIEW_ACROSS, "4");   // 4 from page 4 would reach past page 6
  Type(tx::PREVIEW_PAGE, "1");
  Type(tx::PREVIEW_DOWN, "2");     // 3 x 2 from page 1: all six
  Accept(tx::PREVIEW_MENU_NEXT);
  Show(0, 3, 1);
  EXPECT_EQ(Status(0), "Page 1-3 of 6\tZoom: Tile Pages");
  EXPECT_EQ(Status(1), "Page 4-6 of 6\tZoom: Tile Pages");  // lowered from 5 so the grid stays full
  EXPECT_TRUE(Page(1, 1).selected);
  EXPECT_EQ(Status(2), Status(1));  // taken back, not redrawn
  EXPECT_EQ(console_.shown.size(), 5u);  // opening, then every command but the one taken back
  EXPECT_EQ(console_.shown[2].size(), 3u);
  EXPECT_EQ(Status(4), "Page 1-6 of 6\tZoom: Tile Pages");
  ASSERT_EQ(console_.shown[3].size(), 6u);
  // Cells of (width - 12) / 3 by (height - 9) / 2, gaps of 3, row by row.
  const tx::PixelSize view = console_.ControlPixelSize(Window(), tx::PREVIEW_PAGES);
  const int cellW = (view.width - 12) / 3, cellH = (view.height - 9) / 2;
  const tx::PageImage& fifth = Page(3, 4);
  EXPECT_GE(fifth.x, 3 + cellW + 3);
  EXPECT_LE(fifth.x + fifth.width, 3 + 2 * (cellW + 3));
  EXPECT_GE(fifth.y, 3 + cellH + 3);
  EXPECT_NEAR(static_cast<double>(fifth.height) / fifth.width, 11.0 / 8.5, 0.02);
  EXPECT_EQ(Status(5), "Page 1-6 of 6\tZoom: Tile Pages");  // Next selects page 2 in the grid
  EXPECT_TRUE(console_.shown.back()[1].selected);
  EXPECT_TRUE(console_.ControlEnabled(Window(), tx::PREVIEW_MENU_PREVIOUS));
}

TEST_F(PrintPreviewTest, ClicksSwitchBetweenThumbnailsAndThePageAtFullWidth) {
  MakePages(6);
  Show(0, 3, 2);
  const tx::PageImage fourth = Page(0, 3);
  Event click{EventKind::LeftClick, tx::PREVIEW_PAGES};
  click.x = fourth.x + fourth.width / 2;
  click.y = fourth.y + fourth.height * 3 / 4;
  console_.QueueWindowEvent(click, "Report Preview");
  console_.shown.clear();
  console_.status.clear();
  Show(0, 3, 2);
  ASSERT_GE(console_.shown.size(), 2u);
  EXPECT_EQ(Status(1), "Page 4 of 6\tZoom: Page Width");
  const tx::PageImage& page = console_.shown[1][0];
  EXPECT_EQ(page.file, pages_[3]);
  const tx::PixelSize view = console_.ControlPixelSize(Window(), tx::PREVIEW_PAGES);
  const int expected = page.y + page.height * 3 / 4 - view.height / 2;
  EXPECT_NEAR(console_.ControlScroll(Window(), tx::PREVIEW_PAGES).y,
              std::min(expected, console_.ControlContent(Window(), tx::PREVIEW_PAGES).height - view.height), 2);

  // From the full page back to the grid, the page selected in it; a key moves on.
  click.x = page.x + 10;
  click.y = page.y + 10;
  console_.QueueWindowEvent(click, "Report Preview");
  console_.QueueWindowEvent(Event{EventKind::Key, 0, {}, tx::KEY_PAGE_DOWN}, "Report Preview");
  console_.shown.clear();
  console_.status.clear();
  Show(-1, 3, 2);
  EXPECT_EQ(Status(0), "Page 1 of 6\tZoom: Page Width");
  EXPECT_EQ(Status(1), "Page 1-6 of 6\tZoom: Tile Pages");
  EXPECT_TRUE(console_.shown[1][0].selected);
  EXPECT_TRUE(console_.shown.back()[1].selected);
}

TEST_F(PrintPreviewTest, SaveAsWithOneTargetGoesStraightToItsOwnChoiceAndWritesEveryPage) {
  MakePages(3);
  txtest::DeliveryTarget target;
  selector_.AddItem(&target, 1);
  struct Hooked : tx::PrintPreview {
    uint8_t OutputHook(std::vector<std::string>& files) override {
      hooked = files;
      return 0;
    }
    std::vector<std::string> hooked;
  } preview;
  preview.Init(&pages_, &selector_, &parser_, &errors_);
  Accept(tx::PREVIEW_MENU_SAVE_AS);
  Accept(tx::PREVIEW_MENU_EXIT);
  EXPECT_EQ(preview.Display(0, 1, 1, 1), 0);
  EXPECT_EQ(console_.ControlText(preview.Window(), tx::PREVIEW_MENU_SAVE_AS), "Save As TEST");
  for (tx::WindowId w : console_.Windows()) EXPECT_NE(console_.Layout(w).title, "Select an Output");
  std::string ops = target.Ops();
  EXPECT_EQ(ops.substr(0, ops.find(" BeginPage")), "ProducesFiles SetOutputFileList ChooseOutput BeginDocument");
  EXPECT_EQ(target.calls[2].text, "1");  // ChooseOutput from the preview
  EXPECT_EQ(target.pageCount, 3);
  EXPECT_EQ(preview.hooked, std::vector<std::string>{"written.out"});
  EXPECT_EQ(preview.REPORTTARGET, &target);

  // Cancelled in the target's own choice: nothing written, no hook.
  target.calls.clear();
  preview.hooked.clear();
  target.chooseResult = 5;
  Accept(tx::PREVIEW_MENU_SAVE_AS);
  Accept(tx::PREVIEW_MENU_EXIT);
  preview.Display(0, 1, 1, 1);
  EXPECT_EQ(target.Ops(), "ProducesFiles SetOutputFileList ChooseOutput");
  EXPECT_TRUE(preview.hooked.empty());
}

TEST_F(PrintPreviewTest, PrintKeepsTheSelectedPagesAndDeletesTheOthers) {
  EXPECT_TRUE(tx::PrintPreview::PageSelected("1-3,5", 2));
  EXPECT_TRUE(tx::PrintPreview::PageSelected(" 1 - 3 , 5 ", 5));
  EXPECT_FALSE(tx::PrintPreview::PageSelected("1-3,5", 4));
  EXPECT_FALSE(tx::PrintPreview::PageSelected("3-1", 2));
  EXPECT_FALSE(tx::PrintPreview::PageSelected("0-2,x,2a", 2));
  EXPECT_FALSE(tx::PrintPreview::PageSelected("", 1));

  MakePages(6);
  const std::vector<std::string> all = pages_;
  preview_.PAGESTOPRINT = "1-3,5";
  Accept(tx::PREVIEW_MENU_PRINT);
  EXPECT_EQ(preview_.Display(0, 1, 1, 1), 1);
  EXPECT_EQ(pages_, (std::vector<std::string>{all[0], all[1], all[2], all[4]}));
  EXPECT_FALSE(std::filesystem::exists(all[3]));
  EXPECT_FALSE(std::filesystem::exists(all[5]));
  EXPECT_TRUE(std::filesystem::exists(all[4]));
}

TEST_F(PrintPreviewTest, TheSmallWindowsEditTheirValuesOrLeaveThemAlone) {
  MakePages(6);
  // Pages to Print: Reset fills in every page; Cancel puts the old text back.
  preview_.PAGESTOPRINT = "2";
  console_.QueueWindowEvent(Event{EventKind::Accepted, 2}, "Pages to Print");  // Reset
  console_.QueueWindowEvent(Event{EventKind::Accepted, 4}, "Pages to Print");  // Cancel
  EXPECT_EQ(preview_.AskPages(), 0);
  EXPECT_EQ(preview_.PAGESTOPRINT, "2");
  console_.QueueControlText(1, "4-6", "Pages to Print");
  console_.QueueWindowEvent(Event{EventKind::Accepted, 3}, "Pages to Print");  // Ok
  EXPECT_EQ(preview_.AskPages(), 1);
  EXPECT_EQ(preview_.PAGESTOPRINT, "4-6");
  console_.QueueWindowEvent(Event{EventKind::Accepted, 2}, "Pages to Print");
  console_.QueueWindowEvent(Event{EventKind::Accepted, 3}, "Pages to Print");
  EXPECT_EQ(preview_.AskPages(), 1);
  EXPECT_EQ(preview_.PAGESTOPRINT, "1-6");

  // Jump: 1 only when the page changed.
  console_.QueueControlText(1, "4", "Jump to a Report Page");
  console_.QueueWindowEvent(Event{EventKind::Accepted, 2}, "Jump to a Report Page");
  EXPECT_EQ(preview_.AskJump(), 1);
  EXPECT_EQ(preview_.CURRENTPAGE, 4);
  console_.QueueWindowEvent(Event{EventKind::Accepted, 2}, "Jump to a Report Page");
  EXPECT_EQ(preview_.AskJump(), 0);

  // A grid with more places than pages is refused, the focus back on Across.
  console_.QueueControlText(1, "3", "Change the Report Display");
  console_.QueueControlText(2, "3", "Change the Report Display");
  console_.QueueWindowEvent(Event{EventKind::Accepted, 3}, "Change the Report Display");
  console_.QueueControlText(2, "2", "Change the Report Display");
  console_.QueueWindowEvent(Event{EventKind::Accepted, 3}, "Change the Report Display");
  preview_.AskDisplay();
  EXPECT_EQ(preview_.PAGESACROSS, 3);
  EXPECT_EQ(preview_.PAGESDOWN, 2);
  EXPECT_EQ(console_.FocusedControl(console_.Windows().back()), 1);

  // Print asks first when told to; its answer is the result.
  preview_.CONFIRMPAGES = 1;
  Accept(tx::PREVIEW_MENU_PRINT);
  console_.QueueWindowEvent(Event{EventKind::Accepted, 4}, "Pages to Print");
  EXPECT_EQ(preview_.Display(0, 1, 1, 1), 0);
  EXPECT_EQ(pages_.size(), 6u);
}

TEST_F(PrintPreviewTest, WindowPositionsAreKeptInTheSettingsFile) {
  MakePages(2);
  std::ofstream(dir_.file("Corvane.INI")) << "[_PreviewWindow_]\r\nMaximize=No\r\nMinimize=No\r\nXPos=40\r\nYPos=30\r\n"
                                             "Width=700\r\nHeight=500\r\n";
  tx::SettingsManager settings;
  settings.Init(".\\Corvane.INI");
  preview_.SetINIManager(&settings);
  Show(0);
  tx::WindowGeometry g = console_.Geometry(Window());
  EXPECT_EQ(g.x, 40);
  EXPECT_EQ(g.width, 700);
  EXPECT_FALSE(g.maximized);

  // A resize made in this run outranks the settings file; a forced position outranks both.
  console_.QueueWindowEvent(Event{EventKind::Resized}, "Report Preview");
  Show(0);
  settings.Update("_PreviewWindow_", "XPos", 90L);
  Show(0);
  EXPECT_EQ(console_.Geometry(Window()).x, 40);
  preview_.WINXPOS = 5;
  preview_.WINYPOS = 6;
  Show(0);
  EXPECT_EQ(console_.Geometry(Window()).x, 5);
  EXPECT_EQ(console_.Geometry(Window()).y, 6);
  preview_.WINXPOS = preview_.WINYPOS = tx::PREVIEW_UNSET;

  preview_.MAXIMIZE = 1;
  console_.QueueWindowEvent(Event{EventKind::Accepted, 3}, "Pages to Print");
  Accept(tx::PREVIEW_MENU_PAGES);
  Show(0);
  EXPECT_TRUE(console_.Geometry(Window()).maximized);
  EXPECT_EQ(settings.GetValue("_PreviewWindow_", "Maximize", ""), "Yes");
  EXPECT_EQ(settings.GetValue("_PreviewWindow_", "XPos", "absent"), "absent");
  EXPECT_EQ(settings.GetValue("_PreviewAskPagesWindow_", "Maximize", ""), "No");
  EXPECT_NE(settings.GetValue("_PreviewAskPagesWindow_", "XPos", ""), "");
  std::stringstream ini;
  ini << std::ifstream(dir_.file("Corvane.INI")).rdbuf();
  EXPECT_NE(ini.str().find("[_PreviewAskPagesWindow_]"), std::string::npos);
}

}  // namespace
