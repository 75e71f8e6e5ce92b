#include "outputs/preset_book.h"

#include <stdlib.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <memory>
#include <tuple>

#include "base/file_io.h"
#include "devicedefs/tables.h"
#include "outputs/book_pages.h"
#include "outputs/book_pdf.h"
#include "preset/parse_preset.h"
#include "report/wmf_parser.h"
#include "services/error_manager.h"
#include "services/file_manager.h"

namespace tx {

namespace fs = std::filesystem;

namespace {

bool IsPresetFileName(const fs::path& p) {
  std::string ext = p.extension().string();
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext == ".syx";
}

// How a folder's presets are ordered: by number, then name, then file name;
// files that are no presets after them, by file name, to be skipped there.
struct SortKey {
  int number = INT_MAX;
  std::string name;
  std::string file;
  bool operator<(const SortKey& o) const { return std::tie(number, name, file) < std::tie(o.number, o.name, o.file); }
};

SortKey KeyOf(const std::string& file) {
  SortKey key;
  key.file = file;
  std::string content;
  if (!ReadFileStart(file, PRESET_BUFFER_SIZE, content)) return key;
  const PresetBuffer buffer = FitPresetBuffer(content);
  if (!PresetRejection(buffer).empty()) return key;
  CurrentPreset preset;
  ParsePreset(buffer, preset);
  key.number = preset.state.PRESETNUMBER;
  key.name = preset.state.PRESETNAME.str();
  return key;
}

void AddFolder(const std::string& folder, std::vector<BookFile>& out) {
  std::error_code ec;
  std::vector<SortKey> keys;
  fs::directory_iterator it(folder, ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    std::error_code typeError;
    if (it->is_directory(typeError) || !IsPresetFileName(it->path())) continue;
    keys.push_back(KeyOf(it->path().string()));
  }
  if (ec) {
    out.push_back({folder, "cannot list the folder: " + ec.message()});
    return;
  }
  if (keys.empty()) {
    out.push_back({folder, "the folder holds no .syx file"});
    return;
  }
  std::sort(keys.begin(), keys.end());
  for (auto& k : keys) out.push_back({std::move(k.file), {}});
}

// A directory of its own for the block images, removed with everything in it.
class ScratchDirectory {
 public:
  ScratchDirectory() {
    std::error_code ec;
    std::string tmpl = (fs::temp_directory_path(ec) / "tonalyx-book-XXXXXX").string();
    if (!ec && mkdtemp(tmpl.data())) path_ = tmpl;
  }
  ~ScratchDirectory() {
    std::error_code ec;
    if (!path_.empty()) fs::remove_all(path_, ec);
  }
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// The book's own tables: its rows never reach the preset table of a window
// that is open meanwhile. The definitions are only read.
class BookTables {
 public:
  BookTables() {
    for (FileManager* f : {&t.DBEffects, &t.DBSelection, &t.MXPreset}) {
      if (f != &t.MXPreset) f->OPENMODE = OPEN_READ_ONLY;
      if (f->Open() != Level::Done) return;
      opened_.push_back(f);
    }
  }
  ~BookTables() {
    for (FileManager* f : opened_) f->Close();
  }
  BookTables(const BookTables&) = delete;
  BookTables& operator=(const BookTables&) = delete;
  bool ok() const { return opened_.size() == 3; }

  TableSet t;

 private:
  std::vector<FileManager*> opened_;
};

}  // namespace

std::vector<BookFile> BookFiles(const std::vector<std::string>& inputs) {
  std::vector<BookFile> out;
  for (const std::string& input : inputs) {
    std::error_code ec;
    if (fs::is_directory(input, ec)) {
      AddFolder(input, out);
    } else {
      out.push_back({input, {}});
    }
  }
  return out;
}

PresetBookResult WritePresetBook(const std::vector<BookFile>& files, const PresetBookOptions& options) {
  PresetBookResult r;
  ScratchDirectory images;
  if (images.path().empty()) {
    r.failure = "no temporary directory for the block images";
    return r;
  }
  auto tables = std::make_unique<BookTables>();
  if (!tables->ok()) {
    r.failure = "the definition tables cannot be opened";
    return r;
  }
  BookPdf pdf({"Preset book", options.compress, options.password, options.embedFonts});
  pdf.Init(options.target);
  PresetPagesRenderer renderer(tables->t, images.path());
  WMFParser parser;
  size_t done = 0;
  auto progress = [&] {
    ++done;
    if (options.progress) options.progress(done, files.size());
  };
  auto skip = [&](const std::string& file, const std::string& reason) {
    ++r.skipped;
    if (options.skipped) options.skipped(file, reason);
    progress();
  };

  for (size_t i = 0; i < files.size(); ++i) {
    if (!files[i].problem.empty()) {
      skip(files[i].path, files[i].problem);
      continue;
    }
    PresetPages p = renderer.Render(files[i].path, i);
    if (p.fatal) {
      r.failure = p.file + ": " + p.skipReason;
      return r;
    }
    if (!p.skipReason.empty()) {
      skip(p.file, p.skipReason);
      continue;
    }
    if (!p.warning.empty() && options.warned) options.warned(p.file, p.warning);
    pdf.StartPreset(p.title);
    parser.Init(&p.pages, &pdf, &GlobalErrors());
    // A run that fails leaves half a preset in the document: the book ends
    // there, and the unfinished document never takes the target's place.
    if (parser.Run(false) != Level::Done) {
      r.failure = "the report pages of " + p.file + " could not be put in the document";
      return r;
    }
    if (pdf.OutputFailed()) return r;  // the writer has said why
    ++r.written;
    p.engine.reset();  // its page files go before the next preset makes its own
    progress();
  }
  if (r.written == 0) {
    r.failure = "no preset could be put in the book";
    return r;
  }
  r.pages = pdf.Pages();
  r.complete = pdf.Finish() == Level::Done;
  return r;
}

}  // namespace tx
