#pragma once
// draw: the drawing canvas and its pictures. A 24-bit in-memory picture bound
// to an image control, BMP pictures blitted onto it, written as PNG.
//   canvas.h               the canvas and its drawing operations
//   bmp_file.h             reading BMP pictures for blitting
//   display_bitmap.h       the canvas as a complete BMP file
//   png_writer.h           the canvas as a PNG file
//   toolkit_canvas_host.h  a canvas shown in a window's image control
#include "draw/bmp_file.h"
#include "draw/canvas.h"
#include "draw/png_writer.h"
#include "draw/toolkit_canvas_host.h"
