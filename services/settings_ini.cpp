#include "services/settings_ini.h"

#include "base/file_replacer.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace tx {

namespace {

// A settings file this big is not ours; leave it alone rather than load it.
constexpr std::uintmax_t kMaxFileSize = 16u << 20;

// Names compare without regard to case: the key of a section and entry.
std::string IndexKey(std::string_view section, std::string_view entry) {
  std::string key;
  key.reserve(section.size() + entry.size() + 1);
  for (char c : section) key.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
  key.push_back('\0');
  for (char c : entry) key.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
  return key;
}

std::string_view Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
  return s.substr(b, e - b);
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}


}  // namespace

std::string OneLine(std::string_view text) {
  std::string s(text);
  for (char& c : s)
    if (c == '\n' || c == '\r') c = ' ';
  return s;
}

IniFile::Line IniFile::Parse(std::string_view raw, const std::string& section) {
  Line line;
  line.text = std::string(raw);
  line.section = section;
  std::string_view t = Trim(raw);
  if (t.empty() || t[0] == ';' || t[0] == '#') return line;
  if (t[0] == '[') {
    size_t close = t.find(']');
    if (close == std::string_view::npos) return line;
    line.kind = Line::Header;
    line.name = std::string(Trim(t.substr(1, close - 1)));
    line.section = line.name;
    return line;
  }
  size_t eq = t.find('=');
  if (eq == std::string_view::npos || section.empty()) return line;
  line.kind = Line::Entry;
  line.name = std::string(Trim(t.substr(0, eq)));
  line.value = std::string(Trim(t.substr(eq + 1)));
  return line;
}

IniFile IniFile::Load(const std::string& path) {
  IniFile ini;
  std::error_code ec;
  std::uintmax_t size = std::filesystem::file_size(path, ec);
  if (ec) return ini;
  if (size > kMaxFileSize) {
    ini.unusable_ = true;
    return ini;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    ini.unusable_ = true;
    return ini;
  }
  std::ostringstream content;
  content << in.rdbuf();
  std::string text = content.str();
  std::string section;
  size_t start = 0;
  while (start < text.size()) {
    size_t nl = text.find('\n', start);
    if (nl == std::string::npos) nl = text.size();
    std::string_view raw(text.data() + start, nl - start);
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
    Line line = Parse(raw, section);
    if (line.kind == Line::Header) section = line.name;
    ini.lines_.push_back(std::move(line));
    start = nl + 1;
  }
  return ini;
}

bool IniFile::Save(const std::string& path) const {
  if (unusable_) return false;
  FileReplacer out;
  return out.Open(path) && out.Write(Text()) && out.Commit();
}

long IniFile::Find(std::string_view section, std::string_view entry) const {
  if (!indexed_) {
    index_.clear();
    for (size_t i = 0; i < lines_.size(); ++i) {
      const Line& l = lines_[i];
      if (l.kind == Line::Entry) index_.try_emplace(IndexKey(l.section, l.name), static_cast<long>(i));
    }
    indexed_ = true;
  }
  auto it = index_.find(IndexKey(section, entry));
  return it == index_.end() ? -1 : it->second;
}

std::optional<std::string> IniFile::Get(std::string_view section, std::string_view entry) const {
  long i = Find(section, entry);
  if (i < 0) return std::nullopt;
  return lines_[static_cast<size_t>(i)].value;
}

void IniFile::Set(std::string_view section, std::string_view entry, std::string_view value) {
  std::string sec = OneLine(Trim(section));
  std::string name = OneLine(Trim(entry));
  std::string val = OneLine(Trim(value));
  long i = Find(sec, name);
  if (i >= 0) {
    Line& l = lines_[static_cast<size_t>(i)];
    l.value = val;
    l.text = l.name + "=" + val;
    return;
  }
  Line line;
  line.kind = Line::Entry;
  line.name = name;
  line.value = val;
  line.text = name + "=" + val;
  // Behind the last entry of the section, or behind its header.
  long at = -1;
  for (size_t k = 0; k < lines_.size(); ++k) {
    const Line& l = lines_[k];
    if ((l.kind == Line::Header && SameName(l.name, sec)) || (l.kind == Line::Entry && SameName(l.section, sec)))
      at = static_cast<long>(k);
  }
  if (at >= 0) {
    line.section = lines_[static_cast<size_t>(at)].section;
    lines_.insert(lines_.begin() + at + 1, std::move(line));
    indexed_ = false;
    return;
  }
  Line header;
  header.kind = Line::Header;
  header.name = sec;
  header.section = sec;
  header.text = "[" + sec + "]";
  line.section = sec;
  lines_.push_back(std::move(header));
  lines_.push_back(std::move(line));
  indexed_ = false;
}

bool IniFile::Remove(std::string_view section, std::string_view entry) {
  long i = Find(section, entry);
  if (i < 0) return false;
  lines_.erase(lines_.begin() + i);
  indexed_ = false;
  return true;
}

std::vector<std::string> IniFile::Entries(std::string_view section) const {
  std::vector<std::string> names;
  for (const Line& l : lines_)
    if (l.kind == Line::Entry && SameName(l.section, section)) names.push_back(l.name);
  return names;
}

std::string IniFile::Text() const {
  std::string out;
  for (const Line& l : lines_) {
    out += l.text;
    out += '\n';
  }
  return out;
}

}  // namespace tx
