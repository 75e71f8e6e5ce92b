#include "outputs/preset_book.h"

#include <stdlib.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <condition_variable>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
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

// Messages of the tables a renderer works on, kept instead of shown: a
// renderer runs on a thread of its own, where no window may be touched. The
// first one becomes the reason the book stops.
class KeptErrors : public ErrorManager {
 public:
  int Raise(uint16_t id) override {
    SetErrors();
    SetId(id);
    const MessageEntry& entry = Current();
    if (first.empty()) first = entry.TITLE + ": " + FilledMessage();
    if (entry.FATALITY == MessageLevel::Silent) return Level::Done;
    if (entry.FATALITY == MessageLevel::Notice) return Level::NotDone;
    return Level::Fatal;
  }
  unsigned Ask(uint16_t id, unsigned, unsigned defaultButton) override {
    Raise(id);
    return defaultButton;
  }
  std::string first;
};

// A renderer's own tables, opened and closed on its thread: its rows never
// reach the preset table of a window that is open meanwhile, and the
// definitions are only read.
class BookTables {
 public:
  BookTables() {
    InitTables(t, &errors);
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

  KeptErrors errors;
  TableSet t;

 private:
  std::vector<FileManager*> opened_;
};

// Presets rendered ahead on threads of their own while the caller writes
// the ones before into the document, taken in the book's order. At most
// `ahead` presets wait, so their page files never pile up.
class RenderPool {
 public:
  RenderPool(const std::vector<BookFile>& files, std::string imageDirectory, size_t workers, size_t ahead)
      : files_(files), imageDirectory_(std::move(imageDirectory)), ahead_(ahead) {
    for (size_t i = 0; i < workers; ++i) threads_.emplace_back([this] { Work(); });
  }
  ~RenderPool() {
    {
      std::lock_guard<std::mutex> guard(lock_);
      stop_ = true;
    }
    room_.notify_all();
    for (auto& t : threads_) t.join();
  }
  RenderPool(const RenderPool&) = delete;
  RenderPool& operator=(const RenderPool&) = delete;

  // Entry i (each once, in order), as soon as it is rendered.
  PresetPages Take(size_t i) {
    std::unique_lock<std::mutex> guard(lock_);
    ready_.wait(guard, [&] { return done_.count(i) > 0; });
    PresetPages p = std::move(done_[i]);
    done_.erase(i);
    taken_ = i + 1;
    room_.notify_all();
    return p;
  }

 private:
  void Work() {
    auto tables = std::make_unique<BookTables>();
    std::optional<PresetPagesRenderer> renderer;
    if (tables->ok()) renderer.emplace(tables->t, imageDirectory_);
    for (;;) {
      size_t i = 0;
      {
        std::unique_lock<std::mutex> guard(lock_);
        room_.wait(guard, [&] { return stop_ || next_ >= files_.size() || next_ < taken_ + ahead_; });
        if (stop_ || next_ >= files_.size()) break;
        i = next_++;
      }
      PresetPages p;
      p.file = files_[i].path;
      if (!files_[i].problem.empty()) {
        p.skipReason = files_[i].problem;
      } else if (!renderer) {
        p.fatal = true;
        p.skipReason = "the definition tables cannot be opened";
      } else {
        p = renderer->Render(files_[i].path, i);
      }
      if (p.fatal && !tables->errors.first.empty()) p.skipReason += " (" + tables->errors.first + ")";
      std::lock_guard<std::mutex> guard(lock_);
      done_[i] = std::move(p);
      ready_.notify_all();
    }
    // The tables close on the thread that opened them, before it ends.
    renderer.reset();
    tables.reset();
  }

  const std::vector<BookFile>& files_;
  const std::string imageDirectory_;
  const size_t ahead_;
  std::mutex lock_;
  std::condition_variable ready_, room_;
  size_t next_ = 0, taken_ = 0;
  std::map<size_t, PresetPages> done_;
  bool stop_ = false;
  std::vector<std::thread> threads_;
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

// What a started book holds, in the order it is taken down: the renderers
// stop before the document goes, and the images go last.
struct PresetBookWriter::Run {
  explicit Run(const PresetBookOptions& options)
      : pdf({"Preset book", options.compress, options.password, options.embedFonts}) {}
  ScratchDirectory images;
  BookPdf pdf;
  std::optional<RenderPool> pool;
  WMFParser parser;
};

PresetBookWriter::PresetBookWriter(std::vector<BookFile> files, PresetBookOptions options)
    : files_(std::move(files)), options_(std::move(options)) {}

PresetBookWriter::~PresetBookWriter() { Abandon(); }

bool PresetBookWriter::Start() {
  run_ = std::make_unique<Run>(options_);
  if (run_->images.path().empty()) {
    run_.reset();
    result_.failure = "no temporary directory for the block images";
    failed_ = true;
    return false;
  }
  run_->pdf.Init(options_.target);
  // Rendering a preset costs more than writing it into the document: the
  // renderers get a thread per processor, this thread writes.
  const size_t workers = std::clamp<size_t>(std::thread::hardware_concurrency(), 1, 4);
  run_->pool.emplace(files_, run_->images.path(), workers, 2 * workers);
  return true;
}

bool PresetBookWriter::Step() {
  if (!run_ || failed_ || done_ >= files_.size()) return false;
  PresetPages p = run_->pool->Take(done_);
  auto fail = [&](std::string why) {
    result_.failure = std::move(why);
    failed_ = true;
    return false;
  };
  if (p.fatal) return fail(p.file + ": " + p.skipReason);
  if (!p.skipReason.empty()) {
    ++result_.skipped;
    if (options_.skipped) options_.skipped(p.file, p.skipReason);
  } else {
    if (!p.warning.empty() && options_.warned) options_.warned(p.file, p.warning);
    run_->pdf.StartPreset(p.title);
    run_->parser.Init(&p.pages, &run_->pdf, &GlobalErrors());
    // A run that fails leaves half a preset in the document: the book ends
    // there, and the unfinished document never takes the target's place.
    if (run_->parser.Run(false) != Level::Done)
      return fail("the report pages of " + p.file + " could not be put in the document");
    if (run_->pdf.OutputFailed()) return fail({});  // the writer has said why
    ++result_.written;
    p.engine.reset();  // its page files go before more are made
  }
  ++done_;
  if (options_.progress) options_.progress(done_, files_.size());
  return done_ < files_.size();
}

PresetBookResult PresetBookWriter::Finish() {
  if (run_ && !failed_ && done_ == files_.size()) {
    if (result_.written == 0) {
      result_.failure = "no preset could be put in the book";
    } else {
      result_.pages = run_->pdf.Pages();
      result_.complete = run_->pdf.Finish() == Level::Done;
    }
  }
  Abandon();
  return result_;
}

void PresetBookWriter::Abandon() { run_.reset(); }

PresetBookResult WritePresetBook(const std::vector<BookFile>& files, const PresetBookOptions& options) {
  PresetBookWriter writer(files, options);
  if (writer.Start())
    while (writer.Step()) {
    }
  return writer.Finish();
}

}  // namespace tx
