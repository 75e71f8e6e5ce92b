#include "outputs/xml_export.h"

#include <utility>
#include <vector>

#include "platform/toolkit/toolkit.h"
#include "platform/xml/xml_writer.h"
#include "services/file_manager.h"

namespace tx {

namespace {

std::vector<std::pair<std::string, std::string>> RowFields(const PresetRecord& r) {
  auto text = [](std::string_view s) { return std::string(RightTrimmed(s)); };
  return {{"EFFECTID", std::to_string(r.EFFECTID)},
          {"EFFECTNAME", text(r.EFFECTNAME.raw())},
          {"PARAMETERID", std::to_string(r.PARAMETERID)},
          {"SCREENNAME", text(r.SCREENNAME.raw())},
          {"XVALUE", text(r.XVALUE.raw())},
          {"YVALUE", text(r.YVALUE.raw())},
          {"UNIT", text(r.UNIT.raw())},
          {"MODIFIERFLAG", text(r.MODIFIERFLAG.raw())},
          {"XACTIVE", text(r.XACTIVE.raw())},
          {"YACTIVE", text(r.YACTIVE.raw())}};
}

}  // namespace

int WritePresetXml(const std::string& path, std::string_view presetName, int32_t presetNumber, FileManager& table,
                   PresetRecord& row, std::string& error) {
  XmlWriter w;
  if (w.CreateXmlFile(path, "1.0", "UTF-8") != 0) {
    error = w.error();
    return 1;
  }
  w.CreateParent("Preset");
  w.CreateAttribute("Name", RightTrimmed(presetName));
  w.CreateAttribute("Number", std::to_string(presetNumber));
  w.AddParent();
  if (table.SetOrder(-1) != Level::Done) {
    error = "cannot read the preset table";
    return 1;  // the writer removes its temporary file
  }
  while (table.Next(false) == Level::Done) w.AddFromGroup(RowFields(row), "Effect");
  if (!table.ATEOF) {
    error = "cannot read the preset table";
    return 1;
  }
  w.CloseParent();
  if (w.CloseXmlFile() != 0) {
    error = w.error();
    return 1;
  }
  return 0;
}

bool ExportPresetXml(const PresetState& state, FileManager& table, PresetRecord& row, std::string& exportPath,
                     std::string* error) {
  if (error) error->clear();
  exportPath = std::string(state.PRESETNAME.view()) + ".xml";
  FileDialogRequest request;
  request.save = true;
  request.title = EXPORT_XML_TITLE;
  request.filter = EXPORT_XML_FILTER;
  request.proposedPath = exportPath;
  std::optional<std::string> chosen = Toolkit().FileDialog(request);
  if (!chosen || chosen->empty()) return false;
  exportPath = *chosen;
  std::string why;
  if (WritePresetXml(exportPath, state.PRESETNAME.raw(), state.PRESETNUMBER, table, row, why) == 0) return true;
  if (error) *error = why;
  return false;
}

}  // namespace tx
