#include "platform/storage/record_codec.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace tx::storage {

namespace {

bool StoredAsBlob(const FieldDef& f) { return f.count > 1; }

const char* SqlType(const FieldDef& f) {
  if (StoredAsBlob(f)) return "BLOB";
  switch (f.type) {
    case FieldType::Real: return "REAL";
    case FieldType::String: return "TEXT";
    default: return "INTEGER";
  }
}

int64_t LoadInteger(const FieldDef& f, const unsigned char* p) {
  switch (f.type) {
    case FieldType::Byte: return *p;
    case FieldType::Short: { int16_t v; std::memcpy(&v, p, 2); return v; }
    case FieldType::UShort: { uint16_t v; std::memcpy(&v, p, 2); return v; }
    case FieldType::Long: { int32_t v; std::memcpy(&v, p, 4); return v; }
    case FieldType::ULong: { uint32_t v; std::memcpy(&v, p, 4); return v; }
    default: return 0;
  }
}

void StoreInteger(const FieldDef& f, int64_t v, unsigned char* p) {
  switch (f.type) {
    case FieldType::Byte: *p = static_cast<uint8_t>(v); break;
    case FieldType::Short: { auto x = static_cast<int16_t>(v); std::memcpy(p, &x, 2); break; }
    case FieldType::UShort: { auto x = static_cast<uint16_t>(v); std::memcpy(p, &x, 2); break; }
    case FieldType::Long: { auto x = static_cast<int32_t>(v); std::memcpy(p, &x, 4); break; }
    case FieldType::ULong: { auto x = static_cast<uint32_t>(v); std::memcpy(p, &x, 4); break; }
    default: break;
  }
}

}  // namespace

