#include "devicedefs/loader.h"

#include <algorithm>
#include <functional>

#include "devicedefs/loader_joins.h"
#include "devicedefs/loader_queues.h"
#include "devicedefs/loader_rows.h"
#include "devicedefs/screen_layout.h"
#include "platform/storage/storage_table.h"

namespace tx {

const char* const kGen2Layout = "Masters/Gen2/default.axeml";
const char* const kGen2Profile = "Masters/Gen2/default.profile";
const char* const kGen1Layout = "Masters/Gen1/default.axeml";
const char* const kGen1Profile = "Masters/Gen1/default.profile";

namespace {

constexpr uint8_t kGen1 = 1;
constexpr uint8_t kGen2 = 3;

class Import {
 public:
  explicit Import(TableSet& t) : t_(t) {}

  // Empties the queue, then reads the file into it.
  void Load(const char* path, const XmlLoadRules& rules, TextQueue& q) {
    q.Clear();
    XmlLoadResult r = LoadXmlQueue(path, rules, q);
    if (r.status == XmlLoadResult::Loaded) return;
    std::string note = std::string(path) + ": " + r.message;
    if (std::find(report_.unreadFiles.begin(), report_.unreadFiles.end(), note) == report_.unreadFiles.end())
      report_.unreadFiles.push_back(note);
  }

  // One open-all ... close-all block, written as one transaction over the
  // tables it writes (the others stay free for readers). A write that fails
  // for any reason but an existing key abandons the block: none of its rows
  // stays in any table.
  void Block(const char* what, std::initializer_list<FileManager*> written, const std::function<void()>& writes) {
    ImportReport before = report_;
    failed_ = false;
    cause_.clear();
    if (OpenAllTables(t_) != Level::Done) Abandon("a table could not be opened");
    const bool inTransaction = !failed_ && BeginTables(t_, written) == Level::Done;
    if (!failed_ && !inTransaction) Abandon(t_.transactionError);
    if (!failed_) writes();
    if (inTransaction) {
      if (!failed_ && CommitAllTables(t_) != Level::Done) Abandon(t_.transactionError);
      if (failed_) RollbackAllTables(t_);
    }
    CloseAllTables(t_);
    if (failed_) {
      std::vector<std::string> unread = report_.unreadFiles;
      std::vector<std::string> kept = report_.keptBlocks;
      std::vector<ImportReport::FailedBlock> blocks = report_.failedBlocks;
      report_ = before;  // nothing of the block stayed
      report_.unreadFiles = unread;
      report_.keptBlocks = kept;
      report_.failedBlocks = blocks;
      report_.failedBlocks.push_back({what, cause_});
    } else {
      report_.keptBlocks.push_back(what);
    }
  }

  void Abandon(const std::string& cause) {
    if (!failed_) cause_ = cause;
    failed_ = true;
  }

  // Appends the table's buffer; false when the block has to be abandoned.
  bool Append(FileManager& table, long& count) {
    if (failed_) return false;
    int r = table.Insert(false);
    if (r == 0) {
      ++count;
      return true;
    }
    if (table.LASTERROR == storage::kDuplicateKey) {
      ++report_.refused;  // the first stored row for a key stays
      return true;
    }
    Abandon(table.Name() + ": " + table.Driver()->ErrorText());
    return false;
  }

  void WriteLayout(const TextQueue& xmcq, uint8_t device) {
    WalkScreenLayout(xmcq, device, [&](const ScreenMasterRecord& row) {
      t_.screenMaster = row;
      Append(t_.DBScreenMaster, report_.screenMasters);
    });
  }

  void WriteEffects(const TextQueue& efq, uint8_t device) {
    EffectRowMapper map(efq);
    for (size_t i = 0; i < efq.size() && !failed_; ++i) {
      t_.effect = map(i, device);
      Append(t_.DBEffects, report_.effects);
    }
  }

  void WriteSelections(const TextQueue& slq, bool gen1) {
    SelectionRowMapper map(slq, gen1);
    for (size_t i = 0; i < slq.size() && !failed_; ++i) {
      t_.selection = map(i);
      Append(t_.DBSelection, report_.selections);
    }
  }

  // Every DBSelection row, of both generations and of earlier runs, becomes
  // one DBSelectionMaster row per entry up to the first blank one.
  void FlattenSelections() {
    FileManager& sel = t_.DBSelection;
    if (sel.SetOrder(storage::kPhysicalOrder) != Level::Done) {
      Abandon(sel.Name() + ": " + sel.Driver()->ErrorText());
      return;
    }
    while (!failed_ && sel.Next(false) == Level::Done) {
      const SelectionRecord& s = t_.selection;
      int limit = s.DEVICETYPE == kGen1 ? 100 : 256;
      for (int i = 1; i <= limit && !failed_; ++i) {
        if (s.SELECTION[i - 1].blank()) break;
        SelectionMasterRecord& m = t_.selectionMaster;
        m = SelectionMasterRecord();
        m.DEVICETYPE = s.DEVICETYPE;
        m.EFFECTID = s.EFFECTID;
        m.EFFECTTYPEID = s.EFFECTTYPEID;
        m.EFFECTVARIANTID = s.EFFECTVARIANTID;
        m.PARAMETERID = s.PARAMETERID;
        m.SELECTIONVALUE = static_cast<int16_t>(i - 1);
        m.SELECTIONSTRING = s.SELECTION[i - 1].raw();
        Append(t_.DBSelectionMaster, report_.selectionMasters);
      }
    }
    if (!sel.ATEOF && !failed_) Abandon(sel.Name() + ": " + sel.Driver()->ErrorText());  // the read stopped on an error
  }

