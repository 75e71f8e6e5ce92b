#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <thread>

#include "base/runtime_error.h"
#include "platform/toolkit/console_toolkit.h"
#include "services/error_manager.h"
#include "support/temp_dir.h"

namespace {

using tx::BUTTON_CANCEL;
using tx::BUTTON_HELP;
using tx::BUTTON_NO;
using tx::BUTTON_OK;
using tx::BUTTON_RETRY;
using tx::BUTTON_YES;

// Every test talks to a console toolkit that records what was shown and
// returns from Halt instead of ending the test program.
class ErrorManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    toolkit.SetHaltExits(false);
    previous = tx::SetToolkit(&toolkit);
    tx::ClearRuntimeError();
  }
  void TearDown() override {
    tx::SetToolkit(previous);
    tx::ClearRuntimeError();
  }
  const tx::MessageRequest& LastShown() const { return toolkit.Messages().back().request; }

  tx::ConsoleToolkit toolkit{nullptr};
  tx::WindowToolkit* previous = nullptr;
  tx::ErrorManager errors;
};

std::vector<uint8_t> Block(std::vector<tx::MessageEntry> entries) { return tx::PackMessages(entries); }

TEST_F(ErrorManagerTest, QuestionAnsweredYesGivesZeroAndNoGivesFour) {
  toolkit.QueueAnswer(BUTTON_YES);
  EXPECT_EQ(errors.Raise(tx::Msg::ConfirmCancel), tx::Level::Done);
  toolkit.QueueAnswer(BUTTON_NO);
  EXPECT_EQ(errors.Raise(tx::Msg::ConfirmCancel), tx::Level::Cancelled);
  ASSERT_EQ(toolkit.Messages().size(), 2u);
  const tx::MessageRequest& r = LastShown();
  EXPECT_EQ(r.caption, "Changes will be lost!");
  EXPECT_EQ(r.text, "Are you sure you want to cancel?");
  EXPECT_EQ(r.icon, tx::MessageIcon::Question);
  EXPECT_EQ(r.buttons, unsigned(BUTTON_YES | BUTTON_NO));
  EXPECT_EQ(r.defaultButton, unsigned(BUTTON_YES));
}

TEST_F(ErrorManagerTest, QuestionWithoutAnswerTakesTheManagersDefault) {
  errors.questionDefault = BUTTON_NO;
  EXPECT_EQ(errors.Raise(tx::Msg::ConfirmDelete), tx::Level::Cancelled);
  EXPECT_EQ(LastShown().defaultButton, unsigned(BUTTON_NO));
}

TEST_F(ErrorManagerTest, NoticeShowsExclamationWithOkAndReturnsFive) {
  errors.SetFile("efx.mdl");
  EXPECT_EQ(errors.Raise(tx::Msg::AccessDenied), tx::Level::NotDone);
  const tx::MessageRequest& r = LastShown();
  EXPECT_EQ(r.caption, "Access Denied");
  EXPECT_EQ(r.text, "Could not get write access to efx.mdl so trying read-only.");
  EXPECT_EQ(r.icon, tx::MessageIcon::Exclamation);
  EXPECT_EQ(r.buttons, unsigned(BUTTON_OK));
  EXPECT_FALSE(toolkit.Halted());
}

TEST_F(ErrorManagerTest, FatalMessageAddsTheEndNoticeAndHalts) {
  tx::SetRuntimeError(2, "File Not Found");
  errors.SetFile("cab.mdl");
  EXPECT_EQ(errors.Raise(tx::Msg::FileNotOpened), tx::Level::Fatal);
  EXPECT_TRUE(toolkit.Halted());
  EXPECT_EQ(LastShown().caption, "File Access Error");
  EXPECT_EQ(LastShown().text,
            "File cab.mdl could not be opened.  Error: File Not Found (2).  Press OK to end this application");
}

