#include "cli/text_output.h"

#include <cstdio>

#include "base/display_text.h"

namespace txcli {

std::string JsonString(std::string_view s) {
  std::string out = "\"";
  for (size_t i = 0; i < s.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (size_t n = c >= 0x80 ? tx::Utf8SequenceAt(s, i) : 0) {
          out.append(s.substr(i, n));
          i += n - 1;
        } else if (c < 0x20 || c >= 0x7F) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out.push_back(static_cast<char>(c));
        }
    }
  }
  return out + "\"";
}

std::string Printable(std::string_view s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (c < 0x20 || c == 0x7F) {
      out.push_back('?');
    } else if (size_t n = c >= 0x80 ? tx::Utf8SequenceAt(s, i) : 0) {
      out.append(s.substr(i, n));
      i += n - 1;
    } else if (c >= 0x80) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(c));
    }
  }
  return out;
}

}  // namespace txcli
