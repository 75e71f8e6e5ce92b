// "Export XML": the document's shape, its texts, and the command around it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "devicedefs/tables.h"
#include "outputs/xml_export.h"
#include "platform/toolkit/console_toolkit.h"
#include "services/file_manager.h"
#include "support/failing_files.h"
#include "support/temp_dir.h"

namespace {

class XmlExport : public ::testing::Test {
 protected:
  XmlExport() : cwd_(dir_.path()) {
    previous_ = tx::SetToolkit(&console_);
    EXPECT_EQ(t_.MXPreset.Open(), tx::Level::Done);
  }
  ~XmlExport() override {
    t_.MXPreset.Close();
    tx::SetToolkit(previous_);
  }

  void AddRow(int effectId, const char* effectName, int parameterId, const char* screen, const char* x,
              const char* y, const char* unit, const char* modifier, const char* xActive, const char* yActive) {
    tx::PresetRecord& r = t_.preset;
    r = tx::PresetRecord();
    r.EFFECTID = effectId;
    r.EFFECTNAME = effectName;
    r.PARAMETERID = parameterId;
    r.SCREENNAME = screen;
    r.XVALUE = x;
    r.YVALUE = y;
    r.UNIT = unit;
    r.MODIFIERFLAG = modifier;
    r.XACTIVE = xActive;
    r.YACTIVE = yActive;
    ASSERT_EQ(t_.MXPreset.Insert(), tx::Level::Done);
  }

  int Write(const std::string& path, std::string_view name, int number) {
    std::string error;
    return tx::WritePresetXml(path, name, number, t_.MXPreset, t_.preset, error);
  }

