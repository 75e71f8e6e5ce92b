#pragma once
// platform/qt: the window toolkit on Qt Widgets, and printing.
//   qt_toolkit.h    QtToolkit, the WindowToolkit of the desktop program
//   qt_driver.h     works its windows as a user does (tests, benchmarks, screenshots)
//   page_printer.h  report pages to a printer or a PDF file without a window
//   print_server.h  the print service tonalyx-cli prints through
//   runtime_dir.h   a private runtime directory where the session gave none
#include "platform/qt/page_printer.h"
#include "platform/qt/print_server.h"
#include "platform/qt/qt_driver.h"
#include "platform/qt/qt_toolkit.h"
#include "platform/qt/runtime_dir.h"
