#pragma once
// A fresh set of tables in a scratch working directory, with messages caught
// by a console toolkit that does not end the process on fatal levels.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "devicedefs/tables.h"
#include "platform/toolkit/console_toolkit.h"
#include "services/error_manager.h"
#include "support/temp_dir.h"

namespace txtest {

class TablesFixture : public ::testing::Test {
 protected:
  TempDir dir;
  ScopedCwd cwd{dir.path()};
  tx::ConsoleToolkit toolkit;
  tx::WindowToolkit* previous = nullptr;
  std::unique_ptr<tx::ErrorManager> errors;
  std::unique_ptr<tx::TableSet> tables;

  void SetUp() override {
    previous = tx::SetToolkit(&toolkit);
    toolkit.SetHaltExits(false);
    errors = std::make_unique<tx::ErrorManager>();
    tables = std::make_unique<tx::TableSet>();
    tx::InitTables(*tables, errors.get());
  }
  void TearDown() override {
    tables.reset();
    errors.reset();
    tx::SetToolkit(previous);
  }

  const std::vector<tx::ConsoleToolkit::ShownMessage>& Shown() const { return toolkit.Messages(); }
};

}  // namespace txtest
