#pragma once
// Black-and-white printing of a Mandelbrot or Julia picture, from the row
// codes its render recorded.
#include "model/colour_tables.h"
#include "tools/mandel/mj_kernel.h"

namespace qx {

// The printed pixel (col, row) of a pixel with row code `code` drawn in
// `mode`: a sequence entry i (0..L) takes the gray of entry i mod (gray
// length), a binary colour L + b (binary mode: the codes L and L + 0 are the
// same number, so the mode decides) its fixed shade, both dithered by
// position; a special colour (set, DEM) is black, or white when
// `specialWhite`, and is recorded as kCodeBlack / kCodeWhite. Sequence and
// binary pixels keep their code.
PixelColour blackAndWhitePixel(int32_t code, DisplayMode mode, const ColourTable& table, int col, int row,
                               bool specialWhite);

} // namespace qx
