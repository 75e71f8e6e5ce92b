#pragma once
// platform/reportengine: the band report engine. Prints the bands of a report
// layout onto pages and writes each page as a placeable metafile with the
// report engine's comments around every control.
//   report_layout.h  bands, controls, fonts and the page of a report
//   report_engine.h  printing bands, finishing pages, the page files
//   wmf_writer.h     one page as a metafile in memory
//   png_dib.h        picture files for image controls
//   text_measure.h   text widths for the layout
#include "platform/reportengine/report_engine.h"
#include "platform/reportengine/report_layout.h"