TEST_F(ErrorManagerTest, LevelTwoAndUnknownLevelsAreFatal) {
  errors.SetFile("sel.mdl");
  errors.Raise(tx::Msg::FileNotOpenYet);
  EXPECT_TRUE(toolkit.Halted());
  EXPECT_EQ(LastShown().text,
            "Attempt to use file (sel.mdl) before it was opened  Press OK to end this application");

  tx::ConsoleToolkit second{nullptr};
  second.SetHaltExits(false);
  tx::SetToolkit(&second);
  errors.AddMessages(Block({{900, 9, "Odd", "Odd level", {}}}));
  EXPECT_EQ(errors.Raise(900), tx::Level::Fatal);
  EXPECT_TRUE(second.Halted());
  tx::SetToolkit(&toolkit);
}

TEST_F(ErrorManagerTest, LevelZeroAndUnknownIdsShowNothing) {
  errors.AddMessages(Block({{700, 0, "Quiet", "Nothing to see", {}}}));
  EXPECT_EQ(errors.Raise(700), tx::Level::Done);
  EXPECT_EQ(errors.Raise(32), tx::Level::Done);  // no such built-in message
  EXPECT_EQ(errors.Raise(60000), tx::Level::Done);
  EXPECT_TRUE(toolkit.Messages().empty());
  EXPECT_EQ(errors.Current().id, 0);
  EXPECT_TRUE(errors.Current().MESSAGE.empty());
}

TEST_F(ErrorManagerTest, ErrorTextUsesTheDriverForCode90) {
  tx::SetDriverError(90, "driver error", "11", "database disk image is malformed");
  errors.SetFile("efx.mdl");
  errors.Raise(tx::Msg::RecordNotRead);
  EXPECT_EQ(LastShown().text,
            "Error: (database disk image is malformed (11)) attempting to access a record from the efx.mdl file."
            "  Returning to previous window.");

  tx::SetDriverError(100, "other", "7", "locked");
  errors.Raise(tx::Msg::RecordNotDeleted);
  EXPECT_EQ(LastShown().text,
            "An error (locked (7)) was experienced when deleting a record from the efx.mdl file.");

  tx::SetRuntimeError(5, "Access Denied");
  errors.Raise(tx::Msg::RecordNotDeleted);
  EXPECT_EQ(LastShown().text,
            "An error (Access Denied (5)) was experienced when deleting a record from the efx.mdl file.");
}

TEST_F(ErrorManagerTest, FileNameHoldingItsPlaceholderIsInsertedOnce) {
  errors.SetFile("odd%File.mdl");
  errors.Raise(tx::Msg::AccessDenied);
  EXPECT_EQ(LastShown().text, "Could not get write access to odd%File.mdl so trying read-only.");
  // A value equal to its placeholder (ignoring case) leaves the text as it is.
  errors.SetFile("%FILE");
  errors.Raise(tx::Msg::AccessDenied);
  EXPECT_EQ(LastShown().text, "Could not get write access to %File so trying read-only.");
}

TEST_F(ErrorManagerTest, PlaceholdersMatchWithoutRegardToCaseAndInOrder) {
  errors.AddMessages(Block({{800, 5, "T",
                             "%fileerrorcode/%FILEERROR/%file/%KEY/%errorcode/%Error/%MESSAGE/%field/"
                             "%Procedure/%Category|%Key",
                             {}}}));
  tx::SetDriverError(90, "rt text", "D7", "drv text");
  errors.SetFile("f.mdl");
  errors.SetKey("EFF:Effect_Key");
  errors.SetField("EFF:NAME");
  errors.EnterProcedure("Main");
  errors.RaiseMessage(800, "msg");
  EXPECT_EQ(LastShown().text, "D7/drv text/f.mdl/EFF:Effect_Key/90/rt text/msg/EFF:NAME/Main/|EFF:Effect_Key");
  EXPECT_TRUE(LastShown().barIsNewline);
  errors.LeaveProcedure();
}

