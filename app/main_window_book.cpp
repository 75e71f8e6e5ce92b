// The main window's book: several presets dropped at once, or a folder of
// presets, written as one PDF of their Preset Reports.
#include <algorithm>
#include <chrono>
#include <filesystem>

#include "app/main_window.h"
#include "base/display_text.h"
#include "outputs/preset_book.h"
#include "report/report_manager.h"

namespace tx {

namespace {

constexpr size_t kSkippedShown = 10;

unsigned Ask(WindowToolkit& toolkit, const std::string& text) {
  MessageRequest m;
  m.text = text;
  m.caption = BOOK_CAPTION;
  m.icon = MessageIcon::Question;
  m.buttons = BUTTON_YES | BUTTON_NO;
  m.defaultButton = BUTTON_YES;
  return toolkit.MessageBox(m);
}

// The progress window's timer, and the time a tick spends writing, in
// hundredths of a second: short enough for Cancel to answer at once.
constexpr int kTimer = 5;
constexpr int64_t kSlice = 10;

void ShowProgress(WindowToolkit& toolkit, WindowId w, const PresetBookWriter& writer) {
  const size_t total = writer.Total();
  const int percent = total == 0 ? 100 : static_cast<int>(writer.Done() * 100 / total);
  toolkit.SetProgress(w, PROGRESS_THERMOMETER, percent);
  toolkit.SetControlText(w, PROGRESS_PCTTEXT, std::to_string(percent) + "% Complete");
  // The preset being written, the last one once all are.
  toolkit.SetControlText(w, PROGRESS_USERSTRING, "Preset " + std::to_string(std::min(writer.Done() + 1, total)) +
                                                     " of " + std::to_string(total));
  toolkit.Redisplay(w);
}

// Steps the started book on the timer ticks of the report's progress window;
// false when the user stopped it there.
bool StepWithProgress(WindowToolkit& toolkit, const MainWindow::Clock& now, PresetBookWriter& writer) {
  const WindowId w = toolkit.OpenWindow(ReportProgressLayout());
  toolkit.KeepOnDesktop(w);
  bool ended = false;
  auto close = [&] {
    toolkit.SetTimer(w, 0);
    toolkit.CloseWindow(w);
  };
  Event e;
  while (toolkit.NextEvent(w, e)) {
    switch (e.kind) {
      case EventKind::OpenWindow:
        ShowProgress(toolkit, w, writer);
        toolkit.SetTimer(w, kTimer);
        break;
      case EventKind::Timer: {
        const int64_t start = now();
        bool more = true;
        do {
          more = writer.Step();
        } while (more && now() - start < kSlice);
        ShowProgress(toolkit, w, writer);
        if (!more) {
          ended = true;
          close();
        }
        break;
      }
      case EventKind::Accepted:
        if (e.control == PROGRESS_CANCEL) close();
        break;
      case EventKind::CloseRequested:
        close();
        break;
      default:
        break;
    }
  }
  return ended;
}

}  // namespace

void MainWindow::Drop(const std::vector<std::string>& files) {
  std::error_code ec;
  const bool folder = files.size() == 1 && std::filesystem::is_directory(files.front(), ec);
  if (files.size() == 1 && !folder) {
    ImportPreset(files.front());
    return;
  }
  size_t presets = 0;
  for (const BookFile& f : BookFiles(files)) presets += f.problem.empty() ? 1 : 0;
  // A folder without presets stays as silent as any unreadable drop.
  if (presets > 0) {
    const std::string what = folder ? "the " + std::to_string(presets) + " preset files of the folder " +
                                          DisplayUtf8(std::filesystem::path(files.front()).filename().string())
                                    : "the " + std::to_string(files.size()) + " files dropped";
    if (Ask(toolkit_, "Write " + what + " as one PDF book?") == BUTTON_YES) {
      WriteBook(files);
      return;
    }
  }
  // Otherwise each file is imported in turn, as single drops are.
  if (!folder)
    for (const std::string& f : files) ImportPreset(f);
}

void MainWindow::WriteBook(const std::vector<std::string>& files) {
  FileDialogRequest request;
  request.save = true;
  request.title = BOOK_SAVE_TITLE;
  request.filter = BOOK_SAVE_FILTER;
  request.proposedPath = "Presets.pdf";
  auto target = toolkit_.FileDialog(request);
  if (!target || target->empty()) return;
  if (std::filesystem::path(*target).filename().string().find('.') == std::string::npos) *target += ".PDF";

  std::vector<std::string> skipped;
  PresetBookOptions options;
  options.target = *target;
  options.skipped = [&](const std::string& file, const std::string& reason) {
    skipped.push_back(DisplayUtf8(std::filesystem::path(file).filename().string()) + ": " + reason);
  };
  PresetBookWriter writer(BookFiles(files), options);
  MessageRequest m;
  m.caption = BOOK_CAPTION;
  if (writer.Start() && !StepWithProgress(toolkit_, clock_, writer)) {
    // Renderers stopped, images removed; the target was never touched.
    writer.Abandon();
    m.icon = MessageIcon::Information;
    m.text = "The book was cancelled; no file was written.";
    toolkit_.MessageBox(m);
    toolkit_.Redisplay(window_);
    return;
  }
  // The pictures go into the document at its end.
  toolkit_.SetWaitCursor(true);
  const PresetBookResult r = writer.Finish();
  toolkit_.SetWaitCursor(false);

  m.barIsNewline = true;
  m.icon = r.complete ? MessageIcon::Information : MessageIcon::Exclamation;
  m.text = r.complete ? "The book holds " + std::to_string(r.written) + " presets on " + std::to_string(r.pages) +
                            " pages."
                      : "The book could not be written" + (r.failure.empty() ? "." : ": " + r.failure + ".");
  if (!skipped.empty()) {
    m.text += "|" + std::to_string(skipped.size()) + " files left out:";
    for (size_t i = 0; i < skipped.size() && i < kSkippedShown; ++i) m.text += "|" + skipped[i];
    if (skipped.size() > kSkippedShown) m.text += "|and " + std::to_string(skipped.size() - kSkippedShown) + " more";
  }
  toolkit_.MessageBox(m);
  toolkit_.Redisplay(window_);
}

}  // namespace tx