std::string Quoted(const std::string& identifier) {
  std::string out = "\"";
  for (char c : identifier) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

std::string IndexName(const KeyDef& key) {
  size_t colon = key.name.find(':');
  return colon == std::string::npos ? key.name : key.name.substr(colon + 1);
}

std::string TableName(const RecordLayout& layout) {
  return layout.label.empty() ? std::string("records") : layout.label;
}

std::string CreateTableSql(const RecordLayout& layout) {
  std::string sql = "CREATE TABLE " + Quoted(TableName(layout)) + " (";
  for (size_t i = 0; i < layout.fields.size(); ++i) {
    const FieldDef& f = layout.fields[i];
    if (i) sql += ", ";
    // SQLite stores a NaN as NULL, so REAL columns must accept NULL.
    sql += Quoted(f.name) + " " + SqlType(f) + (f.type == FieldType::Real && f.count == 1 ? "" : " NOT NULL");
  }
  return sql + ")";
}

std::string CreateIndexSql(const RecordLayout& layout, const KeyDef& key) {
  return std::string("CREATE ") + (key.unique ? "UNIQUE " : "") + "INDEX " + Quoted(IndexName(key)) +
         " ON " + Quoted(TableName(layout)) + " (" + KeyColumns(layout, key) + ")";
}

std::string ColumnList(const RecordLayout& layout) {
  std::string s;
  for (size_t i = 0; i < layout.fields.size(); ++i) {
    if (i) s += ", ";
    s += Quoted(layout.fields[i].name);
  }
  return s;
}

std::string KeyColumns(const RecordLayout& layout, const KeyDef& key, const char* suffix) {
  std::string s;
  for (size_t i = 0; i < key.fields.size(); ++i) {
    if (i) s += ", ";
    s += Quoted(layout.fields[key.fields[i]].name) + suffix;
  }
  return s;
}

int BindField(sqlite3_stmt* stmt, int index, const FieldDef& f, const unsigned char* record) {
  const unsigned char* p = record + f.offset;
  if (StoredAsBlob(f)) return sqlite3_bind_blob(stmt, index, p, static_cast<int>(f.size * f.count), SQLITE_STATIC);
  if (f.type == FieldType::Real) {
    double v;
    std::memcpy(&v, p, sizeof v);
    return sqlite3_bind_double(stmt, index, v);
  }
  if (f.type == FieldType::String) {
    size_t n = f.size;
    while (n > 0 && p[n - 1] == ' ') --n;
    return sqlite3_bind_text(stmt, index, reinterpret_cast<const char*>(p), static_cast<int>(n), SQLITE_STATIC);
  }
  return sqlite3_bind_int64(stmt, index, LoadInteger(f, p));
}

void ReadField(sqlite3_stmt* stmt, int column, const FieldDef& f, unsigned char* record) {
  unsigned char* p = record + f.offset;
  if (f.type == FieldType::String || StoredAsBlob(f)) {
    size_t width = f.size * f.count;
    const void* data = sqlite3_column_blob(stmt, column);
    size_t n = static_cast<size_t>(sqlite3_column_bytes(stmt, column));
    if (!data) n = 0;
    if (n > width) n = width;
    if (n) std::memcpy(p, data, n);
    std::memset(p + n, f.type == FieldType::String ? ' ' : 0, width - n);
    return;
  }
  if (f.type == FieldType::Real) {
    double v = sqlite3_column_type(stmt, column) == SQLITE_NULL ? std::numeric_limits<double>::quiet_NaN()
                                                                : sqlite3_column_double(stmt, column);
    std::memcpy(p, &v, sizeof v);
    return;
  }
  StoreInteger(f, sqlite3_column_int64(stmt, column), p);
}

int CompareKey(const RecordLayout& layout, const KeyDef& key, const unsigned char* a, const unsigned char* b) {
  for (size_t index : key.fields) {
    const FieldDef& f = layout.fields[index];
    const unsigned char* x = a + f.offset;
    const unsigned char* y = b + f.offset;
    int c = 0;
    if (f.type == FieldType::String || StoredAsBlob(f)) {
      size_t n = f.size * f.count, m = n;
      if (f.type == FieldType::String && f.count == 1) {
        while (n > 0 && x[n - 1] == ' ') --n;
        while (m > 0 && y[m - 1] == ' ') --m;
      }
      c = std::memcmp(x, y, n < m ? n : m);
      if (c == 0) c = n < m ? -1 : n > m ? 1 : 0;
    } else if (f.type == FieldType::Real) {
      double u, v;
      std::memcpy(&u, x, sizeof u);
      std::memcpy(&v, y, sizeof v);
      // A NaN is stored as NULL, which comes before every number.
      bool nu = std::isnan(u), nv = std::isnan(v);
      if (nu || nv)
        c = nu == nv ? 0 : nu ? -1 : 1;
      else
        c = u < v ? -1 : u > v ? 1 : 0;
    } else {
      int64_t u = LoadInteger(f, x), v = LoadInteger(f, y);
      c = u < v ? -1 : u > v ? 1 : 0;
    }
    if (c != 0) return c < 0 ? -1 : 1;
  }
  return 0;
}

int BindRecord(sqlite3_stmt* stmt, int first, const RecordLayout& layout, const unsigned char* record) {
  for (size_t i = 0; i < layout.fields.size(); ++i) {
    int rc = BindField(stmt, first + static_cast<int>(i), layout.fields[i], record);
    if (rc != SQLITE_OK) return rc;
  }
  return SQLITE_OK;
}

int BindKey(sqlite3_stmt* stmt, int first, const RecordLayout& layout, const KeyDef& key,
            const unsigned char* record) {
  for (size_t i = 0; i < key.fields.size(); ++i) {
    int rc = BindField(stmt, first + static_cast<int>(i), layout.fields[key.fields[i]], record);
    if (rc != SQLITE_OK) return rc;
  }
  return SQLITE_OK;
}

void ReadRecord(sqlite3_stmt* stmt, const RecordLayout& layout, unsigned char* record) {
  for (size_t i = 0; i < layout.fields.size(); ++i) ReadField(stmt, static_cast<int>(i), layout.fields[i], record);
}

}  // namespace tx::storage
