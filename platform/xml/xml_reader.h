#pragma once
// Reads the record elements of an XML file into a TextQueue.
//
// One queue row per record element, in document order. A field is filled from
// the record's attribute or text-only child element whose name equals the
// field's name (letter case ignored), cut to the field's width; fields without
// a value stay blank. Around that:
//   - qualified names: a value named, say, "Name" is matched as its element's
//     name followed by "Name" ("EditorControlsName");
//   - carried-down names: such a value found on an enclosing element is copied
//     into every record below it (the record's own value wins);
//   - attribute-only fields are taken from the record's attributes alone;
//   - the automatic record level: records are the elements named like the
//     deepest ones below each found element, at whatever depth they stand.
// A text-only child element without attributes is a value of its parent, not
// a record. Element names are matched ignoring letter case as well.
//
// Rules are set between LoadFromFile and LoadQueue; Free releases the document
// and clears every rule, so each load starts from nothing.
#include <string>
#include <string_view>
#include <vector>

#include <pugixml.hpp>

#include "platform/xml/text_queue.h"

namespace tx {

class XmlReader {
 public:
  // Parses a whole file. 0 on success; otherwise error() says why.
  int LoadFromFile(const std::string& path);

  // Two-name form: the `name` elements inside `parent` elements (not inside
  // one another).
  // One-name form (flag 1): the `name` elements wherever they stand.
  // 0 when at least one element was found.
  int FindNextNode(std::string_view name, std::string_view parent);
  int FindNextNode(std::string_view name, int flag);

  void QualifyFieldSet(std::string_view name);
  void PrimaryKeyCascade(std::string_view qualifiedName);
  void AttributeFieldSet(std::string_view fieldName);
  void AutoRootSet();
  // With the automatic level: the field's value on an enclosing element goes
  // to the last record inside that element, unless the record has its own.
  void ClosingFieldSet(std::string_view fieldName);

  // Appends the records below the found elements; returns the rows appended.
  // Without carried-down names or automatic level, the found elements
  // themselves are the records; with carried-down names alone, their element
  // children are.
  long LoadQueue(TextQueue& queue);

  // Releases the document and clears the found elements and every rule.
  void Free();

  const std::string& error() const { return error_; }

 private:
  pugi::xml_document doc_;
  bool loaded_ = false;
  std::vector<pugi::xml_node> found_;
  std::vector<std::string> qualified_;  // lower case
  std::vector<std::string> cascade_;    // lower case
  std::vector<std::string> attributeOnly_;
  std::vector<std::string> closing_;
  bool autoRoot_ = false;
  std::string error_;
};

// What one load needs: where the records are and how their values are named.
struct XmlLoadRules {
  std::string element{};   // found element name
  std::string parent{};    // two-name form when not empty
  bool autoRoot = false;
  std::vector<std::string> qualified{};
  std::vector<std::string> cascade{};
  std::vector<std::string> attributeOnly{};
  std::vector<std::string> closing{};
};

struct XmlLoadResult {
  enum Status { Loaded = 0, Unreadable = 1, NotFound = 2 };
  Status status = Loaded;
  long rows = 0;
  std::string message;  // why the file gave nothing
};

// Reads `path` into `queue` (appending) under `rules`; every rule is cleared
// afterwards. A file that cannot be read or is not well-formed, or lacks the
// element, appends nothing.
XmlLoadResult LoadXmlQueue(const std::string& path, const XmlLoadRules& rules, TextQueue& queue);

}  // namespace tx
