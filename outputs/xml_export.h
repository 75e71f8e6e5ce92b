#pragma once
// "Export XML": the preset in MXPreset as an XML file the user names.
//
//   <?xml version="1.0" encoding="UTF-8"?>
//   <Preset Name="Clean Rhythm" Number="12">
//     <Effect><EFFECTID>106</EFFECTID><EFFECTNAME>Amp 1</EFFECTNAME> ... <YACTIVE></YACTIVE></Effect>
//   </Preset>
//
// One Effect element per MXPreset row in stored order, its ten fields as
// child elements in record order; texts lose their trailing spaces and keep
// their leading ones. The file is written through a FileReplacer: a failed
// export leaves the file that was there as it was.
#include <cstdint>
#include <string>
#include <string_view>

#include "devicedefs/tables.h"
#include "preset/preset_state.h"

namespace tx {

class FileManager;

inline constexpr const char* EXPORT_XML_TITLE = "Export Preset To XML";
inline constexpr const char* EXPORT_XML_FILTER = "XML (*.xml)|*.xml";

// Writes the document to `path` from the rows of MXPreset (`table`, whose
// record buffer is `row`). 0 when written; otherwise `error` says why and the
// file at `path` is as it was.
int WritePresetXml(const std::string& path, std::string_view presetName, int32_t presetNumber, FileManager& table,
                   PresetRecord& row, std::string& error);

// The command: proposes the preset name followed by ".xml" in `exportPath`,
// asks for the file with the save dialog, and writes it. Cancel, or a file
// that cannot be created, ends it silently. True when a file was written;
// otherwise `error` (when given) says why, empty after a cancel.
bool ExportPresetXml(const PresetState& state, FileManager& table, PresetRecord& row, std::string& exportPath,
                     std::string* error = nullptr);

}  // namespace tx
