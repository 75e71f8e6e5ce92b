// The standard security handler: RC4, keys, /O and /U, encrypted strings
// and the encryption dictionary.
#include <gtest/gtest.h>

#include <nettle/md5.h>

#include "pdf/pdf_security.h"
#include "pdf_test_support.h"
#include "support/temp_dir.h"

using namespace txtest;

namespace {
std::string Crypt(std::string_view key, std::string text) {
  tx::Rc4 rc4(reinterpret_cast<const uint8_t*>(key.data()), key.size());
  rc4.Crypt(reinterpret_cast<uint8_t*>(text.data()), text.size());
  return text;
}
}  // namespace

TEST(PdfSecurity, Rc4MatchesPublishedVectors) {
  EXPECT_EQ(Crypt("Key", "Plaintext"), "\xBB\xF3\x16\xE8\xD9\x40\xAF\x0A\xD3");
  EXPECT_EQ(Crypt("Wiki", "pedia"), "\x10\x21\xBF\x04\x20");
  EXPECT_EQ(Crypt("Secret", "Attack at dawn"), "\x45\xA0\x1F\x64\x5F\xC3\x5B\x38\x35\x52\x54\x4B\x9B\xF5");
  // A fresh key stream undoes the first.
  EXPECT_EQ(Crypt("Key", Crypt("Key", "round trip")), "round trip");
}

TEST(PdfSecurity, PasswordIsPaddedOrCutToThirtyTwoBytes) {
  auto empty = tx::PdfSecurity::PadPassword("");
  EXPECT_EQ(empty[0], 0x28);
  EXPECT_EQ(empty[31], 0x7A);
  auto abc = tx::PdfSecurity::PadPassword("abc");
  EXPECT_EQ(abc[2], 'c');
  EXPECT_EQ(abc[3], 0x28);
  tx::PdfSecurity longer, cut;
  std::string password(40, 'p');
  password[35] = 'x';
  longer.Init(password, -44, "00");
  cut.Init(password.substr(0, 32), -44, "00");
  EXPECT_EQ(longer.O(), cut.O());
  EXPECT_EQ(longer.U(), cut.U());
}

TEST(PdfSecurity, HexIdBecomesBytes) {
  EXPECT_EQ(tx::PdfSecurity::HexToBytes("3f7A"), std::string("\x3f\x7a", 2));
  EXPECT_EQ(tx::PdfSecurity::HexToBytes("abc"), std::string("\xab\xc0", 2));
  EXPECT_EQ(tx::PdfSecurity::HexToBytes("zz"), std::string("\x00", 1));
}

TEST(PdfSecurity, ObjectKeyHashesFileKeyAndObjectNumber) {
  tx::PdfSecurity s;
  ASSERT_TRUE(s.Init("pw", -44, "3f7a1c9e05b2d84a6e91c07f2b5d38e6"));
  const auto& k = s.FileHash();
  uint8_t material[10] = {k[0], k[1], k[2], k[3], k[4], 0x05, 0x00, 0x00, 0x00, 0x00};
  uint8_t hash[16];
  md5_ctx ctx;
  md5_init(&ctx);
  md5_update(&ctx, 10, material);
  md5_digest(&ctx, 16, hash);
  auto key = s.ObjectKey(5);
  EXPECT_TRUE(std::equal(key.begin(), key.end(), hash));
  // Object numbers go in least significant byte first.
  material[5] = 0x34;
  material[6] = 0x12;
  md5_init(&ctx);
  md5_update(&ctx, 10, material);
  md5_digest(&ctx, 16, hash);
  auto big = s.ObjectKey(0x1234);
  EXPECT_TRUE(std::equal(big.begin(), big.end(), hash));
}

TEST(PdfSecurity, KeyStringsEscapeTheirSpecialBytes) {
  std::array<uint8_t, 32> v{};
  v.fill('a');
  v[0] = '(';
  v[1] = ')';
  v[2] = '\\';
  v[3] = '\r';
  v[4] = '\n';
  v[5] = '\t';
  v[6] = 0;
  std::string e = tx::EscapeKeyString(v);
  EXPECT_EQ(e.substr(0, 13), std::string("\\(\\)\\\\\\r\\n\\t\0", 13));
  EXPECT_EQ(e.size(), 32u + 6u);
}

namespace {
std::string EncryptedDoc(TestGenerator& g, const std::string& path, const std::string& password,
                         const std::string& title) {
  g.Init(path);
  g.SetPassword(password, 44);
  g.SetDocumentInfo(title, "", "", "", "", "");
  g.BeginDocument(1);
  g.BeginPage("p", 0, 0, 8500, 11000);
  g.EmitString("", "Secret text", Text(1000, 1000));
  g.FinishPage();
  EXPECT_EQ(g.FinishDocument(), tx::Level::Done);
  return ReadFile(path);
}
}  // namespace

