#pragma once
// Small definition files of both generations for the import tests: two amp
// instances and a delay, cabinets with a duplicate id, a selection list with
// a blank entry, and a page of editor controls each.
namespace txtest::masters {

inline const char* const kGen2Layout = R"(<?xml version="1.0"?>
<AxeML>
  <EffectPool>
    <EffectPoolInstance ID="9" Name="Amp Nine" Type="Amp" TypeID="5"/>
    <EffectPoolInstance ID="10" Name="Amp Ten" Type="Amp" TypeID="5"/>
    <EffectPoolInstance><ID>12345</ID><Name>Delay</Name><Type>Delay</Type><TypeID>8</TypeID></EffectPoolInstance>
  </EffectPool>
  <EffectParameterLists>
    <EffectParameters Name="Amp" TypeID="5" BypassParam="2">
      <EffectParameter ID="0" Name="AMP_GAIN" ModifierID="1"/>
      <EffectParameter ID="1" Name="AMP_MODEL" ModifierID="0"/>
      <EffectParameter ID="2" Name="AMP_BYPASS" ModifierID="0"/>
    </EffectParameters>
    <EffectParameters><Name>Delay</Name><TypeID>8</TypeID><BypassParam>1</BypassParam>
      <EffectParameter><ID>0</ID><Name>DLY_TIME</Name><ModifierID>5</ModifierID></EffectParameter>
    </EffectParameters>
  </EffectParameterLists>
  <CabPool>
    <Cab ID="3" Name="first three"/>
    <Cab ID="3" Name="second three"/>
    <Cab><ID>1</ID><Name>one</Name></Cab>
  </CabPool>
  <EditorLayouts>
    <EditorControls Name="Amp" Value="9" TypeID="5" Type="Effect">
      <EffectVariant Name="Standard" Value="0" TypeID="5">
        <Page Name="Main" SubType="1">
          <Section PageSection="Knobs">
            <EditorControl Name="Gain knob with a very long screen name that goes past thirty-two" Type="Knob" ParameterName="AMP_GAIN"/>
            <EditorControl Name="Model" Type="Selector" ParameterName="AMP_MODEL" RowFlag="Row"/>
            <EditorControl Name="Bypass" Type="Switch" ParameterName="AMP_BYPASS"/>
          </Section>
        </Page>
      </EffectVariant>
    </EditorControls>
  </EditorLayouts>
</AxeML>)";

inline const char* const kGen2Profile = R"(<?xml version="1.0"?>
<Profile>
  <Effect EffectID="9" TypeID="5" EffectType="Amp" VariantParamID="0" EffectVariantID="0">
    <Parameter ParamID="0" ParamType="LIN" ModifierID="1" BypassParamID="7" Default="5" Minimum="0" Maximum="10" Precision="2" Unit="dB" NumVals="65534"/>
    <Parameter ParamID="1" ParamType="INT" BypassParamID="7" Minimum="0" Maximum="3" Precision="0" NumVals="3" Item0="Clean" Item1="Crunch" Item2="" Item3="Lead"/>
    <Parameter ParamID="2" ParamType="INT" BypassParamID="7" NumVals="1"/>
    <Parameter ParamID="4" ParamType="LOG" BypassParamID="7" Minimum="20" Maximum="20000" Precision="1" Unit="Hz" NumVals="65534"/>
  </Effect>
  <Effect EffectID="12345" TypeID="8" EffectType="Delay" VariantParamID="-1" EffectVariantID="0">
    <Parameter ParamID="0" ParamType="LIN" Minimum="1" Maximum="2000" Precision="0" Unit="ms" NumVals="65534"/>
  </Effect>
</Profile>)";

inline const char* const kGen1Layout = R"(<?xml version="1.0"?>
<AxeML>
  <EffectPool>
    <EffectPoolInstance><ID>20</ID><Name>Drive A</Name><Type>Drive</Type><TypeID>10</TypeID></EffectPoolInstance>
    <EffectPoolInstance><ID>21</ID><Name>Drive B</Name><Type>Drive</Type><TypeID>10</TypeID></EffectPoolInstance>
    <EffectPoolInstance ID="30" Name="Wah" Type="Wah" TypeID="20"/>
  </EffectPool>
  <EffectParameterLists>
    <EffectParameters Name="Drive">
      <EffectParameter ID="9" Name="DRV_BYPASS9" ModifierID="255"/>
      <EffectParameter ID="10" Name="DRV_BYPASS10" ModifierID="255"/>
      <EffectParameter ID="0" Name="DRV_GAIN" ModifierID="1"/>
    </EffectParameters>
    <EffectParameters Name="Wah"><EffectParameter ID="0" Name="WAH_FREQ" ModifierID="255"/></EffectParameters>
  </EffectParameterLists>
  <EditorLayouts>
    <EditorControls Name="Drive"><Page Name="Main">
      <EditorControl Name="Gain" Type="Knob" parameterName="DRV_GAIN"/>
      <EditorControl Name="Ignored" Type="Knob"><parameterName>DRV_BYPASS9</parameterName></EditorControl>
    </Page></EditorControls>
  </EditorLayouts>
</AxeML>)";

inline const char* const kGen1Profile = R"(<?xml version="1.0"?>
<Profile>
  <Parameter EffectType="Drive" EffectID="20" ParamID="0" ParamType="LIN" Minimum="0" Maximum="10" Precision="1" NumVals="255"/>
  <Parameter EffectType="Drive" EffectID="20" ParamID="5" ParamType="INT" NumVals="255"/>
  <Parameter EffectType="Wah" EffectID="30" ParamID="0" ParamType="LOG" Item0="Low" Item1="High"/>
</Profile>)";

}  // namespace txtest::masters
