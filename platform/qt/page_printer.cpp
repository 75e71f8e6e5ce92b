#include "platform/qt/page_printer.h"

#include <QGuiApplication>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

#include <cstdlib>

#include "platform/qt/qt_toolkit.h"
#include "platform/qt/runtime_dir.h"
#include "platform/wmfplayer/wmf_page.h"

namespace tx {

namespace {

void EnsureApplication() {
  if (QCoreApplication::instance()) return;
  // Printing shows no window: no display is needed, nor opened where there is one.
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  EnsureRuntimeDir();
  static int argc = 1;
  static char name[] = "tonalyx";
  static char* argv[] = {name, nullptr};
  static QGuiApplication* app = new QGuiApplication(argc, argv);
  (void)app;
}

}  // namespace

std::string PrinterProblem(const PrintTarget& target) {
  EnsureApplication();
  if (!target.pdfFile.empty()) return {};
  if (!target.printer.empty()) {
    if (QPrinterInfo::printerInfo(QString::fromStdString(target.printer)).isNull())
      return "unknown printer '" + target.printer + "'";
    return {};
  }
  if (QPrinterInfo::defaultPrinter().isNull()) {
    if (QPrinterInfo::availablePrinters().isEmpty()) return "no printer is set up";
    return "no default printer; name one with --printer";
  }
  return {};
}

std::string PrintPageFiles(const std::vector<std::string>& pageFiles, std::string_view jobName,
                           const PrintTarget& target) {
  if (std::string problem = PrinterProblem(target); !problem.empty()) return problem;
  std::vector<WmfPage> pages;
  for (const std::string& file : pageFiles) {
    std::string why;
    auto page = WmfPage::Load(file, &why);
    if (!page) return "cannot read page '" + file + "': " + why;
    pages.push_back(std::move(*page));
  }
  if (pages.empty()) return "no page to print";
  QPrinter printer(QPrinter::HighResolution);
  if (target.pdfFile.empty()) {
    printer.setPrinterName(QString::fromStdString(
        target.printer.empty() ? QPrinterInfo::defaultPrinter().printerName().toStdString() : target.printer));
  } else {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(target.pdfFile));
  }
  printer.setDocName(QString::fromUtf8(jobName.data(), static_cast<qsizetype>(jobName.size())));
  printer.setFullPage(true);
  printer.setPageSize(QPageSize(QSizeF(pages.front().WidthInches(), pages.front().HeightInches()), QPageSize::Inch,
                                QString(), QPageSize::FuzzyMatch));
  if (!QtToolkit::PrintOn(printer, pages))
    return target.pdfFile.empty() ? "the printer did not take the job" : "cannot write '" + target.pdfFile + "'";
  return {};
}

}  // namespace tx
