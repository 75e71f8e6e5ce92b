#pragma once
// Moves field values between a fixed-length record and SQLite statements, and
// spells the SQL that describes a layout. Text fields are stored without their
// trailing spaces, so equality and order in the database ignore them; reading
// pads them back to the field width.
#include <sqlite3.h>

#include <string>
#include <vector>

#include "base/record_layout.h"

namespace tx::storage {

std::string Quoted(const std::string& identifier);
// Key name without its prefix ("EFF:Effect_Key" -> "Effect_Key").
std::string IndexName(const KeyDef& key);
std::string TableName(const RecordLayout& layout);

std::string CreateTableSql(const RecordLayout& layout);
std::string CreateIndexSql(const RecordLayout& layout, const KeyDef& key);
// "f1","f2",... in field order.
std::string ColumnList(const RecordLayout& layout);
// The key's columns in key order, each followed by `suffix` (" DESC").
std::string KeyColumns(const RecordLayout& layout, const KeyDef& key, const char* suffix = "");

// Binds one field of `record` to parameter `index` (1-based).
int BindField(sqlite3_stmt* stmt, int index, const FieldDef& field, const unsigned char* record);
// Stores result column `column` into the field of `record`.
void ReadField(sqlite3_stmt* stmt, int column, const FieldDef& field, unsigned char* record);

// Binds every field in field order starting at parameter `first`.
int BindRecord(sqlite3_stmt* stmt, int first, const RecordLayout& layout, const unsigned char* record);
// Binds the key's components in key order starting at parameter `first`.
int BindKey(sqlite3_stmt* stmt, int first, const RecordLayout& layout, const KeyDef& key,
            const unsigned char* record);
// Orders two records by the key's components the way the database does
// (numbers by value, text bytewise without trailing spaces): <0, 0 or >0.
int CompareKey(const RecordLayout& layout, const KeyDef& key, const unsigned char* a, const unsigned char* b);

// Reads result columns 0..n-1 into the record's fields.
void ReadRecord(sqlite3_stmt* stmt, const RecordLayout& layout, unsigned char* record);

}  // namespace tx::storage
