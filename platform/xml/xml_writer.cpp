#include "platform/xml/xml_writer.h"

#include <sstream>

namespace tx {

namespace {

// Length of the valid UTF-8 sequence at s[i], or 0.
size_t Utf8Length(std::string_view s, size_t i, unsigned& cp) {
  unsigned char c = static_cast<unsigned char>(s[i]);
  size_t n;
  unsigned min;
  if (c < 0x80) { cp = c; return 1; }
  if ((c & 0xE0) == 0xC0) { n = 2; cp = c & 0x1F; min = 0x80; }
  else if ((c & 0xF0) == 0xE0) { n = 3; cp = c & 0x0F; min = 0x800; }
  else if ((c & 0xF8) == 0xF0) { n = 4; cp = c & 0x07; min = 0x10000; }
  else return 0;
  if (i + n > s.size()) return 0;
  for (size_t k = 1; k < n; ++k) {
    unsigned char d = static_cast<unsigned char>(s[i + k]);
    if ((d & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (d & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return n;
}

bool AllowedInXml(unsigned cp) {
  if (cp < 0x20) return cp == 0x09 || cp == 0x0A || cp == 0x0D;
  return cp != 0xFFFE && cp != 0xFFFF;
}

void AppendUtf8(std::string& out, unsigned cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}


}  // namespace

std::string XmlSafeText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    unsigned cp;
    size_t n = Utf8Length(text, i, cp);
    if (n == 0) {
      cp = static_cast<unsigned char>(text[i]);  // not UTF-8: take the byte as Latin-1
      n = 1;
    }
    if (AllowedInXml(cp)) AppendUtf8(out, cp);
    i += n;
  }
  return out;
}

XmlWriter::~XmlWriter() = default;

int XmlWriter::CreateXmlFile(const std::string& path, std::string_view version, std::string_view encoding) {
  doc_.reset();
  pendingDoc_.reset();
  pending_ = pugi::xml_node();
  open_ = pugi::xml_node();
  error_.clear();
  if (!out_.Open(path)) {
    error_ = out_.Error();
    return 1;
  }
  pugi::xml_node decl = doc_.append_child(pugi::node_declaration);
  decl.append_attribute("version") = std::string(version).c_str();
  decl.append_attribute("encoding") = std::string(encoding).c_str();
  open_ = doc_;
  return 0;
}

void XmlWriter::CreateParent(std::string_view name) {
  pendingDoc_.reset();
  pending_ = pendingDoc_.append_child(std::string(name).c_str());
}

void XmlWriter::CreateAttribute(std::string_view name, std::string_view value) {
  if (!pending_) return;
  pending_.append_attribute(std::string(name).c_str()) = XmlSafeText(value).c_str();
}

void XmlWriter::AddParent() {
  if (!pending_ || !open_) return;
  open_ = open_.append_copy(pending_);
  pendingDoc_.reset();
  pending_ = pugi::xml_node();
}

void XmlWriter::AddFromGroup(const std::vector<std::pair<std::string, std::string>>& fields,
                             std::string_view element) {
  if (!open_) return;
  pugi::xml_node e = open_.append_child(std::string(element).c_str());
  for (const auto& [name, text] : fields) e.append_child(name.c_str()).text().set(XmlSafeText(text).c_str());
}

void XmlWriter::CloseParent() {
  if (open_ && open_ != doc_) open_ = open_.parent();
}

int XmlWriter::CloseXmlFile() {
  if (!out_.IsOpen()) {
    error_ = "no document was started";
    return 1;
  }
  std::ostringstream text;
  doc_.save(text, "  ", pugi::format_indent, pugi::encoding_utf8);
  const bool ok = out_.Write(text.str()) && out_.Commit();
  if (!ok) error_ = out_.Error();
  out_.Abandon();
  doc_.reset();
  open_ = pugi::xml_node();
  return ok ? 0 : 1;
}

}  // namespace tx
