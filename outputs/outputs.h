#pragma once
// outputs: what a user gets from a decoded preset.
//   block_image.h  the block layout image (shown, and written as PNG)
//   xml_export.h   the XML export
#include "outputs/block_image.h"
#include "outputs/xml_export.h"
