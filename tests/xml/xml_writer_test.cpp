// Writing documents: element order, escaping, safe replacement of the target.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <pugixml.hpp>

#include "platform/xml/xml_writer.h"
#include "support/temp_dir.h"

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

size_t FilesIn(const std::filesystem::path& dir) {
  size_t n = 0;
  for (auto& e : std::filesystem::directory_iterator(dir)) (void)e, ++n;
  return n;
}

TEST(XmlWriter, WritesDeclarationParentAndGroupsInOrder) {
  txtest::TempDir dir;
  std::string path = dir.file("out.xml");
  tx::XmlWriter w;
  ASSERT_EQ(w.CreateXmlFile(path, "1.0", "UTF-8"), 0);
  w.CreateParent("Preset");
  w.CreateAttribute("Name", "A & B <\"x\">");
  w.CreateAttribute("Number", "7");
  w.AddParent();
  w.AddFromGroup({{"B", "  lead"}, {"A", "x<y & z"}}, "Effect");
  w.AddFromGroup({{"B", ""}, {"A", "2"}}, "Effect");
  w.CloseParent();
  ASSERT_EQ(w.CloseXmlFile(), 0) << w.error();

  std::string text = ReadAll(path);
  EXPECT_EQ(text.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>", 0), 0u) << text;
  pugi::xml_document doc;
  ASSERT_TRUE(doc.load_file(path.c_str()));
  pugi::xml_node preset = doc.child("Preset");
  ASSERT_TRUE(preset);
  EXPECT_STREQ(preset.first_attribute().name(), "Name");
  EXPECT_STREQ(preset.first_attribute().value(), "A & B <\"x\">");
  EXPECT_STREQ(preset.first_attribute().next_attribute().name(), "Number");
  pugi::xml_node e = preset.first_child();
  EXPECT_STREQ(e.name(), "Effect");
  EXPECT_STREQ(e.first_child().name(), "B");
  EXPECT_STREQ(e.first_child().text().get(), "  lead");  // leading spaces kept
  EXPECT_STREQ(e.first_child().next_sibling().text().get(), "x<y & z");
  EXPECT_STREQ(e.next_sibling().name(), "Effect");
  EXPECT_FALSE(e.next_sibling().next_sibling());
  EXPECT_EQ(FilesIn(dir.path()), 1u);  // no temporary file left
}

TEST(XmlWriter, ReplacesAnExistingFile) {
  txtest::TempDir dir;
  std::string path = dir.file("out.xml");
  std::ofstream(path) << "old";
  tx::XmlWriter w;
  ASSERT_EQ(w.CreateXmlFile(path, "1.0", "UTF-8"), 0);
  w.CreateParent("Preset");
  w.AddParent();
  w.CloseParent();
  ASSERT_EQ(w.CloseXmlFile(), 0);
  EXPECT_NE(ReadAll(path).find("<Preset"), std::string::npos);
}

TEST(XmlWriter, AnAbandonedDocumentLeavesThePreviousFile) {
  txtest::TempDir dir;
  std::string path = dir.file("out.xml");
  std::ofstream(path) << "previous";
  {
    tx::XmlWriter w;
    ASSERT_EQ(w.CreateXmlFile(path, "1.0", "UTF-8"), 0);
    w.CreateParent("Preset");
    w.AddParent();
  }
  EXPECT_EQ(ReadAll(path), "previous");
  EXPECT_EQ(FilesIn(dir.path()), 1u);
}

TEST(XmlWriter, CannotCreateInAMissingFolder) {
  txtest::TempDir dir;
  tx::XmlWriter w;
  EXPECT_NE(w.CreateXmlFile(dir.file("no/such/dir/out.xml"), "1.0", "UTF-8"), 0);
  EXPECT_FALSE(w.error().empty());
  EXPECT_NE(w.CloseXmlFile(), 0);
}

TEST(XmlSafeText, KeepsUtf8AndDropsWhatXmlForbids) {
  EXPECT_EQ(tx::XmlSafeText("Caf\xC3\xA9 \xE2\x82\xAC"), "Caf\xC3\xA9 \xE2\x82\xAC");
  EXPECT_EQ(tx::XmlSafeText(std::string("Lead\0\0\x01x", 8)), "Leadx");
  EXPECT_EQ(tx::XmlSafeText("a\tb\nc"), "a\tb\nc");
  // A lone Latin-1 byte becomes its UTF-8 form.
  EXPECT_EQ(tx::XmlSafeText("Caf\xE9"), "Caf\xC3\xA9");
  // A truncated sequence and an encoded surrogate are not UTF-8 either.
  EXPECT_EQ(tx::XmlSafeText("\xE2\x82"), "\xC3\xA2\xC2\x82");
  EXPECT_EQ(tx::XmlSafeText("\xED\xA0\x80"), "\xC3\xAD\xC2\xA0\xC2\x80");
}

}  // namespace
