// The import on definition files written by another hand in the same
// structure: values as child elements, names in any letter case, pages with
// and without sections, profile records under another name and below a
// variant level. Checked through the table dump, as administrators see it.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "devicedefs/loader.h"
#include "devicedefs/table_dump.h"
#include "import_support.h"

namespace {

using txtest::WriteFile;

const char* const kLayout2 = R"(<?xml version="1.0" encoding="UTF-8"?>
<axeml>
  <EFFECTPOOL>
    <effectpoolinstance>
      <id>106</id><name>Amp 1</name><type>Amp</type><typeid>5</typeid>
    </effectpoolinstance>
  </EFFECTPOOL>
  <EffectParameterLists>
    <EffectParameters>
      <Name>Amp</Name><TypeID>5</TypeID><BypassParam>2</BypassParam>
      <EffectParameter><ID>0</ID><Name>AMP_TYPE</Name><ModifierID>0</ModifierID></EffectParameter>
      <EffectParameter><ID>1</ID><Name>AMP_GAIN</Name><ModifierID>2</ModifierID></EffectParameter>
    </EffectParameters>
  </EffectParameterLists>
  <CabPool><Cab><ID>7</ID><Name>4x12 Green</Name></Cab></CabPool>
  <EditorLayouts>
    <EditorControls>
      <Name>Amp</Name><Value>106</Value><TypeID>5</TypeID><Type>Effect</Type>
      <EffectVariant Name="Std" Value="0" TypeID="5">
        <Page>
          <Name>Basic</Name><SubType>1</SubType>
          <EditorControl Name="Type" Type="Combo" ParameterName="AMP_TYPE" RowFlag="Row"/>
          <EditorControl ParameterName="SPACER"/>
          <EditorControl Name="Gain" Type="Knob" ParameterName="AMP_GAIN" OffsetX="-4"/>
        </Page>
        <Page Name="Adv" SubType="2">
          <Section PageSection="Tone">
            <EditorControl Name="Gain" Type="Knob" ParameterName="AMP_GAIN" SubType="1"/>
            <EditorControl Name="Type" Type="Combo" ParameterName="AMP_TYPE" SubType="12"/>
          </Section>
        </Page>
      </EffectVariant>
    </EditorControls>
  </EditorLayouts>
</axeml>)";

const char* const kProfile2 = R"(<?xml version="1.0"?>
<Profile>
  <Effect>
    <EffectID>106</EffectID><TypeID>5</TypeID><EffectType>Amp</EffectType><VariantParamID>0</VariantParamID>
    <Variant EffectVariantID="0">
      <EffectParameter ParamID="0" ParamType="INT" NumVals="2" Item0="Clean" Item1="Lead"/>
      <EffectParameter>
        <ParamID>1</ParamID><ParamType>LIN</ParamType><Minimum>0</Minimum><Maximum>10</Maximum>
        <Precision>2</Precision><Unit>dB</Unit><NumVals>65534</NumVals><BypassParamID>9</BypassParamID>
      </EffectParameter>
    </Variant>
  </Effect>
</Profile>)";

const char* const kLayout1 = R"(<?xml version="1.0"?>
<AxeML>
  <EffectPool><EffectPoolInstance ID="106" Name="Amp 1" Type="Amp" TypeID="5"/></EffectPool>
  <EffectParameterLists>
    <EffectParameters><name>Amp</name>
      <EffectParameter><id>0</id><name>A1_TYPE</name><modifierid>0</modifierid></EffectParameter>
      <EffectParameter ID="16" Name="A1_BYPASS" ModifierID="255"/>
    </EffectParameters>
  </EffectParameterLists>
  <EditorControls Name="Amp" Value="106">
    <Page Name="Main">
      <EditorControl Name="Model" Type="Combo" parameterName="A1_TYPE"/>
      <EditorControl Name="On" Type="Switch" PARAMETERNAME="A1_BYPASS"/>
    </Page>
  </EditorControls>
</AxeML>)";

const char* const kProfile1 = R"(<?xml version="1.0"?>
<Profile><Parameters>
  <Parameter><EffectType>Amp</EffectType><EffectID>106</EffectID><ParamID>0</ParamID><ParamType>INT</ParamType>
    <NumVals>2</NumVals></Parameter>
  <Parameter EffectType="Amp" EffectID="106" ParamID="16" ParamType="INT" Item0="Off" Item1="On"/>
