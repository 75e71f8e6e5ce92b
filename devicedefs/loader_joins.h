#pragma once
// The joins of the definition import, on queues only. Each expects its input
// queues sorted as the import sorts them before the call.
#include "platform/xml/text_queue.h"

namespace tx {

// Gen2: one EFQ row per effect instance (EOQ) and profile parameter (EFQ1) of
// its type; EFQ ends sorted by EFFECTID then TYPEID. EOQ sorted by ID, EFQ1 by
// TYPEID then EFFECTID.
void BuildEffectsGen2(const TextQueue& eoq, const TextQueue& efq1, TextQueue& efq);

// Gen2: effect names from EOQ (sorted by ID), internal names, bypass and
// modifier ids from EPQ (sorted by TYPEID, ID), screen names and control types
// from CNQ (sorted by PARAMETERNAME). A look-up that fails leaves its fields.
void CompleteEffectsGen2(TextQueue& efq, const TextQueue& eoq, const TextQueue& epq, const TextQueue& cnq);

// Gen1: the bypass parameter of each effect instance is the parameter of its
// type whose modifier id is "255" (the last one when several are). EPQG1
// sorted by EFFECTPARAMETERSNAME then ID.
void MarkBypassGen1(TextQueue& eoq, const TextQueue& epqg1);

// Gen1: as BuildEffectsGen2 with EFQ1G1 (sorted by EFFECTTYPE then EFFECTID),
// matching on the type name; variant 0, bypass id from EOQ.
void BuildEffectsGen1(const TextQueue& eoq, const TextQueue& efq1g1, TextQueue& efq);

// Gen1: as CompleteEffectsGen2 with EPQG1 (sorted by EFFECTPARAMETERSNAME, ID).
void CompleteEffectsGen1(TextQueue& efq, const TextQueue& eoq, const TextQueue& epqg1, const TextQueue& cnq);

}  // namespace tx
