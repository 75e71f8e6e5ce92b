#include "platform/xml/xml_reader.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>
#include <utility>

namespace tx {

namespace {

void Lower(std::string_view in, std::string& out) {
  out.clear();
  for (char c : in) out.push_back((c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c);
}

std::string Lowered(std::string_view in) {
  std::string s;
  Lower(in, s);
  return s;
}

bool NameIs(const pugi::xml_node& n, std::string_view want) {
  const char* name = n.name();
  size_t len = std::strlen(name);
  if (len != want.size()) return false;
  for (size_t i = 0; i < len; ++i) {
    char a = name[i], b = want[i];
    if (a >= 'A' && a <= 'Z') a = static_cast<char>(a + 32);
    if (b >= 'A' && b <= 'Z') b = static_cast<char>(b + 32);
    if (a != b) return false;
  }
  return true;
}

bool Contains(const std::vector<std::string>& set, std::string_view s) {
  return std::find(set.begin(), set.end(), s) != set.end();
}

// A text-only child without attributes: a value of its parent element.
bool IsValueElement(const pugi::xml_node& n) {
  if (n.type() != pugi::node_element || n.first_attribute()) return false;
  for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling())
    if (c.type() == pugi::node_element) return false;
  return true;
}

bool IsRecordCandidate(const pugi::xml_node& n) { return n.type() == pugi::node_element && !IsValueElement(n); }

// Visits the element children of `root` before their own children, without
// recursion, so deeply nested input cannot exhaust the stack.
template <class Visit>
void ForEachElement(const pugi::xml_node& root, Visit visit) {
  std::vector<pugi::xml_node> stack;
  for (pugi::xml_node c = root.last_child(); c; c = c.previous_sibling())
    if (c.type() == pugi::node_element) stack.push_back(c);
  while (!stack.empty()) {
    pugi::xml_node n = stack.back();
    stack.pop_back();
    if (!visit(n)) continue;  // false: do not descend
    for (pugi::xml_node c = n.last_child(); c; c = c.previous_sibling())
      if (c.type() == pugi::node_element) stack.push_back(c);
  }
}

// Matches value names of elements to queue fields under the load's rules.
class FieldMatcher {
 public:
  FieldMatcher(const TextQueue& q, const std::vector<std::string>& qualified,
               const std::vector<std::string>& cascade, const std::vector<std::string>& attributeOnly,
               const std::vector<std::string>& closing)
      : qualified_(qualified), cascade_(cascade) {
    for (size_t i = 0; i < q.fields().size(); ++i) fields_.emplace(Lowered(q.fields()[i].name), i);
    attrOnly_.assign(q.fields().size(), false);
    for (const auto& a : attributeOnly) {
      int i = q.FieldIndex(a);
      if (i >= 0) attrOnly_[static_cast<size_t>(i)] = true;
    }
    closing_.assign(q.fields().size(), false);
    for (const auto& c : closing) {
      int i = q.FieldIndex(c);
      if (i >= 0) closing_[static_cast<size_t>(i)] = true;
    }
  }

  // The field a value of `element` named `name` fills, or -1. With
  // cascadeOnly, only names carried down count.
  long Match(const pugi::xml_node& element, const char* name, bool cascadeOnly) {
    Lower(name, key_);
    if (Contains(qualified_, key_)) {
      Lower(element.name(), scratch_);
      scratch_ += key_;
      key_.swap(scratch_);
    }
    if (cascadeOnly && !Contains(cascade_, key_)) return -1;
    auto it = fields_.find(key_);
    return it == fields_.end() ? -1 : static_cast<long>(it->second);
  }

  bool AttributeOnly(size_t field) const { return attrOnly_[field]; }
  bool Closing(size_t field) const { return closing_[field]; }

