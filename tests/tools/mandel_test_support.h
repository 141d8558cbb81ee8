#pragma once
// Colours with recognisable values for the Mandelbrot and Julia tests.
#include "tools/mandel/mj_kernel.h"

#include <vector>

namespace qx::test {

// An 80-entry cycle (entry i is 0x100000 + i, entry 80 closes it), binary
// colour b is 0xAA0000 + b, set colour black (index 0), DEM colour index 52.
inline MJColours testColours()
{
    MJColours c;
    for (uint32_t i = 0; i < 80; ++i)
        c.table.push_back(0x100000u + i);
    c.table.push_back(c.table[0]);
    for (uint32_t b = 0; b < c.binary.size(); ++b)
        c.binary[b] = 0xAA0000u + b;
    c.setRgb = 0;
    c.setIndex = 0;
    c.demRgb = 0x0070C8;
    c.demIndex = 52;
    return c;
}

inline constexpr int32_t kSetCode = 0 - (1 << 24);
inline constexpr int32_t kDemCode = 52 - (1 << 24);

// Every row of a W x H picture of the view (centre cx, cy; half-width w),
// through the kernel's rows and one pixel at a time (the plain loop);
// returns the number of differing pixels.
inline int differingPixels(const MJParams& p, Real cx, Real cy, Real w, int W, int H, bool shadow = true)
{
    const Real pitch = 2 * w / (W - 1);
    MJKernel k(p, testColours(), pitch);
    k.setShadow(shadow);
    std::vector<PixelColour> row(W), single(W);
    int differ = 0;
    for (int r = 0; r < H; ++r) {
        const Real y = cy + (H - 1) * pitch / 2 - r * pitch;
        k.colourRow(cx - w, pitch, y, W, row.data());
        k.colourRowSingle(cx - w, pitch, y, W, single.data());
        for (int c = 0; c < W; ++c)
            differ += row[c] == single[c] ? 0 : 1;
    }
    return differ;
}

} // namespace qx::test
