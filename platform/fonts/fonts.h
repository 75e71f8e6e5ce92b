#pragma once
// platform/fonts: installed fonts by face name (fontconfig) and their metrics
// (FreeType), for laying out and embedding text.
//   font_engine.h  finding a font and reading its metrics and character widths
#include "platform/fonts/font_engine.h"
