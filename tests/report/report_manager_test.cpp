// A report run: the time-sliced record loop, the end of the run with and
// without a preview, delivery to the printer or a target, and the runs that
// end without delivering anything.
#include <gtest/gtest.h>

#include <filesystem>

#include "report/print_preview.h"
#include "report/report_target_selector.h"
#include "report_run_support.h"

namespace {

using tx::Event;
using tx::EventKind;

class ReportManagerTest : public txtest::ReportRunTest {
 protected:
  void Start(tx::ReportManager& m, tx::PrintPreview* preview = nullptr) {
    InitProcess(fatalAt_);
    m.SetErrors(&errors_);
    m.Init(&process_, &report_, preview);
  }
  void Preview(const std::string& command) {
    int control = command == "print" ? tx::PREVIEW_MENU_PRINT : tx::PREVIEW_MENU_EXIT;
    console_.QueueWindowEvent(Event{EventKind::Accepted, control}, "Report Preview");
  }
  int fatalAt_ = 0;
};

TEST_F(ReportManagerTest, TimeSlicesDoubleTheBatchUntilHalfASliceIsUsedAndHalveItAfterAnOverrun) {
  AddRows(40);
  int64_t now = 0, cost = 10;
  tx::ReportManager m;
  m.SetClock([&] { return now; });
  process_.Init(table_, sizeof row_, [&]() -> uint8_t {
    now += cost;
    return tx::Level::Done;
  });
  m.Init(&process_, nullptr, nullptr);
  ASSERT_EQ(m.OpenReport(), 0);
  ASSERT_EQ(process_.RECORDSPROCESSED, 1);

  // Batches of 1, 1 more, 2 more, 4 more: 80 hundredths used, the batch at 8.
  EXPECT_EQ(m.TimerTick(), 0);
  EXPECT_EQ(process_.RECORDSPROCESSED, 9);
  EXPECT_EQ(m.RECORDSPERCYCLE, 8);

  // 8 records at 20 take 160 hundredths: more than one and a half slices.
  cost = 20;
  EXPECT_EQ(m.TimerTick(), 0);
  EXPECT_EQ(process_.RECORDSPROCESSED, 17);
  EXPECT_EQ(m.RECORDSPERCYCLE, 4);

  cost = 10;
  uint8_t r = 0;
  for (int ticks = 0; r == 0 && ticks < 20; ++ticks) r = m.TimerTick();
  EXPECT_EQ(r, 5);
  EXPECT_EQ(m.RESPONSE, 1);
  EXPECT_EQ(process_.RECORDSPROCESSED, 40);
  EXPECT_EQ(process_.PERCENTILE, -1);  // no window to show it in
}

TEST_F(ReportManagerTest, DeferredOpenHappensAtTheFirstTickAndAFailedOneClosesUnlessKeptVisible) {
  tx::ReportManager m;
  InitProcess();
  m.SetErrors(&errors_);
  m.Init(&process_, nullptr, nullptr);
  m.DEFEROPENREPORT = 1;
  EXPECT_EQ(m.TimerTick(), 3);  // the empty table fails the open
  EXPECT_EQ(m.DEFEROPENREPORT, 0);
  EXPECT_EQ(m.OPENFAILED, 1);
  EXPECT_EQ(Messages("No Records"), 1);
  m.KEEPVISIBLE = 1;
  EXPECT_EQ(m.TimerTick(), 0);
  EXPECT_EQ(Messages("No Records"), 1);
}

TEST_F(ReportManagerTest, AWindowKeptVisibleStaysOpenAfterAFailedOpenUntilTheUserLeavesIt) {
  struct Posting : tx::ConsoleToolkit {
    Posting() : tx::ConsoleToolkit(nullptr) {}
    void PostEvent(tx::WindowId w, const Event& e) override {
      ++posted;
      tx::ConsoleToolkit::PostEvent(w, e);
    }
    int posted = 0;
  } console;
  tx::ReportManager m(console);
  Start(m);
  m.KEEPVISIBLE = 1;
  console.QueueWindowEvent(Event{EventKind::Accepted, tx::PROGRESS_CANCEL}, "Progress...");
  EXPECT_EQ(m.Ask(), 2);
  EXPECT_EQ(console.posted, 0);
  EXPECT_EQ(Messages("No Records"), 1);
}

TEST_F(ReportManagerTest, AnEmptyTableRaisesNoRecordsOnceAndMakesNothing) {
  tx::PrintPreview preview;
  tx::ReportManager m;
  Start(m, &preview);
  EXPECT_EQ(m.Ask(), 2);
  EXPECT_EQ(Messages("No Records"), 1);
  EXPECT_EQ(console_.Messages()[0].request.text, "There are no records available to process.");
  EXPECT_FALSE(WindowOpened("Report Preview"));
  EXPECT_TRUE(console_.PrintJobs().empty());
  EXPECT_EQ(taken_, 0);
}

TEST_F(ReportManagerTest, WithoutAPreviewThePagesGoStraightToThePrinterAndThenAway) {
  AddRows(25);
  tx::ReportManager m;
  Start(m);
  EXPECT_EQ(m.Ask(), 1);
  ASSERT_EQ(console_.PrintJobs().size(), 1u);
  const auto& pages = console_.PrintJobs()[0];
  ASSERT_EQ(pages.size(), 3u);
  EXPECT_TRUE(m.PREVIEWQUEUE.empty());
  EXPECT_FALSE(std::filesystem::exists(pages[0]));  // closing the report removes its pages
  EXPECT_EQ(taken_, 25);
  // The progress window showed the percentage as it went.
  tx::WindowId progress = console_.Windows().front();
  EXPECT_EQ(console_.Layout(progress).title, "Progress...");
  EXPECT_EQ(console_.ControlText(progress, tx::PROGRESS_PCTTEXT), "100% Complete");
  EXPECT_EQ(console_.Progress(progress, tx::PROGRESS_THERMOMETER), 100);

  // An output hook that answers 1 is told the pages and keeps them from the printer.
  struct Suppressing : tx::ReportManager {
    uint8_t OutputHook(std::vector<std::string>& files) override {
      told = files.size();
      return 1;
    }
    size_t told = 0;
  } suppressing;
  Start(suppressing);
  EXPECT_EQ(suppressing.Ask(), 1);
  EXPECT_EQ(suppressing.told, 3u);
  EXPECT_EQ(console_.PrintJobs().size(), 1u);
}

TEST_F(ReportManagerTest, ATargetGetsTheDeliveryCallsInOrderAndACancelledChoiceStopsIt) {
  AddRows(12);
  struct Hooked : tx::ReportManager {
    uint8_t OutputHook(std::vector<std::string>& files) override {
      hooked = files;
      return 0;
    }
    std::vector<std::string> hooked;
  } m;
  txtest::DeliveryTarget target;
  Start(m);
  m.REPORTTARGET = &target;
  EXPECT_EQ(m.Ask(), 1);
  std::string ops = target.Ops();
  EXPECT_EQ(ops.substr(0, ops.find(" BeginPage")),
            "ProducesFiles SetOutputFileList ChooseOutput BeginDocument");
  EXPECT_EQ(ops.substr(ops.rfind("FinishDocument")), "FinishDocument ProducesFiles");
  EXPECT_EQ(target.pageCount, 2);
  EXPECT_EQ(m.hooked, std::vector<std::string>{"written.out"});
  EXPECT_TRUE(console_.PrintJobs().empty());

  txtest::DeliveryTarget refusing;
  refusing.chooseResult = tx::Level::NotDone;
  tx::ReportManager again;
  tx::Report report{txtest::RowReportLayout(10), {}};
  process_.Init(table_, sizeof row_, [&]() -> uint8_t { return report.engine.PrintBand("row") ? 3 : 0; });
  again.SetErrors(&errors_);
  again.Init(&process_, &report, nullptr);
  again.REPORTTARGET = &refusing;
  EXPECT_EQ(again.Ask(), 1);
  EXPECT_EQ(refusing.Ops(), "ProducesFiles SetOutputFileList ChooseOutput");
}

TEST_F(ReportManagerTest, PrintFromThePreviewDeliversAndExitDiscards) {
  AddRows(25);
  {
    tx::PrintPreview preview;
    tx::ReportManager m;
    Start(m, &preview);
    Preview("exit");
    EXPECT_EQ(m.Ask(), 1);
    EXPECT_TRUE(WindowOpened("Report Preview"));
    EXPECT_TRUE(console_.PrintJobs().empty());
  }
  tx::PrintPreview preview;
  preview.PAGESTOPRINT = "2-3";
  tx::ReportManager m;
  Start(m, &preview);
  Preview("print");
  EXPECT_EQ(m.Ask(), 1);
  ASSERT_EQ(console_.PrintJobs().size(), 1u);
  EXPECT_EQ(console_.PrintJobs()[0].size(), 2u);
  EXPECT_NE(console_.PrintJobs()[0][0].find("page0002"), std::string::npos);
}

TEST_F(ReportManagerTest, SkippingThePreviewDeliversAtOnce) {
  AddRows(5);
  tx::PrintPreview preview;
  tx::ReportManager m;
  Start(m, &preview);
  m.SKIPPREVIEW = 1;
  EXPECT_EQ(m.Ask(), 1);
  EXPECT_FALSE(WindowOpened("Report Preview"));
  EXPECT_EQ(console_.PrintJobs().size(), 1u);
}

TEST_F(ReportManagerTest, AFatalRecordOrCancelShowsNoPreviewAndPrintsNothing) {
  AddRows(30);
  fatalAt_ = 5;
  {
    tx::PrintPreview preview;
    tx::ReportManager m;
    Start(m, &preview);
    Preview("print");
    EXPECT_EQ(m.Ask(), 2);
    EXPECT_EQ(taken_, 5);
  }
  fatalAt_ = 0;
  tx::PrintPreview preview;
  tx::ReportManager m;
  Start(m, &preview);
  console_.QueueWindowEvent(Event{EventKind::Accepted, tx::PROGRESS_CANCEL}, "Progress...");
  Preview("print");
  EXPECT_EQ(m.Ask(), 2);
  EXPECT_FALSE(WindowOpened("Report Preview"));
  EXPECT_TRUE(console_.PrintJobs().empty());

  // The close box cancels as Cancel does.
  tx::PrintPreview second;
  tx::ReportManager closed;
  Start(closed, &second);
  console_.QueueWindowEvent(Event{EventKind::CloseRequested}, "Progress...");
  EXPECT_EQ(closed.Ask(), 2);
  EXPECT_FALSE(WindowOpened("Report Preview"));
}

TEST_F(ReportManagerTest, ProcessorsFollowTheMainStepAndAFailingOneEndsTheRun) {
  AddRows(6);
  struct Counting : tx::RecordProcessor {
    uint8_t TakeRecord() override { return ++count == failAt ? 3 : 0; }
    int count = 0, failAt = 0;
  } counting;
  tx::ReportManager m;
  Start(m);
  m.AddProcessor(&counting);
  EXPECT_EQ(m.Ask(), 1);
  EXPECT_EQ(counting.count, 6);

  Counting failing;
  failing.failAt = 2;
  tx::ReportManager again;
  Start(again);
  again.AddProcessor(&failing);
  EXPECT_EQ(again.Ask(), 2);
  EXPECT_EQ(failing.count, 2);
  EXPECT_EQ(console_.PrintJobs().size(), 1u);  // only the first run printed
}

TEST_F(ReportManagerTest, ADeferredWindowStaysHiddenUntilItsTimeHasPassed) {
  AddRows(20);
  int64_t now = 0;
  std::vector<bool> hidden;
  tx::ReportManager m;
  m.SetClock([&] { return now; });
  process_.Init(table_, sizeof row_, [&]() -> uint8_t {
    now += 30;
    hidden.push_back(console_.WindowHidden(m.Window()));
    return report_.engine.PrintBand("row") ? 3 : 0;
  });
  m.SetErrors(&errors_);
  m.Init(&process_, &report_, nullptr);
  m.DEFERWINDOW = 1;
  m.WAITCURSOR = 1;
  EXPECT_EQ(m.Ask(), 1);
  ASSERT_EQ(hidden.size(), 20u);
  EXPECT_TRUE(hidden.front());
  EXPECT_FALSE(hidden.back());
  EXPECT_FALSE(console_.WaitCursor());
}

// The choice of a target ----------------------------------------------------

TEST(ReportTargetSelector, RowsHoldTheChoicesStretchedAndAtLeastThree) {
  using S = tx::ReportTargetSelector;
  EXPECT_EQ(S::RowLength(2, 6, true), 3);
  EXPECT_EQ(S::RowLength(5, 6, true), 5);
  EXPECT_EQ(S::RowLength(7, 6, true), 7);
  EXPECT_EQ(S::RowLength(8, 6, true), 6);
  EXPECT_EQ(S::RowLength(2, 6, false), 6);
}

TEST(ReportTargetSelector, ChoosesWithoutAWindowWhenThereIsNothingToDecide) {
  tx::ConsoleToolkit console(nullptr);
  tx::ReportTargetSelector s(console);
  EXPECT_EQ(s.Ask(1), 1);  // printer offered, no targets
  EXPECT_EQ(s.GetPrintSelected(), 1);
  EXPECT_EQ(s.GetReportSelected(), nullptr);
  txtest::RecordingGenerator pdf;
  s.AddItem(&pdf, 1);
  EXPECT_EQ(s.Ask(0), 1);  // one target, no printer
  EXPECT_EQ(s.GetReportSelected(), &pdf);
  EXPECT_EQ(s.GetPrintSelected(), 0);
  EXPECT_TRUE(console.Windows().empty());
  EXPECT_EQ(s.GetReportGeneratorName(1), "TEST");
  EXPECT_EQ(s.GetReportGeneratorName(0), "");
  EXPECT_EQ(s.GetReportGeneratorName(s.Items() + 1), "");
}

TEST(ReportTargetSelector, TheChoiceWindowOffersOneButtonPerChoiceInRows) {
  tx::ConsoleToolkit console(nullptr);
  tx::ReportTargetSelector s(console);
  txtest::RecordingGenerator a, b;
  s.AddItem(&a, 1);
  s.AddItem(&b, 0);
  // Without the printer, two targets: two buttons in a row of three columns.
  console.QueueControlSelection(tx::ReportTargetSelector::LPLUGINCHOICE, 2);
  console.QueueWindowEvent(Event{EventKind::Accepted, tx::ReportTargetSelector::BOK});
  EXPECT_EQ(s.Ask(0), 1);
  EXPECT_EQ(s.GetReportSelected(), &b);
  tx::WindowId w = console.Windows().back();
  const tx::WindowLayout& l = console.Layout(w);
  EXPECT_EQ(l.title, "Select an Output");
  std::vector<tx::ControlLayout> buttons;
  int frameWidth = 0;
  for (const auto& c : l.controls) {
    if (c.parent == tx::ReportTargetSelector::LPLUGINCHOICE) buttons.push_back(c);
    if (c.number == tx::ReportTargetSelector::LPLUGINCHOICE) frameWidth = c.width;
  }
  ASSERT_EQ(buttons.size(), 2u);
  EXPECT_EQ(buttons[0].y, buttons[1].y);
  EXPECT_EQ(buttons[1].x - buttons[0].x, 34);
  EXPECT_GE(frameWidth, 3 * 32 + 2 * 2);
  EXPECT_EQ(console.FocusedControl(w), tx::ReportTargetSelector::BOK);

  // With the printer: it comes first; Cancel keeps the earlier choice.
  console.QueueWindowEvent(Event{EventKind::Accepted, tx::ReportTargetSelector::BCANCEL});
  EXPECT_EQ(s.Ask(1), 0);
  EXPECT_EQ(console.Layout(console.Windows().back()).controls[1].text, "Print");
  EXPECT_EQ(s.GetReportSelected(), &b);
  console.QueueWindowEvent(Event{EventKind::Accepted, tx::ReportTargetSelector::BOK});
  EXPECT_EQ(s.Ask(1), 1);  // the first choice, preselected: the printer
  EXPECT_EQ(s.GetPrintSelected(), 1);
}

}  // namespace