  txtest::TempDir dir_;
  txtest::ScopedCwd cwd_;
  tx::ConsoleToolkit console_;
  tx::WindowToolkit* previous_ = nullptr;
  tx::TableSet t_;
};

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

bool XmllintAccepts(const std::string& path) {
  if (std::system("command -v xmllint >/dev/null 2>&1") != 0) return true;  // checked by pugixml below
  return std::system(("xmllint --noout '" + path + "'").c_str()) == 0;
}

TEST_F(XmlExport, AnEmptyPresetTableGivesThePresetElementAlone) {
  std::string path = dir_.file("empty.xml");
  ASSERT_EQ(Write(path, "", 0), 0);
  EXPECT_TRUE(XmllintAccepts(path));
  std::string text = ReadAll(path);
  EXPECT_EQ(text.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>", 0), 0u) << text;
  pugi::xml_document doc;
  ASSERT_TRUE(doc.load_file(path.c_str()));
  pugi::xml_node preset = doc.document_element();
  EXPECT_STREQ(preset.name(), "Preset");
  EXPECT_STREQ(preset.attribute("Name").value(), "");
  EXPECT_STREQ(preset.attribute("Number").value(), "0");  // 0 is written, not left blank
  EXPECT_FALSE(preset.first_child());
}

TEST_F(XmlExport, OneEffectPerRowWithTheTenFieldsInRecordOrder) {
  AddRow(106, "Amp 1", 0, "Type", "Plexi 50W", "Brit Crunch", "", "*", "*", "");
  AddRow(106, "Amp 1", 1, "Input Drive", "    5.00", "   10.00", "", "", "*", "");
  AddRow(112, "Delay 1", 3, "Time & <Feedback>", "     350", "", "ms", "", "", "*");
  std::string path = dir_.file("p.xml");
  ASSERT_EQ(Write(path, "Clean Rhythm" + std::string(18, ' '), 12), 0);
  EXPECT_TRUE(XmllintAccepts(path));

  pugi::xml_document doc;
  ASSERT_TRUE(doc.load_file(path.c_str()));
  pugi::xml_node preset = doc.child("Preset");
  pugi::xml_attribute a = preset.first_attribute();
  EXPECT_STREQ(a.name(), "Name");
  EXPECT_STREQ(a.value(), "Clean Rhythm");
  EXPECT_STREQ(a.next_attribute().name(), "Number");
  EXPECT_STREQ(a.next_attribute().value(), "12");

  std::vector<pugi::xml_node> effects;
  for (pugi::xml_node e : preset.children()) effects.push_back(e);
  ASSERT_EQ(effects.size(), 3u);
  const char* order[] = {"EFFECTID", "EFFECTNAME", "PARAMETERID", "SCREENNAME", "XVALUE",
                         "YVALUE",   "UNIT",       "MODIFIERFLAG", "XACTIVE",   "YACTIVE"};
  for (pugi::xml_node e : effects) {
    EXPECT_STREQ(e.name(), "Effect");
    pugi::xml_node f = e.first_child();
    for (const char* name : order) {
      ASSERT_TRUE(f) << name;
      EXPECT_STREQ(f.name(), name);
      f = f.next_sibling();
    }
    EXPECT_FALSE(f);
  }
  EXPECT_STREQ(effects[0].child_value("XVALUE"), "Plexi 50W");
  EXPECT_STREQ(effects[0].child_value("MODIFIERFLAG"), "*");
  // Leading spaces of formatted numbers stay; trailing padding goes.
  EXPECT_STREQ(effects[1].child_value("XVALUE"), "    5.00");
  EXPECT_STREQ(effects[1].child_value("SCREENNAME"), "Input Drive");
  EXPECT_STREQ(effects[1].child_value("MODIFIERFLAG"), "");
  EXPECT_STREQ(effects[2].child_value("EFFECTID"), "112");
  EXPECT_STREQ(effects[2].child_value("PARAMETERID"), "3");
  EXPECT_STREQ(effects[2].child_value("SCREENNAME"), "Time & <Feedback>");
  EXPECT_STREQ(effects[2].child_value("UNIT"), "ms");
  EXPECT_STREQ(effects[2].child_value("YACTIVE"), "*");
}

TEST_F(XmlExport, BytesXmlCannotCarryAreLeftOutOrConverted) {
  AddRow(106, "Amp\x01 1", 0, "Caf\xE9", "x", "", "", "", "*", "");
  std::string path = dir_.file("odd.xml");
  ASSERT_EQ(Write(path, std::string("Lead\0\0\0", 7) + "   ", -3), 0);
  EXPECT_TRUE(XmllintAccepts(path));
  pugi::xml_document doc;
  ASSERT_TRUE(doc.load_file(path.c_str()));
  EXPECT_STREQ(doc.child("Preset").attribute("Name").value(), "Lead");
  EXPECT_STREQ(doc.child("Preset").attribute("Number").value(), "-3");
  EXPECT_STREQ(doc.child("Preset").child("Effect").child_value("EFFECTNAME"), "Amp 1");
  EXPECT_STREQ(doc.child("Preset").child("Effect").child_value("SCREENNAME"), "Caf\xC3\xA9");
}

TEST_F(XmlExport, TheCommandProposesTheNameAndWritesWhereTheDialogSays) {
  AddRow(106, "Amp 1", 0, "Type", "Plexi", "", "", "", "*", "");
  tx::PresetState state;
  state.PRESETNAME = "Clean Rhythm";
  state.PRESETNUMBER = 7;
  console_.QueueFilePath(dir_.file("chosen.xml"));
  std::string exportPath;
  ASSERT_TRUE(tx::ExportPresetXml(state, t_.MXPreset, t_.preset, exportPath));
  ASSERT_EQ(console_.FileDialogs().size(), 1u);
  const tx::FileDialogRequest& d = console_.FileDialogs()[0];
  EXPECT_TRUE(d.save);
  EXPECT_EQ(d.title, "Export Preset To XML");
  EXPECT_EQ(d.filter, "XML (*.xml)|*.xml");
  EXPECT_EQ(d.proposedPath, "Clean Rhythm.xml");
  EXPECT_EQ(exportPath, dir_.file("chosen.xml"));
  EXPECT_NE(ReadAll(dir_.file("chosen.xml")).find("Name=\"Clean Rhythm\" Number=\"7\""), std::string::npos);
}

TEST_F(XmlExport, ABlankNameProposesDotXml) {
  tx::PresetState state;
  console_.QueueFileCancel();
  std::string exportPath;
  EXPECT_FALSE(tx::ExportPresetXml(state, t_.MXPreset, t_.preset, exportPath));
  ASSERT_EQ(console_.FileDialogs().size(), 1u);
  EXPECT_EQ(console_.FileDialogs()[0].proposedPath, ".xml");
  EXPECT_FALSE(std::filesystem::exists(dir_.path() / ".xml"));  // cancelled: nothing written
}

TEST_F(XmlExport, ExportingTwiceReplacesTheFile) {
  std::string path = dir_.file("twice.xml");
  AddRow(106, "Amp 1", 0, "Type", "A", "", "", "", "*", "");
  ASSERT_EQ(Write(path, "First", 1), 0);
  AddRow(107, "Amp 2", 0, "Type", "B", "", "", "", "*", "");
  ASSERT_EQ(Write(path, "Second", 2), 0);
  pugi::xml_document doc;
  ASSERT_TRUE(doc.load_file(path.c_str()));
  EXPECT_STREQ(doc.child("Preset").attribute("Name").value(), "Second");
  EXPECT_EQ(std::distance(doc.child("Preset").begin(), doc.child("Preset").end()), 2);
  size_t files = 0;
  for (auto& e : std::filesystem::directory_iterator(dir_.path())) files += e.path().extension() == ".xml";
  EXPECT_EQ(files, 1u);
}

TEST_F(XmlExport, AFileThatCannotBeCreatedEndsTheExportSilently) {
  tx::PresetState state;
  state.PRESETNAME = "X";
  console_.QueueFilePath(dir_.file("missing/folder/x.xml"));
  std::string exportPath;
  EXPECT_FALSE(tx::ExportPresetXml(state, t_.MXPreset, t_.preset, exportPath));
  EXPECT_TRUE(console_.Messages().empty());
  EXPECT_FALSE(std::filesystem::exists(dir_.path() / "missing"));
}

TEST_F(XmlExport, EveryFailingWriteKeepsTheOldFileAndLeavesNothingBeside) {
  for (int p = 0; p < 300; ++p) AddRow(106, "Amp 1", p, "Drive", "  5.00", "  6.00", "dB", "", "X", "");
  std::filesystem::create_directory("out");
  { std::ofstream("out/old.xml") << "previous export"; }
  txtest::UnderEveryWriteFailure([&] { return Write("out/old.xml", "Lead", 7) == 0; },
                                 [&] { return txtest::DirectoryState("out"); });
}

}  // namespace
