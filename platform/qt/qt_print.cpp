// Printing report pages: the system's print dialog, then every page played
// onto the printer at its resolution.
#include <QPageSize>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include <algorithm>

#include "platform/qt/qt_toolkit_impl.h"
#include "platform/wmfplayer/wmf_player.h"

namespace tx {

bool QtToolkit::PrintPages(const std::vector<std::string>& pageFiles, std::string_view jobName) {
  std::vector<WmfPage> pages;
  for (const std::string& file : pageFiles)
    if (auto page = WmfPage::Load(file)) pages.push_back(std::move(*page));
  if (pages.empty()) return false;

  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(Q(jobName));
  printer.setFullPage(true);
  // The report's own paper, as a starting point the dialog may change.
  printer.setPageSize(QPageSize(QSizeF(pages.front().WidthInches(), pages.front().HeightInches()), QPageSize::Inch,
                                QString(), QPageSize::FuzzyMatch));
  if (!impl_->printAnswers.empty()) {
    // Answered by the driver: the job goes to a PDF file, or is cancelled.
    const std::optional<std::string> pdf = impl_->printAnswers.front();
    impl_->printAnswers.pop_front();
    if (!pdf) return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(Q(*pdf));
  } else {
    QPrintDialog dialog(&printer, impl_->DialogParent());
    dialog.setWindowTitle(QStringLiteral("Print"));
    if (dialog.exec() != QDialog::Accepted) return false;
  }
  return PrintOn(printer, pages);
}

bool QtToolkit::PrintOn(QPrinter& printer, const std::vector<WmfPage>& pages) {
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  for (size_t i = 0; i < pages.size(); ++i) {
    if (i > 0 && !printer.newPage()) return false;
    // Fitted to the paper, keeping the page's shape.
    const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
    const double scale = std::min(paper.width() / pages[i].WidthInches(), paper.height() / pages[i].HeightInches());
    PlayWmfPage(pages[i], painter, QRectF(0, 0, pages[i].WidthInches() * scale, pages[i].HeightInches() * scale));
  }
  return painter.end();
}

}  // namespace tx
