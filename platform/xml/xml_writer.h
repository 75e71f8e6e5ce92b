#pragma once
// Builds an XML document element by element and writes it out whole.
//
// The document is written through a FileReplacer when it is closed, so a
// failed write never leaves half a file and never destroys the previous one
// (and a document never closed changes nothing). Text is
// made fit for XML 1.0 in UTF-8 on the way in (see XmlSafeText) and escaped by
// the writer.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <pugixml.hpp>

#include "base/file_replacer.h"

namespace tx {

class XmlWriter {
 public:
  XmlWriter() = default;
  ~XmlWriter();
  XmlWriter(const XmlWriter&) = delete;
  XmlWriter& operator=(const XmlWriter&) = delete;

  // 0 when `path` can be written; otherwise error() says why.
  int CreateXmlFile(const std::string& path, std::string_view version, std::string_view encoding);
  // A new element with its attributes, placed by AddParent inside the open one.
  void CreateParent(std::string_view name);
  void CreateAttribute(std::string_view name, std::string_view value);
  void AddParent();
  // One element named `element` inside the open one, with a child element per
  // (name, text) pair, in the order given.
  void AddFromGroup(const std::vector<std::pair<std::string, std::string>>& fields, std::string_view element);
  void CloseParent();
  // 0 when the document was written and is in place; otherwise error().
  int CloseXmlFile();

  // Why the file could not be written (the system's reason).
  const std::string& error() const { return error_; }

 private:
  pugi::xml_document doc_;
  pugi::xml_node open_;     // where AddParent and AddFromGroup append
  pugi::xml_node pending_;  // created, not yet added
  pugi::xml_document pendingDoc_;
  FileReplacer out_;
  std::string error_;
};

// The text as XML 1.0 can carry it in UTF-8: valid UTF-8 stays, other bytes
// are read as Latin-1, and characters XML forbids (control characters other
// than tab, line feed and carriage return) are left out.
std::string XmlSafeText(std::string_view text);

}  // namespace tx