TEST_F(ErrorManagerTest, PreparedMessageIsFilledWithoutShowing) {
  tx::SetRuntimeError(40, "Creates Duplicate Key");
  errors.SetFile("efx.mdl");
  errors.SetMessageText("EFF:Effect_Key");
  errors.SetErrors();
  errors.SetId(tx::Msg::DuplicateKey);
  EXPECT_TRUE(toolkit.Messages().empty());
  EXPECT_EQ(errors.Current().TITLE, "Duplicate Key Error");
  EXPECT_EQ(errors.FilledMessage(), "Adding this record creates a duplicate entry for the key: EFF:Effect_Key");
}

TEST_F(ErrorManagerTest, PreviousNamesTheMessageRaisedBefore) {
  errors.AddMessages(Block({{801, 5, "T", "after: %Previous", {}}}));
  errors.Raise(tx::Msg::NoRecords);
  errors.Raise(801);
  EXPECT_EQ(LastShown().text, "after: There are no records available to process.");
  EXPECT_EQ(errors.PreviousId(), 25);
  errors.Raise(60000);  // unknown: current entry cleared
  errors.Raise(801);
  EXPECT_EQ(LastShown().text, "after: ");
}

TEST_F(ErrorManagerTest, RaiseMessageFillsMessageText) {
  EXPECT_EQ(errors.RaiseMessage(tx::Msg::DuplicateKey, "EFF:Effect_Primary_Key"), tx::Level::NotDone);
  EXPECT_EQ(LastShown().caption, "Duplicate Key Error");
  EXPECT_EQ(LastShown().text, "Adding this record creates a duplicate entry for the key: EFF:Effect_Primary_Key");
  errors.RaiseMessage(tx::Msg::PoorlyFormedComment, "{bad");
  errors.SetField("12");
  errors.RaiseMessage(tx::Msg::PoorlyFormedComment, "{bad");
  EXPECT_EQ(LastShown().text, "Poorly Formed Comment String \"{bad\" at Position 12.");
}

TEST_F(ErrorManagerTest, ContextNamesAreCutTo255Characters) {
  errors.SetFile(std::string(300, 'a'));
  EXPECT_EQ(errors.FileName().size(), 255u);
  errors.RaiseMessage(tx::Msg::ProcedureNotDefined, std::string(400, 'b'));
  EXPECT_EQ(errors.MessageText().size(), 255u);
}

TEST_F(ErrorManagerTest, AskShowsQuestionAndReturnsButtonPressed) {
  toolkit.QueueAnswer(BUTTON_RETRY);
  errors.SetFile("EdtLay.kvr");
  EXPECT_EQ(errors.Ask(tx::Msg::EndOfFile, BUTTON_RETRY | BUTTON_CANCEL, BUTTON_CANCEL), unsigned(BUTTON_RETRY));
  EXPECT_EQ(LastShown().icon, tx::MessageIcon::Question);
  EXPECT_EQ(LastShown().buttons, unsigned(BUTTON_RETRY | BUTTON_CANCEL));
  EXPECT_EQ(LastShown().text,
            "The end of the file EdtLay.kvr was encountered. Do you want to start again from the beginning?");
  EXPECT_EQ(errors.Ask(tx::Msg::EndOfFile, BUTTON_RETRY | BUTTON_CANCEL, BUTTON_CANCEL), unsigned(BUTTON_CANCEL));
}

TEST_F(ErrorManagerTest, SilentAskReturnsDefaultWithoutShowing) {
  errors.SILENT = true;
  toolkit.QueueAnswer(BUTTON_YES);
  EXPECT_EQ(errors.Ask(tx::Msg::ConfirmDelete, BUTTON_YES | BUTTON_NO, BUTTON_NO), unsigned(BUTTON_NO));
  EXPECT_EQ(errors.Raise(tx::Msg::AddNewRecord), tx::Level::NotDone);
  EXPECT_TRUE(toolkit.Messages().empty());
}

