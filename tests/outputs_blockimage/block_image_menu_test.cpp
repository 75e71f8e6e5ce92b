// The right-click menu over the block image, driven through the console toolkit.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "draw/toolkit_canvas_host.h"
#include "outputs/block_image.h"
#include "platform/toolkit/console_toolkit.h"
#include "support/temp_dir.h"

namespace {

class BlockImageMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tx::WindowLayout layout;
    tx::ControlLayout image;
    image.number = 5;
    image.kind = tx::ControlKind::Image;
    image.width = 442;
    image.height = 109;
    layout.controls.push_back(image);
    window = toolkit.OpenWindow(layout);
    host.emplace(toolkit, window);
    canvas.Init(*host, 5);
    canvas.Blank(0xFFFFFF);
    canvas.Display();
    state.PRESETNAME = "Clean/Crunch";
  }
  txtest::TempDir dir;
  tx::ConsoleToolkit toolkit;
  tx::WindowId window = 0;
  std::optional<tx::ToolkitCanvasHost> host;
  tx::Canvas canvas;
  tx::PresetState state;
};

TEST_F(BlockImageMenuTest, SaveImageAsksForAFileAndWritesThePng) {
  const std::string chosen = dir.file("mine.png");
  toolkit.QueueMenuChoice(1);
  toolkit.QueueFilePath(chosen);
  tx::BlockImageMenu(toolkit, window, canvas, state);
  ASSERT_EQ(toolkit.Menus().size(), 1u);
  EXPECT_EQ(toolkit.Menus()[0], "Save Image...|Copy Image To Clipboard");
  ASSERT_EQ(toolkit.FileDialogs().size(), 1u);
  const tx::FileDialogRequest& r = toolkit.FileDialogs()[0];
  EXPECT_TRUE(r.save);
  EXPECT_EQ(r.title, "Save Preset Block Image");
  EXPECT_EQ(r.filter, "PNG File (*.png)|*.png");
  EXPECT_EQ(r.proposedPath, "Clean_Crunch.png");
  EXPECT_GT(std::filesystem::file_size(chosen), 0u);
}

TEST_F(BlockImageMenuTest, CancelledDialogOrMenuDoesNothing) {
  toolkit.QueueMenuChoice(1);
  toolkit.QueueFileCancel();
  tx::BlockImageMenu(toolkit, window, canvas, state);
  toolkit.QueueMenuChoice(0);
  tx::BlockImageMenu(toolkit, window, canvas, state);
  EXPECT_EQ(toolkit.FileDialogs().size(), 1u);
  EXPECT_TRUE(toolkit.ClipboardImage().empty());
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST_F(BlockImageMenuTest, CopyPutsTheShownPictureOnTheClipboard) {
  toolkit.QueueMenuChoice(2);
  tx::BlockImageMenu(toolkit, window, canvas, state);
  EXPECT_EQ(toolkit.ClipboardImage(), toolkit.ControlBitmap(window, 5));
  EXPECT_FALSE(toolkit.ClipboardImage().empty());
}

TEST(ProposedImageName, PresetNameWithoutTrailingSpaces) {
  tx::PresetState s;
  s.PRESETNAME = "Clean Tone";
  EXPECT_EQ(tx::ProposedImageName(s), "Clean Tone.png");
  s.PRESETNAME = "123456789012345678901234567890";
  EXPECT_EQ(tx::ProposedImageName(s), "123456789012345678901234567890.png");
}

}  // namespace
