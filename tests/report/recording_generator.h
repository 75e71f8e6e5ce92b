#pragma once
// A report generator that keeps every call it receives, for checking what the
// page parser drives.
#include <string>
#include <vector>

#include "base/fixed_string.h"
#include "report/report_generator.h"
#include "services/error_manager.h"

namespace txtest {

struct Call {
  std::string op;          // "BeginPage", "EmitString", ...
  std::string attributes;  // without trailing blanks
  std::string text;
};

class RecordingGenerator : public tx::IREPORTGENERATOR {
 public:
  std::vector<Call> calls;
  std::vector<tx::TextFormat> strings;
  std::vector<tx::RectFormat> boxes;
  std::vector<tx::LineFormat> lines;
  std::vector<tx::EllipseFormat> ellipses;
  std::vector<tx::GroupFormat> groups;
  std::vector<tx::CheckFormat> checks;
  std::vector<tx::RadioFormat> radios;
  std::vector<tx::ImageFormat> images;
  std::vector<std::vector<tx::TextRow>> textBlocks;
  std::vector<std::vector<tx::SliceRow>> pies;
  std::vector<tx::ReportPos> pieBounds;
  std::vector<std::vector<tx::PointRow>> polygons;
  std::vector<tx::ShapeStyle> polygonStyles;
  std::vector<tx::ArcFormat> arcs;
  int32_t pageCount = -1;
  tx::ReportPos pageBounds;
  uint8_t beginPageResult = tx::Level::Done, finishPageResult = tx::Level::Done, finishDocumentResult = tx::Level::Done;

  // The operations in order, e.g. "BeginDocument BeginPage EmitString FinishPage".
  std::string Ops() const {
    std::string s;
    for (const auto& c : calls) s += (s.empty() ? "" : " ") + c.op;
    return s;
  }

  uint8_t BeginDocument(int32_t n) override {
    pageCount = n;
    Add("BeginDocument");
    return 0;
  }
  uint8_t FinishDocument() override {
    Add("FinishDocument");
    return finishDocumentResult;
  }
  uint8_t BeginPage(std::string_view name, int32_t l, int32_t t, int32_t r, int32_t b) override {
    pageBounds = {t, l, b, r};
    Add("BeginPage", {}, std::string(name));
    return beginPageResult;
  }
  uint8_t FinishPage() override {
    Add("FinishPage");
    return finishPageResult;
  }
  uint8_t ChooseOutput(uint8_t) override { return 0; }
  std::string TargetKind() override { return "TEST"; }
  std::string TargetName() override { return "TEST"; }
  std::string TargetIcon() override { return "test.ico"; }
  uint8_t EmitArc(std::string_view a, const tx::ArcFormat& f) override {
    arcs.push_back(f);
    return Add("EmitArc", a);
  }
  uint8_t EmitSection(std::string_view tag, uint8_t flag) override {
    return Add("EmitSection", {}, std::string(tag) + (flag ? "+" : "-"));
  }
  uint8_t EmitCheck(std::string_view a, std::string_view t, const tx::CheckFormat& f) override {
    checks.push_back(f);
    return Add("EmitCheck", a, t);
  }
  uint8_t EmitChord(std::string_view a, const tx::ArcFormat& f) override {
    arcs.push_back(f);
    return Add("EmitChord", a);
  }
  uint8_t EmitEllipse(std::string_view a, const tx::EllipseFormat& f) override {
    ellipses.push_back(f);
    return Add("EmitEllipse", a);
  }
  uint8_t EmitImage(std::string_view a, std::string_view name, const tx::ImageFormat& f) override {
    images.push_back(f);
    return Add("EmitImage", a, name);
  }
  uint8_t EmitLine(std::string_view a, const tx::LineFormat& f) override {
    lines.push_back(f);
    return Add("EmitLine", a);
  }
  uint8_t EmitGroup(std::string_view a, std::string_view t, const tx::GroupFormat& f) override {
    groups.push_back(f);
    return Add("EmitGroup", a, t);
  }
  uint8_t EmitPie(std::string_view a, const std::vector<tx::SliceRow>& s, const tx::ReportPos& p) override {
    pies.push_back(s);
    pieBounds.push_back(p);
    return Add("EmitPie", a);
  }
  uint8_t EmitPolygon(std::string_view a, const std::vector<tx::PointRow>& p, const tx::ShapeStyle& s) override {
    polygons.push_back(p);
    polygonStyles.push_back(s);
    return Add("EmitPolygon", a);
  }
  uint8_t EmitRadio(std::string_view a, std::string_view t, const tx::RadioFormat& f) override {
    radios.push_back(f);
    return Add("EmitRadio", a, t);
  }
  uint8_t EmitBox(std::string_view a, const tx::RectFormat& f) override {
    boxes.push_back(f);
    return Add("EmitBox", a);
  }
  uint8_t EmitString(std::string_view a, std::string_view t, const tx::TextFormat& f) override {
    strings.push_back(f);
    return Add("EmitString", a, t);
  }
  uint8_t EmitTextBlock(std::string_view a, const std::vector<tx::TextRow>& rows) override {
    textBlocks.push_back(rows);
    return Add("EmitTextBlock", a);
  }
  void SetOutputFileList(std::vector<std::string>*) override {}
  uint8_t ProducesFiles() override { return 0; }

 private:
  uint8_t Add(std::string op, std::string_view attributes = {}, std::string_view text = {}) {
    calls.push_back({std::move(op), std::string(tx::RightTrimmed(attributes)), std::string(text)});
    return 0;
  }
};

// An error manager that records each raised message with its file and field
// and answers with a chosen level instead of showing anything.
class RecordingErrors : public tx::ErrorManager {
 public:
  struct Raised {
    uint16_t id;
    std::string file;
    std::string field;
    std::string message;  // with its placeholders filled
  };
  std::vector<Raised> raised;
  int answer = tx::Level::Fatal;

  int Raise(uint16_t id) override {
    SetErrors();
    SetId(id);
    raised.push_back({id, FileName(), FieldName(), FilledMessage()});
    return answer;
  }
};

}  // namespace txtest