TEST_F(ErrorManagerTest, LaterMessagesOverrideEarlierOnes) {
  errors.AddMessages(Block({{2, 5, "Mine", "first %File", {}}, {2, 5, "Mine too", "second %File", {}}}));
  errors.SetFile("x");
  errors.Raise(tx::Msg::AccessDenied);
  EXPECT_EQ(LastShown().caption, "Mine too");
  EXPECT_EQ(LastShown().text, "second x");
  // A level can change too: the built-in notice becomes a question.
  errors.AddMessages(Block({{25, 1, "No Records", "Go on?", {}}}));
  toolkit.QueueAnswer(BUTTON_NO);
  EXPECT_EQ(errors.Raise(tx::Msg::NoRecords), tx::Level::Cancelled);
}

TEST_F(ErrorManagerTest, TruncatedBlockAddsOnlyItsCompleteEntries) {
  std::vector<uint8_t> block = Block({{901, 5, "A", "alpha", {}}, {902, 5, "B", "beta", {}}});
  block.resize(block.size() - 2);  // cut inside the second text
  errors.AddMessages(block);
  errors.Raise(901);
  EXPECT_EQ(LastShown().text, "alpha");
  EXPECT_EQ(errors.Raise(902), tx::Level::Done);
  errors.AddMessages(nullptr, 0);
  const uint8_t shortCount[] = {5, 0, 1};
  errors.AddMessages(shortCount, sizeof shortCount);
  EXPECT_EQ(errors.Raise(901), tx::Level::NotDone);
}

TEST_F(ErrorManagerTest, HistoryKeepsTheLastThreeAboveThreshold) {
  errors.HISTORYTHRESHOLD = 3;
  errors.Raise(tx::Msg::NoRecords);
  errors.Raise(tx::Msg::DeleteNotAllowed);
  errors.Raise(tx::Msg::InsertNotAllowed);
  errors.Raise(tx::Msg::UpdateNotAllowed);
  std::vector<tx::HistoryEntry> h = errors.History();
  ASSERT_EQ(h.size(), 3u);
  EXPECT_EQ(h[0].text, "This form cannot be used to delete a record");
  EXPECT_EQ(h[1].text, "This form cannot be used to insert a record");
  EXPECT_EQ(h[2].text, "This form cannot be used to update a record");
  EXPECT_EQ(h[2].level, 5);
  EXPECT_EQ(h[2].category, "Tonalyx");
  // Level 5 is not the view level: nothing was shown.
  EXPECT_TRUE(toolkit.Windows().empty());
  EXPECT_TRUE(toolkit.Messages().empty());
}

TEST_F(ErrorManagerTest, HistoryWindowShowsAtViewLevelAndResets) {
  errors.HISTORYTHRESHOLD = 5;
  errors.HISTORYVIEWLEVEL = 5;
  errors.HISTORYRESETONVIEW = true;
  errors.AddMessages(Block({{950, 1, "Q", "question", {}}}));
  errors.Raise(950);  // level 1: recorded, not shown
  errors.Raise(tx::Msg::NoRecords);   // level 5: the history window
  ASSERT_EQ(toolkit.Windows().size(), 1u);
  tx::WindowId w = toolkit.Windows()[0];
  EXPECT_EQ(toolkit.Layout(w).title, "No Records");
  EXPECT_EQ(toolkit.Layout(w).controls[0].columns, (std::vector<std::string>{"Message", "Category"}));
  const auto& rows = toolkit.ListRows(w, tx::kHistoryList);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0], "question\tTonalyx");
  EXPECT_EQ(rows[1], "There are no records available to process.\tTonalyx");
  EXPECT_FALSE(toolkit.IsOpen(w));
  EXPECT_TRUE(errors.History().empty());
}

