// book: the Preset Report of many presets in one PDF, each preset on pages of
// its own with an outline entry; files given in order, a folder's presets by
// number and name. Files that are no presets are named and skipped.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/line_console.h"
#include "cli/pdf_options.h"
#include "outputs/preset_book.h"

namespace {

// Progress as one line rewritten in place on a terminal, else a line per preset.
class Progress {
 public:
  Progress(bool quiet, bool terminal) : quiet_(quiet), terminal_(terminal) {}
  ~Progress() { End(); }
  void Show(size_t done, size_t total) {
    if (quiet_) return;
    std::fprintf(stderr, "%stonalyx-cli: book: %zu of %zu presets%s", terminal_ ? "\r" : "", done, total,
                 terminal_ ? "" : "\n");
    open_ = terminal_;
  }
  // Before any other line.
  void End() {
    if (open_) std::fputc('\n', stderr);
    open_ = false;
  }

 private:
  bool quiet_, terminal_;
  bool open_ = false;
};

bool HasPresetExtension(const std::string& path) {
  std::string ext = std::filesystem::path(path).extension().string();
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext == ".syx";
}

int Run(const std::vector<std::string>& args) {
  txcli::PdfOptions pdf;
  bool quiet = false, optionsEnded = false;
  std::vector<std::string> paths;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (!optionsEnded) {
      const int taken = txcli::TakePdfOption(args, i, pdf, "book");
      if (taken == txcli::EXIT_OK) continue;
      if (taken != -1) return taken;
      if (a == "--quiet") {
        quiet = true;
        continue;
      }
      if (a == "--") {
        optionsEnded = true;
        continue;
      }
      if (!a.empty() && a[0] == '-' && a != "-") return txcli::UsageError("book: unknown option '" + a + "'");
    }
    paths.push_back(a);
  }
  if (paths.size() < 2) return txcli::UsageError("book needs the output file and at least one preset file or folder");
  const std::string target = paths[0];
  std::error_code ec;
  // The output comes first: a preset or a folder there means the order was mixed up.
  if (HasPresetExtension(target) || std::filesystem::is_directory(target, ec))
    return txcli::UsageError("book: '" + target + "' is not an output file; the PDF to write comes first");
  if (const int finished = txcli::FinishPdfOptions(pdf, "book"); finished != txcli::EXIT_OK) return finished;

  std::vector<std::string> inputs;
  for (size_t i = 1; i < paths.size(); ++i) inputs.push_back(txcli::InputPath(paths[i]));

  txcli::LineConsole console;
  txcli::ToolkitScope scope(console);
  Progress progress(quiet, isatty(STDERR_FILENO) == 1);
  tx::PresetBookOptions options;
  options.target = target;
  options.compress = pdf.compress;
  options.password = pdf.password;
  options.embedFonts = pdf.embedFonts;
  options.skipped = [&](const std::string& file, const std::string& reason) {
    progress.End();
    std::fprintf(stderr, "tonalyx-cli: book: skipped '%s': %s\n", file.c_str(), reason.c_str());
  };
  options.warned = [&](const std::string& file, const std::string& text) {
    progress.End();
    std::fprintf(stderr, "tonalyx-cli: book: warning: '%s': %s\n", file.c_str(), text.c_str());
  };
  options.progress = [&](size_t done, size_t total) { progress.Show(done, total); };

  const tx::PresetBookResult r = tx::WritePresetBook(tx::BookFiles(inputs), options);
  progress.End();
  if (r.complete) {
    if (!quiet)
      std::fprintf(stderr, "tonalyx-cli: book: %zu presets on %d pages written to '%s'; %zu skipped\n", r.written,
                   r.pages, target.c_str(), r.skipped);
    else if (r.skipped > 0)
      std::fprintf(stderr, "tonalyx-cli: book: %zu skipped\n", r.skipped);
    return txcli::EXIT_OK;
  }
  if (!r.failure.empty()) std::fprintf(stderr, "tonalyx-cli: book: %s\n", r.failure.c_str());
  std::fprintf(stderr, "tonalyx-cli: book: '%s' was not written; %zu skipped\n", target.c_str(), r.skipped);
  return txcli::EXIT_FAILED;
}

txcli::Registration reg(
    {"book", "[--password PW | --password-file FILE] [--no-compress] [--embed-fonts] [--quiet] OUT.pdf PRESET.syx|FOLDER...",
     "write the Preset Reports of many presets (files, or every .syx of a folder) as one PDF with a bookmark each",
     Run});

}  // namespace
