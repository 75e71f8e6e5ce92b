#include "report/report_manager.h"

#include <chrono>

#include "report/print_preview.h"
#include "report/report_process.h"
#include "report/report_target_selector.h"
#include "report/wmf_parser.h"
#include "services/error_manager.h"

namespace tx {

void ReportAttributes::Apply(ReportLayout& layout) const {
  auto apply = [&](ReportBand& band) {
    for (ReportControl& c : band.controls)
      for (const auto& [name, attributes] : controls)
        if ((!c.field.empty() && c.field == name) || (c.field.empty() && c.text == name)) c.attributes = attributes;
  };
  if (layout.pageHeader) apply(*layout.pageHeader);
  if (layout.pageFooter) apply(*layout.pageFooter);
  if (layout.group) apply(layout.group->header);
  for (ReportBand& band : layout.details) apply(band);
}

WindowLayout ReportProgressLayout() {
  WindowLayout w;
  w.title = "Progress...";
  w.width = 142;
  w.height = 59;
  w.centred = true;
  w.modal = true;
  w.controls.push_back(PlacedControl(PROGRESS_THERMOMETER, ControlKind::ProgressBar, "", 15, 15, 111, 12));
  w.controls.push_back(PlacedControl(PROGRESS_USERSTRING, ControlKind::Text, "", 0, 3, 141, 10));
  w.controls.back().centred = true;
  w.controls.push_back(PlacedControl(PROGRESS_PCTTEXT, ControlKind::Text, "", 0, 30, 141, 10));
  w.controls.back().centred = true;
  w.controls.push_back(PlacedControl(PROGRESS_CANCEL, ControlKind::Button, "Cancel", 45, 42, 50, 15));
  return w;
}

ReportManager::ReportManager(WindowToolkit& toolkit) : toolkit_(toolkit) {}

ReportManager::~ReportManager() { Kill(); }

int64_t ReportManager::Now() const {
  if (clock_) return clock_();
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count() / 10;
}

void ReportManager::Init(ReportProcess* process, Report* report, PrintPreview* preview) {
  USEMRP = 1;
  PROCESS = process;
  REPORT = report;
  PREVIEW = preview;
  if (!ERRORS) ERRORS = &GlobalErrors();
  WMFPARSER = std::make_unique<WMFParser>();
  OUTPUTFILEQUEUE.clear();
  PREVIEWQUEUE.clear();
  ATTRIBUTE = std::make_unique<ReportAttributes>();
  if (!TARGETSELECTOR) {
    ownSelector_ = std::make_unique<ReportTargetSelector>(toolkit_);
    TARGETSELECTOR = ownSelector_.get();
    TARGETSELECTORCREATED = 1;
  }
  if (PREVIEW) PREVIEW->Init(&PREVIEWQUEUE, TARGETSELECTOR, WMFPARSER.get(), ERRORS);
  RECORDSPERCYCLE = 1;
  TIMESLICE = 100;
  if (BREAKMAN) BREAKMAN->Init();
}

void ReportManager::SetTargetSelector(ReportTargetSelector* selector) {
  if (!TARGETSELECTORCREATED) TARGETSELECTOR = selector;
}

int ReportManager::Ask() {
  // Cancelled until Next reaches the end: a window closed any other way
  // (its Cancel, its close box) completed nothing.
  RESPONSE = 2;
  closing_ = false;
  window_ = toolkit_.OpenWindow(ReportProgressLayout());
  toolkit_.KeepOnDesktop(window_);
  if (PROCESS) PROCESS->SetProgress(&toolkit_, window_, PROGRESS_THERMOMETER, PROGRESS_PCTTEXT);
  if (DEFERWINDOW) {
    if (WAITCURSOR) toolkit_.SetWaitCursor(true);
    STARTTIME = Now();
    toolkit_.HideWindow(window_);
  }
  Event e;
  while (toolkit_.NextEvent(window_, e)) {
    switch (e.kind) {
      case EventKind::OpenWindow:
        if (!DEFEROPENREPORT) OpenReport();
        toolkit_.SetTimer(window_, TIMER);
        break;
      case EventKind::Timer:
        if (TimerTick() == Level::Fatal && !closing_) PostClose();
        break;
      case EventKind::Accepted:
        if (e.control == PROGRESS_CANCEL) {
          RESPONSE = 2;
          CloseRun();
        }
        break;
      case EventKind::CloseRequested:
        CloseRun();
        break;
      case EventKind::Posted:
        if (e.code == CLOSE_POSTED) CloseRun();
        break;
      default:
        break;
    }
  }
  if (PROCESS) PROCESS->SetProgress(nullptr, 0, 0, 0);
  window_ = 0;
  return RESPONSE;
}

void ReportManager::PostClose() { toolkit_.PostEvent(window_, Event{EventKind::Posted, 0, {}, CLOSE_POSTED}); }

uint8_t ReportManager::OpenReport() {
  uint8_t result = PROCESS ? PROCESS->Reset() : Level::Fatal;
  // A window kept visible stays open after a failed open, so its first read
  // posts no close.
  if (result == Level::Done) result = ReadNext(!KEEPVISIBLE);
  DEFEROPENREPORT = 0;
  if (result != Level::Done) {
    OPENFAILED = 1;
    NoRecords();
    return result;
  }
  OPENFAILED = 0;
  if (!REPORT) return Level::Done;
  ReportLayout layout = REPORT->layout;
  if (ATTRIBUTE) ATTRIBUTE->Apply(layout);
  if (REPORT->engine.Open(layout) != Level::Done) {
    // No place for the page files: the run cannot go on.
    RESPONSE = 2;
    OPENFAILED = 1;
    return Level::Fatal;
  }
  // The page files are listed whether or not they are previewed: delivery
  // reads them from the same list.
  REPORT->engine.RenderToPageFiles(&PREVIEWQUEUE);
  opened_ = true;
  return Level::Done;
}

void ReportManager::NoRecords() {
  if (ERRORS) ERRORS->Raise(Msg::NoRecords);
}

uint8_t ReportManager::TimerTick() {
  if (DEFEROPENREPORT) OpenReport();
  if (OPENFAILED) {
    if (KEEPVISIBLE) {
      toolkit_.SetTimer(window_, 0);
      return Level::Done;
    }
    return Level::Fatal;
  }
  if (!PROCESS) return Level::Fatal;
  const int32_t start = PROCESS->RECORDSPROCESSED;
  const int64_t t0 = Now();
  if (DEFERWINDOW && Now() - STARTTIME > int64_t{DEFERWINDOW} * 100) {
    toolkit_.ShowWindow(window_);
    if (WAITCURSOR) toolkit_.SetWaitCursor(false);
    DEFERWINDOW = 0;
  }
  int64_t elapsed = 0;
  do {
    if (USEMRP && PROCESS->ReadAhead() == 0) PROCESS->SetReadAhead(RECORDSPERCYCLE);
    while (PROCESS->RECORDSPROCESSED - start < RECORDSPERCYCLE)
      if (uint8_t r = TakeRecord()) return r;
    elapsed = Now() - t0;
    if (elapsed * 5 < int64_t{TIMESLICE} * 4 && RECORDSPERCYCLE < (INT32_MAX >> 1)) RECORDSPERCYCLE *= 2;
  } while (elapsed * 2 < TIMESLICE);
  if (elapsed * 2 > int64_t{TIMESLICE} * 3 && RECORDSPERCYCLE > 1) RECORDSPERCYCLE /= 2;
  return Level::Done;
}

uint8_t ReportManager::TakeRecord() {
  if (BREAKMAN) BREAKMAN->CheckBreaks();
  uint8_t result = PROCESS ? PROCESS->TakeRecord() : Level::Fatal;
  auto stopped = [&](uint8_t r) {
    if (r == Level::Fatal) {
      toolkit_.SetTimer(window_, 0);
      RESPONSE = 2;
      PostClose();
    }
    return r == Level::Fatal || r == Level::NotDone;
  };
  if (stopped(result)) return Level::NotDone;
  for (RecordProcessor* p : PROCESSORS) {
    result = p->TakeRecord();
    if (stopped(result)) return Level::NotDone;
  }
  if (Next() != Level::Done) {
    toolkit_.SetTimer(window_, 0);
    return Level::NotDone;
  }
  return result;
}

uint8_t ReportManager::Next() { return ReadNext(true); }

uint8_t ReportManager::ReadNext(bool closeAtTheEnd) {
  uint8_t r = PROCESS ? PROCESS->Next() : Level::Fatal;
  if (r == Level::Done) return Level::Done;
  const bool completed = r == Level::NotDone && PROCESS->RECORDSPROCESSED > 0;
  RESPONSE = completed ? 1 : 2;
  if (closeAtTheEnd) PostClose();
  return completed ? Level::NotDone : Level::Fatal;
}

void ReportManager::CloseRun() {
  if (closing_) return;
  closing_ = true;
  toolkit_.SetTimer(window_, 0);
  if (WAITCURSOR) toolkit_.SetWaitCursor(false);
  const bool hide = !KEEPVISIBLE && PREVIEW && REPORT && !SKIPPREVIEW;
  if (hide) toolkit_.HideWindow(window_);
  bool failed = false;
  if (PROCESS && PROCESS->Close() != Level::Done) failed = true;
  for (RecordProcessor* p : PROCESSORS)
    if (p->Close() != Level::Done) failed = true;
  if (!failed && opened_) EndOfReport();
  // Closing the report ends its page files.
  if (REPORT) REPORT->engine.Discard();
  opened_ = false;
  if (hide) toolkit_.ShowWindow(window_);
  toolkit_.CloseWindow(window_);
}

void ReportManager::EndOfReport() {
  if (!(REPORT && RESPONSE == 1)) {
    EndReport();
    return;
  }
  EndReport();
  if (RESPONSE != 1) return;  // the last page could not be written
  if (!PREVIEW) {
    Deliver();
    PREVIEWQUEUE.clear();
    return;
  }
  if (SKIPPREVIEW) {
    Deliver();
  } else if (PREVIEW->Display(ZOOM, 1, 1, 1) == 1) {
    Deliver();
  } else {
    Discard();
  }
  PREVIEWQUEUE.clear();
}

void ReportManager::EndReport() {
  if (BREAKMAN) BREAKMAN->CloseGroups();
  if (REPORT && opened_ && REPORT->engine.EndReport() != Level::Done) RESPONSE = 2;
}

void ReportManager::Deliver() {
  if (!REPORTTARGET) {
    OUTPUTFILEQUEUE = PREVIEWQUEUE;
    if (OutputHook(OUTPUTFILEQUEUE) != 1) toolkit_.PrintPages(PREVIEWQUEUE, JOBNAME);
    return;
  }
  if (PREVIEWQUEUE.empty()) return;
  if (REPORTTARGET->ProducesFiles() == 1) REPORTTARGET->SetOutputFileList(&OUTPUTFILEQUEUE);
  if (REPORTTARGET->ChooseOutput(0) != Level::Done) return;
  WMFPARSER->Init(&PREVIEWQUEUE, REPORTTARGET, ERRORS);
  if (WMFPARSER->Run(true) != Level::Done) return;
  if (REPORTTARGET->ProducesFiles() == 1) OutputHook(OUTPUTFILEQUEUE);
}

void ReportManager::Discard() {
  // Nothing was sent anywhere; the page files go when the report closes.
}

uint8_t ReportManager::OutputHook(std::vector<std::string>&) { return 0; }

void ReportManager::Kill() {
  PREVIEWQUEUE.clear();
  if (REPORT) REPORT->engine.Discard();
  if (PREVIEW) PREVIEW->Kill();
  OUTPUTFILEQUEUE.clear();
  PROCESS = nullptr;
  PROCESSORS.clear();
  WMFPARSER.reset();
  ATTRIBUTE.reset();
  if (TARGETSELECTORCREATED) {
    ownSelector_.reset();
    TARGETSELECTOR = nullptr;
    TARGETSELECTORCREATED = 0;
  }
  PREVIEW = nullptr;
  REPORT = nullptr;
}

}  // namespace tx
