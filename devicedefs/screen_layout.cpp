#include "devicedefs/screen_layout.h"

#include <string_view>

#include "devicedefs/loader_rows.h"

namespace tx {

void WalkScreenLayout(const TextQueue& xmcq, uint8_t deviceType,
                      const std::function<void(const ScreenMasterRecord&)>& place) {
  const size_t pageName = xmcq.F("PAGENAME"), section = xmcq.F("PAGESECTION"),
               parameter = xmcq.F("PARAMETERNAME"), controlSubType = xmcq.F("EDITORCONTROLSUBTYPE"),
               pageSubType = xmcq.F("PAGESUBTYPE"), rowFlag = xmcq.F("ROWFLAG");
  ScreenRowMapper map(xmcq);
  int row = 1, column = 1;
  std::string_view lastPage, lastSection;  // blank to begin with
  for (size_t i = 0; i < xmcq.size(); ++i) {
    if (xmcq.Text(i, pageName) != lastPage) {
      row = 1;
      column = 1;
      lastPage = xmcq.Text(i, pageName);
    }
    if (xmcq.Text(i, section) != lastSection) {
      row = 1;
      column = 1;
      lastSection = xmcq.Text(i, section);
    }
    if (xmcq.Text(i, parameter) == "SPACER") {
      ++column;
      continue;  // a spacer's row flag is not looked at
    }
    // A plain text search: page sub-type 1 also matches a control sub-type of
    // 10, and a blank page sub-type matches every control.
    std::string_view sub = xmcq.Text(i, controlSubType);
    if (sub.empty() || sub.find(xmcq.Text(i, pageSubType)) != std::string_view::npos) {
      place(map(i, deviceType, static_cast<int16_t>(row), static_cast<int16_t>(column)));
      ++column;
    }
    if (xmcq.Text(i, rowFlag) == "Row") {
      ++row;
      column = 1;
    }
  }
}

}  // namespace tx
