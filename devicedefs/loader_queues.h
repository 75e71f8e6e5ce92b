#pragma once
// The eleven queues of the definition import and how each load fills one.
// Field names and widths are those the joins and the row mappings address.
#include "platform/xml/text_queue.h"
#include "platform/xml/xml_reader.h"

namespace tx {

// Effect pool instances of a layout file.
TextQueue MakeEOQ();
// Control names (screen name, control type, internal parameter name).
TextQueue MakeCNQ();
// The editor-control tree, one row per control with everything carried down.
TextQueue MakeXMCQ();
// Parameter lists of the Gen2 and the Gen1 layout file.
TextQueue MakeEPQ();
TextQueue MakeEPQG1();
// Parameter scaling of the Gen2 and the Gen1 profile file.
TextQueue MakeEFQ1();
TextQueue MakeEFQ1G1();
// The joined effect rows written to DBEffects (the same fields as EFQ1).
TextQueue MakeEFQ();
// Cabinet pool of the Gen2 layout file.
TextQueue MakeCPQ();
// Selection lists of the Gen2 (256 items) and the Gen1 (101 items) profile.
TextQueue MakeSLQ();
TextQueue MakeSLQG1();

// Where each load finds its records and how their values are named.
XmlLoadRules PoolRules();             // -> EOQ
XmlLoadRules ControlNameRules(bool gen1);  // -> CNQ; Gen1 takes the parameter name from the attribute
XmlLoadRules ControlTreeRules();      // -> XMCQ
XmlLoadRules ParameterListRules();    // -> EPQ
XmlLoadRules ParameterListRulesG1();  // -> EPQG1
XmlLoadRules CabPoolRules();          // -> CPQ
XmlLoadRules ProfileParameterRules(); // -> EFQ1
XmlLoadRules SelectionRules();        // -> SLQ
XmlLoadRules ProfileParameterRulesG1();  // -> EFQ1G1
XmlLoadRules SelectionRulesG1();      // -> SLQG1

}  // namespace tx
