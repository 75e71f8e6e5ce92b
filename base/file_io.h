#pragma once
// Small POSIX file helpers shared by the writers.
#include <string_view>

namespace tx {

// Writes all of data to fd, going on after interrupted or partial writes.
// False on the first real error (errno tells which).
bool WriteAll(int fd, std::string_view data);

}  // namespace tx
