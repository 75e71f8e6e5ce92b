// The generator's dialogs and messages through the window toolkit.
#include <gtest/gtest.h>

#include "pdf/pdf_generator.h"
#include "pdf_test_support.h"
#include "platform/toolkit/console_toolkit.h"
#include "support/temp_dir.h"

using namespace txtest;

namespace {
// Installs a console toolkit for one test.
struct ScopedToolkit {
  tx::ConsoleToolkit toolkit;
  tx::WindowToolkit* previous;
  ScopedToolkit() : previous(tx::SetToolkit(&toolkit)) {}
  ~ScopedToolkit() { tx::SetToolkit(previous); }
};
}  // namespace

TEST(PdfDialogs, SaveDialogAsksForAPdfFile) {
  TempDir dir;
  ScopedToolkit ui;
  tx::PDFGenerator g;
  g.Init();
  ui.toolkit.QueueFileCancel();
  EXPECT_EQ(g.ChooseOutput(0), tx::Level::NotDone);
  ui.toolkit.QueueFilePath(dir.file("chosen"));
  EXPECT_EQ(g.ChooseOutput(0), tx::Level::Done);
  ASSERT_EQ(ui.toolkit.FileDialogs().size(), 2u);
  const auto& request = ui.toolkit.FileDialogs()[0];
  EXPECT_TRUE(request.save);
  EXPECT_EQ(request.title, "Save PDF File");
  EXPECT_EQ(request.filter, "PDF|*.PDF|All|*.*");
  g.BeginDocument(0);
  EXPECT_EQ(g.FinishDocument(), tx::Level::Done);
  EXPECT_FALSE(ReadFile(dir.file("chosen.PDF")).empty());
}

TEST(PdfDialogs, FileFailuresShowAMessageBox) {
  TempDir dir;
  ScopedToolkit ui;
  tx::PDFGenerator g;
  g.Init(dir.file("no/such/dir/x.pdf"));
  g.BeginDocument(0);
  EXPECT_EQ(g.FinishDocument(), tx::Level::Fatal);
  ASSERT_EQ(ui.toolkit.Messages().size(), 1u);
  const auto& shown = ui.toolkit.Messages()[0].request;
  EXPECT_EQ(shown.caption, "Target OpenFile");
  EXPECT_EQ(shown.buttons, tx::BUTTON_OK);
  EXPECT_TRUE(shown.barIsNewline);
  EXPECT_NE(shown.text.find("|Can't create target file " + dir.file("no/such/dir/x.pdf")), std::string::npos);
}
