#pragma once
// Windows bitmap input: uncompressed pictures of 1, 4, 8, 24 or 32 bits per
// pixel (BI_RGB, and BI_BITFIELDS with the usual masks), bottom-up or
// top-down. Anything else, and every truncated or oversized file, is refused.
#include "graphics/image.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qx {

// The picture of `bytes`: 0, or 6 (inconsistent data) for a file that is not
// such a bitmap, or 20 (too large) for one past 30000 pixels a side or 64
// megapixels. `out` changes only on success.
int decodeBmp(const std::vector<uint8_t>& bytes, Image& out);
// The file at `path`, a Windows bitmap or a PNG picture (by its first
// bytes): the decoder's codes, or 11 (cannot open file).
int readPictureFile(const std::string& path, Image& out);

} // namespace qx
