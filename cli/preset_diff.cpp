#include "cli/preset_diff.h"

#include <algorithm>
#include <utility>

namespace txcli {

namespace {

std::string Shown(std::string_view field) {
  size_t a = field.find_first_not_of(' ');
  if (a == std::string_view::npos) return {};
  return std::string(field.substr(a, field.find_last_not_of(' ') - a + 1));
}

ParameterValues ValuesOf(const tx::PresetRecord& row) {
  return {Shown(row.XVALUE.raw()), Shown(row.YVALUE.raw()), Shown(row.UNIT.raw()), Shown(row.MODIFIERFLAG.raw())};
}

// The rows are packed records: their fields are copied, never bound by reference.
std::pair<int32_t, int32_t> Key(const tx::PresetRecord* r) {
  const int32_t effect = r->EFFECTID, parameter = r->PARAMETERID;
  return {effect, parameter};
}

// Rows ordered by block and parameter, equal keys kept in stored order.
std::vector<const tx::PresetRecord*> ByKey(const std::vector<tx::PresetRecord>& rows) {
  std::vector<const tx::PresetRecord*> out;
  for (const auto& r : rows) out.push_back(&r);
  std::stable_sort(out.begin(), out.end(), [](const tx::PresetRecord* x, const tx::PresetRecord* y) {
    return Key(x) < Key(y);
  });
  return out;
}

std::vector<int32_t> EffectIds(const DecodedPreset& p) {
  std::vector<int32_t> ids;
  for (const auto& b : p.blocks) ids.push_back(b.EFFECTID);
  std::sort(ids.begin(), ids.end());
  return ids;
}

bool Has(const std::vector<BlockRef>& blocks, int32_t effectId) {
  return std::any_of(blocks.begin(), blocks.end(), [&](const BlockRef& b) { return b.effectId == effectId; });
}

}  // namespace

std::string DecodedPreset::EffectName(int32_t effectId) const {
  for (const auto& r : rows)
    if (r.EFFECTID == effectId) return r.EFFECTNAME.str();
  return {};
}

PresetDiff ComparePresets(const DecodedPreset& a, const DecodedPreset& b) {
  PresetDiff d;
  d.deviceTypeChanged = a.state.deviceType != b.state.deviceType;
  d.numberChanged = a.state.PRESETNUMBER != b.state.PRESETNUMBER;
  d.nameChanged = a.state.PRESETNAME.raw() != b.state.PRESETNAME.raw();

  // Blocks as a multiset of effect ids: a block twice in A and once in B is once only in A.
  const std::vector<int32_t> idsA = EffectIds(a), idsB = EffectIds(b);
  std::vector<int32_t> onlyA, onlyB;
  std::set_difference(idsA.begin(), idsA.end(), idsB.begin(), idsB.end(), std::back_inserter(onlyA));
  std::set_difference(idsB.begin(), idsB.end(), idsA.begin(), idsA.end(), std::back_inserter(onlyB));
  for (int32_t id : onlyA) d.onlyInA.push_back({id, a.EffectName(id)});
  for (int32_t id : onlyB) d.onlyInB.push_back({id, b.EffectName(id)});

  for (int c = 0; c < tx::GRID_COLUMNS; ++c) {
    for (int r = 0; r < tx::GRID_ROWS; ++r) {
      const tx::BlockCell& x = a.state.grid[static_cast<size_t>(r)][static_cast<size_t>(c)];
      const tx::BlockCell& y = b.state.grid[static_cast<size_t>(r)][static_cast<size_t>(c)];
      if (x.blockId != y.blockId || x.inputMask != y.inputMask) d.grid.push_back({r + 1, c + 1, x, y});
    }
  }

  for (const auto& x : a.blocks) {
    auto y = std::find_if(b.blocks.begin(), b.blocks.end(),
                          [&](const tx::BlockQueueEntry& e) { return e.EFFECTID == x.EFFECTID; });
    if (y == b.blocks.end() || y->XYSTATE == x.XYSTATE) continue;
    if (!std::any_of(d.states.begin(), d.states.end(), [&](const StateChange& s) { return s.block.effectId == x.EFFECTID; }))
      d.states.push_back({{x.EFFECTID, a.EffectName(x.EFFECTID)}, x.XYSTATE, y->XYSTATE});
  }

  // Both row lists merged by (effect id, parameter id).
  const auto rowsA = ByKey(a.rows), rowsB = ByKey(b.rows);
  size_t i = 0, j = 0;
  auto change = [&](const tx::PresetRecord& row) {
    ParameterChange p;
    p.block = {row.EFFECTID, row.EFFECTNAME.str()};
    p.parameterId = row.PARAMETERID;
    p.screenName = row.SCREENNAME.str();
    return p;
  };
  while (i < rowsA.size() || j < rowsB.size()) {
    const tx::PresetRecord* x = i < rowsA.size() ? rowsA[i] : nullptr;
    const tx::PresetRecord* y = j < rowsB.size() ? rowsB[j] : nullptr;
    const bool takeA = x && (!y || Key(x) < Key(y));
    const bool takeB = y && (!x || Key(y) < Key(x));
    if (takeA) {
      ++i;
      // The rows of a block only in A are told by the block.
      if (Has(d.onlyInA, x->EFFECTID)) continue;
      ParameterChange p = change(*x);
      p.a = ValuesOf(*x);
      d.parameters.push_back(std::move(p));
    } else if (takeB) {
      ++j;
      if (Has(d.onlyInB, y->EFFECTID)) continue;
      ParameterChange p = change(*y);
      p.b = ValuesOf(*y);
      d.parameters.push_back(std::move(p));
    } else {
      ++i;
      ++j;
      ParameterValues va = ValuesOf(*x), vb = ValuesOf(*y);
      if (va == vb) continue;
      ParameterChange p = change(*x);
      p.a = std::move(va);
      p.b = std::move(vb);
      d.parameters.push_back(std::move(p));
    }
  }
  return d;
}

}  // namespace txcli
