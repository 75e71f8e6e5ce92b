#pragma once
// What the report-run tests share: a console toolkit in place, an in-memory
// table of numbered rows, a report whose bands print them (one page per
// `rowsPerPage` rows), and an output target that records the delivery calls.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/reportengine/report_engine.h"
#include "platform/toolkit/console_toolkit.h"
#include "recording_generator.h"
#include "report/report_manager.h"
#include "report/report_process.h"
#include "services/error_manager.h"
#include "services/file_manager.h"
#include "base/record_layout.h"
#include "support/temp_dir.h"

namespace txtest {

#pragma pack(push, 1)
struct RowRecord {
  int32_t ID = 0;
  char TEXT[20] = {};
};
#pragma pack(pop)

inline const tx::RecordLayout& RowLayout() {
  static const tx::RecordLayout l{"Rows", "ROWS", "ROW", sizeof(RowRecord),
                                  {{"ID", tx::FieldType::Long, offsetof(RowRecord, ID), 4},
                                   {"TEXT", tx::FieldType::String, offsetof(RowRecord, TEXT), 20}},
                                  {}, true};
  return l;
}

// A band per row; `rowsPerPage` of them fill the body.
inline tx::ReportLayout RowReportLayout(int rowsPerPage) {
  tx::ReportLayout layout;
  tx::ReportControl text;
  text.field = "ROW";
  text.x = 100;
  layout.details.push_back(tx::ReportBand{"row", 0, 0, 7000, layout.bodyHeight / rowsPerPage, {text}});
  return layout;
}

// Records the calls a delivery makes, and at document finish names the file it "wrote".
class DeliveryTarget : public RecordingGenerator {
 public:
  uint8_t chooseResult = tx::Level::Done;
  uint8_t ChooseOutput(uint8_t flag) override {
    calls.push_back({"ChooseOutput", {}, std::to_string(flag)});
    return chooseResult;
  }
  uint8_t ProducesFiles() override {
    calls.push_back({"ProducesFiles", {}, {}});
    return 1;
  }
  void SetOutputFileList(std::vector<std::string>* list) override {
    calls.push_back({"SetOutputFileList", {}, {}});
    files = list;
    if (list) list->clear();
  }
  uint8_t FinishDocument() override {
    if (files) files->push_back("written.out");
    return RecordingGenerator::FinishDocument();
  }
  std::vector<std::string>* files = nullptr;
};

class ReportRunTest : public ::testing::Test {
 protected:
  ReportRunTest() : cwd_(dir_.path()), previous_(tx::SetToolkit(&console_)) {
    table_.Init(&row_, sizeof row_, RowLayout(), &errors_);
    EXPECT_EQ(table_.Open(), tx::Level::Done);
  }
  ~ReportRunTest() override {
    table_.Close();
    tx::SetToolkit(previous_);
  }

  void AddRows(int count) {
    for (int i = 1; i <= count; ++i) {
      row_ = RowRecord{};
      row_.ID = i;
      std::snprintf(row_.TEXT, sizeof row_.TEXT, "Row%d", i);
      ASSERT_EQ(table_.Insert(), tx::Level::Done);
    }
  }
  // The process prints each row's band; `fatalAt` makes that row's step fail.
  void InitProcess(int fatalAt = 0) {
    process_.Init(table_, sizeof row_, [this, fatalAt]() -> uint8_t {
      ++taken_;
      if (fatalAt && row_.ID == fatalAt) return tx::Level::Fatal;
      report_.engine.SetValue("ROW", std::string(row_.TEXT, strnlen(row_.TEXT, sizeof row_.TEXT)));
      return report_.engine.PrintBand("row") == tx::Level::Done ? tx::Level::Done : tx::Level::Fatal;
    });
  }
  int Messages(const std::string& caption) const {
    int n = 0;
    for (const auto& m : console_.Messages()) n += m.request.caption == caption;
    return n;
  }
  bool WindowOpened(const std::string& title) const {
    for (tx::WindowId w : console_.Windows())
      if (console_.Layout(w).title == title) return true;
    return false;
  }

  TempDir dir_;
  ScopedCwd cwd_;
  tx::ConsoleToolkit console_{nullptr};
  tx::WindowToolkit* previous_;
  tx::ErrorManager errors_;
  RowRecord row_;
  tx::FileManager table_;
  tx::ReportProcess process_;
  tx::Report report_{RowReportLayout(10), {}};
  int taken_ = 0;
};

}  // namespace txtest
