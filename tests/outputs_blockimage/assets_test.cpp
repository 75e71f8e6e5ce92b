#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "draw/bmp_file.h"
#include "outputs/block_image.h"

namespace {

namespace fs = std::filesystem;

const fs::path kSource = TONALYX_SOURCE_DIR;

std::set<std::string> TypesOfSampleDefinitions() {
  std::set<std::string> types;
  const std::regex pool("<EffectPoolInstance\\b[^>]*\\bType=\"([^\"]+)\"");
  const std::regex parameter("<Parameter\\b[^>]*\\bEffectType=\"([^\"]+)\"");
  for (const char* file : {"Masters/Gen1/default.axeml", "Masters/Gen1/default.profile",
                           "Masters/Gen2/default.axeml", "Masters/Gen2/default.profile"}) {
    std::ifstream in(kSource / file);
    std::stringstream all;
    all << in.rdbuf();
    const std::string text = all.str();
    for (const auto* re : {&pool, &parameter})
      for (std::sregex_iterator it(text.begin(), text.end(), *re), end; it != end; ++it) {
        std::string t = (*it)[1];
        for (char& c : t) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        types.insert(t);
      }
  }
  return types;
}

double MeanLuma(const tx::BmpPicture& p) {
  double sum = 0;
  for (int row = 0; row < p.height; ++row)
    for (int col = 0; col < p.width; ++col) {
      const uint8_t* s = p.Row(row) + 3 * col;
      sum += 0.114 * s[0] + 0.587 * s[1] + 0.299 * s[2];
    }
  return sum / (p.width * p.height);
}

TEST(BlockPictures, EveryEffectTypeOfTheSampleDefinitionsHasBothPictures) {
  const auto types = TypesOfSampleDefinitions();
  ASSERT_GE(types.size(), 16u);
  for (const std::string& type : types) {
    for (const std::string suffix : {"", "_bypass"}) {
      const fs::path file = kSource / "assets" / ("block_" + type + suffix + ".bmp");
      tx::BmpPicture p;
      EXPECT_EQ(tx::ReadBmpFile(file.string(), p).status, tx::BmpPicture::OK) << file;
    }
  }
}

TEST(BlockPictures, AllPicturesAre24BitAtTheGridSizeAndBypassedOnesAreDimmer) {
  int pictures = 0;
  for (const auto& entry : fs::directory_iterator(kSource / "assets")) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("block_", 0) != 0 || entry.path().extension() != ".bmp") continue;
    tx::BmpPicture p;
    ASSERT_EQ(tx::ReadBmpFile(entry.path().string(), p).status, tx::BmpPicture::OK) << name;
    EXPECT_EQ(p.bitsPerPixel, 24) << name;
    EXPECT_EQ(p.width, tx::BLOCK_PICTURE_WIDTH) << name;
    EXPECT_EQ(p.height, tx::BLOCK_PICTURE_HEIGHT) << name;
    ++pictures;
    const std::string bypassed = entry.path().stem().string() + "_bypass.bmp";
    if (name.find("_bypass") != std::string::npos || !fs::exists(entry.path().parent_path() / bypassed)) continue;
    tx::BmpPicture dim;
    ASSERT_EQ(tx::ReadBmpFile((entry.path().parent_path() / bypassed).string(), dim).status, tx::BmpPicture::OK);
    EXPECT_LT(MeanLuma(dim), 0.5 * MeanLuma(p)) << name;
  }
  EXPECT_GT(pictures, 40);
  for (const char* fixed : {"block_block.bmp", "block_shunt.bmp", "block_unknown.bmp"})
    EXPECT_TRUE(fs::exists(kSource / "assets" / fixed)) << fixed;
}

TEST(BlockPictures, LinkStubsMeetTheConnectionLinesAtRows17And18) {
  tx::BmpPicture p;
  ASSERT_EQ(tx::ReadBmpFile((kSource / "assets/block_amp.bmp").string(), p).status, tx::BmpPicture::OK);
  for (int row : {17, 18})
    for (int col : {0, 1, tx::BLOCK_PICTURE_WIDTH - 2, tx::BLOCK_PICTURE_WIDTH - 1}) {
      const uint8_t* s = p.Row(row) + 3 * col;
      EXPECT_EQ(s[0] | (s[1] << 8) | (s[2] << 16), tx::BLOCK_LINK_COLOUR) << row << "," << col;
    }
}

}  // namespace
