#pragma once
// PNG input: every standard colour type (gray, RGB, palette, gray with
// alpha, RGBA) at every bit depth, not interlaced; alpha is dropped. Truncated,
// corrupt or oversized files are refused.
#include "graphics/image.h"

#include <cstdint>
#include <vector>

namespace qx {

// 0 and the picture; 6 (inconsistent data) for a file that is not such a
// PNG, 20 (too large) past 30000 pixels a side or 64 megapixels. `out`
// changes only on success.
int decodePng(const std::vector<uint8_t>& bytes, Image& out);
// Whether `bytes` begin with the PNG signature.
bool looksLikePng(const std::vector<uint8_t>& bytes);

} // namespace qx
