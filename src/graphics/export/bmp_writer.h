#pragma once
// Windows bitmap output: 24 bits per pixel, rows bottom-up, each row padded
// to a multiple of four bytes, no compression.
#include <cstdint>
#include <string>
#include <vector>

namespace qx {

// A picture to encode: `width` x `height` pixels, row-major from the top
// row, each 0x00BBGGRR (red in the low byte).
struct PixelsView {
    int width = 0;
    int height = 0;
    const uint32_t* pixels = nullptr;
};

// Largest side the writers accept.
inline constexpr int kMaxPictureSide = 30000;
// 0 for a picture the writers accept, 10 (nothing to show) for an empty
// one, 20 (too large) when a side passes kMaxPictureSide.
int checkPicture(const PixelsView& picture);

// The whole file in memory; empty for a picture checkPicture refuses.
std::vector<uint8_t> encodeBmp(const PixelsView& picture);

// encodeBmp then writeFileAtomically. Returns 0, a checkPicture code, or
// 12 (cannot save file).
int writeBmp(const std::string& path, const PixelsView& picture);

} // namespace qx
