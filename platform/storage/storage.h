#pragma once
// platform/storage: the keyed-file driver. One table of fixed-length records
// per SQLite file (or in memory), read and written by key through
// StorageTable; the access layer (services/file_manager.h) is its only user
// in the program.
//   storage_table.h  the driver: open, fetch, read in order, insert, update, transactions
//   commit_stamp.h   what a table file's committed content was, read without a lock
// Inside, a table keeps its rows through one of two backends (table_backend.h):
// file_table.h (SQLite) or memory_table.h (memory_rows.h).
#include "platform/storage/commit_stamp.h"
#include "platform/storage/storage_table.h"
