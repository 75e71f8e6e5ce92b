#include "outputs/preset_report.h"

#include "devicedefs/tables.h"
#include "outputs/preset_report_layout.h"
#include "pdf/pdf_generator.h"
#include "report/print_preview.h"
#include "report/report_manager.h"
#include "report/report_process.h"
#include "report/report_target_selector.h"
#include "services/error_manager.h"
#include "services/settings.h"

namespace tx {

namespace {

// The PDF writer as this report sets it up.
class PresetReportPdf : public PDFGenerator {
 public:
  PresetReportPdf(const PresetState& state, const PresetReportOptions& options)
      : state_(state), options_(options) {}

  void SetUp() override {
    SetDocumentInfo("Tonalyx", "Tonalyx", "Tonalyx", state_.PRESETNAME.view(), PRESET_REPORT_AUTHOR,
                    PRESET_REPORT_KEYWORDS);
    SetPagesAsParentBookmark(0);
    SetCompression(options_.compress, options_.compress);
    SetPassword(options_.password ? *options_.password : std::string());
    SetEmbedFonts(options_.embedFonts);
  }

 private:
  const PresetState& state_;
  const PresetReportOptions& options_;
};

class PresetReportPreview : public PrintPreview {
 public:
  PresetReportPreview(WindowToolkit& toolkit, const PresetReportOptions& options)
      : PrintPreview(toolkit), options_(options) {}
  uint8_t OutputHook(std::vector<std::string>& files) override {
    if (options_.filesWritten) options_.filesWritten(files);
    return 0;
  }

 private:
  const PresetReportOptions& options_;
};

// Opening the report prints the block image band, so the image is the first
// thing on the first page after the page header.
class PresetReportManager : public ReportManager {
 public:
  PresetReportManager(WindowToolkit& toolkit, const PresetState& state, const std::string& imageFile)
      : ReportManager(toolkit), state_(state), imageFile_(imageFile) {}

  uint8_t OpenReport() override {
    uint8_t result = ReportManager::OpenReport();
    if (result != Level::Done || !ReportOpened()) return result;
    SetPresetValues(REPORT->engine, state_);
    if (PrintBlockImageBand(REPORT->engine, imageFile_) != Level::Done) {
      OPENFAILED = 1;
      RESPONSE = 2;
      return Level::Fatal;
    }
    return Level::Done;
  }

 private:
  const PresetState& state_;
  const std::string& imageFile_;
};

}  // namespace

void PresetReport() { PresetReport(PresetReportOptions{}); }

void PresetReport(const PresetReportOptions& options) {
  WindowToolkit& toolkit = options.toolkit ? *options.toolkit : Toolkit();
  ErrorManager& errors = options.errors ? *options.errors : GlobalErrors();
  errors.EnterProcedure("PresetReport");
  TableSet& t = Tables();
  if (t.MXPreset.Open() == Level::Done) {
    const PresetState& state = Current().state;
    PresetReportPdf pdf(state, options);
    pdf.Init(options.targetName);
    ReportTargetSelector selector(toolkit);
    selector.AddItem(&pdf, 1);

    Report report{PresetReportLayout(), {}};
    PresetReportPreview preview(toolkit, options);
    preview.SetINIManager(options.settings ? options.settings : &GlobalSettings());
    preview.ALLOWUSERZOOM = 1;
    preview.MAXIMIZE = 1;

    ReportProcess process;
    process.Init(t.MXPreset, sizeof(PresetRecord),
                 [&] { return static_cast<uint8_t>(PrintParameterLine(report.engine, t.preset) == 0 ? 0 : 3); });

    PresetReportManager manager(toolkit, state, options.imageFile);
    manager.SetErrors(&errors);
    manager.SetTargetSelector(&selector);
    manager.Init(&process, &report, &preview);
    manager.TIMER = 10;
    manager.SKIPPREVIEW = 0;
    manager.JOBNAME = "Preset Report";
    manager.Ask();
    manager.Kill();
    t.MXPreset.Close();
  }
  errors.LeaveProcedure();
}

}  // namespace tx