</Parameters></Profile>)";

class OtherAuthor : public ::testing::Test {
 protected:
  OtherAuthor() : cwd_(dir_.path()) {
    WriteFile(dir_.path() / "Masters/Gen2/default.axeml", kLayout2);
    WriteFile(dir_.path() / "Masters/Gen2/default.profile", kProfile2);
    WriteFile(dir_.path() / "Masters/Gen1/default.axeml", kLayout1);
    WriteFile(dir_.path() / "Masters/Gen1/default.profile", kProfile1);
    report_ = tx::ImportDefinitions(tx::Tables());
  }

  // The dump's rows, one JSON object each.
  static std::vector<std::string> Dump(const char* table) {
    std::ostringstream out;
    std::string error;
    EXPECT_EQ(tx::DumpTable(table, out, error), 0) << error;
    std::vector<std::string> rows;
    std::istringstream in(out.str());
    for (std::string line; std::getline(in, line);) {
      if (line.empty() || line[0] != '{') continue;
      if (line.back() == ',') line.pop_back();
      rows.push_back(line);
    }
    return rows;
  }

  txtest::TempDir dir_;
  txtest::ScopedCwd cwd_;
  tx::ImportReport report_;
};

TEST_F(OtherAuthor, EffectsCombineEveryFile) {
  EXPECT_TRUE(report_.unreadFiles.empty());
  std::vector<std::string> e = Dump("DBEFFECTS");
  ASSERT_EQ(e.size(), 4u);
  EXPECT_EQ(e[0],
            R"({"DEVICETYPE":3,"EFFECTID":106,"EFFECTTYPEID":5,"EFFECTTYPE":"Amp","EFFECTVARIANTPARAMETERID":0,)"
            R"("EFFECTBYPASSPARAMETERID":2,"EFFECTNAME":"Amp 1","EFFECTVARIANTID":0,"PARAMETERID":0,"MODIFIERID":0,)"
            R"("INTERNALNAME":"AMP_TYPE","SCREENNAME":"Type","CONTROLTYPE":"Combo","PARAMTYPE":"INT",)"
            R"("DEFAULTVALUE":0,"MINIMUMVALUE":0,"MAXIMUMVALUE":0,"PRECISION":0,"NUMBEROFVALUES":2,"UNIT":""})");
  EXPECT_EQ(e[1],
            R"({"DEVICETYPE":3,"EFFECTID":106,"EFFECTTYPEID":5,"EFFECTTYPE":"Amp","EFFECTVARIANTPARAMETERID":0,)"
            R"("EFFECTBYPASSPARAMETERID":2,"EFFECTNAME":"Amp 1","EFFECTVARIANTID":0,"PARAMETERID":1,"MODIFIERID":2,)"
            R"("INTERNALNAME":"AMP_GAIN","SCREENNAME":"Gain","CONTROLTYPE":"Knob","PARAMTYPE":"LIN",)"
            R"("DEFAULTVALUE":0,"MINIMUMVALUE":0,"MAXIMUMVALUE":10,"PRECISION":2,"NUMBEROFVALUES":65534,"UNIT":"dB"})");
  EXPECT_EQ(e[2],
            R"({"DEVICETYPE":1,"EFFECTID":106,"EFFECTTYPEID":5,"EFFECTTYPE":"Amp","EFFECTVARIANTPARAMETERID":0,)"
            R"("EFFECTBYPASSPARAMETERID":16,"EFFECTNAME":"Amp 1","EFFECTVARIANTID":0,"PARAMETERID":0,"MODIFIERID":0,)"
            R"("INTERNALNAME":"A1_TYPE","SCREENNAME":"Model","CONTROLTYPE":"Combo","PARAMTYPE":"INT",)"
            R"("DEFAULTVALUE":0,"MINIMUMVALUE":0,"MAXIMUMVALUE":0,"PRECISION":0,"NUMBEROFVALUES":2,"UNIT":""})");
  EXPECT_NE(e[3].find(R"("PARAMETERID":16,"MODIFIERID":255,"INTERNALNAME":"A1_BYPASS","SCREENNAME":"On")"),
            std::string::npos)
      << e[3];
  std::vector<std::string> cabs = Dump("dbcabs");
  ASSERT_EQ(cabs.size(), 1u);
  EXPECT_EQ(cabs[0], R"({"ID":7,"NAME":"4x12 Green"})");
}

