#pragma once
// Binds a canvas to an image control of a window of the window toolkit.
#include "draw/canvas.h"
#include "platform/toolkit/toolkit.h"

namespace tx {

class ToolkitCanvasHost : public CanvasHost {
 public:
  ToolkitCanvasHost(WindowToolkit& toolkit, WindowId window) : toolkit_(toolkit), window_(window) {}
  bool ControlSize(int control, int& width, int& height) override;
  void ShowPicture(int control, const uint8_t* bmp, size_t size) override;
  void CopyPicture(int control) override;
  bool DebugRequested() override;

 private:
  WindowToolkit& toolkit_;
  WindowId window_;
};

}  // namespace tx