TEST_F(ErrorManagerTest, HistoryButtonsFillSlotsFromTheHighestBit) {
  std::vector<unsigned> slots = tx::HistoryButtonSlots(BUTTON_OK | BUTTON_HELP | BUTTON_NO);
  EXPECT_EQ(slots, (std::vector<unsigned>{BUTTON_HELP, BUTTON_NO, BUTTON_OK}));

  toolkit.QueueWindowEvent(tx::Event(tx::EventKind::Accepted, tx::kHistoryFirstSlot + 1));
  errors.HISTORYTHRESHOLD = 2;
  errors.Raise(tx::Msg::NoRecords);
  EXPECT_EQ(errors.ViewHistory(), unsigned(BUTTON_OK));  // slot 2 holds Ok after Help
  tx::WindowId w = toolkit.Windows().back();
  EXPECT_EQ(toolkit.Layout(w).title, "Errors History");
  EXPECT_EQ(toolkit.ControlText(w, tx::kHistoryFirstSlot), "&Help");
  EXPECT_EQ(toolkit.ControlText(w, tx::kHistoryFirstSlot + 1), "O&k");
  EXPECT_TRUE(toolkit.IsDefaultButton(w, tx::kHistoryFirstSlot + 1));
  EXPECT_FALSE(toolkit.ControlHidden(w, tx::kHistoryFirstSlot + 1));
  EXPECT_TRUE(toolkit.ControlHidden(w, tx::kHistoryFirstSlot + 2));
  // Closed without a button: the default.
  EXPECT_EQ(errors.ViewHistory(), unsigned(BUTTON_OK));
}

TEST_F(ErrorManagerTest, HistoryWindowAnswersTheButtonPressedOrTheDefault) {
  std::vector<tx::HistoryEntry> entries = {{"one", 5, "Tonalyx"}};
  // Slots: No (bit 2) first, then Yes (bit 1).
  toolkit.QueueWindowEvent(tx::Event(tx::EventKind::Accepted, tx::kHistoryFirstSlot + 1));
  EXPECT_EQ(tx::ShowHistoryWindow(toolkit, entries, "Q", BUTTON_YES | BUTTON_NO, BUTTON_NO), unsigned(BUTTON_YES));
  toolkit.QueueWindowEvent(tx::Event(tx::EventKind::CloseRequested));
  EXPECT_EQ(tx::ShowHistoryWindow(toolkit, entries, "Q", BUTTON_YES | BUTTON_NO, BUTTON_NO), unsigned(BUTTON_NO));
  // A press on a hidden slot is no answer.
  toolkit.QueueWindowEvent(tx::Event(tx::EventKind::Accepted, tx::kHistoryFirstSlot + 5));
  toolkit.QueueWindowEvent(tx::Event(tx::EventKind::Accepted, tx::kHistoryFirstSlot));
  EXPECT_EQ(tx::ShowHistoryWindow(toolkit, entries, "Q", BUTTON_YES | BUTTON_NO, BUTTON_YES), unsigned(BUTTON_NO));
  for (tx::WindowId w : toolkit.Windows()) EXPECT_FALSE(toolkit.IsOpen(w));
}

TEST_F(ErrorManagerTest, FatalMessageInHistoryModeStillShowsBeforeHalting) {
  errors.HISTORYTHRESHOLD = 4;
  errors.SetFile("x.mdl");
  errors.Raise(tx::Msg::FileNotOpenYet);  // stored with level 2
  EXPECT_TRUE(toolkit.Halted());
  ASSERT_EQ(toolkit.Windows().size(), 1u);
  EXPECT_EQ(toolkit.Layout(toolkit.Windows()[0]).title, "File Usage Error");
}

TEST_F(ErrorManagerTest, ProcedureNamesAreKeptPerThread) {
  errors.AddMessages(Block({{960, 5, "P", "in %Procedure", {}}}));
  errors.EnterProcedure("Main");
  errors.EnterProcedure("PrintPreview");
  std::string other;
  std::thread t([&] {
    errors.EnterProcedure("Worker");
    other = errors.ProcedureName();
    errors.LeaveProcedure();
  });
  t.join();
  EXPECT_EQ(other, "Worker");
  errors.Raise(960);
  EXPECT_EQ(LastShown().text, "in PrintPreview");
  errors.LeaveProcedure();
  EXPECT_EQ(errors.ProcedureName(), "Main");
  errors.LeaveProcedure();
  errors.LeaveProcedure();  // nothing left: harmless
  errors.Raise(960);
  EXPECT_EQ(LastShown().text, "in ");
}

