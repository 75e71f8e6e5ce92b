#include "app/main_window.h"

#include <chrono>

#include "devicedefs/loader.h"
#include "outputs/block_image.h"
#include "outputs/preset_report.h"
#include "outputs/xml_export.h"
#include "preset/parse_preset.h"
#include "base/display_text.h"
#include "services/error_manager.h"
#include "base/file_io.h"

namespace tx {

MainWindow::MainWindow(WindowToolkit& toolkit, TableSet& tables, CurrentPreset& preset)
    : toolkit_(toolkit), tables_(tables), preset_(preset), filler_(AccessPresetTables(tables)), clock_([] {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count() / 10;
      }) {}

void MainWindow::Run(const std::vector<std::string>& startFiles) {
  startFiles_ = startFiles;
  GlobalErrors().EnterProcedure("Main");
  tables_.DBEffects.Open();
  tables_.DBSelection.Open();
  tables_.MXPreset.Open();
  window_ = toolkit_.OpenWindow(MainWindowLayout());
  host_.emplace(toolkit_, window_);
  canvas_.Init(*host_, DRAW);
  // The canvas holds the grid exactly: the image control shows it whole,
  // and "tmp01.png" carries no border into the report.
  canvas_.Resize(BLOCK_IMAGE_MIN_WIDTH, BLOCK_IMAGE_MIN_HEIGHT);

  Event e;
  while (toolkit_.NextEvent(window_, e)) {
    switch (e.kind) {
      case EventKind::OpenWindow:
        Opened();
        break;
      case EventKind::Accepted:
        switch (e.control) {
          case SELECTPRESETBUTTON: SelectPreset(); break;
          case REFRESHBUTTON:
            if (!toolkit_.ControlHidden(window_, REFRESHBUTTON)) Refresh();
            break;
          case PRINTBUTTON: PrintPdf(); break;
          case EXPORTBUTTON: ExportXml(); break;
          case CANCELBUTTON: toolkit_.CloseWindow(window_); break;
          default: break;
        }
        break;
      case EventKind::Dropped:
        Drop(e.paths.empty() ? std::vector<std::string>{e.path} : e.paths);
        break;
      case EventKind::RightClick:
        if (e.control == IMAGEREGION) BlockImageMenu(toolkit_, window_, canvas_, preset_.state);
        break;
      case EventKind::CloseRequested:
        toolkit_.CloseWindow(window_);
        break;
      default:
        break;
    }
  }
  Closing();
}

void MainWindow::Opened() {
  // Administrator mode is decided once, here.
  toolkit_.SetControlHidden(window_, REFRESHBUTTON, !toolkit_.HasFlag("/ADMIN"));
  toolkit_.KeepOnDesktop(window_);
  for (const std::string& file : startFiles_) toolkit_.PostEvent(window_, Event(EventKind::Dropped, 0, file));
  startFiles_.clear();
}

void MainWindow::Closing() {
  canvas_.Kill();
  host_.reset();
  tables_.DBEffects.Close();
  tables_.DBSelection.Close();
  tables_.MXPreset.Close();
  GlobalErrors().LeaveProcedure();
}

void MainWindow::SelectPreset() {
  FileDialogRequest request;
  request.title = SELECT_PRESET_TITLE;
  request.filter = SELECT_PRESET_FILTER;
  request.proposedPath = presetPath_;
  if (auto path = toolkit_.FileDialog(request)) ImportPreset(*path);
}

bool MainWindow::ImportPreset(const std::string& path) {
  presetPath_ = path;
  std::string content;
  if (!ReadFileStart(path, PRESET_BUFFER_SIZE, content)) return false;
  // A rejected file leaves everything as it was, the device type and the
  // queues included: the shown preset stays the one printed and exported.
  const CurrentPreset before = preset_;
  if (!ParsePreset(FitPresetBuffer(content), preset_)) {
    preset_ = before;
    return false;
  }
  TableEffectRows effects(tables_.DBEffects, tables_.effect);
  DrawBlockImage(canvas_, preset_, effects);
  ShowPreset();
  toolkit_.Redisplay(window_);
  filler_.FillPresetTable(preset_);
  return true;
}

void MainWindow::ShowPreset() {
  toolkit_.SetControlText(window_, PRESETNUMBER_2, ShownPresetNumber(preset_.state.PRESETNUMBER));
  toolkit_.SetControlText(window_, PRESETNAME, DisplayUtf8(preset_.state.PRESETNAME.view()));
}

// A block that could not be stored is kept out of every table; the
// administrator is told which, and what was stored.
void MainWindow::Refresh() {
  toolkit_.SetWaitCursor(true);
  const ImportReport report = ImportDefinitions(tables_);
  toolkit_.SetWaitCursor(false);
  toolkit_.Redisplay(window_);
  const std::vector<std::string> failures = ImportFailureLines(report);
  if (failures.empty()) return;
  MessageRequest request;
  request.caption = "Refresh";
  request.icon = MessageIcon::Exclamation;
  for (const std::string& line : failures) request.text += (request.text.empty() ? "" : "|") + line;
  request.barIsNewline = true;
  toolkit_.MessageBox(request);
}

void MainWindow::PrintPdf() {
  PresetReportOptions options;
  options.toolkit = &toolkit_;
  PresetReport(options);
  toolkit_.Redisplay(window_);
}

void MainWindow::ExportXml() { ExportPresetXml(preset_.state, tables_.MXPreset, tables_.preset, exportPath_); }

}  // namespace tx
