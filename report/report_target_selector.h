#pragma once
// The output targets a report can be delivered to (report generators such as
// the PDF writer), in registration order, and the choice among them and the
// printer. A choice that leaves nothing to decide is made without a window;
// otherwise "Select an Output" offers one icon button per choice.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/toolkit/toolkit.h"
#include "report/report_generator.h"

namespace tx {

class ReportTargetSelector {
 public:
  // Controls of "Select an Output"; the choice buttons follow LPLUGINCHOICE.
  enum : int { BOK = 1, BCANCEL = 2, LPLUGINCHOICE = 10 };

  struct PluginRow {
    IREPORTGENERATOR* REPORTGENERATOR = nullptr;
    uint8_t ENABLEONPREVIEW = 0;
  };

  explicit ReportTargetSelector(WindowToolkit& toolkit = Toolkit()) : toolkit_(toolkit) {}

  void AddItem(IREPORTGENERATOR* target, uint8_t enableOnPreview);
  int Items() const { return static_cast<int>(QPLUGIN.size()); }
  // The name target n (from 1) gives itself; empty when there is none.
  std::string GetReportGeneratorName(int n) const;
  uint8_t GetPrintSelected() const { return WITHPRINTER ? PRINTSELECTED : 0; }
  IREPORTGENERATOR* GetReportSelected() const { return GetPrintSelected() == 1 ? nullptr : PLUGINSELECTED; }
  // 1 when a choice was made, 0 when cancelled (the earlier choice stays).
  uint8_t Ask(uint8_t withPrinter);

  // Buttons in one row of the choice window for `choices` buttons.
  static int RowLength(int choices, int horizontal, bool stretch);
  // The "Select an Output" window for the given choices (printer first when offered).
  WindowLayout ChoiceLayout(bool withPrinter) const;

  uint8_t HORIZONTAL = 6;
  uint8_t STRETCH = 1;
  uint8_t WITHPRINTER = 0;
  uint8_t PRINTSELECTED = 0;
  IREPORTGENERATOR* PLUGINSELECTED = nullptr;
  std::vector<PluginRow> QPLUGIN;

 private:
  WindowToolkit& toolkit_;
};

}  // namespace tx
