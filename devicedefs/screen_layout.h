#pragma once
// Places the editor controls of a layout file on their pages' grids.
#include <cstdint>
#include <functional>

#include "devicedefs/tables.h"
#include "platform/xml/text_queue.h"

namespace tx {

// Walks the XMCQ rows in document order and hands every placed control to
// `place` with its grid row and column (from 1). A new page or section starts
// again at row 1, column 1; a "SPACER" takes a column and writes nothing; a
// control whose sub-type does not name the page's sub-type is left out and
// takes no column; a control flagged "Row" ends its grid row.
void WalkScreenLayout(const TextQueue& xmcq, uint8_t deviceType,
                      const std::function<void(const ScreenMasterRecord&)>& place);

}  // namespace tx
