#pragma once
// app: the desktop program on any window toolkit.
//   app_options.h   its command line (/ADMIN, /DrawDebug, --workdir, preset files)
//   working_dir.h   the working directory: the user's data directory, set up on first start
//   startup.h       start-up and shutdown around the main window
//   main_window.h   the main window and its commands
#include "app/app_options.h"
#include "app/main_window.h"
#include "app/startup.h"
#include "app/working_dir.h"
