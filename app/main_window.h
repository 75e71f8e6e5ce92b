#pragma once
// The main window: the shown preset (number, name, block image) and its
// commands. Runs on any window toolkit; everything it does goes through the
// toolkit, the tables and the current preset it is given.
//
//   MainWindow window(Toolkit(), Tables(), Current());
//   window.Run({"/home/me/Clean.syx"});  // returns when the window has closed
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "devicedefs/tables.h"
#include "draw/canvas.h"
#include "draw/toolkit_canvas_host.h"
#include "platform/toolkit/toolkit.h"
#include "preset/fill_preset_table.h"
#include "preset/preset_state.h"

namespace tx {

// Control numbers of the main window.
enum MainControl : int {
  CANCELBUTTON = 1,
  REFRESHBUTTON = 2,
  SELECTPRESETBUTTON = 3,
  PANEL1 = 4,
  DRAW = 5,
  PRESETNUMBER_2 = 6,
  PRESETNAME = 7,
  PRINTBUTTON = 8,
  PANEL2 = 9,
  STRING1 = 10,
  EXPORTBUTTON = 11,
  IMAGEREGION = 12,
};

inline constexpr const char* MAIN_WINDOW_TITLE = "Tonalyx v1.13";
inline constexpr const char* SELECT_PRESET_TITLE = "Axe-FX II Preset File Import";
inline constexpr const char* SELECT_PRESET_FILTER = "Preset Files (*.syx)|*.syx|All Files (*.*)|*.*";
inline constexpr const char* BOOK_CAPTION = "Preset Book";
inline constexpr const char* BOOK_SAVE_TITLE = "Save Preset Book";
inline constexpr const char* BOOK_SAVE_FILTER = "PDF|*.PDF|All|*.*";
inline constexpr const char* CREDIT_LINE = "Tonalyx  \xC2\xB7  block layouts and reports of Axe-FX and Axe-FX II presets";

// The window's layout; pictures (icons, background) are looked up among the
// program's own artwork.
WindowLayout MainWindowLayout();

// How the window shows a preset number: three digits with leading zeros,
// blank when 0.
std::string ShownPresetNumber(int32_t number);

class MainWindow {
 public:
  MainWindow(WindowToolkit& toolkit, TableSet& tables, CurrentPreset& preset);
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Opens the tables and the window and runs it until it closes; the files
  // are imported, as if dropped, once the window has opened.
  void Run(const std::vector<std::string>& startFiles = {});

  // The commands.
  void SelectPreset();
  // Steps after the file dialog: load, parse, draw, show, fill MXPreset.
  // False when the file could not be loaded or was rejected (nothing changed).
  bool ImportPreset(const std::string& path);
  void Refresh();
  void PrintPdf();
  void ExportXml();
  // A drop: one preset file is imported; several files, or a folder of
  // presets, can be written as one book instead (the user is asked).
  void Drop(const std::vector<std::string>& files);
  // The Preset Reports of the files (folders stand for their presets) as
  // one PDF, its name asked for, written under a progress window whose
  // Cancel leaves the target as it was; the outcome told in a message.
  void WriteBook(const std::vector<std::string>& files);

  // Clock in hundredths of a second that a book's writing is sliced by
  // between the progress window's events (a steady clock unless set).
  using Clock = std::function<int64_t()>;
  void SetClock(Clock clock) { clock_ = std::move(clock); }

  WindowId Window() const { return window_; }
  const std::string& PresetPath() const { return presetPath_; }
  const std::string& ExportPath() const { return exportPath_; }
  Canvas& BlockCanvas() { return canvas_; }

 private:
  void Opened();
  void Closing();
  void ShowPreset();

  WindowToolkit& toolkit_;
  TableSet& tables_;
  CurrentPreset& preset_;
  PresetTableFiller filler_;
  WindowId window_ = 0;
  std::optional<ToolkitCanvasHost> host_;
  Canvas canvas_;
  std::vector<std::string> startFiles_;
  std::string presetPath_;  // the file dialog starts from it
  std::string exportPath_;
  Clock clock_;
};

}  // namespace tx