  void SecondGeneration() {
    TextQueue eoq = MakeEOQ(), cnq = MakeCNQ(), xmcq = MakeXMCQ(), epq = MakeEPQ(), efq1 = MakeEFQ1(),
              efq = MakeEFQ(), cpq = MakeCPQ(), slq = MakeSLQ();
    Load(kGen2Layout, PoolRules(), eoq);
    eoq.Sort({eoq.F("ID")});
    Load(kGen2Layout, ControlNameRules(false), cnq);
    cnq.Sort({cnq.F("PARAMETERNAME")});
    Load(kGen2Layout, ControlTreeRules(), xmcq);
    Block("Gen2 screen layout", {&t_.DBScreenMaster}, [&] { WriteLayout(xmcq, kGen2); });

    Load(kGen2Layout, ParameterListRules(), epq);
    epq.Sort({epq.F("TYPEID"), epq.F("ID")});
    Load(kGen2Profile, ProfileParameterRules(), efq1);
    efq1.Sort({efq1.F("TYPEID"), efq1.F("EFFECTID")});
    BuildEffectsGen2(eoq, efq1, efq);
    CompleteEffectsGen2(efq, eoq, epq, cnq);
    Load(kGen2Layout, CabPoolRules(), cpq);
    cpq.Sort({cpq.F("ID")});
    Load(kGen2Profile, SelectionRules(), slq);
    efq.Sort({efq.F("EFFECTID"), efq.F("TYPEID")});
    Block("Gen2 effects, cabinets and selection lists", {&t_.DBCabs, &t_.DBEffects, &t_.DBSelection}, [&] {
      for (size_t i = 0; i < cpq.size() && !failed_; ++i) {
        t_.cab = CabRow(cpq, i);
        Append(t_.DBCabs, report_.cabs);
      }
      WriteEffects(efq, kGen2);
      WriteSelections(slq, false);
    });
  }

  void FirstGeneration() {
    TextQueue eoq = MakeEOQ(), cnq = MakeCNQ(), xmcq = MakeXMCQ(), epqg1 = MakeEPQG1(), efq1g1 = MakeEFQ1G1(),
              efq = MakeEFQ(), slqg1 = MakeSLQG1();
    Load(kGen1Layout, PoolRules(), eoq);
    eoq.Sort({eoq.F("ID")});
    Load(kGen1Layout, ControlNameRules(true), cnq);
    cnq.Sort({cnq.F("PARAMETERNAME")});
    Load(kGen1Layout, ControlTreeRules(), xmcq);
    Block("Gen1 screen layout", {&t_.DBScreenMaster}, [&] { WriteLayout(xmcq, kGen1); });

    Load(kGen1Layout, ParameterListRulesG1(), epqg1);
    epqg1.Sort({epqg1.F("EFFECTPARAMETERSNAME"), epqg1.F("ID")});
    MarkBypassGen1(eoq, epqg1);
    Load(kGen1Profile, ProfileParameterRulesG1(), efq1g1);
    efq1g1.Sort({efq1g1.F("EFFECTTYPE"), efq1g1.F("EFFECTID")});
    BuildEffectsGen1(eoq, efq1g1, efq);
    CompleteEffectsGen1(efq, eoq, epqg1, cnq);
    Load(kGen1Profile, SelectionRulesG1(), slqg1);
    slqg1.Sort({slqg1.F("EFFECTID"), slqg1.F("PARAMID")});
    Block("Gen1 effects and selection lists, and the flattened lists",
          {&t_.DBEffects, &t_.DBSelection, &t_.DBSelectionMaster}, [&] {
      WriteEffects(efq, kGen1);
      WriteSelections(slqg1, true);
      FlattenSelections();
    });
  }

  ImportReport Run() {
    SecondGeneration();
    FirstGeneration();
    return report_;
  }

 private:
  TableSet& t_;
  ImportReport report_;
  bool failed_ = false;
  std::string cause_;  // why the block under way was abandoned
};

}  // namespace

ImportReport ImportDefinitions(TableSet& tables) { return Import(tables).Run(); }

std::vector<std::string> ImportFailureLines(const ImportReport& r) {
  std::vector<std::string> lines;
  if (r.failedBlocks.empty()) return lines;
  for (const auto& block : r.failedBlocks)
    lines.push_back("could not write the " + block.what + ": " + block.cause + "; no row of it was stored");
  if (r.keptBlocks.empty()) {
    lines.push_back("nothing was stored; the tables are as they were");
    return lines;
  }
  std::string kept;
  for (size_t i = 0; i < r.keptBlocks.size(); ++i) {
    if (i > 0) kept += i + 1 == r.keptBlocks.size() ? " and " : ", ";
    kept += "the " + r.keptBlocks[i];
  }
  lines.push_back("stored in full: " + kept);
  return lines;
}

}  // namespace tx
