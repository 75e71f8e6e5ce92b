#pragma once
// "Print PDF": the Preset Report of the preset in MXPreset, run through the
// report manager, previewed, and saved as PDF or printed from the preview.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "outputs/block_image.h"
#include "platform/toolkit/toolkit.h"

namespace tx {

class ErrorManager;
class SettingsManager;

// What a caller may set around the report; the defaults are the main
// window's.
struct PresetReportOptions {
  WindowToolkit* toolkit = nullptr;  // the process-wide toolkit when none
  ErrorManager* errors = nullptr;    // the global error manager when none
  // Keeps the preview's window positions; the process-wide manager when none.
  SettingsManager* settings = nullptr;
  // The picture of the block image band.
  std::string imageFile = BLOCK_IMAGE_FILE;
  // Where the PDF goes without asking; empty: the save dialog asks.
  std::string targetName;
  // The PDF's streams compressed; encrypted when a password is given.
  bool compress = true;
  std::optional<std::string> password;
  // The TrueType fonts carried in the PDF.
  bool embedFonts = false;
  // Told the files each save from the preview produced.
  std::function<void(const std::vector<std::string>&)> filesWritten;
};

// The document information of the PDF.
inline constexpr const char* PRESET_REPORT_AUTHOR = "Tonalyx Preset Report";
inline constexpr const char* PRESET_REPORT_KEYWORDS = "Axe-FX, Axe-FX II, preset, parameters, report";

void PresetReport();
void PresetReport(const PresetReportOptions& options);

}  // namespace tx
