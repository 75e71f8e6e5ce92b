#pragma once
// Shared pieces of the PDF writer tests: a generator whose dialogs are
// scripted, record builders, and helpers to read files and run readers.
#include <array>
#include <map>
#include <regex>
#include <sys/wait.h>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "pdf/pdf_generator.h"

namespace txtest {

class TestGenerator : public tx::PDFGenerator {
 public:
  std::vector<std::string> messages;  // "title: text"
  bool cancelDialog = false;
  std::string dialogAnswer;
  int dialogs = 0;

  using tx::PDFGenerator::CurrentStream;
  using tx::PDFGenerator::Document;
  using tx::PDFGenerator::DrawEllipse;
  using tx::PDFGenerator::Fonts;
  using tx::PDFGenerator::Images;
  using tx::PDFGenerator::Page;

 protected:
  void ShowMessage(std::string_view title, std::string_view text) override {
    messages.push_back(std::string(title) + ": " + std::string(text));
  }
  bool AskSaveName(std::string_view, std::string_view, std::string& name) override {
    ++dialogs;
    if (cancelDialog) return false;
    name = dialogAnswer;
    return true;
  }
};

inline tx::TextFormat Text(int left, int top, std::string_view face = "Helvetica", int size = 10) {
  tx::TextFormat f;
  f.LEFTTEXT = left;
  f.TOPTEXT = top;
  f.BACKGROUNDCOLOR = -1;
  f.COLOR = 0;
  f.FACE = face;
  f.SIZE = size;
  f.STYLE = 400;
  return f;
}

inline tx::RectFormat Box(int left, int top, int right, int bottom, int fill = -1) {
  tx::RectFormat b;
  b.POS = {top, left, bottom, right};
  b.STYLE.BACKGROUNDCOLOR = fill;
  b.STYLE.BORDERCOLOR = 0;
  b.STYLE.BORDERWIDTH = 8;
  return b;
}

inline tx::LineFormat Line(int x1, int y1, int x2, int y2, int color = 0, int width = 8) {
  tx::LineFormat l;
  l.POS = {y1, x1, y2, x2};
  l.COLOR = color;
  l.WIDTH = width;
  return l;
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

struct RunResult {
  int status = -1;
  std::string output;  // stdout and stderr together
};

inline RunResult RunTool(const std::string& command) {
  RunResult r;
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return r;
  std::array<char, 4096> buf;
  size_t n;
  while ((n = fread(buf.data(), 1, buf.size(), pipe)) > 0) r.output.append(buf.data(), n);
  int rc = pclose(pipe);
  r.status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  return r;
}

// Count of non-overlapping occurrences.
inline size_t Count(const std::string& haystack, const std::string& needle) {
  size_t n = 0;
  for (size_t at = haystack.find(needle); at != std::string::npos; at = haystack.find(needle, at + needle.size())) ++n;
  return n;
}

}  // namespace txtest

namespace txtest {

// Checks the cross-reference table against the bytes: the startxref offset
// points at "xref", every in-use entry is 20 bytes and points at its object's
// header line. Returns an empty string when all is well, else what is wrong.
inline std::string XrefProblems(const std::string& pdf) {
  size_t sx = pdf.rfind("startxref\r\n");
  if (sx == std::string::npos) return "no startxref";
  long xref = std::stol(pdf.substr(sx + 11));
  if (pdf.compare(static_cast<size_t>(xref), 6, "xref\r\n") != 0) return "startxref does not point at xref";
  size_t at = static_cast<size_t>(xref) + 6;
  size_t eol = pdf.find("\r\n", at);
  std::istringstream head(pdf.substr(at, eol - at));
  int first = -1, count = -1;
  head >> first >> count;
  if (first != 0 || count < 1) return "bad subsection header";
  at = eol + 2;
  for (int n = 0; n < count; ++n, at += 20) {
    std::string entry = pdf.substr(at, 20);
    if (entry.size() != 20 || entry.compare(18, 2, "\r\n") != 0) return "entry " + std::to_string(n) + " not 20 bytes";
    if (entry[17] == 'f') continue;
    long offset = std::stol(entry.substr(0, 10));
    std::string header = std::to_string(n) + " 0 obj";
    if (pdf.compare(static_cast<size_t>(offset), header.size(), header) != 0) {
      return "object " + std::to_string(n) + " not at " + std::to_string(offset);
    }
  }
  if (pdf.compare(at, 9, "trailer\r\n") != 0) return "no trailer after the table";
  if (pdf.find("/Size " + std::to_string(count) + "\r\n", at) == std::string::npos) return "/Size differs";
  return {};
}

// The decoded bytes of every content stream, in file order (plain streams only).
inline std::vector<std::string> PlainStreams(const std::string& pdf) {
  std::vector<std::string> out;
  for (size_t at = pdf.find("stream\r\n"); at != std::string::npos; at = pdf.find("stream\r\n", at + 1)) {
    if (at >= 3 && pdf.compare(at - 3, 3, "end") == 0) continue;
    size_t len = pdf.rfind("/Length ", at);
    long length = std::stol(pdf.substr(len + 8));
    out.push_back(pdf.substr(at + 8, static_cast<size_t>(length)));
  }
  return out;
}

}  // namespace txtest
