#pragma once
// The block layout image: the preset's 4 x 12 grid of blocks drawn from the
// pictures in "assets/", with the links between neighbouring columns, shown
// in the block image control and written to "tmp01.png".
#include <cstdint>
#include <string>
#include <vector>

#include "devicedefs/tables.h"
#include "draw/canvas.h"
#include "platform/toolkit/toolkit.h"
#include "preset/preset_state.h"

namespace tx {

class FileManager;

constexpr int BLOCK_PITCH_X = 65;
constexpr int BLOCK_PITCH_Y = 57;
constexpr int BLOCK_LINK_GAP = 21;
constexpr int BLOCK_LINK_DROP = 17;  // connection point below a cell's top
constexpr int32_t BLOCK_LINK_COLOUR = 12632256;
constexpr int32_t BLOCK_LINK_WIDTH = 2;
// Size of the pictures in assets/.
constexpr int BLOCK_PICTURE_WIDTH = 44;
constexpr int BLOCK_PICTURE_HEIGHT = 36;
// The canvas must hold the whole grid: the last column's picture starts at
// x = 11 * 65, the last row's at y = 3 * 57.
constexpr int BLOCK_IMAGE_MIN_WIDTH = (GRID_COLUMNS - 1) * BLOCK_PITCH_X + BLOCK_PICTURE_WIDTH - 1;
constexpr int BLOCK_IMAGE_MIN_HEIGHT = (GRID_ROWS - 1) * BLOCK_PITCH_Y + BLOCK_PICTURE_HEIGHT - 1;

inline constexpr const char* BLOCK_IMAGE_FILE = "tmp01.png";
inline constexpr const char* BLOCK_PICTURE_FOLDER = "assets/";

// How the drawing finds the DBEffects row of an effect id: the first row
// stored with that id, whatever its device type.
class EffectRows {
 public:
  virtual ~EffectRows() = default;
  virtual bool FirstByEffectId(int32_t effectId, EffectRecord& row) = 0;
};

// EffectRows over an open DBEffects access object and its record buffer.
class TableEffectRows : public EffectRows {
 public:
  TableEffectRows(FileManager& table, EffectRecord& buffer) : table_(table), buffer_(buffer) {}
  bool FirstByEffectId(int32_t effectId, EffectRecord& row) override;

 private:
  FileManager& table_;
  EffectRecord& buffer_;
};

// The picture file for one cell, or "" when the cell stays black.
std::string BlockPicture(const BlockCell& cell, const std::vector<BlockQueueEntry>& PQ, EffectRows& effects);

// Grows a canvas that is too small for the grid (its control keeps showing it).
void FitBlockImageCanvas(Canvas& canvas);

// Draws the grid and shows it.
void DrawBlockGrid(Canvas& canvas, const CurrentPreset& preset, EffectRows& effects);
// Draws the grid, shows it and writes "tmp01.png" in the working directory.
// The window ignores the result; it is false when the file was not written.
bool DrawBlockImage(Canvas& canvas, const CurrentPreset& preset, EffectRows& effects);

// "Save Image...": the proposed file name, and the write itself.
std::string ProposedImageName(const PresetState& state);
bool SaveBlockImage(Canvas& canvas, const std::string& fileName);
// "Copy Image To Clipboard".
void CopyBlockImage(Canvas& canvas);

inline constexpr const char* BLOCK_IMAGE_MENU = "Save Image...|Copy Image To Clipboard";
inline constexpr const char* SAVE_IMAGE_TITLE = "Save Preset Block Image";
inline constexpr const char* SAVE_IMAGE_FILTER = "PNG File (*.png)|*.png";

// The right mouse button over the block image: the pop-up menu and the
// command chosen from it.
void BlockImageMenu(WindowToolkit& toolkit, WindowId window, Canvas& canvas, const PresetState& state);

}  // namespace tx
