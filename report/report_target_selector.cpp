#include "report/report_target_selector.h"

#include <algorithm>

namespace tx {

namespace {

// Dialog units of the choice grid.
constexpr int BUTTON_WIDTH = 32, BUTTON_HEIGHT = 36, GAP = 2;
constexpr int MARGIN = 6, FRAME_TOP = 10, COMMAND_WIDTH = 40, COMMAND_HEIGHT = 14;

}  // namespace

void ReportTargetSelector::AddItem(IREPORTGENERATOR* target, uint8_t enableOnPreview) {
  QPLUGIN.push_back({target, enableOnPreview});
}

std::string ReportTargetSelector::GetReportGeneratorName(int n) const {
  if (n < 1 || n > Items() || !QPLUGIN[static_cast<size_t>(n - 1)].REPORTGENERATOR) return {};
  return QPLUGIN[static_cast<size_t>(n - 1)].REPORTGENERATOR->TargetName();
}

int ReportTargetSelector::RowLength(int choices, int horizontal, bool stretch) {
  int row = std::max(horizontal, 1);
  if (stretch) {
    if (choices < row) row = choices;
    else if (choices == row + 1) row = row + 1;
  }
  return std::max(row, 3);
}

WindowLayout ReportTargetSelector::ChoiceLayout(bool withPrinter) const {
  struct Choice {
    std::string icon, text;
  };
  std::vector<Choice> choices;
  if (withPrinter) choices.push_back({"~EXP_PRI.ICO", "Print"});
  for (const PluginRow& row : QPLUGIN)
    choices.push_back({row.REPORTGENERATOR->TargetIcon(), row.REPORTGENERATOR->TargetName()});
  const int count = static_cast<int>(choices.size());
  const int perRow = RowLength(count, HORIZONTAL, STRETCH != 0);
  const int rows = std::max(1, (count + perRow - 1) / perRow);
  const int gridWidth = perRow * BUTTON_WIDTH + (perRow - 1) * GAP;
  const int gridHeight = rows * BUTTON_HEIGHT + (rows - 1) * GAP;

  WindowLayout w;
  w.title = "Select an Output";
  w.modal = true;
  ControlLayout frame;
  frame.number = LPLUGINCHOICE;
  frame.kind = ControlKind::Option;
  frame.x = MARGIN;
  frame.y = MARGIN;
  frame.width = gridWidth + 2 * MARGIN;
  frame.height = gridHeight + FRAME_TOP + MARGIN;
  w.controls.push_back(frame);
  for (int i = 0; i < count; ++i) {
    ControlLayout b;
    b.number = LPLUGINCHOICE + 1 + i;
    b.kind = ControlKind::Option;
    b.parent = LPLUGINCHOICE;
    b.picture = choices[static_cast<size_t>(i)].icon;
    b.text = choices[static_cast<size_t>(i)].text;
    b.x = frame.x + MARGIN + (i % perRow) * (BUTTON_WIDTH + GAP);
    b.y = frame.y + FRAME_TOP + (i / perRow) * (BUTTON_HEIGHT + GAP);
    b.width = BUTTON_WIDTH;
    b.height = BUTTON_HEIGHT;
    w.controls.push_back(b);
  }
  // OK and Cancel side by side under the grid, at its right end.
  const int contentWidth = std::max(frame.width, 2 * COMMAND_WIDTH + GAP * 2);
  const int commandsY = frame.y + frame.height + MARGIN;
  ControlLayout ok;
  ok.number = BOK;
  ok.kind = ControlKind::Button;
  ok.text = "&OK";
  ok.defaultButton = true;
  ok.width = COMMAND_WIDTH;
  ok.height = COMMAND_HEIGHT;
  ok.x = MARGIN + contentWidth - 2 * COMMAND_WIDTH - GAP * 2;
  ok.y = commandsY;
  ControlLayout cancel = ok;
  cancel.number = BCANCEL;
  cancel.text = "&Cancel";
  cancel.defaultButton = false;
  cancel.x = ok.x + COMMAND_WIDTH + GAP * 2;
  w.controls.push_back(ok);
  w.controls.push_back(cancel);
  w.width = contentWidth + 2 * MARGIN;
  w.height = commandsY + COMMAND_HEIGHT + MARGIN;
  return w;
}

uint8_t ReportTargetSelector::Ask(uint8_t withPrinter) {
  WITHPRINTER = withPrinter ? 1 : 0;
  if (WITHPRINTER && QPLUGIN.empty()) {
    PRINTSELECTED = 1;
    return 1;
  }
  if (!WITHPRINTER && QPLUGIN.size() == 1) {
    PLUGINSELECTED = QPLUGIN[0].REPORTGENERATOR;
    PRINTSELECTED = 0;
    return 1;
  }
  // Nothing at all to choose from: a window would only offer OK for nothing.
  if (!WITHPRINTER && QPLUGIN.empty()) return 0;

  WindowId w = toolkit_.OpenWindow(ChoiceLayout(WITHPRINTER != 0));
  uint8_t result = 0;
  Event e;
  while (toolkit_.NextEvent(w, e)) {
    if (e.kind == EventKind::OpenWindow) {
      toolkit_.SetControlSelection(w, LPLUGINCHOICE, 1);
      toolkit_.SetFocus(w, BOK);
      continue;
    }
    if (e.kind == EventKind::CloseRequested || (e.kind == EventKind::Accepted && e.control == BCANCEL)) {
      toolkit_.CloseWindow(w);
    } else if (e.kind == EventKind::Accepted && e.control == BOK) {
      int choice = toolkit_.ControlSelection(w, LPLUGINCHOICE);
      const int choices = Items() + WITHPRINTER;
      if (choice < 1 || choice > choices) continue;  // nothing chosen yet
      if (WITHPRINTER && choice == 1) {
        PRINTSELECTED = 1;
      } else {
        PLUGINSELECTED = QPLUGIN[static_cast<size_t>(choice - 1 - WITHPRINTER)].REPORTGENERATOR;
        PRINTSELECTED = 0;
      }
      result = 1;
      toolkit_.CloseWindow(w);
    }
  }
  return result;
}

}  // namespace tx
