#include "base/record_layout.h"

#include <strings.h>

namespace tx {

int RecordLayout::FieldIndex(const std::string& name) const {
  for (size_t i = 0; i < fields.size(); ++i)
    if (strcasecmp(fields[i].name.c_str(), name.c_str()) == 0) return static_cast<int>(i);
  return -1;
}

}  // namespace tx
