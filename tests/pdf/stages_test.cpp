// The output stages one at a time: each does its one thing to the bytes and
// hands them on.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cerrno>
#include <string>
#include <vector>

#include "pdf/pdf_stages.h"
#include "pdf_test_support.h"
#include "support/temp_dir.h"

namespace {

// The last stage of a test chain: keeps what reaches it.
struct Collect : tx::PdfStage {
  using tx::PdfStage::Write;
  void Write(const char* data, size_t length) override { bytes.append(data, length); }
  std::string bytes;
};

TEST(PdfStages, EscapeCountAndEncryptPassTheirBytesOn) {
  Collect end;
  int32_t count = 0;
  tx::PdfCountStage counter(count, &end);
  tx::PdfEscapeStage escaper(&counter);
  escaper.Write(std::string_view("a(b)\\c\r\n\t\b\f", 11));
  EXPECT_EQ(end.bytes, "a\\(b\\)\\\\c\\r\\n\\t\\b\\f");
  EXPECT_EQ(count, static_cast<int32_t>(end.bytes.size()));

  tx::PdfSecurity security;
  ASSERT_TRUE(security.Init("secret", -44, "3f7a1c9e05b2d84a6e91c07f2b5d38e6"));
  std::string whole = "one stream, written in two pieces";
  Collect encrypted;
  tx::PdfEncryptStage rc4(security, 7, &encrypted);
  rc4.Write(whole.substr(0, 10));
  rc4.Write(whole.substr(10));
  security.Encrypt(7, reinterpret_cast<uint8_t*>(whole.data()), whole.size());
  EXPECT_EQ(encrypted.bytes, whole);  // the key stream runs on across pieces
}

TEST(PdfStages, FlateRoundTripsAndKeepsItsStateForTheNextStream) {
  tx::PdfFlate flate;
  for (const std::string& text : {std::string(5000, 'x') + "end", std::string("short")}) {
    std::vector<char> in(text.begin(), text.end()), out;
    ASSERT_TRUE(flate.Deflate(in, out));
    std::vector<char> back(text.size());
    uLongf size = back.size();
    ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(back.data()), &size, reinterpret_cast<const Bytef*>(out.data()),
                         out.size()),
              Z_OK);
    EXPECT_EQ(std::string(back.data(), size), text);
  }
}

TEST(PdfStages, FileStageWritesEverythingAndStopsAtTheFirstFailure) {
  txtest::TempDir dir;
  const std::string path = dir.file("out.bin");
  tx::FileReplacer out;
  ASSERT_TRUE(out.Open(path));
  tx::PdfFileStage file(4, nullptr);
  file.Attach(&out);
  file.Write("abcdefghij");
  EXPECT_TRUE(file.Drain());  // the "ij" that waited for a whole piece
  ASSERT_TRUE(out.Commit());
  EXPECT_EQ(txtest::ReadFile(path), "abcdefghij");

  std::vector<int> codes;
  tx::FileReplacer full;
  if (!full.Open("/dev/full")) GTEST_SKIP() << "no /dev/full";
  tx::PdfFileStage stage(4, [&](int code) { codes.push_back(code); });
  stage.Attach(&full);
  stage.Write("abcdefghijkl");
  EXPECT_FALSE(stage.Drain());
  EXPECT_EQ(codes, std::vector<int>{ENOSPC});
  EXPECT_TRUE(stage.Failed());
  full.Abandon();
}

}  // namespace
