#pragma once
// The drawing canvas: an in-memory 24-bit picture bound to one image control.
// Both buffers keep the byte layout of a bottom-up 24-bit BMP file (54-byte
// header area, rows bottom first, each row padded to 4 bytes), so the display
// picture can be handed to the control as a BMP file without copying.
// Coordinates count from 1: (1, 1) is the top-left pixel. Colours are
// 0x00BBGGRR; -1 means "no colour".
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace tx {

class CanvasHost;
struct BmpPicture;

constexpr int32_t kNoColour = -1;
constexpr size_t kBmpHeaderSize = 54;

class Canvas {
 public:
  Canvas();
  virtual ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  // Binds the canvas to a control and takes its size in pixels from the
  // host, and the debug flag from the program's command line.
  void Init(CanvasHost& host, int control);
  // A canvas of a given size that shows nowhere (command line, tests).
  void Init(int width, int height);
  // New, black buffers of another size; binding and pen stay.
  void Resize(int width, int height);
  // Releases the buffers and the binding.
  void Kill();

  void Blank(int32_t colour = kNoColour);
  void SetPenColor(int32_t colour);
  void SetPenWidth(int32_t width);
  void Plot(int x, int y, int32_t colour = kNoColour);
  // From (x, y) over the extents w across and h down, in the pen colour.
  void Line(int x, int y, int w, int h);
  // Copies a 24-bit or 8-bit BMP file once, at its own size, with its top-left
  // pixel at (x, y). With a transparent colour of 0 or more, 24-bit source
  // pixels of exactly that colour are skipped.
  void Image(const std::string& fileName, int x, int y, int32_t transparent = kNoColour);
  // The copying step of Image, for a picture as ReadBmpFile or ParseBmp left it.
  void DrawPicture(const BmpPicture& picture, int x, int y, int32_t transparent = kNoColour);

  enum DisplayFlags { DISPLAY_SHOW = 1, DISPLAY_MERGE = 2 };
  void Display(int flags = DISPLAY_SHOW | DISPLAY_MERGE);
  // Writes the display picture (as of the last display) as a PNG file.
  // Returns false when the file was not written (already reported; the
  // report's text stays in WriteError() until the next write).
  bool WritePNG(const std::string& fileName);
  // The display picture (as of the last display) encoded as PNG, the bytes
  // WritePNG writes; empty when it cannot be encoded (reported as there).
  const std::vector<uint8_t>& EncodedPNG();
  const std::string& WriteError() const { return writeError_; }
  // Puts the control's picture on the clipboard.
  void CopyPicture();

  // Every canvas error ends here. With the debug flag set the text goes to
  // the debug stream, otherwise it is dropped.
  virtual void ReportError(const std::string& message, const std::string& operation);
  void SetDebug(bool on) { debug_ = on; }
  bool Debug() const { return debug_; }
  void SetDebugStream(std::FILE* stream) { debugStream_ = stream; }

  int Width() const { return width_; }
  int Height() const { return height_; }
  int Control() const { return control_; }
  int RowPadding() const { return padding_; }
  int32_t PenColor() const { return penColour_; }
  int32_t PenWidth() const { return penWidth_; }
  // Colour of a pixel of the drawing surface or of the display picture;
  // -1 outside the canvas.
  int32_t Pixel(int x, int y) const { return PixelOf(store_, x, y); }
  int32_t DisplayPixel(int x, int y) const { return PixelOf(display_, x, y); }
  const std::vector<uint8_t>& Store() const { return store_; }
  // The display picture as a BMP file (without the spare byte).
  const uint8_t* DisplayPicture() const { return display_.data(); }
  size_t PictureSize() const;

 private:
  void Allocate(int width, int height);
  size_t Offset(int x, int y) const;
  bool Inside(int x, int y) const { return x >= 1 && y >= 1 && x <= width_ && y <= height_; }
  void PutPixel(int x, int y, int32_t colour);
  int32_t PixelOf(const std::vector<uint8_t>& buffer, int x, int y) const;
  void FillBand(double ax, double ay, double bx, double by, double ox, double oy);

  CanvasHost* host_ = nullptr;
  int control_ = 0;
  int width_ = 0;
  int height_ = 0;
  int padding_ = 0;
  size_t stride_ = 0;
  std::vector<uint8_t> store_;
  std::vector<uint8_t> display_;
  // Changes with every change of display_; the PNG encoding of the display
  // is kept for the version it was made from, so a picture written to two
  // files ("tmp01.png" and a copy) is encoded once.
  uint64_t displayVersion_ = 1;
  uint64_t pngVersion_ = 0;
  std::vector<uint8_t> png_;
  int32_t penColour_ = kNoColour;
  uint8_t penRed_ = 0, penGreen_ = 0, penBlue_ = 0;
  int32_t penWidth_ = 1;
  std::vector<int> layers_;
  bool debug_ = false;
  std::FILE* debugStream_ = stderr;
  std::string writeError_;
};

// What the window toolkit offers a canvas: the control's size in pixels, a
// way to show a BMP picture in it and to copy that picture to the clipboard.
class CanvasHost {
 public:
  virtual ~CanvasHost() = default;
  virtual bool ControlSize(int control, int& width, int& height) = 0;
  virtual void ShowPicture(int control, const uint8_t* bmp, size_t size) = 0;
  virtual void CopyPicture(int control) = 0;
  // Whether the program was started with "/DrawDebug".
  virtual bool DebugRequested() { return false; }
};

}  // namespace tx
