#pragma once
// One preset of a book turned into report pages: the file read and decoded,
// its rows filled into MXPreset, its block image drawn into a picture file
// of its own (the PDF writer tells images apart by file name), and the
// Preset Report's bands printed into page files. All table work happens on
// the thread that calls Render.
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "draw/canvas.h"
#include "platform/reportengine/report_engine.h"
#include "preset/fill_preset_table.h"

namespace tx {

struct TableSet;

struct PresetPages {
  std::string file;
  // Why the file stays out of the book; empty when it has pages.
  std::string skipReason;
  // The definition tables could not be read: the book cannot go on.
  bool fatal = false;
  std::string title;  // of its outline entry, "007 Clean Chorus"
  std::string warning;  // something the user should know, the pages made all the same
  std::unique_ptr<ReportEngine> engine;  // holds the page files until it goes
  std::vector<std::string> pages;
};

// The outline title of a preset: its number (three digits, left out when the
// preset has none) and its name; the file's name when the preset has none.
std::string BookTitle(const PresetState& state, const std::string& file);

class PresetPagesRenderer {
 public:
  // DBEffects and DBSelection open for reading, MXPreset open, on this thread;
  // block images go into `imageDirectory`.
  PresetPagesRenderer(TableSet& tables, std::string imageDirectory);
  // The `index`-th preset of the book (its image file is named after it).
  PresetPages Render(const std::string& file, size_t index);

 private:
  TableSet& t_;
  PresetTableFiller filler_;
  Canvas canvas_;
  std::string imageDirectory_;
};

}  // namespace tx
