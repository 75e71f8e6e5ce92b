#pragma once
// The preset parser's own two messages: plain message boxes with the
// information icon and an OK button, shown through the window toolkit.
#include <string_view>

namespace tx {

void ShowPresetMessage(std::string_view text, std::string_view caption);

}  // namespace tx
