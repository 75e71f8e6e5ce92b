#pragma once
// An INI file as the settings manager sees it: sections of "entry=value"
// lines, names matched without regard to case. Loading never fails (a
// missing or unreadable file is empty; lines that are neither a section nor
// an entry are kept but never match). Saving goes through a FileReplacer,
// so a crash leaves the old file or the new one, never half of either.
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tx {

class IniFile {
 public:
  static IniFile Load(const std::string& path);
  // False when the file could not be written; the old file is then untouched.
  bool Save(const std::string& path) const;

  std::optional<std::string> Get(std::string_view section, std::string_view entry) const;
  void Set(std::string_view section, std::string_view entry, std::string_view value);
  // True when there was an entry to remove.
  bool Remove(std::string_view section, std::string_view entry);
  // Entry names of a section, in file order.
  std::vector<std::string> Entries(std::string_view section) const;

  std::string Text() const;
  // False for a file that exists but could not be read: it is never overwritten.
  bool Usable() const { return !unusable_; }

 private:
  struct Line {
    std::string text;     // the line as read, or as it will be written
    std::string section;  // the section a line belongs to (for entries)
    std::string name;     // entry name, or section name for a header
    std::string value;
    enum Kind { Other, Header, Entry } kind = Other;
  };
  static Line Parse(std::string_view raw, const std::string& section);
  // Index of the entry line, or -1.
  long Find(std::string_view section, std::string_view entry) const;

  std::vector<Line> lines_;
  bool unusable_ = false;
  // Entry lines by section and name (lower case), the first of equal names:
  // a file of many entries read entry by entry (a list of thousands of
  // records) would otherwise be searched from the top each time. Built when
  // first needed after lines were added or removed.
  mutable std::unordered_map<std::string, long> index_;
  mutable bool indexed_ = false;
};

// Names and values are single-line: line breaks become spaces.
std::string OneLine(std::string_view text);

}  // namespace tx
