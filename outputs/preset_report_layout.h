#pragma once
// The Preset Report's layout and the bands it prints: a page header with the
// preset's name and number on a black bar, the block image once at the start,
// a silver group header per effect with the value-column labels and the
// active marks, one line per parameter, and a footer with the page number.
// Kept apart from the procedure so that other reports (several presets in
// one document) print the same bands.
#include <string>

#include "devicedefs/tables.h"
#include "platform/reportengine/report_engine.h"
#include "platform/reportengine/report_layout.h"
#include "preset/preset_state.h"

namespace tx {

// Band names.
inline constexpr const char* PRESET_IMAGE_BAND = "blockimage";
inline constexpr const char* PRESET_LINE_BAND = "parameter";

// The fixed text at the foot of every page.
inline constexpr const char* PRESET_REPORT_CREDIT =
    "Made with Tonalyx, the preset reader for the Axe-FX and Axe-FX II";

ReportLayout PresetReportLayout();

// Header and footer values of a preset (name, number) and the value-column
// labels of its device type.
void SetPresetValues(ReportEngine& engine, const PresetState& state);
// The block image band, showing the picture file `imageFile`.
int PrintBlockImageBand(ReportEngine& engine, const std::string& imageFile);
// One parameter line from an MXPreset row (the group header comes first
// when the effect name changes).
int PrintParameterLine(ReportEngine& engine, const PresetRecord& row);

}  // namespace tx
