#pragma once
// report: from rendered report pages to an output target. The page parser
// replays page metafiles as drawing calls on a report generator; targets (the
// PDF writer, the printer) implement the generator interface.
//   report_generator.h  IREPORTGENERATOR and the drawing-object records
//   wmf_parser.h        the page parser: a run over the pages of a report
//   wmf_record_parser.h one page, record by record
#include "report/report_generator.h"
#include "report/wmf_parser.h"