TEST_F(OtherAuthor, LayoutRowsOnPagesWithAndWithoutSections) {
  std::vector<std::string> s = Dump("DBScreenMaster");
  ASSERT_EQ(s.size(), 5u);
  auto has = [&](size_t row, const std::string& part) {
    EXPECT_NE(s[row].find(part), std::string::npos) << row << ": " << s[row] << "\nlacks " << part;
  };
  has(0, R"("DEVICETYPE":3,"EDITORCONTROLNAME":"Amp","EDITORCONTROLVALUE":106,"EDITORCONTROLTYPEID":5,)"
         R"("EDITORCONTROLTYPE":"Effect",)");
  has(0, R"("EFFECTVARIANTNAME":"Std","EFFECTVARIANTVALUE":0,"EFFECTVARIANTTYPEID":5,"PAGENAME":"Basic","SUBTYPE":1,)");
  has(0, R"("PAGESECTION":"","ROW":1,"COLUMN":1,"CONTROLNAME":"Type","CONTROLTYPE":"Combo","PARAMETERNAME":"AMP_TYPE")");
  // After the row flag a new row; the spacer takes column 1.
  has(1, R"("ROW":2,"COLUMN":2,"CONTROLNAME":"Gain","CONTROLTYPE":"Knob","PARAMETERNAME":"AMP_GAIN","OFFSETX":-4,)");
  // Page sub-type 2: the control for sub-type 1 is left out, "12" contains "2".
  has(2, R"("PAGENAME":"Adv","SUBTYPE":2,"NOTE":"","MONITOR":"","LAYOUT":"","PAGESECTION":"Tone","ROW":1,"COLUMN":1,)"
         R"("CONTROLNAME":"Type")");
  has(3, R"("DEVICETYPE":1,"EDITORCONTROLNAME":"Amp","EDITORCONTROLVALUE":106,)");
  has(3, R"("PAGENAME":"Main","SUBTYPE":0,"NOTE":"","MONITOR":"","LAYOUT":"","PAGESECTION":"","ROW":1,"COLUMN":1,)"
         R"("CONTROLNAME":"Model","CONTROLTYPE":"Combo","PARAMETERNAME":"A1_TYPE")");
  has(4, R"("COLUMN":2,"CONTROLNAME":"On","CONTROLTYPE":"Switch","PARAMETERNAME":"A1_BYPASS")");
}

TEST_F(OtherAuthor, SelectionListsFromBothProfiles) {
  std::vector<std::string> sel = Dump("DBSelection");
  ASSERT_EQ(sel.size(), 4u);
  const std::string blanks254 = [] {
    std::string s;
    for (int i = 0; i < 254; ++i) s += ",\"\"";
    return s;
  }();
  EXPECT_EQ(sel[0], R"({"DEVICETYPE":3,"EFFECTID":106,"EFFECTTYPEID":5,"EFFECTVARIANTID":0,"PARAMETERID":0,)"
                    R"("SELECTION":["Clean","Lead")" + blanks254 + "]}");
  EXPECT_EQ(sel[3], R"({"DEVICETYPE":1,"EFFECTID":106,"EFFECTTYPEID":0,"EFFECTVARIANTID":0,"PARAMETERID":16,)"
                    R"("SELECTION":["Off","On")" + blanks254 + "]}");
  std::vector<std::string> flat = Dump("dbselectionmaster");
  ASSERT_EQ(flat.size(), 4u);
  EXPECT_EQ(flat[0], R"({"DEVICETYPE":3,"EFFECTID":106,"EFFECTTYPEID":5,"EFFECTVARIANTID":0,"PARAMETERID":0,)"
                     R"("SELECTIONVALUE":0,"SELECTIONSTRING":"Clean"})");
  EXPECT_EQ(flat[3], R"({"DEVICETYPE":1,"EFFECTID":106,"EFFECTTYPEID":0,"EFFECTVARIANTID":0,"PARAMETERID":16,)"
                     R"("SELECTIONVALUE":1,"SELECTIONSTRING":"On"})");
}

}  // namespace
