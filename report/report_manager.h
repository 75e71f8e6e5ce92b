#pragma once
// Runs a report: reads its records on the progress window's timer ticks and
// prints their bands through the report engine, which renders every finished
// page into a page file; then shows the pages in the print preview (unless
// previewing is skipped) and delivers them to the printer or to an output
// target through the page parser.
//
//   Report report{PresetReportLayout()};
//   ReportManager manager;
//   manager.SetTargetSelector(&selector);   // with the targets added
//   manager.Init(&process, &report, &preview);
//   manager.Ask();                          // returns when the run is over
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/reportengine/report_engine.h"
#include "platform/toolkit/toolkit.h"
#include "report/report_generator.h"

namespace tx {

class ErrorManager;
class PrintPreview;
class ReportProcess;
class ReportTargetSelector;
class WMFParser;

// A report: its layout and the engine that prints it.
struct Report {
  ReportLayout layout;
  ReportEngine engine;
};

// Control attribute strings given to a report's controls when it is opened,
// by the field (or, for fixed texts, the text) the control shows.
struct ReportAttributes {
  std::vector<std::pair<std::string, std::string>> controls;
  void Apply(ReportLayout& layout) const;
};

// A further record processor, called for every record after the main one.
class RecordProcessor {
 public:
  virtual ~RecordProcessor() = default;
  virtual uint8_t TakeRecord() = 0;
  // At the close of the run; non-zero stops the end of the report.
  virtual uint8_t Close() { return 0; }
};

// Group breaks kept apart from the engine's own (none for the Preset Report).
class ReportBreakManager {
 public:
  virtual ~ReportBreakManager() = default;
  virtual void Init() {}
  virtual void CheckBreaks() {}
  virtual void CloseGroups() {}
};

// Controls of the progress window.
enum ReportProgressControl : int {
  PROGRESS_THERMOMETER = 1, PROGRESS_USERSTRING = 2, PROGRESS_PCTTEXT = 3, PROGRESS_CANCEL = 4
};
// "Progress...": progress bar, user text, percentage text and "Cancel".
WindowLayout ReportProgressLayout();

class ReportManager {
 public:
  // Clock in hundredths of a second.
  using Clock = std::function<int64_t()>;

  explicit ReportManager(WindowToolkit& toolkit = Toolkit());
  virtual ~ReportManager();
  ReportManager(const ReportManager&) = delete;
  ReportManager& operator=(const ReportManager&) = delete;

  void Init(ReportProcess* process, Report* report, PrintPreview* preview);
  // Replaces the target selector, unless the manager made its own.
  void SetTargetSelector(ReportTargetSelector* selector);
  void SetClock(Clock clock) { clock_ = std::move(clock); }
  void SetErrors(ErrorManager* errors) { ERRORS = errors; }
  void AddProcessor(RecordProcessor* processor) { PROCESSORS.push_back(processor); }

  // Runs the progress window until the run is over; returns RESPONSE.
  int Ask();

  virtual uint8_t OpenReport();
  virtual uint8_t TakeRecord();
  uint8_t Next();
  virtual void EndReport();
  virtual void Deliver();
  virtual void Discard();
  void Kill();
  // Called with OUTPUTFILEQUEUE after an output; 1 when printing suppresses it.
  virtual uint8_t OutputHook(std::vector<std::string>& files);
  // Opening found no records: message 25.
  virtual void NoRecords();

  // One timer tick: the time-sliced record loop. 0 go on; otherwise the run stops.
  uint8_t TimerTick();
  // The progress window's close: end of the report, preview, delivery.
  void CloseRun();

  ReportTargetSelector* TargetSelector() const { return TARGETSELECTOR; }
  WindowId Window() const { return window_; }
  bool ReportOpened() const { return opened_; }

  // Completion code of the run: 1 completed, 2 cancelled.
  int RESPONSE = 0;
  ErrorManager* ERRORS = nullptr;
  uint8_t DEFEROPENREPORT = 0;
  uint16_t DEFERWINDOW = 0;
  uint8_t KEEPVISIBLE = 0;
  uint8_t OPENFAILED = 0;
  std::vector<RecordProcessor*> PROCESSORS;
  PrintPreview* PREVIEW = nullptr;
  std::vector<std::string> PREVIEWQUEUE;
  std::vector<std::string> OUTPUTFILEQUEUE;
  ReportProcess* PROCESS = nullptr;
  std::unique_ptr<ReportAttributes> ATTRIBUTE;
  IREPORTGENERATOR* REPORTTARGET = nullptr;
  ReportTargetSelector* TARGETSELECTOR = nullptr;
  uint8_t TARGETSELECTORCREATED = 0;
  ReportBreakManager* BREAKMAN = nullptr;
  int32_t RECORDSPERCYCLE = 1;
  Report* REPORT = nullptr;
  uint8_t SKIPPREVIEW = 0;
  int64_t STARTTIME = 0;
  uint16_t TIMESLICE = 100;
  uint8_t WAITCURSOR = 0;
  std::unique_ptr<WMFParser> WMFPARSER;
  int16_t ZOOM = 0;
  uint8_t USEMRP = 1;
  // Interval of the progress window's timer, in hundredths of a second.
  int TIMER = 10;
  // Name of the print job when the pages go to the printer.
  std::string JOBNAME = "Report";

 protected:
  WindowToolkit& toolkit_;

 private:
  enum : int { CLOSE_POSTED = 1 };
  void PostClose();
  uint8_t ReadNext(bool closeAtTheEnd);
  int64_t Now() const;
  void EndOfReport();

  Clock clock_;
  std::unique_ptr<ReportTargetSelector> ownSelector_;
  WindowId window_ = 0;
  bool opened_ = false;   // the report was opened (and not closed)
  bool closing_ = false;  // the close sequence ran or is running
};

}  // namespace tx
