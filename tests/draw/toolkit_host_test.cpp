// A canvas bound to an image control of the console toolkit.
#include <gtest/gtest.h>

#include "draw/toolkit_canvas_host.h"
#include "platform/toolkit/console_toolkit.h"

namespace {

tx::WindowLayout WindowWithImage() {
  tx::WindowLayout layout;
  layout.title = "Tonalyx";
  layout.width = 521;
  layout.height = 206;
  tx::ControlLayout image;
  image.number = 5;
  image.kind = tx::ControlKind::Image;
  image.x = 40;
  image.y = 50;
  image.width = 442;
  image.height = 109;
  layout.controls.push_back(image);
  return layout;
}

TEST(CanvasOnToolkit, SizeFromTheControlPictureShownAndCopiedToTheClipboard) {
  tx::ConsoleToolkit toolkit;
  const tx::WindowId w = toolkit.OpenWindow(WindowWithImage());
  tx::ToolkitCanvasHost host(toolkit, w);
  tx::Canvas canvas;
  canvas.Init(host, 5);
  const tx::PixelSize size = toolkit.ControlPixelSize(w, 5);
  ASSERT_GT(size.width, 0);
  EXPECT_EQ(canvas.Width(), size.width);
  EXPECT_EQ(canvas.Height(), size.height);
  EXPECT_FALSE(canvas.Debug());

  canvas.Plot(1, 1, 0x0000FF);
  canvas.Display();
  const auto& shown = toolkit.ControlBitmap(w, 5);
  ASSERT_EQ(shown.size(), canvas.PictureSize());
  EXPECT_TRUE(std::equal(shown.begin(), shown.end(), canvas.DisplayPicture()));
  EXPECT_EQ(shown[0], 'B');
  canvas.CopyPicture();
  EXPECT_EQ(toolkit.ClipboardImage(), shown);
}

TEST(CanvasOnToolkit, DrawDebugOnTheCommandLineSwitchesErrorsOn) {
  tx::ConsoleToolkit toolkit;
  toolkit.SetCommandLine({"/DrawDebug"});
  const tx::WindowId w = toolkit.OpenWindow(WindowWithImage());
  tx::ToolkitCanvasHost host(toolkit, w);
  tx::Canvas canvas;
  canvas.Init(host, 5);
  EXPECT_TRUE(canvas.Debug());
}

TEST(CanvasOnToolkit, ResizeKeepsBindingAndPenButClearsThePicture) {
  tx::ConsoleToolkit toolkit;
  const tx::WindowId w = toolkit.OpenWindow(WindowWithImage());
  tx::ToolkitCanvasHost host(toolkit, w);
  tx::Canvas canvas;
  canvas.Init(host, 5);
  canvas.SetPenColor(0x00FF00);
  canvas.SetPenWidth(2);
  canvas.Plot(1, 1);
  canvas.Resize(800, 220);
  EXPECT_EQ(canvas.Width(), 800);
  EXPECT_EQ(canvas.Pixel(1, 1), 0);
  EXPECT_EQ(canvas.PenWidth(), 2);
  EXPECT_EQ(canvas.PenColor(), 0x00FF00);
  canvas.Display();
  EXPECT_EQ(toolkit.ControlBitmap(w, 5).size(), canvas.PictureSize());
}

}  // namespace
