// Links, text notes and bookmarks: collected from the attribute strings of
// the drawing objects, written as annotations after each page object and as
// the outline tree at document end.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>

#include "pdf/pdf_format.h"
#include "pdf/pdf_generator.h"

namespace tx {

namespace {

// Report units to whole points, truncated.
int16_t WholePoints(int32_t units) { return static_cast<int16_t>(static_cast<int64_t>(units) * 612 / 8500); }

long Number(const std::string& text) { return std::strtol(text.c_str(), nullptr, 10); }

std::string Upper(std::string_view s) {
  std::string out(RightTrimmed(s));
  for (auto& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace

void PDFGenerator::HotArea(ReportPos& pos, std::string_view attributes) {
  long w = Number(GetAttribute(attributes, "HW", "ALL"));
  long h = Number(GetAttribute(attributes, "HH", "ALL"));
  if (w > 0 || h > 0) {
    pos.RIGHT = pos.LEFT + static_cast<int32_t>(w);
    pos.BOTTOM = pos.TOP + static_cast<int32_t>(h);
  }
}

bool PDFGenerator::Links(const ReportPos& pos, std::string_view attributes, std::string_view text) {
  long kind = Number(GetAttribute(attributes, "PDFActionType", "PDF"));
  int32_t x = pos.LEFT, y = pos.TOP, w = pos.RIGHT - pos.LEFT, h = pos.BOTTOM - pos.TOP;
  if (kind == 1 || kind == 2 || kind == 4) {
    std::string color = GetAttribute(attributes, "HyperBoxColor", "PDF");
    link_.HYPERLINKBOXED = color.empty() ? 0 : 1;
    if (!color.empty()) link_.HYPERLINKBOXCOLOR = static_cast<int32_t>(Number(color));
  }
  switch (kind) {
    case 1: {
      std::string target = GetAttribute(attributes, "Hyperlink", "PDF");
      if (target == "Hyperlink") target = std::string(RightTrimmed(text));
      if (target.empty()) return false;
      AddLink(x, y, w, true, 1, h, GetAttribute(attributes, "HyperType", "PDF") + target, {});
      return true;
    }
    case 2: {
      std::string command = GetAttribute(attributes, "CommandLine", "PDF");
      if (command.empty()) return false;
      AddLink(x, y, w, false, 2, h, command, GetAttribute(attributes, "CommandLineParam", "PDF"));
      return true;
    }
    case 3: {
      std::string note = GetAttribute(attributes, "Annotation", "PDF");
      if (note == "Annotation") note = std::string(RightTrimmed(text));
      if (note.empty()) return false;
      AddNote(x, y, note);
      return true;
    }
    case 4: {
      std::string action = GetAttribute(attributes, "PageAction", "PDF");
      if (action.empty()) return false;
      AddLink(x, y, w, true, 4, h, action, {});
      return true;
    }
    default:
      return false;
  }
}

bool PDFGenerator::Bookmark(const ReportPos& pos, std::string_view attributes, std::string_view text) {
  std::string title = GetAttribute(attributes, "Bookmark", "PDF");
  if (title == "Bookmark") title = std::string(RightTrimmed(text));
  if (title.empty()) return false;
  AddBookmark(pos.LEFT, pos.TOP, false, title, GetAttribute(attributes, "BookmarkParent", "PDF"));
  return true;
}

bool PDFGenerator::ObjectLinks(ReportPos& pos, std::string_view attributes, std::string_view text, bool hotArea) {
  if (Skipped(attributes)) return false;
  if (hotArea) HotArea(pos, attributes);
  Links(pos, attributes, text);
  Bookmark(pos, attributes, text);
  return true;
}

void PDFGenerator::AddLink(int32_t x, int32_t y, int32_t w, bool noParameters, uint8_t type, int32_t h,
                           std::string_view dest, std::string_view parameters) {
  HyperlinkRow row;
  row.BOXED = link_.HYPERLINKBOXED;
  row.BOXCOLOR = link_.HYPERLINKBOXCOLOR;
  row.XPOS = WholePoints(x);
  row.YPOS = WholePoints(y);
  row.WIDTH = WholePoints(w);
  row.HEIGHT = WholePoints(h);
  row.DEST = std::string(dest.substr(0, 5000));
  row.TYPE = type;
  if (!noParameters) row.PARAMETERS = std::string(parameters.substr(0, 1048));
  link_.PAGEHYPERLINKS.push_back(std::move(row));
}

void PDFGenerator::AddNote(int32_t x, int32_t y, std::string_view text) {
  HyperlinkRow row;
  row.BOXED = link_.HYPERLINKBOXED;
  row.BOXCOLOR = link_.HYPERLINKBOXCOLOR;
  row.XPOS = WholePoints(x);
  row.YPOS = WholePoints(y);
  row.TYPE = 3;
  row.TEXT = "ANNOTATION";
  row.DEST = std::string(text.substr(0, 5000));
  link_.PAGEHYPERLINKS.push_back(std::move(row));
}

void PDFGenerator::AddBookmark(int32_t x, int32_t y, bool usePageParent, std::string_view title,
                               std::string_view parentName) {
  std::string pageName = link_.BASEPAGEBOOKMARKNAME.str() + std::to_string(page_.PAGENO);
  std::string parent;
  if (usePageParent) {
    if (link_.PAGESASPARENTBOOKMARK) parent = pageName;
  } else {
    parent = std::string(RightTrimmed(parentName));
    if (parent.empty() && link_.PAGESASPARENTBOOKMARK) parent = pageName;
  }
  int32_t parentPos = 0, parentLevel = 0;
  int32_t next = static_cast<int32_t>(link_.BOOKMARKS.size()) + 1;
  if (!parent.empty()) {
    // Only the last item of that name is the parent; earlier namesakes keep
    // their own children.
    std::string key = Upper(parent);
    for (size_t i = link_.BOOKMARKS.size(); i-- > 0;) {
      BookmarkRow& item = link_.BOOKMARKS[i];
      if (Upper(item.NAME.view()) != key) continue;
      item.LAST = next;
      if (item.FIRST == 0) item.FIRST = item.LAST;
      item.COUNT -= 1;
      parentPos = static_cast<int32_t>(i) + 1;
      parentLevel = item.LEVEL;
      break;
    }
  }
  BookmarkRow row;
  row.DEST = page_.PAGENO;
  row.XPOS = WholePoints(x == 0 ? 1 : x);
  row.YPOS = WholePoints(y == 0 ? 1 : y);
  row.NAME = RightTrimmed(title);
  row.ORDER = next;
  row.PARENT = parentPos;
  row.LEVEL = parentPos ? parentLevel + 1 : 1;
  link_.BOOKMARKS.push_back(row);
}

void PDFGenerator::WriteAnnotations() {
  const int32_t h = page_.PAGEHEIGHT;
  for (auto& link : link_.PAGEHYPERLINKS) {
    if (link.TYPE > 4) continue;
    link.OBJECTNO = ++doc_.CUROBJ;
    AddLocation(doc_.CUROBJ);
    OUTPUT->WriteLine(std::to_string(doc_.CUROBJ) + " 0 obj <<");
    OUTPUT->WriteLine("/Type /Annot ");
    auto noteRect = [&] {
      int32_t size = page_.POINTSIZE;
      int32_t width = static_cast<int32_t>(std::floor(size / 2.0 * RightTrimmed(link.TEXT).size()));
      return "/Rect [ " + std::to_string(link.XPOS) + " " + std::to_string(h - size - link.YPOS - size / 3) + " " +
             std::to_string(width + link.XPOS) + " " + std::to_string(h - link.YPOS) + " ]";
    };
    if (link.TYPE == 3) {
      OUTPUT->WriteLine("/Subtype /Text");
      OUTPUT->WriteLine(noteRect());
      WriteInfoString("/Contents (", link.DEST, doc_.CUROBJ);
    } else {
      OUTPUT->WriteLine("/Subtype /Link");
      if (link.WIDTH != 0 && link.HEIGHT != 0) {
        OUTPUT->WriteLine("/Rect [ " + std::to_string(link.XPOS) + " " + std::to_string(h - link.HEIGHT - link.YPOS) +
                          " " + std::to_string(link.XPOS + link.WIDTH) + " " + std::to_string(h - link.YPOS) + " ]");
      } else if (!RightTrimmed(link.TEXT).empty()) {
        OUTPUT->WriteLine(noteRect());
      } else {
        OUTPUT->WriteLine("/Rect [ " + std::to_string(link.XPOS) + " 0 0 " + std::to_string(h - link.YPOS) + " ]");
      }
      OUTPUT->WriteLine(link.BOXED ? "/Border [ 0 0 1 ]" : "/Border [ 0 0 0 ]");
      OUTPUT->WriteLine("/C [ " + pdf::ColorText(link.BOXCOLOR) + " ]");
      OUTPUT->Write("/A <</Type /Action ");
      auto pdfString = [&](std::string_view value) {
        std::string text(value);
        if (OUTPUT->KeysReady()) {
          OUTPUT->WriteEncryptedString(static_cast<uint32_t>(link.OBJECTNO), text, false);
        } else {
          OUTPUT->Write(EscapeText(text, true));
        }
      };
      switch (link.TYPE) {
        case 1:
          OUTPUT->Write("/S /URI /URI (");
          pdfString(link.DEST);
          OUTPUT->Write(")");
          break;
        case 2:
          OUTPUT->Write("/S /Launch ");
          OUTPUT->Write("/Win <<");
          OUTPUT->Write("/F (");
          pdfString(link.DEST);
          OUTPUT->Write(")");
          if (!link.PARAMETERS.empty()) {
            OUTPUT->Write(" /P (");
            pdfString(link.PARAMETERS);
            OUTPUT->Write(")");
          }
          OUTPUT->Write(">>");
          break;
        case 4: {
          OUTPUT->Write("/S /Named");
          std::string action = Upper(link.DEST);
          while (!action.empty() && action.front() == ' ') action.erase(0, 1);
          if (action == "FIRST") OUTPUT->Write(" /N /FirstPage");
          else if (action == "PREV") OUTPUT->Write(" /N /PrevPage");
          else if (action == "NEXT") OUTPUT->Write(" /N /NextPage");
          else if (action == "LAST") OUTPUT->Write(" /N /LastPage");
          else if (action == "BACK") OUTPUT->Write(" /N /GoBack");
          else if (action == "FORWARD") OUTPUT->Write(" /N /GoForward");
          break;
        }
        default:
          break;
      }
      OUTPUT->WriteLine(">>");
    }
    OUTPUT->WriteLine(">> ");
    OUTPUT->WriteLine("endobj");
  }
}

void PDFGenerator::WriteOutlines() {
  const int32_t base = doc_.CUROBJ;
  std::vector<BookmarkRow>& items = link_.BOOKMARKS;
  // By level, then parent, then creation: siblings stay together, so every
  // child is reachable from its parent's /First through /Next.
  std::stable_sort(items.begin(), items.end(), [](const BookmarkRow& a, const BookmarkRow& b) {
    if (a.LEVEL != b.LEVEL) return a.LEVEL < b.LEVEL;
    if (a.PARENT != b.PARENT) return a.PARENT < b.PARENT;
    return a.ORDER < b.ORDER;
  });
  int32_t rootFirst = 0, rootLast = 0;
  for (size_t i = 0; i < items.size(); ++i) {
    BookmarkRow& item = items[i];
    item.ORDERBYLEVEL = static_cast<int32_t>(i) + 1;
    item.OBJECTNO = base + item.ORDER;
    const int32_t parent = item.PARENT;
    if (i + 1 < items.size() && items[i + 1].LEVEL == item.LEVEL && items[i + 1].PARENT == parent) {
      item.NEXT = base + items[i + 1].ORDER;
      items[i + 1].PREV = item.OBJECTNO;
    }
    item.PARENT = parent ? base + parent : 5;
    if (item.FIRST) item.FIRST += base;
    if (item.LAST) item.LAST += base;
    if (i == 0) rootFirst = item.OBJECTNO;
    if (item.LEVEL == 1) rootLast = item.OBJECTNO;
    ++doc_.CUROBJ;
  }
  std::stable_sort(items.begin(), items.end(),
                   [](const BookmarkRow& a, const BookmarkRow& b) { return a.OBJECTNO < b.OBJECTNO; });
  const int32_t h = page_.PAGEHEIGHT;
  const std::vector<int32_t> pages = PageObjectsByNumber(true);
  for (BookmarkRow& item : items) {
    AddLocation(item.OBJECTNO);
    OUTPUT->WriteLine(std::to_string(item.OBJECTNO) + " 0 obj <<");
    OUTPUT->WriteLine("/Parent " + std::to_string(item.PARENT) + " 0 R");
    if (item.FIRST) OUTPUT->WriteLine("/First " + std::to_string(item.FIRST) + " 0 R");
    if (item.LAST) OUTPUT->WriteLine("/Last " + std::to_string(item.LAST) + " 0 R");
    // /Prev as well as /Next: readers walk siblings both ways. /Count is
    // minus the number of children, so a parent starts closed and opening it
    // shows exactly its own children (closed in their turn).
    if (item.PREV) OUTPUT->WriteLine("/Prev " + std::to_string(item.PREV) + " 0 R");
    if (item.COUNT) OUTPUT->WriteLine("/Count " + std::to_string(item.COUNT));
    const int32_t page =
        item.DEST > 0 && static_cast<size_t>(item.DEST) < pages.size() ? pages[static_cast<size_t>(item.DEST)] : 0;
    if (page) {
      OUTPUT->Write("/Dest [" + std::to_string(page) + " 0 R /XYZ");
      OUTPUT->Write(item.XPOS ? " " + std::to_string(item.XPOS) : std::string(" null"));
      OUTPUT->Write(item.YPOS ? " " + std::to_string(h - std::abs(item.YPOS)) : std::string(" null"));
      OUTPUT->WriteLine(" null]");
    }
    // The title stays out of the comment of an encrypted document, and line
    // ends inside it would end the comment early.
    std::string shown = OUTPUT->KeysReady() ? std::string() : item.NAME.str();
    std::replace_if(shown.begin(), shown.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    OUTPUT->WriteLine("% TEXT:" + shown + " OBJ:" + std::to_string(item.OBJECTNO) + " PAGE:" + std::to_string(page_.PAGENO));
    WriteInfoString("/Title (", item.NAME.view(), item.OBJECTNO);
    if (item.NEXT) OUTPUT->WriteLine("/Next " + std::to_string(item.NEXT) + " 0 R");
    OUTPUT->WriteLine(">>");
    OUTPUT->WriteLine("endobj");
  }
  AddLocation(5);
  OUTPUT->WriteLine("5 0 obj");
  OUTPUT->WriteLine("<< ");
  OUTPUT->WriteLine("/Type /Outlines");
  // Every item is counted here; viewers take the top level from /First
  // and /Next, not from this number.
  OUTPUT->WriteLine("/Count " + std::to_string(items.size()));
  if (!items.empty()) {
    OUTPUT->WriteLine("/First " + std::to_string(rootFirst) + " 0 R");
    OUTPUT->WriteLine("/Last " + std::to_string(rootLast) + " 0 R");
  }
  OUTPUT->WriteLine(">> ");
  OUTPUT->WriteLine("endobj");
}

}  // namespace tx
