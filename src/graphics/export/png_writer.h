#pragma once
// PNG output: 8-bit RGB, no interlace, the image data compressed with zlib.
#include "graphics/export/bmp_writer.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qx {

// The whole file in memory; empty for a picture checkPicture refuses or
// when compression fails.
std::vector<uint8_t> encodePng(const PixelsView& picture);

// encodePng then a write through a temporary file. Returns 0, a
// checkPicture code, 3 when compression fails, or 12 (cannot save file).
int writePng(const std::string& path, const PixelsView& picture);

} // namespace qx
