#pragma once
// The band report engine: prints the bands of a report layout onto pages and
// renders every finished page into a placeable metafile (1000 units per inch,
// so report units map one to one) with the report engine comments around
// each control. Page files live in a directory of their own that is removed
// with the engine (or by Discard).
//
//   ReportEngine engine;
//   engine.Open(layout);                 // Level::Done = ready for bands
//   engine.RenderToPageFiles(&pages);    // names appended in page order
//   engine.SetValue("PRE:EFFECTNAME", "Amp 1");
//   engine.PrintBand("detail");
//   engine.EndReport();                  // the last page is in `pages`
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/level.h"
#include "platform/reportengine/report_layout.h"

namespace tx {

class WmfWriter;

// Width of a text in thousandths of an inch.
using TextMeasure = std::function<int(const ReportFont& font, std::string_view text)>;

class ReportEngine {
 public:
  ReportEngine();
  ~ReportEngine();
  ReportEngine(const ReportEngine&) = delete;
  ReportEngine& operator=(const ReportEngine&) = delete;

  // Level::Done ready; Level::Fatal when the page directory cannot be made.
  int Open(const ReportLayout& layout);
  // The list that receives each finished page's file name.
  void RenderToPageFiles(std::vector<std::string>* pageList) { pageList_ = pageList; }

  void SetValue(const std::string& field, std::string value) { values_[field] = std::move(value); }
  std::string Value(const std::string& field) const;

  // Prints a detail band with the current field values: a group header first
  // when the break field changed, a new page when the body area is full.
  // Level::Done; Fatal when a page file cannot be written; NotDone for an unknown band.
  int PrintBand(const std::string& bandName);
  // Finishes the last page. Level::Done, or Fatal when its file cannot be written.
  int EndReport();
  // Removes the page files and their directory.
  void Discard();

  int PageCount() const { return pageNumber_; }
  const std::string& PageDirectory() const { return directory_; }
  void SetTextMeasure(TextMeasure measure) { measure_ = std::move(measure); }
  // Pictures of a known size stay out of the page files: a one-pixel stand-in
  // marks each one's place, for an output target that reads the picture file
  // itself. Page files then cost no decoding and stay small.
  void SetPictureStandIns(bool on) { standIns_ = on; }

  // How a field value shows under a picture ("s30", "N_3B", "n_3").
  static std::string FormatValue(std::string_view picture, std::string_view value);

 private:
  struct PendingText;

  int StartPage();
  int FinishPage();
  int PlaceBand(const ReportBand& band);
  int BandHeight(const ReportBand& band) const;
  void DrawControl(const ReportControl& c, int originX, int originY);
  void DrawString(const ReportControl& c, int x, int y);
  void DrawTextLines(const ReportControl& c, const std::vector<std::string>& lines, int x, int y,
                     bool fromEarlierPage, bool ontoLaterPage);
  void DrawBox(const ReportControl& c, int x, int y);
  void DrawLine(const ReportControl& c, int x, int y);
  void DrawEllipse(const ReportControl& c, int x, int y);
  void DrawPolygon(const ReportControl& c, int x, int y);
  void DrawCheck(const ReportControl& c, int x, int y);
  void DrawRadio(const ReportControl& c, int x, int y);
  void DrawGroup(const ReportControl& c, int x, int y);
  void DrawImage(const ReportControl& c, int x, int y);

  std::string Shown(const ReportControl& c) const;
  const ReportFont& FontOf(const ReportControl& c) const { return c.font ? *c.font : layout_.font; }
  int LineHeight(const ReportFont& font) const;
  int Measure(const ReportFont& font, std::string_view text) const;
  std::vector<std::string> WrapLines(const ReportControl& c) const;
  void TextOut(const ReportFont& font, int x, int y, std::string_view text, int32_t background,
               int left, int top, int right, int bottom);
  void SelectFont(const ReportFont& font);
  void SelectPenAndBrush(const ReportControl& c, int32_t fill);
  void ReleaseObjects();

  ReportLayout layout_;
  std::map<std::string, std::string> values_;
  std::vector<std::string>* pageList_ = nullptr;
  std::string directory_;
  std::unique_ptr<WmfWriter> page_;
  std::vector<uint16_t> live_;  // objects of the control being drawn
  TextMeasure measure_;
  int pageNumber_ = 0;
  int cursorY_ = 0;  // within the body area
  bool open_ = false;
  bool groupStarted_ = false;
  bool standIns_ = false;
  std::string lastBreak_;
};

}  // namespace tx