TEST(PdfSecurity, EncryptionDictionaryAndTrailerEntry) {
  TempDir dir;
  TestGenerator g;
  std::string pdf = EncryptedDoc(g, dir.file("e.pdf"), "pw", "T");
  // Stream 6, page 7, font 8, then the dictionary.
  EXPECT_NE(pdf.find("9 0 obj\r\n<< \r\n/Filter /Standard\r\n/R 2\r\n/O ("), std::string::npos);
  EXPECT_NE(pdf.find(")\r\n/P -44\r\n/V 1\r\n/Length 72\r\n>> \r\nendobj\r\n"), std::string::npos);
  EXPECT_NE(pdf.find("/Info 1 0 R\r\n/Encrypt 9 0 R\r\n/Root 2 0 R\r\n"), std::string::npos);
  EXPECT_EQ(XrefProblems(pdf), "");
  EXPECT_EQ(pdf.find("Secret"), std::string::npos);
  auto r = RunTool("qpdf --password=pw --show-encryption " + dir.file("e.pdf"));
  EXPECT_NE(r.output.find("R = 2"), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("P = -44"), std::string::npos) << r.output;
}

TEST(PdfSecurity, EmptyPasswordLeavesTheDocumentOpen) {
  TempDir dir;
  TestGenerator g;
  std::string pdf = EncryptedDoc(g, dir.file("e.pdf"), "", "Open");
  EXPECT_EQ(pdf.find("/Encrypt"), std::string::npos);
  EXPECT_EQ(pdf.find("/Filter /Standard"), std::string::npos);
  EXPECT_NE(pdf.find("/Title (Open)"), std::string::npos);
  EXPECT_NE(pdf.find("(Secret text)"), std::string::npos);
  EXPECT_EQ(XrefProblems(pdf), "");
}

TEST(PdfSecurity, EncryptedTitleBytesAreEscaped) {
  // Pick the title byte that encrypts to "(" under the key of object 1.
  tx::PdfSecurity s;
  s.Init("pw", -44, "3f7a1c9e05b2d84a6e91c07f2b5d38e6");
  uint8_t zero = 0;
  s.Encrypt(1, &zero, 1);
  std::string title(1, static_cast<char>(0x28 ^ zero));
  TempDir dir;
  TestGenerator g;
  std::string pdf = EncryptedDoc(g, dir.file("e.pdf"), "pw", title);
  EXPECT_NE(pdf.find("/Title (\\()\r\n"), std::string::npos);
  auto info = RunTool("pdfinfo -upw pw " + dir.file("e.pdf"));
  EXPECT_EQ(info.status, 0) << info.output;
}

TEST(PdfSecurity, DocumentsWithTheSamePasswordShareKeys) {
  TempDir dir;
  TestGenerator a, b;
  std::string one = EncryptedDoc(a, dir.file("a.pdf"), "pw", "T");
  std::string two = EncryptedDoc(b, dir.file("b.pdf"), "pw", "T");
  auto o = [](const std::string& pdf) { return pdf.substr(pdf.find("/O ("), 40); };
  EXPECT_EQ(o(one), o(two));
  TestGenerator c;
  std::string other = EncryptedDoc(c, dir.file("c.pdf"), "other", "T");
  EXPECT_NE(o(one), o(other));
}

TEST(PdfSecurity, CompressedEncryptedStreamsAndStringsDecryptToThePlainBytes) {
  TempDir dir;
  TestGenerator g;
  g.SetCompression(true, false);
  std::string pdf = EncryptedDoc(g, dir.file("e.pdf"), "pw", "Hidden title");
  EXPECT_NE(pdf.find("6 0 obj\r\n<< /Filter /Fl /Length "), std::string::npos);
  EXPECT_EQ(pdf.find("Hidden title"), std::string::npos);
  // Compressed first, encrypted second: an independent reader undoes both.
  auto r = RunTool("qpdf --password=pw --decrypt --stream-data=uncompress " + dir.file("e.pdf") + " " +
                   dir.file("d.pdf"));
  ASSERT_EQ(r.status, 0) << r.output;
  std::string plain = ReadFile(dir.file("d.pdf"));
  EXPECT_NE(plain.find("(Hidden title)"), std::string::npos);
  EXPECT_NE(plain.find("BT\r\n/F1 10 Tf\r\n0 0 0 rg\r\n1 0 0 1 72 710 Tm [(Secret text)] TJ\r\nET\r\n"),
            std::string::npos);
}
