#pragma once
// Describes a fixed-length record: where each field sits, what type it has and
// which fields make up each key. The storage driver, the table dump and the XML
// loader all work from this description rather than from hand-written copies.
#include <cstddef>
#include <string>
#include <vector>

namespace tx {

enum class FieldType { Byte, Short, UShort, Long, ULong, Real, String };

struct FieldDef {
  std::string name;    // without prefix, as the record layout names it ("EFFECTID")
  FieldType type;
  size_t offset;       // byte offset within the record
  size_t size;         // bytes of one element (STRING(n): n)
  size_t count = 1;    // > 1 for arrays such as STRING(32) x 256
};

struct KeyDef {
  std::string name;              // with prefix, as in "EFF:Effect_Key"
  std::vector<size_t> fields;    // indexes into RecordLayout::fields, in key order
  bool unique = false;
};

struct RecordLayout {
  std::string label;      // table name ("DBEffects")
  std::string fileName;   // "efx.mdl"; for memory tables the table's memory name
  std::string prefix;     // "EFF"
  size_t recordSize = 0;
  std::vector<FieldDef> fields;
  std::vector<KeyDef> keys;
  bool inMemory = false;

  // Index of a field by its name (no prefix, letter case ignored), or -1.
  int FieldIndex(const std::string& name) const;
};

}  // namespace tx