 private:
  const std::vector<std::string>& qualified_;
  const std::vector<std::string>& cascade_;
  std::unordered_map<std::string, size_t> fields_;
  std::vector<bool> attrOnly_;
  std::vector<bool> closing_;
  std::string key_, scratch_;
};

struct Carried {
  size_t field;
  std::string_view value;
};

// The carried-down values an enclosing element contributes.
void CollectCarried(const pugi::xml_node& e, FieldMatcher& m, std::vector<Carried>& out) {
  for (pugi::xml_node c = e.first_child(); c; c = c.next_sibling()) {
    if (!IsValueElement(c)) continue;
    long f = m.Match(e, c.name(), true);
    if (f >= 0 && !m.AttributeOnly(static_cast<size_t>(f))) out.push_back({static_cast<size_t>(f), c.child_value()});
  }
  for (pugi::xml_attribute a = e.first_attribute(); a; a = a.next_attribute()) {
    long f = m.Match(e, a.name(), true);
    if (f >= 0) out.push_back({static_cast<size_t>(f), a.value()});
  }
}

// A closing value of an enclosing element, waiting for the element's end.
struct Closing {
  size_t depth;
  size_t field;
  std::string_view value;
  size_t rowsBefore;
};

void CollectClosing(const pugi::xml_node& e, size_t depth, FieldMatcher& m, size_t rows, std::vector<Closing>& out) {
  for (pugi::xml_node c = e.first_child(); c; c = c.next_sibling()) {
    if (!IsValueElement(c)) continue;
    long f = m.Match(e, c.name(), false);
    if (f >= 0 && m.Closing(static_cast<size_t>(f)) && !m.AttributeOnly(static_cast<size_t>(f)))
      out.push_back({depth, static_cast<size_t>(f), c.child_value(), rows});
  }
  for (pugi::xml_attribute a = e.first_attribute(); a; a = a.next_attribute()) {
    long f = m.Match(e, a.name(), false);
    if (f >= 0 && m.Closing(static_cast<size_t>(f))) out.push_back({depth, static_cast<size_t>(f), a.value(), rows});
  }
}

void EmitRecord(const pugi::xml_node& e, FieldMatcher& m, const std::vector<Carried>& carried, TextQueue& q) {
  size_t row = q.AppendBlank();
  for (const Carried& c : carried) q.Set(row, c.field, c.value);
  // Child elements first, then attributes: an attribute wins over a child of the same name.
  for (pugi::xml_node c = e.first_child(); c; c = c.next_sibling()) {
    if (!IsValueElement(c)) continue;
    long f = m.Match(e, c.name(), false);
    if (f >= 0 && !m.AttributeOnly(static_cast<size_t>(f))) q.Set(row, static_cast<size_t>(f), c.child_value());
  }
  for (pugi::xml_attribute a = e.first_attribute(); a; a = a.next_attribute()) {
    long f = m.Match(e, a.name(), false);
    if (f >= 0) q.Set(row, static_cast<size_t>(f), a.value());
  }
}

// Names (lower case) of the record candidates at the deepest level below any
// of the roots; empty when nothing lies within them. Taken over all roots, so
// a tree holding only an empty page does not make the page a record.
std::vector<std::string> DeepestNames(const std::vector<pugi::xml_node>& roots) {
  size_t deepest = 0;
  std::vector<std::string> names;
  std::string name;
  std::vector<std::pair<pugi::xml_node, size_t>> stack;
  for (const pugi::xml_node& r : roots) stack.push_back({r, 0});
  while (!stack.empty()) {
    auto [n, d] = stack.back();
    stack.pop_back();
    if (d > 0 && d >= deepest) {
      if (d > deepest) names.clear();
      deepest = d;
      Lower(n.name(), name);
      if (!Contains(names, name)) names.push_back(name);
    }
    for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling())
      if (IsRecordCandidate(c)) stack.push_back({c, d + 1});
  }
  return names;
}

// Emits, in document order, every element below `root` named like the
// deepest ones, wherever it stands: a page without sections holds its
// controls one level higher than a page with them. Each record gets the
// values carried down by the elements on its path.
void EmitNamed(const pugi::xml_node& root, const std::vector<std::string>& names, FieldMatcher& m, TextQueue& q) {
  struct Frame {
    pugi::xml_node node;
    size_t depth;
  };
  std::vector<Carried> carried;
  std::vector<Closing> closing;
  std::vector<Frame> stack{{root, 0}};
  std::vector<size_t> marks;  // carried sizes of the open ancestors, by depth
  std::string name;
  // Leaving the open ancestors from `depth` down: drop what they carried, and
  // give their closing values to the last record inside them that has none.
  auto leave = [&](size_t depth) {
    while (marks.size() > depth) {
      size_t d = marks.size() - 1;
      while (!closing.empty() && closing.back().depth == d) {
        const Closing& c = closing.back();
        if (q.size() > c.rowsBefore && q.Text(q.size() - 1, c.field).empty()) q.Set(q.size() - 1, c.field, c.value);
        closing.pop_back();
      }
      carried.resize(marks.back());
      marks.pop_back();
    }
  };
  while (!stack.empty()) {
    Frame f = stack.back();
    stack.pop_back();
    leave(f.depth);
    Lower(f.node.name(), name);
    if (f.depth > 0 && Contains(names, name)) {
      EmitRecord(f.node, m, carried, q);
      continue;
    }
    marks.push_back(carried.size());
    CollectCarried(f.node, m, carried);
    CollectClosing(f.node, f.depth, m, q.size(), closing);
    std::vector<pugi::xml_node> kids;
    for (pugi::xml_node c = f.node.first_child(); c; c = c.next_sibling())
      if (IsRecordCandidate(c)) kids.push_back(c);
    for (auto it = kids.rbegin(); it != kids.rend(); ++it) stack.push_back({*it, f.depth + 1});
  }
  leave(0);
}

}  // namespace

