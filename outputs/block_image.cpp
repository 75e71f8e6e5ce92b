#include "outputs/block_image.h"

#include <algorithm>
#include <cctype>

namespace tx {
namespace {

std::string Asset(std::string_view name) {
  return std::string(BLOCK_PICTURE_FOLDER) + "block_" + std::string(name) + ".bmp";
}

std::string LowerCase(std::string_view text) {
  std::string s(text);
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

const BlockQueueEntry* QueueEntry(const std::vector<BlockQueueEntry>& PQ, int32_t effectId) {
  auto it = std::find_if(PQ.begin(), PQ.end(), [&](const BlockQueueEntry& e) { return e.EFFECTID == effectId; });
  return it == PQ.end() ? nullptr : &*it;
}

}  // namespace

std::string BlockPicture(const BlockCell& cell, const std::vector<BlockQueueEntry>& PQ, EffectRows& effects) {
  const uint16_t id = cell.blockId;
  if (id <= 99) return Asset("block");
  if (id >= 200 && id <= 399) return Asset("shunt");
  if (id >= 400) return "";

  EffectRecord row;
  // An effect the definitions do not know still sits in the signal chain:
  // it gets a picture of its own rather than a hole in the grid.
  if (!effects.FirstByEffectId(id, row)) return Asset("unknown");
  const std::string type = LowerCase(row.EFFECTTYPE.view());
  // Without a queue entry, or with a bypass parameter id outside the held
  // values, the bypass state cannot be read: the block is drawn as active.
  bool bypassed = false;
  if (row.EFFECTVARIANTPARAMETERID != -1) {
    const BlockQueueEntry* entry = QueueEntry(PQ, id);
    bypassed = entry && entry->Entry(static_cast<long>(row.EFFECTBYPASSPARAMETERID) + 1) == 1;
  }
  return Asset(bypassed ? type + "_bypass" : type);
}

void FitBlockImageCanvas(Canvas& canvas) {
  if (canvas.Width() >= BLOCK_IMAGE_MIN_WIDTH && canvas.Height() >= BLOCK_IMAGE_MIN_HEIGHT) return;
  canvas.Resize(std::max(canvas.Width(), BLOCK_IMAGE_MIN_WIDTH), std::max(canvas.Height(), BLOCK_IMAGE_MIN_HEIGHT));
}

void DrawBlockGrid(Canvas& canvas, const CurrentPreset& preset, EffectRows& effects) {
  FitBlockImageCanvas(canvas);
  const auto& grid = preset.state.grid;
  canvas.Blank();
  for (int c = 1; c <= GRID_COLUMNS; ++c)
    for (int r = 1; r <= GRID_ROWS; ++r) {
      const std::string picture = BlockPicture(grid[r - 1][c - 1], preset.PQ, effects);
      if (!picture.empty()) canvas.Image(picture, (c - 1) * BLOCK_PITCH_X, (r - 1) * BLOCK_PITCH_Y);
    }

  canvas.SetPenColor(BLOCK_LINK_COLOUR);
  canvas.SetPenWidth(BLOCK_LINK_WIDTH);
  static constexpr int kRowBits[GRID_ROWS] = {1, 2, 4, 8};
  for (int c = 1; c <= GRID_COLUMNS; ++c)
    for (int r = 1; r <= GRID_ROWS; ++r) {
      const int x = (c - 1) * BLOCK_PITCH_X;
      const int y = (r - 1) * BLOCK_PITCH_Y + BLOCK_LINK_DROP;
      const uint16_t mask = grid[r - 1][c - 1].inputMask;
      for (int k = 1; k <= GRID_ROWS; ++k) {
        if (!(mask & kRowBits[k - 1])) continue;
        const int t = (k - 1) * BLOCK_PITCH_Y + BLOCK_LINK_DROP;
        canvas.Line(x, y + 1, -BLOCK_LINK_GAP, t - y);
      }
    }

  canvas.Display(Canvas::DISPLAY_MERGE | Canvas::DISPLAY_SHOW);
}

bool DrawBlockImage(Canvas& canvas, const CurrentPreset& preset, EffectRows& effects) {
  DrawBlockGrid(canvas, preset, effects);
  return canvas.WritePNG(BLOCK_IMAGE_FILE);
}

std::string ProposedImageName(const PresetState& state) {
  std::string name = state.PRESETNAME.str();
  // A slash in a preset name would turn the proposal into a folder path.
  std::replace(name.begin(), name.end(), '/', '_');
  std::replace(name.begin(), name.end(), '\0', '_');
  return name + ".png";
}

bool SaveBlockImage(Canvas& canvas, const std::string& fileName) { return canvas.WritePNG(fileName); }

void CopyBlockImage(Canvas& canvas) { canvas.CopyPicture(); }

void BlockImageMenu(WindowToolkit& toolkit, WindowId window, Canvas& canvas, const PresetState& state) {
  switch (toolkit.PopupMenu(window, BLOCK_IMAGE_MENU)) {
    case 1: {
      FileDialogRequest request;
      request.save = true;
      request.title = SAVE_IMAGE_TITLE;
      request.filter = SAVE_IMAGE_FILTER;
      request.proposedPath = ProposedImageName(state);
      if (auto path = toolkit.FileDialog(request)) SaveBlockImage(canvas, *path);
      break;
    }
    case 2:
      CopyBlockImage(canvas);
      break;
    default:
      break;
  }
}

}  // namespace tx
