#pragma once
// Helpers for import tests: a working directory with definition files, and
// the rows of a table in stored order.
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "devicedefs/tables.h"
#include "services/file_manager.h"
#include "support/temp_dir.h"

namespace txtest {

inline void WriteFile(const std::filesystem::path& path, const std::string& text) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

// Every row of a table in stored order, read through its access object.
template <class Record>
std::vector<Record> Rows(tx::FileManager& table, Record& buffer) {
  std::vector<Record> rows;
  if (table.Open(false) != 0) return rows;
  table.SetOrder(-1);
  while (table.Next(false) == 0) rows.push_back(buffer);
  table.Close();
  return rows;
}

}  // namespace txtest
