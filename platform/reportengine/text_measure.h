#pragma once
// Text widths for laying out report controls, in thousandths of an inch.
#include <string_view>

#include "platform/reportengine/report_layout.h"

namespace tx {

// The width from the installed font's advances (the platform font engine);
// the estimate below when no font can be loaded.
int MeasureTextWidth(const ReportFont& font, std::string_view text);

// A width from typical proportions of a sans-serif face: good enough to size
// a clip box or break a line when no font file is at hand.
int EstimateTextWidth(const ReportFont& font, std::string_view text);

}  // namespace tx
