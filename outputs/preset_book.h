#pragma once
// A book of presets: the Preset Report of every preset of a list, one after
// another in one PDF. Each preset starts on a new page and counts its pages
// from 1, shows its own block image, and has one outline entry titled with
// its number and name ("007 Clean Chorus") that opens its first page. A file
// that cannot be read or is not a preset is skipped with the reason; the
// book goes on. The page files of a preset are replayed into the open
// document and removed before the next preset, so memory stays flat however
// many presets there are. The document takes the target's place only once
// it is complete: a failed book leaves no file and an existing one as it was.
//
//   auto files = BookFiles({"live.syx", "presets/"});
//   PresetBookOptions options;
//   options.target = "book.pdf";
//   PresetBookResult r = WritePresetBook(files, options);
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tx {

struct BookFile {
  std::string path;
  // Known before the book starts (a folder that cannot be listed or holds
  // no preset): the entry is skipped with this reason.
  std::string problem;
};

// The files of a book from the files and folders given, in this order: a
// file stands for itself; a folder for its .syx files (not those of its
// subfolders), sorted by preset number, then name, then file name.
std::vector<BookFile> BookFiles(const std::vector<std::string>& inputs);

struct PresetBookOptions {
  std::string target;
  bool compress = true;
  std::optional<std::string> password;
  bool embedFonts = false;  // the TrueType fonts carried in the PDF
  // Told of every entry left out, with the reason, and of warnings.
  std::function<void(const std::string& file, const std::string& reason)> skipped;
  std::function<void(const std::string& file, const std::string& text)> warned;
  // After every entry: entries done (written or skipped) of all.
  std::function<void(size_t done, size_t total)> progress;
};

struct PresetBookResult {
  size_t written = 0;  // presets in the book
  size_t skipped = 0;  // entries left out
  int pages = 0;
  bool complete = false;  // the target was written
  std::string failure;    // why not, when that is not a message already shown
};

// A book written one entry at a time, for a caller that shows how far it
// is and may stop between entries. The renderers read their own tables on
// threads of their own; everything else, options' callbacks included, runs
// on the calling thread.
//
//   PresetBookWriter writer(files, options);
//   if (writer.Start())
//     while (writer.Step()) {}
//   PresetBookResult r = writer.Finish();
class PresetBookWriter {
 public:
  PresetBookWriter(std::vector<BookFile> files, PresetBookOptions options);
  ~PresetBookWriter();  // abandons a book not finished
  PresetBookWriter(const PresetBookWriter&) = delete;
  PresetBookWriter& operator=(const PresetBookWriter&) = delete;

  // Starts the renderers; false when the book cannot even start.
  bool Start();
  // Takes the next entry, as soon as it is rendered, and writes or skips
  // it. False when no step is left: every entry taken, or the book failed.
  bool Step();
  // After the last step: puts the document in the target's place, unless a
  // step failed (or steps are left: then the book is abandoned); the outcome.
  PresetBookResult Finish();
  // Stops the renderers (waiting for them), removes the temporary images
  // and drops the document: the target stays as it was.
  void Abandon();

  size_t Done() const { return done_; }  // entries written or skipped
  size_t Total() const { return files_.size(); }

 private:
  struct Run;
  std::vector<BookFile> files_;
  PresetBookOptions options_;
  PresetBookResult result_;
  std::unique_ptr<Run> run_;
  size_t done_ = 0;
  bool failed_ = false;
};

// Reads DBEffects and DBSelection (opened for reading here unless open
// already) and fills MXPreset, on the calling thread.
PresetBookResult WritePresetBook(const std::vector<BookFile>& files, const PresetBookOptions& options);

}  // namespace tx
