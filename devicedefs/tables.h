#pragma once
// Record layouts of the master tables and of the in-memory preset table.
// Field order, widths and offsets are fixed: the loader, the preset decoder,
// the block image, the export and the report all address rows through them.
#include <cstddef>
#include <cstdint>

#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

#include "base/fixed_string.h"
#include "base/record_layout.h"
#include "services/file_manager.h"

namespace tx {

class StorageGroup;

#pragma pack(push, 1)

// DBEffects, "efx.mdl": one row per device type, effect instance, variant and parameter.
struct EffectRecord {
  uint8_t DEVICETYPE = 0;
  int32_t EFFECTID = 0;
  int32_t EFFECTTYPEID = 0;
  FixedString<32> EFFECTTYPE;
  int32_t EFFECTVARIANTPARAMETERID = 0;
  int32_t EFFECTBYPASSPARAMETERID = 0;
  FixedString<32> EFFECTNAME;
  int32_t EFFECTVARIANTID = 0;
  int32_t PARAMETERID = 0;
  int32_t MODIFIERID = 0;
  FixedString<32> INTERNALNAME;
  FixedString<32> SCREENNAME;
  FixedString<32> CONTROLTYPE;
  FixedString<3> PARAMTYPE;
  double DEFAULTVALUE = 0;
  double MINIMUMVALUE = 0;
  double MAXIMUMVALUE = 0;
  int32_t PRECISION = 0;
  int32_t NUMBEROFVALUES = 0;
  FixedString<32> UNIT;
};

// DBCabs, "cab.mdl": the second-generation cabinets.
struct CabRecord {
  int32_t ID = 0;
  FixedString<64> NAME;
};

// DBSelection, "sel.mdl": the text list of one selection-list parameter.
// SELECTION[i - 1] is entry i, the text for raw value i - 1.
struct SelectionRecord {
  uint8_t DEVICETYPE = 0;
  int32_t EFFECTID = 0;
  int32_t EFFECTTYPEID = 0;
  int32_t EFFECTVARIANTID = 0;
  int32_t PARAMETERID = 0;
  FixedString<32> SELECTION[256];
};

// DBSelectionMaster, "EdtSel.kvr": the same lists, one row per non-blank entry.
struct SelectionMasterRecord {
  uint8_t DEVICETYPE = 0;
  int32_t EFFECTID = 0;
  int32_t EFFECTTYPEID = 0;
  int32_t EFFECTVARIANTID = 0;
  int32_t PARAMETERID = 0;
  int16_t SELECTIONVALUE = 0;
  FixedString<32> SELECTIONSTRING;
};

// DBScreenMaster, "EdtLay.kvr": one row per editor control placed on an editor page.
struct ScreenMasterRecord {
  uint8_t DEVICETYPE = 0;
  FixedString<20> EDITORCONTROLNAME;
  int16_t EDITORCONTROLVALUE = 0;
  int16_t EDITORCONTROLTYPEID = 0;
  FixedString<20> EDITORCONTROLTYPE;
  FixedString<8> SYNCVARIANTSTOTYPE;
  FixedString<20> SUBTYPEPARAMETER;
  FixedString<20> SUBTYPEPARAMETERPAGE;
  FixedString<20> EFFECTVARIANTNAME;
  int16_t EFFECTVARIANTVALUE = 0;
  int16_t EFFECTVARIANTTYPEID = 0;
  FixedString<20> PAGENAME;
  int16_t SUBTYPE = 0;
  FixedString<20> NOTE;
  FixedString<20> MONITOR;
  FixedString<20> LAYOUT;
  FixedString<20> PAGESECTION;
  int16_t ROW = 0;
  int16_t COLUMN = 0;
  FixedString<32> CONTROLNAME;
  FixedString<32> CONTROLTYPE;
  FixedString<32> PARAMETERNAME;
  int16_t OFFSETX = 0;
  int16_t OFFSETY = 0;
  FixedString<32> LOCK;
};

// MXPreset, memory only: one row per parameter of every block of the shown preset.
struct PresetRecord {
  int32_t EFFECTID = 0;
  FixedString<32> EFFECTNAME;
  int32_t PARAMETERID = 0;
  FixedString<32> SCREENNAME;
  FixedString<20> XVALUE;
  FixedString<20> YVALUE;
  FixedString<32> UNIT;
  FixedString<1> MODIFIERFLAG;
  FixedString<1> XACTIVE;
  FixedString<1> YACTIVE;
};

#pragma pack(pop)

static_assert(sizeof(EffectRecord) == 256);
static_assert(offsetof(EffectRecord, EFFECTTYPE) == 9);
static_assert(offsetof(EffectRecord, EFFECTNAME) == 49);
static_assert(offsetof(EffectRecord, INTERNALNAME) == 93);
static_assert(offsetof(EffectRecord, PARAMTYPE) == 189);
static_assert(offsetof(EffectRecord, DEFAULTVALUE) == 192);
static_assert(offsetof(EffectRecord, PRECISION) == 216);
static_assert(offsetof(EffectRecord, UNIT) == 224);
static_assert(sizeof(CabRecord) == 68);
static_assert(sizeof(SelectionRecord) == 8209);
static_assert(offsetof(SelectionRecord, SELECTION) == 17);
static_assert(sizeof(SelectionMasterRecord) == 51);
static_assert(offsetof(SelectionMasterRecord, SELECTIONSTRING) == 19);
static_assert(sizeof(ScreenMasterRecord) == 355);
static_assert(offsetof(ScreenMasterRecord, PAGENAME) == 117);
static_assert(offsetof(ScreenMasterRecord, ROW) == 219);
static_assert(offsetof(ScreenMasterRecord, CONTROLNAME) == 223);
static_assert(offsetof(ScreenMasterRecord, LOCK) == 323);

// Layout descriptions (fields and keys, keys in declaration order).
const RecordLayout& EffectLayout();
const RecordLayout& CabLayout();
const RecordLayout& SelectionLayout();
const RecordLayout& SelectionMasterLayout();
const RecordLayout& ScreenMasterLayout();
const RecordLayout& PresetLayout();

// Key numbers, in the order the keys are declared for each table.
enum EffectKeys { Effect_Primary_Key = 0, Effect_Key = 1, EffectParameter_Key = 2, EffectModifier_Key = 3 };
enum CabKeys { ID_Key = 0 };
enum SelectionKeys { Selection_Key = 0 };
enum PresetKeys { PresetEffect_Key = 0 };

// The process-wide table access objects with their record buffers. Each is
// initialised for its table (created when missing, lock recovery 10, the
// layout's keys); nothing is opened until asked.
struct TableSet {
  TableSet();  // initialised with the global error manager
  TableSet(const TableSet&) = delete;
  TableSet& operator=(const TableSet&) = delete;

