// tonalyx-cli book on the sample presets, read back by qpdf, pdftotext and
// pdfimages: the order of files and folders, one outline entry per preset at
// its first page, page numbers from 1 per preset, each preset's own block
// image; skipped files, exits and what is left behind.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/cli_fixture.h"

namespace {

namespace fs = std::filesystem;
using txtest::Have;
using txtest::Quote;
using txtest::Shell;
using txtest::Slurp;

class BookCommand : public txtest::CliFixture {
 protected:
  Shell Run(const std::string& command) { return CliFixture::Run(command, "/dev/null"); }
};

TEST_F(BookCommand, PresetsInOrderWithBookmarksPageNumbersAndTheirOwnImages) {
  if (!Have("qpdf") || !Have("pdftotext") || !Have("pdfimages")) GTEST_SKIP() << "readers missing";
  // A folder: sorted by preset number (Lead + Pitch has none), then name;
  // a file that is no preset is skipped there, a subfolder is not entered.
  const fs::path folder = scratch_.path() / "presets";
  fs::create_directories(folder / "deeper");
  for (const char* name : {"gen1_brit_crunch", "gen1_wah_trem", "gen2_lead_pitch"})
    fs::copy_file(Sample(name), folder / (std::string(name) + ".SYX"));
  fs::copy_file(Sample("gen2_clean_chorus"), folder / "deeper" / "clean.syx");
  std::ofstream(folder / "notes.syx") << "not a preset";
  std::ofstream(folder / "readme.txt") << "not a preset file name";
  const std::string pdf = scratch_.file("book.pdf");

  Shell r = Cli("book " + Quote(pdf) + " " + Quote(Sample("gen2_clean_chorus")) + " " + Quote(folder.string()) + " " +
                Quote(Sample("gen2_clean_chorus")));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("skipped '" + (folder / "notes.syx").string() +
                       "': This does not appear to be a valid Axe-FX Preset File!\n"),
            std::string::npos)
      << r.err;
  EXPECT_NE(r.err.find("tonalyx-cli: book: 6 of 6 presets\n"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("5 presets on "), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("; 1 skipped\n"), std::string::npos) << r.err;
  EXPECT_TRUE(fs::is_empty(scratch_.path() / "tmp"));  // no page files, no pictures left

  EXPECT_EQ(Run("qpdf --check " + Quote(pdf)).status, 0);
  const std::string outline = Run("qpdf --json --json-key=outlines " + Quote(pdf)).out;
  std::vector<std::pair<std::string, int>> entries;
  static const std::regex entry(R"re("destpageposfrom1": (\d+),[^}]*?"title": "([^"]*)")re");
  for (auto it = std::sregex_iterator(outline.begin(), outline.end(), entry); it != std::sregex_iterator(); ++it)
    entries.push_back({(*it)[2], std::stoi((*it)[1])});
  const std::vector<std::string> titles = {"007 Clean Chorus", "Lead + Pitch", "012 Wah Trem", "058 Brit Crunch",
                                           "007 Clean Chorus"};
  ASSERT_EQ(entries.size(), titles.size()) << outline;

  // Each bookmark opens the preset's page 1; its pages count on from there.
  std::vector<std::string> pages;
  const std::string text = Run("pdftotext -layout " + Quote(pdf) + " -").out;
  std::stringstream split(text);
  for (std::string page; std::getline(split, page, '\f');) pages.push_back(page);
  for (size_t i = 0; i < entries.size(); ++i) {
    SCOPED_TRACE(titles[i]);
    EXPECT_EQ(entries[i].first, titles[i]);
    const int first = entries[i].second;
    const int next = i + 1 < entries.size() ? entries[i + 1].second : static_cast<int>(pages.size()) + 1;
    ASSERT_LT(first, next);
    ASSERT_LE(static_cast<size_t>(next - 1), pages.size());
    const std::string name = titles[i].substr(titles[i].find_first_not_of("0123456789 "));
    for (int p = first; p < next; ++p) {
      EXPECT_TRUE(std::regex_search(pages[static_cast<size_t>(p - 1)], std::regex("^\\s*" + std::regex_replace(
                                                                                     name, std::regex(R"([+])"), R"(\+)"))));
      EXPECT_TRUE(std::regex_search(pages[static_cast<size_t>(p - 1)],
                                    std::regex("Page:\\s+" + std::to_string(p - first + 1) + "\\s*\n")));
    }
  }

  // One picture per preset, on its first page, each the preset's own.
  const std::string list = Run("pdfimages -list " + Quote(pdf)).out;
  std::vector<int> imagePages;
  static const std::regex image(R"(\n\s*(\d+)\s+\d+\s+image\s+758\s+206\s+rgb)");
  for (auto it = std::sregex_iterator(list.begin(), list.end(), image); it != std::sregex_iterator(); ++it)
    imagePages.push_back(std::stoi((*it)[1]));
  std::vector<int> firstPages;
  for (const auto& e : entries) firstPages.push_back(e.second);
  EXPECT_EQ(imagePages, firstPages) << list;
  ASSERT_EQ(Run("pdfimages -png " + Quote(pdf) + " " + Quote(scratch_.file("im"))).status, 0);
  std::vector<std::string> pictures;
  for (size_t i = 0; i < titles.size(); ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "im-%03zu.png", i);
    pictures.push_back(Slurp(scratch_.path() / name));
  }
  EXPECT_EQ(pictures[0], pictures[4]);  // the same preset twice
  EXPECT_EQ(std::set<std::string>(pictures.begin(), pictures.end()).size(), 4u);
}

TEST_F(BookCommand, SkippedFilesExitsAndAnExistingFileKept) {
  const std::string pdf = scratch_.file("out.pdf");
  std::ofstream(pdf) << "old contents";
  fs::create_directory(scratch_.path() / "empty");
  std::ofstream(scratch_.file("junk.syx")) << "not a preset";

  // Nothing usable: exit 1, each file named, the old file as it was.
  Shell r = Cli("book --quiet " + Quote(pdf) + " " + Quote(scratch_.file("junk.syx")) + " " +
                Quote(scratch_.file("missing.syx")) + " " + Quote(scratch_.file("empty")));
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("'" + scratch_.file("missing.syx") + "': cannot read: No such file or directory"),
            std::string::npos)
      << r.err;
  EXPECT_NE(r.err.find("'" + scratch_.file("empty") + "': the folder holds no .syx file"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("3 skipped"), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find(" of "), std::string::npos);  // --quiet: no progress
  EXPECT_EQ(Slurp(pdf), "old contents");

  // Usage: the output first, at least one input; a preset file is never overwritten.
  EXPECT_EQ(Cli("book").status, 2);
  EXPECT_EQ(Cli("book " + Quote(pdf)).status, 2);
  EXPECT_EQ(Cli("book --bogus " + Quote(pdf) + " " + Quote(Sample("gen1_wah_trem"))).status, 2);
  EXPECT_EQ(Cli("book " + Quote(scratch_.file("junk.syx")) + " " + Quote(Sample("gen1_wah_trem"))).status, 2);
  EXPECT_EQ(Slurp(scratch_.file("junk.syx")), "not a preset");

  // One good preset among bad ones makes a book; encrypted from a password file.
  std::ofstream(scratch_.file("pw")) << "s3cret\n";
  r = Cli("book --quiet --password-file " + Quote(scratch_.file("pw")) + " " + Quote(pdf) + " " +
          Quote(scratch_.file("junk.syx")) + " " + Quote(Sample("gen1_wah_trem")));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("tonalyx-cli: book: 1 skipped\n"), std::string::npos) << r.err;
  if (Have("qpdf")) {
    EXPECT_NE(Run("qpdf --check " + Quote(pdf)).status, 0);
    EXPECT_EQ(Run("qpdf --password=s3cret --check " + Quote(pdf)).status, 0);
  }
}

TEST_F(BookCommand, EmbeddedFontsReadTheSameWithoutTheFontsInstalled) {
  if (!Have("pdffonts") || !Have("pdftoppm")) GTEST_SKIP() << "readers missing";
  std::ofstream(scratch_.file("no-fonts.conf")) << "<?xml version=\"1.0\"?>\n<fontconfig></fontconfig>\n";
  const std::string plain = scratch_.file("plain.pdf"), book = scratch_.file("book.pdf"),
                    report = scratch_.file("report.pdf");
  const std::string presets = Quote(Sample("gen1_brit_crunch")) + " " + Quote(Sample("gen2_lead_pitch"));
  ASSERT_EQ(Cli("book --quiet " + Quote(plain) + " " + presets).status, 0);
  ASSERT_EQ(Cli("book --quiet --embed-fonts " + Quote(book) + " " + presets).status, 0);
  ASSERT_EQ(Cli("pdf --quiet --embed-fonts " + Quote(Sample("gen2_clean_chorus")) + " " + Quote(report)).status, 0);
  for (const std::string& pdf : {book, report}) {
    SCOPED_TRACE(pdf);
    EXPECT_EQ(Run("qpdf --check " + Quote(pdf)).status, 0);
    const std::string fonts = Run("pdffonts " + Quote(pdf)).out;
    std::stringstream lines(fonts);
    int listed = 0;
    for (std::string line; std::getline(lines, line);) {
      if (line.find("TrueType") == std::string::npos) continue;
      ++listed;
      EXPECT_TRUE(std::regex_search(line, std::regex(R"(^[A-Z]{6}\+LiberationSans\S*\s+TrueType\s+WinAnsi\s+yes yes)")))
          << line;
    }
    EXPECT_EQ(listed, 3) << fonts;  // regular, bold, italic
  }
  // Rendered where no font is installed, the book shows what the one without
  // its fonts shows where they are.
  const std::string with = scratch_.file("with"), without = scratch_.file("without");
  ASSERT_EQ(Run("pdftoppm -r 40 -png " + Quote(plain) + " " + Quote(with)).status, 0);
  ASSERT_EQ(Run("FONTCONFIG_FILE=" + Quote(scratch_.file("no-fonts.conf")) + " pdftoppm -r 40 -png " + Quote(book) +
                " " + Quote(without))
                .status,
            0);
  int pages = 0;
  for (int p = 1; fs::exists(with + "-" + std::to_string(p) + ".png"); ++p, ++pages)
    EXPECT_EQ(Slurp(with + "-" + std::to_string(p) + ".png"), Slurp(without + "-" + std::to_string(p) + ".png"))
        << "page " << p;
  EXPECT_GE(pages, 4);
}

}  // namespace
