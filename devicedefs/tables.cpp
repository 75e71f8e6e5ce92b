#include "devicedefs/tables.h"

#include <array>
#include <cstddef>
#include <limits>

#include "platform/storage/storage_group.h"
#include "platform/storage/storage_table.h"
#include "services/error_manager.h"

namespace tx {

namespace {

#define TX_FIELD(Rec, NAME, TYPE) FieldDef{#NAME, FieldType::TYPE, offsetof(Rec, NAME), sizeof(Rec::NAME), 1}
#define TX_TEXT(Rec, NAME) FieldDef{#NAME, FieldType::String, offsetof(Rec, NAME), sizeof(Rec::NAME), 1}

KeyDef Key(const RecordLayout& l, const char* name, std::initializer_list<const char*> fields, bool unique) {
  KeyDef k{name, {}, unique};
  for (const char* f : fields) k.fields.push_back(static_cast<size_t>(l.FieldIndex(f)));
  return k;
}

RecordLayout MakeEffectLayout() {
  using R = EffectRecord;
  RecordLayout l{"DBEffects", "efx.mdl", "EFF", sizeof(R), {}, {}, false};
  l.fields = {TX_FIELD(R, DEVICETYPE, Byte),
              TX_FIELD(R, EFFECTID, Long),
              TX_FIELD(R, EFFECTTYPEID, Long),
              TX_TEXT(R, EFFECTTYPE),
              TX_FIELD(R, EFFECTVARIANTPARAMETERID, Long),
              TX_FIELD(R, EFFECTBYPASSPARAMETERID, Long),
              TX_TEXT(R, EFFECTNAME),
              TX_FIELD(R, EFFECTVARIANTID, Long),
              TX_FIELD(R, PARAMETERID, Long),
              TX_FIELD(R, MODIFIERID, Long),
              TX_TEXT(R, INTERNALNAME),
              TX_TEXT(R, SCREENNAME),
              TX_TEXT(R, CONTROLTYPE),
              TX_TEXT(R, PARAMTYPE),
              TX_FIELD(R, DEFAULTVALUE, Real),
              TX_FIELD(R, MINIMUMVALUE, Real),
              TX_FIELD(R, MAXIMUMVALUE, Real),
              TX_FIELD(R, PRECISION, Long),
              TX_FIELD(R, NUMBEROFVALUES, Long),
              TX_TEXT(R, UNIT)};
  l.keys = {Key(l, "EFF:Effect_Primary_Key", {"DEVICETYPE", "EFFECTID", "EFFECTVARIANTID", "PARAMETERID"}, true),
            Key(l, "EFF:Effect_Key", {"EFFECTID"}, false),
            Key(l, "EFF:EffectParameter_Key", {"DEVICETYPE", "EFFECTID", "PARAMETERID"}, false),
            Key(l, "EFF:EffectModifier_Key", {"DEVICETYPE", "EFFECTID", "EFFECTVARIANTID", "MODIFIERID"}, false)};
  return l;
}

RecordLayout MakeCabLayout() {
  using R = CabRecord;
  RecordLayout l{"DBCabs", "cab.mdl", "CAB", sizeof(R), {}, {}, false};
  l.fields = {TX_FIELD(R, ID, Long), TX_TEXT(R, NAME)};
  l.keys = {Key(l, "CAB:ID_Key", {"ID"}, true)};
  return l;
}

RecordLayout MakeSelectionLayout() {
  using R = SelectionRecord;
  RecordLayout l{"DBSelection", "sel.mdl", "SEL", sizeof(R), {}, {}, false};
  l.fields = {TX_FIELD(R, DEVICETYPE, Byte),
              TX_FIELD(R, EFFECTID, Long),
              TX_FIELD(R, EFFECTTYPEID, Long),
              TX_FIELD(R, EFFECTVARIANTID, Long),
              TX_FIELD(R, PARAMETERID, Long),
              FieldDef{"SELECTION", FieldType::String, offsetof(R, SELECTION), sizeof(FixedString<32>), 256}};
  l.keys = {Key(l, "SEL:Selection_Key", {"DEVICETYPE", "EFFECTTYPEID", "EFFECTVARIANTID", "PARAMETERID"}, true)};
  return l;
}

RecordLayout MakeSelectionMasterLayout() {
  using R = SelectionMasterRecord;
  RecordLayout l{"DBSelectionMaster", "EdtSel.kvr", "SLM", sizeof(R), {}, {}, false};
  l.fields = {TX_FIELD(R, DEVICETYPE, Byte),     TX_FIELD(R, EFFECTID, Long),
              TX_FIELD(R, EFFECTTYPEID, Long),   TX_FIELD(R, EFFECTVARIANTID, Long),
              TX_FIELD(R, PARAMETERID, Long),    TX_FIELD(R, SELECTIONVALUE, Short),
              TX_TEXT(R, SELECTIONSTRING)};
  return l;
}

RecordLayout MakeScreenMasterLayout() {
  using R = ScreenMasterRecord;
  RecordLayout l{"DBScreenMaster", "EdtLay.kvr", "SCM", sizeof(R), {}, {}, false};
  l.fields = {TX_FIELD(R, DEVICETYPE, Byte),
              TX_TEXT(R, EDITORCONTROLNAME),
              TX_FIELD(R, EDITORCONTROLVALUE, Short),
              TX_FIELD(R, EDITORCONTROLTYPEID, Short),
              TX_TEXT(R, EDITORCONTROLTYPE),
              TX_TEXT(R, SYNCVARIANTSTOTYPE),
              TX_TEXT(R, SUBTYPEPARAMETER),
              TX_TEXT(R, SUBTYPEPARAMETERPAGE),
              TX_TEXT(R, EFFECTVARIANTNAME),
              TX_FIELD(R, EFFECTVARIANTVALUE, Short),
              TX_FIELD(R, EFFECTVARIANTTYPEID, Short),
              TX_TEXT(R, PAGENAME),
              TX_FIELD(R, SUBTYPE, Short),
              TX_TEXT(R, NOTE),
              TX_TEXT(R, MONITOR),
              TX_TEXT(R, LAYOUT),
              TX_TEXT(R, PAGESECTION),
              TX_FIELD(R, ROW, Short),
              TX_FIELD(R, COLUMN, Short),
              TX_TEXT(R, CONTROLNAME),
              TX_TEXT(R, CONTROLTYPE),
              TX_TEXT(R, PARAMETERNAME),
              TX_FIELD(R, OFFSETX, Short),
              TX_FIELD(R, OFFSETY, Short),
              TX_TEXT(R, LOCK)};
  return l;
}

RecordLayout MakePresetLayout() {
  using R = PresetRecord;
  RecordLayout l{"MXPreset", "MXPRESET", "PRE", sizeof(R), {}, {}, true};
  l.fields = {TX_FIELD(R, EFFECTID, Long), TX_TEXT(R, EFFECTNAME), TX_FIELD(R, PARAMETERID, Long),
              TX_TEXT(R, SCREENNAME),      TX_TEXT(R, XVALUE),     TX_TEXT(R, YVALUE),
              TX_TEXT(R, UNIT),            TX_TEXT(R, MODIFIERFLAG), TX_TEXT(R, XACTIVE),
              TX_TEXT(R, YACTIVE)};
  l.keys = {Key(l, "PRE:Effect_Key", {"EFFECTID", "PARAMETERID"}, false)};
  return l;
}

#undef TX_FIELD
#undef TX_TEXT

// Each table's own set-up: create when missing, clear stale locks after 10
// seconds; the keys come with the layout, in order, none auto-numbered.
void InitTable(FileManager& fm, void* buffer, size_t size, const RecordLayout& layout, ErrorManager* errors) {
  fm.Init(buffer, size, layout, errors);
  fm.CREATE = true;
  fm.LOCKRECOVER = 10;
}

}  // namespace

const RecordLayout& EffectLayout() {
  static const RecordLayout l = MakeEffectLayout();
  return l;
}
const RecordLayout& CabLayout() {
  static const RecordLayout l = MakeCabLayout();
  return l;
}
const RecordLayout& SelectionLayout() {
  static const RecordLayout l = MakeSelectionLayout();
  return l;
}
const RecordLayout& SelectionMasterLayout() {
  static const RecordLayout l = MakeSelectionMasterLayout();
  return l;
}
const RecordLayout& ScreenMasterLayout() {
  static const RecordLayout l = MakeScreenMasterLayout();
  return l;
}
const RecordLayout& PresetLayout() {
  static const RecordLayout l = MakePresetLayout();
  return l;
}

TableSet::TableSet() { InitTables(*this, &GlobalErrors()); }

void InitTables(TableSet& t, ErrorManager* errors) {
  InitTable(t.DBEffects, &t.effect, sizeof t.effect, EffectLayout(), errors);
  InitTable(t.DBCabs, &t.cab, sizeof t.cab, CabLayout(), errors);
  InitTable(t.DBSelection, &t.selection, sizeof t.selection, SelectionLayout(), errors);
  InitTable(t.DBSelectionMaster, &t.selectionMaster, sizeof t.selectionMaster, SelectionMasterLayout(), errors);
  InitTable(t.DBScreenMaster, &t.screenMaster, sizeof t.screenMaster, ScreenMasterLayout(), errors);
  InitTable(t.MXPreset, &t.preset, sizeof t.preset, PresetLayout(), errors);
  t.opened = false;
}

TableSet& Tables() {
  static TableSet tables;
  return tables;
}

FileManager* FindTable(std::string_view name) {
  TableSet& t = Tables();
  for (FileManager* fm : {&t.DBEffects, &t.DBCabs, &t.DBSelection, &t.DBSelectionMaster, &t.DBScreenMaster, &t.MXPreset})
    if (fm->Name() == name) return fm;
  return nullptr;
}

bool DefinitionsHold(TableSet& t, uint8_t deviceType) {
  const EffectRecord saved = t.effect;
  t.effect = EffectRecord();
  t.effect.DEVICETYPE = deviceType;
  t.effect.EFFECTID = t.effect.EFFECTVARIANTID = t.effect.PARAMETERID = std::numeric_limits<int32_t>::min();
  bool holds = true;
  if (t.DBEffects.SetFrom(Effect_Primary_Key) == Level::Done) {
    const int read = t.DBEffects.Next(false);
    holds = read == Level::Done ? t.effect.DEVICETYPE == deviceType : !t.DBEffects.ATEOF;
  }
  t.effect = saved;
  return holds;
}

namespace {

// The five disk tables, in the order they are opened and closed.
std::array<FileManager*, 5> DiskTables(TableSet& t) {
  return {&t.DBSelectionMaster, &t.DBScreenMaster, &t.DBSelection, &t.DBCabs, &t.DBEffects};
}

}  // namespace

int OpenAllTables(TableSet& t) {
  int result = Level::Done;
  for (FileManager* fm : DiskTables(t)) {
    int r = fm->Open();
    if (r != Level::Done && result == Level::Done) result = r;
  }
  t.opened = true;
  return result;
}

void CloseAllTables(TableSet& t) {
  if (!t.opened) return;
  for (FileManager* fm : DiskTables(t)) fm->Close();
  t.opened = false;
}

int BeginAllTables(TableSet& t) {
  const auto all = DiskTables(t);
  return BeginTables(t, {all[0], all[1], all[2], all[3], all[4]});
}

int BeginTables(TableSet& t, std::initializer_list<FileManager*> tables) {
  t.transaction = std::make_unique<StorageGroup>();
  t.transactionError.clear();
  for (FileManager* fm : tables) {
    StorageTable* driver = fm->Driver();
    if (!driver || !driver->IsOpen() || t.transaction->Join(*driver) != storage::kOk) {
      t.transactionError = fm->Name() + " is not open for writing";
      t.transaction.reset();
      return Level::Fatal;
    }
  }
  if (t.transaction->Begin() != storage::kOk) {
    t.transactionError = t.transaction->ErrorText();
    t.transaction.reset();
    return Level::NotDone;
  }
  return Level::Done;
}

int CommitAllTables(TableSet& t) {
  if (!t.transaction) return Level::Fatal;
  const int rc = t.transaction->Commit();
  if (rc != storage::kOk) t.transactionError = t.transaction->ErrorText();
  t.transaction.reset();
  return rc == storage::kOk ? Level::Done : Level::NotDone;
}

int RollbackAllTables(TableSet& t) {
  if (!t.transaction) return Level::Done;
  const int rc = t.transaction->Rollback();
  t.transaction.reset();
  return rc == storage::kOk ? Level::Done : Level::NotDone;
}

TableSet::~TableSet() = default;

}  // namespace tx
