// The block image's view of DBEffects through its access object.
#include "outputs/block_image.h"
#include "services/file_manager.h"

namespace tx {

bool TableEffectRows::FirstByEffectId(int32_t effectId, EffectRecord& row) {
  buffer_.EFFECTID = effectId;
  if (table_.Fetch(Effect_Key) != FOUND) return false;
  row = buffer_;
  return true;
}

}  // namespace tx
