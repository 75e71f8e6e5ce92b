// What `cmake --install` puts in place for the desktop: the programs, the
// shipped data, the menu entry, the icon and the MIME type of presets.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

int Shell(const std::string& command) {
  const int status = std::system((command + " > /dev/null 2>&1").c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Slurp(const fs::path& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(Install, ProgramsDataMenuEntryIconAndPresetType) {
  txtest::TempDir prefix;
  ASSERT_EQ(Shell("DESTDIR= cmake --install '" + std::string(TONALYX_BUILD_DIR) + "' --prefix '" +
                  prefix.path().string() + "'"),
            0);
  const fs::path p = prefix.path();
  for (const char* file : {"bin/tonalyx", "bin/tonalyx-cli", "share/tonalyx/assets/block_block.bmp",
                           "share/tonalyx/assets/block_amp_bypass.bmp", "share/tonalyx/assets/ui/tonalyx.png",
                           "share/tonalyx/assets/ui/background.png", "share/tonalyx/Masters/Gen1/default.axeml",
                           "share/tonalyx/Masters/Gen2/default.profile", "share/icons/hicolor/48x48/apps/tonalyx.png",
                           "share/mime/packages/tonalyx.xml"})
    EXPECT_TRUE(fs::is_regular_file(p / file)) << file;
  const std::string entry = Slurp(p / "share/applications/tonalyx.desktop");
  EXPECT_NE(entry.find("\nExec=tonalyx %F\n"), std::string::npos);
  EXPECT_NE(entry.find("\nIcon=tonalyx\n"), std::string::npos);
  EXPECT_NE(entry.find("\nMimeType=application/x-axe-fx-preset;\n"), std::string::npos);
  const std::string mime = Slurp(p / "share/mime/packages/tonalyx.xml");
  EXPECT_NE(mime.find("<glob pattern=\"*.syx\"/>"), std::string::npos);
  if (Shell("command -v xmllint") == 0) {
    EXPECT_EQ(Shell("xmllint --noout '" + (p / "share/mime/packages/tonalyx.xml").string() + "'"), 0);
  }
  // The installed programs run from where they were put.
  EXPECT_EQ(Shell("'" + (p / "bin/tonalyx").string() + "' --version"), 0);
  EXPECT_EQ(Shell("'" + (p / "bin/tonalyx-cli").string() + "' --version"), 0);
  // The installed tonalyx-cli prints through the installed desktop program.
  const fs::path work = p / "work";
  fs::copy(p / "share/tonalyx", work, fs::copy_options::recursive);
  const std::string cli = "'" + (p / "bin/tonalyx-cli").string() + "' --workdir '" + work.string() + "' ";
  ASSERT_EQ(Shell(cli + "refresh"), 0);
  EXPECT_EQ(Shell(cli + "print --output printed.pdf '" + std::string(TONALYX_SOURCE_DIR) + "/examples/gen1_wah_trem.syx'"), 0);
  std::error_code ec;
  EXPECT_GT(fs::file_size(work / "printed.pdf", ec), 1000u);
  // A file manager that knows the type sees a sample preset as one.
  if (Shell("command -v gio") == 0 && Shell("command -v update-mime-database") == 0) {
    const std::string out = prefix.file("type.txt");
    const int status = std::system(("XDG_DATA_DIRS='" + (p / "share").string() + ":/usr/share' gio info -a standard::content-type '" +
                 std::string(TONALYX_SOURCE_DIR) + "/examples/gen2_clean_chorus.syx' > '" + out + "' 2>&1")
                    .c_str());
    EXPECT_EQ(status, 0);
    EXPECT_NE(Slurp(out).find("application/x-axe-fx-preset"), std::string::npos);
  }
}

}  // namespace
