#include "app/startup.h"

#include "app/main_window.h"
#include "app/working_dir.h"
#include "devicedefs/tables.h"
#include "services/error_manager.h"

namespace tx {

int RunTonalyx(WindowToolkit& toolkit, const std::vector<std::string>& startFiles) {
  ErrorManager& errors = GlobalErrors();
  SettingsManager& settings = GlobalSettings();
  settings.Init(SETTINGS_FILE, STORE_INI);
  InitTables(Tables(), &errors);
  toolkit.SetApplicationIcon(UiPicture("tonalyx.png"));
  toolkit.SetSessionEndHandlers([] { return true; }, [] {});
  {
    MainWindow window(toolkit, Tables(), Current());
    window.Run(startFiles);
  }
  settings.BeforeKill();
  settings.Kill();
  return 0;
}

}  // namespace tx
