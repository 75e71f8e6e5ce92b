#include "devicedefs/loader_queues.h"

#include <string>
#include <utility>
#include <vector>

namespace tx {

namespace {

using Fields = std::vector<std::pair<std::string, size_t>>;

// ITEM0 ... ITEM(count - 1), 32 wide each.
void AddItems(Fields& f, int count) {
  for (int i = 0; i < count; ++i) f.emplace_back("ITEM" + std::to_string(i), 32);
}

std::vector<std::string> ItemNames(int count) {
  std::vector<std::string> names;
  for (int i = 0; i < count; ++i) names.push_back("ITEM" + std::to_string(i));
  return names;
}

// The 19 fields shared by EFQ1 and EFQ.
Fields EffectFields() {
  return {{"EFFECTID", 4},  {"TYPEID", 4},   {"EFFECTTYPE", 32},   {"VARIANTPARAMID", 4},
          {"BYPASSPARAMID", 4}, {"EFFECTVARIANTID", 4}, {"PARAMID", 4}, {"PARAMTYPE", 3},
          {"MODIFIERID", 4}, {"DEFAULT", 10}, {"MINIMUM", 10}, {"MAXIMUM", 10},
          {"PRECISION", 10}, {"UNIT", 32},   {"NUMVALS", 10},      {"PARAMETERINTERNALNAME", 32},
          {"PARAMETERSCREENNAME", 64}, {"EFFECTNAME", 32}, {"CONTROLTYPE", 32}};
}

}  // namespace

TextQueue MakeEOQ() {
  return TextQueue("EOQ", {{"ID", 4}, {"NAME", 32}, {"TYPE", 32}, {"TYPEID", 4}, {"BYPASSID", 4}});
}

TextQueue MakeCNQ() { return TextQueue("CNQ", {{"NAME", 64}, {"TYPE", 32}, {"PARAMETERNAME", 32}}); }

TextQueue MakeXMCQ() {
  Fields f;
  for (const char* name :
       {"EDITORCONTROLSNAME", "EDITORCONTROLSVALUE", "EDITORCONTROLSTYPEID", "EDITORCONTROLSTYPE",
        "SYNCVARIANTSTOTYPE", "SUBTYPEPARAMETER", "SUBTYPEPARAMETERPAGE", "EFFECTVARIANTNAME",
        "EFFECTVARIANTVALUE", "EFFECTVARIANTTYPEID", "PAGENAME", "PAGESUBTYPE", "NOTE", "MONITOR", "LAYOUT",
        "PAGESECTION", "ROWFLAG", "EDITORCONTROLNAME", "EDITORCONTROLTYPE", "PARAMETERNAME", "OFFSETX",
        "OFFSETY", "EDITORCONTROLSUBTYPE", "LOCK"})
    f.emplace_back(name, 20);
  return TextQueue("XMCQ", f);
}

TextQueue MakeEPQ() {
  return TextQueue("EPQ", {{"EFFECTPARAMETERSNAME", 32}, {"TYPEID", 4}, {"BYPASSPARAM", 4}, {"ID", 4},
                           {"EFFECTPARAMETERNAME", 32}, {"MODIFIERID", 4}});
}

TextQueue MakeEPQG1() {
  return TextQueue("EPQG1", {{"EFFECTPARAMETERSNAME", 32}, {"ID", 4}, {"EFFECTPARAMETERNAME", 32}, {"MODIFIERID", 4}});
}

TextQueue MakeEFQ1() { return TextQueue("EFQ1", EffectFields()); }
TextQueue MakeEFQ() { return TextQueue("EFQ", EffectFields()); }

TextQueue MakeEFQ1G1() {
  return TextQueue("EFQ1G1", {{"EFFECTTYPE", 32}, {"EFFECTID", 4}, {"PARAMID", 4}, {"PARAMTYPE", 3},
                              {"MODIFIERID", 4}, {"DEFAULT", 10}, {"MINIMUM", 10}, {"MAXIMUM", 10},
                              {"PRECISION", 10}, {"UNIT", 32}, {"NUMVALS", 10}, {"PARAMETERINTERNALNAME", 32},
                              {"PARAMETERSCREENNAME", 64}, {"EFFECTNAME", 32}, {"CONTROLTYPE", 32}});
}

TextQueue MakeCPQ() { return TextQueue("CPQ", {{"ID", 4}, {"NAME", 64}}); }

TextQueue MakeSLQ() {
  Fields f{{"TYPEID", 4}, {"EFFECTID", 4}, {"EFFECTVARIANTID", 4}, {"PARAMID", 4}};
  AddItems(f, 256);
  return TextQueue("SLQ", f);
}

TextQueue MakeSLQG1() {
  Fields f{{"EFFECTTYPE", 32}, {"EFFECTID", 4}, {"PARAMID", 4}};
  AddItems(f, 101);
  return TextQueue("SLQG1", f);
}

XmlLoadRules PoolRules() { return {.element = "EffectPoolInstance", .parent = "EffectPool"}; }

XmlLoadRules ControlNameRules(bool gen1) {
  XmlLoadRules r{.element = "EditorControls", .autoRoot = true};
  if (gen1) r.attributeOnly = {"PARAMETERNAME"};
  return r;
}

XmlLoadRules ControlTreeRules() {
  return {.element = "EditorControls",
          .autoRoot = true,
          .qualified = {"Name", "Value", "Type", "TypeID", "Flag", "SubType"},
          .cascade = {"EditorControlsName", "EditorControlsValue", "EditorControlsTypeID", "EditorControlsType",
                      "SyncVariantsToType", "SubTypeParameter", "SubTypeParameterPage", "EffectVariantName",
                      "EffectVariantValue", "EffectVariantTypeID", "PageName", "PageSubType", "Note", "Monitor",
                      "Layout", "PageSection"},
          .attributeOnly = {"PARAMETERNAME", "ROWFLAG"},
          // The row flag is a control's own attribute; a row element around
          // controls (<Row Flag="Row">) ends its grid row after the last one.
          .closing = {"ROWFLAG"}};
}

XmlLoadRules ParameterListRules() {
  return {.element = "EffectParameters",
          .parent = "EffectParameterLists",
          .qualified = {"Name"},
          .cascade = {"EffectParametersName", "TypeID", "BypassParam"}};
}

XmlLoadRules ParameterListRulesG1() {
  return {.element = "EffectParameters",
          .parent = "EffectParameterLists",
          .qualified = {"Name"},
          .cascade = {"EffectParametersName"}};
}

XmlLoadRules CabPoolRules() { return {.element = "Cab", .parent = "CabPool"}; }

// The records are found below each Effect whatever they are called, and
// however deep (a variant level between included).
XmlLoadRules ProfileParameterRules() {
  return {.element = "Effect",
          .autoRoot = true,
          .cascade = {"EffectID", "TypeID", "EffectType", "VariantParamID", "EffectVariantID"}};
}

// The lists are read from the same parameter records as the scaling, so every
// profile parameter gets a selection row; numeric ones simply carry no items.
XmlLoadRules SelectionRules() {
  return {.element = "Effect",
          .autoRoot = true,
          .cascade = {"TypeID", "EffectID", "EffectVariantID"},
          .attributeOnly = ItemNames(256)};
}

XmlLoadRules ProfileParameterRulesG1() { return {.element = "Parameter"}; }

XmlLoadRules SelectionRulesG1() { return {.element = "Parameter", .attributeOnly = ItemNames(101)}; }

}  // namespace tx
