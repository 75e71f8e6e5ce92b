#include "preset/preset_messages.h"

#include <string>

#include "platform/toolkit/toolkit.h"

namespace tx {

void ShowPresetMessage(std::string_view text, std::string_view caption) {
  MessageRequest request;
  request.text = std::string(text);
  request.caption = std::string(caption);
  request.icon = MessageIcon::Information;
  request.buttons = BUTTON_OK;
  request.defaultButton = BUTTON_OK;
  Toolkit().MessageBox(request);
}

}  // namespace tx
