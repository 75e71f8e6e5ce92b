#pragma once
// Prints the rows of a disk master table as JSON, for administrators checking
// an import and for tests.
#include <iosfwd>
#include <string>
#include <string_view>

#include "base/record_layout.h"

namespace tx {

// One row as a JSON object keyed by the layout's field names: numbers as
// numbers, texts without their trailing spaces, arrays of texts as arrays.
std::string RowToJson(const RecordLayout& layout, const void* record);

// Writes every row of the disk table `name` (DBEffects, DBCabs, DBSelection,
// DBSelectionMaster or DBScreenMaster; letter case ignored) in stored order
// as one JSON array, one row per line. A table whose file does not exist is
// empty. Returns 0, or non-zero with `error` set.
int DumpTable(std::string_view name, std::ostream& out, std::string& error);

}  // namespace tx
