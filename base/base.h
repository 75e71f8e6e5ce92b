#pragma once
// base: the small standard-library-only types every layer builds on. Nothing
// here includes anything outside the C++ and POSIX libraries.
//   level.h          result levels (Level::Done, Fatal, Cancelled, NotDone)
//   fixed_string.h   STRING(n) and CSTRING(n) record fields
//   record_layout.h  fields and keys of a fixed-length record
//   picture.h        numeric display pictures ("N-8.2", "N03B")
//   runtime_error.h  the calling thread's last runtime and driver error
//   file_io.h        the file operations every writer goes through (the seam
//                    tests fail writes at)
//   file_replacer.h  writing a file whole or not at all, whatever the target is
//   display_text.h   texts from presets and definitions as UTF-8 for display
#include "base/display_text.h"
#include "base/file_io.h"
#include "base/file_replacer.h"
#include "base/fixed_string.h"
#include "base/level.h"
#include "base/picture.h"
#include "base/record_layout.h"
#include "base/runtime_error.h"