TEST_F(ErrorManagerTest, ContextIsPerThread) {
  errors.SetFile("main.mdl");
  std::string seen;
  std::thread t([&] {
    seen = errors.FileName();
    errors.SetFile("thread.mdl");
  });
  t.join();
  EXPECT_TRUE(seen.empty());
  EXPECT_EQ(errors.FileName(), "main.mdl");
  tx::ErrorManager other;
  EXPECT_TRUE(other.FileName().empty());
}

TEST_F(ErrorManagerTest, LogAppendsOneLinePerShownMessage) {
  txtest::TempDir dir;
  txtest::ScopedCwd cwd(dir.path());
  errors.LOGERRORS = true;
  errors.SILENT = true;  // logging does not depend on showing
  errors.SetFile("a\nb");
  errors.Raise(tx::Msg::AccessDenied);
  errors.Raise(tx::Msg::NoRecords);
  errors.Raise(0);  // level 0 is never logged
  std::ifstream in(dir.file("TonalyxError.Log"));
  ASSERT_TRUE(in.good());
  std::string line1, line2, line3;
  ASSERT_TRUE(std::getline(in, line1));
  ASSERT_TRUE(std::getline(in, line2));
  EXPECT_FALSE(std::getline(in, line3));
  EXPECT_NE(line1.find("@"), std::string::npos);
  EXPECT_NE(line1.find(" --> Could not get write access to a b so trying read-only."), std::string::npos);
  EXPECT_NE(line2.find(" --> There are no records available to process."), std::string::npos);
  EXPECT_LT(line1.find("@"), line1.find(" --> "));
}

TEST_F(ErrorManagerTest, LogWriteFailureIsIgnored) {
  txtest::TempDir dir;
  errors.SetErrorLog(std::make_unique<tx::FileErrorLog>(dir.file("missing/dir/log")));
  errors.LOGERRORS = true;
  EXPECT_EQ(errors.Raise(tx::Msg::NoRecords), tx::Level::NotDone);
  EXPECT_EQ(toolkit.Messages().size(), 1u);
}

TEST(ErrorLogLine, HasDateAtTimeArrowText) {
  std::string line = tx::ErrorLogLine(0, "hello");
  size_t at = line.find('@');
  ASSERT_NE(at, std::string::npos);
  EXPECT_GT(at, 0u);
  EXPECT_EQ(line.substr(line.size() - 10), " --> hello");
}

TEST(GlobalErrors, IsOneManagerWithBuiltInMessages) {
  EXPECT_EQ(&tx::GlobalErrors(), &tx::GlobalErrors());
  tx::GlobalErrors().SetId(tx::Msg::RecordAdded);
  EXPECT_EQ(tx::GlobalErrors().Current().TITLE, "Record Added");
}

}  // namespace

namespace {

TEST(ErrorManagerThreads, EachThreadFillsFromItsOwnContext) {
  tx::ErrorManager errors;
  errors.SILENT = true;
  errors.HISTORYTHRESHOLD = 1000;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&errors, t] {
      for (int i = 0; i < 50; ++i) {
        errors.SetFile("file" + std::to_string(t));
        errors.Raise(tx::Msg::AccessDenied);
      }
    });
  }
  for (auto& th : threads) th.join();
  std::vector<tx::HistoryEntry> h = errors.History();
  ASSERT_EQ(h.size(), 200u);
  int perThread[4] = {0, 0, 0, 0};
  for (const auto& e : h) {
    for (int t = 0; t < 4; ++t)
      if (e.text == "Could not get write access to file" + std::to_string(t) + " so trying read-only.") ++perThread[t];
  }
  for (int t = 0; t < 4; ++t) EXPECT_EQ(perThread[t], 50) << t;
}

}  // namespace
