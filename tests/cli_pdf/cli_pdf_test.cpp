// tonalyx-cli pdf on the sample presets, checked by independent readers
// (qpdf, pdftotext, pdfimages, pdffonts) against what decode says the preset
// holds; and the command's exits, its files and its password options.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
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

struct Row {
  std::string effect, screen, x, y, unit, modifier, xActive, yActive;
};

std::string Trim(const std::string& s) {
  size_t a = s.find_first_not_of(' '), b = s.find_last_not_of(' ');
  return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

std::string Escaped(const std::string& s) { return std::regex_replace(s, std::regex(R"([.^$|()\[\]{}*+?\\])"), R"(\$&)"); }

class PdfCommand : public txtest::CliFixture {
 protected:
  Shell Run(const std::string& command) { return CliFixture::Run(command, "&1"); }
  std::vector<Row> Decoded(const std::string& preset) {
    Shell r = Cli("decode --json " + Quote(preset));
    EXPECT_EQ(r.status, 0) << r.err;
    static const std::regex row(
        R"re(\{"effectId": \d+, "effectName": "([^"]*)", "parameterId": \d+, "screenName": "([^"]*)", "xValue": "([^"]*)", "yValue": "([^"]*)", "unit": "([^"]*)", "modifier": "([^"]*)", "xActive": "([^"]*)", "yActive": "([^"]*)"\})re");
    std::vector<Row> rows;
    for (auto it = std::sregex_iterator(r.out.begin(), r.out.end(), row); it != std::sregex_iterator(); ++it)
      rows.push_back({(*it)[1], (*it)[2], Trim((*it)[3]), Trim((*it)[4]), (*it)[5], (*it)[6], (*it)[7], (*it)[8]});
    return rows;
  }
  // Leftovers of a run: page directories in its temporary directory, or a
  // temporary PDF beside the target.
  bool Leftovers() const {
    if (LeftoverPages()) return true;
    for (const auto& e : fs::directory_iterator(scratch_.path()))
      if (e.path().filename().string().rfind(".out.pdf.", 0) == 0) return true;
    return false;
  }
  bool LeftoverPages() const { return !fs::is_empty(scratch_.path() / "tmp"); }
};

TEST_F(PdfCommand, EverySampleReportReadsBackLineByLine) {
  if (!Have("qpdf") || !Have("pdftotext") || !Have("pdfimages") || !Have("pdffonts")) GTEST_SKIP() << "readers missing";
  for (const char* name : {"gen1_brit_crunch", "gen1_wah_trem", "gen2_clean_chorus", "gen2_lead_pitch"}) {
    SCOPED_TRACE(name);
    const std::string pdf = scratch_.file("out.pdf");
    Shell r = Cli("pdf " + Quote(Sample(name)) + " " + Quote(pdf));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("Progress... 100% Complete\n"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find('\r'), std::string::npos);  // plain lines: stderr is no terminal here
    EXPECT_FALSE(LeftoverPages());
    Shell check = Run("qpdf --check " + Quote(pdf));
    EXPECT_EQ(check.status, 0) << check.out;
    EXPECT_NE(check.out.find("No syntax or stream encoding errors"), std::string::npos);
    Shell info = Run("pdfinfo " + Quote(pdf));
    EXPECT_NE(info.out.find("Producer:        Tonalyx"), std::string::npos) << info.out;

    // The block image once, on page 1, at the size the grid is drawn.
    Shell images = Run("pdfimages -list " + Quote(pdf));
    std::regex image(R"(\n\s+1\s+0\s+image\s+758\s+206\s+rgb)");
    EXPECT_TRUE(std::regex_search(images.out, image)) << images.out;
    EXPECT_EQ(std::count(images.out.begin(), images.out.end(), '\n'), 3) << images.out;
    Shell fonts = Run("pdffonts " + Quote(pdf));
    EXPECT_NE(fonts.out.find("LiberationSans,Bold"), std::string::npos) << fonts.out;
    EXPECT_NE(fonts.out.find("LiberationSans,Italic"), std::string::npos) << fonts.out;

    Shell text = Run("pdftotext -layout " + Quote(pdf) + " -");
    ASSERT_EQ(text.status, 0);
    std::vector<Row> rows = Decoded(Sample(name));
    ASSERT_FALSE(rows.empty());
    const bool gen2 = std::string(name).rfind("gen2", 0) == 0;
    // Each page: the name bar first, "Page:" and its number in the footer.
    std::vector<std::string> pages;
    std::stringstream split(text.out);
    for (std::string page; std::getline(split, page, '\f');)
      if (!Trim(page).empty()) pages.push_back(page);
    ASSERT_GE(pages.size(), 2u);
    std::smatch named;
    const std::string decoded = Cli("decode --json " + Quote(Sample(name))).out;
    ASSERT_TRUE(std::regex_search(decoded, named, std::regex(R"re("name": "([^"]*)")re")));
    const std::string presetName = named[1];
    for (size_t p = 0; p < pages.size(); ++p) {
      EXPECT_TRUE(std::regex_search(pages[p], std::regex("^\\s*" + Escaped(presetName)))) << pages[p];
      EXPECT_TRUE(std::regex_search(pages[p], std::regex("Page:\\s+" + std::to_string(p + 1) + "\\s*\n")))
          << "page " << p + 1;
    }
    // Group headers and parameter lines, in stored order.
    size_t at = 0;
    std::string effect;
    for (const Row& row : rows) {
      if (row.effect != effect) {
        effect = row.effect;
        std::string header = Escaped(row.effect) + "\\s+" + (gen2 ? "X Value" : "Value") +
                             (row.xActive == "*" ? "\\s+\\*" : "") + (gen2 ? "\\s+Y Value" : "") +
                             (row.yActive == "*" ? "\\s+\\*" : "") + "\\s*\n";
        std::smatch m;
        std::string rest = text.out.substr(at);
        ASSERT_TRUE(std::regex_search(rest, m, std::regex(header))) << "group header of " << row.effect;
        at += static_cast<size_t>(m.position(0) + m.length(0));
      }
      std::string line = "\n\\s*" + Escaped(row.screen);
      for (const std::string& part : {row.x, row.modifier, row.y, row.unit})
        if (!part.empty()) line += "\\s+" + Escaped(part);
      line += "\\s*\n";
      std::smatch m;
      std::string rest = text.out.substr(at > 0 ? at - 1 : 0);
      ASSERT_TRUE(std::regex_search(rest, m, std::regex(line))) << row.effect << " / " << row.screen;
      at += static_cast<size_t>(m.position(0) + m.length(0)) - (at > 0 ? 1 : 0);
    }
    if (!gen2) {
      for (const Row& row : rows) EXPECT_EQ(row.y, "");
    }
  }
}

TEST_F(PdfCommand, FailuresLeaveNoDocumentAndKeepAnExistingOne) {
  const std::string pdf = scratch_.file("out.pdf");
  std::ofstream(pdf) << "old contents";
  std::ofstream(scratch_.file("junk.syx")) << "not a preset at all";

  Shell r = Cli("pdf " + Quote(scratch_.file("missing.syx")) + " " + Quote(pdf));
  EXPECT_EQ(r.status, 3);
  EXPECT_NE(r.err.find("cannot read"), std::string::npos) << r.err;
  r = Cli("pdf " + Quote(scratch_.file("junk.syx")) + " " + Quote(pdf));
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("does not appear to be a valid Axe-FX Preset File"), std::string::npos) << r.err;

  // Tables never refreshed: the preset decodes to no rows.
  txtest::TempDir empty;
  r = Cli("pdf --quiet " + Quote(Sample("gen2_clean_chorus")) + " " + Quote(pdf), empty.path());
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("No Records: There are no records available to process."), std::string::npos) << r.err;
  EXPECT_EQ(Slurp(pdf), "old contents");
  EXPECT_FALSE(Leftovers());

  r = Cli("pdf " + Quote(Sample("gen2_clean_chorus")) + " " + Quote(scratch_.file("no/such/dir/out.pdf")));
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("no/such/dir/out.pdf"), std::string::npos) << r.err;
  EXPECT_FALSE(LeftoverPages());

  // Usage: the exact contract.
  EXPECT_EQ(Cli("pdf").status, 2);
  EXPECT_EQ(Cli("pdf " + Quote(Sample("gen2_clean_chorus"))).status, 2);
  EXPECT_EQ(Cli("pdf --bogus a.syx b.pdf").status, 2);
  EXPECT_EQ(Cli("pdf --password '' " + Quote(Sample("gen2_clean_chorus")) + " " + Quote(pdf)).status, 2);
  EXPECT_EQ(Slurp(pdf), "old contents");

  r = Cli("pdf --quiet " + Quote(Sample("gen1_wah_trem")) + " " + Quote(pdf));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(Slurp(pdf).rfind("%PDF-1.3", 0), 0u);
  EXPECT_FALSE(Leftovers());

  // A name without an extension is the file written, not one beside it.
  const std::string bare = scratch_.file("report");
  std::ofstream(bare + ".PDF") << "someone else's";
  EXPECT_EQ(Cli("pdf --quiet " + Quote(Sample("gen1_wah_trem")) + " " + Quote(bare)).status, 0);
  EXPECT_EQ(Slurp(bare).rfind("%PDF-1.3", 0), 0u);
  EXPECT_EQ(Slurp(bare + ".PDF"), "someone else's");
}

TEST_F(PdfCommand, AnEncryptedReportOpensOnlyWithItsPassword) {
  if (!Have("qpdf") || !Have("pdftotext")) GTEST_SKIP() << "readers missing";
  const std::string pdf = scratch_.file("locked.pdf");
  Shell r = Cli("pdf --quiet --password s3cret " + Quote(Sample("gen2_lead_pitch")) + " " + Quote(pdf));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(Run("qpdf --check " + Quote(pdf)).status, 0);
  EXPECT_EQ(Run("qpdf --password=s3cret --check " + Quote(pdf)).status, 0);
  EXPECT_NE(Run("pdftotext " + Quote(pdf) + " -").status, 0);
  Shell text = Run("pdftotext -upw s3cret " + Quote(pdf) + " -");
  EXPECT_EQ(text.status, 0);
  EXPECT_NE(text.out.find("Lead + Pitch"), std::string::npos);

  // From a file, first line only; a long one counts by its first 32 bytes.
  const std::string longPassword = "0123456789abcdefghijklmnopqrstuvWXYZ";
  std::ofstream(scratch_.file("pw")) << longPassword << "\r\nsecond line\n";
  r = Cli("pdf --quiet --password-file " + Quote(scratch_.file("pw")) + " " + Quote(Sample("gen1_brit_crunch")) + " " +
          Quote(pdf));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("only its first 32 bytes"), std::string::npos) << r.err;
  EXPECT_EQ(Run("qpdf --password=" + longPassword.substr(0, 32) + " --check " + Quote(pdf)).status, 0);
  EXPECT_NE(Run("qpdf --password=" + longPassword.substr(0, 31) + " --check " + Quote(pdf)).status, 0);

  std::ofstream(scratch_.file("empty")) << "\nsecret\n";
  EXPECT_EQ(Cli("pdf --password-file " + Quote(scratch_.file("empty")) + " a.syx b.pdf").status, 2);
  EXPECT_EQ(Cli("pdf --password-file " + Quote(scratch_.file("nothing")) + " a.syx b.pdf").status, 2);
  EXPECT_EQ(Cli("pdf --password x --password-file " + Quote(scratch_.file("pw")) + " a.syx b.pdf").status, 2);
  EXPECT_EQ(Cli("pages2pdf --password '' b.pdf page.wmf").status, 2);
  EXPECT_EQ(Cli("pages2pdf --password-file").status, 2);
}

}  // namespace
