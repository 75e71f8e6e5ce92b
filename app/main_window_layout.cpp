// The main window's layout: 521 x 206 dialog units, centred, controls by number.
#include "app/main_window.h"
#include "app/working_dir.h"
#include "base/picture.h"

namespace tx {

std::string ShownPresetNumber(int32_t number) {
  const std::string shown = FormatPicture("N03B", number);
  return shown.find_first_not_of(' ') == std::string::npos ? std::string() : shown;
}

WindowLayout MainWindowLayout() {
  WindowLayout w;
  w.title = MAIN_WINDOW_TITLE;
  w.icon = UiPicture("tonalyx.png");
  w.fontName = "Tahoma";
  // At eleven points the block image control holds the whole grid without
  // shrinking it.
  w.fontSize = 11;
  w.width = 521;
  w.height = 206;
  w.centred = true;
  w.modal = false;
  w.background = UiPicture("background.png");
  w.acceptsDrops = true;

  ControlLayout close = PlacedControl(CANCELBUTTON, ControlKind::Button, "&Close", 443, 181, 60, 16);
  close.picture = UiPicture("close.png");
  ControlLayout refresh = PlacedControl(REFRESHBUTTON, ControlKind::Button, "Refresh", 17, 181, AUTO_SIZE, 16);
  refresh.hidden = true;
  ControlLayout select = PlacedControl(SELECTPRESETBUTTON, ControlKind::Button, "Select Preset", 303, 11, 67, AUTO_SIZE);
  select.picture = UiPicture("browse.png");
  ControlLayout panel1 = PlacedControl(PANEL1, ControlKind::Panel, "", 17, 39, 486, 134);
  ControlLayout draw = PlacedControl(DRAW, ControlKind::Image, "", 40, 50, 442, 109);
  ControlLayout number = PlacedControl(PRESETNUMBER_2, ControlKind::Text, "", 24, 11, AUTO_SIZE, AUTO_SIZE);
  number.fontSize = 14;
  number.bold = true;
  number.color = 0xF0F0F0;
  ControlLayout name = PlacedControl(PRESETNAME, ControlKind::Text, "", 63, 11, 226, AUTO_SIZE);
  name.fontSize = 14;
  name.bold = true;
  name.color = 0xF0F0F0;
  ControlLayout print = PlacedControl(PRINTBUTTON, ControlKind::Button, "Print PDF", 374, 11, 61, AUTO_SIZE);
  print.picture = UiPicture("print.png");
  ControlLayout panel2 = PlacedControl(PANEL2, ControlKind::Panel, "", 17, 6, 283, 26);
  ControlLayout credit = PlacedControl(STRING1, ControlKind::Text, CREDIT_LINE, 153, 187, AUTO_SIZE, AUTO_SIZE);
  credit.color = 0xB4B4B4;
  ControlLayout exportXml = PlacedControl(EXPORTBUTTON, ControlKind::Button, "Export XML", 438, 11, 65, AUTO_SIZE);
  exportXml.picture = UiPicture("xml.png");
  ControlLayout region = PlacedControl(IMAGEREGION, ControlKind::Region, "", 17, 37, 486, 136);

  w.controls = {close, refresh, select, panel1, draw, number, name, print, panel2, credit, exportXml, region};
  return w;
}

}  // namespace tx
