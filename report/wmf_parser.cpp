#include "report/wmf_parser.h"

#include <cmath>

#include "platform/toolkit/toolkit.h"
#include "report/wmf_record_parser.h"
#include "services/error_manager.h"

namespace tx {

namespace {

// Controls of the progress window.
enum : int { IMAGEGENERATOR = 1, PROGRESS_USERSTRING, PROGRESS_THERMOMETER, PROGRESS_PCTTEXT };

std::string PageText(size_t i, size_t count) {
  return "Page " + std::to_string(i) + " of " + std::to_string(count);
}

}  // namespace

WMFParser::WMFParser() = default;
WMFParser::~WMFParser() = default;

void WMFParser::Init(const std::vector<std::string>* pageList, IREPORTGENERATOR* generator, ErrorManager* errors) {
  WMFQUEUE = pageList;
  REPORTGENERATOR = generator;
  if (errors) {
    ownErrors_.reset();
    ERRORSCREATED = 0;
    ERRORS = errors;
  } else if (!ERRORSCREATED) {
    ownErrors_ = std::make_unique<ErrorManager>();
    ERRORS = ownErrors_.get();
    ERRORSCREATED = 1;
  }
}

uint8_t WMFParser::ProcessPage(const std::string& fileName) {
  WMFRecordParser& p = *PARSER;
  p.SetPageFile(fileName, REPORTGENERATOR, ERRORS);
  p.SetImageDirectory(imageDirectory_);
  if (uint8_t r = p.Open()) return r;
  if (uint8_t r = p.ReadHeader()) return r;
  if (uint8_t r = REPORTGENERATOR->BeginPage(fileName, p.GetBoxLeft(), p.GetBoxTop(), p.GetBoxRight(),
                                             p.GetBoxBottom()))
    return r;
  if (uint8_t r = p.ParseAll()) return r;
  uint8_t result = REPORTGENERATOR->FinishPage();
  if (result == Level::Done) result = p.Close();
  p.FreeTables();
  return result;
}

uint8_t WMFParser::Run(bool showProgress) {
  if (!REPORTGENERATOR || !WMFQUEUE) return Level::Fatal;
  PARSER = std::make_unique<WMFRecordParser>();
  const size_t count = WMFQUEUE->size();
  uint8_t result = REPORTGENERATOR->BeginDocument(static_cast<int32_t>(count));
  if (result == Level::Done) {
    if (showProgress) {
      result = RunWithProgress(count);
    } else {
      for (size_t i = 0; i < count && result == Level::Done; ++i) result = ProcessPage((*WMFQUEUE)[i]);
      if (result == Level::Done) result = REPORTGENERATOR->FinishDocument();
    }
  }
  PARSER.reset();
  return result;
}

uint8_t WMFParser::RunWithProgress(size_t count) {
  WindowToolkit& tk = Toolkit();
  WindowLayout layout;
  layout.title = "Progress...";
  layout.width = 142;
  layout.height = 59;
  layout.controls.push_back(PlacedControl(IMAGEGENERATOR, ControlKind::Image, "", 4, 4, 16, 16));
  layout.controls.back().picture = REPORTGENERATOR->TargetIcon();
  layout.controls.push_back(
      PlacedControl(PROGRESS_USERSTRING, ControlKind::Text, "Exporting to " + REPORTGENERATOR->TargetName(), 24, 6,
              AUTO_SIZE, AUTO_SIZE));
  layout.controls.push_back(PlacedControl(PROGRESS_THERMOMETER, ControlKind::ProgressBar, "", 8, 24, 126, 12));
  layout.controls.push_back(PlacedControl(PROGRESS_PCTTEXT, ControlKind::Text, PageText(0, count), 8, 42, AUTO_SIZE,
                                    AUTO_SIZE));
  WindowId w = tk.OpenWindow(layout);
  uint8_t result = Level::Done;
  bool finished = false;
  size_t i = 0;
  Event e;
  while (tk.NextEvent(w, e)) {
    if (e.kind == EventKind::OpenWindow) {
      tk.SetTimer(w, 1);
      continue;
    }
    if (e.kind != EventKind::Timer || finished) continue;
    ++i;
    tk.SetTimer(w, 0);
    if (i > count) {
      // Nothing left to do: an empty page list finishes the document here.
      if (count == 0) result = REPORTGENERATOR->FinishDocument();
      finished = true;
      tk.CloseWindow(w);
      continue;
    }
    tk.SetControlText(w, PROGRESS_PCTTEXT, PageText(i, count));
    tk.SetProgress(w, PROGRESS_THERMOMETER, static_cast<int>(std::lround(i * 100.0 / count)));
    tk.Redisplay(w, PROGRESS_PCTTEXT);
    tk.Redisplay(w, PROGRESS_THERMOMETER);
    result = ProcessPage((*WMFQUEUE)[i - 1]);
    if (result != Level::Done || i == count) {
      if (result == Level::Done) result = REPORTGENERATOR->FinishDocument();
      finished = true;
      tk.CloseWindow(w);
    } else {
      tk.SetTimer(w, 1);
    }
  }
  if (tk.IsOpen(w)) tk.CloseWindow(w);
  // A window closed before the last page leaves the document unfinished.
  if (!finished && result == Level::Done) result = Level::Cancelled;
  return result;
}

}  // namespace tx
