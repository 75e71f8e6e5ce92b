#include "devicedefs/table_dump.h"

#include <cctype>
#include <charconv>
#include <cstdio>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <ostream>

#include "devicedefs/tables.h"
#include "platform/storage/storage_table.h"

namespace tx {

namespace {

template <class T>
T Read(const unsigned char* p) {
  T v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

// JSON string of fixed-width text: trailing spaces dropped, valid UTF-8 kept,
// any other byte taken as Latin-1.
void AppendText(std::string& out, std::string_view s) {
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  out.push_back('"');
  for (size_t i = 0; i < s.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (c == '"' || c == '\\') {
      out.push_back('\\');
      out.push_back(static_cast<char>(c));
    } else if (c < 0x20) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", c);
      out += buf;
    } else if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else {
      size_t n = (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 0;
      bool valid = n > 0 && i + n <= s.size();
      for (size_t k = 1; valid && k < n; ++k) valid = (static_cast<unsigned char>(s[i + k]) & 0xC0) == 0x80;
      if (valid) {
        out.append(s.data() + i, n);
        i += n - 1;
      } else {
        char buf[8];
        std::snprintf(buf, sizeof buf, "\\u%04x", c);
        out += buf;
      }
    }
  }
  out.push_back('"');
}

void AppendReal(std::string& out, double v) {
  if (!std::isfinite(v)) {
    out += "null";  // JSON has no infinities
    return;
  }
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, v);
  out.append(buf, r.ptr);
}

void AppendField(std::string& out, const FieldDef& f, const unsigned char* p) {
  switch (f.type) {
    case FieldType::Byte: out += std::to_string(Read<uint8_t>(p)); break;
    case FieldType::Short: out += std::to_string(Read<int16_t>(p)); break;
    case FieldType::UShort: out += std::to_string(Read<uint16_t>(p)); break;
    case FieldType::Long: out += std::to_string(Read<int32_t>(p)); break;
    case FieldType::ULong: out += std::to_string(Read<uint32_t>(p)); break;
    case FieldType::Real: AppendReal(out, Read<double>(p)); break;
    case FieldType::String: AppendText(out, std::string_view(reinterpret_cast<const char*>(p), f.size)); break;
  }
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

}  // namespace

std::string RowToJson(const RecordLayout& layout, const void* record) {
  const unsigned char* base = static_cast<const unsigned char*>(record);
  std::string out = "{";
  for (size_t i = 0; i < layout.fields.size(); ++i) {
    const FieldDef& f = layout.fields[i];
    if (i) out.push_back(',');
    AppendText(out, f.name);
    out.push_back(':');
    if (f.count > 1) {
      out.push_back('[');
      for (size_t k = 0; k < f.count; ++k) {
        if (k) out.push_back(',');
        AppendField(out, f, base + f.offset + k * f.size);
      }
      out.push_back(']');
    } else {
      AppendField(out, f, base + f.offset);
    }
  }
  out.push_back('}');
  return out;
}

int DumpTable(std::string_view name, std::ostream& out, std::string& error) {
  TableSet& t = Tables();
  FileManager* table = nullptr;
  for (FileManager* fm : {&t.DBEffects, &t.DBCabs, &t.DBSelection, &t.DBSelectionMaster, &t.DBScreenMaster})
    if (SameName(fm->Name(), name)) table = fm;
  if (!table) {
    error = "unknown table '" + std::string(name) +
            "' (DBEffects, DBCabs, DBSelection, DBSelectionMaster or DBScreenMaster)";
    return 1;
  }
  const RecordLayout* layout = nullptr;
  for (const RecordLayout* l :
       {&EffectLayout(), &CabLayout(), &SelectionLayout(), &SelectionMasterLayout(), &ScreenMasterLayout()})
    if (l->label == table->Name()) layout = l;
  // Looking must not create the file.
  if (!std::filesystem::exists(layout->fileName)) {
    out << "[]\n";
    return out.good() ? 0 : 1;
  }
  // Looking needs no write access either.
  table->OPENMODE = OPEN_READ_ONLY;
  if (table->Open(false) != Level::Done) {
    error = "cannot open " + layout->fileName + ": " + table->Driver()->ErrorText();
    return 1;
  }
  int result = 0;
  out << "[";
  bool first = true;
  if (table->SetOrder(storage::kPhysicalOrder) != Level::Done) result = 1;
  while (result == 0 && table->Next(false) == Level::Done) {
    out << (first ? "\n" : ",\n") << RowToJson(*layout, table->BUFFER);
    first = false;
  }
  if (result == 0 && !table->ATEOF) result = 1;
  out << (first ? "]\n" : "\n]\n");
  if (result != 0) error = "cannot read " + layout->fileName + ": " + table->Driver()->ErrorText();
  table->Close();
  if (!out.good()) {
    error = "cannot write the output";
    result = 1;
  }
  return result;
}

}  // namespace tx
