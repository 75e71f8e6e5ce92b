// Reading record elements into fixed-width text queues.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "platform/xml/xml_reader.h"
#include "support/temp_dir.h"

namespace {

using tx::LoadXmlQueue;
using tx::TextQueue;
using tx::XmlLoadResult;
using tx::XmlLoadRules;

std::string Write(const txtest::TempDir& dir, const std::string& name, const std::string& text) {
  std::string path = dir.file(name);
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

TextQueue PoolQueue() { return TextQueue("EOQ", {{"ID", 4}, {"NAME", 32}, {"TYPE", 32}, {"TYPEID", 4}, {"BYPASSID", 4}}); }

TEST(XmlRecords, AttributesAndChildElementsFillFieldsAlike) {
  txtest::TempDir dir;
  std::string path = Write(dir, "pool.xml", R"(<?xml version="1.0"?>
<Root>
  <EffectPool>
    <EffectPoolInstance ID="106" Name="Amp 1" Type="Amp" TypeID="5"/>
    <EffectPoolInstance><ID>108</ID><Name>Cab 1</Name><Type>Cab</Type><TypeID>6</TypeID></EffectPoolInstance>
    <EffectPoolInstance id="110" NAME="Reverb 1"><tYpE>Reverb</tYpE></EffectPoolInstance>
  </EffectPool>
  <EffectPoolInstance ID="999" Name="outside the pool"/>
</Root>)");
  TextQueue q = PoolQueue();
  XmlLoadResult r = LoadXmlQueue(path, {.element = "EffectPoolInstance", .parent = "EffectPool"}, q);
  ASSERT_EQ(r.status, XmlLoadResult::Loaded);
  ASSERT_EQ(r.rows, 3);
  ASSERT_EQ(q.size(), 3u);
  EXPECT_EQ(q.Text(0, q.F("ID")), "106");
  EXPECT_EQ(q.Text(0, q.F("NAME")), "Amp 1");
  EXPECT_EQ(q.Text(0, q.F("TYPEID")), "5");
  EXPECT_EQ(q.Text(1, q.F("ID")), "108");
  EXPECT_EQ(q.Text(1, q.F("TYPE")), "Cab");
  EXPECT_EQ(q.Text(1, q.F("TYPEID")), "6");
  // Mixed letter case in attribute and element names.
  EXPECT_EQ(q.Text(2, q.F("ID")), "110");
  EXPECT_EQ(q.Text(2, q.F("NAME")), "Reverb 1");
  EXPECT_EQ(q.Text(2, q.F("TYPE")), "Reverb");
  EXPECT_EQ(q.Text(2, q.F("TYPEID")), "");
  EXPECT_EQ(q.Text(2, q.F("BYPASSID")), "");
}

TEST(XmlRecords, ValuesAreCutToTheFieldWidth) {
  txtest::TempDir dir;
  std::string path = Write(dir, "pool.xml",
                           "<P><EffectPool><EffectPoolInstance ID='12345' Name='" + std::string(40, 'n') +
                               "'/></EffectPool></P>");
  TextQueue q = PoolQueue();
  LoadXmlQueue(path, {.element = "EffectPoolInstance", .parent = "EffectPool"}, q);
  ASSERT_EQ(q.size(), 1u);
  EXPECT_EQ(q.Raw(0, q.F("ID")), "1234");
  EXPECT_EQ(q.Raw(0, q.F("NAME")), std::string(32, 'n'));
}

TEST(XmlRecords, LoadsAppendAndLeaveEarlierRowsAlone) {
  txtest::TempDir dir;
  std::string path = Write(dir, "pool.xml", "<P><EffectPool><EffectPoolInstance ID='1'/></EffectPool></P>");
  TextQueue q = PoolQueue();
  LoadXmlQueue(path, {.element = "EffectPoolInstance", .parent = "EffectPool"}, q);
  LoadXmlQueue(path, {.element = "EffectPoolInstance", .parent = "EffectPool"}, q);
  EXPECT_EQ(q.size(), 2u);
}

TEST(XmlRecords, UnreadableMalformedAndMissingElementAppendNothing) {
  txtest::TempDir dir;
  TextQueue q = PoolQueue();
  XmlLoadRules rules{.element = "EffectPoolInstance", .parent = "EffectPool"};

  XmlLoadResult missing = LoadXmlQueue(dir.file("nope.xml"), rules, q);
  EXPECT_EQ(missing.status, XmlLoadResult::Unreadable);

  std::string bad = Write(dir, "bad.xml", "<P><EffectPool><EffectPoolInstance ID='1'></EffectPool></P>");
  XmlLoadResult malformed = LoadXmlQueue(bad, rules, q);
  EXPECT_EQ(malformed.status, XmlLoadResult::Unreadable);
  EXPECT_FALSE(malformed.message.empty());

  std::string other = Write(dir, "other.xml", "<P><CabPool><Cab ID='1'/></CabPool></P>");
  XmlLoadResult notFound = LoadXmlQueue(other, rules, q);
  EXPECT_EQ(notFound.status, XmlLoadResult::NotFound);

  EXPECT_EQ(q.size(), 0u);
}

TEST(XmlRecords, QualifiedNamesAndCarriedDownValues) {
  txtest::TempDir dir;
  std::string path = Write(dir, "lists.xml", R"(<A><EffectParameterLists>
    <EffectParameters Name="Amp" TypeID="5" BypassParam="16">
      <EffectParameter ID="0" Name="AMP_TYPE" ModifierID="0"/>
      <EffectParameter><ID>1</ID><Name>AMP_DRIVE</Name><ModifierID>2</ModifierID></EffectParameter>
    </EffectParameters>
    <EffectParameters><Name>Cab</Name><TypeID>6</TypeID>
      <EffectParameter ID="0" Name="CAB_TYPE"/>
    </EffectParameters>
  </EffectParameterLists></A>)");
  TextQueue q("EPQ", {{"EFFECTPARAMETERSNAME", 32}, {"TYPEID", 4}, {"BYPASSPARAM", 4}, {"ID", 4},
                      {"EFFECTPARAMETERNAME", 32}, {"MODIFIERID", 4}});
  XmlLoadRules rules{.element = "EffectParameters", .parent = "EffectParameterLists",
                     .qualified = {"Name"}, .cascade = {"EffectParametersName", "TypeID", "BypassParam"}};
  XmlLoadResult r = LoadXmlQueue(path, rules, q);
  ASSERT_EQ(r.rows, 3);
  EXPECT_EQ(q.Text(0, q.F("EFFECTPARAMETERSNAME")), "Amp");
  EXPECT_EQ(q.Text(0, q.F("TYPEID")), "5");
  EXPECT_EQ(q.Text(0, q.F("BYPASSPARAM")), "16");
  EXPECT_EQ(q.Text(0, q.F("EFFECTPARAMETERNAME")), "AMP_TYPE");
  EXPECT_EQ(q.Text(1, q.F("ID")), "1");
  EXPECT_EQ(q.Text(1, q.F("EFFECTPARAMETERNAME")), "AMP_DRIVE");
  EXPECT_EQ(q.Text(1, q.F("MODIFIERID")), "2");
  // Carried down from child elements of the enclosing element; nothing leaks
  // from the previous sibling.
  EXPECT_EQ(q.Text(2, q.F("EFFECTPARAMETERSNAME")), "Cab");
  EXPECT_EQ(q.Text(2, q.F("TYPEID")), "6");
  EXPECT_EQ(q.Text(2, q.F("BYPASSPARAM")), "");
}

TEST(XmlRecords, WithoutQualificationANameIsTheRecordsOwn) {
  txtest::TempDir dir;
  std::string path = Write(dir, "c.xml", R"(<A><EditorControls Name="Amp">
    <Page Name="Basic"><EditorControl Name="Input Drive" Type="Knob" ParameterName="AMP_DRIVE"/></Page>
  </EditorControls></A>)");
  TextQueue q("CNQ", {{"NAME", 64}, {"TYPE", 32}, {"PARAMETERNAME", 32}});
  LoadXmlQueue(path, {.element = "EditorControls", .autoRoot = true}, q);
  ASSERT_EQ(q.size(), 1u);
  EXPECT_EQ(q.Text(0, 0), "Input Drive");
  EXPECT_EQ(q.Text(0, 1), "Knob");
  EXPECT_EQ(q.Text(0, 2), "AMP_DRIVE");
}

TEST(XmlRecords, AttributeOnlyFieldsIgnoreChildElements) {
  txtest::TempDir dir;
  std::string path = Write(dir, "p.xml", R"(<P>
    <Parameter EffectID="106" Item0="Clean"><Item1>from a child</Item1></Parameter>
    <Parameter><EffectID>107</EffectID><ITEM0>child</ITEM0></Parameter>
  </P>)");
  TextQueue q("SLQG1", {{"EFFECTID", 4}, {"ITEM0", 32}, {"ITEM1", 32}});
  LoadXmlQueue(path, {.element = "Parameter", .attributeOnly = {"ITEM0", "ITEM1"}}, q);
  ASSERT_EQ(q.size(), 2u);
  EXPECT_EQ(q.Text(0, 0), "106");
  EXPECT_EQ(q.Text(0, 1), "Clean");
  EXPECT_EQ(q.Text(0, 2), "");
  EXPECT_EQ(q.Text(1, 0), "107");
  EXPECT_EQ(q.Text(1, 1), "");
}

// Records below an element are found whatever they are called and however
// deep, with every enclosing level's values carried down.
TEST(XmlRecords, RecordsBelowAnElementWhateverTheirNameOrDepth) {
  txtest::TempDir dir;
  std::string path = Write(dir, "p.xml", R"(<Profile>
    <Effect EffectID="106" TypeID="5">
      <Parameter ParamID="0"/><Parameter><ParamID>1</ParamID></Parameter>
    </Effect>
    <effect><EffectID>108</EffectID><TypeID>6</TypeID><parameter ParamID="0"/></effect>
    <Effect EffectID="130" TypeID="17">
      <Variant EffectVariantID="0"><Parameter ParamID="0"/></Variant>
      <Variant EffectVariantID="1"><Parameter ParamID="6"/></Variant>
      <Variant EffectVariantID="2"/>
    </Effect>
    <Effect EffectID="999" TypeID="1"/>
  </Profile>)");
  std::string other = Write(dir, "q.xml", R"(<Profile>
    <Effect EffectID="106" TypeID="5"><EffectParameter ParamID="3"/></Effect>
  </Profile>)");
  TextQueue q("EFQ1", {{"EFFECTID", 4}, {"TYPEID", 4}, {"EFFECTVARIANTID", 4}, {"PARAMID", 4}});
  XmlLoadRules rules{.element = "Effect", .autoRoot = true, .cascade = {"EffectID", "TypeID", "EffectVariantID"}};
  LoadXmlQueue(path, rules, q);
  LoadXmlQueue(other, rules, q);
  ASSERT_EQ(q.size(), 6u);
  auto row = [&](size_t r) {
    std::string s;
    for (size_t f = 0; f < 4; ++f) s += std::string(q.Text(r, f)) + (f < 3 ? "/" : "");
    return s;
  };
  EXPECT_EQ(row(0), "106/5//0");
  EXPECT_EQ(row(1), "106/5//1");
  EXPECT_EQ(row(2), "108/6//0");
  EXPECT_EQ(row(3), "130/17/0/0");
  EXPECT_EQ(row(4), "130/17/1/6");
  EXPECT_EQ(row(5), "106/5//3");
}

// The editor-control tree: records found at the deepest level, values of
// every enclosing level carried down under qualified names.
TEST(XmlRecords, AutomaticRecordLevelCarriesEveryEnclosingLevel) {
  txtest::TempDir dir;
  std::string path = Write(dir, "tree.xml", R"(<AxeML><EditorLayouts>
  <EditorControls Name="Delay" Value="112" TypeID="8" Type="Effect" SyncVariantsToType="False">
    <EffectVariant Name="Standard" Value="0" TypeID="8">
      <Page Name="Basic" SubType="1" Note="n1">
        <Section PageSection="Controls">
          <EditorControl Name="Time" Type="Knob" ParameterName="DLY_TIME" SubType="1,2"/>
          <EditorControl Name="Feedback" Type="Knob" ParameterName="DLY_FB" RowFlag="Row"/>
        </Section>
        <Section PageSection="Empty"/>
      </Page>
      <Page Name="More">
        <Section PageSection="Mix"><EditorControl Name="Mix" Type="Knob" ParameterName="DLY_MIX"/></Section>
      </Page>
    </EffectVariant>
  </EditorControls>
  <EditorControls Name="Amp" TypeID="5">
    <EffectVariant Name="Standard"><Page Name="Main"><Section PageSection="A">
      <EditorControl Name="Drive" Type="Knob"><ParameterName>AMP_DRIVE</ParameterName></EditorControl>
    </Section></Page></EffectVariant>
  </EditorControls>
</EditorLayouts></AxeML>)");
  TextQueue q("XMCQ", {{"EDITORCONTROLSNAME", 20}, {"EDITORCONTROLSVALUE", 20}, {"EDITORCONTROLSTYPEID", 20},
                       {"EDITORCONTROLSTYPE", 20}, {"SYNCVARIANTSTOTYPE", 20}, {"EFFECTVARIANTNAME", 20},
                       {"EFFECTVARIANTVALUE", 20}, {"PAGENAME", 20}, {"PAGESUBTYPE", 20}, {"NOTE", 20},
                       {"PAGESECTION", 20}, {"ROWFLAG", 20}, {"EDITORCONTROLNAME", 20},
                       {"EDITORCONTROLTYPE", 20}, {"PARAMETERNAME", 20}, {"EDITORCONTROLSUBTYPE", 20}});
  XmlLoadRules rules{.element = "EditorControls", .autoRoot = true,
                     .qualified = {"Name", "Value", "Type", "TypeID", "Flag", "SubType"},
                     .cascade = {"EditorControlsName", "EditorControlsValue", "EditorControlsTypeID",
                                 "EditorControlsType", "SyncVariantsToType", "EffectVariantName",
                                 "EffectVariantValue", "PageName", "PageSubType", "Note", "PageSection"},
                     .attributeOnly = {"PARAMETERNAME", "ROWFLAG"}};
  XmlLoadResult r = LoadXmlQueue(path, rules, q);
  ASSERT_EQ(r.rows, 4);  // the empty section is no record
  auto T = [&](size_t row, const char* f) { return std::string(q.Text(row, q.F(f))); };
  EXPECT_EQ(T(0, "EDITORCONTROLSNAME"), "Delay");
  EXPECT_EQ(T(0, "EDITORCONTROLSVALUE"), "112");
  EXPECT_EQ(T(0, "EDITORCONTROLSTYPEID"), "8");
  EXPECT_EQ(T(0, "EDITORCONTROLSTYPE"), "Effect");
  EXPECT_EQ(T(0, "SYNCVARIANTSTOTYPE"), "False");
  EXPECT_EQ(T(0, "EFFECTVARIANTNAME"), "Standard");
  EXPECT_EQ(T(0, "PAGENAME"), "Basic");
  EXPECT_EQ(T(0, "PAGESUBTYPE"), "1");
  EXPECT_EQ(T(0, "NOTE"), "n1");
  EXPECT_EQ(T(0, "PAGESECTION"), "Controls");
  EXPECT_EQ(T(0, "EDITORCONTROLNAME"), "Time");
  EXPECT_EQ(T(0, "EDITORCONTROLTYPE"), "Knob");
  EXPECT_EQ(T(0, "PARAMETERNAME"), "DLY_TIME");
  EXPECT_EQ(T(0, "EDITORCONTROLSUBTYPE"), "1,2");
  EXPECT_EQ(T(0, "ROWFLAG"), "");
  EXPECT_EQ(T(1, "ROWFLAG"), "Row");
  // A later page carries its own values only.
  EXPECT_EQ(T(2, "PAGENAME"), "More");
  EXPECT_EQ(T(2, "PAGESUBTYPE"), "");
  EXPECT_EQ(T(2, "NOTE"), "");
  EXPECT_EQ(T(2, "PAGESECTION"), "Mix");
  EXPECT_EQ(T(2, "EDITORCONTROLSNAME"), "Delay");
  // The second tree; its parameter name is a child element, and the field is
  // attribute-only.
  EXPECT_EQ(T(3, "EDITORCONTROLSNAME"), "Amp");
  EXPECT_EQ(T(3, "EDITORCONTROLSVALUE"), "");
  EXPECT_EQ(T(3, "EDITORCONTROLNAME"), "Drive");
  EXPECT_EQ(T(3, "PARAMETERNAME"), "");
}

// Controls stand one level higher on a page without sections; both are read,
// in document order, each with its own page's values only.
TEST(XmlRecords, ControlsAreFoundOnPagesWithAndWithoutSections) {
  txtest::TempDir dir;
  std::string path = Write(dir, "tree.xml", R"(<AxeML><EditorControls Name="Amp">
    <EffectVariant Name="Std">
      <Page Name="Basic">
        <EditorControl Name="Type" ParameterName="AMP_TYPE"/>
        <EditorControl><Name>Drive</Name><ParameterName>AMP_DRIVE</ParameterName></EditorControl>
      </Page>
      <Page Name="Adv">
        <Section PageSection="S1"><EditorControl Name="Bass" ParameterName="AMP_BASS"/></Section>
        <Section PageSection="S2"/>
      </Page>
      <Page Name="Out"><EditorControl Name="Level" ParameterName="AMP_LEVEL"/></Page>
    </EffectVariant>
  </EditorControls></AxeML>)");
  TextQueue q("XMCQ", {{"EDITORCONTROLSNAME", 20}, {"PAGENAME", 20}, {"PAGESECTION", 20},
                       {"EDITORCONTROLNAME", 20}, {"PARAMETERNAME", 20}});
  XmlLoadRules rules{.element = "EditorControls", .autoRoot = true, .qualified = {"Name"},
                     .cascade = {"EditorControlsName", "PageName", "PageSection"},
                     .attributeOnly = {"PARAMETERNAME"}};
  XmlLoadResult r = LoadXmlQueue(path, rules, q);
  ASSERT_EQ(r.rows, 4);
  auto row = [&](size_t n) {
    std::string s;
    for (size_t f = 0; f < 5; ++f) s += std::string(q.Text(n, f)) + (f < 4 ? "/" : "");
    return s;
  };
  EXPECT_EQ(row(0), "Amp/Basic//Type/AMP_TYPE");
  EXPECT_EQ(row(1), "Amp/Basic//Drive/");  // the parameter name is read from the attribute only
  EXPECT_EQ(row(2), "Amp/Adv/S1/Bass/AMP_BASS");
  EXPECT_EQ(row(3), "Amp/Out//Level/AMP_LEVEL");
}

// Controls grouped in row elements: the row's flag goes to its last control,
// the one after which the next grid row begins; a control's own flag stays.
TEST(XmlRecords, ARowElementFlagsItsLastControl) {
  txtest::TempDir dir;
  std::string path = Write(dir, "tree.xml", R"(<AxeML><EditorControls Name="Amp"><Page Name="Basic">
    <Row Flag="Row"><EditorControl Name="A"/><EditorControl Name="B"/></Row>
    <Row Flag="Row"><EditorControl Name="C" RowFlag="Own"/></Row>
    <Row><EditorControl Name="D"/></Row>
    <Row Flag="Row"/>
    <EditorControl Name="E"/>
  </Page></EditorControls></AxeML>)");
  TextQueue q("XMCQ", {{"PAGENAME", 20}, {"ROWFLAG", 20}, {"EDITORCONTROLNAME", 20}});
  XmlLoadRules rules{.element = "EditorControls", .autoRoot = true, .qualified = {"Name", "Flag"},
                     .cascade = {"PageName"}, .attributeOnly = {"ROWFLAG"}, .closing = {"ROWFLAG"}};
  XmlLoadResult r = LoadXmlQueue(path, rules, q);
  ASSERT_EQ(r.rows, 5);
  const char* expected[][2] = {{"A", ""}, {"B", "Row"}, {"C", "Own"}, {"D", ""}, {"E", ""}};
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(q.Text(i, 2), expected[i][0]);
    EXPECT_EQ(q.Text(i, 1), expected[i][1]) << expected[i][0];
    EXPECT_EQ(q.Text(i, 0), "Basic");
  }
}

TEST(XmlRecords, TheFirstNameIsFoundAnywhereInsideTheSecond) {
  txtest::TempDir dir;
  std::string path = Write(dir, "pool.xml", R"(<A>
    <EffectPool>
      <EffectPoolInstance ID="1"/>
      <Group><EffectPoolInstance ID="2"/></Group>
    </EffectPool>
    <Other><EffectPoolInstance ID="3"/></Other>
    <effectpool><EffectPoolInstance><ID>4</ID></EffectPoolInstance></effectpool>
  </A>)");
  TextQueue q = PoolQueue();
  XmlLoadResult r = LoadXmlQueue(path, {.element = "EffectPoolInstance", .parent = "EffectPool"}, q);
  ASSERT_EQ(r.rows, 3);
  EXPECT_EQ(q.Text(0, 0), "1");
  EXPECT_EQ(q.Text(1, 0), "2");
  EXPECT_EQ(q.Text(2, 0), "4");
}

// The record level is the same in every tree of the file: a tree whose only
// content is an empty page gives no record for the page.
TEST(XmlRecords, ATreeWithAnEmptyPageOnlyHasNoRecords) {
  txtest::TempDir dir;
  std::string path = Write(dir, "tree.xml", R"(<AxeML>
    <EditorControls Name="Volume"><Page Name="Main" SubType="1"/></EditorControls>
    <EditorControls Name="Amp"><Page Name="Basic"><EditorControl Name="Drive"/></Page></EditorControls>
    <EditorControls Name="Gate"><Page><Name>Main</Name><SubType>2</SubType></Page></EditorControls>
  </AxeML>)");
  TextQueue q("XMCQ", {{"EDITORCONTROLSNAME", 20}, {"PAGENAME", 20}, {"EDITORCONTROLNAME", 20}});
  XmlLoadRules rules{.element = "EditorControls", .autoRoot = true, .qualified = {"Name"},
                     .cascade = {"EditorControlsName", "PageName"}};
  XmlLoadResult r = LoadXmlQueue(path, rules, q);
  ASSERT_EQ(r.rows, 1);
  EXPECT_EQ(q.Text(0, 0), "Amp");
  EXPECT_EQ(q.Text(0, 1), "Basic");
  EXPECT_EQ(q.Text(0, 2), "Drive");
}

TEST(XmlRecords, AnEmptyTreeHasNoRecords) {
  txtest::TempDir dir;
  std::string path = Write(dir, "t.xml", R"(<A><EditorControls Name="Amp" TypeID="5"/>
    <EditorControls Name="Cab"><Note>text only</Note></EditorControls></A>)");
  TextQueue q("CNQ", {{"NAME", 64}, {"TYPE", 32}, {"PARAMETERNAME", 32}});
  XmlLoadResult r = LoadXmlQueue(path, {.element = "EditorControls", .autoRoot = true}, q);
  EXPECT_EQ(r.status, XmlLoadResult::Loaded);
  EXPECT_EQ(q.size(), 0u);
}

TEST(XmlRecords, RulesAreClearedBetweenLoads) {
  txtest::TempDir dir;
  std::string path = Write(dir, "p.xml", R"(<A><EffectParameterLists>
    <EffectParameters Name="Amp"><EffectParameter ID="0" Name="AMP_TYPE"/></EffectParameters>
  </EffectParameterLists></A>)");
  TextQueue q("EPQG1", {{"EFFECTPARAMETERSNAME", 32}, {"ID", 4}, {"EFFECTPARAMETERNAME", 32}, {"NAME", 32}});
  tx::XmlReader reader;
  ASSERT_EQ(reader.LoadFromFile(path), 0);
  reader.QualifyFieldSet("Name");
  reader.PrimaryKeyCascade("EffectParametersName");
  ASSERT_EQ(reader.FindNextNode("EffectParameters", "EffectParameterLists"), 0);
  EXPECT_EQ(reader.LoadQueue(q), 1);
  EXPECT_EQ(q.Text(0, 0), "Amp");
  EXPECT_EQ(q.Text(0, 2), "AMP_TYPE");
  reader.Free();

  // Same reader, no rules: the found elements are the records, names unqualified.
  ASSERT_EQ(reader.LoadFromFile(path), 0);
  ASSERT_EQ(reader.FindNextNode("EffectParameters", "EffectParameterLists"), 0);
  EXPECT_EQ(reader.LoadQueue(q), 1);
  EXPECT_EQ(q.Text(1, 0), "");
  EXPECT_EQ(q.Text(1, 3), "Amp");
  reader.Free();
  EXPECT_NE(reader.FindNextNode("EffectParameters", "EffectParameterLists"), 0);
}

TEST(XmlRecords, DeeplyNestedInputDoesNotExhaustTheStack) {
  txtest::TempDir dir;
  std::string text = "<EditorControls>";
  for (int i = 0; i < 200000; ++i) text += "<G a='1'>";
  text += "<EditorControl Name='deep'/>";
  for (int i = 0; i < 200000; ++i) text += "</G>";
  text += "</EditorControls>";
  std::string path = Write(dir, "deep.xml", text);
  TextQueue q("CNQ", {{"NAME", 64}});
  XmlLoadResult r = LoadXmlQueue(path, {.element = "EditorControls", .autoRoot = true}, q);
  // pugixml may refuse such depth; either way nothing crashes and at most the one control is read.
  if (r.status == XmlLoadResult::Loaded) {
    ASSERT_EQ(q.size(), 1u);
    EXPECT_EQ(q.Text(0, 0), "deep");
  } else {
    EXPECT_EQ(q.size(), 0u);
  }
}

}  // namespace
