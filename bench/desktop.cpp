// The desktop program on the Qt toolkit, timed as a user sees it: the main
// window from opening to idle, and a sample preset from "Select Preset"
// (the file chosen in the dialog) and from a drop to its image shown. Run
// under a display (xvfb-run); without one Qt's offscreen platform is used.
//
//   bench_desktop [--shots DIR]   (DIR receives screenshots of the window
//                                  after each sample preset and of the
//                                  right-click menu)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "page_player/sample_pages.h"
#include "report/print_preview.h"
#include "platform/qt/qt_driver.h"
#include "platform/qt/qt_toolkit.h"
#include "support/temp_dir.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr const char* kPreview = "Report Preview";
double Ms(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double, std::milli>(b - a).count(); }

struct Figures {
  std::vector<double> values;
  void Add(double v) { values.push_back(v); }
  double Median() {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
  }
  double Worst() const { return values.empty() ? 0 : *std::max_element(values.begin(), values.end()); }
};

}  // namespace

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  std::string shots;
  if (argc == 3 && std::string(argv[1]) == "--shots") shots = fs::absolute(argv[2]).string();
  if (!std::getenv("DISPLAY")) setenv("QT_QPA_PLATFORM", "offscreen", 0);
  txtest::TempDir dir;
  txtest::ScopedCwd cwd(dir.path());
  txtest::ImportSampleDefinitions(dir.path());
  std::vector<std::string> presets;
  for (const auto& e : fs::directory_iterator(fs::path(TONALYX_SOURCE_DIR) / "examples"))
    if (e.path().extension() == ".syx") presets.push_back(e.path().string());
  std::sort(presets.begin(), presets.end());

  const auto start = Clock::now();
  tx::QtToolkit toolkit;
  tx::SetToolkit(&toolkit);
  tx::QtDriver driver(toolkit);
  toolkit.SetStockPicture("~PRINT.ICO", std::string(TONALYX_SOURCE_DIR) + "/assets/ui/print.png");
  toolkit.SetStockPicture("~EXIT.ICO", std::string(TONALYX_SOURCE_DIR) + "/assets/ui/close.png");
  toolkit.SetStockPicture("~ZOOM.ICO", std::string(TONALYX_SOURCE_DIR) + "/assets/ui/zoom.png");
  toolkit.SetStockPicture("~EXP_PDF.ICO", std::string(TONALYX_SOURCE_DIR) + "/assets/ui/pdf.png");
  const double toolkitMs = Ms(start, Clock::now());

  Figures open, select, drop;
  const int rounds = shots.empty() ? 5 : 1;
  for (int round = 0; round < rounds; ++round) {
    tx::MainWindow window(toolkit, tx::Tables(), tx::Current());
    const auto opening = Clock::now();
    Clock::time_point mark;
    size_t next = 0;
    bool first = true, lastByDialog = false;
    // Each step runs once the window has dealt with everything before it.
    std::function<void()> step = [&] {
      const tx::WindowId w = window.Window();
      // Painted through before the clock is read: the window as a user sees it.
      toolkit.Redisplay(w);
      const auto now = Clock::now();
      if (first) {
        open.Add(Ms(opening, now));
        first = false;
      } else {
        (lastByDialog ? select : drop).Add(Ms(mark, now));
        if (!shots.empty() && lastByDialog)
          driver.GrabWindow(w, shots + "/main-" + fs::path(presets[next - 1]).stem().string() + ".png");
      }
      if (next < 2 * presets.size()) {
        const std::string& preset = presets[next % presets.size()];
        lastByDialog = next < presets.size();
        ++next;
        if (lastByDialog) {
          // Timed from the moment the file is chosen in the dialog.
          driver.AnswerNextFileDialog(preset, [&] { mark = Clock::now(); });
          driver.Click(w, tx::SELECTPRESETBUTTON);
        } else {
          mark = Clock::now();
          driver.Drop(w, {preset});
        }
        driver.WhenWaiting(tx::MAIN_WINDOW_TITLE, step);
        return;
      }
      if (shots.empty()) {
        driver.WhenWaiting(tx::MAIN_WINDOW_TITLE, [&, w] { driver.Click(w, tx::CANCELBUTTON); });
        return;
      }
      driver.GrabNextPopup(w, shots + "/menu.png");
      driver.ChooseNextPopupEntry(0);
      driver.RightClick(w, tx::IMAGEREGION);
      // "Print PDF": the preview at page width, then tiled, then left.
      driver.WhenWaiting(tx::MAIN_WINDOW_TITLE, [&, w] { driver.Click(w, tx::PRINTBUTTON); });
      driver.WhenWaiting("Progress...", [&] { driver.GrabWindow(driver.LastWindow(), shots + "/progress.png"); });
      driver.WhenWaiting(kPreview, [&] {
        const tx::WindowId p = driver.LastWindow();
        // Two pages across, as a user would type it, then page width.
        toolkit.SetControlText(p, tx::PREVIEW_ACROSS, "2");
        toolkit.PostEvent(p, tx::Event(tx::EventKind::Accepted, tx::PREVIEW_ACROSS));
      });
      driver.WhenWaiting(kPreview, [&] {
        const tx::WindowId p = driver.LastWindow();
        driver.GrabWindow(p, shots + "/preview-tiles.png");
        driver.Click(p, tx::PREVIEW_MENU_ZOOM + 2);
      });
      driver.WhenWaiting(kPreview, [&] {
        const tx::WindowId p = driver.LastWindow();
        driver.GrabWindow(p, shots + "/preview-page-width.png");
        // The preview's own windows and the toolbar's zoom menu, each left with Cancel.
        driver.Click(p, tx::PREVIEW_MENU_PAGES);
      });
      const auto grabAndCancel = [&](const char* title, std::string file, int cancel) {
        driver.WhenWaiting(title, [&, file, cancel] {
          const tx::WindowId d = driver.LastWindow();
          driver.GrabWindow(d, shots + "/" + file);
          driver.Click(d, cancel);
        });
      };
      grabAndCancel("Pages to Print", "preview-pages-to-print.png", 4);
      driver.WhenWaiting(kPreview, [&] { driver.Click(driver.LastWindow(), tx::PREVIEW_MENU_JUMP); });
      grabAndCancel("Jump to a Report Page", "preview-jump.png", 3);
      driver.WhenWaiting(kPreview, [&] { driver.Click(driver.LastWindow(), tx::PREVIEW_MENU_DISPLAY); });
      grabAndCancel("Change the Report Display", "preview-display.png", 4);
      driver.WhenWaiting(kPreview, [&] {
        const tx::WindowId p = driver.LastWindow();
        driver.GrabNextPopup(p, shots + "/preview-zoom-menu.png");
        driver.ChooseNextPopupEntry(0);
        driver.Click(p, tx::PREVIEW_TOOL_ZOOM);
      });
      // "Save As PDF", its progress window on the way.
      driver.WhenWaiting(kPreview, [&] {
        driver.AnswerNextFileDialog(shots + "/report.pdf");
        driver.Click(driver.LastWindow(), tx::PREVIEW_MENU_SAVE_AS);
      });
      driver.WhenWaiting("Progress...", [&] { driver.GrabWindow(driver.LastWindow(), shots + "/save-progress.png"); });
      driver.WhenWaiting(kPreview, [&] { driver.Click(driver.LastWindow(), tx::PREVIEW_MENU_EXIT); });
      driver.WhenWaiting(tx::MAIN_WINDOW_TITLE, [&, w] { driver.Click(w, tx::CANCELBUTTON); });
    };
    driver.WhenWaiting(tx::MAIN_WINDOW_TITLE, step);
    window.Run();
  }
  std::printf("desktop (%s): Qt toolkit made in %.1f ms\n", std::getenv("DISPLAY") ? "X display" : "offscreen",
              toolkitMs);
  std::printf("  main window open to idle:        median %6.1f ms, worst %6.1f ms\n", open.Median(), open.Worst());
  std::printf("  Select Preset to image shown:    median %6.1f ms, worst %6.1f ms (from the file chosen)\n",
              select.Median(), select.Worst());
  std::printf("  dropped preset to image shown:   median %6.1f ms, worst %6.1f ms\n", drop.Median(), drop.Worst());
  tx::SetToolkit(nullptr);
  return 0;
}