int XmlReader::LoadFromFile(const std::string& path) {
  Free();
  pugi::xml_parse_result r = doc_.load_file(path.c_str(), pugi::parse_default, pugi::encoding_auto);
  if (!r) {
    if (r.status == pugi::status_file_not_found)
      error_ = "no such file";
    else if (r.status == pugi::status_io_error || r.status == pugi::status_out_of_memory)
      error_ = "cannot read the file";
    else
      error_ = std::string(r.description()) + " at byte " + std::to_string(r.offset);
    doc_.reset();
    return 1;
  }
  loaded_ = true;
  return 0;
}

int XmlReader::FindNextNode(std::string_view name, std::string_view parent) {
  found_.clear();
  if (!loaded_) return 1;
  ForEachElement(doc_, [&](const pugi::xml_node& n) {
    if (!NameIs(n, parent)) return true;
    // Anywhere inside it, a wrapping group or two included.
    ForEachElement(n, [&](const pugi::xml_node& c) {
      if (!NameIs(c, name)) return true;
      found_.push_back(c);
      return false;  // what lies within belongs to this one
    });
    return false;
  });
  return found_.empty() ? 1 : 0;
}

int XmlReader::FindNextNode(std::string_view name, int /*flag*/) {
  found_.clear();
  if (!loaded_) return 1;
  ForEachElement(doc_, [&](const pugi::xml_node& n) {
    if (!NameIs(n, name)) return true;
    found_.push_back(n);
    return false;  // what lies within belongs to this one
  });
  return found_.empty() ? 1 : 0;
}

void XmlReader::QualifyFieldSet(std::string_view name) { qualified_.push_back(Lowered(name)); }
void XmlReader::PrimaryKeyCascade(std::string_view qualifiedName) { cascade_.push_back(Lowered(qualifiedName)); }
void XmlReader::AttributeFieldSet(std::string_view fieldName) { attributeOnly_.emplace_back(fieldName); }
void XmlReader::AutoRootSet() { autoRoot_ = true; }
void XmlReader::ClosingFieldSet(std::string_view fieldName) { closing_.emplace_back(fieldName); }

long XmlReader::LoadQueue(TextQueue& queue) {
  size_t before = queue.size();
  FieldMatcher m(queue, qualified_, cascade_, attributeOnly_, closing_);
  std::vector<Carried> carried;
  std::vector<std::string> names;
  if (autoRoot_) names = DeepestNames(found_);
  for (const pugi::xml_node& f : found_) {
    if (autoRoot_) {
      // A tree without anything inside holds no records.
      if (!names.empty()) EmitNamed(f, names, m, queue);
    } else if (!cascade_.empty()) {
      carried.clear();
      CollectCarried(f, m, carried);
      for (pugi::xml_node c = f.first_child(); c; c = c.next_sibling()) {
        if (!IsRecordCandidate(c)) continue;
        EmitRecord(c, m, carried, queue);
      }
    } else {
      EmitRecord(f, m, carried, queue);
    }
  }
  return static_cast<long>(queue.size() - before);
}

void XmlReader::Free() {
  doc_.reset();
  loaded_ = false;
  found_.clear();
  qualified_.clear();
  cascade_.clear();
  attributeOnly_.clear();
  closing_.clear();
  autoRoot_ = false;
  error_.clear();
}

XmlLoadResult LoadXmlQueue(const std::string& path, const XmlLoadRules& rules, TextQueue& queue) {
  XmlLoadResult result;
  XmlReader reader;
  if (reader.LoadFromFile(path) != 0) {
    result.status = XmlLoadResult::Unreadable;
    result.message = reader.error();
    return result;
  }
  for (const auto& q : rules.qualified) reader.QualifyFieldSet(q);
  for (const auto& c : rules.cascade) reader.PrimaryKeyCascade(c);
  for (const auto& a : rules.attributeOnly) reader.AttributeFieldSet(a);
  for (const auto& c : rules.closing) reader.ClosingFieldSet(c);
  if (rules.autoRoot) reader.AutoRootSet();
  int found = rules.parent.empty() ? reader.FindNextNode(rules.element, 1)
                                   : reader.FindNextNode(rules.element, rules.parent);
  if (found != 0) {
    result.status = XmlLoadResult::NotFound;
    result.message = "no <" + rules.element + "> element" +
                     (rules.parent.empty() ? std::string() : " inside <" + rules.parent + ">");
  } else {
    result.rows = reader.LoadQueue(queue);
  }
  reader.Free();
  return result;
}

}  // namespace tx
