// Arbitrary bytes as a report page file, parsed into the PDF generator. The
// parser must never read outside the record it holds, never loop forever and
// never crash, whatever the page holds.
//
// Seed it with real pages: bench_report_pipeline --keep DIR leaves a report's
// page files in DIR.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "pdf/pdf_generator.h"
#include "report/wmf_parser.h"
#include "services/error_manager.h"

namespace {

class QuietErrors : public tx::ErrorManager {
 public:
  int Raise(uint16_t) override {
    // Alternate the answers so that "go on" and "end the page" paths run too.
    ++count;
    return count % 3 == 0 ? 3 : (count % 3 == 1 ? 0 : 5);
  }
  unsigned count = 0;
};

class QuietPdf : public tx::PDFGenerator {
 protected:
  void ShowMessage(std::string_view, std::string_view) override {}
};

std::string ScratchPath(const char* name) {
  static const std::string dir = [] {
    std::string d = (std::filesystem::temp_directory_path() / ("tonalyx-fuzz-" + std::to_string(getpid()))).string();
    std::filesystem::create_directories(d);
    return d;
  }();
  return dir + "/" + name;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string page = ScratchPath("page.wmf");
  const std::string pdf = ScratchPath("out.pdf");
  FILE* f = std::fopen(page.c_str(), "wb");
  if (!f) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);
  std::vector<std::string> pages{page, page};
  QuietErrors errors;
  QuietPdf generator;
  generator.Init(pdf);
  generator.SetCompression(true, false);
  tx::WMFParser parser;
  parser.Init(&pages, &generator, &errors);
  parser.Run(false);
  return 0;
}
