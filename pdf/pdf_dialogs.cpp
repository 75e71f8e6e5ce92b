// The writer's user-facing side: message boxes and the save dialog go
// through the window toolkit.
#include "pdf/pdf_generator.h"
#include "platform/toolkit/toolkit.h"

namespace tx {

void PDFGenerator::ShowMessage(std::string_view title, std::string_view text) {
  MessageRequest request;
  request.text = std::string(text);
  request.caption = std::string(title);
  request.icon = MessageIcon::Exclamation;
  request.buttons = BUTTON_OK;
  request.defaultButton = BUTTON_OK;
  request.barIsNewline = true;
  Toolkit().MessageBox(request);
}

bool PDFGenerator::AskSaveName(std::string_view title, std::string_view filter, std::string& name) {
  FileDialogRequest request;
  request.save = true;
  request.title = std::string(title);
  request.filter = std::string(filter);
  auto chosen = Toolkit().FileDialog(request);
  if (!chosen) return false;
  name = *chosen;
  return true;
}

}  // namespace tx
