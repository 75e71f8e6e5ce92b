#pragma once
// platform/wmfplayer: report page files drawn again.
//   wmf_page.h      a page file read and split into records, bounds-checked
//   wmf_player.h    a page replayed onto a QPainter at any resolution
//   page_raster.h   a page drawn into an RGB picture (checks, tools)
#include "platform/wmfplayer/page_raster.h"
#include "platform/wmfplayer/wmf_page.h"
#include "platform/wmfplayer/wmf_player.h"
