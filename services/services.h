#pragma once
// services: what the application's library layers share above the platform.
//   error_manager.h  messages raised by number, shown or logged by their level
//   message_ids.h    the built-in messages' numbers and levels, by name
//   messages*.h      the message table, placeholders, history and log
//   file_manager.h   the table access layer: one access object per table,
//                    driver errors turned into messages, results as levels
//   settings.h       settings by section and entry (INI file or registry form)
#include "services/error_manager.h"
#include "services/file_manager.h"
#include "services/message_ids.h"
#include "services/settings.h"
