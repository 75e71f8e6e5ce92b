// Arbitrary bytes as a definition file, read through the XML reader layer
// by every load the import makes of a layout or a profile file, then joined
// and mapped to table rows as the import does (without the tables).
//
// Seed it with the shipped definitions: cp Masters/Gen1/* Masters/Gen2/* DIR
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "devicedefs/loader_joins.h"
#include "devicedefs/loader_queues.h"
#include "devicedefs/loader_rows.h"
#include "devicedefs/screen_layout.h"

namespace {

// The input as a file, without touching a disk.
std::string InputFile(const uint8_t* data, size_t size) {
  static const int fd = memfd_create("definition", 0);
  if (fd < 0 || ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)) return {};
  return "/proc/self/fd/" + std::to_string(fd);
}

void Load(const std::string& path, const tx::XmlLoadRules& rules, tx::TextQueue& q) {
  q.Clear();
  tx::LoadXmlQueue(path, rules, q);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string file = InputFile(data, size);
  if (file.empty()) return 0;
  using namespace tx;

  // Second generation: the file as layout and as profile.
  TextQueue eoq = MakeEOQ(), cnq = MakeCNQ(), xmcq = MakeXMCQ(), epq = MakeEPQ(), efq1 = MakeEFQ1(), efq = MakeEFQ(),
            cpq = MakeCPQ(), slq = MakeSLQ();
  Load(file, PoolRules(), eoq);
  eoq.Sort({eoq.F("ID")});
  Load(file, ControlNameRules(false), cnq);
  cnq.Sort({cnq.F("PARAMETERNAME")});
  Load(file, ControlTreeRules(), xmcq);
  WalkScreenLayout(xmcq, 3, [](const ScreenMasterRecord&) {});
  Load(file, ParameterListRules(), epq);
  epq.Sort({epq.F("TYPEID"), epq.F("ID")});
  Load(file, ProfileParameterRules(), efq1);
  efq1.Sort({efq1.F("TYPEID"), efq1.F("EFFECTID")});
  BuildEffectsGen2(eoq, efq1, efq);
  CompleteEffectsGen2(efq, eoq, epq, cnq);
  Load(file, CabPoolRules(), cpq);
  for (size_t i = 0; i < cpq.size(); ++i) CabRow(cpq, i);
  Load(file, SelectionRules(), slq);
  EffectRowMapper effects(efq);
  for (size_t i = 0; i < efq.size(); ++i) effects(i, 3);
  SelectionRowMapper selections(slq, false);
  for (size_t i = 0; i < slq.size(); ++i) selections(i);

  // First generation.
  TextQueue epqg1 = MakeEPQG1(), efq1g1 = MakeEFQ1G1(), efqg1 = MakeEFQ(), slqg1 = MakeSLQG1();
  Load(file, ControlNameRules(true), cnq);
  cnq.Sort({cnq.F("PARAMETERNAME")});
  Load(file, ParameterListRulesG1(), epqg1);
  epqg1.Sort({epqg1.F("EFFECTPARAMETERSNAME"), epqg1.F("ID")});
  MarkBypassGen1(eoq, epqg1);
  Load(file, ProfileParameterRulesG1(), efq1g1);
  efq1g1.Sort({efq1g1.F("EFFECTTYPE"), efq1g1.F("EFFECTID")});
  BuildEffectsGen1(eoq, efq1g1, efqg1);
  CompleteEffectsGen1(efqg1, eoq, epqg1, cnq);
  Load(file, SelectionRulesG1(), slqg1);
  slqg1.Sort({slqg1.F("EFFECTID"), slqg1.F("PARAMID")});
  SelectionRowMapper selectionsG1(slqg1, true);
  for (size_t i = 0; i < slqg1.size(); ++i) selectionsG1(i);
  return 0;
}