  EffectRecord effect;
  CabRecord cab;
  SelectionRecord selection;
  SelectionMasterRecord selectionMaster;
  ScreenMasterRecord screenMaster;
  PresetRecord preset;

  FileManager DBEffects;
  FileManager DBCabs;
  FileManager DBSelection;
  FileManager DBSelectionMaster;
  FileManager DBScreenMaster;
  FileManager MXPreset;

  bool opened = false;  // the five disk tables are open as a set
  // Why the last transaction over the five could not begin or commit.
  std::string transactionError;
  // The transaction over the five while one runs. Declared last, so that it
  // ends (rolled back) before the tables themselves go.
  std::unique_ptr<StorageGroup> transaction;

  ~TableSet();
};

TableSet& Tables();
// (Re)initialises every access object of `t` with `errors` (closing open files).
void InitTables(TableSet& t, ErrorManager* errors);
// The access object registered under a table name ("DBEffects", ... "MXPreset"), or nullptr.
FileManager* FindTable(std::string_view name);

// Whether DBEffects (open) holds a row of the device type. Leaves the
// table's buffer as it was. A read that fails counts as holding rows: the
// failure is not taken for an empty table.
bool DefinitionsHold(TableSet& t, uint8_t deviceType);

// Opens DBSelectionMaster, DBScreenMaster, DBSelection, DBCabs, DBEffects in
// that order and marks the set open; returns the first failing level, else 0.
int OpenAllTables(TableSet& t = Tables());
// Closes the five in the same order, only when the set is marked open.
void CloseAllTables(TableSet& t = Tables());
// One transaction over the five disk tables (open) around a block of writes
// (the import): every row the block writes is kept in every table, or none
// is, whatever happens to the process on the way. Begin waits for other
// writers and Commit for readers, each up to the tables' lock wait; on
// failure `transactionError` says why. Rollback after a failed Commit is a
// harmless no-op.
int BeginAllTables(TableSet& t = Tables());
// As BeginAllTables, over the tables given only: those a block writes. A
// table it leaves out stays open to other processes' readers meanwhile.
int BeginTables(TableSet& t, std::initializer_list<FileManager*> tables);
int CommitAllTables(TableSet& t = Tables());
int RollbackAllTables(TableSet& t = Tables());

}  // namespace tx
